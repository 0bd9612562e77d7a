// The run's input folder from the Simulate tab's settings.
#include "InputPath.h"

#include <gtest/gtest.h>

TEST(InputPathTest, ComposesTheArchiveShotFolderOrTheTypedPath)
{
    struct Case {
        const char *mode, *root, *experiment, *shot, *typed, *expected;
    } cases[] = {
        {"Orlisk", "C:\\Experiments\\", "E1", "12", "D:\\Waves", "C:\\Experiments\\E1\\Shots\\Shot12\\"},
        {"Orlisk", "C:\\Experiments\\", "E1", "", "", "C:\\Experiments\\E1\\Shots\\Shot\\"},
        {"Orlisk", "/data/exp/", "E1", "3", "", "/data/exp/E1/Shots/Shot3/"},
        {"Path", "C:\\Experiments\\", "E1", "12", "D:\\Waves", "D:\\Waves\\"},
        {"Path", "", "", "", "D:\\Waves\\", "D:\\Waves\\"},
        {"Path", "", "", "", "", "\\"},
        {"Path", "", "", "", "/data/w", "/data/w/"},
        {"Path", "", "", "", "/data/w/", "/data/w/"},
        // Only the exact word selects the archive.
        {"orlisk", "C:\\Experiments\\", "E1", "12", "D:\\Waves", "D:\\Waves\\"},
        {"Orlisk ", "C:\\Experiments\\", "E1", "12", "D:\\Waves", "D:\\Waves\\"},
        {"", "C:\\Experiments\\", "E1", "12", "D:\\Waves", "D:\\Waves\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComposeInputPath(c.mode, c.root, c.experiment, c.shot, c.typed), QString(c.expected))
            << c.mode << " | " << c.typed;
}
