// The transient run: settings, steps, progress, stopping, failures and traces.
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
    struct Case {
        const char* span;
        int steps;
    } cases[] = {{"100ns", 100}, {"100.4ns", 100}, {"100.6ns", 101}, {"0", 0}, {"0.4N", 0}};
    for (const Case& c : cases) {
        SimHarness h;
        ASSERT_TRUE(h.run(kDivider, "1ns", c.span)) << c.span;
        EXPECT_EQ(h.doc.StepCount(), c.steps) << c.span;
        EXPECT_EQ(h.trace("V(NOUT)").size(), size_t(c.steps + 1));
    }
}

TEST(RunTest, ResistiveDividerAndCompletionMessage)
{
    SimHarness h;
    ASSERT_TRUE(h.run(kDivider, "1ns", "10ns", "Auto", "5ns"));
    EXPECT_DOUBLE_EQ(h.at("V(NOUT)", 5e-9), 7.5);
    EXPECT_DOUBLE_EQ(h.at("V(NOUT)", 15e-9), 7.5);
    EXPECT_NEAR(h.at("I(V1)", 10e-9), -2.5e-3, 1e-15);
    ASSERT_EQ(h.ui.messages.size(), 1);
    EXPECT_EQ(h.ui.messages[0], QStringLiteral("Simulation completed in 00 mins, 00 secs"));
    EXPECT_TRUE(h.doc.ResultsValid());
    EXPECT_FALSE(h.doc.IsRunning());
    // A linear circuit factors once per run.
    EXPECT_EQ(h.doc.FactorCount(), 1);
}

TEST(RunTest, ProgressPositions)
{
    struct Case {
        int steps, divisor;
    } cases[] = {{1000, 20}, {50, 10}};
    for (const Case& c : cases) {
        SimHarness h;
        ProgressRecorder rec;
        h.doc.SetNetlistText(kDivider);
        h.doc.Settings().timeSpan = QString::number(c.steps) + "ns";
        ASSERT_TRUE(h.doc.RunSimulation(&rec));
        EXPECT_EQ(rec.range, std::make_pair(0, c.steps));
        std::vector<int> expected{0};
        for (int k = 1; k <= c.steps + 1; ++k)
            if (k % c.divisor == 0) expected.push_back(k - 1);
        EXPECT_EQ(rec.positions, expected);
    }
}

TEST(RunTest, StopFromThePumpEndsAfterThatStep)
{
    SimHarness h;
    h.ui.onPump = [&]() {
        if (h.doc.IsRunning() && h.ui.pumpCount == 2) h.doc.RequestStop();
    };
    ASSERT_TRUE(h.run(kDivider, "1ns", "1000ns"));
    // The pump runs at k = 100, 200, ... with h = 1: stopped at k = 200, the step of 199 ns.
    EXPECT_EQ(h.doc.StepCount(), 199);
    EXPECT_EQ(h.trace("V(NOUT)").size(), 200u);
    EXPECT_TRUE(h.ui.messages.last().startsWith("Simulation completed in "));
}

TEST(RunTest, SecondStartWhileRunningIsRefused)
{
    SimHarness h;
    bool second = true;
    h.ui.onPump = [&]() {
        if (h.doc.IsRunning() && h.ui.pumpCount == 1) second = h.doc.RunSimulation();
    };
    ASSERT_TRUE(h.run(kDivider, "1ns", "300ns"));
    EXPECT_FALSE(second);
    EXPECT_EQ(h.ui.messages.first(), QStringLiteral("Simulation already in progress!"));
    EXPECT_EQ(h.doc.StepCount(), 300);
    EXPECT_DOUBLE_EQ(h.at("V(NOUT)", 300e-9), 7.5);
}

TEST(RunTest, IterationLimitEndsTheRunAsCompleted)
{
    SimHarness h;
    h.doc.SetElementFactory(testFactory());
    ASSERT_TRUE(h.run(kDivider + "K1 NOUT 0 -1\n", "1ns", "10ns"));
    EXPECT_EQ(h.problems(), QStringList{"Failing to converge... Aborting."});
    EXPECT_EQ(h.doc.StepCount(), 0);
    auto* it = static_cast<TestIterator*>(h.doc.Elements().back().get());
    EXPECT_EQ(it->iterationsOfLastStep, 10001);
}

