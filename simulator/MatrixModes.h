#pragma once

#include "IndexMap.h"
#include "LinearSolver.h"
#include "SparseMatrix.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class CComponentSim;
class CSimulatorDoc;
class ResultsTable;

// The systems of one run, and the run's work at every step: which systems the matrix mode takes (the
// full system of every unknown, the reduced system around the nonlinear elements, the partitioned
// systems of the sub-networks that lines cut apart), their binding, assembly, factoring and solving,
// and the per-step operations of the elements in the order the run makes them.
class MatrixModes {
public:
    // The run's elements, unknowns and history count are read from `doc`. `pump` serves the window
    // during long work and returns true once a stop has been asked for; `keepFactoring` is asked during
    // a long factorisation, and false gives it up (Solve then fails with FactorStopped).
    MatrixModes(const CSimulatorDoc& doc, std::function<bool()> pump, std::function<bool()> keepFactoring);
    MatrixModes(const MatrixModes&) = delete;
    MatrixModes& operator=(const MatrixModes&) = delete;

    // ---- setting up, once per run ----
    // Chooses the systems for the mode text ("Auto", "None", "Minimal", "Maximal"): the mode flags,
    // the reduced set and the partitions; nothing is allocated.
    void Choose(const QString& mode);
    // Allocates the systems chosen, binds every element to them and makes the per-step lists; the
    // solutions go into `results`.
    void SetUp(ResultsTable& results);
    // Gives back the systems and lists of the run.
    void Free();
    // The elements are about to go: nothing may point at them any more.
    void ForgetElements();
    void BuildReducedNodeSet();
    void AddReducedNode(int global);
    void PartitionNetwork();
    void FloodFillPartition(int start, int partition);

    // ---- the memory the systems will take (before they are allocated) ----
    struct SystemsSize {
        double bytes = 0, largest = 0;
        int largestUnknowns = 0;
    };
    // A system of `unknowns` unknowns into which `elements` stamp through `map`.
    double SystemBytes(int unknowns, const std::vector<CComponentSim*>& elements, const IndexMap& map,
                       double enough) const;
    // Every partition's system, with the largest of them.
    SystemsSize PartitionsBytes(double enough);

    // ---- every iteration of step k, in this order ----
    void BeginStep(int k);
    void PreSolve(int k);
    // The active systems: full unless Maximal, then reduced when Minimal, then partitions when Maximal.
    void Assemble(int k);
    // Solves them in the same order; false on a singular system (after its floating-node message), on
    // memory running out (QuietFailure) or when a stop gave up a factorisation.
    bool Solve(int k);
    // After the solves: whether an element asks for another iteration (every element asked, or only
    // up to the first that asks).
    bool NeedsIteration(int k, bool askEvery);
    // The step is accepted: its solution in column k, EndStep on every element, the dirty flags clear.
    void AcceptStep(int k);
    // Whether the systems that store their solution once a step is accepted hand it to the results
    // table's held columns (ResultsTable::HoldColumn; the default) or write it into the rows at once
    // (the reference for the tests). Taken at SetUp.
    void SetHoldColumns(bool hold) { m_HoldColumns = hold; }
    // The failed solve has given its message already (the factors did not fit in memory).
    bool QuietFailure() const { return m_QuietSolveFailure; }
    // Where a step can take several solves, the systems that keep their last solution store it in the
    // results table only once the step is accepted: from its first solve until then, the step's
    // column (else -1), and the value of unknown x in the solution that will be stored there.
    int UnstoredColumn() const { return m_UnstoredColumn; }
    double UnstoredValue(int x) const;

    // ---- what elements read and set during a run (see CSimulatorDoc) ----
    void SetMatrixDirty() { m_MatrixDirty = true; }
    void MarkNodeDirty(int node);
    const double* PreviousSolution(int partition) const
    {
        const LinearSystem& sys = partition == 0 ? m_Full : m_Parts[size_t(partition)];
        return sys.solution.empty() ? nullptr : sys.solution.data();
    }
    IndexMap PartitionMap(int partition) const
    {
        return IndexMap::partition(m_NodePartition.data(), m_LocalIndex.data(), partition);
    }
    IndexMap ReducedMap() const { return IndexMap::reduced(m_GlobalToReduced.data()); }
    bool Minimal() const { return m_Minimal; }
    bool Maximal() const { return m_Maximal; }
    int PartitionCount() const { return m_PartitionCount; }
    int ReducedNodeCount() const { return m_ReducedNodes; }
    int ReducedBranchCount() const { return m_ReducedBranches; }

    // ---- the solver and its counts ----
    void SetSolver(LinearSolver::Method method) { m_SolverMethod = method; }
    LinearSolver::Method Solver() const { return m_SolverMethod; }
    void ResetCounts() { m_FactorCount = m_StructureReuseCount = 0; }
    long FactorCount() const { return m_FactorCount; }
    long StructureReuseCount() const { return m_StructureReuseCount; }

private:
    struct LinearSystem {
        SparseMatrix A;
        std::vector<double> rhs;
        std::vector<double*> results; // the results row of each unknown
        std::vector<int> rows;        // the same by row number
        std::vector<double> solution; // see CSimulatorDoc::PreviousSolution
        std::vector<int> indx;
        LinearSolver lu;
        // A keeps, as its base, what the elements with fixed conductances add to it (RebuildsOverBase).
        bool baseKept = false;
        void allocate(int n, LinearSolver::Method method);
        void release();
        int size() const { return A.size(); }
    };

