#pragma once

#include "CTransmissionLineSim.h"
#include "CellChain.h"

#include <vector>

// A leaky line whose impedance goes linearly from Z0 at port 1 to Z1 at port 2 (a tapered line, a
// line transformer; LOSSYX statements). Every cell boundary has its own reflection and transmission
// for each direction.
class CLossyDielTLXSim : public CTransmissionLineSim {
public:
    explicit CLossyDielTLXSim(CSimulatorDoc* doc) : CTransmissionLineSim(doc) {}

    void Initialise() override;
    double HistoryBytes(double columns) const override;
    void PreSolve(int k) override;
    void EndStep(int k) override;
    bool Parse(const QStringList& tokens) override;

    double Z1 = 0;  // impedance at port 2, ohms
    double Rho = 0; // dielectric resistivity, ohm-metres
    double ER = 0;  // relative permittivity
    double g = 0;   // cell leakage conductance at the port-1 end, clamped
    double g1 = 0;  // cell leakage conductance at the port-2 end, clamped
    double G1 = 0;  // wave conductance of the port-2 end, clamped 1/Z1
    double Gp1 = 0; // port-1 conductance, G + g
    double Gp2 = 0; // port-2 conductance, G1 + g1

    CellChain Cells; // the wave trains along the line
    // Per boundary j (between cells j and j+1): reflection of the forward wave (R1) and of the backward
    // wave (R2), and their transmissions T1 = 1 + R1, T2 = 1 + R2.
    std::vector<double> R1, R2, T1, T2;
};
