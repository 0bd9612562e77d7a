// Matrix modes of a run: the full system, the reduced system around the nonlinear elements, and the
// partitioned systems cut at transmission lines.
#include "CComponentSim.h"
#include "CSimulatorDoc.h"
#include "Text.h"
#include "UiServices.h"

#include <algorithm>
#include <cstdint>
#include <new>

void CSimulatorDoc::MarkNodeDirty(int node)
{
    m_MatrixDirty = true;
    if (m_Maximal && node > 0 && size_t(node) < m_NodePartition.size()) {
        const int p = m_NodePartition[size_t(node)];
        if (p > 0) m_PartitionDirty[size_t(p)] = 1;
    }
}

void CSimulatorDoc::ChooseMatrixMode()
{
    const QString& mode = m_RunSettings.matrixMode;
    m_Minimal = mode == QLatin1String("Minimal");
    m_Maximal = mode == QLatin1String("Maximal");
    m_ReducedNodes = m_ReducedBranches = 0;
    m_PartitionCount = 0;
    m_GlobalToReduced.assign(size_t(m_N + m_M) + 1, 0);
    m_NodePartition.assign(size_t(m_N + m_M) + 1, 0);
    m_LocalIndex.assign(size_t(m_N + m_M) + 1, 0);
    m_PartitionDirty.clear();
    BuildTouchingLists();

    bool reduced = false;
    if (m_Minimal || (m_N > 25 && m_NonlinearCount > 0)) {
        BuildReducedNodeSet();
        // With Maximal chosen as well the partitioned solution would overwrite the reduced one
        // anyway, and an element has one set of mapped entries: so the reduced system is only
        // built when it is the one in use.
        if (m_ReducedNodes >= 25 && !m_Minimal)
            m_Maximal = true;
        else
            reduced = !m_Maximal && mode != QLatin1String("None");
    }
    m_Minimal = reduced;
    if (mode == QLatin1String("None")) m_Minimal = m_Maximal = false;
    if (m_Maximal) PartitionNetwork();
}

void CSimulatorDoc::SetUpSystems()
{
    m_Touching = {};
    m_QuietSolveFailure = false;
    m_Full.solution = {};
    size_t bound = 0;
    if (m_Minimal) {
        AllocateSystem(m_Reduced, m_ReducedNodes + m_ReducedBranches, &m_ReducedToGlobal);
        for (auto& e : m_Elements) {
            e->BindMatrixMapped(m_Reduced.A, m_Reduced.rhs.data());
            if (++bound % 1024 == 0) PumpWhenDue();
        }
        m_Reduced.A.Index();
        PumpWhenDue();
    }
    if (!m_Maximal) {
        AllocateSystem(m_Full, m_N + m_M, nullptr);
        if (!m_Minimal) m_Full.solution.assign(size_t(m_N + m_M) + 1, 0.0);
        PumpWhenDue();
        for (auto& e : m_Elements) {
            e->BindMatrix(m_Full.A, m_Full.rhs.data());
            if (++bound % 1024 == 0) PumpWhenDue();
        }
        // Here rather than in the first step, which has enough to do on a large system.
        PumpWhenDue();
        m_Full.A.Index();
    } else {
        SetupPartitions();
    }
    PumpWhenDue();
    m_MatrixDirty = true;
    m_PartitionDirty.assign(size_t(m_PartitionCount) + 1, m_Maximal ? 1 : 0);
    BuildStepLists();
}

void CSimulatorDoc::AllocateSystem(LinearSystem& sys, int n, const std::vector<int>* toGlobal)
{
    sys.allocate(n, m_SolverMethod);
    // A factorisation can take long on a large system: it pumps too, and gives up when asked to stop.
    sys.lu.setKeepGoing([this]() { return KeepFactoring(); });
    sys.results.assign(size_t(n) + 1, nullptr);
    for (int i = 1; i <= n; ++i)
        sys.results[size_t(i)] = m_Results.RowForSolving(toGlobal ? (*toGlobal)[size_t(i)] : i);
}

