#pragma once

#include "CTransmissionLineSim.h"
#include "CellChain.h"

#include <vector>

// A line with series resistance spread along it: the delay is cut into cells of one step each, and at
// every boundary between cells a series resistor scatters the two wave trains (LOSSYR statements).
class CLossyTLSim : public CTransmissionLineSim {
public:
    explicit CLossyTLSim(CSimulatorDoc* doc) : CTransmissionLineSim(doc) {}

    void Initialise() override;
    double HistoryBytes(double columns) const override;
    void PreSolve(int k) override;
    void EndStep(int k) override;
    bool Parse(const QStringList& tokens) override;

    double R = 0;     // series resistance of the whole line, ohms
    double r = 0;     // series resistance of one cell boundary, clamped
    double Gamma = 0; // reflection at every boundary
    double Tau = 0;   // transmission at every boundary

    CellChain Cells; // the wave trains along the line
};
