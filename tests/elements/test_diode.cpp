#include "CDiodeSim.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <cmath>

class DiodeReference : public testing::TestWithParam<const char*> {};

TEST_P(DiodeReference, ClampMatchesIndependentSimulatorAndCurrentBalances) {
    SimHarness h;
    runReference(h, loadReference("dclamp"), GetParam());

    // The diode's own current is the current the 1 k resistor feeds into it, at every step.
    const auto vin = h.trace("V(NIN)"), va = h.trace("V(NA)"), id = h.trace("I(D1)");
    ASSERT_EQ(id.size(), va.size());
    for (size_t j = 0; j < id.size(); ++j)
        ASSERT_NEAR(id[j], (vin[j] - va[j]) / 1000, 1e-9) << "step " << j;
}

INSTANTIATE_TEST_SUITE_P(Modes, DiodeReference, testing::ValuesIn(kMatrixModes));

TEST(Diode, SettledStepTakesExactlyThreeSolves) {
    // Every iteration refactors, so the factor count is the solve count. Once the circuit has
    // settled, each further step costs the first solve, the one that first passes the test and
    // the confirming one.
    const QString net = "* dc\nV1 NIN 0 DC 5\nR1 NIN NA 1K\nD1 NA 0 IS=1E-14\n";
    SimHarness a, b;
    ASSERT_TRUE(a.run(net, "1ns", "100ns", "None"));
    ASSERT_TRUE(b.run(net, "1ns", "200ns", "None"));
    EXPECT_GE(a.doc.FactorCount(), 3 * (a.doc.StepCount() + 1));
    EXPECT_EQ(b.doc.FactorCount() - a.doc.FactorCount(), 3 * 100);
    EXPECT_NEAR(a.at("V(NA)", 50e-9), 0.0259 * std::log(4.3e-3 / 1e-14), 2e-3);
}

TEST(Diode, ReverseBiasAndBreakdownStayFinite) {
    struct Case {
        const char* model;
        double source;
        double vLow, vHigh; // expected diode voltage
        double current;     // expected diode current; NaN: take it from the resistor
    };
    const Case cases[] = {
        // BV= is not read: no breakdown at 100 V, only the leakage.
        {"IS=1E-14 BV=50", -100, -100.0001, -99.9999, -1e-10 - 1e-14},
        // The built-in part breaks down at 400 V; driven from 1 kV the exponential would overflow
        // on the way to the solution.
        {"1N4004", -1000, -403, -400, NAN},
        {"1N4004", -20000, -406, -403, NAN},
    };
    for (const Case& c : cases) {
        SimHarness h;
        const QString net =
            QString("* reverse\nV1 NIN 0 DC %1\nR1 NIN NA 100\nD1 NA 0 %2\n").arg(c.source).arg(c.model);
        ASSERT_TRUE(h.run(net, "1ns", "20ns", "Auto")) << c.model;
        EXPECT_TRUE(h.problems().isEmpty()) << c.model << ": " << h.problems().join(" | ").toStdString();
        const auto v = h.trace("V(D1)"), i = h.trace("I(D1)"), va = h.trace("V(NA)");
        ASSERT_EQ(v.size(), 21u);
        for (size_t j = 0; j < v.size(); ++j) {
            ASSERT_TRUE(std::isfinite(v[j]) && std::isfinite(i[j])) << c.model << " step " << j;
            EXPECT_GT(v[j], c.vLow) << c.model << " step " << j;
            EXPECT_LT(v[j], c.vHigh) << c.model << " step " << j;
            const double expected = std::isnan(c.current) ? (c.source - va[j]) / 100 : c.current;
            EXPECT_NEAR(i[j], expected, std::fabs(expected) * 1e-6 + 1e-18) << c.model << " step " << j;
        }
    }
}

