// A long run in the window: Stop is there while the run is still being set up, and using it leaves the
// window as a failed start would, without a message.
#include "NetlistFixture.h"

#include <QAbstractButton>
#include <QProgressBar>

TEST_F(NetlistTest, StopWhileTheRunIsSetUpEndsItQuietly)
{
    Start();
    CSimulatorView* view = NewNetlist();
    CSimulatorDoc* doc = Doc(view);
    Edit(ID_Transient_TimeSpan)->setText(QStringLiteral("1000ns"));
    Simulate();
    ASSERT_TRUE(doc->ResultsValid());
    QProgressBar* bar = Bar().FindProgressBar(ID_Transient_Progress);
    ASSERT_GT(bar->value(), 0);

    // Every check of the run pumps, so the first pumps come while the statements are read.
    CSimulatorDoc::SetPumpInterval(0);
    QString netlist = kDivider;
    for (int i = 0; i < 3000; ++i)
        netlist += QStringLiteral("RL%1 NOUT 0 1MEG\n").arg(i);
    view->setPlainText(netlist);
    ui.messages.clear();
    int pumps = 0;
    duringRun = [&] {
        if (!doc->IsRunning() || ++pumps > 1) return;
        EXPECT_TRUE(doc->Elements().empty()); // still reading
        EXPECT_EQ(bar->value(), 0);           // not the last run's end
        EXPECT_FALSE(Bar().FindByID(ID_Transient_Simulate)->isEnabled());
        EXPECT_TRUE(Bar().FindByID(ID_Transient_Abort)->isEnabled());
        Bar().FindButton(ID_Transient_Abort)->click();
    };
    Simulate();
    CSimulatorDoc::SetPumpInterval(50);
    EXPECT_EQ(pumps, 1);
    EXPECT_EQ(ui.messages, QStringList());
    EXPECT_FALSE(doc->ResultsValid());
    EXPECT_TRUE(doc->Elements().empty());
    EXPECT_TRUE(Enabled(ID_Transient_Simulate));
    EXPECT_FALSE(Enabled(ID_Transient_Abort));
    EXPECT_FALSE(Enabled(ID_PlotTraces));
}
