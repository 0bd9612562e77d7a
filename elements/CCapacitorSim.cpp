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
    m_Batch = nullptr;
    m_GatheredList = nullptr;
    m_GatheredCount = m_GatheredBound = 0;
    m_Row[0] = m_OwnStep.From[0] = m_pDoc->ResultRow(Nodes[0]);
    m_Row[1] = m_OwnStep.From[1] = m_pDoc->ResultRow(Nodes[1]);
    m_NextStep = m_FirstStep = m_pDoc->HistoryCount();
    m_IeqStep = m_FirstStep - 1;
    m_StartVoltage = startVoltage;
}

void CCapacitorSim::GatherBatch(CComponentSim* const* elements, std::size_t count)
{
    // Only a linear companion's stamps are the same few operations for every element of its class.
    if (m_Law == Law::OwnStep || count < 2) return;
    // Elements outside the full system are not stamped here: they keep their own states.
    std::size_t bound = 0;
    for (std::size_t i = 0; i < count; ++i)
        bound += static_cast<CCapacitorSim*>(elements[i])->FullSystemEntries() != nullptr;
    if (bound < 2) return;
    m_Gathered = std::make_unique<StepState[]>(bound);
    m_BatchStep = m_FirstStep - 1;
    m_GatheredBound = bound;
    // One place for the voltages of a step rather than a column across hundreds of rows, each on a
    // page of its own.
    const double* solution = m_pDoc->PreviousSolution();
    m_GatheredFromSolution = solution != nullptr;
    StepState* s = m_Gathered.get();
    for (std::size_t i = 0; i < count; ++i) {
        auto* e = static_cast<CCapacitorSim*>(elements[i]);
        const CompanionEntries* full = e->FullSystemEntries();
        if (!full) continue;
        *s = *e->m_Step;
        s->Geq = e->Geq;
        s->Rhs.a = e->Nodes[0] == 0 ? nullptr : full->i.a;
        s->Rhs.b = e->Nodes[1] == 0 ? nullptr : full->i.b;
        e->m_Batch = this;
        if (solution) {
            s->From[0] = solution + e->Nodes[0];
            s->From[1] = solution + e->Nodes[1];
        }
        e->m_Step = s++;
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
    if (k != m_BatchStep) {
        m_BatchStep = k;
        if (m_Law == Law::Inductor)
            StampGathered<Law::Inductor, true>(k);
        else
            StampGathered<Law::Capacitor, true>(k);
        return true;
    }
    for (const StepState *s = m_Gathered.get(), *end = s + m_GatheredBound; s != end; ++s) {
        if (s->Rhs.a) *s->Rhs.a += s->Ieq;
        if (s->Rhs.b) *s->Rhs.b -= s->Ieq;
    }
    return true;
}

void CCapacitorSim::FindBatchHistoryCurrents(int k)
{
    if (k == m_BatchStep) return;
    m_BatchStep = k;
    if (k != m_FirstStep) {
        if (m_Law == Law::Inductor)
            StampGathered<Law::Inductor, false>(k);
        else
            StampGathered<Law::Capacitor, false>(k);
        return;
    }
    // The first step starts from each element's initial state.
    for (std::size_t i = 0; i < m_GatheredCount; ++i) {
        auto* e = static_cast<CCapacitorSim*>(m_GatheredList[i]);
        if (e->m_Batch == this) e->UpdateHistoryCurrent(k);
    }
}

template <CCapacitorSim::Law law, bool inject> void CCapacitorSim::StampGathered(int k)
{
    // As UpdateHistoryCurrent (and StampInto into the full system) element by element. After the
    // first step every element takes over its last step's companion (Gprev = Geq, Iprev = Ieq) before
    // it finds the new one.
    const int at = m_GatheredFromSolution ? 0 : k - 1;
    for (StepState *s = m_Gathered.get(), *end = s + m_GatheredBound; s != end; ++s) {
        const double v = s->From[0][at] - s->From[1][at];
        const double ieq = CompanionCurrent(law, s->Geq, v, s->Geq, s->Ieq);
        s->Ieq = ieq;
        if constexpr (inject) {
            double* const a = s->Rhs.a;
            double* const b = s->Rhs.b;
            if (a) *a += ieq;
            if (b) *b -= ieq;
        }
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
