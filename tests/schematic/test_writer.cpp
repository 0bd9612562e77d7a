// The netlist writer on schematics of plain objects: node naming, parameters, the line of each group,
// damaged lists, and the names that would mislead the simulator.
#include "SchematicTestSupport.h"
#include "UiServices.h"
#include "WriterSheet.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kIc0 = QStringLiteral("IC=0");
const QString kIc5 = QStringLiteral("IC=5");
const QString kLine = QStringLiteral("Z0=50, TD=1n");

// A line with pins 1 and 2 at the first point (pin 2 two steps below) and pins 3 and 4 seven steps
// to the right.
Sheet& lineAt(Sheet& s, quint32 type, const QString& name, QPoint at, const QString& value = kLine)
{
    return s.line(type, name, value, kIc0, {at, at + G(0, 2), at + G(7), at + G(7, 2)});
}

struct WriteCase {
    const char* what;
    std::function<void(Sheet&)> build;
    QStringList statements; // after the header
};

// clang-format off
const WriteCase kNaming[] = {
    {"touching pins share a node; a free pin is a node of its own",
     [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).r("R2", "2k", G(4), G(8)); },
     {"R1 N1 N2 1K", "R2 N2 N3 2K"}},
    {"a wire gives its second end's node the name of its first end's",
     [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).r("R2", "1k", G(8), G(12)).wire(G(8), G(4)); },
     {"R1 N1 N3 1K", "R2 N3 N4 1K"}},
    {"bubbles with equal labels are one node, named in upper case",
     [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).bubble("out", G(4)).r("R2", "1k", G(10), G(14)).bubble("OUT", G(10)); },
     {"R1 N1 OUT 1K", "R2 OUT N4 1K"}},
    {"a probe names its node as written; a ground makes it 0",
     [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).probe("Pout", G(4)).ground(G(0)); },
     {"R1 0 Pout 1K"}},
    {"an empty bubble label keeps the node's name; blanks and tabs in names become _",
     [](Sheet& s) { s.r("R 7", "1k", G(0), G(4)).bubble("", G(0)).bubble("a b\tc", G(4)); },
     {"R_7 N1 A_B_C 1K"}},
    {"line returns that touch nothing else are ground",
     [](Sheet& s) { lineAt(s, TypeTransmissionLine, "T1", G(0)); },
     {"T1 N1 0 N3 0 Z0=50 TD=1N IC=0"}},
    {"a line return joined to a part stays a node",
     [](Sheet& s) { lineAt(s, TypeLossyTransmissionLine, "T1", G(0)).r("R1", "1k", G(0, 2), G(0, 6)); },
     {"T1 N1 N2 N3 0 Z0=50 TD=1N IC=0", "R1 N2 N5 1K"}},
    {"returns of two lines that meet only each other are ground",
     [](Sheet& s) { lineAt(s, TypeTransmissionLine, "T1", G(0)); lineAt(s, TypeLossyLineTransformer, "T2", G(7)); },
     {"T1 N1 0 N3 0 Z0=50 TD=1N IC=0", "T2 N3 0 N5 0 Z0=50 TD=1N IC=0"}},
    {"a return that meets the first pin of another line stays a node",
     [](Sheet& s) { lineAt(s, TypeTransmissionLine, "T1", G(0)); lineAt(s, TypeTransmissionLine, "T2", G(7, 2)); },
     {"T1 N1 0 N3 N4 Z0=50 TD=1N IC=0", "T2 N4 0 N6 0 Z0=50 TD=1N IC=0"}},
    {"other four-terminal parts keep free returns as nodes; only the values lose their commas",
     [](Sheet& s) {
         s.line(TypeLossyLineWithResistance, "T1", "LOSSYR Z0=1, TD=1n, R=1", kIc0, {G(0), G(0, 2), G(7), G(7, 2)});
         s.line(TypeIdealTransformer, "K1", "L1=100n, L2=1u, K=.9", "IC=0,0", {G(20), G(20, 2), G(27), G(27, 2)});
         s.bubble("a,b", G(20));
     },
     {"T1 N1 N2 N3 N4 LOSSYR Z0=1 TD=1N R=1 IC=0", "K1 A,B N6 N7 N8 L1=100N L2=1U K=.9 IC=0,0"}},
    {"parts with an initial condition, the current probe, and texts that declare nothing",
     [](Sheet& s) {
         s.part(TypeCapacitor, "C1", "1n", {G(0), G(4)}, &kIc5).text("Note: RL is the load");
         s.add(TypeCurrentProbe, "V", G(4));
         s.add(TypeLabel, "V3");
         s.add(TypeTerminal, "1", G(4));
         s.add(TypeTerminal, "2", G(8));
     },
     {"C1 N1 N2 1N IC=5", "V3 N2 N3 DC 0"}},
    {"PARAMS: texts in any case set the values of the document; tokens without a name are ignored",
     [](Sheet& s) { s.text("params: rl=50 =7 junk").r("R1", "rl", G(0), G(4)); lineAt(s, TypeTransmissionLine, "T1", G(4), "Z0=RL, TD=1n"); },
     {"R1 N1 N2 50", "T1 N2 0 N4 0 Z0=50 TD=1N IC=0"}},
};
// clang-format on

