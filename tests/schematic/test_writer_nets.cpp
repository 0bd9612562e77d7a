// Nets across documents: a block's pins are the nodes of its file's ports, equal bubble labels are one
// node everywhere, and whatever names such a net, the netlist gives it one name. And the pins that
// nothing connects to, named in one warning.
#include "UiServices.h"
#include "WriterSheet.h"

#include <gtest/gtest.h>

namespace {

using WriterNets = WriterFiles;

const QString kOnGround =
    QStringLiteral("Warning:  These voltage probes stand on ground, which the netlist names 0: ");
const QString kRenamed = QStringLiteral("Warning:  These voltage probes stand on a node that another probe "
                                        "names, and the netlist gives it that name: ");

// 50 ohms between the block's pins 1 and 2, with a probe on pin 2's side.
void halfLoad(Sheet& s)
{
    s.bubble("SUB1", G(0)).r("R1", "50", G(0), G(4)).bubble("SUB2", G(4)).probe("Pmid", G(4));
}

// 50 ohms from the shared node GLOB to ground.
void globLoad(Sheet& s)
{
    s.bubble("GLOB", G(0)).r("R1", "50", G(0), G(4)).ground(G(4));
}

struct NetCase {
    const char* what;
    std::function<void(Sheet&)> top;
    QStringList statements; // the element lines, in order
    QStringList warnings = {};
};

// The block files the cases use: sub.cas (halfLoad), glob.cas (globLoad), mid.cas (glob.cas as X2),
// and the ones a case needs of its own.
// clang-format off
const NetCase kNetCases[] = {
    {"a probe on a port that is ground at the top: the net stays 0",
     [](Sheet& s) { s.v("V1", "DC 10", G(0), G(0, 4)).ground(G(0, 4)).block("X1", "sub.cas", G(0), G(8)).ground(G(8)); },
     {"V1 N1 0 DC 10", "R1_X1 N1 0 50"}, {kOnGround + "Pmid_X1"}},
    {"a probe on a port names the net at the top as well",
     [](Sheet& s) { s.v("V1", "DC 10", G(0), G(0, 4)).ground(G(0, 4)).block("X1", "sub.cas", G(0), G(8))
                     .r("R2", "1k", G(8), G(12)).ground(G(12)); },
     {"V1 N1 0 DC 10", "R1_X1 N1 Pmid_X1 50", "R2 Pmid_X1 0 1K"}},
    {"a top-level probe on a bubble net that a block uses names it in the block",
     [](Sheet& s) { s.v("V1", "DC 10", G(0), G(0, 4)).ground(G(0, 4)).bubble("GLOB", G(0)).probe("P1", G(0))
                     .block("X1", "glob.cas", G(20), G(24)); },
     {"V1 P1 0 DC 10", "R1_X1 P1 0 50"}},
    {"the same two blocks deep",
     [](Sheet& s) { s.v("V1", "DC 10", G(0), G(0, 4)).ground(G(0, 4)).bubble("glob", G(0)).probe("P1", G(0))
                     .block("X1", "mid.cas", G(20), G(24)); },
     {"V1 P1 0 DC 10", "R1_X2_X1 P1 0 50"}},
    {"two probes on one net: the one named last, inside the block, names it",
     [](Sheet& s) { s.v("V1", "DC 10", G(0), G(0, 4)).ground(G(0, 4)).probe("P1", G(8)).block("X1", "sub.cas", G(0), G(8))
                     .r("R2", "1k", G(8), G(12)).ground(G(12)); },
     {"V1 N1 0 DC 10", "R1_X1 N1 Pmid_X1 50", "R2 Pmid_X1 0 1K"}, {kRenamed + "P1 (Pmid_X1)"}},
    {"two probes on one node of one document: the later names it",
     [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).ground(G(0)).probe("Pa", G(4)).probe("Pb", G(4)).r("R2", "1k", G(4), G(8)).ground(G(8)); },
     {"R1 0 Pb 1K", "R2 Pb 0 1K"}, {kRenamed + "Pa (Pb)"}},
    {"a ground inside a block grounds the port's net at the top",
     [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).probe("Pout", G(4)).block("X1", "grounded.cas", G(4), G(30)); },
     {"R1 N1 0 1K"}, {kOnGround + "Pout"}},
    {"a block that joins its ports joins the nodes of its pins",
     [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).r("R2", "1k", G(8), G(12)).block("X1", "short.cas", G(4), G(8)); },
     {"R1 N1 N3 1K", "R2 N3 N4 1K"}},
    {"a port that a label also names inside is one net with one name",
     [](Sheet& s) { s.r("R1", "1k", G(0), G(4)).block("X1", "labelled.cas", G(4), G(30)).r("R2", "1k", G(40), G(44))
                     .bubble("VCC", G(40)); },
     {"R1 N1 VCC 1K", "R2 VCC N7 1K"}},
    {"probes on ports 3 and 4 name the nets of the block's pins 3 and 4",
     [](Sheet& s) { s.obj(TypeSubcircuitInterface, {"X1", "ports34.cas", "PARAMS:"}, {G(-99, 1), G(-99, 2), G(0), G(8)})
                     .r("R1", "1k", G(0), G(4)).ground(G(4)).r("R2", "1k", G(8), G(12)).ground(G(12)); },
     {"R1 Pp_X1 0 1K", "R2 Pq_X1 0 1K"}},
    {"labels equal but for the case of a letter beyond ASCII are one net, as the simulator reads them",
     [](Sheet& s) { s.v("V1", "DC 10", G(0), G(0, 4)).ground(G(0, 4)).bubble("N\u00c9", G(0)).probe("P1", G(0))
                     .block("X1", "accent.cas", G(20), G(24)); },
     {"V1 P1 0 DC 10", "R1_X1 P1 0 50"}},
};
// clang-format on

