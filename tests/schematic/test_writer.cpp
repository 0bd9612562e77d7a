// The netlist writer on schematics of plain objects: node naming, the line of each group, parameters,
// damaged lists and the names that would mislead the simulator.
#include "UiServices.h"
#include "WriterSheet.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A line with pins 1 and 2 at the point (pin 2 below) and pins 3 and 4 seven steps to the right.
Sheet& tl(Sheet& s, quint32 type, const QString& name, QPoint at, const QString& value = "Z0=50, TD=1n",
          const QString& ic = "IC=0")
{
    return s.obj(type, {name, value, ic}, {at, at + G(0, 2), at + G(7), at + G(7, 2)});
}

struct WriteCase {
    const char* what;
    std::function<void(Sheet&)> build;
    QStringList statements; // after the header
    const char* warning = "";
};

// clang-format off
const WriteCase kCases[] = {
    {"an empty document", [](Sheet&) {}, {}},
    {"touching pins share a node, a free pin is a node of its own; a wire names its second end's node after "
     "its first end's",
     [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).r("R2", "2k", G(4), G(8)).r("R3", "1", G(12), G(13)).wire(G(12), G(8)); },
     {"R1 N1 N2 1K", "R2 N2 N4 2K", "R3 N4 N5 1"}},
    {"equal bubble labels join, in upper case; a probe names its node as written; a ground makes it 0",
     [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).bubble("out", G(4)).r("R2", "1k", G(9), G(14)).bubble("OUT", G(9))
                     .probe("Pin", G(0)).ground(G(14)); },
     {"R1 Pin OUT 1K", "R2 OUT 0 1K"}},
    {"an empty bubble label keeps the node's name; blanks and tabs in names become _",
     [](Sheet& s) { s.r("R 7", "1k", G(0), G(4)).bubble("", G(0)).bubble("a b\tc", G(4)); }, {"R_7 N1 A_B_C 1K"}},
    {"a probe's label names its node with _ for its blanks and line breaks",
     [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).probe("P 1", G(0)).probe("Q\r\nV99 N99 0 DC 1E6", G(4)); },
     {"R1 P_1 Q__V99_N99_0_DC_1E6 1K"}},
    {"line returns that meet nothing but other lines' returns are ground",
     [](Sheet& s) { tl(s, TypeTransmissionLine, "T1", G(0)); tl(s, TypeLossyLineTransformer, "T2", G(7)); },
     {"T1 N1 0 N3 0 Z0=50 TD=1N IC=0", "T2 N3 0 N5 0 Z0=50 TD=1N IC=0"}},
    {"a return that meets a part or another line's first pin stays a node",
     [](Sheet& s) { tl(s, TypeLossyTransmissionLine, "T1", G(0)).r("R1", "1k", G(0, 2), G(0, 6));
                    tl(s, TypeTransmissionLine, "T2", G(7, 2)); },
     {"T1 N1 N2 N3 N4 Z0=50 TD=1N IC=0", "R1 N2 N5 1K", "T2 N4 0 N7 0 Z0=50 TD=1N IC=0"}},
    {"other four-terminal parts keep their returns; values lose their commas, nodes and IC texts keep theirs",
     [](Sheet& s) { tl(s, TypeLossyLineWithResistance, "T1", G(0), "LOSSYR Z0=1, TD=1n, R=1");
                    tl(s, TypeIdealTransformer, "K1", G(20), "L1=100n, L2=1u, K=.9", "IC=0,0").bubble("a,b", G(20)); },
     {"T1 N1 N2 N3 N4 LOSSYR Z0=1 TD=1N R=1 IC=0", "K1 A,B N6 N7 N8 L1=100N L2=1U K=.9 IC=0,0"}},
    {"PARAMS: texts in any case set values; tokens without a name are ignored",
     [](Sheet& s) { s.text("params: rl=50 =7 junk").r("R1", "rl", G(0), G(4)); tl(s, TypeTransmissionLine, "T1", G(4), "Z0=RL, TD=1n"); },
     {"R1 N1 N2 50", "T1 N2 0 N4 0 Z0=50 TD=1N IC=0"}},
    {"element names equal but for case are named in one warning",
     [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).r("r1", "1k", G(4), G(8)); }, {"R1 N1 N2 1K", "r1 N2 N3 1K"},
     "r1"},
    {"a label that takes a generated name joins nodes the user never joined, with a warning",
     [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).r("R2", "1k", G(8), G(12)).bubble("n2", G(8)).probe("n1", G(12)); },
     {"R1 N1 N2 1K", "R2 N2 n1 1K"}, "N2, n1"},
};
// clang-format on

