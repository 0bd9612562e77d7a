#include "CCapacitorSim.h"

#include "CSimulatorDoc.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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
    if (m_Ieq != &m_OwnIeq) m_OwnIeq = *m_Ieq;
    m_Ieq = &m_OwnIeq;
    m_Batch = nullptr;
    if (m_Gathered) m_Gathered->List = nullptr; // no longer stamped as a batch
    m_Row[0] = m_pDoc->ResultRow(Nodes[0]);
    m_Row[1] = m_pDoc->ResultRow(Nodes[1]);
    m_Latest[0] = m_Latest[1] = nullptr;
    m_NextStep = m_FirstStep = m_pDoc->HistoryCount();
    m_IeqStep = m_FirstStep - 1;
    m_StartVoltage = startVoltage;
}

void CCapacitorSim::GatherBatch(CComponentSim* const* elements, std::size_t count, int partition)
{
    // Only a linear companion's stamps are the same few operations for every element of its class.
    if (m_Law == Law::OwnStep || count < 2) return;
    // Elements outside the system are not stamped there: they keep their own states.
    std::size_t bound = 0;
    for (std::size_t i = 0; i < count; ++i)
        bound += static_cast<CCapacitorSim*>(elements[i])->SystemEntries(partition) != nullptr;
    if (bound < 2) return;
    auto batch = std::make_unique<GatheredBatch>();
    batch->List = elements;
    batch->Count = count;
    batch->Step = m_FirstStep - 1;
    batch->Ieq.resize(bound);
    batch->Geq.resize(bound);
    batch->Wiring.resize(bound);
    // One place for the voltages of a step rather than a column across hundreds of rows, each on a
    // page of its own.
    const double* solution = m_pDoc->PreviousSolution(partition);
    const IndexMap map = partition == 0 ? IndexMap::identity() : m_pDoc->PartitionMap(partition);
    batch->FromSolution = solution != nullptr;
    std::size_t s = 0;
    for (std::size_t i = 0; i < count; ++i) {
        auto* e = static_cast<CCapacitorSim*>(elements[i]);
        const CompanionEntries* entries = e->SystemEntries(partition);
        if (!entries) continue;
        batch->Ieq[s] = *e->m_Ieq;
        batch->Geq[s] = e->Geq;
        GatheredBatch::Wires& w = batch->Wiring[s];
        for (int j = 0; j < 2; ++j)
            w.From[j] = solution ? solution + map(e->Nodes[j]) : e->m_Row[j];
        w.Rhs[0] = e->Nodes[0] == 0 ? nullptr : entries->i.a;
        w.Rhs[1] = e->Nodes[1] == 0 ? nullptr : entries->i.b;
        e->m_Ieq = &batch->Ieq[s];
        e->m_Batch = this;
        // A run goes on while the next element is one node further along, to ground.
        const bool runs = solution && w.Rhs[0] && !w.Rhs[1];
        auto& segments = batch->Segments;
        if (runs && !segments.empty() && segments.back().Run) {
            const GatheredBatch::Wires& last = batch->Wiring[s - 1];
            if (w.From[0] == last.From[0] + 1 && w.Rhs[0] == last.Rhs[0] + 1) {
                ++segments.back().Count;
                ++s;
                continue;
            }
        }
        segments.push_back({s, 1, runs});
        ++s;
    }
    m_Gathered = std::move(batch);
}

bool CCapacitorSim::StampGathered(StepOp op, CComponentSim* const* elements, std::size_t count, int k,
                                  bool rhsOnly)
{
    GatheredBatch* b = m_Gathered.get();
    if (op != StampOp || !rhsOnly || !b || elements != b->List || count != b->Count || k == m_FirstStep)
        return false;
    if (k != b->Step) {
        b->Step = k;
        StepBatch<true>(k);
        return true;
    }
    for (std::size_t i = 0; i < b->Ieq.size(); ++i) {
        const GatheredBatch::Wires& w = b->Wiring[i];
        if (w.Rhs[0]) *w.Rhs[0] += b->Ieq[i];
        if (w.Rhs[1]) *w.Rhs[1] -= b->Ieq[i];
    }
    return true;
}

void CCapacitorSim::FindBatchHistoryCurrents(int k)
{
    GatheredBatch& b = *m_Gathered;
    if (k == b.Step) return;
    b.Step = k;
    if (k != m_FirstStep) {
        StepBatch<false>(k);
        return;
    }
    // The first step starts from each element's initial state.
    for (std::size_t i = 0; i < b.Count; ++i) {
        auto* e = static_cast<CCapacitorSim*>(b.List[i]);
        if (e->m_Batch == this) e->UpdateHistoryCurrent(k);
    }
}

template <CCapacitorSim::Law law, bool inject> void CCapacitorSim::StampGathered(int k)
{
    // As UpdateHistoryCurrent (and StampInto into the system) element by element. After the
    // first step every element takes over its last step's companion (Gprev = Geq, Iprev = Ieq) before
    // it finds the new one.
    GatheredBatch& b = *m_Gathered;
    const int at = b.FromSolution ? 0 : k - 1;
    // A system that has the table hold its columns back keeps its solution, which its batches read
    // instead; should the rows be read here all the same, they get the held columns first.
    if (!b.FromSolution && m_pDoc->ColumnHeld(at)) m_pDoc->WriteHeldColumns();
    double* const ieqs = b.Ieq.data();
    const double* const geqs = b.Geq.data();
    for (const GatheredBatch::Segment& segment : b.Segments) {
        if (segment.Run) {
            const GatheredBatch::Wires& w = b.Wiring[segment.First];
            StreamRun<law, inject>(ieqs + segment.First, geqs + segment.First, w.From[0], w.Rhs[0],
                                   segment.Count);
            continue;
        }
        for (std::size_t i = segment.First, end = i + segment.Count; i < end; ++i) {
            const GatheredBatch::Wires& w = b.Wiring[i];
            const double v = w.From[0][at] - w.From[1][at];
            const double ieq = CompanionCurrent(law, geqs[i], v, geqs[i], ieqs[i]);
            ieqs[i] = ieq;
            if constexpr (inject) {
                if (w.Rhs[0]) *w.Rhs[0] += ieq;
                if (w.Rhs[1]) *w.Rhs[1] -= ieq;
            }
        }
    }
}

template <CCapacitorSim::Law law, bool inject>
void CCapacitorSim::StreamRun(double* ieq, const double* geq, const double* v, double* rhs, std::size_t n)
{
    // The same operations as an element's, two elements at a time: the voltage less ground's +0.0,
    // the companion current, and the current into the node.
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128d zero = _mm_setzero_pd();
    const __m128d sign = _mm_set1_pd(-0.0);
    for (; i + 2 <= n; i += 2) {
        const __m128d gv = _mm_mul_pd(_mm_loadu_pd(geq + i), _mm_sub_pd(_mm_loadu_pd(v + i), zero));
        const __m128d back = _mm_sub_pd(gv, _mm_loadu_pd(ieq + i));
        const __m128d q =
            law == Law::Inductor ? _mm_sub_pd(_mm_xor_pd(gv, sign), back) : _mm_add_pd(gv, back);
        _mm_storeu_pd(ieq + i, q);
        if constexpr (inject) _mm_storeu_pd(rhs + i, _mm_add_pd(_mm_loadu_pd(rhs + i), q));
    }
#endif
    for (; i < n; ++i) {
        const double q = CompanionCurrent(law, geq[i], v[i] - 0.0, geq[i], ieq[i]);
        ieq[i] = q;
        if constexpr (inject) rhs[i] += q;
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
