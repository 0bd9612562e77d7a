#pragma once

#include "Document.h"
#include "MatrixModes.h"
#include "ResultsTable.h"
#include "RunSettings.h"

#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class CComponentSim;
enum class ElementClass;

// Where a run reports its progress (the ribbon's progress bar in the program, a recorder in tests).
class RunProgress {
public:
    virtual ~RunProgress() = default;
    virtual void SetRange(int lower, int upper) = 0;
    virtual void SetPos(int pos) = 0;
};

// The netlist document: the netlist text, the run settings and everything one transient run
// produces (node table, elements, results table); the run's systems are its MatrixModes.
class CSimulatorDoc : public Document {
public:
    CSimulatorDoc();
    ~CSimulatorDoc() override;
    CSimulatorDoc(const CSimulatorDoc&) = delete;
    CSimulatorDoc& operator=(const CSimulatorDoc&) = delete;

    // ---- document text and settings ----
    // The text the view shows; a run takes its own copy when it starts.
    void SetNetlistText(const QString& text)
    {
        m_ViewText = text;
        if (!m_Running) m_NetlistText = text;
    }
    const QString& NetlistText() const { return m_ViewText; }
    // Views hear of a save with this hint: the text they show is from then on the saved one.
    static constexpr int kSavedHint = 1;
    bool OnSaveDocument(const QString& path) override;
    RunSettings& Settings() { return m_Settings; }
    const RunSettings& Settings() const { return m_Settings; }
    void SetLinkedSchematic(std::weak_ptr<RunSettingsReceiver> link) { m_LinkedSchematic = std::move(link); }
    bool HasLinkedSchematic() const { return !m_LinkedSchematic.expired(); }
    const std::weak_ptr<RunSettingsReceiver>& LinkedSchematic() const { return m_LinkedSchematic; }

    // ---- the run ----
    // The whole transient run. True when it completed (a stopped run included), false on any failure.
    bool RunSimulation(RunProgress* progress = nullptr);
    // Asks a run in progress to end after the current step.
    void RequestStop() { m_AbortRequested = true; }
    bool IsRunning() const { return m_Running; }
    // The last run ended after a step that reached the iteration limit without converging; the run
    // counts as completed, its last step being that one.
    bool EndedUnconverged() const { return m_Unconverged; }
    // A run of any netlist document is in progress. Runs pump the window's events, so a second run
    // would nest inside the first one's pump: one run at a time in the whole program.
    static bool AnyRunInProgress();
    bool ResultsValid() const { return m_Results.IsValid(); }
    // The results of the last run: what plots and exports read.
    const ResultsTable& Results() const { return m_Results; }
    // Fills out[0..n-1] with a trace of the last run (ResultsTable::GetTraceValues).
    bool GetTraceValues(const QString& expression, int n, double* out) const
    {
        return m_Results.GetTraceValues(expression, n, out);
    }
    // Releases the results and elements of the last run.
    void FreeResults();
    // Dispatches waiting interface events (every 100 steps of a run, at its end, and whenever the
    // run has worked for the pump interval without one).
    void PumpWaitingMessages();
    // How long a run works before it pumps: 50 ms (so never 100 ms without a pump) unless a test sets
    // it; 0 pumps at every check.
    static void SetPumpInterval(int milliseconds);
    // Frees the results when the document closes; a document whose run is in progress is busy and
    // keeps them.
    void OnCloseDocument() override;
    bool IsBusy() const override { return m_Running; }

    // ---- the .cir file: UTF-16LE text without a byte-order mark, lines ending in CR LF ----
    // Read in whatever encoding its bytes show (text::decode).
    files::Kind FileKind() const override { return files::Kind::Netlist; }
    bool Load(QIODevice& in) override;
    bool Save(QIODevice& out) override;
    void DeleteContents() override { SetNetlistText({}); }

    // ---- the reader ----
    bool ReadNetlistLines();
    bool ParseNetlistStatements();
    void DeleteElements();
    int GetNodeIndex(const QString& name);
    int FindNodeIndex(const QString& name) const;
    double ParseValue(const QString& text) const;
    const QStringList& Lines() const { return m_Lines; }
    // The statement dispatcher's element maker: the program hands in its elements (CreateElement),
    // tests may hand in elements of their own. A document without one refuses to run, with a message.
    using ElementFactory = std::function<std::unique_ptr<CComponentSim>(ElementClass, CSimulatorDoc*)>;
    void SetElementFactory(ElementFactory factory) { m_Factory = std::move(factory); }
    const QStringList& NodeNames() const { return m_NodeNames; }

