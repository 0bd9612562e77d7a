// The diode and the transformer: solves per step, reverse drive, fields, and the smaller systems.
#include "CDiodeSim.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Diode, SettledStepTakesExactlyThreeSolves)
{
    // Every iteration refactors; a settled step costs the first solve, the one that first passes the
    // test and the confirming one.
    const QString net = "* dc\nV1 NIN 0 DC 5\nR1 NIN NA 1K\nD1 NA 0 IS=1E-14\n";
    SimHarness a, b;
    ASSERT_TRUE(a.runClean(net, "1ns", "100ns", "None"));
    ASSERT_TRUE(b.runClean(net, "1ns", "200ns", "None"));
    EXPECT_GE(a.doc.FactorCount(), 3 * (a.doc.StepCount() + 1));
    EXPECT_EQ(b.doc.FactorCount() - a.doc.FactorCount(), 3 * 100);
    EXPECT_NEAR(a.at("V(NA)", 50e-9), 0.0259 * std::log(4.3e-3 / 1e-14), 2e-3);
}

namespace {
// `diodes` diodes from one bus, each behind 10 ohm and with 0.5 ohm of its own, into 100 ohm and 100 pF.
QString diodeBank(int diodes, const char* source)
{
    QString s = QString("* bank\nV1 NBUS 0 %1\n").arg(source);
    for (int i = 1; i <= diodes; ++i)
        s +=
            QString("R%1 NBUS NA%1 10\nD%1 NA%1 NK%1 IS=1E-14 RS=0.5\nRL%1 NK%1 NM%1 100\nCL%1 NM%1 0 100P\n")
                .arg(i);
    return s;
}
} // namespace

TEST(Diode, DiodesSettleTogetherWhateverTheirNumber)
{
    // Asked in list order until the first that asks, the diodes took turns: every step took at least
    // one solve per diode, and ten thousand diodes passed the iteration limit. Each now takes its
    // confirming solve in the same three solves of a settled step. With one diode the two rules are
    // the same run; with several the results move within rounding.
    using Rule = CSimulatorDoc::IterationRule;
    const char* dc = "DC 5";
    const char* pulse = "PULSE 0 5 0 10N 10N 30N 100N";
    for (const int diodes : {1, 3, 12}) {
        // The run's own rule, then the reference.
        for (const auto& [reference, solvesPerStep] : {std::pair{false, 3}, {true, diodes + 2}}) {
            SimHarness a, b;
            if (reference) {
                a.doc.SetIterationRule(Rule::FirstAsking);
                b.doc.SetIterationRule(Rule::FirstAsking);
            }
            ASSERT_TRUE(a.runClean(diodeBank(diodes, dc), "1ns", "100ns", "None"));
            ASSERT_TRUE(b.runClean(diodeBank(diodes, dc), "1ns", "200ns", "None"));
            EXPECT_EQ(b.doc.FactorCount() - a.doc.FactorCount(), solvesPerStep * 100) << diodes;
        }
        SimHarness every, first;
        first.doc.SetIterationRule(Rule::FirstAsking);
        ASSERT_TRUE(every.runClean(diodeBank(diodes, pulse), "0.2ns", "100ns"));
        ASSERT_TRUE(first.runClean(diodeBank(diodes, pulse), "0.2ns", "100ns"));
        const QString last = QString::number(diodes);
        const QByteArray traces[] = {("V(NK" + last + ")").toLatin1(), ("I(D" + last + ")").toLatin1(),
                                     "V(NK1)"};
        // 5 V across the bank, 0.05 A through a diode.
        expectSameTraces(every, first, {traces[0].data(), traces[2].data()}, diodes == 1 ? 0 : 5e-9, 0);
        expectSameTraces(every, first, {traces[1].data()}, diodes == 1 ? 0 : 5e-11, 0);
    }
}

TEST(Diode, UnequalDiodesSettleAsUnderTheReferenceRule)
{
    // Unequal diodes settle at different iterations: the step goes on while either still asks, as
    // under the reference rule, where the one still asking keeps its turn.
    const QString net =
        diodeBank(2, "PULSE 0 5 0 10N 10N 30N 100N").replace("D2 NA2 NK2 IS=1E-14", "D2 NA2 NK2 IS=1E-12");
    SimHarness every, first;
    first.doc.SetIterationRule(CSimulatorDoc::IterationRule::FirstAsking);
    ASSERT_TRUE(every.runClean(net, "0.2ns", "100ns"));
    ASSERT_TRUE(first.runClean(net, "0.2ns", "100ns"));
    expectSameTraces(every, first, {"V(NK1)", "V(NK2)", "V(D1)", "V(D2)"}, 1e-6, 0);
    expectSameTraces(every, first, {"I(D1)", "I(D2)"}, 1e-8, 0);
}

