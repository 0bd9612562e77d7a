// Large netlists: the reader gives the lines of the line-by-line reader it replaced, a run pumps and
// honours Stop while it is set up and while it factors, and messages show a long statement cut short.
#include "LargeArray.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace {

// The reader as it was: the rest of the text copied for every line, continuations and comments
// removed from the list one by one. Kept as the reference for the lines; nullopt for a refused text.
std::optional<QStringList> lineByLine(const QString& netlist, QStringList& messages)
{
    const auto space = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    const auto trimLeft = [&](const QString& s) {
        int i = 0;
        while (i < s.size() && space(s[i]))
            ++i;
        return s.mid(i);
    };
    if (netlist.isEmpty()) {
        messages << "Error.  Netlist is empty!";
        return std::nullopt;
    }
    QString rest = netlist.toUpper();
    QStringList lines;
    for (;;) {
        int brk = -1;
        for (int i = 0; i < rest.size(); ++i)
            if (rest[i] == u'\r' || rest[i] == u'\n') {
                brk = i;
                break;
            }
        if (brk <= 0) {
            QString last = trimLeft(rest);
            while (!last.isEmpty() && space(last.back()))
                last.chop(1);
            if (!last.isEmpty()) lines << last;
            break;
        }
        lines << rest.left(brk);
        rest = trimLeft(rest.mid(brk + 1));
    }
    if (lines.isEmpty()) return std::nullopt;
    if (!lines.first().startsWith(u'*')) {
        messages << "First line of Netlist must be a comment!";
        return std::nullopt;
    }
    for (int i = int(lines.size()) - 1; i >= 1; --i)
        if (lines[i].startsWith(u'+')) {
            lines[i - 1] += lines[i].mid(1);
            lines.removeAt(i);
        }
    for (int i = int(lines.size()) - 1; i >= 0; --i)
        if (lines[i].startsWith(u'*')) lines.removeAt(i);
    if (lines.isEmpty()) return std::nullopt;
    return lines;
}

// Every check of a run pumps while it lives, so a test can stop the run at each of them in turn.
struct PumpAtEveryCheck {
    PumpAtEveryCheck() { CSimulatorDoc::SetPumpInterval(0); }
    ~PumpAtEveryCheck() { CSimulatorDoc::SetPumpInterval(50); }
};

struct PumpsAtSteps : RunProgress {
    explicit PumpsAtSteps(const ScriptedUiServices& ui) : ui(ui) {}
    void SetRange(int, int) override { setUpPumps = ui.pumpCount; }
    void SetPos(int) override {}
    const ScriptedUiServices& ui;
    int setUpPumps = -1;
};

// A run of 600 nodes in one system (and one more behind a line): its reader, parser, element walks
// and factorisation all pump more than once.
QString largeCircuit()
{
    return "* large\n" + separateLadder(600) + "T1 NB300 0 NX1 0 Z0=50 TD=1N\nRX NX1 0 50\n";
}

} // namespace

TEST(LongRunTest, LinesAreThoseOfTheLineByLineReader)
{
    // clang-format off
    QStringList texts = {
        "* t\r\nR1 N1 N2\r\n+ 100\r\n",        "* t\rR1 N1 0 1\r\r\n\n+2\n\rR2 N1 0 3",
        "* t\n\n\n   r1 n1 0 5  \n\t\nR2 N1 0 1", "\n* title\nR1 N1 0 5",
        "\r\n\r\n",                               "  \nR1 N1 0 1",
        " * leading blank\nR1 N1 0 5",            "*only title\rR1 A B 1   \t ",
        "* t\nR1 N1 N2 5\n* remark\n+ IGNORED\nR2 N2 0 1\n", "* t\n+ joins the title\n* c\n+\n+x",
        "* t\nR1 N1 0 1\n+\n+ +\n++3\n",          "R1 N1 0 1\n* not first",
        "*",                                      "* a\n* b\n",
        "* t\nR1\tN1 0 1\r\n\t  \r\n+\t2\n",       "* t \n R1 N1 0 1 \n R2 N1 0 2 \n",
        "* t\nR1 N1 N2\n+100\n",                 "* t\nR1 N1\n+ N2\n+ 5\n"};
    // clang-format on
    // And texts cut from the pieces of every rule.
    const char* pieces[] = {"*", "+", " ", "\t", "\r", "\n", "\r\n", "R1 N1 0 5", "c", "* c", "+ 7"};
    std::mt19937 rng(29);
    for (int i = 0; i < 3000; ++i) {
        QString t = i % 2 ? "* t\n" : "";
        for (int n = int(rng() % 14); n > 0; --n)
            t += QLatin1String(pieces[rng() % std::size(pieces)]);
        texts << t;
    }
    for (const QString& text : std::as_const(texts)) {
        QStringList want;
        const std::optional<QStringList> lines = lineByLine(text, want);
        ScriptedUiServices ui;
        CSimulatorDoc doc;
        doc.SetNetlistText(text);
        ASSERT_EQ(doc.ReadNetlistLines(), lines.has_value()) << qPrintable(text);
        if (lines) {
            EXPECT_EQ(doc.Lines(), *lines) << qPrintable(text);
        }
        EXPECT_EQ(ui.messages, want) << qPrintable(text);
    }
}

