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
    // A batch gathered in an earlier run is left: its first element keeps the states until it gathers
    // again, after every element has started.
    if (m_Step != &m_OwnStep) m_OwnStep = *m_Step;
    m_Step = &m_OwnStep;
    m_GatheredList = nullptr;
    m_GatheredCount = 0;
    m_OwnStep.Row[0] = m_pDoc->ResultRow(Nodes[0]);
    m_OwnStep.Row[1] = m_pDoc->ResultRow(Nodes[1]);
    m_OwnStep.NextStep = m_FirstStep = m_pDoc->HistoryCount();
    m_OwnStep.IeqStep = m_FirstStep - 1;
    m_StartVoltage = startVoltage;
}

void CCapacitorSim::GatherBatch(CComponentSim* const* elements, std::size_t count)
{
    // Only a linear companion's stamps are the same few operations for every element of its class.
    if (m_Law == Law::OwnStep || count < 2) return;
    m_Gathered = std::make_unique<StepState[]>(count);
    for (std::size_t i = 0; i < count; ++i) {
        auto* e = static_cast<CCapacitorSim*>(elements[i]);
        StepState& s = m_Gathered[i];
        s = *e->m_Step;
        s.Geq = e->Geq;
        const CompanionEntries* full = e->FullSystemEntries();
        s.Rhs = full ? full->i : CurrentEntries{};
        if (full && e->Nodes[0] == 0) s.Rhs.a = &s.GroundSink;
        if (full && e->Nodes[1] == 0) s.Rhs.b = &s.GroundSink;
        e->m_Step = &s;
    }
    m_GatheredList = elements;
    m_GatheredCount = count;
}

bool CCapacitorSim::StampGathered(StepOp op, CComponentSim* const* elements, std::size_t count, int k,
                                  bool rhsOnly)
{
    if (op != StampOp || !rhsOnly || elements != m_GatheredList || count != m_GatheredCount ||
        k == m_FirstStep)
        return false;
    if (m_Law == Law::Inductor)
        StampGathered<Law::Inductor>(k);
    else
        StampGathered<Law::Capacitor>(k);
    return true;
}

template <CCapacitorSim::Law law> void CCapacitorSim::StampGathered(int k)
{
    // As StampInto into the full system, element by element.
    for (StepState *s = m_Gathered.get(), *end = s + m_GatheredCount; s != end; ++s) {
        if (!s->Rhs.a) continue;
        if (k != s->IeqStep) {
            s->IeqStep = k;
            TakeOverAcceptedStep(*s, k, s->Geq);
            const double v = s->Row[0][k - 1] - s->Row[1][k - 1];
            s->Ieq = CompanionCurrent(law, s->Geq, v, s->Gprev, s->Iprev);
        }
        s->Rhs.inject(s->Ieq);
    }
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
        const double ieq = CompanionCurrent(m_Law, Geq, PreviousVoltage(h + j, m_StartVoltage), gPrev, iPrev);
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