TEST(Diode, CyclingJunctionsStillEndTheirSteps)
{
    // Each circuit holds a junction whose iterate cycles for good between two voltages about 1e-4 V
    // apart: where the law jumps from the exponential to the reverse leakage at -5 Vt, or where a node
    // is held by picoamperes against a large series conductance, so that the solve resolves it no
    // better. The voltage test alone never passed on them and every one ended with "Failing to
    // converge"; they now run to the end, accepted with their currents balanced.
    const struct {
        const char* what;
        const char* netlist; // %1 is the source voltage
        double source, sourceStep;
    } cases[] = {
        // DS must carry a reverse current inside the law's jump at 5 Vt = 0.1295 V.
        {"seam", "* seam\nV1 NIN 0 DC %1\nDF NIN NX IS=1E-14\nDS 0 NX IS=1E-9\n", 0.42751, 2e-5},
        // A chain that carries 0.3 pA, with 1,000 S of series conductance around N7.
        {"resolution",
         "* resolution\nV1 NIN 0 DC %1\nD2 NIN N4 IS=1.44309E-11 N=1.057\n"
         "D3 N7 N4 IS=7.83868E-13 N=1.918 RS=0.001\nD4 N7 N10 IS=5.23278E-14 N=1.785 RS=0.001\n"
         "RG N10 0 1MEG\n",
         0.1, 0.00137},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 10; ++i) {
            const double source = c.source + i * c.sourceStep;
            SimHarness h;
            ASSERT_TRUE(h.runClean(QString(c.netlist).arg(source, 0, 'g', 10), "1ns", "20ns"))
                << c.what << " " << source << ": " << qPrintable(h.problems().join(" | "));
            ASSERT_EQ(h.trace("V(NIN)").size(), 21u) << c.what;
            if (QLatin1String(c.what) != QLatin1String("seam")) continue;
            // The node sits at the jump; what one diode carries the other does.
            for (const double t : {0.0, 10e-9, 20e-9}) {
                EXPECT_NEAR(h.at("V(NX)", t), 5 * 0.0259, 2e-4) << source << " at " << t;
                EXPECT_NEAR(h.at("I(DF)", t), -h.at("I(DS)", t), 1e-18) << source << " at " << t;
                EXPECT_NEAR(h.at("I(DF)", t), 0.997e-9, 0.004e-9) << source << " at " << t;
            }
        }
    }
    // 24 elements around three diodes that meet at one node, at the step of the reference run.
    const QString reference = loadReferenceNetlist("diode-iteration");
    for (const char* mode : kMatrixModes) {
        SimHarness h;
        ASSERT_TRUE(h.runClean(reference, "0.1ns", "61ns", mode))
            << mode << ": " << qPrintable(h.problems().join(" | "));
        EXPECT_EQ(h.doc.StepCount(), 610) << mode;
        const auto v = h.trace("V(N3)");
        ASSERT_EQ(v.size(), 611u) << mode;
        for (const double x : v)
            ASSERT_TRUE(std::isfinite(x)) << mode;
    }
}

TEST(Diode, ReverseBiasAndBreakdownStayFinite)
{
    const struct {
        const char* model;
        double source, vLow, vHigh, current; // current NaN: take it from the resistor
    } cases[] = {
        // BV= is not read: no breakdown at 100 V, only the leakage.
        {"IS=1E-14 BV=50", -100, -100.0001, -99.9999, -1e-10 - 1e-14},
        // The built-in part breaks down at 400 V; from 1 kV the exponential would overflow on the way.
        {"1N4004", -1000, -403, -400, NAN},
        {"1N4004", -20000, -406, -403, NAN},
    };
    for (const auto& c : cases) {
        SimHarness h;
        ASSERT_TRUE(h.runClean(
            QString("* reverse\nV1 NIN 0 DC %1\nR1 NIN NA 100\nD1 NA 0 %2\n").arg(c.source).arg(c.model),
            "1ns", "20ns"));
        const auto v = h.trace("V(D1)"), i = h.trace("I(D1)"), va = h.trace("V(NA)");
        ASSERT_EQ(v.size(), 21u);
        for (size_t j = 0; j < v.size(); ++j) {
            ASSERT_TRUE(std::isfinite(v[j]) && std::isfinite(i[j])) << c.model << " step " << j;
            EXPECT_TRUE(v[j] > c.vLow && v[j] < c.vHigh) << c.model << " step " << j << ": " << v[j];
            const double expected = std::isnan(c.current) ? (c.source - va[j]) / 100 : c.current;
            EXPECT_NEAR(i[j], expected, std::fabs(expected) * 1e-6 + 1e-18) << c.model << " step " << j;
        }
    }
}

