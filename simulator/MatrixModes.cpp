// Matrix modes of a run: the full system, the reduced system around the nonlinear elements, and the
// partitioned systems cut at transmission lines.
#include "MatrixModes.h"

#include "CComponentSim.h"
#include "CSimulatorDoc.h"
#include "ResultsTable.h"
#include "Text.h"
#include "UiServices.h"

#include <algorithm>
#include <cstdint>
#include <new>

MatrixModes::MatrixModes(const CSimulatorDoc& doc, std::function<bool()> pump,
                         std::function<bool()> keepFactoring)
    : m_Doc(doc), m_Pump(std::move(pump)), m_KeepFactoring(std::move(keepFactoring))
{
}

const std::vector<std::unique_ptr<CComponentSim>>& MatrixModes::Elements() const
{
    return m_Doc.Elements();
}

int MatrixModes::N() const
{
    return m_Doc.NodeCount();
}

int MatrixModes::M() const
{
    return m_Doc.ExtraUnknownCount();
}

int MatrixModes::H() const
{
    return m_Doc.HistoryCount();
}

void MatrixModes::MarkNodeDirty(int node)
{
    m_MatrixDirty = true;
    if (m_Maximal && node > 0 && size_t(node) < m_NodePartition.size()) {
        const int p = m_NodePartition[size_t(node)];
        if (p > 0) m_PartitionDirty[size_t(p)] = 1;
    }
}

void MatrixModes::Choose(const QString& mode)
{
    m_Minimal = mode == QLatin1String("Minimal");
    m_Maximal = mode == QLatin1String("Maximal");
    m_ReducedNodes = m_ReducedBranches = 0;
    m_PartitionCount = 0;
    m_GlobalToReduced.assign(size_t(N() + M()) + 1, 0);
    m_NodePartition.assign(size_t(N() + M()) + 1, 0);
    m_LocalIndex.assign(size_t(N() + M()) + 1, 0);
    m_PartitionDirty.clear();
    BuildTouchingLists();

    if (m_Minimal || (N() > 25 && m_Doc.NonlinearCount() > 0)) {
        BuildReducedNodeSet();
        // Maximal chosen with a small reduced set takes both: the reduced system is solved at every
        // iteration beside the partitions, whose solution is stored after it.
        if (m_ReducedNodes >= 25 && !m_Minimal)
            m_Maximal = true;
        else
            m_Minimal = true;
    }
    if (mode == QLatin1String("None")) m_Minimal = m_Maximal = false;
    if (m_Maximal) PartitionNetwork();
}

void MatrixModes::SetUp(ResultsTable& results)
{
    m_Results = &results;
    m_Touching = {};
    m_QuietSolveFailure = false;
    m_Full.solution = {};
    size_t bound = 0;
    if (m_Minimal) {
        AllocateSystem(m_Reduced, m_ReducedNodes + m_ReducedBranches, &m_ReducedToGlobal);
        m_ReducedElements.clear();
        for (auto& e : Elements()) {
            e->BindMatrixMapped(m_Reduced.A, m_Reduced.rhs.data());
            if (e->InReducedSet) m_ReducedElements.push_back(e.get());
            if (++bound % 1024 == 0) m_Pump();
        }
        m_Reduced.A.Index();
        m_Pump();
    }
    if (!m_Maximal) {
        AllocateSystem(m_Full, N() + M(), nullptr);
        if (!m_Minimal) m_Full.solution.assign(size_t(N() + M()) + 1, 0.0);
        m_Pump();
        for (auto& e : Elements()) {
            e->BindMatrix(m_Full.A, m_Full.rhs.data());
            if (++bound % 1024 == 0) m_Pump();
        }
        // Here rather than in the first step, which has enough to do on a large system.
        m_Pump();
        m_Full.A.Index();
    } else {
        SetupPartitions();
    }
    m_Pump();
    m_MatrixDirty = true;
    m_PartitionDirty.assign(size_t(m_PartitionCount) + 1, m_Maximal ? 1 : 0);
    BuildStepLists();
    SetUpStores();
}

void MatrixModes::AllocateSystem(LinearSystem& sys, int n, const std::vector<int>* toGlobal)
{
    sys.allocate(n, m_SolverMethod);
    // A factorisation can take long on a large system: it pumps too, and gives up when asked to stop.
    sys.lu.setKeepGoing(m_KeepFactoring);
    sys.results.assign(size_t(n) + 1, nullptr);
    sys.rows.assign(size_t(n) + 1, 0);
    for (int i = 1; i <= n; ++i) {
        sys.rows[size_t(i)] = toGlobal ? (*toGlobal)[size_t(i)] : i;
        sys.results[size_t(i)] = m_Results->RowForSolving(sys.rows[size_t(i)]);
    }
}

