// The transient run: settings, steps, progress, iterations, failures and traces (stopping and a second
// start are checked in the netlist window).
#include "SimHarness.h"
#include "TestElements.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QString kDivider = QStringLiteral("* divider\nV1 NIN 0 DC 10\nR1 NIN NOUT 1K\nR2 NOUT 0 3K\n");

struct ProgressRecorder : RunProgress {
    void SetRange(int lower, int upper) override { range = {lower, upper}; }
    void SetPos(int pos) override { positions.push_back(pos); }
    std::pair<int, int> range{-1, -1};
    std::vector<int> positions;
};

} // namespace

TEST(RunTest, StepCountRoundsToTheNearestStep)
{
    for (const auto& [span, steps] :
         {std::pair{"100ns", 100}, {"100.4ns", 100}, {"100.6ns", 101}, {"0", 0}, {"0.4N", 0}}) {
        SimHarness h;
        ASSERT_TRUE(h.run(kDivider, "1ns", span)) << span;
        EXPECT_EQ(h.doc.StepCount(), steps) << span;
        EXPECT_EQ(h.trace("V(NOUT)").size(), size_t(steps + 1));
    }
}

TEST(RunTest, ResistiveDividerAndCompletionMessage)
{
    SimHarness h;
    ASSERT_TRUE(h.run(kDivider, "1ns", "10ns", "Auto", "5ns"));
    // The table that plots and exports read: eleven points from the start time on.
    const ResultsTable& table = h.doc.Results();
    ASSERT_EQ(table.PointCount(), 11);
    EXPECT_DOUBLE_EQ(table.Time(10), 15e-9);
    EXPECT_EQ(table.Values(h.doc.FindNodeIndex("NOUT"))[10], 7.5);
    EXPECT_NEAR(h.at("I(V1)", 10e-9), -2.5e-3, 1e-15);
    EXPECT_EQ(h.ui.messages, QStringList{"Simulation completed in 00 mins, 00 secs"});
    EXPECT_EQ(h.doc.FactorCount(), 1); // a linear circuit factors once per run
}

TEST(RunTest, ProgressPositions)
{
    for (const auto& [steps, divisor] : {std::pair{1000, 20}, {50, 10}}) {
        SimHarness h;
        ProgressRecorder rec;
        h.doc.SetNetlistText(kDivider);
        h.doc.Settings().timeSpan = QString::number(steps) + "ns";
        ASSERT_TRUE(h.doc.RunSimulation(&rec));
        EXPECT_EQ(rec.range, std::make_pair(0, steps));
        std::vector<int> expected{0};
        for (int k = 1; k <= steps + 1; ++k)
            if (k % divisor == 0) expected.push_back(k - 1);
        EXPECT_EQ(rec.positions, expected);
    }
}

TEST(RunTest, IterationsUntilEveryElementIsContentOrTheLimit)
{
    for (const auto& [wanted, iterations] : {std::pair{"4", 4}, {"-1", 10001}}) {
        SimHarness h;
        h.doc.SetElementFactory(testFactory());
        ASSERT_TRUE(h.run(kDivider + "K1 NOUT 0 " + wanted + "\n", "1ns", "10ns"));
        EXPECT_EQ(static_cast<TestIterator*>(h.doc.Elements().back().get())->iterationsOfLastStep,
                  iterations);
        // The limit ends the run as completed, after the step that failed to converge.
        EXPECT_EQ(h.problems(),
                  iterations > 4 ? QStringList{"Failing to converge... Aborting."} : QStringList());
        EXPECT_EQ(h.doc.StepCount(), iterations > 4 ? 0 : 10);
        EXPECT_EQ(h.doc.EndedUnconverged(), iterations > 4);
    }
    // The next run of the same document starts afresh.
    SimHarness h;
    h.doc.SetElementFactory(testFactory());
    ASSERT_TRUE(h.run(kDivider + "K1 NOUT 0 -1\n", "1ns", "10ns"));
    ASSERT_TRUE(h.run(kDivider + "K1 NOUT 0 4\n", "1ns", "10ns"));
    EXPECT_FALSE(h.doc.EndedUnconverged());
}

TEST(RunTest, EveryElementIsAskedAfterEachSolveOrInListOrderUntilOneAsks)
{
    // K1 wants 4 iterations of every step, K2 2. Asked in list order, K2 is reached only once K1 is
    // content; asked every time, both are asked after each of the 4 solves.
    for (const auto& [reference, k2Asked] : {std::pair{false, 4}, {true, 1}}) {
        SimHarness h;
        h.doc.SetElementFactory(testFactory());
        if (reference) h.doc.SetIterationRule(CSimulatorDoc::IterationRule::FirstAsking);
        ASSERT_TRUE(h.runClean(kDivider + "K1 NOUT 0 4\nK2 NOUT 0 2\n", "1ns", "10ns"));
        const auto* k1 = findElement<TestIterator>(h.doc, "K1");
        const auto* k2 = findElement<TestIterator>(h.doc, "K2");
        ASSERT_TRUE(k1 && k2);
        EXPECT_EQ(k1->iterationsOfLastStep, 4);
        EXPECT_EQ(k1->asked, 4 * 11);
        EXPECT_EQ(k2->asked, k2Asked * 11);
    }
}

