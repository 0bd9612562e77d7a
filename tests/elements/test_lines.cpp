// Lossless lines and the capacitor and inductor built as line stubs.
#include "CTLineCSim.h"
#include "CTLineLSim.h"
#include "CTransmissionLineSim.h"
#include "LineTestSupport.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QString kMatched = QStringLiteral("* line between a matched source and a load\n"
                                        "V1 NS 0 PULSE 0 1 0 0.1N 0.1N 1 2\n"
                                        "R1 NS NA 50\n"
                                        "%1\n"
                                        "R2 NB 0 %2\n");

QString matched(const QString& line, const QString& load = "50")
{
    return kMatched.arg(line, load);
}

} // namespace

TEST(LineTest, ReferenceCircuitInEveryMatrixMode)
{
    const ReferenceCase rc = loadReference("tline");
    for (const char* mode : kMatrixModes) {
        SimHarness h;
        runReference(h, rc, mode);
        EXPECT_EQ(h.doc.HistoryCount(), 100) << mode;
        // Each line cuts its circuit in two: source side, load side, and the two halves of T2.
        EXPECT_EQ(h.doc.PartitionCount(), QString(mode) == "Maximal" ? 4 : 0) << mode;

        // IL is the current out of the line into NA: the source's current, reversed.
        const auto il = h.trace("IL(T1)"), vs = h.trace("V(NS)"), va = h.trace("V(NA)");
        for (size_t j = 0; j < il.size(); ++j)
            ASSERT_NEAR(il[j], -(vs[j] - va[j]) / 50, 1e-12) << mode << j;
        EXPECT_NEAR(h.at("IL(T1)", 15e-9), -0.01, 1e-12);
        // IR of the open-ended charged line is 0; its port holds twice the arriving wave.
        EXPECT_NEAR(h.at("IR(T2)", 5e-9), 0, 1e-9);
        EXPECT_NEAR(h.at("V1R(T2)", 5e-9), 500, 1e-9);
        EXPECT_NEAR(h.at("V2R(T2)", 5e-9), 500, 1e-9);
        EXPECT_NEAR(h.at("VR(T2)", 5e-9), 1000, 1e-9);
    }
}

TEST(LineTest, TwoSubNetworksJoinedByALineAreTwoPartitions)
{
    const QString net = matched("T1 NA 0 NB 0 Z0=50 TD=3N", "150");
    SimHarness auto_, maximal;
    ASSERT_TRUE(auto_.run(net, "1ns", "20ns", "Auto"));
    ASSERT_TRUE(maximal.run(net, "1ns", "20ns", "Maximal"));
    EXPECT_EQ(maximal.doc.PartitionCount(), 2);
    const auto* line = findElement<CTransmissionLineSim>(maximal.doc, "T1");
    ASSERT_NE(line, nullptr);
    EXPECT_NE(line->PortPartition[0], line->PortPartition[1]);
    for (const char* trace : {"V(NA)", "V(NB)", "IL(T1)", "IR(T1)"})
        EXPECT_EQ(maximal.trace(trace), auto_.trace(trace));
    // 0.5 V arrives after 3 steps and 0.75 V is the load's share of the doubled wave.
    EXPECT_NEAR(maximal.at("V(NB)", 4e-9), 0.75, 1e-12);
    EXPECT_NEAR(maximal.at("V(NB)", 3e-9), 0, 1e-12);
}

TEST(LineTest, DelayInWholeStepsAndHistoryCount)
{
    struct Case {
        const char* td;
        int steps;
    } cases[] = {{"0", 1}, {"0.4N", 1}, {"-5N", 1}, {"2.4N", 2}, {"2.6N", 3}, {"40N", 40}};
    for (const Case& c : cases) {
        SimHarness h;
        ASSERT_TRUE(h.run(matched(QString("T1 NA 0 NB 0 50 %1").arg(c.td)), "1ns", "60ns")) << c.td;
        EXPECT_EQ(findElement<CTransmissionLineSim>(h.doc, "T1")->Delay, c.steps) << c.td;
        EXPECT_EQ(h.doc.HistoryCount(), c.steps) << c.td;
        // The front of the 0.5 V wave reaches the load exactly `steps` after it entered.
        const auto vb = h.trace("V(NB)");
        EXPECT_EQ(vb[size_t(c.steps)], 0.0) << c.td;
        EXPECT_NEAR(vb[size_t(c.steps) + 1], 0.5, 1e-12) << c.td;
    }
    // The longest line sets the history count.
    SimHarness h;
    ASSERT_TRUE(h.run(matched("T1 NA 0 NB 0 50 40N\nT2 NB 0 NC 0 50 10N\nR3 NC 0 50"), "1ns", "60ns"));
    EXPECT_EQ(h.doc.HistoryCount(), 40);
}

