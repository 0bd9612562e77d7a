// The Simulate tab: what its controls write into the netlist document, the input folder a run
// gets, the archive lists and which controls are enabled.
#include "NetlistFixture.h"

#include "ArchivePrompts.h"
#include "COrliskBrowse.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <QtTest/QTest>

namespace {

// Answers the archive browser's folder picker.
struct PickedFolder : ArchivePrompts {
    QString folder;
    bool AskText(QWidget*, const QString&, const QString&, QString&) override { return false; }
    QString PickFolder(QWidget*, const QString&) override { return folder; }
};

// Runs `act` on the archive browser once it is shown modally.
void WhenBrowserShows(std::function<void(COrliskBrowse&)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* browser = qobject_cast<COrliskBrowse*>(w); browser && browser->isVisible()) {
                act(*browser);
                return;
            }
        ADD_FAILURE() << "the archive browser did not show";
    });
}

// Roots A (experiment EA, shot 7) and B (EB1 without shots, EB2 with shots 2 and 1).
void TwoRoots(ArchiveSandbox& archive)
{
    archive.write(QStringLiteral("c/Orlisk/orlisk.ini"), "[Paths]\r\nC:\\A=Path\r\nC:\\B=Path\r\n");
    archive.experiment(QStringLiteral("c/A"), QStringLiteral("EA"), {QStringLiteral("7")});
    archive.experiment(QStringLiteral("c/B"), QStringLiteral("EB1"));
    archive.experiment(QStringLiteral("c/B"), QStringLiteral("EB2"),
                       {QStringLiteral("2"), QStringLiteral("1")});
}

void Pick(QComboBox* combo, const QString& text)
{
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    ASSERT_GE(combo->currentIndex(), 0) << text.toStdString();
}

} // namespace

TEST_F(NetlistTest, RunsGetTheInputFolderOfTheChosenSourceMode)
{
    experiment(QStringLiteral("c/Experiments"), QStringLiteral("E0"), {QStringLiteral("3")});
    experiment(QStringLiteral("c/Experiments"), QStringLiteral("E1"),
               {QStringLiteral("11"), QStringLiteral("12")});
    Start();
    CSimulatorView* view = NewNetlist();
    ASSERT_TRUE(view);
    CSimulatorDoc* doc = Doc(view);
    Choose(IDC_Value, QStringLiteral("E1"));
    Choose(IDC_OrliskShotCombo, QStringLiteral("12"));
    Combo(IDC_FilePathCombo)->addItem(QStringLiteral("orlisk")); // only the exact text is the archive

    struct Case {
        const char* mode;
        const char* typed;
        const char* folder;
    } cases[] = {
        {"Orlisk", "D:\\Waves", "C:\\Experiments\\E1\\Shots\\Shot12\\"},
        {"Path", "D:\\Waves", "D:\\Waves\\"},
        {"orlisk", "D:\\Waves", "D:\\Waves\\"},
    };
    for (const Case& c : cases) {
        Choose(IDC_FilePathCombo, QString::fromLatin1(c.mode));
        Edit(ID_PathEdit)->setText(QString::fromLatin1(c.typed));
        Simulate();
        EXPECT_EQ(doc->InputPath(), QString::fromLatin1(c.folder)) << c.mode << " " << c.typed;
        EXPECT_TRUE(doc->ResultsValid());
    }
    EXPECT_EQ(doc->Settings().archiveRoot, QStringLiteral("C:\\Experiments\\"));

    // The typed folder reaches the document as it is typed, with its separator.
    Choose(IDC_FilePathCombo, QStringLiteral("Path"));
    Edit(ID_PathEdit)->clear();
    QTest::keyClicks(Edit(ID_PathEdit), QStringLiteral("D:\\W"));
    EXPECT_EQ(doc->Settings().path, QStringLiteral("D:\\W\\"));
}