TEST(Diode, JunctionsInBreakdownCarryWhatTheCircuitFeeds)
{
    // Built-in parts broken down through R1: alone, or beside a second one into 10 ohm. Below 1 mA the
    // law had no voltage for the current (the leakage at -400 V jumps to the breakdown current), and
    // the iterate slid along the exponential from step to step; an iterate that jumped hundreds of
    // volts past breakdown made the solve of two such parts fail ("Matrax solve failure").
    const struct {
        const char* source;
        double r1;
        bool pair;
        double vLow, vHigh; // where D1's voltage lies at t = 3 ns
    } cases[] = {
        {"DC -401", 1e6, false, -400.00001, -400},   // 1 uA, on the bridge
        {"DC -1000", 1e6, false, -400.001, -400},    // 0.6 mA
        {"DC -20000", 1e6, false, -400.41, -400.39}, // 19.6 mA
        {"DC -410", 100, true, -401, -400},          {"DC -1000", 100, true, -401, -400},
        {"DC -20000", 100, true, -405, -403},        {"PULSE 0 -1000 0 5N 5N 10N 40N", 100, true, -401, -400},
    };
    for (const auto& c : cases) {
        SimHarness h;
        const QString pair = c.pair ? "D2 NA NB 1N4004\nR2 NB 0 10\n" : "";
        ASSERT_TRUE(h.runClean(QString("* breakdown\nV1 NIN 0 %1\nR1 NIN NA %2\nD1 NA 0 1N4004\n%3")
                                   .arg(c.source)
                                   .arg(c.r1)
                                   .arg(pair),
                               "0.5ns", "40ns"))
            << c.source << ": " << qPrintable(h.problems().join(" | "));
        const auto vin = h.trace("V(NIN)"), va = h.trace("V(NA)"), vb = h.trace("V(NB)");
        const auto i1 = h.trace("I(D1)"), i2 = c.pair ? h.trace("I(D2)") : std::vector<double>(81, 0.0);
        ASSERT_EQ(i1.size(), 81u);
        // Each current is read from its 0.01756 ohm, to about 3e-12 A at 400 V.
        for (size_t j = 0; j < i1.size(); ++j) {
            const double fed = (vin[j] - va[j]) / c.r1;
            ASSERT_NEAR(i1[j] + i2[j], fed, 1e-6 * std::fabs(fed) + 1e-10) << c.source << " step " << j;
            if (c.pair)
                ASSERT_NEAR(i2[j], vb[j] / 10, 1e-6 * std::fabs(i2[j]) + 1e-10) << c.source << " step " << j;
        }
        const double v = h.at("V(D1)", 3e-9);
        EXPECT_TRUE(v > c.vLow && v < c.vHigh) << c.source << " " << c.r1 << ": " << v;
    }
}

TEST(Diode, StatementFieldsAndInternalNode)
{
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
        ASSERT_TRUE(
            h.runClean(QString("* fields\nV1 NA 0 DC 1\n%1\nR1 NB NC 1\nR2 NC 0 1\n").arg(c.statement)));
        const auto* d = findElement<CDiodeSim>(h.doc, "D1");
        ASSERT_NE(d, nullptr);
        EXPECT_DOUBLE_EQ(d->IS, c.is) << c.statement;
        EXPECT_DOUBLE_EQ(d->RS, c.rs) << c.statement;
        EXPECT_EQ(d->Nodes[2], c.internal) << c.statement;
        // The internal node is numbered before the nodes of later statements.
        EXPECT_EQ(h.doc.FindNodeIndex("NC"), c.internal ? 4 : 3) << c.statement;
        EXPECT_EQ(h.doc.FindNodeIndex("$D1"), c.internal ? c.internal : -1) << c.statement;
    }
}

