#include "CCapacitorSim.h"

#include "CSimulatorDoc.h"

void CCapacitorSim::Bind(CompanionEntries& e, MatrixBinder& binder)
{
    e.bind(binder, Nodes[0], Nodes[1]);
}

void CCapacitorSim::Initialise()
{
    Geq = ClampG(2.0 * C / m_pDoc->TimeStep());
    Current.assign(size_t(m_pDoc->ResultColumns()), 0.0);
}

double CCapacitorSim::Voltage(int k) const
{
    return m_pDoc->V(Nodes[0], k) - m_pDoc->V(Nodes[1], k);
}

double CCapacitorSim::PreviousVoltage(int k, double initial) const
{
    return k == m_pDoc->HistoryCount() ? initial : Voltage(k - 1);
}

void CCapacitorSim::BeginStep(int k)
{
    const double v = PreviousVoltage(k, IC);
    Ieq = Geq * v + PreviousCurrent(v);
}

void CCapacitorSim::EndStep(int k)
{
    Gprev = Geq;
    Iprev = Ieq;
    Current[size_t(k)] = Voltage(k) * Geq - Ieq;
}

bool CCapacitorSim::GetOutput(const QString& kind, int n, double* out)
{
    const bool energy = kind == QLatin1String("E");
    if (kind == QLatin1String("V")) {
        NodeDifference(Nodes[0], Nodes[1], n, out);
        return true;
    }
    if (kind == QLatin1String("I")) {
        CopyHistory(Current.data(), n, out);
        return true;
    }
    if (!energy) return false;
    NodeDifference(Nodes[0], Nodes[1], n, out);
    const int h = m_pDoc->HistoryCount();
    const double dt = m_pDoc->TimeStep();
    double sum = 0;
    for (int j = 0; j < n; ++j) {
        sum += out[j] * Current[size_t(h + j)] * dt;
        out[j] = sum;
    }
    return true;
}

void CCapacitorSim::AddOutputNames(const QString& group, QStringList& list)
{
    AddVoltageAndCurrent(group, list);
}

bool CCapacitorSim::ParseValueAndInitial(const QStringList& tokens, double& value, double& initial)
{
    Name = tokens.value(0);
    if (tokens.size() < 4) return Fail(QStringLiteral("Invalid Netlist:  Not enough arguments: "));
    value = m_pDoc->ParseValue(tokens[3]);
    Nodes[0] = m_pDoc->GetNodeIndex(tokens[1]);
    Nodes[1] = m_pDoc->GetNodeIndex(tokens[2]);
    if (tokens.size() >= 5) {
        const QString& ic = tokens[4];
        initial = m_pDoc->ParseValue(ic.startsWith(QLatin1String("IC=")) ? ic.mid(3) : ic);
    }
    return true;
}

bool CCapacitorSim::Parse(const QStringList& tokens)
{
    return ParseValueAndInitial(tokens, C, IC);
}
