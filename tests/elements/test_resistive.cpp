// Resistor, switch, ideal diode and variable resistor, run through whole netlists.
#include "COrliskWave.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>

namespace {

constexpr double ns = 1e-9;
using Points = std::vector<std::pair<double, double>>; // (t in ns, expected value)

void expectTrace(SimHarness& h, const QString& expression, const Points& points, double relTol = 1e-9)
{
    for (const auto& [t, expected] : points)
        EXPECT_NEAR(h.at(expression, t * ns), expected, std::abs(expected) * relTol + 1e-12)
            << qPrintable(expression) << " at " << t << " ns";
}

bool allFinite(const std::vector<double>& v)
{
    return !v.empty() && std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
}

} // namespace

TEST(Resistor, CurrentsAndEnergiesUseTheClampedConductance)
{
    SimHarness h;
    ASSERT_TRUE(
        h.runClean("* clamp\nV1 N1 0 DC 10\nR1 N1 N2 4\nR3 N2 0 0\nRA N1 0 1K\nRB N1 0 -5\nRC N1 0 1E-15\n",
                   "1ns", "10ns"));
    const std::tuple<const char*, double, double> cases[] = {
        {"I(R1)", 2.5, 1e-9},   {"E(R1)", 25 * ns, 1e-15}, {"R(R1)", 4, 0},     {"I(R3)", 2.5, 1e-6},
        {"I(RA)", 1e-2, 1e-15}, {"I(RB)", 1e-11, 1e-21},   {"I(RC)", 1e13, 1e3}};
    for (const auto& [trace, value, tolerance] : cases)
        EXPECT_NEAR(h.at(trace, 5 * ns), value, tolerance) << trace;
    EXPECT_TRUE(allFinite(h.trace("E(R3)")));
}

TEST(Resistor, PartsWithoutModelRunAsNearShortWithAWarning)
{
    const std::pair<const char*, int> cases[] = {
        {"R_M1 N2 0 MOV C=2NF VT=100 N=-15", 1},
        {"R_O1 N2 0 OILSW GAP=10 EB1P=2000 EB1N=2000 EB2P=2000 EB2N=50", 2}, // also the number warning
        {"R_P1 N2 0 PLDIODE EL=1 EW=1 EG=1 CV=2 IM=1 BF=50 TOT=10 AET=1", 1},
    };
    for (const auto& [line, messages] : cases) {
        SimHarness h;
        const QString name = QString(line).section(' ', 0, 0);
        ASSERT_TRUE(h.run(QString("* no model\nV1 N1 0 DC 10\nR1 N1 N2 10\n") + line + "\n", "1ns", "10ns"));
        const QStringList problems = h.problems();
        ASSERT_EQ(problems.size(), messages) << qPrintable(problems.join('\n'));
        EXPECT_TRUE(problems.last().contains(name) && problems.last().contains("near short circuit"))
            << qPrintable(problems.last());
        EXPECT_NEAR(h.at("I(" + name + ")", 5 * ns), 1.0, 1e-9) << line;
        EXPECT_TRUE(allFinite(h.trace("I(" + name + ")")) && allFinite(h.trace("E(" + name + ")")));
    }
}

TEST(Switch, TimeCriterionLaws)
{
    // R0 100, R1 0.1, closure at 10 ns, tau 2 ns; TANH is centred on the critical time from the start.
    const std::pair<const char*, Points> cases[] = {
        {"EXP", {{9, 100}, {10, 100}, {12, 36.85115617302709}, {14, 13.61999479533761}}},
        {"LIN", {{9, 100}, {10, 100}, {11, 50.05}, {12, 0.1}, {50, 0.1}}},
        {"T0/T", {{10, 100}, {11, 2}, {12, 1}, {14, 0.5}, {40, 0.1}}},
        {"TANH", {{0, 99.99546475291662}, {10, 50.05}, {12, 12.008371910009545}}},
    };
    for (const auto& [law, points] : cases) {
        SimHarness h;
        ASSERT_TRUE(h.runClean(QString("* time\nV1 N1 0 DC 2\nS1 N1 0 TIME 100 0.1 10N 2N %1\n").arg(law)));
        expectTrace(h, "R(S1)", points);
        // The current and energy traces use the resistance of each step.
        EXPECT_NEAR(h.at("I(S1)", 11 * ns), 2 / h.at("R(S1)", 11 * ns), 1e-9);
        const double e1 = 4 * ns / h.at("R(S1)", 0) + 4 * ns / h.at("R(S1)", 1 * ns);
        EXPECT_NEAR(h.at("E(S1)", 1 * ns), e1, e1 * 1e-12);
    }
}