    // The elements that do anything in one per-step operation, in list order, cut into runs of
    // neighbours that one call handles.
    struct StepList {
        std::vector<CComponentSim*> elements;
        std::vector<std::pair<std::size_t, std::size_t>> runs; // first element, count
        std::vector<char> varying; // by run: its elements' conductances may change (ConductancesVary)
        // In a list of the partitions' stamps, partition p's runs: firstRun[p-1] .. firstRun[p]-1.
        std::vector<std::size_t> firstRun;
    };
    // Which runs of a list an operation takes.
    enum class Runs { Every, Fixed, Varying };

    const std::vector<std::unique_ptr<CComponentSim>>& Elements() const;
    int N() const;
    int M() const;
    int H() const;
    // For every node the elements that touch it, in list order (used while the systems are chosen).
    void BuildTouchingLists();
    void SetupPartitions();
    void BuildStepLists();
    // The stamps of the partitions' right-hand sides, partition after partition: the elements that
    // stamp them at every step.
    void BuildPartitionStepLists();
    void AllocateSystem(LinearSystem& sys, int n, const std::vector<int>* toGlobal);
    // Runs the operation (a CComponentSim::StepOp) on the list; true when an element asked for
    // another iteration.
    bool RunStepList(const StepList& list, unsigned op, int k, bool rhsOnly = false);
    // The same on the runs [first, end) of the list (those of the kind asked), stamping into the
    // partition's system (0: the full system).
    bool RunStepRuns(const StepList& list, std::size_t first, std::size_t end, unsigned op, int k,
                     bool rhsOnly, int partition, Runs which = Runs::Every);
    // Whether a rebuild of a matrix starts from what the elements with fixed conductances added to it
    // the first time (SparseMatrix::KeepBase), so that only the others stamp it again: with the
    // program's solver; the reference methods stamp every element in list order, as the dense
    // routines' results were made.
    bool RebuildsOverBase() const { return m_SolverMethod == LinearSolver::Method::Program; }
    void AssembleFull(int k);
    // The full system's rebuild by RebuildsOverBase.
    void RebuildFullOverBase(int k);
    void AssembleReduced(int k);
    void AssemblePartitions(int k);
    // Partition p's rebuild.
    void RebuildPartition(int p, int k);
    bool SolveFull(int k);
    bool SolveReduced(int k);
    bool SolvePartitions(int k);
    // Factors when asked, solves, and stores the solution in column k under the global unknowns (a
    // system that keeps its last solution, which alone writes the results of its unknowns, when the
    // step is accepted: StoreSolutions).
    bool SolveSystem(LinearSystem& sys, bool refactor, const std::vector<int>* toGlobal, bool partition,
                     int k);
    void StoreSolutions(int k);
    // A step may take more than one solve: an element may ask for another iteration.
    bool StoresOnceAStep() const { return !m_IterateList.elements.empty(); }
    // Finds the systems that store their solution once a step is accepted, and where they go through
    // held columns (m_HoldColumns), makes the table's buffer and finds the rows they do not write.
    void SetUpStores();
    void ReportFloating(double status, const std::vector<int>* localToGlobal, bool partition);

    const CSimulatorDoc& m_Doc;
    std::function<bool()> m_Pump;
    std::function<bool()> m_KeepFactoring;
    ResultsTable* m_Results = nullptr;
    LinearSolver::Method m_SolverMethod = LinearSolver::Method::Program;
    long m_FactorCount = 0;
    long m_StructureReuseCount = 0;
    // A failed solve whose message has been given: the factors did not fit in memory.
    bool m_QuietSolveFailure = false;
    int m_UnstoredColumn = -1;
    bool m_HoldColumns = true;
    // The systems that store their solution once a step is accepted: the partitions, or the full system
    // where it keeps its solution (not beside the reduced one); none unless StoresOnceAStep.
    std::vector<const LinearSystem*> m_Storing;
    // Their stores go through held columns; the rows none of them writes (ground), which a held column
    // takes from the table as it has them.
    bool m_Holding = false;
    std::vector<int> m_UnheldRows;

    bool m_Minimal = false;
    bool m_Maximal = false;
    int m_ReducedNodes = 0;
    int m_ReducedBranches = 0;
    int m_PartitionCount = 0;
    std::vector<int> m_PartNodeCount;
    std::vector<int> m_PartBranchCount;
    std::vector<int> m_NodePartition; // global unknown -> partition, 0 = none
    std::vector<int> m_LocalIndex;    // global unknown -> row within its partition
    bool m_MatrixDirty = false;
    std::vector<char> m_PartitionDirty;
    std::vector<int> m_ReducedToGlobal;
    std::vector<int> m_GlobalToReduced;
    std::vector<std::vector<int>> m_PartLocalToGlobal;
    std::vector<std::vector<CComponentSim*>> m_PartElements;
    std::vector<CComponentSim*> m_ReducedElements;          // those of the reduced set, in list order
    std::vector<std::vector<CComponentSim*>> m_PartVarying; // those whose conductances may change
    std::vector<std::vector<CComponentSim*>> m_Touching;    // node -> elements touching it
    StepList m_BeginList, m_PreSolveList, m_StampAllList, m_StampRhsList, m_IterateList, m_EndList;
    StepList m_PartStampRhs;
    LinearSystem m_Full;
    LinearSystem m_Reduced;
    std::vector<LinearSystem> m_Parts;
};
