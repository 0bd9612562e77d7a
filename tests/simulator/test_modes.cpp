// Matrix modes: the choice, the reduced set, partitions, and identical results in every mode.
#include "MatrixBinder.h"
#include "SimHarness.h"
#include "TestElements.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A driven resistive ladder of `nodes` nodes; a nonlinear element (D line) across the last
// `nonlinearRegion` nodes, which a line separates from the rest when asked.
QString ladder(int nodes, bool nonlinear, bool cutByPortPair = false, int region = 3)
{
    QString s = "* ladder\nV1 N1 0 PULSE 0 10 0 2N 2N 5N 20N\n";
    const int cut = nodes - region;
    for (int i = 1; i < nodes; ++i) {
        if (cutByPortPair && i == cut)
            s += QString("T1 N%1 0 N%2 0 50 1N\n").arg(i).arg(i + 1);
        else
            s += QString("R%1 N%1 N%2 10\n").arg(i).arg(i + 1);
        s += QString("RG%1 N%2 0 1K\n").arg(i).arg(i + 1);
    }
    if (nonlinear) s += QString("D1 N%1 0 100\n").arg(nodes);
    return s;
}

// A driven LC ladder cut by a line every fourth section, its inductors listed together, then its
// capacitors to ground from consecutive nodes: each partition stamps runs of them in one batch.
QString cutLcLadder()
{
    QString lines, capacitors;
    for (int i = 2; i < 30; ++i) {
        if (i % 4 == 0)
            lines += QString("T%1 N%1 0 N%2 0 50 2N\n").arg(i).arg(i + 1);
        else
            lines += QString("L%1 N%1 N%2 20N\n").arg(i).arg(i + 1);
        capacitors += QString("C%1 N%2 0 %3P\nRG%1 N%2 0 1K\n").arg(i).arg(i + 1).arg(5 + i % 3);
    }
    return "* lc\nV1 N1 0 PULSE 0 10 0 2N 2N 5N 20N\nR0 N1 N2 5\n" + lines + capacitors;
}

struct ModeRun {
    SimHarness h;
    ModeRun(const QString& netlist, const QString& mode)
    {
        h.doc.SetElementFactory(testFactory());
        EXPECT_TRUE(h.run(netlist, "1ns", "30ns", mode)) << qPrintable(h.problems().join('|'));
    }
};

// Reads V(A, k) as an element may from the second iteration of step k on (K lines: K1 A B): in
// BeginStep from the second iteration, and in NeedsIteration after every solve.
struct IterationReader : TwoNodeElement {
    explicit IterationReader(CSimulatorDoc* doc) : TwoNodeElement(doc) {}
    void BeginStep(int k) override
    {
        if (m_pDoc->Iteration() > 1) reads[k].push_back({m_pDoc->Iteration(), false, m_pDoc->V(Nodes[0], k)});
    }
    bool NeedsIteration(int k) override
    {
        reads[k].push_back({m_pDoc->Iteration(), true, m_pDoc->V(Nodes[0], k)});
        return false;
    }
    struct Read {
        int iteration;
        bool afterSolve;
        double value;
    };
    std::map<int, std::vector<Read>> reads; // by results column
};

// Every read of a step is the solution of the solve before it: a read before a solve gives what the
// last read after a solve gave, and the step's last read is what the step keeps.
void expectReadsOfLastSolutions(SimHarness& h, const char* mode)
{
    const auto* reader = findElement<IterationReader>(h.doc, "K1");
    ASSERT_TRUE(reader);
    const std::vector<double> kept = h.trace("V(N2)");
    int iterated = 0;
    for (const auto& [k, reads] : reader->reads) {
        const int step = k - h.doc.HistoryCount();
        ASSERT_LT(size_t(step), kept.size());
        double last = 0;
        for (const auto& read : reads) {
            if (!read.afterSolve) EXPECT_EQ(read.value, last) << mode << " step " << step;
            last = read.value;
        }
        EXPECT_EQ(last, kept[size_t(step)]) << mode << " step " << step;
        iterated += reads.size() > 2;
    }
    EXPECT_GT(iterated, 10) << mode;
}