TEST(NetlistWriter, NamesNodesAndWritesOneLinePerPart)
{
    for (const WriteCase& c : kNaming) {
        SCOPED_TRACE(c.what);
        ScriptedUiServices ui;
        Sheet s;
        c.build(s);
        const QStringList lines = s.lines();
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines.first(), "* TORVEX Generated Netlist of Unsaved File");
        EXPECT_EQ(lines.mid(1), c.statements);
        EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join('|'));
    }
}

TEST(NetlistWriter, NodeNamesStayInThePinsAndTheDocumentStaysUnmodified)
{
    ScriptedUiServices ui;
    Sheet s;
    s.r("R1", "1k", G(0), G(4)).ground(G(4));
    s.write();
    QStringList pins;
    for (const auto& o : s.doc.Components())
        if (o->TypeId == TypeTerminal) pins << o->Text;
    EXPECT_EQ(pins, QStringList({"N1", "0", "0"}));
    EXPECT_FALSE(s.doc.IsModified());
}

TEST(NetlistWriter, EmptyDocumentsWriteTheHeaderOnly)
{
    ScriptedUiServices ui;
    Sheet unsaved;
    EXPECT_EQ(unsaved.write(), "* TORVEX Generated Netlist of Unsaved File\r\n");
    Sheet saved;
    saved.doc.SetPathName("/schematics/pulser.cas");
    EXPECT_EQ(saved.write(), "* TORVEX Generated Netlist of /schematics/pulser.cas\r\n");
}

struct Substitution {
    const char* text;
    QStringList names, values;
    const char* expected;
};

TEST(NetlistWriter, SubstitutesWholeNamesOnlyAndEarlierPairsWin)
{
    // clang-format off
    const Substitution cases[] = {
        {"rl", {"RL"}, {"50"}, "50"},                         // texts are upper-cased, names are upper case
        {"Z0=RL, TD=1n", {"RL"}, {"50"}, "Z0=50, TD=1N"},
        {"10N TD=10N N", {"N"}, {"3"}, "10N TD=10N 3"},       // a scale letter as a name
        {"TD=1N R=TD", {"TD"}, {"5"}, "TD=1N R=5"},           // a value key as a name
        {"1NC C", {"C"}, {"2"}, "1NC 2"},
        {"RL RL", {"RL", "RL"}, {"50", "75"}, "50 50"},        // the earlier pair wins
        {"A", {"A", "B"}, {"B", "7"}, "7"},                   // a value may name a later parameter
        {"A", {"B", "A"}, {"7", "B"}, "7"},
        {"", {"RL"}, {"50"}, ""},
    };
    // clang-format on
    for (const Substitution& c : cases)
        EXPECT_EQ(CTorvex2Doc::SubstituteParameters(QString::fromUtf8(c.text), c.names, c.values),
                  QString::fromUtf8(c.expected))
            << c.text;
}

struct PathCase {
    const char* params;
    const char* mode;
    const char* path;
};

TEST(NetlistWriter, PathParameterSetsTheInputFolderAsWritten)
{
    // clang-format off
    const PathCase cases[] = {
        {"PARAMS: PATH=/data/Shots/", "Path", "/data/Shots/"},
        {"params: rl=5 path=\"/my data/Shot 7\" c=1", "Path", "/my data/Shot 7"},
        {"PARAMS: PATH=\"/data", "Path", "\"/data"},          // quotes go only in pairs
        {"PARAMS: PATH=\"", "Path", "\""},
        {"PARAMS: RL=5", "Orlisk", ""},
    };
    // clang-format on
    for (const PathCase& c : cases) {
        ScriptedUiServices ui;
        Sheet s;
        s.text(QString::fromUtf8(c.params)).r("R1", "c", G(0), G(4));
        const QStringList lines = s.lines();
        EXPECT_EQ(s.doc.InputMode, c.mode) << c.params;
        EXPECT_EQ(s.doc.InputPath, c.path) << c.params;
        // PATH is no parameter of the values.
        EXPECT_EQ(lines.value(1).startsWith("R1 N1 N2 "), true) << c.params;
    }
}

