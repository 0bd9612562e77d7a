// Every reader of a file refuses a named pipe and a device at once, with the reason: a pipe without a
// writer used to hold the program for ever, a device to fill its memory. Each read runs in a child
// process that the test gives up on after a time limit, so a reader that waits fails the test
// instead of holding it.
#include "COrliskWave.h"
#include "CPlotDoc.h"
#include "CSimulatorDoc.h"
#include "CTorvex2Doc.h"
#include "ChildRun.h"
#include "UiServices.h"
#include "WriterSheet.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>
#include <sys/stat.h>

TEST(FileRefusals, EveryReaderRefusesAPipeAndADeviceAtOnceWithTheReason)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const struct {
        const char* what;
        std::function<bool(const QString&)> read; // true when the file was taken
    } readers[] = {
        {"netlist", [](const QString& path) { return CSimulatorDoc().OnOpenDocument(path); }},
        {"schematic", [](const QString& path) { return CTorvex2Doc().OnOpenDocument(path); }},
        {"plot", [](const QString& path) { return CPlotDoc().OnOpenDocument(path); }},
        {"waveform", [](const QString& path) { return COrliskWave().Read(path); }},
        {"block file",
         [&dir](const QString& path) {
             Sheet top;
             top.block("X1", path, G(0), G(1));
             top.doc.SetPathName(dir.filePath("top.cas"));
             return !top.lines().isEmpty();
         }},
    };
    const std::pair<QString, QString> refused[] = {{pipe, "Not a regular file (a named pipe)"},
                                                   {"/dev/zero", "Not a regular file (a device)"}};
    for (const auto& r : readers)
        for (const auto& [path, reason] : refused) {
            const ChildOutcome read = RunInChild([&] { return r.read(path); }, ChildLimits{{}, 10});
            ASSERT_TRUE(read.finished) << r.what << " of " << path.toStdString() << " did not end";
            EXPECT_FALSE(read.succeeded) << r.what;
            ASSERT_EQ(read.messages.size(), 1) << r.what << ": " << read.messages.join(" | ").toStdString();
            EXPECT_TRUE(read.messages[0].contains(reason))
                << r.what << ": " << read.messages[0].toStdString();
        }
}