TEST(NetlistWriter, NamesNodesAndWritesOneLinePerPart)
{
    for (const WriteCase& c : kCases) {
        SCOPED_TRACE(c.what);
        ScriptedUiServices ui;
        Sheet s;
        c.build(s);
        const QStringList lines = s.lines();
        EXPECT_EQ(lines.value(0), "* TORVEX Generated Netlist of Unsaved File");
        EXPECT_EQ(lines.mid(1), c.statements);
        EXPECT_EQ(ui.messages.join('|'), *c.warning
                                             ? QStringLiteral("Warning:  These names stand for more than "
                                                              "one element or node in the netlist, where "
                                                              "upper and lower case are the same: ") +
                                                   c.warning
                                             : QString());
    }
}

TEST(NetlistWriter, LineBreaksAndControlCharactersInTextsBecomeBlanksWithOneWarning)
{
    const QString warning = QStringLiteral("Warning:  The texts of these parts held line breaks or control "
                                           "characters, which the netlist holds as blanks: ");
    const struct {
        const char* what;
        std::function<void(Sheet&)> build;
        QStringList statements;
        const char* parts;
    } cases[] = {
        {"a hidden value label that would add a source",
         [](Sheet& s) { s.r("R1", "1k\r\nV99 N99 0 DC 1E6", G(0), G(4)); },
         {"R1 N1 N2 1K  V99 N99 0 DC 1E6"},
         "R1"},
        {"an IC text and a value in one part, a tab and a line separator",
         [](Sheet& s) {
             s.obj(TypeCapacitor, {"C1", "1n\tX", QString("IC=0") + QChar(0x2028) + "Y"}, {G(0), G(4)});
         },
         {"C1 N1 N2 1N X IC=0 Y"},
         "C1"},
        {"a parameter's value, in a block's part",
         [](Sheet& s) { s.text("PARAMS: RL=5\n7").r("R1", "RL", G(0), G(4)).r("R2", "1k\x7f", G(4), G(8)); },
         {"R1 N1 N2 5 7", "R2 N2 N3 1K"},
         "R1, R2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedUiServices ui;
        Sheet s;
        c.build(s);
        EXPECT_EQ(s.lines().mid(1), c.statements);
        EXPECT_EQ(ui.messages, QStringList{warning + c.parts});
    }
    ScriptedUiServices ui;
    Sheet s;
    s.doc.SetPathName("/shots/a\nV99 N99 0 DC 1E6.cas");
    EXPECT_EQ(s.lines(), QStringList{"* TORVEX Generated Netlist of /shots/a V99 N99 0 DC 1E6.cas"});
}

TEST(NetlistWriter, SubstitutesWholeNamesOnlyAndEarlierPairsWin)
{
    const struct {
        const char* text;
        QStringList names, values;
        const char* expected;
    } cases[] = {
        {"Z0=RL, TD=1n", {"RL"}, {"50"}, "Z0=50, TD=1N"},
        {"10N TD=10N n", {"N"}, {"3"}, "10N TD=10N 3"}, // a scale letter as a name
        {"TD=1N R=TD 1NC", {"TD", "C"}, {"5", "2"}, "TD=1N R=5 1NC"},
        {"RL", {"RL", "RL"}, {"50", "75"}, "50"},
        {"A", {"B", "A"}, {"7", "B"}, "7"}, // a value may name another parameter
    };
    for (const auto& c : cases)
        EXPECT_EQ(CTorvex2Doc::SubstituteParameters(c.text, c.names, c.values), QString(c.expected))
            << c.text;
}

TEST(NetlistWriter, PathParameterSetsTheInputFolderAsWritten)
{
    const struct {
        const char* params;
        const char* mode;
        const char* path;
    } cases[] = {
        {"PARAMS: PATH=/data/Shots/", "Path", "/data/Shots/"},
        {"params: rl=5 path=\"/my data/Shot 7\" c=1", "Path", "/my data/Shot 7"},
        {"PARAMS: PATH=\"/data", "Path", "\"/data"}, // quotes go only in pairs
        {"PARAMS: RL=5", "Orlisk", ""},
    };
    for (const auto& c : cases) {
        ScriptedUiServices ui;
        Sheet s;
        s.text(c.params).r("R1", "path", G(0), G(4));
        EXPECT_EQ(s.lines().value(1), "R1 N1 N2 PATH") << c.params;
        EXPECT_EQ(QStringList({s.doc.InputMode, s.doc.InputPath}), QStringList({c.mode, c.path})) << c.params;
    }
}

TEST(NetlistWriter, DamagedListsGiveOneMessageAndNoNetlist)
{
    const std::function<void(Sheet&)> damaged[] = {
        [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).add(TypeResistor, "R"); },
        [](Sheet& s) {
            s.obj(TypeResistor, {"R1"}, {G(0), G(1), G(2)});
        },
        [](Sheet& s) { s.obj(TypeWire, {}, {G(0)}); },
        [](Sheet& s) {
            s.obj(TypeSubcircuitInterface, {"X1", "sub.cas"}, {G(0), G(1), G(2), G(3)});
        },
    };
    for (const auto& build : damaged) {
        ScriptedUiServices ui;
        Sheet s;
        build(s);
        NetlistReport report;
        EXPECT_TRUE(s.lines(&report).isEmpty());
        EXPECT_FALSE(report.ok);
        EXPECT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages.value(0).contains("'Unsaved File' is damaged"))
            << qPrintable(ui.messages.value(0));
    }
}

