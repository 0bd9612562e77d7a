#include "CVariableZSim.h"

#include "CSimulatorDoc.h"

double CVariableZSim::UsableImpedance(double z)
{
    const double g = ClampConductance(z);
    return g == 1.0 / z ? z : 1.0 / g;
}

bool CVariableZSim::Parse(const QStringList&)
{
    return true;
}

void CVariableZSim::UpdateValue(int) {}

void CVariableZSim::Initialise()
{
    Z0 = UsableImpedance(Z0);
    const size_t h = size_t(m_pDoc->HistoryCount());
    Z.assign(size_t(m_pDoc->ResultColumns()), 0.0);
    for (size_t i = 0; i <= h && i < Z.size(); ++i)
        Z[i] = Z0;
    CTransmissionLineSim::Initialise();
    m_Sent[0] = W1;
    m_Sent[1] = W2;
    m_WaveZ = Z0;
}

void CVariableZSim::BeginStep(int k)
{
    const size_t i = size_t(k);
    Z[i] = Z[i - 1];
    if (k == m_pDoc->HistoryCount()) return;
    UpdateValue(k);
    Z[i] = UsableImpedance(Z[i]);
    G = ClampConductance(Z[i]);
    PortG[0] = PortG[1] = WaveG[0] = WaveG[1] = G;
    if (Z[i] != Z[i - 1])
        for (int node : Nodes)
            m_pDoc->MarkNodeDirty(node);
}

void CVariableZSim::PreSolve(int k)
{
    const double z = Z[size_t(k)];
    if (z != m_WaveZ) {
        // Each pair of waves that meet at one place on the line: x travelling from port 1, y from
        // port 2. The line voltage x + y scales with r (charge kept as the capacitance falls by r),
        // the current (x - y) / Z with 1/r (flux kept as the inductance grows by r).
        const double r = z / m_WaveZ;
        const double p = (r + 1) / 2, m = (r - 1) / 2;
        for (int i = 0; i < Delay; ++i) {
            double& x = W1[size_t(k - 1 - i)];
            double& y = W2[size_t(k - Delay + i)];
            const double x0 = x, y0 = y;
            x = p * x0 + m * y0;
            y = p * y0 + m * x0;
        }
        m_WaveZ = z;
    }
    CTransmissionLineSim::PreSolve(k);
}

void CVariableZSim::EndStep(int k)
{
    CTransmissionLineSim::EndStep(k);
    m_Sent[0][size_t(k)] = W1[size_t(k)];
    m_Sent[1][size_t(k)] = W2[size_t(k)];
}

bool CVariableZSim::GetOutput(const QString& kind, int n, double* out)
{
    if (kind != QLatin1String("Z")) return CTransmissionLineSim::GetOutput(kind, n, out);
    CopyHistory(Z.data(), n, out);
    return true;
}

void CVariableZSim::AddOutputNames(const QString& group, QStringList& list)
{
    CTransmissionLineSim::AddOutputNames(group, list);
    if (group == QLatin1String("Special")) AddName(list, QStringLiteral("Z"));
}