TEST_F(WriterNets, ANetHasOneNameAcrossBlocksAndBubbles)
{
    file("sub.cas", halfLoad);
    file("glob.cas", globLoad);
    file("mid.cas", [](Sheet& s) { s.block("X2", "glob.cas", G(0), G(4)); });
    file("grounded.cas", [](Sheet& s) { s.bubble("SUB1", G(0)).ground(G(0)); });
    file("short.cas", [](Sheet& s) { s.bubble("SUB1", G(0)).bubble("SUB2", G(0)); });
    file("labelled.cas", [](Sheet& s) { s.bubble("SUB1", G(0)).bubble("VCC", G(0)); });
    file("accent.cas", [](Sheet& s) { s.bubble("n\u00e9", G(0)).r("R1", "50", G(0), G(4)).ground(G(4)); });
    file("ports34.cas",
         [](Sheet& s) { s.bubble("SUB3", G(0)).probe("Pp", G(0)).bubble("SUB4", G(4)).probe("Pq", G(4)); });
    for (const NetCase& c : kNetCases) {
        SCOPED_TRACE(c.what);
        ScriptedUiServices ui;
        QStringList statements = top(c.top);
        statements.removeIf([](const QString& line) { return line.startsWith(u'*'); });
        EXPECT_EQ(statements, c.statements);
        EXPECT_EQ(ui.messages, c.warnings);
    }
}

TEST_F(WriterNets, EveryPinThatNothingConnectsToIsNamed)
{
    file("sub.cas", halfLoad);
    file("open.cas", [](Sheet& s) { s.bubble("SUB1", G(0)); });
    const struct {
        const char* what;
        std::function<void(Sheet&)> build;
        QStringList unconnected;
    } cases[] = {
        {"a wire that ends beside a pin",
         [](Sheet& s) {
             s.r("R1", "1k", G(0), G(4))
                 .ground(G(0))
                 .wire(G(4, 1), G(10, 1))
                 .r("R2", "1k", G(10, 1), G(14, 1))
                 .ground(G(14, 1));
         },
         {"R1 pin 2", "R2 pin 1"}},
        {"ground, and line returns that meet nothing else, connect",
         [](Sheet& s) {
             s.obj(TypeTransmissionLine, {"T1", "Z0=50, TD=1n", "IC=0"}, {G(0), G(0, 2), G(7), G(7, 2)})
                 .ground(G(0))
                 .ground(G(7));
         },
         {}},
        {"a probe alone connects nothing; two pins of one part joined are joined",
         [](Sheet& s) {
             s.r("R1", "1k", G(0), G(4))
                 .probe("P1", G(4))
                 .ground(G(0))
                 .r("R2", "1k", G(8), G(12))
                 .wire(G(8), G(12));
         },
         {"R1 pin 2"}},
        {"a block's pins reach the parts inside; a port used by nothing inside reaches nothing",
         [](Sheet& s) {
             s.v("V1", "DC 1", G(0), G(0, 4))
                 .ground(G(0, 4))
                 .block("X1", "sub.cas", G(0), G(8))
                 .ground(G(8))
                 .r("R2", "1k", G(20), G(24))
                 .ground(G(24))
                 .block("X2", "open.cas", G(20), G(30));
         },
         {"R2 pin 1"}},
        {"names equal but for case are one node to the simulator",
         [](Sheet& s) {
             s.r("R1", "1k", G(0), G(4))
                 .ground(G(0))
                 .r("R2", "1k", G(8), G(12))
                 .ground(G(12))
                 .probe("n2", G(8));
         },
         {}},
        {"an element inside a block that nothing at the top reaches",
         [](Sheet& s) { s.block("X1", "sub.cas", G(0), G(8)).ground(G(8)); },
         {"R1_X1 pin 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedUiServices ui;
        NetlistReport report;
        EXPECT_FALSE(top(c.build, &report).isEmpty());
        EXPECT_EQ(report.unconnectedPins, c.unconnected);
    }
}

} // namespace
