#include "CLossyDielTLSim.h"

#include "CSimulatorDoc.h"

#include <algorithm>

bool CLossyDielTLSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    if (tokens.size() < 11) return Fail(QStringLiteral("Invalid Netlist.  Not enough arguments: "));
    for (int i = 0; i < 4; ++i)
        Nodes[i] = m_pDoc->GetNodeIndex(tokens[1 + i]);
    Z0 = ValueAfterCutKey(tokens[6], "Z0=");
    TD = ValueAfterCutKey(tokens[7], "TD=");
    Rho = ValueAfterCutKey(tokens[8], "RHO=") * 10000;
    ER = ValueAfterCutKey(tokens[9], "ER=");
    ParseInitialCondition(tokens, 10);
    // Z0 = 0 would make every boundary's reflection 0 / 0.
    return CheckImpedance(Z0, QStringLiteral("Z0")) && CheckDelay();
}

double CLossyDielTLSim::HistoryBytes(double columns) const
{
    const double cells = double(std::min<std::int64_t>(DelayExact, CellLimit()));
    return CTransmissionLineSim::HistoryBytes(columns) + 4 * cells * sizeof(double);
}

void CLossyDielTLSim::Initialise()
{
    CTransmissionLineSim::Initialise();
    const size_t cells = size_t(std::min<std::int64_t>(DelayExact, CellLimit()));
    Cells.reset(cells, W1[0], W2[0]);

    // The whole line's leakage, shared out over its n + 1 boundaries (the two ports included).
    const double n = double(DelayExact);
    const double capacitance = TD / Z0;
    R = ER * kEpsilon0 * Rho / capacitance;
    g = ClampG((1 / R) / (n + 1));
    Gp = G + g;
    const double shunt = 1 / g;
    const double zp = shunt * Z0 / (shunt + Z0);
    Gamma = (zp - Z0) / (zp + Z0);
    Tau = 1 + Gamma;
    PortG[0] = PortG[1] = Gp;
}

void CLossyDielTLSim::PreSolve(int)
{
    Cells.arriving(Vinc);
}

void CLossyDielTLSim::EndStep(int k)
{
    StoreOutgoingWaves(k);
    Cells.advance(&Tau, &Gamma, &Tau, &Gamma, 0, W1[size_t(k)], W2[size_t(k)]);
}