TEST(NetlistWriter, NamesThePartsWithoutAModelOfTheirOwnAndCreateNetlistWarnsOnce)
{
    ScriptedUiServices ui;
    Sheet s;
    s.obj(TypeMetalOxideVaristor, {"R1", "MOV C=2nF", "IC=0"}, {G(0), G(1)})
        .r("R2", "OILSW GAP=10", G(2), G(3));
    s.r("R3", "PLDIODE EL=1", G(4), G(5)).r("R4", "1k", G(6), G(7));
    tl(s, TypeLossyMitlModel, "T1", G(10), "MITL1, RI=10mm");
    tl(s, TypeLosslessMitlModel, "T2", G(20), "MITL0, Z0=30 TD=1n");
    NetlistReport report;
    EXPECT_EQ(s.lines(&report).last(), "T2 N13 N14 N15 N16 MITL0 Z0=30 TD=1N IC=0");
    const QStringList expected = {"R1 (MOV)", "R2 (OILSW)", "R3 (PLDIODE)", "T1 (MITL1)", "T2 (MITL0)"};
    EXPECT_EQ(report.partsWithoutModel, expected);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(s.doc.CreateNetlistText().has_value());
    // No pin here meets another: the second warning names all sixteen.
    ASSERT_EQ(report.unconnectedPins.size(), 16);
    EXPECT_EQ(ui.messages,
              (QStringList{NoModelWarning(expected), UnconnectedPinsWarning(report.unconnectedPins)}));
}

} // namespace
