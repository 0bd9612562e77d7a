// A newcomer's first hour on a fresh machine, through the program's own windows: the example
// netlist run for 400 ns, its traces saved into a waveform archive that did not exist yet, plotted,
// zoomed to a band of 5 ns, read at a typed time and printed; the help keys; the plot's prompts.
#include "COrliskBrowse.h"
#include "COrliskWave.h"
#include "CPlotDataViewer.h"
#include "CPlotDoc.h"
#include "CPlotSelect.h"
#include "CPlotView.h"
#include "CSimulatorDoc.h"
#include "CSimulatorView.h"
#include "CommandIds.h"
#include "IdleHook.h"
#include "ListClicks.h"
#include "ProgramFixture.h"
#include "Ribbon.h"
#include "ScriptedArchivePrompts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

QString format(const char* pattern, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return QString::fromLatin1(buffer);
}

QPushButton* button(QWidget* dialog, const QString& text)
{
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

// The program on a machine where nothing was set up: a home folder of its own, no settings.
class FirstDay : public ProgramFixture {
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        m_home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        ui.onPump = [] {
            QCoreApplication::processEvents();
            IdleHook::RunAll();
        };
        ASSERT_TRUE(Launch(TemplateMakers::Program()));
    }
    void TearDown() override
    {
        ProgramFixture::TearDown();
        qputenv("HOME", m_home);
    }
    Ribbon& Bar() { return *Frame().GetRibbonBar(); }
    void Type(int id, const QString& text)
    {
        QLineEdit* edit = Bar().FindEdit(id);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // The example opened and run for 400 ns in steps of 0.1 ns; `choose` drives the trace
    // selection that follows the run.
    CSimulatorDoc* RunExample(std::function<void(CPlotSelect&)> choose)
    {
        nextFile = QStringLiteral(TORVEX_EXAMPLES_DIR "/rlc.cir");
        Frame().OnCommand(ID_FILE_OPEN);
        auto* view = dynamic_cast<CSimulatorView*>(Frame().ActiveView());
        if (!view) return nullptr;
        Type(ID_Transient_TimeStep, QStringLiteral("0.1ns"));
        Type(ID_Transient_TimeSpan, QStringLiteral("400ns"));
        plotTraces.onRun = [&](CSimulatorDoc& run, const QString& folder,
                               std::weak_ptr<RunSettingsReceiver> link, QWidget* owner) {
            const SimulatorTraceSource source(run.Results());
            CPlotSelect dialog(source, folder, std::move(link), owner);
            dialog.show();
            choose(dialog);
        };
        Frame().OnCommand(ID_Transient_Simulate);
        return view->GetDocument();
    }

    QTemporaryDir home;

private:
    QByteArray m_home;
};

TEST_F(FirstDay, NewExperimentAndSaveToOrliskWorkWithoutFoldersMadeByHand)
{
    ScriptedArchivePrompts prompts;
    prompts.answers = {QStringLiteral("RingTest"), std::nullopt, QStringLiteral("1")};
    // The browser is modal: it is driven once it shows, as the user would.
    QTimer::singleShot(0, [&] {
        auto* browser = qobject_cast<COrliskBrowse*>(QApplication::activeModalWidget());
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(browser->Root, QStringLiteral("C:\\Experiments\\"));
        button(browser, QStringLiteral("New Experiment"))->click();
        button(browser, QStringLiteral("New Shot"))->click();
        browser->accept();
    });
    nextFile = QStringLiteral(TORVEX_EXAMPLES_DIR "/rlc.cir");
    Frame().OnCommand(ID_FILE_OPEN);
    Frame().OnCommand(IDC_SC);
    EXPECT_EQ(Bar().FindComboBox(IDC_Value)->currentText(), QStringLiteral("RingTest"));
    EXPECT_EQ(Bar().FindComboBox(IDC_OrliskShotCombo)->currentText(), QStringLiteral("1"));

    CSimulatorDoc* doc = RunExample([](CPlotSelect& dialog) {
        EXPECT_EQ(dialog.PathText()->text(), QStringLiteral("C:\\Experiments\\RingTest\\Shots\\Shot1\\"));
        DoubleClickItem(dialog.TraceList(), QStringLiteral("V(N2)"));
        QTest::mouseClick(dialog.SaveToOrliskButton(), Qt::LeftButton);
    });
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(ui.messages.size(), 2); // the run's summary first
    EXPECT_EQ(ui.messages[1], QStringLiteral("Save to Orlisk complete"));

    const QDir experiment(home.filePath(QStringLiteral("Experiments/RingTest")));
    for (const char* file : {"RingTest.ini", "Query/QShots.ini"})
        EXPECT_TRUE(QFile::exists(experiment.filePath(QString::fromLatin1(file)))) << file;
    COrliskWave wave;
    ASSERT_TRUE(wave.Read(experiment.filePath(QStringLiteral("Shots/Shot1/V(N2).wvf"))));
    const ResultsTable& results = doc->Results();
    ASSERT_EQ(wave.SampleCount, 4001);
    const double* v = results.Values(doc->FindNodeIndex(QStringLiteral("N2")));
    for (int k : {0, 420, 4000})
        EXPECT_EQ(wave.Samples[size_t(k + 1)], float(v[k])) << k;
}

TEST_F(FirstDay, RunPlotZoomToFiveNanosecondsReadAtATypedTimeAndPrint)
{
    CSimulatorDoc* run = RunExample([](CPlotSelect& dialog) {
        DoubleClickItem(dialog.TraceList(), QStringLiteral("V(N2)"));
        QTest::mouseClick(dialog.PlotButton(), Qt::LeftButton);
    });
    ASSERT_NE(run, nullptr);
    QCoreApplication::processEvents();
    auto* view = dynamic_cast<CPlotView*>(Frame().ActiveView());
    ASSERT_NE(view, nullptr);
    CPlotDoc& plot = *view->GetDocument();
    ASSERT_EQ(std::tuple(plot.Axes.TimeUnit, plot.Axes.XTickStep), std::tuple(1e-9, 50));
    ASSERT_DOUBLE_EQ(plot.Axes.XMax, 400e-9);

    // Shift-drag across 100 to 105 ns, 28.8 twips a nanosecond.
    const QPoint from = view->PageToClient(QPoint(4320, -2000)), to = view->PageToClient(QPoint(4464, -9000));
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, from);
    QTest::mouseMove(view->viewport(), to);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, to);
    EXPECT_EQ(view->ToolMode(), CPlotView::SelectMode);
    EXPECT_NEAR(plot.Axes.XMin, 100e-9, 1e-9);
    EXPECT_NEAR(plot.Axes.XMax, 105e-9, 1e-9);
    EXPECT_EQ(std::tuple(plot.Axes.TimeUnit, plot.Axes.XTickStep), std::tuple(1e-9, 1));
    // A labelled tick at every nanosecond of the band, where that time lies.
    const std::vector<plot::Tick> ticks = plot::XTicks(plot.Axes);
    ASSERT_GE(ticks.size(), 4u);
    for (const plot::Tick& t : ticks) {
        const double at = t.Label.toDouble() * 1e-9;
        EXPECT_NEAR(t.Pos, 1440 + 11520 * (at - plot.Axes.XMin) / (plot.Axes.XMax - plot.Axes.XMin), 1)
            << t.Label.toStdString();
    }

    ASSERT_TRUE(Frame().OnCommand(ID_ViewPlotData));
    CPlotDataViewer& viewer = view->DataViewer();
    viewer.TimeEdit()->clear();
    QTest::keyClicks(viewer.TimeEdit(), QStringLiteral("42n"));
    QTest::mouseClick(viewer.ShowDataButton(), Qt::LeftButton);
    const CPlotTrace& trace = plot.Traces[0];
    int k = 0;
    while (k * trace.Dt + trace.T0 < 42e-9)
        ++k;
    const double* v = run->Results().Values(run->FindNodeIndex(QStringLiteral("N2")));
    EXPECT_NE(v[k], 0.0);
    EXPECT_EQ(viewer.OutputText, QStringLiteral("Time= 4.200000e-08 \r\nV(N2)\r\n") + format(" %e ", v[k]) +
                                     QStringLiteral("\r\n"));
    EXPECT_EQ(ui.messages.size(), 1) << ui.messages.join(u'|').toStdString(); // the run's summary

    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("ring.pdf"));
    ASSERT_TRUE(view->PrintToPdf(pdf));
    QFile printed(pdf);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    const QByteArray bytes = printed.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.contains("/Count 1"));
    viewer.hide();
}

TEST_F(FirstDay, TheHelpKeysReachTheHelpCommands)
{
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    QTest::keyClick(Frame().ActiveView()->Widget(), Qt::Key_F1);
    QTest::keyClick(Frame().ActiveView()->Widget(), Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(ui.messages, QStringList(2, QStringLiteral("Help is not installed.")));
}

TEST_F(FirstDay, ThePlotsToolsCarryTheirPrompts)
{
    RibbonCategory* home = Bar().FindCategory(QStringLiteral("Home"));
    QStringList prompts;
    for (int id :
         {ID_ViewPlotData, ID_Parts_First, ID_Zoom_Tool, ID_Zoom_Out, ID_Zoom_Fit, ID_Zoom_ActualSize}) {
        QAbstractButton* b = Bar().FindButton(id);
        ASSERT_TRUE(b && home->isAncestorOf(b)) << id;
        prompts << b->toolTip();
    }
    EXPECT_EQ(prompts, QStringList({"View tabulated plot data", "Part Selection Tool", "Zoom In/Out Tool",
                                    "Zoom Out", "Zoom to Fit in Window", "Zoom to Actual Size"}));
}

} // namespace
