// The archive browser, driven as the user would, with scripted answers.
#include "ArchiveFixture.h"
#include "COrliskBrowse.h"
#include "ScriptedArchivePrompts.h"

#include <QComboBox>
#include <QListWidget>

namespace {

template <class W> QStringList items(const W* w)
{
    QStringList l;
    for (int i = 0; i < w->count(); ++i)
        if constexpr (std::is_same_v<W, QComboBox>)
            l << w->itemText(i);
        else
            l << w->item(i)->text();
    return l;
}

// Experiments E1 and E2; E2 has shots 3 and 7 and a bare "Shot" folder; shot 7 has two traces. The
// ribbon has chosen E2 and shot 7.
struct Browse : ArchiveFixture {
    ScriptedArchivePrompts prompts;
    ListCombo ribbonRoots{{"C:\\Experiments\\", "D:\\Other\\"}, 0};
    ListCombo ribbonExperiments{{"E1", "E2"}, 1};
    ListCombo ribbonShots{{"3", "7"}, 1};
    COrliskBrowse dialog{ribbonRoots, ribbonExperiments, ribbonShots};

    void SetUp() override
    {
        ArchiveFixture::SetUp();
        write("c/Experiments/E1/E1.ini");
        write("c/Experiments/E2/E2.ini");
        for (const char* s : {"Shot3", "Shot7", "Shot"})
            folder(QString("c/Experiments/E2/Shots/%1").arg(s));
        write("c/Experiments/E2/Shots/Shot7/V(N2).wvf");
        write("c/Experiments/E2/Shots/Shot7/I(R1).wvf");
        dialog.Root = "replaced by the ribbon's choice";
        dialog.show();
    }
};

} // namespace

TEST_F(Browse, StartsFromTheRibbonsSelectionsAndCascades)
{
    EXPECT_EQ(items(dialog.RootCombo()), QStringList({"C:\\Experiments\\", "D:\\Other\\"}));
    EXPECT_EQ(items(dialog.ShotCombo()), QStringList({"", "3", "7"}));
    EXPECT_EQ(items(dialog.TraceList()), QStringList({"I(R1).wvf", "V(N2).wvf"}));
    EXPECT_EQ(QStringList({dialog.Root, dialog.Experiment, dialog.Shot, dialog.Trace}),
              QStringList({"C:\\Experiments\\", "E2", "7", "I(R1).wvf"}));
    dialog.TraceList()->setCurrentRow(1);
    EXPECT_EQ(dialog.Trace, "V(N2).wvf");

    dialog.ExperimentCombo()->setCurrentIndex(0);
    dialog.OnSelchangeExperiment();
    EXPECT_EQ(QStringList({dialog.Experiment, dialog.Shot, dialog.Trace}), QStringList({"E1", "", ""}));
    EXPECT_EQ(dialog.ShotCombo()->count(), 0);

    dialog.RootCombo()->setCurrentIndex(1); // a root without experiments
    dialog.OnSelchangeRoot();
    EXPECT_EQ(QStringList({dialog.Root, dialog.Experiment}), QStringList({"D:\\Other\\", ""}));
    EXPECT_EQ(dialog.ExperimentCombo()->count(), 0);
}

TEST_F(Browse, NewExperimentAndNewShot)
{
    prompts.answers = {QString("E0"), std::nullopt}; // a name, then Cancel on the description
    dialog.OnNewExperiment();
    EXPECT_EQ(prompts.asked,
              QStringList({"New Experiment Name / Enter name for Experiment",
                           "New Experiment Description / Enter description for Experiment: E0"}));
    EXPECT_EQ(read("c/Experiments/E0/E0.ini"), "[General]\r\nVersion=19\r\n");
    EXPECT_EQ(items(dialog.ExperimentCombo()), QStringList({"E0", "E1", "E2"}));
    EXPECT_EQ(dialog.ExperimentCombo()->currentText(), "E0");
    EXPECT_EQ(dialog.Experiment, "E0");

    prompts.answers = {QString("5")};
    dialog.OnNewShot();
    EXPECT_TRUE(QFileInfo(tmp.filePath("c/Experiments/E0/Shots/Shot5")).isDir());
    EXPECT_EQ(items(dialog.ShotCombo()), QStringList{"5"});
    EXPECT_EQ(dialog.Shot, "5");

    // Cancel on a name makes nothing; a refused name is reported and adds nothing.
    const QStringList before = everything();
    prompts.answers = {std::nullopt, QString("../up")};
    dialog.OnNewExperiment();
    dialog.OnNewShot();
    EXPECT_EQ(everything(), before);
    EXPECT_EQ(ui.messages, QStringList{"Can't create folder ../up"});
    EXPECT_EQ(items(dialog.ShotCombo()), QStringList{"5"});
}

TEST_F(Browse, FindRootAddsAFolderOfThisMachineOnce)
{
    write("d/Arch/X1/X1.ini");
    const QString picked = tmp.filePath("d/Arch");
    prompts.folders = {picked, picked + "/", ""};
    for (int i = 0; i < 3; ++i)
        dialog.OnFindRoot();
    EXPECT_EQ(prompts.asked, QStringList(3, "Select new 'Experiments' folder"));
    EXPECT_EQ(dialog.RootCombo()->count(), 3);
    EXPECT_EQ(dialog.RootCombo()->currentText(), picked + "/");
    EXPECT_EQ(dialog.Root, picked + "/");
    EXPECT_EQ(dialog.Experiment, "X1");
}