TEST(LongRunTest, AStopWhileSettingUpOrFactoringEndsTheRunWithNothingKeptAndOnlyAStoppedStepIsReported)
{
    PumpAtEveryCheck everyCheck;
    for (const char* mode : {"None", "Maximal"}) {
        // Where the pumps of the set-up end, and how many come with the first step.
        // The routines that pump while they factor: those of the factorisations the program's solver
        // would need long for.
        SimHarness probe;
        probe.doc.SetSolver(LinearSolver::Method::Structured);
        PumpsAtSteps progress(probe.ui);
        probe.doc.SetNetlistText(largeCircuit());
        probe.doc.Settings().timeSpan = "0";
        probe.doc.Settings().matrixMode = mode;
        ASSERT_TRUE(probe.doc.RunSimulation(&progress));
        const int setUp = progress.setUpPumps;
        const int firstStep = probe.ui.pumpCount - 1 - setUp; // not the pump after the run
        EXPECT_GT(setUp, 60) << mode;
        // The factorisation of 600 unknowns pumps on its way.
        EXPECT_GE(firstStep, 600 / 64) << mode;

        bool kept = false, stoppedInTheStep = false;
        for (int stopAt = 1; stopAt <= setUp + firstStep; ++stopAt) {
            SimHarness h;
            h.doc.SetSolver(LinearSolver::Method::Structured);
            h.ui.onPump = [&]() {
                if (h.ui.pumpCount == stopAt) h.doc.RequestStop();
            };
            const bool completed = h.run(largeCircuit(), "1ns", "2ns", mode);
            EXPECT_FALSE(h.doc.IsRunning());
            if (!completed) {
                // Nothing computed, nothing kept; nothing said while the run was being set up, and
                // the stop said once the first step's factorisation was given up.
                EXPECT_FALSE(kept) << mode << " " << stopAt;
                if (stopAt <= setUp) {
                    EXPECT_EQ(h.ui.messages, QStringList()) << mode << " " << stopAt;
                } else {
                    stoppedInTheStep = true;
                    ASSERT_EQ(h.ui.messages.size(), 1) << mode << " " << stopAt;
                    EXPECT_TRUE(h.ui.messages[0].startsWith("Simulation completed in "))
                        << mode << " " << stopAt;
                    EXPECT_TRUE(
                        h.ui.messages[0].endsWith(" secs, stopped before its first time step: no results."))
                        << mode << " " << stopAt;
                }
                EXPECT_FALSE(h.doc.ResultsValid());
                EXPECT_TRUE(h.doc.Elements().empty());
                continue;
            }
            // Once the first step is through, a stop keeps it as any stop does.
            EXPECT_GT(stopAt, setUp) << mode;
            kept = true;
            EXPECT_EQ(h.doc.StepCount(), 0) << mode << " " << stopAt;
            EXPECT_EQ(h.problems(), QStringList()) << mode << " " << stopAt;
            EXPECT_EQ(h.trace("V(NB1)").size(), 1u);
        }
        EXPECT_TRUE(kept) << mode;
        EXPECT_TRUE(stoppedInTheStep) << mode;
    }
}

