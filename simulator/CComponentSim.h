#pragma once

#include "IndexMap.h"
#include "MatrixBinder.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <memory>
#include <type_traits>
#include <typeinfo>

class CSimulatorDoc;

// Base of every simulation element: one per netlist statement, owned by the netlist document and
// driven by the run through the operations below (see CSimulatorDoc::RunSimulation for the order).
class CComponentSim {
public:
    explicit CComponentSim(CSimulatorDoc* doc) : m_pDoc(doc) {}
    virtual ~CComponentSim() = default;
    CComponentSim(const CComponentSim&) = delete;
    CComponentSim& operator=(const CComponentSim&) = delete;

    // ---- matrices: an element family writes one bind and one stamp (see StampingElement), which
    // serve all six operations ----
    // Caches the addresses of the entries the element stamps in the full system, once per run.
    virtual void BindMatrix(SparseMatrix& A, double* rhs) {}
    // As BindMatrix in the reduced system, through the document's global-to-reduced map; only the
    // elements of the reduced set bind there.
    virtual void BindMatrixMapped(SparseMatrix& A, double* rhs) {}
    // As BindMatrix in one partition's system, through its map, when any node of the element lies in
    // that partition; the element then records the partition number. Otherwise nothing.
    virtual void BindMatrixPartition(SparseMatrix& A, double* rhs, const IndexMap& map, int partition) {}
    // Adds the element's conductances to its bound entries (unless rhsOnly) and its source and
    // history currents to its bound right-hand-side entries; k is the results column.
    virtual void Stamp(bool rhsOnly, int k) {}
    // The same into the reduced system, for elements of the reduced set.
    virtual void StampMapped(bool rhsOnly, int k) {}
    // The same into one partition's system, when the element was bound there.
    virtual void StampPartition(bool rhsOnly, int k, int partition) {}

    // Once per run, after parsing and before the results table exists (lines raise the history count).
    virtual void Prepare() {}
    // Once per run, after the results table exists.
    virtual void Initialise() {}
    // The memory Initialise will take for the element's histories when the results table has
    // `columns` columns (asked after Prepare, before anything of the run is allocated).
    virtual double HistoryBytes(double columns) const { return 0; }
    // Every iteration of step k, first.
    virtual void BeginStep(int k) {}
    // Every iteration of step k, after every BeginStep.
    virtual void PreSolve(int k) {}
    // Once per accepted step k.
    virtual void EndStep(int k) {}
    // Fills out[0..n-1] with the trace `kind` at results columns h..h+n-1; false for a kind not offered.
    virtual bool GetOutput(const QString& kind, int n, double* out) { return false; }
    // After each solve of step k: true asks for another iteration.
    virtual bool NeedsIteration(int k) { return false; }
    // Adds the names of the traces offered in `group` ("Part Voltages", "Source Currents", ...).
    virtual void AddOutputNames(const QString& group, QStringList& list) {}
    // Reads the statement's tokens; on an error shows its own message and returns false.
    virtual bool Parse(const QStringList& tokens) { return false; }

    // ---- the run's calls at every step, as the run makes them ----
    // The per-step operations; Stamp stands for a stamp of the right-hand side alone (a rebuild of
    // the matrix always stamps every element).
    // NeedsIterationOp asks in list order and stops at the first element that asks for another
    // iteration; AskEveryOp asks every element of the same list (NeedsIterationOp's), each once.
    enum StepOp : unsigned {
        BeginStepOp = 1,
        PreSolveOp = 2,
        StampOp = 4,
        NeedsIterationOp = 8,
        EndStepOp = 16,
        AskEveryOp = 32
    };
    static constexpr unsigned kEveryStepOp = 31;
    // The operations in which this element does anything; the run calls it for no other.
    virtual unsigned StepWork() const { return kEveryStepOp; }
    // Elements with the same non-null class run each operation in one call (RunBatch).
    virtual const void* BatchClass() const { return nullptr; }
    // Runs one operation for elements[0..count-1] (this one first, all of its BatchClass), in their
    // order; for NeedsIterationOp, true at the first that asks for another iteration, as one by one;
    // for AskEveryOp, true when any of them asked. Stamps go into the full system, or with a partition
    // number into that partition's system (StampPartition).
    virtual bool RunBatch(StepOp op, CComponentSim* const* elements, std::size_t count, int k, bool rhsOnly,
                          int partition);
    // Once per run, when the step lists are made, for each batch that stamps the right-hand side of the
    // full system (partition 0) or of one partition at every step (elements[0..count-1], this one
    // first): the family may lay out what those stamps read and write together, for its RunBatch of
    // exactly this batch to stream through.
    virtual void GatherBatch(CComponentSim* const* elements, std::size_t count, int partition) {}
    // StepWork(), kept by the run when it sets up.
    unsigned StepOps = kEveryStepOp;
    // The element's conductances (what it adds to the matrix, not to the right-hand side) may change
    // during a run: it then marks the matrix dirty. The others add the same at every rebuild.
    virtual bool ConductancesVary() const { return Nonlinear; }