TEST(Diode, LargeCircuitsUseTheSmallerSystemsAndAgreeWithTheFullOne)
{
    // Alone, the 6 nodes around the diode take the full system; with a separate 24-node ladder the run
    // has 30 nodes and a reduced set of 6 (7 with the internal node).
    const QString region =
        "V1 NIN 0 PULSE -2 8 0 5N 5N 30N 80N\nR1 NIN NA1 100\nR2 NA1 NA2 100\nR3 NA2 NA3 100\n"
        "R4 NA3 NA4 100\nD1 NA4 NK IS=1E-14 N=1.5 RS=2\nR5 NK 0 50\n";
    SimHarness small;
    ASSERT_TRUE(small.runClean("* small\n" + region, "1ns", "80ns"));
    EXPECT_FALSE(small.doc.Minimal() || small.doc.Maximal());
    // Behind a 30-node chain the reduced set is too large and the run partitions instead.
    QString chain = "V1 NC0 0 PULSE -2 8 0 5N 5N 30N 80N\n";
    for (int i = 1; i < 30; ++i)
        chain += QString("R%1 NC%2 NC%1 20\n").arg(i).arg(i - 1);
    chain += "D1 NC29 NK IS=1E-14 N=1.5 RS=2\nR5 NK 0 50\n";
    for (const auto& [netlist, minimal] :
         {std::pair{"* large\n" + region + separateLadder(24), true}, {"* chain\n" + chain, false}}) {
        SimHarness mode;
        runAgreeingWithNone(mode, netlist, "1ns", "80ns", {"V(D1)", "I(D1)", "V(NK)"}, 1e-9, 0);
        EXPECT_GE(mode.doc.NodeCount(), 30);
        EXPECT_EQ(mode.doc.Minimal(), minimal);
        EXPECT_EQ(mode.doc.Maximal(), !minimal);
        EXPECT_EQ(mode.doc.ReducedNodeCount(), minimal ? 7 : 32);
    }
}

TEST(Transformer, OpenSecondaryFollowsTurnsRatio)
{
    const std::pair<const char*, double> cases[] = {
        // K sqrt(L2 / L1)
        {"L1=1U L2=100U K=0.99", 9.9},
        {"K=0.5 L2=1U L1=4U", 0.25},      // keys in any order
        {"L1=7U L2=9U K=0.9 L1=1U", 2.7}, // the later L1= counts
        {"L1=2U L2=2U K=0.3 IC=0,0", 0.3},
    };
    for (const auto& [keys, ratio] : cases) {
        SimHarness h;
        ASSERT_TRUE(h.runClean(QString("* ratio\nV1 NIN 0 PULSE 0 1 0 20N 20N 100N 400N\nR1 NIN NP 0.1\n"
                                       "K1 NP 0 NS 0 %1\nR2 NS 0 1G\n")
                                   .arg(keys),
                               "1ns", "30ns"));
        for (double t : {5e-9, 10e-9, 19e-9})
            EXPECT_NEAR(h.at("V(NS)", t) / h.at("V(NP)", t), ratio, 1e-4 * ratio) << keys;
    }
}

TEST(Transformer, BranchRowsFollowTheSystemsOwnNumbering)
{
    // VB takes branch 1 outside the diode's region; V1 and K1 follow with branches 2, 3, 4. In the
    // reduced system only V1 and K1 have branch rows, so K1's rows are not the global ones.
    const QString region =
        "V1 NIN 0 PULSE -1 4 0 3N 3N 20N 60N\nR1 NIN NP 1\nK1 NP 0 NS 0 L1=1U L2=4U K=0.95\n"
        "D1 NS NL IS=1E-14 RS=0.2\nRL NL 0 20\n";
    const QString reducedNet = "* reduced\n" + separateLadder(24) + region;
    SimHarness reduced;
    runAgreeingWithNone(reduced, reducedNet, "0.5ns", "60ns",
                        {"IL(K1)", "IR(K1)", "VR(K1)", "I(D1)", "V(NB23)"});
    EXPECT_TRUE(reduced.doc.Minimal());
    EXPECT_EQ(reduced.doc.ReducedBranchCount(), 3);

    // Behind a long chain the run partitions; the ladder is a partition of its own, numbered first.
    QString chain = "V1 NC0 0 PULSE -1 4 0 3N 3N 20N 60N\n";
    for (int i = 1; i < 26; ++i)
        chain += QString("R%1 NC%2 NC%1 0.05\n").arg(i).arg(i - 1);
    chain += "K1 NC25 0 NS 0 L1=1U L2=4U K=0.95\nD1 NS NL IS=1E-14\nRL NL 0 20\n";
    const QString partitionedNet = "* partitioned\n" + separateLadder(5) + chain;
    SimHarness parts;
    runAgreeingWithNone(parts, partitionedNet, "0.5ns", "60ns",
                        {"IL(K1)", "IR(K1)", "VL(K1)", "I(D1)", "V(NB4)"});
    EXPECT_TRUE(parts.doc.Maximal());
    EXPECT_EQ(parts.doc.PartitionCount(), 2);
}
