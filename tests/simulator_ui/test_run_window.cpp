// A run started from the netlist window: the ribbon's states while it pumps, stopping, failures,
// one run at a time in the whole program, and no closing while it runs.
#include "NetlistFixture.h"

#include <QAbstractButton>
#include <QProgressBar>

TEST_F(NetlistTest, WhileRunningStartIsDisabledAndStopEnabledAndStopEndsAfterTheStep)
{
    Start();
    CSimulatorView* view = NewNetlist();
    CSimulatorDoc* doc = Doc(view);
    Edit(ID_Transient_TimeSpan)->setText(QStringLiteral("1000ns"));
    EXPECT_TRUE(Enabled(ID_Transient_Simulate));
    EXPECT_FALSE(Enabled(ID_Transient_Abort));

    int pumps = 0;
    duringRun = [&] {
        if (!doc->IsRunning()) return; // the pump after the run
        ++pumps;
        EXPECT_FALSE(Bar().FindByID(ID_Transient_Simulate)->isEnabled());
        EXPECT_TRUE(Bar().FindByID(ID_Transient_Abort)->isEnabled());
        EXPECT_FALSE(Bar().FindByID(ID_PlotTraces)->isEnabled());
        if (pumps == 2) Bar().FindButton(ID_Transient_Abort)->click();
    };
    Simulate();
    // The pumps come at steps 100 and 200 (one step of history before the first): stopped there.
    EXPECT_EQ(pumps, 2);
    ASSERT_TRUE(doc->ResultsValid());
    EXPECT_EQ(doc->StepCount(), 199);
    EXPECT_TRUE(ui.messages.last().startsWith(QStringLiteral("Simulation completed in ")));
    EXPECT_EQ(Bar().FindProgressBar(ID_Transient_Progress)->maximum(), 1000);
    EXPECT_GT(Bar().FindProgressBar(ID_Transient_Progress)->value(), 0);

    EXPECT_TRUE(Enabled(ID_Transient_Simulate));
    EXPECT_FALSE(Enabled(ID_Transient_Abort));
    // A stopped run completed: its traces are offered at once, and later through Plot Traces.
    EXPECT_TRUE(Enabled(ID_PlotTraces));
    ASSERT_EQ(plotTraces.requests.size(), 1u);
    EXPECT_EQ(plotTraces.requests[0].doc, doc);
    EXPECT_EQ(Docs().GetOpenDocuments().size(), 2);
}

TEST_F(NetlistTest, AFailedRunOpensNothingAndLeavesNoResults)
{
    Start();
    CSimulatorView* view = NewNetlist();
    CSimulatorDoc* doc = Doc(view);
    Simulate();
    ASSERT_TRUE(doc->ResultsValid());

    struct Case {
        QString netlist;
        const char* timeStep;
        QStringList messages;
    } cases[] = {
        {QStringLiteral("R1 N1 0 1K\n"),
         "1ns",
         {"First line of Netlist must be a comment!", "Initialization Failure (empty netlist?)"}},
        {kDivider, "0", {"Error.  The time step must be a positive number: 0"}},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        view->setPlainText(c.netlist);
        Edit(ID_Transient_TimeStep)->setText(QString::fromLatin1(c.timeStep));
        Simulate();
        EXPECT_EQ(ui.messages, c.messages);
        EXPECT_FALSE(doc->ResultsValid());
        EXPECT_FALSE(doc->IsRunning());
        EXPECT_TRUE(Enabled(ID_Transient_Simulate));
        EXPECT_FALSE(Enabled(ID_PlotTraces));
        EXPECT_EQ(Docs().GetOpenDocuments().size(), 2);
    }
    // Only the first run succeeded.
    EXPECT_EQ(plotTraces.requests.size(), 1u);
}

TEST_F(NetlistTest, ASecondRunIsRefusedFromAnyWindow)
{
    Start();
    CSimulatorView* first = NewNetlist();
    CSimulatorView* second = NewNetlist();
    QMdiArea* area = Frame().MdiArea();
    QMdiSubWindow* firstFrame = area->subWindowList()[1];
    QMdiSubWindow* secondFrame = area->subWindowList()[2];
    ASSERT_EQ(firstFrame->widget(), first);
    area->setActiveSubWindow(firstFrame);
    Edit(ID_Transient_TimeSpan)->setText(QStringLiteral("300ns"));

    bool once = false;
    duringRun = [&] {
        if (once || !Doc(first)->IsRunning()) return;
        once = true;
        Frame().OnCommand(ID_Transient_Simulate); // the same window
        area->setActiveSubWindow(secondFrame);
        IdleHook::RunAll();
        EXPECT_EQ(Frame().ActiveView(), second);
        EXPECT_FALSE(Bar().FindByID(ID_Transient_Simulate)->isEnabled());
        EXPECT_FALSE(Bar().FindByID(ID_Transient_Abort)->isEnabled()); // nothing of its own to stop
        Frame().OnCommand(ID_Transient_Simulate);
        EXPECT_FALSE(Doc(second)->RunSimulation());
    };
    Simulate();
    EXPECT_TRUE(once);
    EXPECT_EQ(ui.messages.mid(0, 3), QStringList(3, QStringLiteral("Simulation already in progress!")));
    EXPECT_TRUE(Doc(first)->ResultsValid());
    EXPECT_EQ(Doc(first)->StepCount(), 300);
    EXPECT_FALSE(Doc(second)->ResultsValid());
    EXPECT_EQ(Doc(second)->Settings().timeSpan, QStringLiteral("100ns")); // untouched by the refused Start

    // Afterwards the other window runs.
    EXPECT_TRUE(Enabled(ID_Transient_Simulate));
    duringRun = nullptr;
    Simulate();
    EXPECT_TRUE(Doc(second)->ResultsValid());
}

TEST_F(NetlistTest, NeitherTheWindowNorTheProgramClosesDuringARun)
{
    Start();
    CSimulatorView* view = NewNetlist();
    CSimulatorDoc* doc = Doc(view);
    doc->SetModifiedFlag(false);
    Edit(ID_Transient_TimeSpan)->setText(QStringLiteral("300ns"));
    bool tried = false;
    duringRun = [&] {
        if (tried || !doc->IsRunning()) return;
        tried = true;
        EXPECT_FALSE(Frame().close());
        EXPECT_FALSE(Frame().ActiveChildFrame()->close());
        Frame().OnCommand(ID_FILE_CLOSE);
        Frame().OnCommand(ID_APP_EXIT);
    };
    Simulate();
    EXPECT_TRUE(tried);
    EXPECT_EQ(ui.messages.mid(0, 4), QStringList(4, doc->BusyMessage()));
    EXPECT_TRUE(doc->ResultsValid());
    EXPECT_EQ(doc->StepCount(), 300);
    EXPECT_EQ(Frame().ActiveView(), view);

    // Once the run has ended the program closes.
    EXPECT_TRUE(Frame().close());
    EXPECT_TRUE(Docs().GetOpenDocuments().isEmpty());
}

TEST_F(NetlistTest, TheMainWindowAfterARun)
{
    Start();
    CSimulatorView* view = NewNetlist();
    Simulate();
    ASSERT_TRUE(Doc(view)->ResultsValid());
    Frame().resize(1280, 720);
    Frame().OnIdleUpdate();
    const QImage shot = Frame().grab().toImage();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(Bar().GetActiveCategory()->Name(), QStringLiteral("Simulate"));
    if (const QByteArray out = qgetenv("TORVEX_SCREENSHOT"); !out.isEmpty())
        shot.save(QString::fromLocal8Bit(out));
}
