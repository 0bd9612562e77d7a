#include "CVariableCSim.h"

#include "CSimulatorDoc.h"

bool CVariableCSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    if (tokens.size() < 8) return Fail(QStringLiteral("Invalid Netlist.  Not enough arguments: "));
    const int a = m_pDoc->GetNodeIndex(tokens[1]);
    const int b = m_pDoc->GetNodeIndex(tokens[2]);
    Nodes[0] = Nodes[2] = a;
    Nodes[1] = Nodes[3] = b;
    TD = 2 * m_pDoc->TimeStep();
    return Law.Parse(*this, *m_pDoc, tokens, 5, InitialVoltage);
}

double CVariableCSim::Realise(double c, double& z) const
{
    z = UsableImpedance(TD / c);
    return z == TD / c ? c : TD / z;
}

void CVariableCSim::Initialise()
{
    const size_t columns = size_t(m_pDoc->ResultColumns());
    const size_t h = size_t(m_pDoc->HistoryCount());
    const double c = Realise(Law.Capacitance(InitialVoltage), Z0);
    Capacitance.assign(columns, 0.0);
    Charge.assign(columns, 0.0);
    for (size_t i = 0; i <= h && i < columns; ++i)
        Capacitance[i] = c;
    m_PreviousCurrent = 0;
    CVariableZSim::Initialise();
}

void CVariableCSim::UpdateValue(int k)
{
    const double v = m_pDoc->V(Nodes[0], k - 1) - m_pDoc->V(Nodes[1], k - 1);
    Capacitance[size_t(k)] = Realise(Law.Capacitance(v), Z[size_t(k)]);
}

void CVariableCSim::EndStep(int k)
{
    CVariableZSim::EndStep(k);
    // The current into the element is what its two ports draw from node a (the negated sum of IL and
    // IR); the charge is its running trapezoidal integral, with no current before the start.
    const size_t i = size_t(k);
    const double v = m_pDoc->V(Nodes[0], k) - m_pDoc->V(Nodes[1], k);
    const double current = 2 * (W1[i] + W2[i] - v) * G;
    Charge[i] = Charge[i - 1] + 0.5 * m_pDoc->TimeStep() * (current + m_PreviousCurrent);
    m_PreviousCurrent = current;
}

bool CVariableCSim::GetOutput(const QString& kind, int n, double* out)
{
    if (CapacitanceTraces::Output(*m_pDoc, kind, n, out)) return true;
    return CVariableZSim::GetOutput(kind, n, out);
}

void CVariableCSim::AddOutputNames(const QString& group, QStringList& list)
{
    CVariableZSim::AddOutputNames(group, list);
    CapacitanceTraces::AddNames(*this, group, list);
}