// A nonlinear conductance between two nodes (D lines: D1 A B R) that stamps 1/R into the full and the
// partitioned systems and 2/R into the reduced one, so the results show which system's solution was
// stored; it asks for a second iteration of every step and counts its reduced stamps.
struct TwoFaced : CComponentSim {
    explicit TwoFaced(CSimulatorDoc* doc) : CComponentSim(doc) { Nonlinear = true; }
    bool Parse(const QStringList& t) override
    {
        Name = t.value(0);
        Nodes[0] = m_pDoc->GetNodeIndex(t.value(1));
        Nodes[1] = m_pDoc->GetNodeIndex(t.value(2));
        g = 1 / t.value(3).toDouble();
        return true;
    }
    void BindMatrix(SparseMatrix& A, double* rhs) override { bind(full, A, rhs, IndexMap::identity()); }
    void BindMatrixMapped(SparseMatrix& A, double* rhs) override
    {
        if (InReducedSet) bind(reduced, A, rhs, m_pDoc->ReducedMap());
    }
    void BindMatrixPartition(SparseMatrix& A, double* rhs, const IndexMap& map, int p) override
    {
        if (map(Nodes[0]) == 0 && map(Nodes[1]) == 0) return;
        bind(part, A, rhs, map);
        partition = p;
    }
    void Stamp(bool rhsOnly, int) override
    {
        if (!rhsOnly) full.add(g);
    }
    void StampMapped(bool rhsOnly, int) override
    {
        ++reducedStamps;
        if (!rhsOnly) reduced.add(2 * g);
    }
    void StampPartition(bool rhsOnly, int, int p) override
    {
        if (!rhsOnly && p == partition) part.add(g);
    }
    void BeginStep(int) override
    {
        m_pDoc->MarkNodeDirty(Nodes[0]);
        m_pDoc->MarkNodeDirty(Nodes[1]);
    }
    bool NeedsIteration(int) override { return m_pDoc->Iteration() < 2; }
    void bind(ConductanceEntries& e, SparseMatrix& A, double* rhs, const IndexMap& map)
    {
        MatrixBinder binder(A, rhs, map);
        e.bind(binder, Nodes[0], Nodes[1]);
    }
    double g = 0;
    ConductanceEntries full, reduced, part;
    int partition = 0;
    int reducedStamps = 0;
};

CSimulatorDoc::ElementFactory twoFacedFactory()
{
    return [](ElementClass cls, CSimulatorDoc* doc) -> std::unique_ptr<CComponentSim> {
        if (cls == ElementClass::Diode) return std::make_unique<TwoFaced>(doc);
        return CreateElement(cls, doc);
    };
}

} // namespace

TEST(ModesTest, MaximalWithASmallReducedSetSolvesTheReducedSystemBesideThePartitionsAndStoresThemLast)
{
    // 1 V through 1 ohm into D1: 0.5 V where D1 is 1 ohm (full system, partitions), 1/3 V where it is
    // 0.5 ohm (reduced system). A separate 24-node ladder makes the run large; D1's region has 2 nodes.
    // Every step takes two iterations.
    const QString net = "* two systems\nV1 N1 0 DC 1\nR1 N1 N2 1\nD1 N2 0 1\n" + separateLadder(24);
    const struct {
        const char* mode;
        bool minimal, maximal;
        double v2;
    } cases[] = {
        {"Maximal", true, true, 0.5}, {"Minimal", true, false, 1.0 / 3}, {"None", false, false, 0.5}};
    for (const auto& c : cases) {
        SimHarness h;
        h.doc.SetElementFactory(twoFacedFactory());
        ASSERT_TRUE(h.runClean(net, "1ns", "10ns", c.mode)) << c.mode;
        EXPECT_EQ(std::pair(h.doc.Minimal(), h.doc.Maximal()), std::pair(c.minimal, c.maximal)) << c.mode;
        EXPECT_EQ(h.doc.ReducedNodeCount(), 2) << c.mode;
        for (const double v : h.trace("V(N2)"))
            EXPECT_NEAR(v, c.v2, 1e-12) << c.mode;
        // Two iterations of each of the 11 steps.
        EXPECT_EQ(findElement<TwoFaced>(h.doc, "D1")->reducedStamps, c.minimal ? 22 : 0) << c.mode;
    }
}

TEST(ModesTest, MaximalWithASmallReducedSetReportsAFloatingNodeOfTheReducedSystemFirst)
{
    // NX and NY are joined only to each other: singular in the reduced system, which is solved before
    // the partitions (whose message ends in a full stop).
    const QString net = "* floating\nV1 N1 0 DC 1\nR1 N1 N2 1\nD1 N2 0 1\nD2 NX NY 1\n" + separateLadder(24);
    const std::pair<const char*, const char*> cases[] = {
        {"Maximal", "Critical Error: Node NY is floating"},
        {"None", "Critical Error: Node NY is floating"},
    };
    for (const auto& [mode, message] : cases) {
        SimHarness h;
        h.doc.SetElementFactory(twoFacedFactory());
        EXPECT_FALSE(h.run(net, "1ns", "10ns", mode));
        EXPECT_EQ(h.problems(), QStringList({message, "Critical Error:  Matrax solve failure."})) << mode;
    }
}