    // ---- what elements read and set during a run ----
    int NodeCount() const { return m_N; }         // N
    int ExtraUnknownCount() const { return m_M; } // M
    int TakeBranch() { return ++m_M; }            // the next extra unknown's ordinal
    int HistoryCount() const { return m_h; }      // h
    void RaiseHistoryCount(int h)
    {
        if (h > m_h) m_h = h;
    }
    int StepCount() const { return m_StepCount; }
    double TimeStep() const { return m_dt; }
    double StartTime() const { return m_StartTime; }
    double SimulatedSpan() const { return m_StepCount * m_dt; }
    double CurrentTime() const { return m_t; }
    int Iteration() const { return m_Iteration; }
    // The folder from which sources read waveform files (ends in "\"), as the user typed it; during a
    // run, as it was when the run started.
    const QString& InputPath() const { return m_Running ? m_RunSettings.path : m_Settings.path; }
    // Results table: row x (0 ground, 1..N nodes, N+1..N+M branch unknowns), column k; while step k
    // iterates, its column as the last solve left it (whether or not that is in the table yet), and the
    // columns of accepted steps that the table holds back (ColumnHeld).
    double V(int x, int k) const
    {
        return k == m_Modes.UnstoredColumn() ? m_Modes.UnstoredValue(x) : m_Results.V(x, k);
    }
    // Row x as written so far: during a run, V where ColumnHeld(k), or WriteHeldColumns first.
    const double* ResultRow(int x) const { return m_Results.Row(x); }
    // Whether column k is held back from the rows during the run (ResultsTable::HoldColumn).
    bool ColumnHeld(int k) const { return m_Results.Holds(k); }
    void WriteHeldColumns() { m_Results.WriteHeldColumns(); }
    // The last solution of the full system (partition 0) by unknown, or of one partition by its own
    // numbers (PartitionMap), 0 at ground, while that system writes the results of its unknowns last:
    // from the first iteration of step k until its solve it holds results column k - 1 in one place.
    // Null where the reduced system writes after it (the full system beside the reduced one), and
    // before the systems are set up. (The partitions write after a reduced system beside them.)
    const double* PreviousSolution(int partition = 0) const { return m_Modes.PreviousSolution(partition); }
    // Global unknown -> the partition's own numbers (0 outside it).
    IndexMap PartitionMap(int partition) const { return m_Modes.PartitionMap(partition); }
    int ResultColumns() const { return m_Results.Columns(); }
    // The element's conductances changed: rebuild and refactor at this iteration.
    void SetMatrixDirty() { m_Modes.SetMatrixDirty(); }
    // As SetMatrixDirty, and in Maximal mode mark the partition of the node (not ground) dirty.
    void MarkNodeDirty(int node) { m_Modes.MarkNodeDirty(node); }
    bool Minimal() const { return m_Modes.Minimal(); }
    bool Maximal() const { return m_Modes.Maximal(); }
    int PartitionCount() const { return m_Modes.PartitionCount(); }
    IndexMap ReducedMap() const { return m_Modes.ReducedMap(); }
    const std::vector<std::unique_ptr<CComponentSim>>& Elements() const { return m_Elements; }
    int NonlinearCount() const { return m_NonlinearCount; }
    int ReducedNodeCount() const { return m_Modes.ReducedNodeCount(); }
    int ReducedBranchCount() const { return m_Modes.ReducedBranchCount(); }
    // The memory budget of every run from now on: its results, element histories and systems together
    // must fit in it, or the run is refused before any of them is allocated. 0: the memory available
    // when the run starts (AvailableMemoryBytes).
    static void SetMemoryLimit(double bytes);
    // Factorisations done in the run so far, for tests and benchmarks.
    long FactorCount() const { return m_Modes.FactorCount(); }
    // Of those, the ones that reused the structure of the factorisation before.
    long StructureReuseCount() const { return m_Modes.StructureReuseCount(); }
    // How the systems are factored and solved (LinearSolver): the program's method, or the dense
    // routines over the whole matrices (the reference), or the structure-aware routines that match
    // them bit for bit. Not a setting users see.
    void SetSolver(LinearSolver::Method method) { m_Modes.SetSolver(method); }
    void SetDenseSolver(bool dense)
    {
        SetSolver(dense ? LinearSolver::Method::Dense : LinearSolver::Method::Program);
    }
    // The run's systems.
    const MatrixModes& Modes() const { return m_Modes; }
    // How a step learns that it needs another iteration. AskEvery: every element is asked after each
    // solve, and the step is accepted when none asks. FirstAsking: the elements are asked in list
    // order until the first that asks, so with several nonlinear elements they take turns and a step
    // takes at least one solve per element (the reference for the tests; not a setting users see).
    enum class IterationRule { AskEvery, FirstAsking };
    void SetIterationRule(IterationRule rule) { m_IterationRule = rule; }
    // Whether the solutions of accepted steps go into the results a line of columns at a time (the
    // default) or each into its column at once (the reference for the tests; not a setting users see).
    void SetHoldColumns(bool hold) { m_Modes.SetHoldColumns(hold); }

private:
    bool ReadRunSettings();
    // Reads and parses the netlist, prepares the elements, allocates the results and chooses the
    // systems; false after the messages.
    bool SetUpRun();
    // The iterations of step k until every element is content or the limit is reached; Failed when a
    // solve fails, Stopped when a stop gave up a factorisation.
    enum class StepEnd { Accepted, Failed, Stopped };
    StepEnd IterateStep(int k);
    // Every step of the run: Accepted when it ends with steps to keep (a stop may have cut it short),
    // Stopped when a stop gave up the first step, Failed after a failed solve's message.
    StepEnd RunSteps(RunProgress* progress);
    // Pumps when the run has worked for the pump interval since the last pump; true when a stop has
    // been asked for. The clock is read only every few calls while they come fast (ClockSaysDue).
    bool PumpWhenDue();
    // Whether the pump interval has passed: the clock itself every m_ClockStride-th call.
    bool ClockSaysDue();
    // The same from the clock at every call.
    bool IntervalPassed();
    // The systems' keep-going hook: pumps when due; false, marking the factorisation stopped, once a
    // stop has been asked for.
    bool KeepFactoring();
    // `work` on every element in list order, pumping when due; false when a stop has been asked for.
    template <class Work> bool ForEachElement(Work work);
    void SetRunning(bool running);
    // The time a run took as its messages give it: "%M mins, %S secs" (minutes and seconds of the span).
    static QString ElapsedText(const QElapsedTimer& clock);
    bool AllocateResults();
    // The memory a run may use (SetMemoryLimit, or what is available).
    static double MemoryLimit();
    // Refuses the run, with the sizes and what would help, when its results, histories and systems
    // do not fit in the budget together.
    bool CheckMemoryBudget();

