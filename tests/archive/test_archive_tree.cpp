// The archive tree on disk: roots, experiments, shots, traces, the ribbon fills and new folders.
#include "ArchiveFixture.h"
#include "ChildRun.h"
#include "OrliskArchive.h"

#include <sys/stat.h>

using namespace orlisk;
using ArchiveTree = ArchiveFixture;

TEST(RootList, ReadsThePathLinesRightAfterThePathsSection)
{
    struct Case {
        const char* content;
        QStringList roots;
    } cases[] = {
        {"[Paths]\nC:\\Data=Path\nE:\\Arch=Path\n[Other]\nC:\\More=Path\n", {"C:\\Data\\", "E:\\Arch\\"}},
        {"[General]\r\nX=1\r\n[Paths]\r\nC:\\Data=Path\r\nD:\\W=Path", {"C:\\Data\\", "D:\\W\\"}},
        {"[Paths]\r\n\r\nC:\\Data=Path\r\n", {}},         // a blank line ends the list
        {"[paths]\nC:\\Data=Path\n", {}},                 // the section name is exact
        {"[Paths]\nC:\\Data=path\n", {}},                 // and so is the suffix
        {"[Paths]\n\xC4rger=Path\n", {"\xC3\x84rger\\"}}, // 8-bit text
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseRootList(c.content), c.roots) << c.content;
}

