// Capacitor, inductor and the variable capacitor with the capacitance laws behind it.
#include "CCapacitorSim.h"
#include "CapacitanceLaw.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

TEST(Capacitive, InitialConditions)
{
    // Alone on its node a charged capacitor keeps its voltage and carries no current.
    SimHarness c;
    ASSERT_TRUE(
        c.runClean("*\nC1 N1 0 1N IC=5\nC2 N2 0 1N 5\nC3 N3 0 1N\nR3 N3 0 1K\n", "1ns", "10ns", "None"));
    for (const auto& [trace, value] :
         {std::pair{"V(C1)", 5.0}, {"V(C2)", 5.0}, {"I(C2)", 0.0}, {"V(C3)", 0.0}})
        for (double v : c.trace(trace))
            EXPECT_NEAR(v, value, 1e-12) << trace;

    // 2 A through 1 uH into 1 ohm: the first column solves v (1/R + dt/2L) = -IC, then L/R = 1 us.
    SimHarness l;
    ASSERT_TRUE(l.runClean("*\nL1 N1 0 1U IC=2\nR1 N1 0 1\n", "1ns", "2us", "None"));
    const double g = 1e-9 / 2e-6, v0 = -2.0 / (1.0 + g);
    EXPECT_NEAR(l.trace("V(L1)")[0], v0, 1e-12);
    EXPECT_NEAR(l.trace("I(L1)")[0], 2.0 + g * v0, 1e-12);
    EXPECT_NEAR(l.at("I(L1)", 1e-6), 2.0 * std::exp(-1.0), 2e-3);
    EXPECT_NEAR(l.at("V(N1)", 1e-6), -l.at("I(L1)", 1e-6), 1e-9);
}

TEST(Capacitive, ConductanceIsClampedAtBothEnds)
{
    // A zero inductance stands for 0.1 pH.
    const std::pair<const char*, double> cases[] = {
        {"C1 N1 0 0", 1e-12},    {"C1 N1 0 -1N", 1e-12},  {"C1 N1 0 1MEG", 1e12},
        {"C1 N1 0 1N", 2.0},     {"L1 N1 0 1MEG", 1e-12}, {"L1 N1 0 -1U", 1e-12},
        {"L1 N1 0 1E-25", 1e12}, {"L1 N1 0 1U", 5e-4},    {"L1 N1 0 0", 1e-9 / 2e-13}};
    for (const auto& [line, geq] : cases) {
        SimHarness sim;
        ASSERT_TRUE(
            sim.runClean(QString("*\n%1\nR1 N1 0 1K\nV1 N1 0 DC 1\n").arg(line), "1ns", "5ns", "None"));
        const auto* e = dynamic_cast<CCapacitorSim*>(sim.doc.Elements()[0].get());
        ASSERT_NE(e, nullptr);
        EXPECT_DOUBLE_EQ(e->Geq, geq) << line;
        for (double i : sim.trace("I(" + e->Name + ")"))
            EXPECT_TRUE(std::isfinite(i)) << line;
    }
}

TEST(Capacitive, EnergyIsTheRunningSumAndLinearCircuitsFactorOnce)
{
    SimHarness sim;
    ASSERT_TRUE(
        sim.runClean("*\nV1 N1 0 PULSE 0 1\nR1 N1 N2 1K\nL1 N2 N3 1U\nC1 N3 0 1N\n", "1ns", "20ns", "None"));
    EXPECT_EQ(sim.doc.FactorCount(), 1);
    const auto v = sim.trace("V(C1)"), i = sim.trace("I(C1)"), e = sim.trace("E(C1)"),
               il = sim.trace("I(L1)");
    ASSERT_EQ(e.size(), v.size());
    double sum = 0;
    for (size_t j = 0; j < e.size(); ++j) {
        sum += v[j] * i[j] * 1e-9;
        EXPECT_NEAR(e[j], sum, 1e-24);
        EXPECT_NEAR(i[j], il[j], 1e-12);
    }
}

