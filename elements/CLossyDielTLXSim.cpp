#include "CLossyDielTLXSim.h"

#include "CSimulatorDoc.h"

#include <algorithm>
#include <cmath>

namespace {

// X in parallel with Y; an infinite shunt leaves Y alone.
double parallel(double x, double y)
{
    return std::isinf(x) ? y : x * y / (x + y);
}
} // namespace

bool CLossyDielTLXSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    if (tokens.size() < 12) return Fail(QStringLiteral("Invalid Netlist.  Not enough arguments: "));
    for (int i = 0; i < 4; ++i)
        Nodes[i] = m_pDoc->GetNodeIndex(tokens[1 + i]);
    Z0 = ValueAfterCutKey(tokens[6], "Z0=");
    Z1 = ValueAfterCutKey(tokens[7], "Z1=");
    TD = ValueAfterCutKey(tokens[8], "TD=");
    Rho = ValueAfterCutKey(tokens[9], "RHO=") * 10000;
    ER = ValueAfterCutKey(tokens[10], "ER=");
    ParseInitialCondition(tokens, 11);
    // Either end may be a short (its port conductance is the largest, 1e12). A boundary's reflection
    // is 0 / 0 where a cell of zero impedance meets one of zero impedance, or one whose shunt is 0
    // too: both ends shorted, or a shorted port 2 on a dielectric that does not insulate.
    const bool zeroZ1Runs = Z0 != 0 && ER * Rho != 0;
    return CheckImpedance(Z0, QStringLiteral("Z0"), true) &&
           CheckImpedance(Z1, QStringLiteral("Z1"), zeroZ1Runs) && CheckDelay();
}

double CLossyDielTLXSim::HistoryBytes(double columns) const
{
    // The cells' two waves and their scratch, and the four coefficients of every boundary.
    const double cells = double(std::min<std::int64_t>(DelayExact, 2 * std::int64_t(CellLimit())));
    return CTransmissionLineSim::HistoryBytes(columns) + 8 * cells * sizeof(double);
}

void CLossyDielTLXSim::Initialise()
{
    CTransmissionLineSim::Initialise();
    const std::int64_t n = DelayExact;
    const double nd = double(n);
    // A line much longer than the run keeps the cells near each port only: the first `limit` and the
    // last `limit`, spliced together where no wave can travel from the splice to a port in time.
    const std::int64_t limit = CellLimit();
    const std::int64_t cells = std::min(n, 2 * limit);
    const auto trueCell = [&](std::int64_t i) { return cells == n || i < limit ? i : i + (n - cells); };

    Cells.reset(size_t(cells), W1[0], W2[0]);
    R1.assign(size_t(cells), 0.0);
    R2.assign(size_t(cells), 0.0);
    T1.assign(size_t(cells), 0.0);
    T2.assign(size_t(cells), 0.0);

    const double e = ER * kEpsilon0 * Rho;
    G1 = ClampConductance(Z1);
    g = ClampG((1 / (e / (TD / Z0))) / (nd + 1));
    g1 = ClampG((1 / (e / (TD / Z1))) / (nd + 1));
    Gp1 = G + g;
    Gp2 = G1 + g1;
    PortG[0] = Gp1;
    PortG[1] = Gp2;
    // Port 2 sits on the Z1 end: its source and its current use Z1's conductance.
    WaveG[1] = G1;

    const auto impedance = [&](std::int64_t j) {
        return j == 0 ? Z0 : Z0 + (Z1 - Z0) * double(j) / (nd - 1);
    };
    const auto shunt = [&](std::int64_t j) { return j == 0 ? 1 / g : (nd + 1) * e / (TD / impedance(j)); };
    for (std::int64_t b = 0; b + 1 < cells; ++b) {
        // The boundary between true cells j - 1 and j.
        const std::int64_t j = trueCell(b + 1);
        const double zl = impedance(j - 1), zr = impedance(j);
        const double sh = (shunt(j - 1) + shunt(j)) / 2;
        const double ahead = parallel(sh, zr), behind = parallel(sh, zl);
        R1[size_t(b)] = (ahead - zl) / (ahead + zl);
        R2[size_t(b)] = (behind - zr) / (behind + zr);
        T1[size_t(b)] = 1 + R1[size_t(b)];
        T2[size_t(b)] = 1 + R2[size_t(b)];
    }
}

void CLossyDielTLXSim::PreSolve(int)
{
    Cells.arriving(Vinc);
}

void CLossyDielTLXSim::EndStep(int k)
{
    StoreOutgoingWaves(k);
    Cells.advance(T1.data(), R1.data(), T2.data(), R2.data(), 1, W1[size_t(k)], W2[size_t(k)]);
}
