// The run's work at every iteration: the per-step operations of the elements, and the assembly,
// factoring and solving of the systems the matrix mode took.
#include "MatrixModes.h"

#include "CComponentSim.h"
#include "CSimulatorDoc.h"
#include "ResultsTable.h"
#include "Text.h"
#include "UiServices.h"

#include <algorithm>
#include <new>

void MatrixModes::BeginStep(int k)
{
    RunStepList(m_BeginList, CComponentSim::BeginStepOp, k);
}

void MatrixModes::PreSolve(int k)
{
    RunStepList(m_PreSolveList, CComponentSim::PreSolveOp, k);
}

void MatrixModes::Assemble(int k)
{
    if (!m_Maximal) AssembleFull(k);
    if (m_Minimal) AssembleReduced(k);
    if (m_Maximal) AssemblePartitions(k);
}

bool MatrixModes::Solve(int k)
{
    if (!m_Maximal && !SolveFull(k)) return false;
    if (m_Minimal && !SolveReduced(k)) return false;
    if (m_Maximal && !SolvePartitions(k)) return false;
    if (StoresOnceAStep()) m_UnstoredColumn = k;
    return true;
}

double MatrixModes::UnstoredValue(int x) const
{
    // The partitions' solution is the one stored last; the reduced system, which may run beside them,
    // and the full system beside the reduced one store theirs as they solve.
    if (m_Maximal) {
        const int p = m_NodePartition[size_t(x)];
        if (p > 0) return m_Parts[size_t(p)].solution[size_t(m_LocalIndex[size_t(x)])];
    } else if (!m_Full.solution.empty()) {
        return m_Full.solution[size_t(x)];
    }
    return m_Results->V(x, m_UnstoredColumn);
}

bool MatrixModes::NeedsIteration(int k, bool askEvery)
{
    return RunStepList(m_IterateList, askEvery ? CComponentSim::AskEveryOp : CComponentSim::NeedsIterationOp,
                       k);
}

void MatrixModes::AcceptStep(int k)
{
    StoreSolutions(k);
    m_UnstoredColumn = -1;
    RunStepList(m_EndList, CComponentSim::EndStepOp, k);
    m_MatrixDirty = false;
    std::fill(m_PartitionDirty.begin(), m_PartitionDirty.end(), 0);
}

bool MatrixModes::RunStepList(const StepList& list, unsigned op, int k, bool rhsOnly)
{
    return RunStepRuns(list, 0, list.runs.size(), op, k, rhsOnly, 0);
}

bool MatrixModes::RunStepRuns(const StepList& list, std::size_t first, std::size_t end, unsigned op, int k,
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

void MatrixModes::AssembleFull(int k)
{
    const bool rebuild = m_MatrixDirty && (k <= H() || !m_Minimal);
    std::fill(m_Full.rhs.begin(), m_Full.rhs.end(), 0.0);
    if (rebuild && RebuildsOverBase()) return RebuildFullOverBase(k);
    if (rebuild) m_Full.A.zero();
    // Elements that add nothing to the right-hand side alone are left out when only it is rebuilt.
    RunStepList(rebuild ? m_StampAllList : m_StampRhsList, CComponentSim::StampOp, k, !rebuild);
}

void MatrixModes::RebuildFullOverBase(int k)
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

void MatrixModes::AssembleReduced(int k)
{
    const bool rebuild = m_MatrixDirty;
    std::fill(m_Reduced.rhs.begin(), m_Reduced.rhs.end(), 0.0);
    if (rebuild) m_Reduced.A.zero();
    for (CComponentSim* e : m_ReducedElements)
        if (rebuild || (e->StepOps & CComponentSim::StampOp)) e->StampMapped(!rebuild, k);
}

void MatrixModes::AssemblePartitions(int k)
{
    for (int p = 1; p <= m_PartitionCount; ++p) {
        if (p % 256 == 0) m_Pump();
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

void MatrixModes::RebuildPartition(int p, int k)
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

void MatrixModes::ReportFloating(double status, const std::vector<int>* localToGlobal, bool partition)
{
    if (status < 1) return;
    const int local = int(status);
    const int global = localToGlobal ? (*localToGlobal)[size_t(local)] : local;
    if (global >= 1 && global <= N())
        ui().message(QStringLiteral("Critical Error: Node ") + text::echo(m_Doc.NodeNames()[global]) +
                     (partition ? QStringLiteral(" is floating.") : QStringLiteral(" is floating")));
}

bool MatrixModes::SolveSystem(LinearSystem& sys, bool refactor, const std::vector<int>* toGlobal,
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

void MatrixModes::StoreSolutions(int k)
{
    if (!m_Holding) {
        for (const LinearSystem* sys : m_Storing)
            for (std::size_t i = 1; i < sys->solution.size(); ++i)
                sys->results[i][k] = sys->solution[i];
        return;
    }
    double* const column = m_Results->HoldColumn(k);
    for (const LinearSystem* sys : m_Storing) {
        const double* solution = sys->solution.data();
        const int* rows = sys->rows.data();
        for (std::size_t i = 1, n = sys->solution.size(); i < n; ++i)
            column[rows[i]] = solution[i];
    }
    for (const int x : m_UnheldRows)
        column[x] = m_Results->Row(x)[k];
}

bool MatrixModes::SolveFull(int k)
{
    return SolveSystem(m_Full, m_MatrixDirty && (k <= H() || !m_Minimal), nullptr, false, k);
}

bool MatrixModes::SolveReduced(int k)
{
    return SolveSystem(m_Reduced, m_MatrixDirty, &m_ReducedToGlobal, false, k);
}

bool MatrixModes::SolvePartitions(int k)
{
    for (int p = 1; p <= m_PartitionCount; ++p) {
        // Each partition factors quickly, but thousands of them take a while.
        if (p % 256 == 0) m_Pump();
        if (!SolveSystem(m_Parts[size_t(p)], m_PartitionDirty[size_t(p)] != 0,
                         &m_PartLocalToGlobal[size_t(p)], true, k))
            return false;
    }
    return true;
}