TEST(CapacitanceLaw, DielectricCurvesFixedAndPolynomial)
{
    // C / C0 for C0 = 1 nF, VRATED 100 V, worked out by hand from the curves.
    // clang-format off
    const std::tuple<const char*, double, double> cases[] = {
        {"Z5V", 0, 1.0},           {"Z5V", 50, 0.8748754375}, {"Z5V", -50, 0.8748754375},
        {"HRS", 50, 0.943693946875}, {"Z5V", 100, 0.574647},  {"Z5V", 200, 0.263806},
        {"HRS", 200, 0.6687127},   {"Z5V", 300, -0.038294},   {"X7R", 50, 1e-3},  {"Z5V", 110, 0.5357}};
    // clang-format on
    CapacitanceLaw law;
    law.Kind = "STANDARD";
    law.C0 = 1e-9;
    law.Vrated = 100;
    for (const auto& [dielectric, volts, ratio] : cases) {
        law.SetDielectric(dielectric);
        EXPECT_NEAR(law.Capacitance(volts) / 1e-9, ratio, volts == 110 ? 1e-4 : 1e-9) << dielectric << volts;
    }
    law.SetDielectric("Z5V"); // the pieces meet at 110 %
    EXPECT_NEAR(law.Capacitance(109.999999), law.Capacitance(110.000001), 1e-15);

    law.Kind = "FIXED";
    law.Fixed = 3e-9;
    EXPECT_EQ(law.Capacitance(-7), 3e-9);
    law.Kind = "POLYNOMIAL";
    law.c0 = 1e-9, law.c1 = 2e-10, law.c2 = 3e-11, law.c3 = 4e-12;
    EXPECT_NEAR(law.Capacitance(2), 1e-9 + 4e-10 + 1.2e-10 + 3.2e-11, 1e-24);
    EXPECT_NEAR(law.Capacitance(-1), 1e-9 - 2e-10 + 3e-11 - 4e-12, 1e-24);
    law.Kind = "";
    EXPECT_EQ(law.Capacitance(1), 1e-12);
}

namespace {
const QString kDriven = "*\nV1 N1 0 PULSE 0 2 5N 10N 10N 30N 100N\nR1 N1 N2 50\n";
}

TEST(VarC, FixedLawRunsAsLinearCapacitorWithoutRefactoring)
{
    SimHarness var, lin;
    ASSERT_TRUE(var.runClean(kDriven + "C1 N2 0 VARC FIXED 1N IC=0.5\n", "1ns", "100ns", "None"));
    ASSERT_TRUE(lin.runClean(kDriven + "C1 N2 0 1N IC=0.5\n", "1ns", "100ns", "None"));
    expectSameTraces(var, lin, {"V(C1)", "I(C1)"}, 1e-12, 0);
    EXPECT_EQ(var.doc.FactorCount(), 1);
    // The charge moved since the start: for a fixed law exactly C (v - IC).
    const auto v = var.trace("V(C1)"), q = var.trace("Q(C1)");
    for (size_t j = 0; j < v.size(); ++j)
        EXPECT_NEAR(q[j], 1e-9 * (v[j] - 0.5), 1e-20);
    for (double c : var.trace("C(C1)"))
        EXPECT_EQ(c, 1e-9);
}

TEST(VarC, LawFollowsThePreviousStepVoltageAndHoldsWhereItTurnsNegative)
{
    SimHarness sim;
    ASSERT_TRUE(
        sim.runClean(kDriven + "C1 N2 0 VARC POLYNOMIAL 1N 0.1N 0.01N 0.001N IC=2\n", "1ns", "100ns"));
    const auto v = sim.trace("V(C1)"), c = sim.trace("C(C1)");
    const auto poly = [](double x) { return 1e-9 * (1 + 0.1 * x + 0.01 * x * x + 0.001 * x * x * x); };
    EXPECT_NEAR(c[0], 1.248e-9, 1e-21); // at the initial voltage
    for (size_t j = 1; j < c.size(); ++j)
        EXPECT_NEAR(c[j], poly(v[j - 1]), 1e-21) << j;

    SimHarness neg;
    ASSERT_TRUE(neg.runClean(kDriven + "C1 N2 0 VARC POLYNOMIAL 1N -1N 0 0 IC=0\n", "1ns", "100ns"));
    const auto nv = neg.trace("V(C1)"), nc = neg.trace("C(C1)");
    int held = 0;
    for (size_t j = 1; j < nc.size(); ++j)
        if (nv[j - 1] >= 1.0) {
            EXPECT_EQ(nc[j], nc[j - 1]) << j;
            ++held;
        }
    EXPECT_GT(held, 0);
}

TEST(VarC, MatrixModesAgree)
{
    // The conductance changes at every step: each mode must rebuild the system that holds it.
    expectModesAgree(kDriven + "C1 N2 0 VARC STANDARD HRS 2N 1 IC=0\nL1 N2 N3 100N\nR3 N3 0 20\n", {"V(N3)"},
                     "1ns", "100ns", {"Auto", "Minimal", "Maximal"}, 1e-9, 0);
}

