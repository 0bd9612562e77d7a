// Sub-circuit blocks: the files they stand for written into the netlist with the blocks' prefixes,
// ports and parameters, and the files that cannot be.
#include "SchematicTestSupport.h"
#include "UiServices.h"
#include "WriterSheet.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>

namespace {

const QString kHeader = QStringLiteral(" TORVEX Generated Netlist of ");

class WriterBlocks : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterTestClasses(); }
    QString path(const QString& name) const { return QFileInfo(m_dir.filePath(name)).absoluteFilePath(); }
    // Builds and stores a schematic file in the test's folder.
    void file(const QString& name, const std::function<void(Sheet&)>& build)
    {
        Sheet s;
        build(s);
        ASSERT_TRUE(s.saveAs(path(name)));
    }
    // A block whose pins 1 and 2 are at the points and whose pins 3 and 4 are free.
    static void block(Sheet& s, const QString& name, const QString& file, QPoint a, QPoint b,
                      const QString& params = QStringLiteral("PARAMS:"))
    {
        static int free = 100;
        free += 2;
        s.block(name, file, params, {a, b, G(free), G(free + 1)});
    }
    // The netlist of a schematic stored beside the files (so that bare file names resolve).
    QStringList top(const std::function<void(Sheet&)>& build, NetlistReport* report = nullptr)
    {
        Sheet s;
        build(s);
        EXPECT_TRUE(s.saveAs(path("top.cas")));
        return s.lines(report);
    }
    QTemporaryDir m_dir;
};

// Ports 1 and 2 through a resistor whose value is the parameter RL, a probe between two resistors.
void divider(Sheet& s)
{
    s.bubble("SUB1", G(0)).r("R1", "RL", G(0), G(4)).r("R2", "1k", G(4), G(8)).bubble("sub2", G(8));
    s.probe("Pmid", G(4)).text("PARAMS: RL=10");
}

TEST_F(WriterBlocks, EachInstanceHasItsPrefixPortsAndParameters)
{
    file("sub.cas", divider);
    ScriptedUiServices ui;
    const QStringList lines = top([](Sheet& s) {
        s.r("R1", "1k", G(0), G(4)).text("PARAMS: RL=20");
        block(s, "X1", "sub.cas", G(4), G(8), "PARAMS: RL=50");
        block(s, "X2", "sub.cas", G(8), G(12));
        s.ground(G(12));
    });
    const QStringList expected = {
        "*" + kHeader + path("top.cas"),
        "R1 N1 N2 1K",
        "*_X1" + kHeader + path("sub.cas"),
        "R1_X1 N2 Pmid_X1 50", // the instance's own value beats its parent's and the file's
        "R2_X1 Pmid_X1 N3 1K",
        "*_X1 Ends",
        "*_X2" + kHeader + path("sub.cas"),
        "R1_X2 N3 Pmid_X2 20", // the parent's value beats the file's
        "R2_X2 Pmid_X2 0 1K",
        "*_X2 Ends",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join('|'));
}

TEST_F(WriterBlocks, NestedBlocksAddTheirPrefixesInsideOut)
{
    file("leaf.cas", [](Sheet& s) { s.bubble("SUB1", G(0)).r("R1", "1k", G(0), G(4)).ground(G(4)); });
    file("mid.cas", [](Sheet& s) {
        s.bubble("SUB1", G(0));
        block(s, "X2", "leaf.cas", G(0), G(1));
    });
    ScriptedUiServices ui;
    const QStringList lines = top([](Sheet& s) {
        s.r("R1", "1k", G(0), G(4));
        block(s, "X1", "mid.cas", G(4), G(5));
    });
    const QStringList expected = {
        "*" + kHeader + path("top.cas"),
        "R1 N1 N2 1K",
        "*_X1" + kHeader + path("mid.cas"),
        "*_X2_X1" + kHeader + path("leaf.cas"),
        "R1_X2_X1 N2 0 1K",
        "*_X2 Ends",
        "*_X1 Ends",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join('|'));
}

TEST_F(WriterBlocks, FileNamesAreFoundAsWrittenAndWithoutRegardToCase)
{
    file("lower.cas", divider);
    for (const char* label : {"lower.cas", "LOWER.CAS"}) {
        ScriptedUiServices ui;
        const QStringList lines = top([&](Sheet& s) { block(s, "X1", label, G(0), G(4)); });
        EXPECT_EQ(lines.value(1), "*_X1" + kHeader + path("lower.cas")) << label;
        EXPECT_TRUE(ui.messages.isEmpty()) << label;
    }
}

