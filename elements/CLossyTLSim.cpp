#include "CLossyTLSim.h"

#include "CSimulatorDoc.h"

#include <algorithm>
#include <cmath>

bool CLossyTLSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    if (tokens.size() < 10) return Fail(QStringLiteral("Invalid Netlist.  Not enough arguments: "));
    for (int i = 0; i < 4; ++i)
        Nodes[i] = m_pDoc->GetNodeIndex(tokens[1 + i]);
    Z0 = ValueAfterCutKey(tokens[6], "Z0=");
    TD = ValueAfterCutKey(tokens[7], "TD=");
    R = ValueAfterCutKey(tokens[8], "R=");
    ParseInitialCondition(tokens, 9);
    // Z0 = 0 runs: its ports are near shorts and every boundary reflects all (r is never 0).
    return CheckImpedance(Z0, QStringLiteral("Z0"), true) && CheckDelay();
}

double CLossyTLSim::HistoryBytes(double columns) const
{
    const double cells = double(std::min<std::int64_t>(DelayExact, CellLimit()));
    return CTransmissionLineSim::HistoryBytes(columns) + 4 * cells * sizeof(double);
}

void CLossyTLSim::Initialise()
{
    CTransmissionLineSim::Initialise();
    const size_t cells = size_t(std::min<std::int64_t>(DelayExact, CellLimit()));
    Cells.reset(cells, W1[0], W2[0]);

    // The whole resistance shared out over the n - 1 boundaries between cells; never quite 0.
    r = DelayExact >= 2 ? R / double(DelayExact - 1) : 0.0;
    r = std::isnan(r) ? 1e-12 : std::clamp(r, 1e-12, 1e12);
    Gamma = r / (2 * Z0 + r);
    Tau = 2 * Z0 / (2 * Z0 + r);
}

void CLossyTLSim::PreSolve(int)
{
    Cells.arriving(Vinc);
}

void CLossyTLSim::EndStep(int k)
{
    StoreOutgoingWaves(k);
    Cells.advance(&Tau, &Gamma, &Tau, &Gamma, 0, W1[size_t(k)], W2[size_t(k)]);
}