TEST_F(NetlistTest, EditsAndListsReachTheDocumentAndTheRun)
{
    Start();
    CSimulatorView* view = NewNetlist();
    CSimulatorDoc* doc = Doc(view);
    EXPECT_EQ(doc->Settings().sourceMode,
              QStringLiteral("Orlisk")); // a new window takes the tab as it stands

    Edit(ID_Transient_StartTime)->setText(QStringLiteral("5ns"));
    Edit(ID_Transient_TimeStep)->setText(QStringLiteral("2ns"));
    Edit(ID_Transient_TimeSpan)->setText(QStringLiteral("20ns"));
    Choose(IDC_MatrixModeCombo, QStringLiteral("None"));
    view->setPlainText(kDivider + QStringLiteral("R3 NOUT 0 3K\n"));
    Simulate();
    ASSERT_TRUE(doc->ResultsValid());
    EXPECT_EQ(doc->StepCount(), 10); // 20 ns in steps of 2 ns
    EXPECT_DOUBLE_EQ(doc->StartTime(), 5e-9);
    EXPECT_EQ(doc->Settings().matrixMode, QStringLiteral("None"));
    double out[11];
    ASSERT_TRUE(doc->GetTraceValues(QStringLiteral("V(NOUT)"), 11, out));
    EXPECT_NEAR(out[10], 6.0, 1e-9); // the line typed last takes part: 1k over 1.5k
}

TEST_F(NetlistTest, ANewWindowStartsFromTheListsSelectionsAndShowsTheSimulateTab)
{
    TwoRoots(*this);
    Start();
    Bar().SetActiveCategory(Bar().FindCategory(QStringLiteral("Home")));

    // As Create Netlist leaves the lists: the schematic's saved choice selected, not first.
    struct List {
        int id;
        QStringList items;
    } lists[] = {{IDC_OrliskRootCombo, {"C:\\A\\", "C:\\B\\"}},
                 {IDC_Value, {"EB1", "EB2"}},
                 {IDC_OrliskShotCombo, {"1", "2"}}};
    for (const List& l : lists) {
        Combo(l.id)->clear();
        Combo(l.id)->addItems(l.items);
        Combo(l.id)->setCurrentIndex(1);
    }
    CSimulatorDoc* doc = Doc(NewNetlist());
    EXPECT_EQ(doc->Settings().archiveRoot, QStringLiteral("C:\\B\\"));
    EXPECT_EQ(doc->Settings().experiment, QStringLiteral("EB2"));
    EXPECT_EQ(doc->Settings().shot, QStringLiteral("2"));
    EXPECT_EQ(Items(IDC_OrliskRootCombo), QStringList({"C:\\A\\", "C:\\B\\"}));
    EXPECT_EQ(Selected(IDC_OrliskShotCombo), QStringLiteral("2"));
    EXPECT_EQ(Bar().GetActiveCategory()->Name(), QStringLiteral("Simulate"));

    // With nothing selected the first items are taken.
    for (const List& l : lists)
        Combo(l.id)->setCurrentIndex(-1);
    doc = Doc(NewNetlist());
    EXPECT_EQ(doc->Settings().archiveRoot, QStringLiteral("C:\\A\\"));
    EXPECT_EQ(doc->Settings().experiment, QStringLiteral("EA"));
    EXPECT_EQ(doc->Settings().shot, QStringLiteral("7"));

    // Going back to another window shows the tab again.
    Bar().SetActiveCategory(Bar().FindCategory(QStringLiteral("Home")));
    QMdiArea* area = Frame().MdiArea();
    area->setActiveSubWindow(area->subWindowList().first()); // the blank schematic
    area->setActiveSubWindow(area->subWindowList().last());
    EXPECT_EQ(Bar().GetActiveCategory()->Name(), QStringLiteral("Simulate"));
}

TEST_F(NetlistTest, ChoosingARootRefillsExperimentsAndShotsAndAnExperimentRefillsShots)
{
    TwoRoots(*this);
    Start();
    CSimulatorDoc* doc = Doc(NewNetlist());
    EXPECT_EQ(Items(IDC_Value), QStringList{"EA"});
    EXPECT_EQ(Items(IDC_OrliskShotCombo), QStringList{"7"});

    Choose(IDC_OrliskRootCombo, QStringLiteral("C:\\B\\"));
    EXPECT_EQ(doc->Settings().archiveRoot, QStringLiteral("C:\\B\\"));
    EXPECT_EQ(Items(IDC_Value), QStringList({"EB1", "EB2"}));
    EXPECT_EQ(doc->Settings().experiment, QStringLiteral("EB1"));
    EXPECT_TRUE(Items(IDC_OrliskShotCombo).isEmpty());
    EXPECT_EQ(doc->Settings().shot, QString());

    Choose(IDC_Value, QStringLiteral("EB2"));
    EXPECT_EQ(Items(IDC_OrliskShotCombo), QStringList({"1", "2"}));
    Choose(IDC_OrliskShotCombo, QStringLiteral("2"));
    EXPECT_EQ(doc->Settings().shot, QStringLiteral("2"));
    Simulate();
    EXPECT_EQ(doc->InputPath(), QStringLiteral("C:\\B\\EB2\\Shots\\Shot2\\"));
}