TEST(ModesTest, AnElementReadsTheLastSolutionOfTheStepFromItsSecondIteration)
{
    // A diode driven through a resistor, a line behind it to a load: every step iterates, and its
    // solutions move from iteration to iteration. Auto and None solve the full system, Minimal the
    // full and the reduced one, Maximal the two partitions.
    const QString net = "* reads\nV1 N1 0 PULSE -2 5 0 2N 2N 5N 20N\nR1 N1 N2 100\nD1 N2 0 IS=1E-14\n"
                        "T1 N2 0 N3 0 50 1N\nR2 N3 0 50\nK1 N2 0\n";
    for (const char* mode : kMatrixModes) {
        SimHarness h;
        h.doc.SetElementFactory([](ElementClass cls, CSimulatorDoc* doc) -> std::unique_ptr<CComponentSim> {
            if (cls == ElementClass::Transformer) return std::make_unique<IterationReader>(doc);
            return CreateElement(cls, doc);
        });
        ASSERT_TRUE(h.runClean(net, "1ns", "30ns", mode));
        expectReadsOfLastSolutions(h, mode);
    }
}

TEST(ModesTest, ModeChoice)
{
    // Auto takes the reduced system for a small nonlinear region of a large circuit, partitions for a
    // large region. Maximal with a small region of a large circuit takes both; unknown text counts as
    // Auto.
    // clang-format off
    const std::tuple<QString, const char*, bool, bool> cases[] = {
        {ladder(10, true), "Auto", false, false},         {ladder(30, false), "Auto", false, false},
        {ladder(30, true, true, 6), "Auto", true, false}, {ladder(30, true), "Auto", false, true},
        {ladder(30, true), "None", false, false},         {ladder(5, false), "Minimal", true, false},
        {ladder(5, false), "Maximal", false, true},       {ladder(30, true, true, 6), "Maximal", true, true},
        {ladder(30, true, true, 6), "maximal", true, false}};
    // clang-format on
    for (const auto& [netlist, mode, minimal, maximal] : cases) {
        ModeRun r(netlist, mode);
        EXPECT_EQ(std::pair(r.h.doc.Minimal(), r.h.doc.Maximal()), std::pair(minimal, maximal))
            << mode << " " << r.h.doc.NodeCount();
    }
}

TEST(ModesTest, TheSmallerSystemsStopAtLinesAndOnlyDirtyOnesAreRefactored)
{
    // The region beyond the line: nodes N25..N30, where D1 sits at N30. D1 changes its conductance at
    // every step: "None" refactors the whole system each step, "Minimal" the reduced system, "Maximal"
    // only its own partition, and the reduced system that it solves beside the partitions here.
    const QString net = ladder(30, true, true, 6);
    ModeRun none(net, "None"), minimal(net, "Minimal"), maximal(net, "Maximal");
    EXPECT_EQ(minimal.h.doc.ReducedNodeCount(), 6);
    EXPECT_EQ(minimal.h.doc.ReducedBranchCount(), 0);
    int inSet = 0;
    for (const auto& e : minimal.h.doc.Elements())
        inSet += e->InReducedSet;
    EXPECT_EQ(inSet, 6 + 5 + 1 + 1); // RG across six nodes, five series R, the line, D1
    EXPECT_EQ(none.h.doc.FactorCount(), 31);
    EXPECT_EQ(minimal.h.doc.FactorCount(), 1 + 31);
    EXPECT_EQ(maximal.h.doc.FactorCount(), 2 + 30 + 31);
    EXPECT_EQ(maximal.h.doc.PartitionCount(), 2);
    // Without a line there is one partition; an element whose nodes are all ground belongs to none.
    EXPECT_EQ(ModeRun(ladder(8, false), "Maximal").h.doc.PartitionCount(), 1);
    EXPECT_EQ(ModeRun(ladder(8, false, true) + "R99 0 0 5\n", "Maximal").h.doc.PartitionCount(), 2);
}

TEST(ModesTest, EveryModeGivesTheSameResults)
{
    for (const auto& [netlist, last] : {std::pair{ladder(30, true, true, 6), "V(N30)"},
                                        {ladder(30, true), "V(N30)"},
                                        {ladder(12, true, true), "V(N12)"},
                                        {cutLcLadder(), "I(L29)"}}) {
        ModeRun none(netlist, "None");
        for (const char* mode : {"Auto", "Minimal", "Maximal"}) {
            ModeRun other(netlist, mode);
            expectSameTraces(other.h, none.h, {"V(N2)", "V(N12)", last, "I(V1)"}, 1e-9, 0);
        }
    }
}
