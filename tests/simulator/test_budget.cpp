// One memory budget per run: results, histories and systems summed before anything is allocated.
#include "MemoryBudget.h"
#include "SimHarness.h"
#include "TestElements.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// 400 nodes in 40 sections of 10 joined by lines, and a test element that counts its Initialise.
QString sections()
{
    QString s = "* sections\nV1 N1 0 PULSE 0 1 0 1N 1N 5N 20N\nK1 N1 0 1\n";
    for (int i = 1; i < 400; ++i)
        s += i % 10 == 0 ? QString("T%1 N%1 0 N%2 0 50 1N\n").arg(i).arg(i + 1)
                         : QString("R%1 N%1 N%2 1\nRG%1 N%2 0 100\n").arg(i).arg(i + 1);
    return s;
}

struct Budget {
    explicit Budget(double bytes) { CSimulatorDoc::SetMemoryLimit(bytes); }
    ~Budget() { CSimulatorDoc::SetMemoryLimit(0); }
};

struct Outcome {
    bool ran;
    QString message;
    int initialised;
};

Outcome run(const QString& mode, const QString& span, double budget)
{
    Budget b(budget);
    SimHarness h;
    h.doc.SetElementFactory(testFactory());
    const int before = TestIterator::initialised;
    const bool ran = h.run(sections(), "1ns", span, mode);
    return {ran, h.problems().join('|'), TestIterator::initialised - before};
}

} // namespace

TEST(BudgetTest, RefusalsNameTheSizesAndAdviseOnlyWhatHelps)
{
    // With 1 MB, the full system of the 400 unknowns (with its dense copy for unusual values) does not
    // fit, its 40 partitions do; a long span fits only shortened; 40 KB fits nothing.
    const struct {
        const char* mode;
        const char* span;
        double budget;
        const char* sizes;
        const char* advice;
    } cases[] = {
        {"None", "30ns", 1 << 20, "the full system (401 unknowns) ",
         "Choose the Maximal matrix mode: its 40 partitions need "},
        {"Maximal", "3000ns", 4 << 20, "40 partitions ", "Shorten the time span or enlarge the time step"},
        {"Maximal", "30ns", 40 << 10, "(the largest, 11 unknowns, ",
         "The circuit is too large for the memory of this computer."},
    };
    for (const auto& c : cases) {
        const Outcome o = run(c.mode, c.span, c.budget);
        EXPECT_FALSE(o.ran) << c.mode;
        EXPECT_EQ(o.initialised, 0) << "elements initialised before the refusal";
        EXPECT_TRUE(o.message.startsWith("Error.  This run needs ")) << qPrintable(o.message);
        for (const char* part : {" available: results ", ", element histories ", c.sizes, c.advice})
            EXPECT_TRUE(o.message.contains(part)) << part << " in " << qPrintable(o.message);
        EXPECT_EQ(o.message.contains("Maximal"), QString(c.advice).contains("Maximal"))
            << qPrintable(o.message);
        EXPECT_EQ(o.message.contains("Shorten"), QString(c.advice).contains("Shorten"))
            << qPrintable(o.message);
    }
}

TEST(BudgetTest, TheAdvicesAreRight)
{
    // Maximal runs within the budget that refused None; the step count advised fits and one more
    // does not.
    EXPECT_TRUE(run("Maximal", "30ns", 1 << 20).ran);
    const Outcome refused = run("Maximal", "3000ns", 4 << 20);
    const auto match = QRegularExpression("at most (\\d+) time steps fit").match(refused.message);
    ASSERT_TRUE(match.hasMatch()) << qPrintable(refused.message);
    const int steps = match.captured(1).toInt();
    EXPECT_GT(steps, 100);
    const Outcome fits = run("Maximal", QString("%1ns").arg(steps), 4 << 20);
    EXPECT_TRUE(fits.ran) << qPrintable(fits.message);
    EXPECT_EQ(fits.initialised, 1);
    EXPECT_FALSE(run("Maximal", QString("%1ns").arg(steps + 1), 4 << 20).ran);
}

TEST(BudgetTest, AvailableMemoryIsTheLeastOfTheMachineAndTheControlGroups)
{
    // MemAvailable, lowered by a version 2 group (and its parent) or a version 1 group; file pages a
    // group could drop count as free; "max" and version 1's huge number mean no limit.
    const struct {
        const char* cgroup;
        std::vector<std::pair<const char*, const char*>> files;
        double expected;
    } cases[] = {
        {"", {}, 8000.0 * 1024},
        {"0::/a/b\n",
         {{"sys/fs/cgroup/a/b/memory.max", "5000000\n"},
          {"sys/fs/cgroup/a/b/memory.current", "3000000\n"},
          {"sys/fs/cgroup/a/b/memory.stat", "anon 1\ninactive_file 500000\n"}},
         2500000},
        {"0::/a/b\n",
         {{"sys/fs/cgroup/a/b/memory.max", "max\n"},
          {"sys/fs/cgroup/a/memory.max", "4000000\n"},
          {"sys/fs/cgroup/a/memory.current", "1000000\n"}},
         3000000},
        {"5:cpu\n4:memory:/c\n",
         {{"sys/fs/cgroup/memory/c/memory.limit_in_bytes", "6000000"},
          {"sys/fs/cgroup/memory/c/memory.usage_in_bytes", "1000000"},
          {"sys/fs/cgroup/memory/memory.limit_in_bytes", "9223372036854771712"}},
         5000000},
        {"4:memory:/\n",
         {{"sys/fs/cgroup/memory/memory.limit_in_bytes", "9223372036854771712"}},
         8000.0 * 1024},
    };
    for (const auto& c : cases) {
        QTemporaryDir root;
        const auto write = [&](const QString& path, const QByteArray& text) {
            QDir(root.path()).mkpath(QFileInfo(root.filePath(path)).path());
            QFile f(root.filePath(path));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(text);
        };
        write("proc/meminfo", "MemTotal:  16000 kB\nMemFree: 100 kB\nMemAvailable:    8000 kB\n");
        write("proc/self/cgroup", c.cgroup);
        for (const auto& [path, text] : c.files)
            write(path, text);
        EXPECT_EQ(AvailableMemoryBytes(root.path()), c.expected) << c.cgroup;
    }
    EXPECT_GT(AvailableMemoryBytes(), 0);
    EXPECT_EQ(MemorySizeText(300), "1 KB");
    EXPECT_EQ(MemorySizeText(3.4 * 1024 * 1024), "3 MB");
    EXPECT_EQ(MemorySizeText(12.5 * 1024 * 1024 * 1024), "12.5 GB");
}
