#include "Paths.h"
#include "Settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

struct PathsTest : ::testing::Test {
    QTemporaryDir tmp;
    QString root; // what C: stands for

    void SetUp() override
    {
        root = tmp.filePath("c-drive");
        const QString ini = tmp.filePath("drives.ini");
        {
            QSettings s(ini, QSettings::IniFormat);
            s.setValue("DriveMap/C", root);
            s.setValue("DriveMap/E", tmp.filePath("e-drive"));
        }
        paths::setDriveMapFile(ini);
        for (const char* f : {"Experiments/E1/Shots/Shot3/v(n1).wvf", "Case/DATA.txt", "Case/Data.txt",
                              "Case/data.txt", "Case/only.TXT", "e-drive/x"})
            touch(f);
    }
    void TearDown() override { paths::setDriveMapFile({}); }

    void touch(const QString& relative) const
    {
        const QString path = (relative.startsWith("e-drive") ? tmp.path() : root) + "/" + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
};

} // namespace

TEST_F(PathsTest, MapsDrivesAndFindsEntriesWhateverTheirCase)
{
    const struct {
        QString in, out;
    } cases[] = {
        {"C:\\EXPERIMENTS\\e1\\SHOTS\\shot3\\V(N1).WVF", root + "/Experiments/E1/Shots/Shot3/v(n1).wvf"},
        {"c:/Experiments\\E1//Shots/", root + "/Experiments/E1/Shots/"},
        {"C:\\", root + "/"},
        {"C:", root},
        {"C:\\Case\\data.txt", root + "/Case/data.txt"}, // the exact spelling wins
        {"C:\\Case\\dATA.TXT", root + "/Case/DATA.txt"}, // else the first in sorted order
        {"C:\\case\\ONLY.txt", root + "/Case/only.TXT"},
        {"C:\\Experiments\\NEW\\Shot1\\A.WVF", root + "/Experiments/NEW/Shot1/A.WVF"}, // missing: as written
        {"e:\\X", tmp.filePath("e-drive") + "/x"},
        {"Q:\\Data\\a.wvf", "Q:/Data/a.wvf"}, // an unmapped drive only has its separators converted
        {tmp.filePath("C-DRIVE\\case\\Only.txt"), root + "/Case/only.TXT"}, // a native absolute path
    };
    for (const auto& c : cases)
        EXPECT_EQ(paths::toNative(c.in), c.out) << qPrintable(c.in);
}

TEST_F(PathsTest, DriveCIsTheHomeFolderUnlessMapped)
{
    const QString ini = tmp.filePath("empty.ini");
    QSettings(ini, QSettings::IniFormat).setValue("Other/C", "/nowhere");
    paths::setDriveMapFile(ini);
    EXPECT_EQ(paths::toNative("C:\\"), QDir::homePath() + "/");
    EXPECT_EQ(paths::toNative("D:\\a"), "D:/a");
}

TEST_F(PathsTest, TheDriveMapLivesInTheProgramsSettingsFileWithTheEarlierFileAsAFallback)
{
    paths::setDriveMapFile({});
    const QString d = tmp.filePath("d-drive"), f = tmp.filePath("f-drive"), g = tmp.filePath("g-drive");
    Settings settings;
    settings.WriteProfileString("DriveMap", "D", d);
    settings.WriteProfileString("DriveMap", "g", g); // as a user may type it
    settings.WriteProfileString("DriveMap", "F", f);
    settings.Flush();
    // Maps made before the map moved: F is mapped in both, H only in the earlier file.
    QSettings earlier(Settings::Organisation, Settings::Application);
    earlier.setValue("DriveMap/F", "/earlier");
    earlier.setValue("DriveMap/H", tmp.filePath("h-drive"));
    earlier.sync();

    EXPECT_TRUE(paths::driveMapFile().endsWith("/Torvex2.ini")) << qPrintable(paths::driveMapFile());
    EXPECT_EQ(paths::driveMapFile(), Settings::FileName());
    EXPECT_EQ(paths::toNative("D:\\Waves\\a.wvf"), d + "/Waves/a.wvf");
    EXPECT_EQ(paths::toNative("G:\\x"), g + "/x");
    EXPECT_EQ(paths::toNative("f:\\x"), f + "/x");
    EXPECT_EQ(paths::toNative("H:\\x"), tmp.filePath("h-drive") + "/x");
    EXPECT_EQ(paths::toNative("C:\\x"), QDir::homePath() + "/x");

    for (const char* letter : {"D", "g", "F"})
        settings.RemoveEntry("DriveMap", letter);
    earlier.remove("DriveMap");
}