TEST(Capacitive, CurrentsOfAStoppedRunAreTheFullRunsUpToItsLastStep)
{
    // Linear capacitors and inductors find their currents again from the voltages: a stopped run's
    // are the full run's to the bit, and 0 beyond its last step, as kept currents were (so the
    // energy holds its last value there).
    const QString netlist = "*\nV1 N1 0 PULSE 0 1 0 2N 2N 20N 40N\nR1 N1 N2 10\nL1 N2 N3 100N 0.05\n"
                            "C1 N3 0 1N 0.5\nR2 N3 0 50\n";
    SimHarness full, stopped;
    ASSERT_TRUE(full.runClean(netlist, "0.1ns", "100ns", "Auto"));
    stopped.ui.onPump = [&]() {
        if (stopped.doc.IsRunning() && stopped.ui.pumpCount == 3) stopped.doc.RequestStop();
    };
    ASSERT_TRUE(stopped.run(netlist, "0.1ns", "100ns", "Auto"));
    const int points = stopped.doc.Results().PointCount(), columns = full.doc.Results().PointCount();
    ASSERT_LT(points, columns);
    for (const char* trace : {"I(C1)", "E(C1)", "I(L1)", "E(L1)"}) {
        const size_t width = size_t(columns);
        std::vector<double> a(width), b(width);
        ASSERT_TRUE(full.doc.GetTraceValues(trace, columns, a.data()));
        ASSERT_TRUE(stopped.doc.GetTraceValues(trace, columns, b.data()));
        const bool energy = trace[0] == 'E';
        for (int j = 0; j < columns; ++j)
            ASSERT_EQ(b[size_t(j)], j < points ? a[size_t(j)]
                                    : energy   ? b[size_t(points - 1)]
                                               : 0.0)
                << trace << " point " << j;
    }
}

TEST(Capacitive, GatheredBatchesStampAsElementByElement)
{
    // Capacitors and inductors that follow each other in the netlist take their steps as one gathered
    // batch of their class; a current source of nothing after each of them splits the batches into
    // single elements. Nothing else differs, so every trace must agree to the last bit in every mode,
    // with and without a diode whose iterations rebuild the matrix. The P nodes come first, so their
    // numbers follow each other: grounded elements on them form runs (of odd and even lengths).
    const int sections = 12;
    QString head = "*\nV1 N1 0 PULSE 0 1 0 1N 1N 5N 10N\nRP0 N1 P1 2\n";
    for (int i = 1; i < 10; ++i)
        head += QString("RP%1 P%1 P%2 5\n").arg(i).arg(i + 1);
    QString inductors[2], capacitors[2];
    QStringList traces;
    for (int i : {1, 2, 3, 4, 5, 6, 7, 9, 10}) {
        const QString c = QString("CP%1 P%1 0 2P %2\n").arg(i).arg(0.1 * i);
        capacitors[0] += c;
        capacitors[1] += c + QString("ICP%1 0 0 DC 0\n").arg(i);
        traces << QString("V(P%1)").arg(i) << QString("I(CP%1)").arg(i);
    }
    for (int i = 2; i <= 6; ++i) {
        const QString l = QString("LP%1 P%1 0 %2N 0.01\n").arg(i).arg(20 + i);
        inductors[0] += l;
        inductors[1] += l + QString("ILP%1 0 0 DC 0\n").arg(i);
        traces << QString("I(LP%1)").arg(i);
    }
    for (int i = 1; i <= sections; ++i) {
        head += QString("R%1 N%1 M%1 1\n").arg(i);
        const QString l = QString("L%1 M%1 N%2 10N\n").arg(i).arg(i + 1);
        const QString c = QString("C%1 N%2 0 1P 0.5\n").arg(i).arg(i + 1);
        inductors[0] += l;
        capacitors[0] += c;
        inductors[1] += l + QString("IL%1 0 0 DC 0\n").arg(i);
        capacitors[1] += c + QString("IC%1 0 0 DC 0\n").arg(i);
    }
    head += QString("R0 N%1 0 50\n").arg(sections + 1);
    for (int i = 1; i <= sections; ++i)
        traces << QString("V(N%1)").arg(i + 1) << QString("I(L%1)").arg(i) << QString("I(C%1)").arg(i);
    const QString diode = "D1 N6 0 IS=1E-14 N=1 RS=0.5 IC=0\n";
    for (const QString& extra : {QString(), diode})
        for (const char* mode : kMatrixModes) {
            SimHarness gathered, single;
            const QString netlist = head + extra;
            ASSERT_TRUE(gathered.runClean(netlist + inductors[0] + capacitors[0], "0.1ns", "20ns", mode));
            ASSERT_TRUE(single.runClean(netlist + inductors[1] + capacitors[1], "0.1ns", "20ns", mode));
            for (const QString& t : traces) {
                const std::vector<double> got = gathered.trace(t), want = single.trace(t);
                ASSERT_EQ(got.size(), want.size()) << qPrintable(t);
                for (size_t j = 0; j < got.size(); ++j)
                    ASSERT_EQ(std::bit_cast<std::uint64_t>(got[j]), std::bit_cast<std::uint64_t>(want[j]))
                        << mode << " " << qPrintable(extra + t) << " point " << j;
            }
        }
}