TEST(Switch, VoltageAndCurrentCriteria)
{
    // A ramp of 1 V/ns: |v| of the previous step reaches 4.5 V at 6 ns, whatever its sign.
    for (const char* v2 : {"10", "-10"}) {
        SimHarness h;
        ASSERT_TRUE(h.runClean(
            QString("* volt\nV1 N1 0 PULSE 0 %1 0 10N 10N 100N 200N\nS1 N1 0 VOLT 1E6 1 4.5 1N TANH\n")
                .arg(v2)));
        expectTrace(h, "R(S1)", {{5, 1e6}, {6, 1e6}, {7, 238406.6056383911}, {8, 35973.38395176317}});
    }
    // Closed by a 3 ns pulse, the switch keeps falling after the voltage is gone.
    SimHarness latch;
    ASSERT_TRUE(latch.runClean("* latch\nV1 N1 0 PULSE 0 10 0 1N 1N 2N 100N\nS1 N1 0 VOLT 1E6 1 5 1N EXP\n"));
    EXPECT_EQ(latch.at("V(S1)", 20 * ns), 0);
    expectTrace(latch, "R(S1)",
                {{1, 1e6}, {2, 1e6}, {3, 367880.07329200115}, {5, 49788.01858079558}, {60, 1}}, 1e-6);
    // The current criterion is signed: i = v / R0 of the previous step reaches 0.045 A at 5 ns.
    for (const char* v2 : {"10", "-10"}) {
        SimHarness h;
        ASSERT_TRUE(h.runClean(
            QString("* cur\nV1 N1 0 PULSE 0 %1 0 10N 10N 100N 200N\nS1 N1 0 CUR 100 1 0.045 1N LIN\n")
                .arg(v2)));
        if (QString(v2) == "10")
            expectTrace(h, "R(S1)", {{5, 100}, {6, 100}, {7, 1}});
        else
            for (double r : h.trace("R(S1)"))
                EXPECT_EQ(r, 100);
    }
}

TEST(Switch, EnergyCriterionCountsEachStepOnceWhileADiodeIterates)
{
    // 10 V across 100 ohms dissipates 1 nJ per step: 4.5 nJ are passed after the step at 4 ns.
    const QString netlist = "* energy\nV1 N1 0 DC 10\nRX1 N1 0 1K\nS1 N1 0 ENERGY 100 1 4.5N 2N LIN\n";
    SimHarness plain, diode;
    ASSERT_TRUE(plain.runClean(netlist));
    ASSERT_TRUE(diode.runClean(netlist + "V2 N2 0 DC 5\nR2 N2 N3 10\nD2 N3 0 1N4004\n"));
    for (SimHarness* h : {&plain, &diode})
        expectTrace(*h, "R(S1)", {{4, 100}, {5, 100}, {6, 50.5}, {7, 1}});
    EXPECT_NEAR(plain.at("E(S1)", 4 * ns), 5 * ns, 1e-18);
    expectSameTraces(diode, plain, {"E(S1)"}, 0, 0);
}

TEST(Switch, ClosureAtOrBeforeTimeZeroAndInstantLaws)
{
    // From -10 ns the ramp is t + 10 V; the previous step's 9 V passes 8.5 V at exactly t = 0.
    SimHarness h;
    ASSERT_TRUE(
        h.runClean("* zero\nV1 N1 0 PULSE 0 20 -10N 20N 1N 100N 200N\nS1 N1 0 VOLT 100 1 8.5 1N EXP\n", "1ns",
                   "20ns", "Auto", "-10ns"));
    expectTrace(h, "R(S1)", {{-1, 100}, {0, 100}, {1, 37.42006467597279}, {2, 14.398193040424658}});
    // A negative critical time in a run that starts earlier still waits for it.
    SimHarness early;
    ASSERT_TRUE(early.runClean("* early\nV1 N1 0 DC 1\nS1 N1 0 TIME 100 1 -5.5N 1N LIN\n", "1ns", "20ns",
                               "Auto", "-10ns"));
    expectTrace(early, "R(S1)", {{-10, 100}, {-6, 100}, {-5, 100}, {-4, 1}});
    // A time constant of zero switches at once; the VOLT switch sees its 1 V from step 0 on.
    for (const char* law : {"0 EXP", "0 LIN", "0 T0/T", "0 TANH"})
        for (const auto& [criterion, closure] :
             {std::pair{"TIME 100 1 10N", 10.0}, {"VOLT 100 1 0.5", 1.0}}) {
            SimHarness s;
            ASSERT_TRUE(s.runClean(QString("* instant\nV1 N1 0 DC 1\nS1 N1 0 %1 %2\n").arg(criterion, law),
                                   "1ns", "20ns"));
            expectTrace(s, "R(S1)", {{closure - 1, 100}, {closure, 1}, {closure + 1, 1}});
            EXPECT_TRUE(allFinite(s.trace("I(S1)"))) << law;
        }
}

TEST(Switch, MatrixModesAgree)
{
    // Each moving switch must have its own partition rebuilt, whichever of its terminals is grounded.
    const QString netlist =
        "* modes\nV1 N1 0 DC 10\nR1 N1 N2 10\nS1 N2 0 TIME 1E6 1 10N 1N EXP\n"
        "V2 N3 0 PULSE 0 10 0 10N 10N 100N 200N\nR2 N3 N4 10\nS2 0 N4 VOLT 1E6 1 4.5 2N LIN\n"
        "V3 N6 0 DC 5\nD1 N6 N5 IDIODE RON=1 ROFF=1MEG\nR3 N5 0 VARR POWER 1 2 1\n";
    expectModesAgree(netlist, {"V(N2)", "V(N4)", "V(N5)"}, "1ns", "40ns", {"Minimal", "Maximal"}, 1e-12,
                     1e-9);
    SimHarness none;
    ASSERT_TRUE(none.run(netlist, "1ns", "40ns", "None"));
    EXPECT_LT(none.at("V(N2)", 30 * ns), 1.0); // the switches did close
    EXPECT_LT(none.at("V(N4)", 30 * ns), 1.0);
}