    RunSettings m_Settings;
    ElementFactory m_Factory;
    std::weak_ptr<RunSettingsReceiver> m_LinkedSchematic;
    QString m_ViewText;    // what the view shows
    QString m_NetlistText; // the copy a run reads

    RunSettings m_RunSettings; // the settings of the run in progress or the last one
    bool m_Running = false;
    bool m_AbortRequested = false;
    bool m_FactorStopped = false; // a stop gave up a factorisation
    bool m_Unconverged = false;   // a step reached the iteration limit
    QElapsedTimer m_SincePump;
    qint64 m_LastClockRead = 0; // nanoseconds of m_SincePump at the last read
    int m_ClockStride = 1;
    int m_ClockCountdown = 1;
    bool m_SettingsRefused = false;
    double m_dt = 0;
    int m_StepCount = 0;
    double m_StartTime = 0;
    int m_N = 0;
    int m_M = 0;
    QStringList m_NodeNames;          // entry 0 stands for ground
    QHash<QString, int> m_NodeLookup; // node name -> index, for the nodes in m_NodeNames
    QStringList m_Lines;
    int m_h = 1;
    double m_t = 0;
    ResultsTable m_Results;
    std::vector<std::unique_ptr<CComponentSim>> m_Elements;
    int m_NonlinearCount = 0;
    IterationRule m_IterationRule = IterationRule::AskEvery;
    int m_Iteration = 0;

    MatrixModes m_Modes{*this, [this]() { return PumpWhenDue(); }, [this]() { return KeepFactoring(); }};
};
