#pragma once

#include "CTransmissionLineSim.h"

// A capacitor built as a short line: a two-step line whose two ports both sit across the
// capacitor's nodes, with Z0 = 2 dt / C. Nodes[0..3] = a, b, a, b.
class CTLineCSim : public CTransmissionLineSim {
public:
    explicit CTLineCSim(CSimulatorDoc* doc) : CTransmissionLineSim(doc) {}

    bool Parse(const QStringList& tokens) override;

    double C = 0; // farads
};