TEST(NetlistWriter, DamagedListsGiveOneMessageAndNoNetlist)
{
    const std::function<void(Sheet&)> damaged[] = {
        [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).add(TypeResistor, "R"); },
        [](Sheet& s) {
            s.add(TypeResistor, "R");
            s.add(TypeLabel, "R1");
            for (int k = 0; k < 3; ++k)
                s.add(TypeTerminal, "1");
        },
        [](Sheet& s) {
            s.add(TypeWire);
            s.add(TypeTerminal, "1");
        },
        [](Sheet& s) {
            s.add(TypeBubbleConnector, "A");
            s.add(TypeTerminal, "1");
        },
        [](Sheet& s) {
            s.part(TypeSubcircuitInterface, "X1", "sub.cas", {G(0), G(1), G(2), G(3)});
        },
    };
    for (const auto& build : damaged) {
        ScriptedUiServices ui;
        Sheet s;
        build(s);
        NetlistReport report;
        EXPECT_EQ(s.write(&report), "");
        EXPECT_FALSE(report.ok);
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages[0].contains("'Unsaved File' is damaged")) << qPrintable(ui.messages[0]);
    }
}

TEST(NetlistWriter, WarnsOnceOfNamesTheSimulatorWouldConfuse)
{
    struct Case {
        std::function<void(Sheet&)> build;
        const char* names; // in the warning; empty: no warning
    };
    const Case cases[] = {
        {[](Sheet& s) { s.r("R1", "1k", G(0), G(4)).r("r1", "1k", G(4), G(8)).r("R1", "1k", G(8), G(9)); },
         "r1, R1"},
        // The label joins a node the user never joined.
        {[](Sheet& s) { s.r("R1", "1k", G(0), G(4)).r("R2", "1k", G(8), G(12)).bubble("n2", G(8)); }, "N2"},
        {[](Sheet& s) { s.r("R1", "1k", G(0), G(4)).probe("n1", G(4)); }, "n1"},
        {[](Sheet& s) {
             s.r("R1", "1k", G(0), G(4)).bubble("A1", G(4)).bubble("a1", G(0)).probe("P1", G(0));
         },
         ""},
    };
    for (const Case& c : cases) {
        ScriptedUiServices ui;
        Sheet s;
        c.build(s);
        EXPECT_FALSE(s.write().isEmpty());
        if (*c.names == 0) {
            EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join('|'));
            continue;
        }
        ASSERT_EQ(ui.messages.size(), 1) << c.names;
        EXPECT_TRUE(ui.messages[0].endsWith(QStringLiteral("upper and lower case are the same: ") + c.names))
            << qPrintable(ui.messages[0]);
    }
}

TEST(NetlistWriter, ReportsThePartsWithoutAModelOfTheirOwnAndCreateNetlistWarnsOnce)
{
    ScriptedUiServices ui;
    Sheet s;
    s.part(TypeMetalOxideVaristor, "R1", "MOV C=2nF VT=100 N=-15", {G(0), G(4)}, &kIc0);
    s.part(TypeOilSwitchModel, "R2", "OILSW GAP=10", {G(4), G(8)});
    s.part(TypePlanarDiodeModel, "R3", "PLDIODE EL=1", {G(8), G(12)});
    s.r("R4", "1k", G(12), G(16));
    lineAt(s, TypeLossyMitlModel, "T1", G(20), "MITL1, RI=10mm RO=20mm TD=1n EB=30MEG TOT=10n");
    lineAt(s, TypeLosslessMitlModel, "T2", G(30), "MITL0, Z0=30 TD=1n");
    NetlistReport report;
    const QStringList lines = s.lines(&report);
    EXPECT_TRUE(report.ok);
    const QStringList expected = {"R1 (MOV)", "R2 (OILSW)", "R3 (PLDIODE)", "T1 (MITL1)", "T2 (MITL0)"};
    EXPECT_EQ(report.partsWithoutModel, expected);
    EXPECT_EQ(lines.last(), "T2 N10 N11 N12 N13 MITL0 Z0=30 TD=1N IC=0");
    EXPECT_TRUE(ui.messages.isEmpty());

    const std::optional<QString> text = s.doc.CreateNetlistText();
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->split("\r\n").mid(1, 6), lines.mid(1));
    EXPECT_EQ(ui.messages, QStringList{NoModelWarning(expected)});
}

} // namespace