TEST(LongRunTest, ALargeResultsTableLetsTheRunStartBeforeItsPagesAreFilled)
{
    PumpAtEveryCheck everyCheck;
    const size_t elements = 1 + 2 * 599 + 2;
    // Counts the pumps after the last element is ready and before the table is there, stopping the
    // run at the `stopAt`th of them, or else once the table is there.
    const auto pumpsBeforeTheTable = [&](const char* span, int stopAt) {
        SimHarness h;
        int waiting = 0;
        h.ui.onPump = [&]() {
            if (!h.doc.IsRunning() || h.doc.Elements().size() != elements) return;
            if (h.doc.ResultColumns() != 0 || ++waiting == stopAt) h.doc.RequestStop();
        };
        EXPECT_FALSE(h.run(largeCircuit(), "1ns", span, "None")) << span;
        EXPECT_EQ(h.ui.messages, QStringList()) << span;
        EXPECT_FALSE(h.doc.ResultsValid());
        return waiting;
    };
    // 602 rows of 20,002 columns, 96 MB: its pages come on another thread, behind the first steps.
    EXPECT_EQ(pumpsBeforeTheTable("20us", 0), pumpsBeforeTheTable("10ns", 0));
    EXPECT_EQ(pumpsBeforeTheTable("20us", 1), 1);
}

TEST(LongRunTest, ATableFilledBehindItsWritesKeepsThemAndReadsZeroElsewhere)
{
    const size_t rows = 300, columns = 10000; // 24 MB
    LargeArray table;
    table.allocate(rows * columns, false, columns);
    // Taken back while its pages are still coming.
    table.allocate(rows * columns, false, columns);
    double* data = table.data();
    for (size_t c = 0; c < columns / 2; ++c)
        for (size_t r = 0; r < rows; ++r)
            data[r * columns + c] = double(r * columns + c + 1);
    size_t wrong = 0;
    for (size_t r = 0; r < rows; ++r)
        for (size_t c = 0; c < columns; ++c)
            wrong += data[r * columns + c] != (c < columns / 2 ? double(r * columns + c + 1) : 0.0);
    EXPECT_EQ(wrong, 0u);
    table.release();
    EXPECT_EQ(table.data(), nullptr);
}

TEST(LongRunTest, MessagesShowALongStatementCutShort)
{
    const QString longName = "R" + QString(999'999, u'X');
    const QString cut = QString(200, u'X');
    // A character outside the basic plane is not split at the cut.
    const QString astral = "R" + QString(198, u'Y') + QString::fromUcs4(U"\U0001D11E") + "Z";
    const std::pair<QString, QStringList> cases[] = {
        {"Q" + cut + "Q N1 0 1\n",
         {"Netlist Error:  Unrecognized Statement: Q" + cut.left(199) + QChar(0x2026),
          "Error.  ProcessNetlist Failure."}},
        {longName + " N1\n",
         {"Invalid Netlist:  Not enough arguments: R" + cut.left(199) + QChar(0x2026),
          "Error.  ProcessNetlist Failure."}},
        {astral + " N1\n",
         {"Invalid Netlist:  Not enough arguments: R" + QString(198, u'Y') + QChar(0x2026),
          "Error.  ProcessNetlist Failure."}},
        {"V1 N1 0 DC 1\nR1 N1 0 1\nR2 N3 N2" + cut + " 1\n",
         {"Critical Error: Node N2" + cut.left(198) + QChar(0x2026) + " is floating",
          "Critical Error:  Matrax solve failure."}},
        // Exactly 200 characters are shown whole.
        {"Q" + cut.left(199) + "\n",
         {"Netlist Error:  Unrecognized Statement: Q" + cut.left(199), "Error.  ProcessNetlist Failure."}},
    };
    for (const auto& [statements, messages] : cases) {
        SimHarness h;
        EXPECT_FALSE(h.run("* t\n" + statements, "1ns", "2ns", "None"));
        EXPECT_EQ(h.ui.messages, messages);
    }
}
