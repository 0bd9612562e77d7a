#pragma once

#include <QString>
#include <QStringList>

class CSimulatorDoc;

// Base of every simulation element: one per netlist statement, owned by the netlist document and
// driven by the run through the operations below (see CSimulatorDoc::RunSimulation for the order).
class CComponentSim {
public:
    explicit CComponentSim(CSimulatorDoc* doc) : m_pDoc(doc) {}
    virtual ~CComponentSim() = default;
    CComponentSim(const CComponentSim&) = delete;
    CComponentSim& operator=(const CComponentSim&) = delete;

    // Adds the element's conductances to its bound entries (unless rhsOnly) and its source and
    // history currents to its bound right-hand-side entries; k is the results column.
    virtual void Stamp(bool rhsOnly, int k) {}
    // The same into the reduced system; called only for elements of the reduced set.
    virtual void StampMapped(bool rhsOnly, int k) {}
    // The same into one partition's system; acts only when the partition is one of the element's own.
    virtual void StampPartition(bool rhsOnly, int k, int partition) {}

    // Cache pointers to the entries that the element stamps, once per run.
    virtual void BindMatrix(double** A, double* rhs) {}
    // As BindMatrix, through the document's global-to-reduced map (CSimulatorDoc::ReducedMap).
    virtual void BindMatrixMapped(double** A, double* rhs) {}
    // As BindMatrix through the partition's map, when any node of the element lies in that partition;
    // the element then records the partition number. Otherwise nothing.
    virtual void BindMatrixPartition(double** A, double* rhs, const class IndexMap& map, int partition) {}

    // Once per run, after parsing and before the results table exists (lines raise the history count).
    virtual void Prepare() {}
    // Once per run, after the results table exists.
    virtual void Initialise() {}
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
    int Partition = 0;         // the partition the element was bound to (lines keep one per port too)

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
};

// A conductance between two rows of one system: four cached matrix entries.
struct ConductanceEntries {
    double* aa = nullptr;
    double* ab = nullptr;
    double* ba = nullptr;
    double* bb = nullptr;
    void bind(double** A, int ra, int rb)
    {
        aa = &A[ra][ra];
        ab = &A[ra][rb];
        ba = &A[rb][ra];
        bb = &A[rb][rb];
    }
    void add(double g) const
    {
        *aa += g;
        *ab -= g;
        *ba -= g;
        *bb += g;
    }
};

// A current source between two rows of one system: current i enters row a and leaves row b.
struct CurrentEntries {
    double* a = nullptr;
    double* b = nullptr;
    void bind(double* rhs, int ra, int rb)
    {
        a = &rhs[ra];
        b = &rhs[rb];
    }
    void inject(double i) const
    {
        *a += i;
        *b -= i;
    }
};