TEST(RunTest, IterationsUntilEveryElementIsContent)
{
    SimHarness h;
    h.doc.SetElementFactory(testFactory());
    ASSERT_TRUE(h.run(kDivider + "K1 NOUT 0 4\n", "1ns", "10ns"));
    auto* it = static_cast<TestIterator*>(h.doc.Elements().back().get());
    EXPECT_EQ(it->iterationsOfLastStep, 4);
    EXPECT_TRUE(h.problems().isEmpty());
}

TEST(RunTest, FailuresLeaveNoResults)
{
    struct Case {
        const char* name;
        QString netlist;
        QString step, span;
        QStringList messages;
    } cases[] = {
        {"empty", "", "1ns", "10ns", {"Error.  Netlist is empty!", "Initialization Failure (empty netlist?)"}},
        {"comments only", "* a\n* b\n", "1ns", "10ns", {"Initialization Failure (empty netlist?)"}},
        {"no title", "R1 N1 0 1\n", "1ns", "10ns",
         {"First line of Netlist must be a comment!", "Initialization Failure (empty netlist?)"}},
        {"bad statement", "* t\nR1 N1 0 1\nQ1 N1 0\n", "1ns", "10ns",
         {"Netlist Error:  Unrecognized Statement: Q1 N1 0", "Error.  ProcessNetlist Failure."}},
        {"element refuses", "* t\nR1 N1\n", "1ns", "10ns",
         {"Invalid Netlist:  Not enough arguments: R1", "Error.  ProcessNetlist Failure."}},
        {"zero row", "* t\nI1 0 N1 DC 1\nR1 N2 0 1\n", "1ns", "10ns", {"Critical Error:  Matrax solve failure."}},
        {"floating island", "* t\nV1 N1 0 DC 1\nR1 N1 0 1K\nR2 N2 N3 1K\n", "1ns", "10ns",
         {"Critical Error: Node N3 is floating", "Critical Error:  Matrax solve failure."}},
        {"zero step", kDivider, "0", "10ns", {"Error.  The time step must be a positive number: 0"}},
        {"negative step", kDivider, "-1N", "10ns", {"Error.  The time step must be a positive number: -1N"}},
        {"negative span", kDivider, "1ns", "-5ns",
         {"Error.  The time span must be zero or a positive number: -5NS"}},
        {"too many steps", kDivider, "1F", "1MEG", {"Error.  Too many time steps: 1MEG / 1F"}},
    };
    for (const Case& c : cases) {
        SimHarness h;
        EXPECT_FALSE(h.run(c.netlist, c.step, c.span)) << c.name;
        EXPECT_EQ(h.ui.messages, c.messages) << c.name;
        EXPECT_FALSE(h.doc.ResultsValid()) << c.name;
        EXPECT_FALSE(h.doc.IsRunning()) << c.name;
        EXPECT_TRUE(h.doc.Elements().empty()) << c.name;
    }
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
    EXPECT_EQ(h.ui.messages, (QStringList{"Can't evaluateV(X1), aborting plot.", "Can't evaluate V(NOPE), aborting...",
                                          "Can't evaluateQ(R1), aborting plot."}));
}

TEST(RunTest, LinkedSchematicReceivesTheSettingsWhileItLives)
{
    struct Receiver : RunSettingsReceiver {
        void ReceiveRunSettings(const RunSettings& s, bool archive) override
        {
            got = s;
            archiveMode = archive;
            ++calls;
        }
        RunSettings got;
        bool archiveMode = false;
        int calls = 0;
    };
    SimHarness h;
    auto receiver = std::make_shared<Receiver>();
    h.doc.SetLinkedSchematic(receiver);
    h.doc.Settings().experiment = "EXP1";
    ASSERT_TRUE(h.run(kDivider, "2ns", "10ns"));
    EXPECT_EQ(receiver->calls, 1);
    EXPECT_EQ(receiver->got.timeStep, QStringLiteral("2ns"));
    EXPECT_TRUE(receiver->archiveMode);
    receiver.reset(); // the schematic closed
    EXPECT_FALSE(h.doc.HasLinkedSchematic());
    EXPECT_TRUE(h.run(kDivider, "2ns", "10ns"));
}