TEST_F(WriterBlocks, AFileThatCannotBeWrittenFailsTheWholeNetlistWithOneMessage)
{
    file("missing-inside.cas", [](Sheet& s) { block(s, "X1", "nothere.cas", G(0), G(1)); });
    file("self.cas", [](Sheet& s) { block(s, "X1", "self.cas", G(0), G(1)); });
    file("a.cas", [](Sheet& s) { block(s, "X1", "b.cas", G(0), G(1)); });
    file("b.cas", [](Sheet& s) { block(s, "X1", "a.cas", G(0), G(1)); });
    file("damaged.cas", [](Sheet& s) { s.r("R1", "1k", G(0), G(1)).add(TypeResistor, "R"); });
    const struct {
        const char* label;
        QString message;
    } cases[] = {
        {"nothere.cas", "Error.  Could not open subcircuit file 'nothere.cas'"},
        {"", "Error.  Could not open subcircuit file ''"},
        {"missing-inside.cas", "Error.  Could not open subcircuit file 'nothere.cas'"},
        {"self.cas", "Error.  Could not open subcircuit file 'self.cas'"},
        {"a.cas", "Error.  Could not open subcircuit file 'a.cas'"},
        {"damaged.cas", "Error.  The component list of '" + path("damaged.cas") + "' is damaged"},
    };
    for (const auto& c : cases) {
        ScriptedUiServices ui;
        NetlistReport report;
        const QStringList lines = top(
            [&](Sheet& s) {
                s.r("R1", "1k", G(0), G(4));
                block(s, "X1", c.label, G(4), G(5));
            },
            &report);
        EXPECT_TRUE(lines.isEmpty()) << c.label;
        EXPECT_FALSE(report.ok) << c.label;
        ASSERT_EQ(ui.messages.size(), 1) << c.label;
        EXPECT_TRUE(ui.messages[0].startsWith(c.message)) << qPrintable(ui.messages[0]);
    }
}

TEST_F(WriterBlocks, BlocksStandThirtyTwoDeep)
{
    // level k.cas holds a block of level k+1; the last level holds a resistor.
    const auto chain = [this](int depth) {
        for (int k = 1; k <= depth; ++k)
            file(QString("c%1-%2.cas").arg(depth).arg(k), [&](Sheet& s) {
                if (k == depth)
                    s.r("R1", "1k", G(0), G(1));
                else
                    block(s, "X1", QString("c%1-%2.cas").arg(depth).arg(k + 1), G(0), G(1));
            });
        return top([&](Sheet& s) { block(s, "X1", QString("c%1-1.cas").arg(depth), G(0), G(1)); });
    };
    ScriptedUiServices ui;
    const QString prefix = QString("_X1").repeated(32);
    EXPECT_TRUE(chain(32).contains("R1" + prefix + " N1" + prefix + " N2" + prefix + " 1K"));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(chain(33).isEmpty());
    EXPECT_EQ(ui.messages, QStringList{"Error.  Could not open subcircuit file 'c33-33.cas'"});
}

TEST_F(WriterBlocks, TheFilesOfBlocksAreReadAsideFromTheProgramsDocuments)
{
    // A sub-circuit that cannot even name its nodes right still leaves its file as it was.
    file("sub.cas", divider);
    QFile stored(path("sub.cas"));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    const QByteArray before = stored.readAll();
    ScriptedUiServices ui;
    NetlistReport report;
    top([](Sheet& s) { block(s, "X1", "sub.cas", G(0), G(1)); }, &report);
    EXPECT_TRUE(report.ok);
    stored.seek(0);
    EXPECT_EQ(stored.readAll(), before);

    QString reason;
    EXPECT_EQ(CTorvex2Doc::OpenDetached(path("none.cas"), &reason), nullptr);
    EXPECT_FALSE(reason.isEmpty());
    const std::unique_ptr<CTorvex2Doc> detached = CTorvex2Doc::OpenDetached(path("sub.cas"), &reason);
    ASSERT_NE(detached, nullptr);
    EXPECT_TRUE(detached->IsDetached());
    EXPECT_EQ(detached->PathName(), path("sub.cas"));
    EXPECT_EQ(detached->UndoCount(), 0);
    EXPECT_TRUE(ui.messages.isEmpty());
}

} // namespace
