// Sub-circuit blocks: the files they stand for written into the netlist with the blocks' prefixes,
// ports and parameters, and the files that cannot be.
#include "UiServices.h"
#include "WriterSheet.h"

#include <gtest/gtest.h>

namespace {

const QString kHeader = QStringLiteral(" TORVEX Generated Netlist of ");

using WriterBlocks = WriterFiles;

// Ports 1 and 2 through a resistor valued by the parameter RL and a probe between two resistors.
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
        s.r("R1", "1k", G(0), G(4)).text("PARAMS: RL=20").block("X1", "sub.cas", G(4), G(8), "PARAMS: RL=50");
        s.block("X2", "sub.cas", G(8), G(12)).ground(G(12));
    });
    const QStringList expected = {
        "*" + kHeader + path("top.cas"),
        "R1 N1 N2 1K",
        "*_X1" + kHeader + path("sub.cas"),
        "R1_X1 N2 Pmid_X1 50", // the instance's value beats its parent's and the file's
        "R2_X1 Pmid_X1 N3 1K",
        "*_X1 Ends",
        "*_X2" + kHeader + path("sub.cas"),
        "R1_X2 N3 Pmid_X2 20", // the parent's beats the file's
        "R2_X2 Pmid_X2 0 1K",
        "*_X2 Ends",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join('|'));
}

TEST_F(WriterBlocks, NestedBlocksAddTheirPrefixesInsideOut)
{
    file("leaf.cas", [](Sheet& s) { s.bubble("SUB1", G(0)).r("R1", "1k", G(0), G(4)).ground(G(4)); });
    file("mid.cas", [](Sheet& s) { s.bubble("SUB1", G(0)).block("X2", "leaf.cas", G(0), G(1)); });
    ScriptedUiServices ui;
    const QStringList expected = {
        "*" + kHeader + path("top.cas"),
        "R1 N1 N2 1K",
        "*_X1" + kHeader + path("mid.cas"),
        "*_X2_X1" + kHeader + path("leaf.cas"),
        "R1_X2_X1 N2 0 1K",
        "*_X2 Ends",
        "*_X1 Ends",
    };
    EXPECT_EQ(top([](Sheet& s) { s.r("R1", "1k", G(0), G(4)).block("X1", "mid.cas", G(4), G(5)); }),
              expected);
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join('|'));
}

TEST_F(WriterBlocks, ALineBreakInABlocksLabelStaysInsideTheLinesThatNameIt)
{
    file("sub.cas", divider);
    ScriptedUiServices ui;
    const QString x = QStringLiteral("X1__V99_N99_0_DC_1E6");
    const QStringList lines = top(
        [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).block("X1\r\nV99 N99 0 DC 1E6", "sub.cas", G(4), G(8)); });
    // clang-format off
    const QStringList expected = {
        "*" + kHeader + path("top.cas"),
        "R1 N1 N2 1K",
        "*_" + x + kHeader + path("sub.cas"),
        "R1_" + x + " N2 Pmid_" + x + " 10",
        "R2_" + x + " Pmid_" + x + " N3 1K",
        "*_" + x + " Ends",
    };
    // clang-format on
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(lines.join(u'\n').contains(QStringLiteral("\nV99")));
}

TEST_F(WriterBlocks, AFileThatCannotBeWrittenFailsTheWholeNetlistWithOneMessage)
{
    file("lower.cas", divider);
    file("inner.cas", [](Sheet& s) { s.block("X1", "nothere.cas", G(0), G(1)); });
    file("self.cas", [](Sheet& s) { s.block("X1", "self.cas", G(0), G(1)); });
    file("a.cas", [](Sheet& s) { s.block("X1", "b.cas", G(0), G(1)); });
    file("b.cas", [](Sheet& s) { s.block("X1", "a.cas", G(0), G(1)); });
    file("damaged.cas", [](Sheet& s) { s.add(TypeResistor, "R"); });
    const QString cannot = QStringLiteral("Error.  Could not open subcircuit file '");
    const struct {
        const char* label;
        QString message; // empty: written
    } cases[] = {
        {"LOWER.CAS", ""}, // found without regard to case
        {"nothere.cas", cannot + "nothere.cas'"},
        {"", cannot + "'"},
        {"inner.cas", cannot + "nothere.cas'"},
        {"self.cas", "Error.  The subcircuit file 'self.cas' includes itself."},
        {"a.cas", "Error.  These subcircuit files include each other in a cycle: " + canonical("a.cas") +
                      " -> " + canonical("b.cas") + " -> " + canonical("a.cas")},
        {"damaged.cas", "Error.  The component list of '" + path("damaged.cas") + "' is damaged"},
    };
    for (const auto& c : cases) {
        ScriptedUiServices ui;
        NetlistReport report;
        const QStringList lines = top([&](Sheet& s) { s.block("X1", c.label, G(4), G(5)); }, &report);
        EXPECT_EQ(lines.isEmpty(), !c.message.isEmpty()) << c.label;
        EXPECT_EQ(report.ok, c.message.isEmpty()) << c.label;
        ASSERT_EQ(ui.messages.size(), c.message.isEmpty() ? 0 : 1) << c.label;
        if (!c.message.isEmpty())
            EXPECT_TRUE(ui.messages[0].startsWith(c.message)) << qPrintable(ui.messages[0]);
    }
}

TEST_F(WriterBlocks, BlocksStandThirtyTwoDeep)
{
    // File k of a chain holds a block of file k+1; the last one a resistor.
    const auto chain = [this](int depth) {
        const auto name = [depth](int k) { return QString("c%1-%2.cas").arg(depth).arg(k); };
        for (int k = 1; k <= depth; ++k)
            file(name(k), [&](Sheet& s) {
                k == depth ? s.r("R1", "1k", G(0), G(1)) : s.block("X1", name(k + 1), G(0), G(1));
            });
        return top([&](Sheet& s) { s.block("X1", name(1), G(0), G(1)); });
    };
    ScriptedUiServices ui;
    const QString prefix = QString("_X1").repeated(32);
    EXPECT_TRUE(chain(32).contains("R1" + prefix + " N1" + prefix + " N2" + prefix + " 1K"));
    EXPECT_TRUE(chain(33).isEmpty());
    EXPECT_EQ(ui.messages, QStringList{"Error.  The subcircuit file 'c33-33.cas' would stand 33 blocks deep; "
                                       "blocks stand at most 32 deep inside each other."});
}

} // namespace
