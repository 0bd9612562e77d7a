#pragma once

#include "CTransmissionLineSim.h"

// An inductor built as a short line: a one-step line from node a (port 1) to node b (port 2), both
// ports returning to ground, with Z0 = L / dt. Nodes[0..3] = a, 0, b, 0.
class CTLineLSim : public CTransmissionLineSim {
public:
    explicit CTLineLSim(CSimulatorDoc* doc) : CTransmissionLineSim(doc) {}

    bool Parse(const QStringList& tokens) override;

    double L = 0; // henries
};
