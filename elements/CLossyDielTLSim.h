#pragma once

#include "CTransmissionLineSim.h"
#include "CellChain.h"

#include <vector>

// A line whose dielectric leaks: the delay is cut into cells of one step each, and at every boundary
// between cells a shunt conductance scatters the two wave trains (LOSSYZ statements).
class CLossyDielTLSim : public CTransmissionLineSim {
public:
    explicit CLossyDielTLSim(CSimulatorDoc* doc) : CTransmissionLineSim(doc) {}

    void Initialise() override;
    double HistoryBytes(double columns) const override;
    void PreSolve(int k) override;
    void EndStep(int k) override;
    bool Parse(const QStringList& tokens) override;

    double Rho = 0;   // dielectric resistivity, ohm-metres (the statement gives megohm-centimetres)
    double ER = 0;    // relative permittivity
    double R = 0;     // leakage resistance of the whole line, ohms
    double g = 0;     // leakage conductance of one cell boundary, clamped
    double Gp = 0;    // port conductance: the line's own plus one cell's leakage
    double Gamma = 0; // reflection at every boundary
    double Tau = 0;   // transmission at every boundary
    CellChain Cells;  // the wave trains along the line
};