void MatrixModes::SetUpStores()
{
    m_Storing.clear();
    m_UnheldRows.clear();
    if (StoresOnceAStep() && !m_Maximal && !m_Full.solution.empty()) m_Storing.push_back(&m_Full);
    for (int p = 1; p <= m_PartitionCount && m_Maximal && StoresOnceAStep(); ++p)
        m_Storing.push_back(&m_Parts[size_t(p)]);
    m_Holding = m_HoldColumns && !m_Storing.empty();
    if (!m_Holding) return;
    m_Results->MakeHoldingBuffer();
    std::vector<char> stored(size_t(N() + M()) + 1, 0);
    for (const LinearSystem* sys : m_Storing)
        for (std::size_t i = 1; i < sys->rows.size(); ++i)
            stored[size_t(sys->rows[i])] = 1;
    for (std::size_t x = 0; x < stored.size(); ++x)
        if (!stored[x]) m_UnheldRows.push_back(int(x));
}

void MatrixModes::BuildStepLists()
{
    // Every element stamps when the matrix is rebuilt; the other lists hold those with the operation.
    const std::pair<StepList*, unsigned> lists[] = {{&m_BeginList, CComponentSim::BeginStepOp},
                                                    {&m_PreSolveList, CComponentSim::PreSolveOp},
                                                    {&m_StampAllList, 0},
                                                    {&m_StampRhsList, CComponentSim::StampOp},
                                                    {&m_IterateList, CComponentSim::NeedsIterationOp},
                                                    {&m_EndList, CComponentSim::EndStepOp}};
    for (auto& e : Elements())
        e->StepOps = e->StepWork();
    for (const auto& [list, op] : lists) {
        list->elements.clear();
        list->runs.clear();
        const void* previous = nullptr;
        for (auto& e : Elements()) {
            if (op != 0 && !(e->StepOps & op)) continue;
            const void* batch = e->BatchClass();
            if (batch && batch == previous) {
                ++list->runs.back().second;
            } else {
                list->runs.emplace_back(list->elements.size(), 1);
                list->varying.push_back(e->ConductancesVary());
            }
            list->elements.push_back(e.get());
            previous = batch;
        }
        m_Pump();
    }
    for (const auto& [first, count] : m_StampRhsList.runs) {
        CComponentSim* const* e = m_StampRhsList.elements.data() + first;
        e[0]->GatherBatch(e, count, 0);
    }
    BuildPartitionStepLists();
}

void MatrixModes::BuildPartitionStepLists()
{
    StepList& list = m_PartStampRhs;
    list = {};
    m_PartVarying.clear();
    if (!m_Maximal) return;
    m_PartVarying.resize(size_t(m_PartitionCount) + 1);
    list.firstRun.push_back(0);
    for (int p = 1; p <= m_PartitionCount; ++p) {
        if (p % 256 == 0) m_Pump();
        const void* previous = nullptr;
        for (CComponentSim* e : m_PartElements[size_t(p)]) {
            const bool varying = e->ConductancesVary();
            if (varying) m_PartVarying[size_t(p)].push_back(e);
            if (!(e->StepOps & CComponentSim::StampOp)) continue;
            const void* batch = e->BatchClass();
            if (batch && batch == previous) {
                ++list.runs.back().second;
            } else {
                list.runs.emplace_back(list.elements.size(), 1);
                list.varying.push_back(varying);
            }
            list.elements.push_back(e);
            previous = batch;
        }
        list.firstRun.push_back(list.runs.size());
    }
    for (int p = 1; p <= m_PartitionCount; ++p)
        for (std::size_t r = m_PartStampRhs.firstRun[size_t(p) - 1]; r < m_PartStampRhs.firstRun[size_t(p)];
             ++r) {
            const auto [first, count] = m_PartStampRhs.runs[r];
            CComponentSim* const* e = m_PartStampRhs.elements.data() + first;
            e[0]->GatherBatch(e, count, p);
        }
}

void MatrixModes::BuildTouchingLists()
{
    m_Touching.assign(size_t(N()) + 1, {});
    m_Pump();
    size_t done = 0;
    for (auto& e : Elements()) {
        for (int i = 0; i < e->NodeCount(); ++i) {
            const int g = e->Nodes[i];
            auto& list = m_Touching[size_t(g)];
            if (g != 0 && (list.empty() || list.back() != e.get())) list.push_back(e.get());
        }
        if (++done % 1024 == 0) m_Pump();
    }
}