TEST(RunTest, FailuresLeaveNoResults)
{
    const QString init = "Initialization Failure (empty netlist?)",
                  title = "First line of Netlist must be a comment!";
    const QString process = "Error.  ProcessNetlist Failure.",
                  solve = "Critical Error:  Matrax solve failure.";
    const QString island = "* t\nV1 N1 0 DC 1\nR1 N1 0 1K\nR2 N2 N3 1K\n";
    const QString badStep = "Error.  The time step must be a positive number: ";
    // A text that begins with a line break is one trimmed line: there a comment, so nothing is left.
    // clang-format off
    const std::tuple<QString, const char*, const char*, const char*, QStringList> cases[] = {
        {"", "1ns", "10ns", "Auto", {"Error.  Netlist is empty!", init}},
        {"* a\n* b\n", "1ns", "10ns", "Auto", {init}},
        {"\n* title\nR1 N1 0 5", "1ns", "10ns", "Auto", {init}},
        {"\n\n \n", "1ns", "10ns", "Auto", {init}},
        {"R1 N1 0 1\n", "1ns", "10ns", "Auto", {title, init}},
        {" * leading blank\nR1 N1 0 5", "1ns", "10ns", "Auto", {title, init}},
        {"* t\nR1 N1 0 1\nQ1 N1 0\n", "1ns", "10ns", "Auto",
         {"Netlist Error:  Unrecognized Statement: Q1 N1 0", process}},
        {"* t\nR1 N1\n", "1ns", "10ns", "Auto", {"Invalid Netlist:  Not enough arguments: R1", process}},
        {"* t\nI1 0 N1 DC 1\nR1 N2 0 1\n", "1ns", "10ns", "Auto", {solve}},
        {island, "1ns", "10ns", "Auto", {"Critical Error: Node N3 is floating", solve}},
        {island, "1ns", "10ns", "Maximal", {"Critical Error: Node N3 is floating.", solve}},
        {kDivider, "0", "10ns", "Auto", {badStep + "0"}},
        {kDivider, "-1N", "10ns", "Auto", {badStep + "-1N"}},
        {kDivider, "1ns", "-5ns", "Auto", {"Error.  The time span must be zero or a positive number: -5NS"}},
        {kDivider, "1F", "1MEG", "Auto", {"Error.  Too many time steps: 1MEG / 1F"}}};
    // clang-format on
    for (const auto& [netlist, step, span, mode, messages] : cases) {
        SimHarness h;
        EXPECT_FALSE(h.run(netlist, step, span, mode)) << qPrintable(netlist);
        EXPECT_EQ(h.ui.messages, messages) << qPrintable(netlist);
        EXPECT_FALSE(h.doc.ResultsValid() || h.doc.IsRunning() || !h.doc.Elements().empty())
            << qPrintable(netlist);
        EXPECT_EQ(h.doc.Results().PointCount(), 0) << qPrintable(netlist);
    }
}

TEST(RunTest, ADocumentWithoutElementsRefusesToRun)
{
    SimHarness h;
    h.doc.SetElementFactory({});
    EXPECT_FALSE(h.run(kDivider));
    EXPECT_EQ(h.ui.messages, (QStringList{"Error.  This program was built without its simulation elements.",
                                          "Error.  ProcessNetlist Failure."}));
}

TEST(RunTest, ARunAfterARunStartsAfresh)
{
    SimHarness h;
    ASSERT_TRUE(h.run(kDivider, "1ns", "10ns"));
    ASSERT_TRUE(h.run("* t\nV1 NA 0 DC 2\nR1 NA 0 1\n", "1ns", "5ns"));
    EXPECT_EQ(h.doc.Elements().size(), 2u);
    EXPECT_DOUBLE_EQ(h.at("V(NA)", 5e-9), 2.0);
    EXPECT_EQ(h.doc.FindNodeIndex("NOUT"), -1);
    EXPECT_FALSE(h.run("* t\nQ1\n"));
    EXPECT_FALSE(h.doc.ResultsValid());
}

TEST(RunTest, TraceLookup)
{
    SimHarness h;
    ASSERT_TRUE(h.run(kDivider + "R3 X1 0 1\nV2 X1 0 DC 4\n", "1ns", "2ns"));
    std::vector<double> out(3);
    EXPECT_TRUE(h.doc.GetTraceValues("V(NOUT)", 3, out.data()));
    EXPECT_DOUBLE_EQ(out[2], 7.5);
    // V(R2) is not a node expression: the element R2 answers it.
    EXPECT_TRUE(h.doc.GetTraceValues("V(R2)", 3, out.data()));
    EXPECT_DOUBLE_EQ(out[1], 7.5);
    EXPECT_TRUE(h.doc.GetTraceValues("I(R2)", 3, out.data()));
    EXPECT_DOUBLE_EQ(out[1], 2.5e-3);
    // A node whose name does not begin with N or P is not offered as a node voltage.
    h.ui.messages.clear();
    EXPECT_FALSE(h.doc.GetTraceValues("V(X1)", 3, out.data()));
    EXPECT_FALSE(h.doc.GetTraceValues("V(NOPE)", 3, out.data()));
    EXPECT_FALSE(h.doc.GetTraceValues("Q(R1)", 3, out.data()));
    EXPECT_EQ(h.ui.messages,
              (QStringList{"Can't evaluateV(X1), aborting plot.", "Can't evaluate V(NOPE), aborting...",
                           "Can't evaluateQ(R1), aborting plot."}));
}