TEST(LineTest, StatementForms)
{
    struct Case {
        const char* statement;
        double z0, td, v, i;
        int warnings;
    } cases[] = {
        {"T1 N1 0 N2 0 50 10N", 50, 10e-9, 0, 0, 0},
        {"T1 N1 0 N2 0 Z0=50 TD=10N", 50, 10e-9, 0, 0, 0},
        {"T1 N1 0 N2 0 Z0=50 TD=10N IC=5", 50, 10e-9, 5, 0, 0},
        {"T1 N1 0 N2 0 Z0=50 TD=10N IC=5, 2", 50, 10e-9, 5, 2, 0},
        {"T1 N1 0 N2 0 Z0=50 TD=10N IC=5,", 50, 10e-9, 5, 0, 0},
        {"T1 N1 0 N2 0 Z0=50 TD=10N IC=5,2", 50, 10e-9, 5, 0, 1},
        {"T1 N1 0 N2 0 Z0=50 TD=10N X=5 2", 50, 10e-9, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SimHarness h;
        const QString net = QString("* forms\n%1\nR1 N1 0 50\nR2 N2 0 50\n").arg(c.statement);
        ASSERT_TRUE(h.run(net, "1ns", "5ns")) << c.statement;
        const auto* t = findElement<CTransmissionLineSim>(h.doc, "T1");
        ASSERT_NE(t, nullptr);
        EXPECT_DOUBLE_EQ(t->Z0, c.z0) << c.statement;
        EXPECT_DOUBLE_EQ(t->TD, c.td) << c.statement;
        EXPECT_DOUBLE_EQ(t->InitialVoltage, c.v) << c.statement;
        EXPECT_DOUBLE_EQ(t->InitialCurrent, c.i) << c.statement;
        EXPECT_EQ(h.problems().size(), c.warnings) << c.statement << qPrintable(h.problems().join('|'));
        EXPECT_TRUE(t->TerminalCount == 4 && t->Decoupled);
        // Initial waves: (V + I Z0) / 2 forward, (V - I Z0) / 2 backward.
        EXPECT_DOUBLE_EQ(t->W1[0], (c.v + c.i * c.z0) / 2);
        EXPECT_DOUBLE_EQ(t->W2[0], (c.v - c.i * c.z0) / 2);
    }
}

TEST(LineTest, RefusedStatements)
{
    struct Case {
        const char* statement;
        const char* message;
    } cases[] = {
        {"T1 N1 0 N2 0 50", "Invalid Netlist.  Not enough arguments: T1"},
        {"T1", "Invalid Netlist.  Not enough arguments: T1"},
        {"C1 N1 0 TL", "Invalid Netlist.  Not enough arguments: C1"},
        {"L1 N1 0 TL", "Invalid Netlist.  Not enough arguments: L1"},
        {"C1 N1 0 TL C=0", "Invalid Netlist.  Invalid C=0: C1"},
        {"L1 N1 0 TL 0NH", "Invalid Netlist.  Invalid L=0: L1"},
        // A delay that is no number of steps at all.
        {"T1 N1 0 N2 0 50 1E999", "Invalid Netlist.  Invalid TD: T1"},
        {"T1 N1 0 N2 0 50 -1E999", "Invalid Netlist.  Invalid TD: T1"},
        {"T1 N1 0 N2 0 50 TD=1E300", "Invalid Netlist.  Invalid TD: T1"},
    };
    for (const Case& c : cases) {
        SimHarness h;
        EXPECT_FALSE(h.run(QString("* bad\n%1\nR1 N1 0 50\n").arg(c.statement), "1ns", "5ns")) << c.statement;
        EXPECT_EQ(h.problems(), QStringList({c.message, "Error.  ProcessNetlist Failure."})) << c.statement;
        EXPECT_TRUE(h.doc.Elements().empty());
    }
}

TEST(LineTest, DelayLongerThanTheRunKeepsTheRunSmall)
{
    // A charged line into a matched load gives half its voltage until the wave sent back returns;
    // none returns within the run however long the line, so the history need not exceed the run.
    for (const char* td : {"150N", "1", "1E4", "1E9"}) {
        SimHarness h;
        const QString net = QString("* long\nT1 NA 0 NB 0 50 %1 IC=2\nR1 NA 0 50\n").arg(td);
        ASSERT_TRUE(h.run(net, "1ns", "100ns")) << td << qPrintable(h.problems().join('|'));
        EXPECT_EQ(h.doc.HistoryCount(), 101) << td;
        for (double v : h.trace("V(NA)"))
            ASSERT_DOUBLE_EQ(v, 1.0) << td;
        for (double v : h.trace("V(NB)"))
            ASSERT_DOUBLE_EQ(v, 2.0) << td;
    }
    // Exactly as long as the run plus one step: not shortened, the same traces.
    SimHarness h;
    ASSERT_TRUE(h.run("* edge\nT1 NA 0 NB 0 50 101N IC=2\nR1 NA 0 50\n", "1ns", "100ns"));
    EXPECT_EQ(findElement<CTransmissionLineSim>(h.doc, "T1")->Delay, 101);
    for (double v : h.trace("V(NA)"))
        ASSERT_DOUBLE_EQ(v, 1.0);
}

TEST(LineTest, ZeroAndNegativeImpedance)
{
    struct Case {
        const char* z0;
        double g;
    } cases[] = {{"0", 1e12}, {"-50", 1e-12}, {"1E-15", 1e12}, {"50", 0.02}};
    for (const Case& c : cases) {
        SimHarness h;
        ASSERT_TRUE(h.run(matched(QString("T1 NA 0 NB 0 %1 1N").arg(c.z0)), "0.1ns", "10ns", "Maximal"));
        const auto* t = findElement<CTransmissionLineSim>(h.doc, "T1");
        EXPECT_DOUBLE_EQ(t->G, c.g) << c.z0;
        EXPECT_DOUBLE_EQ(t->PortG[0], c.g);
        EXPECT_DOUBLE_EQ(t->PortG[1], c.g);
        // The port currents stay finite and agree with the resistors on either side.
        const auto il = h.trace("IL(T1)"), ir = h.trace("IR(T1)");
        const auto vs = h.trace("V(NS)"), va = h.trace("V(NA)"), vb = h.trace("V(NB)");
        for (size_t j = 0; j < il.size(); ++j) {
            ASSERT_TRUE(std::isfinite(il[j]) && std::isfinite(ir[j])) << c.z0 << " " << j;
            ASSERT_NEAR(il[j], -(vs[j] - va[j]) / 50, 1e-9 * 0.02) << c.z0 << " " << j;
            ASSERT_NEAR(ir[j], vb[j] / 50, 1e-9 * 0.02) << c.z0 << " " << j;
        }
    }
}

TEST(LineTest, MagneticallyInsulatedLinePartsRunAsNearShorts)
{
    struct Case {
        const char* statement;
        const char* valueWarning;
    } cases[] = {
        {"T1 NA 0 NB 0 MITL0 Z0=30 TD=1N IC=0", "Warning: Unrecognized Character in Netlist."},
        {"T1 NA 0 NB 0 MITL1 RI=10MM RO=20MM TD=1N EB=30MEG TOT=10N IC=0",
         "Warning: Unrecognized Character in Netlist"},
    };
    for (const Case& c : cases) {
        SimHarness h;
        ASSERT_TRUE(h.run(matched(c.statement), "0.1ns", "10ns")) << c.statement;
        const QString kind = QString(c.statement).section(' ', 5, 5);
        EXPECT_EQ(h.problems(),
                  QStringList({c.valueWarning,
                               "Warning: T1 (" + kind +
                                   ") has no model of its own; it runs as a one-step near-short line."}));
        const auto* t = findElement<CTransmissionLineSim>(h.doc, "T1");
        EXPECT_EQ(t->Z0, 0.0);
        EXPECT_EQ(t->Delay, 1);
        EXPECT_EQ(t->G, 1e12);
        EXPECT_EQ(t->InitialVoltage, 0.0);
        // The source sees a short: all of its current flows into the line.
        EXPECT_NEAR(h.at("IL(T1)", 5e-9), -0.02, 1e-12);
        EXPECT_NEAR(h.at("V(NA)", 5e-9), 0, 1e-9);
    }
}

TEST(LineTest, TraceNames)
{
    SimHarness h;
    ASSERT_TRUE(h.run(matched("T7 NA 0 NB 0 50 1N"), "1ns", "2ns"));
    auto* t = findElement<CTransmissionLineSim>(h.doc, "T7");
    struct Case {
        const char* group;
        QStringList names;
    } cases[] = {
        {"TLine Voltages", {"VL(T7)", "VR(T7)"}},
        {"TLine Currents", {"IL(T7)", "IR(T7)"}},
        {"TLine Waves", {"V2L(T7)", "V1L(T7)", "V2R(T7)", "V1R(T7)"}},
        {"Part Voltages", {}},
        {"Part Currents", {}},
    };
    for (const Case& c : cases) {
        QStringList list;
        t->AddOutputNames(c.group, list);
        EXPECT_EQ(list, c.names) << c.group;
        for (const QString& name : list)
            EXPECT_FALSE(h.trace(name).empty()) << qPrintable(name);
    }
    EXPECT_TRUE(h.trace("I(T7)").empty());
    // The arriving and the departing wave add up to the port voltage.
    const auto vl = h.trace("VL(T7)"), v1 = h.trace("V1L(T7)"), v2 = h.trace("V2L(T7)");
    for (size_t j = 0; j < vl.size(); ++j)
        EXPECT_DOUBLE_EQ(v1[j] + v2[j], vl[j]);
}

// ---------------------------------------------------------------------------------------------
// Stubs

TEST(LineStubTest, StubRlcRingFollowsTheLumpedReference)
{
    const ReferenceCase rc = loadReference("rlc");
    QString net = rc.netlist;
    net.replace("L1 N1 N2 1U IC=0", "L1 N1 N2 TL 1U IC=0");
    net.replace("C1 N2 0 1N IC=0", "C1 N2 0 TL C=1N IC=0");
    net.replace("C3 N5 0 1N IC=5", "C3 N5 0 TL 1N IC=5");
    for (const char* mode : {"Auto", "Maximal"}) {
        SimHarness h;
        ASSERT_TRUE(h.run(net, rc.step, rc.span, mode, rc.start)) << qPrintable(h.problems().join('|'));
        for (const auto& p : rc.points) {
            // The capacitor stub updates every second step: where the ring is steep its staircase
            // lags by up to a step; at the peaks (zero slope) it agrees closely.
            const bool peak = std::fabs(p.time - 100.6e-9) < 1e-12 || std::fabs(p.time - 201.2e-9) < 1e-12;
            const double tolerance = p.trace == "V(N5)" ? p.tolerance : peak ? 5e-6 : 3e-3;
            EXPECT_NEAR(h.at(p.trace, p.time), p.value, tolerance)
                << mode << " " << qPrintable(p.trace) << " " << p.time;
        }
    }
}

TEST(LineStubTest, InductorStubDecaysThroughAResistor)
{
    // 1 A circulating through L = 1 uH and R = 10 ohm: V = -10 exp(-t / 100 ns). The initial current
    // is the state one step before the first point, so the run leads the exact curve by one step.
    for (const char* mode : {"Auto", "Maximal"}) {
        SimHarness h;
        ASSERT_TRUE(h.run("* LR\nL1 N1 0 TL L=1U IC=1\nR1 N1 0 10\n", "0.1ns", "400ns", mode));
        for (double t : {0.0, 1e-9, 100e-9, 400e-9})
            EXPECT_NEAR(h.at("V(N1)", t), -10 * std::exp(-(t + 0.1e-9) / 100e-9), 1e-5) << mode << " " << t;
    }
}