    // The nodes that the reduced-set builder and the partitioner see, by family: a two-terminal
    // element its two terminals (and its internal node when it has one), every other element its four
    // nodes (a line: port 1 pair, port 2 pair; a transformer: primary pair, secondary pair).
    int NodeCount() const { return TerminalCount == 2 ? (InternalNode ? 3 : 2) : 4; }

    CSimulatorDoc* m_pDoc;
    bool Nonlinear = false;    // conductance can change from step to step or iteration to iteration
    bool InReducedSet = false; // stamped into the reduced system
    QString Name;              // token 0 of the statement
    int TerminalCount = 2;     // 4 for lines and the transformer
    bool Decoupled = false;    // a line: port 1 and port 2 are separate sub-networks
    bool InternalNode = false; // Nodes[2] is the element's own internal node

    int Nodes[4] = {0, 0, 0, 0};
    // Extra unknowns taken while parsing (voltage source 1, transformer 2): ordinals 1..M; the global
    // unknown of ordinal b is N + b.
    int BranchCount = 0;
    int Branch[2] = {0, 0};

    // The shared conductance clamp: R == 0 gives 1e12; otherwise 1/R held within [1e-12, 1e12]
    // (a negative R or NaN gives 1e-12).
    static double ClampConductance(double resistance);
    // Clamps an already computed conductance the same way.
    static double ClampG(double g);

protected:
    // Appends kind + "(" + Name + ")" to the list.
    void AddName(QStringList& list, const QString& kind) const;
    // V(Name) when `group` is the voltage group, I(Name) when it is the current group: the traces of
    // a two-terminal part ("Part Voltages", "Part Currents") or a source ("Source ...").
    void AddVoltageAndCurrent(const QString& group, QStringList& list, const char* voltages = "Part Voltages",
                              const char* currents = "Part Currents") const;
    // Takes the next extra unknown of the document into Branch[BranchCount].
    int TakeBranch();
    // out[j] = V(a, h+j) - V(b, h+j) for j = 0..n-1.
    void NodeDifference(int a, int b, int n, double* out) const;
    // out[j] = values[h+j] for j = 0..n-1 (a history array indexed by results column).
    void CopyHistory(const double* values, int n, double* out) const;
    // Global unknown of branch ordinal i (0 or 1).
    int BranchUnknown(int i) const;
    // Message "text" + Name through the interface services; returns false for Parse to hand on.
    bool Fail(const QString& text) const;
    // The document's global-to-reduced map.
    IndexMap ReducedMap() const;
    // Where the last solution of the system that alone computes the node keeps its value (see
    // CSimulatorDoc::PreviousSolution), for an element whose nodes all lie in one system: from the
    // first iteration of step k until that system's solve it holds results column k - 1, afterwards
    // column k, in one place for all of them. Null where the results table is the only such place.
    const double* LatestValue(int node) const;

    // The systems one element can be bound to in one run beside the reduced one: the full system; the
    // partition of its nodes (a line: of one port); the partition of a line's other port.
    enum EntrySet { FullEntries, PartitionEntries, SecondPartitionEntries, kEntrySets };
    // The set for the partition, or -1 when no node of the element lies in it; records the partition.
    int ClaimPartitionSet(const IndexMap& map, int partition);

    // The partition of each set bound to one (0: none).
    int m_SetPartition[kEntrySets] = {};
};

// The per-step operations of the class T for a batch of its elements: calls that the compiler can
// inline, where one by one every call would go through the table of virtual functions.
template <class T>
bool RunStepBatch(CComponentSim::StepOp op, CComponentSim* const* elements, std::size_t count, int k,
                  bool rhsOnly, int partition)
{
    const auto each = [&](auto call) {
        for (std::size_t i = 0; i < count; ++i)
            call(static_cast<T*>(elements[i]));
    };
    switch (op) {
    case CComponentSim::BeginStepOp:
        each([k](T* e) { e->T::BeginStep(k); });
        break;
    case CComponentSim::PreSolveOp:
        each([k](T* e) { e->T::PreSolve(k); });
        break;
    case CComponentSim::StampOp:
        if (partition != 0)
            each([k, rhsOnly, partition](T* e) { e->T::StampPartition(rhsOnly, k, partition); });
        else
            each([k, rhsOnly](T* e) { e->T::Stamp(rhsOnly, k); });
        break;
    case CComponentSim::EndStepOp:
        each([k](T* e) { e->T::EndStep(k); });
        break;
    case CComponentSim::NeedsIterationOp:
        for (std::size_t i = 0; i < count; ++i)
            if (static_cast<T*>(elements[i])->T::NeedsIteration(k)) return true;
        break;
    case CComponentSim::AskEveryOp: {
        bool asked = false;
        for (std::size_t i = 0; i < count; ++i)
            asked |= static_cast<T*>(elements[i])->T::NeedsIteration(k);
        return asked;
    }
    }
    return false;
}

// Whether the entries of a family reach the right-hand side: those of a bare conductance do not, so
// such an element has nothing to stamp when only the right-hand side is rebuilt.
template <class Entries> inline constexpr bool kEntriesReachRhs = true;
template <> inline constexpr bool kEntriesReachRhs<ConductanceEntries> = false;

