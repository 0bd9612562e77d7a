#include "CCapacitorSim.h"

#include "CSimulatorDoc.h"

#include <algorithm>

void CCapacitorSim::Bind(CompanionEntries& e, MatrixBinder& binder)
{
    e.bind(binder, Nodes[0], Nodes[1]);
}

void CCapacitorSim::Initialise()
{
    Geq = ClampG(2.0 * C / m_pDoc->TimeStep());
    StartRun(IC);
}

void CCapacitorSim::StartRun(double startVoltage)
{
    m_Row[0] = m_pDoc->ResultRow(Nodes[0]);
    m_Row[1] = m_pDoc->ResultRow(Nodes[1]);
    m_NextStep = m_FirstStep = m_pDoc->HistoryCount();
    m_IeqStep = m_FirstStep - 1;
    m_StartVoltage = startVoltage;
}

void CCapacitorSim::CurrentTrace(int n, double* out) const
{
    if (!Current.empty()) {
        CopyHistory(Current.data(), n, out);
        return;
    }
    const int h = m_pDoc->HistoryCount();
    const int computed = std::clamp(m_pDoc->StepCount() + 1, 0, n);
    double gPrev = 0, iPrev = 0;
    for (int j = 0; j < computed; ++j) {
        const double ieq = CompanionCurrent(PreviousVoltage(h + j, m_StartVoltage), gPrev, iPrev);
        out[j] = Voltage(h + j) * Geq - ieq;
        gPrev = Geq;
        iPrev = ieq;
    }
    std::fill(out + computed, out + n, 0.0);
}

bool CCapacitorSim::GetOutput(const QString& kind, int n, double* out)
{
    const bool energy = kind == QLatin1String("E");
    if (kind == QLatin1String("V")) {
        NodeDifference(Nodes[0], Nodes[1], n, out);
        return true;
    }
    if (kind == QLatin1String("I")) {
        CurrentTrace(n, out);
        return true;
    }
    if (!energy) return false;
    std::vector<double> current(size_t(std::max(n, 0)));
    CurrentTrace(n, current.data());
    NodeDifference(Nodes[0], Nodes[1], n, out);
    const double dt = m_pDoc->TimeStep();
    double sum = 0;
    for (int j = 0; j < n; ++j) {
        sum += out[j] * current[size_t(j)] * dt;
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