void MatrixModes::AddReducedNode(int g)
{
    if (g == 0) return;
    if (m_GlobalToReduced[size_t(g)] != 0) return;
    ++m_ReducedNodes;
    m_ReducedToGlobal.push_back(g);
    m_GlobalToReduced[size_t(g)] = m_ReducedNodes;
}

void MatrixModes::BuildReducedNodeSet()
{
    m_ReducedNodes = 0;
    m_ReducedBranches = 0;
    m_GlobalToReduced.assign(size_t(N() + M()) + 1, 0);
    m_ReducedToGlobal.assign(1, 0);
    for (auto& e : Elements())
        e->InReducedSet = false;

    for (auto& e : Elements()) {
        if (!e->Nonlinear) continue;
        e->InReducedSet = true;
        for (int i = 0; i < e->NodeCount(); ++i)
            AddReducedNode(e->Nodes[i]);
    }
    // Grow from every node of the set through the elements that touch it (in list order).
    for (int i = 1; i <= m_ReducedNodes; ++i) {
        if (i % 1024 == 0) m_Pump();
        const int x = m_ReducedToGlobal[size_t(i)];
        for (CComponentSim* e : m_Touching[size_t(x)]) {
            const int* nd = e->Nodes;
            if (e->Decoupled) {
                // A line joins the set only through the other node of the same port.
                for (int port = 0; port < 2; ++port) {
                    const int a = nd[2 * port], b = nd[2 * port + 1];
                    if (a == x || b == x) {
                        e->InReducedSet = true;
                        AddReducedNode(a == x ? b : a);
                    }
                }
                continue;
            }
            e->InReducedSet = true;
            for (int j = 0; j < e->NodeCount(); ++j)
                AddReducedNode(nd[j]);
        }
    }
    for (auto& e : Elements()) {
        if (!e->InReducedSet) continue;
        for (int b = 0; b < e->BranchCount; ++b) {
            const int g = N() + e->Branch[b];
            ++m_ReducedBranches;
            const int local = m_ReducedNodes + m_ReducedBranches;
            m_ReducedToGlobal.push_back(g);
            m_GlobalToReduced[size_t(g)] = local;
        }
    }
}

void MatrixModes::PartitionNetwork()
{
    m_NodePartition.assign(size_t(N() + M()) + 1, 0);
    m_LocalIndex.assign(size_t(N() + M()) + 1, 0);
    m_PartitionCount = 0;
    m_PartNodeCount.assign(1, 0);
    m_PartBranchCount.assign(1, 0);
    m_PartLocalToGlobal.assign(1, {});
    m_PartElements.assign(1, {});
    for (auto& e : Elements())
        for (int i = 0; i < e->NodeCount(); ++i) {
            const int g = e->Nodes[i];
            if (g != 0 && m_NodePartition[size_t(g)] == 0) {
                ++m_PartitionCount;
                FloodFillPartition(g, m_PartitionCount);
            }
        }

    // Then, in list order, every element joins the lists of its nodes' partitions (a line those of
    // both its ports), and the branch unknowns of sources and transformers are numbered after their
    // partition's nodes.
    m_Pump();
    for (auto& e : Elements()) {
        // A line's two ports may lie in two partitions; anything else lies in one (or none).
        int first = 0, second = 0;
        for (int j = 0; j < e->NodeCount(); ++j) {
            const int g = e->Nodes[j];
            const int q = g == 0 ? 0 : m_NodePartition[size_t(g)];
            if (q == 0 || q == first || q == second) continue;
            if (first == 0)
                first = q;
            else
                second = q;
        }
        if (first == 0) continue;
        if (second != 0 && second < first) std::swap(first, second);
        m_PartElements[size_t(first)].push_back(e.get());
        if (second != 0) m_PartElements[size_t(second)].push_back(e.get());
        const int p = first;
        std::vector<int>& nodes = m_PartLocalToGlobal[size_t(p)];
        for (int b = 0; b < e->BranchCount; ++b) {
            const int g = N() + e->Branch[b];
            if (m_NodePartition[size_t(g)] != 0) continue;
            m_NodePartition[size_t(g)] = p;
            nodes.push_back(g);
            m_LocalIndex[size_t(g)] = int(nodes.size()) - 1;
            ++m_PartBranchCount[size_t(p)];
        }
    }
}

