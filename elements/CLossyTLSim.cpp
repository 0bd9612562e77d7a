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
    // Key prefixes are cut by length, not compared: Z0=, TD=, R=.
    Z0 = m_pDoc->ParseValue(tokens[6].mid(3));
    TD = m_pDoc->ParseValue(tokens[7].mid(3));
    R = m_pDoc->ParseValue(tokens[8].mid(2));
    ParseInitialCondition(tokens, 9);
    return CheckImpedance(Z0, QStringLiteral("Z0")) && CheckDelay();
}

void CLossyTLSim::Initialise()
{
    CTransmissionLineSim::Initialise();
    const size_t cells = size_t(std::min<std::int64_t>(DelayExact, CellLimit()));
    F.assign(cells, W1[0]);
    B.assign(cells, W2[0]);
    Fs.assign(cells, 0.0);
    Bs.assign(cells, 0.0);

    // The whole resistance shared out over the n - 1 boundaries between cells; never quite 0.
    r = DelayExact >= 2 ? R / double(DelayExact - 1) : 0.0;
    r = std::isnan(r) ? 1e-12 : std::clamp(r, 1e-12, 1e12);
    Gamma = r / (2 * Z0 + r);
    Tau = 2 * Z0 / (2 * Z0 + r);
}

void CLossyTLSim::PreSolve(int)
{
    Vinc[0] = B.front();
    Vinc[1] = F.back();
}

void CLossyTLSim::EndStep(int k)
{
    StoreOutgoingWaves(k);
    const size_t n = F.size();
    for (size_t j = 0; j + 1 < n; ++j)
        Bs[j] = Tau * B[j + 1] + Gamma * F[j];
    for (size_t j = n - 1; j >= 1; --j)
        Fs[j] = Tau * F[j - 1] + Gamma * B[j];
    std::copy(Fs.begin() + 1, Fs.end(), F.begin() + 1);
    std::copy(Bs.begin(), Bs.end() - 1, B.begin());
    F[0] = W1[size_t(k)];
    B[n - 1] = W2[size_t(k)];
}