TEST(IdealDiode, HoldsOffThenRampsBySignOfLastFourVoltages)
{
    // Forward 5 V until 20 ns, then reverse; 20 ohms per step between 101 and 1 ohm. At 23 ns the last
    // four voltages cancel exactly, so the resistance stays.
    SimHarness h;
    ASSERT_TRUE(h.runClean(
        "* idiode\nV1 N1 0 PULSE 5 -5 20N 0 0 1000N 2000N\nD1 N1 N2 IDIODE RON=1 ROFF=101\nR2 N2 0 1\n",
        "1ns", "40ns"));
    std::vector<double> expected(31, 1.0);
    for (int j : {0, 1, 2, 3, 4, 5, 28, 29, 30})
        expected[size_t(j)] = 101;
    for (const auto& [j, r] :
         {std::pair{6, 81}, {7, 61}, {8, 41}, {9, 21}, {24, 21}, {25, 41}, {26, 61}, {27, 81}})
        expected[size_t(j)] = r;
    std::vector<double> r = h.trace("R(D1)");
    r.resize(expected.size());
    EXPECT_EQ(r, expected);
}

TEST(VariableR, PowerLawAndPulseShape)
{
    const QString ramp = "* power\nV1 N1 0 PULSE 0 10 0 10N 10N 100N 200N\n";
    for (const char* line : {"R1 N1 0 VARR POWER A=1 B=2 N=1", "R1 N1 0 VARR POWER 1 2 1"}) {
        SimHarness h;
        ASSERT_TRUE(h.runClean(ramp + line + "\n", "1ns", "10ns"));
        expectTrace(h, "R(R1)", {{0, 1}, {1, 1}, {2, 3}, {6, 11}});
        EXPECT_NEAR(h.at("I(R1)", 6 * ns), 6.0 / 11, 1e-12);
    }
    // A negative voltage to a fractional power has no real value: the law is taken as symmetric
    // (R from the previous step's -4 V is 1 + 2*sqrt(4) = 5 ohms), never NaN and never an open.
    SimHarness root;
    ASSERT_TRUE(root.runClean("* root\nV1 N1 0 PULSE 0 -10 0 10N 10N 100N 200N\nR1 N1 0 VARR POWER 1 2 0.5\n",
                              "1ns", "10ns"));
    EXPECT_NEAR(root.at("R(R1)", 5 * ns), 5.0, 1e-12);
    EXPECT_NEAR(root.at("I(R1)", 5 * ns), -1.0, 1e-12);
    EXPECT_TRUE(allFinite(root.trace("E(R1)")));

    // The PULSE defaults of a 100-step run: TD 0, TR = TF = 1 ns, PW 25 ns, PER 50 ns.
    SimHarness defaults, given;
    ASSERT_TRUE(defaults.runClean("* pulse\nV1 N1 0 DC 10\nR1 N1 0 VARR PULSE 10 20\n"));
    expectTrace(defaults, "R(R1)", {{0, 10}, {1, 20}, {25, 20}, {26, 20}, {27, 10}, {50, 10}, {51, 20}},
                1e-6);
    ASSERT_TRUE(given.runClean("* pulse\nV1 N1 0 DC 10\nR1 N1 0 VARR PULSE 10 20 2N 4N 4N 10N 40N\n"));
    expectTrace(given, "R(R1)", {{2, 10}, {4, 15}, {8, 20}, {18, 15}, {22, 10}, {44, 15}});
    EXPECT_NEAR(given.at("I(R1)", 8 * ns), 0.5, 1e-12);
}

TEST(VariableR, OrliskWaveformFromTheInputFolder)
{
    QTemporaryDir dir;
    COrliskWave w;
    w.Version = 3;
    w.FirstSampleTime = w.SampleInterval = 2e-9f;
    w.SetSamples({10, 30, 50});
    ASSERT_TRUE(w.Write(dir.filePath("TRACE.wvf")));
    SimHarness h;
    h.doc.Settings().sourceMode = "Path";
    h.doc.Settings().path = dir.path() + "\\";
    ASSERT_TRUE(h.runClean("* orlisk\nV1 N1 0 DC 10\nR1 N1 0 VARR ORLISK trace\n", "1ns", "10ns"));
    // Before the first sample the waveform gives 0 ohms: a near short.
    expectTrace(h, "R(R1)", {{0, 0}, {2, 10}, {3, 20}, {4, 30}, {6, 50}, {10, 50}}, 1e-5);
    EXPECT_NEAR(h.at("I(R1)", 4 * ns), 10.0 / 30, 1e-5);
    EXPECT_TRUE(allFinite(h.trace("I(R1)")));
}
