#include "CTransformerSim.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <cmath>

class TransformerReference : public testing::TestWithParam<const char*> {};

TEST_P(TransformerReference, MatchesIndependentSimulator) {
    SimHarness h;
    runReference(h, loadReference("xfmr"), GetParam());

    // The winding traces: the primary current is what the 0.1 ohm feeds in at NP, the secondary
    // current leaves NS into the winding, so the load carries its negative.
    const auto vin = h.trace("V(NIN)"), vp = h.trace("V(NP)"), vs = h.trace("V(NS)");
    const auto vl = h.trace("VL(K1)"), vr = h.trace("VR(K1)"), il = h.trace("IL(K1)"), ir = h.trace("IR(K1)");
    ASSERT_EQ(ir.size(), vs.size());
    for (size_t j = 0; j < vs.size(); ++j) {
        ASSERT_DOUBLE_EQ(vl[j], vp[j]);
        ASSERT_DOUBLE_EQ(vr[j], vs[j]);
        ASSERT_NEAR(il[j], (vin[j] - vp[j]) / 0.1, 1e-9);
        ASSERT_NEAR(ir[j], -vs[j] / 1e6, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, TransformerReference, testing::Values("Auto", "None", "Minimal", "Maximal"));

TEST(Transformer, OpenSecondaryFollowsTurnsRatio) {
    const struct {
        const char* keys;
        double ratio; // K sqrt(L2 / L1)
    } cases[] = {
        {"L1=1U L2=100U K=0.99", 9.9},
        {"K=0.5 L2=1U L1=4U", 0.25},      // keys in any order
        {"L1=7U L2=9U K=0.9 L1=1U", 2.7}, // the later L1= counts
        {"L1=2U L2=2U K=0.3 IC=0,0", 0.3},
    };
    for (const auto& c : cases) {
        SimHarness h;
        const QString net = QString("* ratio\nV1 NIN 0 PULSE 0 1 0 20N 20N 100N 400N\nR1 NIN NP 0.1\n"
                                    "K1 NP 0 NS 0 %1\nR2 NS 0 1G\n")
                                .arg(c.keys);
        ASSERT_TRUE(h.run(net, "1ns", "30ns")) << c.keys;
        for (double t : {5e-9, 10e-9, 19e-9})
            EXPECT_NEAR(h.at("V(NS)", t) / h.at("V(NP)", t), c.ratio, 1e-4 * c.ratio) << c.keys;
    }
}

TEST(Transformer, BranchRowsFollowTheSystemsOwnNumbering) {
    // VB takes branch 1 and lies outside the diode's region; V1 and K1 follow with branches 2, 3, 4.
    // In the reduced system only V1 and K1 have branch rows, so K1's rows are not the global ones.
    const QString region =
        "V1 NIN 0 PULSE -1 4 0 3N 3N 20N 60N\nR1 NIN NP 1\nK1 NP 0 NS 0 L1=1U L2=4U K=0.95\n"
        "D1 NS NL IS=1E-14 RS=0.2\nRL NL 0 20\n";
    const QString reducedNet = "* reduced\n" + separateLadder(24) + region;
    SimHarness reduced, full;
    ASSERT_TRUE(reduced.run(reducedNet, "0.5ns", "60ns", "Auto"));
    EXPECT_TRUE(reduced.doc.Minimal());
    EXPECT_EQ(reduced.doc.ReducedBranchCount(), 3); // V1 and K1: K1's ordinals 3 and 4 would overrun it
    ASSERT_TRUE(full.run(reducedNet, "0.5ns", "60ns", "None"));
    expectSameTraces(reduced, full, {"IL(K1)", "IR(K1)", "VR(K1)", "I(D1)", "V(NB23)"});

    // Behind a long chain the reduced set is too large and the run partitions instead; the ladder is
    // a partition of its own, numbered first.
    QString chain = "V1 NC0 0 PULSE -1 4 0 3N 3N 20N 60N\n";
    for (int i = 1; i < 26; ++i)
        chain += QString("R%1 NC%2 NC%1 0.05\n").arg(i).arg(i - 1);
    chain += "K1 NC25 0 NS 0 L1=1U L2=4U K=0.95\nD1 NS NL IS=1E-14\nRL NL 0 20\n";
    const QString partitionedNet = "* partitioned\n" + separateLadder(5) + chain;
    SimHarness parts, partsFull;
    ASSERT_TRUE(parts.run(partitionedNet, "0.5ns", "60ns", "Auto"));
    EXPECT_TRUE(parts.doc.Maximal());
    EXPECT_EQ(parts.doc.PartitionCount(), 2);
    ASSERT_TRUE(partsFull.run(partitionedNet, "0.5ns", "60ns", "None"));
    expectSameTraces(parts, partsFull, {"IL(K1)", "IR(K1)", "VL(K1)", "I(D1)", "V(NB4)"});
}

TEST(Transformer, RefusedStatements) {
    const struct {
        const char* statement;
        const char* message;
    } cases[] = {
        {"K1 NP 0 NS 0 L1=1U L2=1U", "Invalid Netlist:  Not enough arguments: K1"},
        {"K1 NP 0 NS 0 L1=1U L2=1U X", "Invalid Netlist:  Not enough arguments: K1"},
        {"K1 NP 0 NS 0 L1=1U K=1 X", "Invalid Netlist:  Not enough arguments: K1"},
        {"K1 NP 0 NS 0 L2=1U K=1 X", "Invalid Netlist:  Not enough arguments: K1"},
        {"K1 NP 0 NS 0 L1=-1U L2=1U K=0.5", "Invalid Netlist.  Invalid L1: K1"},
        {"K1 NP 0 NS 0 L1=1U L2=-1U K=0.5", "Invalid Netlist.  Invalid L2: K1"},
    };
    for (const auto& c : cases) {
        SimHarness h;
        EXPECT_FALSE(h.run(QString("* bad\nV1 NP 0 DC 1\n%1\nR1 NS 0 1\n").arg(c.statement)));
        EXPECT_EQ(h.problems(), QStringList({c.message, "Error.  ProcessNetlist Failure."})) << c.statement;
    }
}
