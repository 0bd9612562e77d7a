#include "CVarCSim.h"

#include "CSimulatorDoc.h"

#include <cmath>

void CVarCSim::Initialise()
{
    const size_t columns = size_t(m_pDoc->ResultColumns());
    const double dt = m_pDoc->TimeStep();
    double c = Law.Capacitance(IC);
    // With no usable capacitance at the initial voltage the element starts as the smallest
    // conductance a capacitor is given.
    if (!CapacitanceLaw::Usable(c)) c = ClampG(2.0 * c / dt) * dt / 2.0;
    const size_t h = size_t(m_pDoc->HistoryCount());
    Capacitance.assign(columns, 0.0);
    Charge.assign(columns, 0.0);
    for (size_t i = 0; i <= h && i < columns; ++i)
        Capacitance[i] = c;
    Current.assign(columns, 0.0);
    StartRun(IC);
}

void CVarCSim::BeginStep(int k)
{
    const double dt = m_pDoc->TimeStep();
    const double v = PreviousVoltage(k, IC);
    const double previous = Capacitance[size_t(k - 1)];
    double c = Law.Capacitance(v);
    // Where the law gives no usable capacitance (or one too large for a conductance) the last
    // capacitance stays in force, so no NaN or infinity reaches the matrix.
    if (!CapacitanceLaw::Usable(c) || !std::isfinite((3.0 * c - previous) / dt)) c = previous;
    Capacitance[size_t(k)] = c;
    const double dC = c - previous;
    Geq = (2.0 * c + dC) / dt;
    *m_Ieq = PreviousCurrent(v) + v * (2.0 * c - dC) / dt;
    if (Geq != m_Gprev) {
        m_pDoc->MarkNodeDirty(Nodes[1]);
        m_pDoc->MarkNodeDirty(Nodes[0]);
    }
}

void CVarCSim::EndStep(int k)
{
    AcceptStep(k);
    const size_t i = size_t(k);
    Charge[i] = Charge[i - 1] + 0.5 * m_pDoc->TimeStep() * (Current[i] + Current[i - 1]);
}

bool CVarCSim::GetOutput(const QString& kind, int n, double* out)
{
    if (CapacitanceTraces::Output(*m_pDoc, kind, n, out)) return true;
    return CCapacitorSim::GetOutput(kind, n, out);
}

void CVarCSim::AddOutputNames(const QString& group, QStringList& list)
{
    CCapacitorSim::AddOutputNames(group, list);
    CapacitanceTraces::AddNames(*this, group, list);
}

bool CVarCSim::Parse(const QStringList& tokens)
{
    Name = tokens.value(0);
    if (tokens.size() < 7) return Fail(QStringLiteral("Invalid Netlist.  Not enough arguments: "));
    Nodes[0] = m_pDoc->GetNodeIndex(tokens[1]);
    Nodes[1] = m_pDoc->GetNodeIndex(tokens[2]);
    return Law.Parse(*this, *m_pDoc, tokens, 4, IC);
}