void CSimulatorDoc::BuildStepLists()
{
    // Every element stamps when the matrix is rebuilt; the other lists hold those with the operation.
    const std::pair<StepList*, unsigned> lists[] = {{&m_BeginList, CComponentSim::BeginStepOp},
                                                    {&m_PreSolveList, CComponentSim::PreSolveOp},
                                                    {&m_StampAllList, 0},
                                                    {&m_StampRhsList, CComponentSim::StampOp},
                                                    {&m_IterateList, CComponentSim::NeedsIterationOp},
                                                    {&m_EndList, CComponentSim::EndStepOp}};
    for (auto& e : m_Elements)
        e->StepOps = e->StepWork();
    for (const auto& [list, op] : lists) {
        list->elements.clear();
        list->runs.clear();
        const void* previous = nullptr;
        for (auto& e : m_Elements) {
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
        PumpWhenDue();
    }
    for (const auto& [first, count] : m_StampRhsList.runs) {
        CComponentSim* const* e = m_StampRhsList.elements.data() + first;
        e[0]->GatherBatch(e, count, 0);
    }
    BuildPartitionStepLists();
}

void CSimulatorDoc::BuildPartitionStepLists()
{
    StepList& list = m_PartStampRhs;
    list = {};
    m_PartVarying.clear();
    if (!m_Maximal) return;
    m_PartVarying.resize(size_t(m_PartitionCount) + 1);
    list.firstRun.push_back(0);
    for (int p = 1; p <= m_PartitionCount; ++p) {
        if (p % 256 == 0) PumpWhenDue();
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

bool CSimulatorDoc::RunStepList(const StepList& list, unsigned op, int k, bool rhsOnly)
{
    return RunStepRuns(list, 0, list.runs.size(), op, k, rhsOnly, 0);
}

bool CSimulatorDoc::RunStepRuns(const StepList& list, std::size_t first, std::size_t end, unsigned op, int k,
                                bool rhsOnly, int partition, Runs which)
{
    bool asked = false;
    for (std::size_t r = first; r < end; ++r) {
        if (which != Runs::Every && (list.varying[r] != 0) != (which == Runs::Varying)) continue;
        CComponentSim* const* e = list.elements.data() + list.runs[r].first;
        asked |= e[0]->RunBatch(CComponentSim::StepOp(op), e, list.runs[r].second, k, rhsOnly, partition);
        if (asked && op == CComponentSim::NeedsIterationOp) return true;
    }
    return asked;
}

void CSimulatorDoc::BuildTouchingLists()
{
    m_Touching.assign(size_t(m_N) + 1, {});
    PumpWhenDue();
    size_t done = 0;
    for (auto& e : m_Elements) {
        for (int i = 0; i < e->NodeCount(); ++i) {
            const int g = e->Nodes[i];
            auto& list = m_Touching[size_t(g)];
            if (g != 0 && (list.empty() || list.back() != e.get())) list.push_back(e.get());
        }
        if (++done % 1024 == 0) PumpWhenDue();
    }
}

void CSimulatorDoc::AddReducedNode(int g)
{
    if (g == 0) return;
    if (m_GlobalToReduced[size_t(g)] != 0) return;
    ++m_ReducedNodes;
    m_ReducedToGlobal.push_back(g);
    m_GlobalToReduced[size_t(g)] = m_ReducedNodes;
}

void CSimulatorDoc::BuildReducedNodeSet()
{
    m_ReducedNodes = 0;
    m_ReducedBranches = 0;
    m_GlobalToReduced.assign(size_t(m_N + m_M) + 1, 0);
    m_ReducedToGlobal.assign(1, 0);
    for (auto& e : m_Elements)
        e->InReducedSet = false;

    for (auto& e : m_Elements) {
        if (!e->Nonlinear) continue;
        e->InReducedSet = true;
        for (int i = 0; i < e->NodeCount(); ++i)
            AddReducedNode(e->Nodes[i]);
    }
    // Grow from every node of the set through the elements that touch it (in list order).
    for (int i = 1; i <= m_ReducedNodes; ++i) {
        if (i % 1024 == 0) PumpWhenDue();
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
    for (auto& e : m_Elements) {
        if (!e->InReducedSet) continue;
        for (int b = 0; b < e->BranchCount; ++b) {
            const int g = m_N + e->Branch[b];
            ++m_ReducedBranches;
            const int local = m_ReducedNodes + m_ReducedBranches;
            m_ReducedToGlobal.push_back(g);
            m_GlobalToReduced[size_t(g)] = local;
        }
    }
}

void CSimulatorDoc::PartitionNetwork()
{
    m_NodePartition.assign(size_t(m_N + m_M) + 1, 0);
    m_LocalIndex.assign(size_t(m_N + m_M) + 1, 0);
    m_PartitionCount = 0;
    m_PartNodeCount.assign(1, 0);
    m_PartBranchCount.assign(1, 0);
    m_PartLocalToGlobal.assign(1, {});
    m_PartElements.assign(1, {});
    for (auto& e : m_Elements)
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
    PumpWhenDue();
    for (auto& e : m_Elements) {
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
            const int g = m_N + e->Branch[b];
            if (m_NodePartition[size_t(g)] != 0) continue;
            m_NodePartition[size_t(g)] = p;
            nodes.push_back(g);
            m_LocalIndex[size_t(g)] = int(nodes.size()) - 1;
            ++m_PartBranchCount[size_t(p)];
        }
    }
}

void CSimulatorDoc::FloodFillPartition(int start, int p)
{
    if (p % 256 == 0) PumpWhenDue();
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
        if (i % 1024 == 0) PumpWhenDue();
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

void CSimulatorDoc::SetupPartitions()
{
    m_Parts.clear();
    m_Parts.resize(size_t(m_PartitionCount) + 1);
    for (int p = 1; p <= m_PartitionCount; ++p) {
        if (p % 256 == 0) PumpWhenDue();
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

void CSimulatorDoc::AssembleFull(int k)
{
    const bool rebuild = m_MatrixDirty && (k <= m_h || !m_Minimal);
    std::fill(m_Full.rhs.begin(), m_Full.rhs.end(), 0.0);
    if (rebuild && RebuildsOverBase()) return RebuildFullOverBase(k);
    if (rebuild) m_Full.A.zero();
    // Elements that add nothing to the right-hand side alone are left out when only it is rebuilt.
    RunStepList(rebuild ? m_StampAllList : m_StampRhsList, CComponentSim::StampOp, k, !rebuild);
}

void CSimulatorDoc::RebuildFullOverBase(int k)
{
    // The matrix of the elements with fixed conductances is made once; after it, they only add to the
    // right-hand side, and the others stamp both.
    const std::size_t all = m_StampAllList.runs.size(), rhs = m_StampRhsList.runs.size();
    if (!m_Full.baseKept) {
        m_Full.A.zero();
        RunStepRuns(m_StampAllList, 0, all, CComponentSim::StampOp, k, false, 0, Runs::Fixed);
        m_Full.A.KeepBase();
        m_Full.baseKept = true;
    } else {
        m_Full.A.RestoreBase();
        RunStepRuns(m_StampRhsList, 0, rhs, CComponentSim::StampOp, k, true, 0, Runs::Fixed);
    }
    RunStepRuns(m_StampAllList, 0, all, CComponentSim::StampOp, k, false, 0, Runs::Varying);
}

void CSimulatorDoc::AssembleReduced(int k)
{
    const bool rebuild = m_MatrixDirty;
    std::fill(m_Reduced.rhs.begin(), m_Reduced.rhs.end(), 0.0);
    if (rebuild) m_Reduced.A.zero();
    for (auto& e : m_Elements)
        if (e->InReducedSet && (rebuild || (e->StepOps & CComponentSim::StampOp)))
            e->StampMapped(!rebuild, k);
}

void CSimulatorDoc::AssemblePartitions(int k)
{
    for (int p = 1; p <= m_PartitionCount; ++p) {
        if (p % 256 == 0) PumpWhenDue();
        LinearSystem& sys = m_Parts[size_t(p)];
        std::fill(sys.rhs.begin(), sys.rhs.end(), 0.0);
        // The right-hand side alone only comes from the elements that add to it, in the batches that
        // stream through it.
        if (m_PartitionDirty[size_t(p)] != 0)
            RebuildPartition(p, k);
        else
            RunStepRuns(m_PartStampRhs, m_PartStampRhs.firstRun[size_t(p) - 1],
                        m_PartStampRhs.firstRun[size_t(p)], CComponentSim::StampOp, k, true, p);
    }
}

void CSimulatorDoc::RebuildPartition(int p, int k)
{
    // Element by element (their classes mostly alternate); over the base of the elements with fixed
    // conductances as in RebuildFullOverBase.
    LinearSystem& sys = m_Parts[size_t(p)];
    const bool overBase = RebuildsOverBase();
    if (!overBase || !sys.baseKept) {
        sys.A.zero();
        for (CComponentSim* e : m_PartElements[size_t(p)])
            if (!overBase || !e->ConductancesVary()) e->StampPartition(false, k, p);
        if (!overBase) return;
        sys.A.KeepBase();
        sys.baseKept = true;
    } else {
        sys.A.RestoreBase();
        RunStepRuns(m_PartStampRhs, m_PartStampRhs.firstRun[size_t(p) - 1],
                    m_PartStampRhs.firstRun[size_t(p)], CComponentSim::StampOp, k, true, p, Runs::Fixed);
    }
    for (CComponentSim* e : m_PartVarying[size_t(p)])
        e->StampPartition(false, k, p);
}

void CSimulatorDoc::ReportFloating(double status, const std::vector<int>* localToGlobal, bool partition)
{
    if (status < 1) return;
    const int local = int(status);
    const int global = localToGlobal ? (*localToGlobal)[size_t(local)] : local;
    if (global >= 1 && global <= m_N)
        ui().message(QStringLiteral("Critical Error: Node ") + text::echo(m_NodeNames[global]) +
                     (partition ? QStringLiteral(" is floating.") : QStringLiteral(" is floating")));
}

bool CSimulatorDoc::SolveSystem(LinearSystem& sys, bool refactor, const std::vector<int>* toGlobal,
                                bool partition, int k)
{
    if (refactor) {
        double d = 0;
        try {
            d = sys.lu.factor(sys.A, sys.indx.data());
        } catch (const std::bad_alloc&) {
            // The fill-in grew beyond what the budget foresaw (pivots moved rows).
            ui().message(QStringLiteral("Error.  Not enough memory for this run."));
            m_QuietSolveFailure = true;
            return false;
        }
        ++m_FactorCount;
        if (sys.lu.reused()) ++m_StructureReuseCount;
        if (d == StructuredLU::kStopped) return false;
        if (d != 0) {
            ReportFloating(d, toGlobal, partition);
            return false;
        }
    }
    // Where a step can take several solves, a system that keeps its last solution writes it into the
    // results table once the step is accepted (StoreSolutions); otherwise while it solves, where the
    // stores find time beside the substitution's chain of products.
    const bool later = !sys.solution.empty() && StoresOnceAStep();
    sys.lu.solve(sys.indx.data(), sys.rhs.data(), later ? nullptr : sys.results.data(), k,
                 sys.solution.empty() ? nullptr : sys.solution.data());
    return true;
}

void CSimulatorDoc::StoreSolution(const LinearSystem& sys, int k)
{
    // One column across many rows, each row's next line asked for a few steps ahead (as the
    // substitutions do where they store).
    constexpr std::uintptr_t kLookahead = 64;
    for (std::size_t i = 1; i < sys.solution.size(); ++i) {
        double* const at = sys.results[i] + k;
        *at = sys.solution[i];
        __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(at) + kLookahead),
                           1);
    }
}

void CSimulatorDoc::StoreSolutions(int k)
{
    if (!StoresOnceAStep()) return;
    if (!m_Maximal) StoreSolution(m_Full, k);
    for (int p = 1; p <= m_PartitionCount && m_Maximal; ++p)
        StoreSolution(m_Parts[size_t(p)], k);
}

bool CSimulatorDoc::KeepFactoring()
{
    // Its calls are far apart already: each reads the clock.
    if (IntervalPassed()) PumpWaitingMessages();
    if (!m_AbortRequested) return true;
    m_FactorStopped = true;
    return false;
}

bool CSimulatorDoc::SolveFull(int k)
{
    return SolveSystem(m_Full, m_MatrixDirty && (k <= m_h || !m_Minimal), nullptr, false, k);
}

bool CSimulatorDoc::SolveReduced(int k)
{
    return SolveSystem(m_Reduced, m_MatrixDirty, &m_ReducedToGlobal, false, k);
}

bool CSimulatorDoc::SolvePartitions(int k)
{
    for (int p = 1; p <= m_PartitionCount; ++p) {
        // Each partition factors quickly, but thousands of them take a while.
        if (p % 256 == 0) PumpWhenDue();
        if (!SolveSystem(m_Parts[size_t(p)], m_PartitionDirty[size_t(p)] != 0,
                         &m_PartLocalToGlobal[size_t(p)], true, k))
            return false;
    }
    return true;
}