TEST_F(NetlistTest, TheArchiveBrowsersChoiceIsShownInTheListsAndUsedByTheRun)
{
    TwoRoots(*this);
    Start();
    CSimulatorDoc* doc = Doc(NewNetlist());

    WhenBrowserShows([](COrliskBrowse& b) {
        Pick(b.RootCombo(), QStringLiteral("C:\\B\\"));
        b.OnSelchangeRoot();
        Pick(b.ExperimentCombo(), QStringLiteral("EB2"));
        b.OnSelchangeExperiment();
        Pick(b.ShotCombo(), QStringLiteral("2"));
        b.OnSelchangeShot();
        b.accept();
    });
    Frame().OnCommand(IDC_SC);
    EXPECT_EQ(doc->Settings().archiveRoot, QStringLiteral("C:\\B\\"));
    EXPECT_EQ(doc->Settings().experiment, QStringLiteral("EB2"));
    EXPECT_EQ(doc->Settings().shot, QStringLiteral("2"));
    EXPECT_EQ(Selected(IDC_OrliskRootCombo), QStringLiteral("C:\\B\\"));
    EXPECT_EQ(Selected(IDC_Value), QStringLiteral("EB2"));
    EXPECT_EQ(Selected(IDC_OrliskShotCombo), QStringLiteral("2"));
    Simulate();
    EXPECT_EQ(doc->InputPath(), QStringLiteral("C:\\B\\EB2\\Shots\\Shot2\\"));

    // A root found in the browser joins the list.
    const QString found = tmp.filePath(QStringLiteral("elsewhere")) + u'/';
    experiment(QStringLiteral("elsewhere"), QStringLiteral("EX"), {QStringLiteral("5")});
    PickedFolder picker;
    picker.folder = tmp.filePath(QStringLiteral("elsewhere"));
    setArchivePrompts(&picker);
    WhenBrowserShows([](COrliskBrowse& b) {
        b.OnFindRoot();
        b.accept();
    });
    Frame().OnCommand(IDC_SC);
    setArchivePrompts(nullptr);
    EXPECT_EQ(Items(IDC_OrliskRootCombo), QStringList({"C:\\A\\", "C:\\B\\", found}));
    EXPECT_EQ(Selected(IDC_OrliskRootCombo), found);
    Simulate();
    EXPECT_EQ(doc->InputPath(), found + QStringLiteral("EX/Shots/Shot5/"));
}

TEST_F(NetlistTest, ControlsFollowTheSourceModeAndCommandsWithoutAHandlerAreDisabled)
{
    Start();
    NewNetlist();
    const int archiveControls[] = {IDC_OrliskRootCombo, IDC_Value, IDC_OrliskShotCombo, IDC_SC};
    for (int id : archiveControls)
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(ID_PathEdit));

    Choose(IDC_FilePathCombo, QStringLiteral("Path"));
    for (int id : archiveControls)
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(ID_PathEdit));

    for (int id : {ID_Transient_StartTime, ID_Transient_TimeStep, ID_Transient_TimeSpan, IDC_MatrixModeCombo,
                   IDC_FilePathCombo, ID_Transient_Simulate})
        EXPECT_TRUE(Enabled(id)) << id;
    for (int id : {ID_Transient_OldSimulator, ID_PathBrowse, ID_PlotTraces, ID_Transient_Abort})
        EXPECT_FALSE(Enabled(id)) << id;

    // Another kind of window takes the tab's commands away.
    QMdiArea* area = Frame().MdiArea();
    area->setActiveSubWindow(area->subWindowList().first());
    EXPECT_FALSE(Enabled(ID_Transient_Simulate));
    EXPECT_FALSE(Enabled(ID_PathEdit));
}