TEST(Diode, LargeCircuitsUseTheSmallerSystemsAndAgreeWithTheFullOne) {
    // 6 nodes around the diode: alone they take the full system; with a separate 24-node ladder the
    // run has 30 nodes and a reduced set of 6.
    const QString region =
        "V1 NIN 0 PULSE -2 8 0 5N 5N 30N 80N\nR1 NIN NA1 100\nR2 NA1 NA2 100\nR3 NA2 NA3 100\n"
        "R4 NA3 NA4 100\nD1 NA4 NK IS=1E-14 N=1.5 RS=2\nR5 NK 0 50\n";
    SimHarness small;
    ASSERT_TRUE(small.run("* small\n" + region, "1ns", "80ns", "Auto"));
    EXPECT_FALSE(small.doc.Minimal() || small.doc.Maximal());

    // The same diode behind a 30-node chain: the reduced set is too large and the run partitions.
    QString chain = "V1 NC0 0 PULSE -2 8 0 5N 5N 30N 80N\n";
    for (int i = 1; i < 30; ++i)
        chain += QString("R%1 NC%2 NC%1 20\n").arg(i).arg(i - 1);
    chain += "D1 NC29 NK IS=1E-14 N=1.5 RS=2\nR5 NK 0 50\n";

    const struct {
        QString netlist;
        bool minimal;
    } cases[] = {{"* large\n" + region + separateLadder(24), true}, {"* chain\n" + chain, false}};
    for (const auto& c : cases) {
        SimHarness mode, full;
        ASSERT_TRUE(mode.run(c.netlist, "1ns", "80ns", "Auto"));
        ASSERT_TRUE(full.run(c.netlist, "1ns", "80ns", "None"));
        EXPECT_GE(mode.doc.NodeCount(), 30);
        EXPECT_EQ(mode.doc.Minimal(), c.minimal);
        EXPECT_EQ(mode.doc.Maximal(), !c.minimal);
        EXPECT_EQ(mode.doc.ReducedNodeCount(), c.minimal ? 7 : 32); // with the internal node
        for (const char* t : {"V(D1)", "I(D1)", "V(NK)"}) {
            const auto got = mode.trace(t), want = full.trace(t);
            ASSERT_EQ(got.size(), want.size()) << t;
            for (size_t j = 0; j < got.size(); ++j)
                ASSERT_NEAR(got[j], want[j], 1e-9) << t << " step " << j;
        }
    }
}

TEST(Diode, RefusedStatements) {
    const struct {
        const char* statement;
        const char* message;
    } cases[] = {
        {"D1 NA 0", "Invalid Netlist:  Not enough arguments: D1"},
        {"D1 NA 0 IS=0", "Invalid Netlist.  Invalid IS: D1"},
        {"D1 NA 0 IS=-1E-14 RS=1", "Invalid Netlist.  Invalid IS: D1"},
        {"D1 NA 0 IS=1E999", "Invalid Netlist.  Invalid IS: D1"},
        {"D1 NA 0 N=0", "Invalid Netlist.  Invalid N: D1"},
        {"D1 NA 0 IS=1P N=-1", "Invalid Netlist.  Invalid N: D1"},
    };
    for (const auto& c : cases) {
        SimHarness h;
        EXPECT_FALSE(h.run(QString("* bad\nV1 NA 0 DC 1\n%1\n").arg(c.statement)));
        EXPECT_EQ(h.problems(), QStringList({c.message, "Error.  ProcessNetlist Failure."})) << c.statement;
        EXPECT_FALSE(h.doc.ResultsValid());
    }
}

TEST(Diode, StatementFieldsAndInternalNode) {
    const struct {
        const char* statement;
        double is, rs;
        int internal; // node number of "$D1", 0 for none
    } cases[] = {
        {"D1 NA NB 1N4004 RS=1", 3.699e-9, 0.01756, 3}, // the built-in part takes no other token
        {"D1 NA NB RS=0.5 IS=1P IS=3P", 3e-12, 0.5, 3},
        {"D1 NA NB IS=2P RS=-1", 2e-12, -1, 0},
    };
    for (const auto& c : cases) {
        SimHarness h;
        ASSERT_TRUE(h.run(QString("* fields\nV1 NA 0 DC 1\n%1\nR1 NB NC 1\nR2 NC 0 1\n").arg(c.statement)));
        const auto* d = dynamic_cast<const CDiodeSim*>(h.doc.Elements()[1].get());
        ASSERT_NE(d, nullptr);
        EXPECT_DOUBLE_EQ(d->IS, c.is) << c.statement;
        EXPECT_DOUBLE_EQ(d->RS, c.rs) << c.statement;
        EXPECT_EQ(d->Nodes[2], c.internal) << c.statement;
        // The internal node is numbered before the nodes of later statements.
        EXPECT_EQ(h.doc.FindNodeIndex("NC"), c.internal ? 4 : 3) << c.statement;
        EXPECT_EQ(h.doc.FindNodeIndex("$D1"), c.internal ? c.internal : -1) << c.statement;
    }
}