void MatrixModes::FloodFillPartition(int start, int p)
{
    if (p % 256 == 0) m_Pump();
    m_PartNodeCount.push_back(0);
    m_PartBranchCount.push_back(0);
    m_PartLocalToGlobal.push_back({0});
    m_PartElements.push_back({});
    std::vector<int>& nodes = m_PartLocalToGlobal[size_t(p)];

    const auto add = [&](int g) {
        if (g == 0 || m_NodePartition[size_t(g)] != 0) return;
        m_NodePartition[size_t(g)] = p;
        nodes.push_back(g);
        m_LocalIndex[size_t(g)] = int(nodes.size()) - 1;
    };
    add(start);
    // Walk the growing node list; each element adds what it couples to the node.
    for (size_t i = 1; i < nodes.size(); ++i) {
        if (i % 1024 == 0) m_Pump();
        const int x = nodes[i];
        for (CComponentSim* e : m_Touching[size_t(x)]) {
            const int* nd = e->Nodes;
            if (e->Decoupled) {
                for (int port = 0; port < 2; ++port) {
                    const int a = nd[2 * port], b = nd[2 * port + 1];
                    if (a == x)
                        add(b);
                    else if (b == x)
                        add(a);
                }
                continue;
            }
            for (int j = 0; j < e->NodeCount(); ++j)
                add(nd[j]);
        }
    }
    m_PartNodeCount[size_t(p)] = int(nodes.size()) - 1;
}

void MatrixModes::SetupPartitions()
{
    m_Parts.clear();
    m_Parts.resize(size_t(m_PartitionCount) + 1);
    for (int p = 1; p <= m_PartitionCount; ++p) {
        if (p % 256 == 0) m_Pump();
        LinearSystem& sys = m_Parts[size_t(p)];
        const int n = m_PartNodeCount[size_t(p)] + m_PartBranchCount[size_t(p)];
        AllocateSystem(sys, n, &m_PartLocalToGlobal[size_t(p)]);
        // Each partition alone writes the results of its unknowns.
        sys.solution.assign(size_t(n) + 1, 0.0);
        const IndexMap map = IndexMap::partition(m_NodePartition.data(), m_LocalIndex.data(), p);
        // Only the elements of p have a node there; every other element would bind nothing.
        for (CComponentSim* e : m_PartElements[size_t(p)])
            e->BindMatrixPartition(sys.A, sys.rhs.data(), map, p);
    }
}

// ---------------------------------------------------------------------------------------------
// The systems' memory

void MatrixModes::LinearSystem::allocate(int n, LinearSolver::Method method)
{
    A.reset(n);
    rhs.assign(size_t(n) + 1, 0.0);
    indx.assign(size_t(n) + 1, 0);
    lu.reset(n, method);
    baseKept = false;
}

void MatrixModes::LinearSystem::release()
{
    A.reset(0);
    rhs = {};
    results = {};
    rows = {};
    solution = {};
    indx = {};
    lu.reset(0, LinearSolver::Method::Program);
}

void MatrixModes::Free()
{
    m_UnstoredColumn = -1;
    m_Storing = {};
    m_Holding = false;
    m_UnheldRows = {};
    m_Full.release();
    m_Reduced.release();
    // Thousands of partitions take a while to give back.
    while (!m_Parts.empty()) {
        if (m_Parts.size() % 256 == 0) m_Pump();
        m_Parts.pop_back();
    }
    m_Touching = {};
    m_ReducedElements = {};
    for (StepList* list : {&m_BeginList, &m_PreSolveList, &m_StampAllList, &m_StampRhsList, &m_IterateList,
                           &m_EndList, &m_PartStampRhs})
        *list = {};
}

void MatrixModes::ForgetElements()
{
    m_ReducedElements.clear();
    m_PartElements.clear();
    m_PartVarying.clear();
}

double MatrixModes::SystemBytes(int unknowns, const std::vector<CComponentSim*>& elements,
                                const IndexMap& map, double enough) const
{
    std::vector<int> cliques, start{0};
    for (const CComponentSim* e : elements) {
        for (int i = 0; i < e->NodeCount(); ++i)
            cliques.push_back(map(e->Nodes[i]));
        for (int b = 0; b < e->BranchCount; ++b)
            cliques.push_back(map(N() + e->Branch[b]));
        start.push_back(int(cliques.size()));
    }
    return LinearSolver::EstimateBytes(m_SolverMethod, unknowns, cliques, start, enough);
}

MatrixModes::SystemsSize MatrixModes::PartitionsBytes(double enough)
{
    SystemsSize size;
    for (int p = 1; p <= m_PartitionCount; ++p) {
        if (p % 256 == 0) m_Pump();
        const int n = m_PartNodeCount[size_t(p)] + m_PartBranchCount[size_t(p)];
        const double bytes = SystemBytes(n, m_PartElements[size_t(p)], PartitionMap(p), enough);
        size.bytes += bytes;
        if (bytes > size.largest) {
            size.largest = bytes;
            size.largestUnknowns = n;
        }
    }
    return size;
}