TEST_F(ArchiveTree, RootsComeFromTheFirstDriveWithAListOfRoots)
{
    EXPECT_EQ(Roots(), QStringList{"C:\\Experiments\\"}); // none anywhere: the default root
    write("d/Orlisk/orlisk.ini", "[Paths]\r\nD:\\Shots=Path\r\n");
    EXPECT_EQ(Roots(), QStringList{"D:\\Shots\\"});
    write("c/Orlisk/orlisk.ini", "[Other]\r\n"); // found first, but empty: no default either
    EXPECT_EQ(Roots(), QStringList{});
    // A list that is no regular file is passed over at once, as a missing one is.
    QFile::remove(tmp.filePath("c/Orlisk/orlisk.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tmp.filePath("c/Orlisk/orlisk.ini")).constData(), 0600), 0);
    const ChildOutcome read =
        RunInChild([] { return Roots() == QStringList{"D:\\Shots\\"}; }, ChildLimits{{}, 10});
    EXPECT_TRUE(read.finished && read.succeeded);
}

TEST_F(ArchiveTree, ListsAreSortedAndFollowTheArchiveRules)
{
    for (const char* e : {"b", "A", "c"})
        write(QString("c/Experiments/%1/%1.ini").arg(e));
    write("c/Experiments/e5/E5.INI"); // any case of the experiment file counts
    folder("c/Experiments/NoIni");
    write("c/Experiments/E.x/E.x.ini"); // a folder with an extension is no experiment
    EXPECT_EQ(Experiments(root), QStringList({"A", "b", "c", "e5"}));
    EXPECT_EQ(Experiments("Experiments\\"), QStringList{}); // relative: never the current folder

    for (const char* s : {"Shot17", "Shot", "SHOT2", "Shot3.bak", "NotShot", "Shot10"})
        folder(QString("c/Experiments/A/Shots/%1").arg(s));
    EXPECT_EQ(Shots(root + "A", false), QStringList({"10", "17", "2"}));
    EXPECT_EQ(Shots(root + "A", true), QStringList({"", "10", "17", "2"}));

    for (const char* t : {"b.wvf", "A.WVF", "c.txt", "d.wvfx"})
        write(QString("c/Experiments/A/Shots/Shot17/%1").arg(t));
    folder("c/Experiments/A/Shots/Shot17/dir.wvf");
    EXPECT_EQ(Traces(root + "A\\Shots\\Shot17"), QStringList({"A.WVF", "b.wvf"}));
}

TEST_F(ArchiveTree, FillsSelectTheValueOrTheFirstItemAndWriteItBack)
{
    for (const char* e : {"E1", "E2"})
        write(QString("c/Experiments/%1/%1.ini").arg(e));
    folder("c/Experiments/E2/Shots/Shot4");
    folder("c/Experiments/E2/Shots/Shot");
    const auto check = [](auto fill, QString value, const QStringList& items, int current,
                          const QString& out) {
        ListCombo combo({"stale"}, 0);
        fill(combo, value);
        EXPECT_EQ(combo.items, items) << out.toStdString();
        EXPECT_EQ(combo.current, current) << out.toStdString();
        EXPECT_EQ(value, out);
    };
    const auto experiments = [&](OrliskCombo& c, QString& v) { FillOrliskExperimentCombo(c, root, v); };
    check(experiments, "E2", {"E1", "E2"}, 1, "E2");
    check(experiments, "gone", {"E1", "E2"}, 0, "E1");
    check([&](OrliskCombo& c, QString& v) { FillOrliskShotCombo(c, root + "E2", v); }, "x", {"4"}, 0, "4");
    check([&](OrliskCombo& c, QString& v) { FillOrliskShotCombo(c, root + "E1", v); }, "4", {}, -1, "");
    check(FillOrliskRootCombo, "C:\\Data\\", {"C:\\Experiments\\"}, 0, "C:\\Experiments\\");
}

TEST_F(ArchiveTree, NewExperimentWritesItsFoldersAndFiles)
{
    ASSERT_TRUE(CreateExperimentFolders(root, "E2"));
    for (const char* sub : {"Macros", "Notes", "Query", "Shots"})
        EXPECT_TRUE(QFileInfo(tmp.filePath(QString("c/Experiments/E2/") + sub)).isDir()) << sub;
    WriteExperimentFiles(root, "E2", QString::fromLatin1("Pulse \xe9 line\r\ntwo\nthree\rfour"));
    EXPECT_EQ(read("c/Experiments/E2/E2.ini"),
              "[General]\r\nVersion=19\r\nDescription=Pulse \xe9 line two three four\r\n");
    EXPECT_EQ(read("c/Experiments/E2/Query/QShots.ini"),
              "[General]\r\n"
              "Version=10\r\n"
              "Description=Default query\r\n"
              "[Groups]\r\n"
              "Group1=.\\Shots;;;\r\n"
              "[Fields]\r\n"
              "Field1=Shot;0;Asc;;;8;Current shot\r\n"
              "Field2=Date;5;;General date;;10;Date shot was created\r\n"
              "Field3=Comment;0;;;;100;Shot comment\r\n");
    WriteExperimentFiles(root, "E2", ""); // no description: no line for it
    EXPECT_EQ(read("c/Experiments/E2/E2.ini"), "[General]\r\nVersion=19\r\n");
    ASSERT_TRUE(CreateShotFolder(root, "E2", "12"));
    EXPECT_EQ(Shots(root + "E2", false), QStringList{"12"});
    EXPECT_TRUE(ui.messages.isEmpty());

    // What cannot be made is reported: folders by the typed name, files by their path.
    EXPECT_FALSE(CreateExperimentFolders(root, "E2"));
    EXPECT_FALSE(CreateShotFolder(root, "E3", "1"));
    QFile::remove(tmp.filePath("c/Experiments/E2/E2.ini"));
    folder("c/Experiments/E2/E2.ini"); // a folder where the file belongs
    WriteExperimentFiles(root, "E2", "d");
    EXPECT_EQ(ui.messages, QStringList({"Can't create folder E2", "Can't create folder 1",
                                        "Can't create file: C:\\Experiments\\E2\\E2.ini\nIs a directory."}));
}

TEST_F(ArchiveTree, ExperimentFilesOnAFullDiskKeepTheOldBytesAndSayWhy)
{
    write("c/Experiments/E2/E2.ini", "old");
    write("c/Experiments/E2/Query/QShots.ini", "old query");
    const ChildOutcome full = RunOnFullDisk(40, [this] {
        WriteExperimentFiles(root, "E2", "a description longer than what the disk takes");
        return true;
    });
    ASSERT_TRUE(full.finished);
    EXPECT_EQ(full.messages,
              QStringList({"Can't create file: C:\\Experiments\\E2\\E2.ini\nFile too large.",
                           "Can't create file: C:\\Experiments\\E2\\Query\\QShots.ini\nFile too "
                           "large."}));
    EXPECT_EQ(read("c/Experiments/E2/E2.ini"), "old");
    EXPECT_EQ(read("c/Experiments/E2/Query/QShots.ini"), "old query");
}

TEST_F(ArchiveTree, UnsafeNamesAndRootsAreRefusedBeforeAnythingIsMade)
{
    folder("c/Experiments/E1/Shots");
    const QStringList before = everything();
    for (const QString name : {"", ".", "..", "a/b", "a\\b", "..\\x", "x:y", "a*", "a?", "a|", "a<b", "a>b",
                               "\"q\"", "tab\t", "lf\n", "end.", "end "}) {
        ui.messages.clear();
        EXPECT_FALSE(CreateExperimentFolders(root, name));
        EXPECT_FALSE(CreateShotFolder(root, "E1", name));
        EXPECT_EQ(ui.messages, QStringList(2, "Can't create folder " + name));
    }
    // Roots that would put the folder in the current folder, at the top of the file system, or on a
    // drive this machine does not have.
    for (const QString badRoot :
         {"", "\\", "/", "//", "Experiments\\", "\\Experiments\\", "C:Experiments\\", "E:\\"}) {
        ui.messages.clear();
        EXPECT_FALSE(CreateExperimentFolders(badRoot, "E9"));
        EXPECT_FALSE(CreateShotFolder(badRoot, "E1", "9"));
        // A root on a drive that is not mapped could be: the message says how.
        const QString why = badRoot == "E:\\"
                                ? "\nThe drive E: is not mapped to a folder here: add E=<folder> under "
                                  "[DriveMap] in " +
                                      paths::driveMapFile()
                                : QString();
        EXPECT_EQ(ui.messages, QStringList({"Can't create folder E9" + why, "Can't create folder 9"}))
            << badRoot.toStdString();
    }
    EXPECT_FALSE(CreateShotFolder(root, "", "9")); // no experiment chosen
    EXPECT_EQ(everything(), before);
}

TEST_F(ArchiveTree, TheFirstExperimentMakesTheRootOrSaysWhyItCannot)
{
    // A fresh installation: no archive folder yet.
    QDir(tmp.filePath("c/Experiments")).removeRecursively();
    ASSERT_TRUE(CreateExperimentFolders(root, "RingTest"));
    WriteExperimentFiles(root, "RingTest", "");
    ASSERT_TRUE(CreateShotFolder(root, "RingTest", "1"));
    EXPECT_EQ(read("c/Experiments/RingTest/RingTest.ini"), "[General]\r\nVersion=19\r\n");
    EXPECT_TRUE(QFileInfo(tmp.filePath("c/Experiments/RingTest/Shots/Shot1")).isDir());
    EXPECT_EQ(Experiments(root), QStringList{"RingTest"});
    EXPECT_TRUE(ui.messages.isEmpty());

    write("c/Blocked"); // a file where the root's parent folder belongs
    const QStringList before = everything();
    EXPECT_FALSE(CreateExperimentFolders("C:\\Blocked\\Experiments\\", "E9"));
    EXPECT_EQ(everything(), before);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0], "Can't create folder E9\nThe archive root C:\\Blocked\\Experiments\\ (" +
                                  tmp.filePath("c/Blocked/Experiments/") +
                                  ") cannot be created: Not a directory");
}
