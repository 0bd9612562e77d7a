#pragma once

#include "CSwitchSim.h"

// An on/off diode: a resistance that ramps between ROFF and RON in five steps, following the sign of
// its voltage over the last four accepted steps.
class CIdealDiodeSim : public CSwitchSim {
public:
    explicit CIdealDiodeSim(CSimulatorDoc* doc) : CSwitchSim(doc) {}

    bool Parse(const QStringList& tokens) override;
    void UpdateSwitchState(int k) override;

    double OnResistance = 0;  // RON, ohms
    double OffResistance = 0; // ROFF, ohms
};