// The per-step operations the class T declares itself (or inherits from a class below the element
// base): an operation left to the base does nothing.
template <class T, class Entries> constexpr unsigned StepWorkOf()
{
    using Base = CComponentSim;
    unsigned work = 0;
    if (!std::is_same_v<decltype(&T::BeginStep), void (Base::*)(int)>) work |= Base::BeginStepOp;
    if (!std::is_same_v<decltype(&T::PreSolve), void (Base::*)(int)>) work |= Base::PreSolveOp;
    if (kEntriesReachRhs<Entries>) work |= Base::StampOp;
    if (!std::is_same_v<decltype(&T::NeedsIteration), bool (Base::*)(int)>) work |= Base::NeedsIterationOp;
    if (!std::is_same_v<decltype(&T::EndStep), void (Base::*)(int)>) work |= Base::EndStepOp;
    return work;
}

// The base of an element family whose stamp needs the entries `Entries` in each system. The family
// writes, as public members, Bind (find its entries through the binder) and StampInto (add its values
// to them); this base runs them for every matrix mode, so no family can leave a mode out.
template <class Family, class Entries> class StampingElement : public CComponentSim {
public:
    using CComponentSim::CComponentSim;

    void BindMatrix(SparseMatrix& A, double* rhs) final
    {
        BindSet(FullEntries, A, rhs, IndexMap::identity());
    }
    void BindMatrixMapped(SparseMatrix& A, double* rhs) final
    {
        if (!InReducedSet) return;
        m_ReducedEntries = std::make_unique<Entries>();
        MatrixBinder binder(A, rhs, ReducedMap());
        family().Bind(*m_ReducedEntries, binder);
    }
    void BindMatrixPartition(SparseMatrix& A, double* rhs, const IndexMap& map, int partition) final
    {
        const int set = ClaimPartitionSet(map, partition);
        if (set >= 0) BindSet(set, A, rhs, map);
    }
    void Stamp(bool rhsOnly, int k) final
    {
        if (m_Bound[FullEntries]) family().StampInto(entries(FullEntries), rhsOnly, k);
    }
    void StampMapped(bool rhsOnly, int k) final
    {
        if (m_ReducedEntries) family().StampInto(*m_ReducedEntries, rhsOnly, k);
    }
    void StampPartition(bool rhsOnly, int k, int partition) final
    {
        // A set has a partition number only once it is bound.
        if (m_SetPartition[PartitionEntries] == partition)
            family().StampInto(entries(PartitionEntries), rhsOnly, k);
        else if (m_SetPartition[SecondPartitionEntries] == partition)
            family().StampInto(entries(SecondPartitionEntries), rhsOnly, k);
    }

    // Elements of the family itself run in batches; those of a class derived from it may do more or
    // other things at a step, and are called one by one for every operation unless the class runs
    // batches of its own (with the *As members below).
    unsigned StepWork() const override { return StepWorkAs<Family>(); }
    const void* BatchClass() const override { return BatchClassAs<Family>(); }
    bool RunBatch(StepOp op, CComponentSim* const* elements, std::size_t count, int k, bool rhsOnly,
                  int partition) override
    {
        return RunBatchAs<Family>(op, elements, count, k, rhsOnly, partition);
    }

protected:
    // The entries of the full system (partition 0) or of the partition, or null while the element is not
    // bound there.
    const Entries* SystemEntries(int partition)
    {
        if (partition == 0) return m_Bound[FullEntries] ? &entries(FullEntries) : nullptr;
        for (const int set : {PartitionEntries, SecondPartitionEntries})
            if (m_SetPartition[set] == partition) return &entries(set);
        return nullptr;
    }
    template <class Concrete> unsigned StepWorkAs() const
    {
        return typeid(*this) == typeid(Concrete) ? StepWorkOf<Concrete, Entries>() : kEveryStepOp;
    }
    template <class Concrete> const void* BatchClassAs() const
    {
        return typeid(*this) == typeid(Concrete) ? &typeid(Concrete) : nullptr;
    }
    template <class Concrete>
    bool RunBatchAs(StepOp op, CComponentSim* const* elements, std::size_t count, int k, bool rhsOnly,
                    int partition)
    {
        if (typeid(*this) != typeid(Concrete))
            return CComponentSim::RunBatch(op, elements, count, k, rhsOnly, partition);
        return RunStepBatch<Concrete>(op, elements, count, k, rhsOnly, partition);
    }

private:
    Family& family() { return static_cast<Family&>(*this); }
    void BindSet(int set, SparseMatrix& A, double* rhs, const IndexMap& map)
    {
        MatrixBinder binder(A, rhs, map);
        family().Bind(entries(set), binder);
        m_Bound[set] = true;
    }
    // The full system's set last, next to the flags and the family's own values: what a step reads.
    Entries& entries(int set) { return m_Entries[(set + kEntrySets - 1) % kEntrySets]; }
    Entries m_Entries[kEntrySets];
    bool m_Bound[kEntrySets] = {};
    // The reduced system's entries, for an element of the reduced set: few elements have them, and a run
    // may use them beside those of the partitions.
    std::unique_ptr<Entries> m_ReducedEntries;
};
