#pragma once

#include "CCapacitorSim.h"

// A linear inductor as its trapezoidal companion; it shares the capacitor's stamping and traces.
class CInductorSim : public CCapacitorSim {
public:
    explicit CInductorSim(CSimulatorDoc* doc) : CCapacitorSim(doc) {}

    void Initialise() override;
    void BeginStep(int k) override;
    bool Parse(const QStringList& tokens) override;

    double L = 0;  // henries
    double IC = 0; // initial current, amperes (the capacitor's C and IC are not used)
};
