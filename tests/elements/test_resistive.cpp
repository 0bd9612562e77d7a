// Resistor, switch, ideal diode and variable resistor, run through whole netlists.
#include "COrliskWave.h"
#include "CResistorSim.h"
#include "CSimulatorDoc.h"
#include "ElementClass.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr double ns = 1e-9;

// Runs the netlist, which must succeed without any message.
void runClean(SimHarness& h, const QString& netlist, const QString& span = "100ns",
              const QString& start = "0ns", const QString& mode = "Auto")
{
    ASSERT_TRUE(h.run(netlist, "1ns", span, mode, start)) << qPrintable(h.ui.messages.join('\n'));
    EXPECT_TRUE(h.problems().isEmpty()) << qPrintable(h.problems().join('\n'));
}

using Points = std::vector<std::pair<double, double>>; // (t in ns, expected value)

void expectTrace(SimHarness& h, const QString& expression, const Points& points, double relTol = 1e-9)
{
    for (const auto& [t, expected] : points)
        EXPECT_NEAR(h.at(expression, t * ns), expected, std::abs(expected) * relTol + 1e-12)
            << qPrintable(expression) << " at " << t << " ns";
}

bool allFinite(const std::vector<double>& v)
{
    for (double x : v)
        if (!std::isfinite(x)) return false;
    return !v.empty();
}

} // namespace

TEST(Resistor, ConductanceIsClamped)
{
    const std::pair<const char*, double> cases[] = {
        {"1K", 1e-3}, {"0", 1e12}, {"-5", 1e-12}, {"1E-15", 1e12}};
    for (const auto& [value, g] : cases) {
        ScriptedUiServices ui;
        CSimulatorDoc doc;
        CResistorSim r(&doc);
        ASSERT_TRUE(r.Parse({"R1", "N1", "0", value}));
        r.Initialise();
        EXPECT_DOUBLE_EQ(r.Conductance, g) << value;
    }
}

TEST(Resistor, TracesFollowTheStampedConductance)
{
    SimHarness h;
    runClean(h, "* divider\nV1 N1 0 DC 10\nR1 N1 N2 4\nR2 N2 0 1\nR3 N2 0 0\n", "10ns");
    EXPECT_NEAR(h.at("I(R1)", 5 * ns), 2.5, 1e-9); // R3 shorts N2
    EXPECT_NEAR(h.at("E(R1)", 5 * ns), 25 * ns, 1e-15);
    EXPECT_DOUBLE_EQ(h.at("R(R1)", 5 * ns), 4);
    // The 0-ohm resistor carries the whole current at a near-zero voltage.
    EXPECT_NEAR(h.at("I(R3)", 5 * ns), 2.5, 1e-6);
    EXPECT_TRUE(allFinite(h.trace("E(R3)")));
}

// Parts without a model of their own reach the reader as resistors named by their keyword.
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
        EXPECT_TRUE(allFinite(h.trace("I(" + name + ")")));
        EXPECT_TRUE(allFinite(h.trace("E(" + name + ")")));
    }
}

TEST(ResistiveParse, RefusedLinesShowTheirMessage)
{
    const std::pair<const char*, QString> cases[] = {
        {"R1 N1 N2", "Invalid Netlist:  Not enough arguments: R1"},
        {"S1 N1 0 TIME 1 2 3 4", "Error:  Invalid Netlist Line:  Not enough arguments: S1"},
        {"S1 N1 0 TIMED 1 2 3 4 EXP", "Error:  Invalid Netlist Line:  Unrecognized switch type: S1"},
        {"S1 N1 0 TIME 1 2 3 4 SQRT",
         "Warning:  Invalid Switch Parameter: Unknown or invalid switch type encountered.S1"},
        {"D1 N1 0 IDIODE RON=1", "Error:  Invalid Netlist Line:  Not enough arguments: D1"},
        {"R1 N1 0 VARR POWER", "Error:  Invalid Netlist Line:  Not enough arguments: R1"},
        {"R1 N1 0 VARR POWER A=1", "Error:  Invalid Netlist Line:  Unrecognized variable resistor type: R1"},
        {"R1 N1 0 VARR POWER A=1 B=2", "Error:  Invalid Netlist Line:  Not enough arguments: R1"},
        {"R1 N1 0 VARR PULSE 1", "Error:  Invalid Netlist Line:  Unrecognized variable resistor type: R1"},
        {"R1 N1 0 VARR LOG 1 2 3", "Error:  Invalid Netlist Line:  Unrecognized variable resistor type: R1"},
    };
    for (const auto& [line, message] : cases) {
        SimHarness h;
        EXPECT_FALSE(h.run(QString("* refused\nV1 N1 0 DC 1\n") + line + "\n"));
        EXPECT_EQ(h.problems().join('|').toStdString(),
                  (message + "|Error.  ProcessNetlist Failure.").toStdString())
            << line;
    }
}

TEST(ResistiveParse, OutputNamesBySwitchFamily)
{
    SimHarness h;
    runClean(h,
             "* names\nV1 N1 0 DC 1\nR1 N1 0 1\nS1 N1 0 TIME 1 2 3 4 EXP\nD1 N1 0 IDIODE RON=1 ROFF=2\n"
             "R2 N1 0 VARR POWER 1 2 3\n",
             "2ns");
    QStringList voltages, impedances;
    for (const auto& e : h.doc.Elements()) {
        e->AddOutputNames("Part Voltages", voltages);
        e->AddOutputNames("Part Impedances", impedances);
    }
    EXPECT_EQ(voltages, QStringList({"V(R1)", "V(S1)", "V(D1)", "V(R2)"}));
    EXPECT_EQ(impedances, QStringList({"R(S1)", "R(D1)", "R(R2)"}));
}

// ---------------------------------------------------------------------------------------------
// Switch

TEST(Switch, TimeCriterionLaws)
{
    // R0 100, R1 0.1, closure at 10 ns, tau 2 ns.
    const std::pair<const char*, Points> cases[] = {
        {"EXP", {{9, 100}, {10, 100}, {12, 36.85115617302709}, {14, 13.61999479533761}}},
        {"LIN", {{9, 100}, {10, 100}, {11, 50.05}, {12, 0.1}, {50, 0.1}}},
        {"T0/T", {{10, 100}, {11, 2}, {12, 1}, {14, 0.5}, {40, 0.1}}},
        // Centred on the critical time with the factor 0.5, from the first step on.
        {"TANH", {{0, 99.99546475291662}, {10, 50.05}, {12, 12.008371910009545}}},
    };
    for (const auto& [law, points] : cases) {
        SimHarness h;
        runClean(h, QString("* time switch\nV1 N1 0 DC 2\nS1 N1 0 TIME 100 0.1 10N 2N %1\n").arg(law));
        expectTrace(h, "R(S1)", points);
        // The current and energy traces use the resistance of each step.
        EXPECT_NEAR(h.at("I(S1)", 11 * ns), 2 / h.at("R(S1)", 11 * ns), 1e-9);
        const double e1 = 4 * ns / h.at("R(S1)", 0) + 4 * ns / h.at("R(S1)", 1 * ns);
        EXPECT_NEAR(h.at("E(S1)", 1 * ns), e1, e1 * 1e-12);
    }
}

TEST(Switch, VoltCriterionUsesThePreviousStepMagnitudeAndLatches)
{
    // A ramp of 1 V/ns: |v| of the previous step reaches 4.5 V at 6 ns.
    for (const char* v2 : {"10", "-10"}) {
        SimHarness h;
        runClean(h, QString("* volt switch\nV1 N1 0 PULSE 0 %1 0 10N 10N 100N 200N\n"
                            "S1 N1 0 VOLT 1E6 1 4.5 1N TANH\n")
                        .arg(v2));
        expectTrace(h, "R(S1)", {{5, 1e6}, {6, 1e6}, {7, 238406.6056383911}, {8, 35973.38395176317}});
    }
    // Closed by a 3 ns pulse, the switch keeps falling after the voltage is gone.
    SimHarness h;
    runClean(h, "* latch\nV1 N1 0 PULSE 0 10 0 1N 1N 2N 100N\nS1 N1 0 VOLT 1E6 1 5 1N EXP\n");
    EXPECT_EQ(h.at("V(S1)", 20 * ns), 0);
    expectTrace(h, "R(S1)", {{1, 1e6}, {2, 1e6}, {3, 367880.07329200115}, {5, 49788.01858079558}, {60, 1}},
                1e-6);
}

TEST(Switch, CurrentCriterionIsSigned)
{
    // i = v / R0 of the previous step; 0.045 A is reached by v = 5 V at 5 ns.
    SimHarness h;
    runClean(h, "* cur switch\nV1 N1 0 PULSE 0 10 0 10N 10N 100N 200N\nS1 N1 0 CUR 100 1 0.045 1N LIN\n");
    expectTrace(h, "R(S1)", {{5, 100}, {6, 100}, {7, 1}});
    SimHarness reverse;
    runClean(reverse,
             "* cur switch\nV1 N1 0 PULSE 0 -10 0 10N 10N 100N 200N\nS1 N1 0 CUR 100 1 0.045 1N LIN\n");
    for (double r : reverse.trace("R(S1)"))
        EXPECT_EQ(r, 100);
}

namespace {

// A resistor whose name begins with RX asks for two more iterations of every step, as a nonlinear
// element would.
class IteratingResistor : public CResistorSim {
public:
    using CResistorSim::CResistorSim;
    bool NeedsIteration(int) override
    {
        iterations = std::max(iterations, m_pDoc->Iteration());
        return Name.startsWith("RX") && m_pDoc->Iteration() < 3;
    }
    static inline int iterations = 0;
};

} // namespace

TEST(Switch, EnergyCriterionCountsEachStepOnce)
{
    // 10 V across 100 ohms dissipates 1 nJ per step: 4.5 nJ are passed after the step at 4 ns.
    const QString netlist = "* energy switch\nV1 N1 0 DC 10\nRX1 N1 0 1K\nS1 N1 0 ENERGY 100 1 4.5N 2N LIN\n";
    const Points expected = {{4, 100}, {5, 100}, {6, 50.5}, {7, 1}};
    SimHarness plain;
    runClean(plain, netlist);
    expectTrace(plain, "R(S1)", expected);
    EXPECT_NEAR(plain.at("E(S1)", 4 * ns), 5 * ns, 1e-18);

    SimHarness iterating;
    IteratingResistor::iterations = 0;
    iterating.doc.SetElementFactory(
        [](ElementClass cls, CSimulatorDoc* doc) -> std::unique_ptr<CComponentSim> {
            if (cls == ElementClass::Resistor) return std::make_unique<IteratingResistor>(doc);
            return CreateElement(cls, doc);
        });
    runClean(iterating, netlist);
    EXPECT_EQ(IteratingResistor::iterations, 3);
    expectTrace(iterating, "R(S1)", expected);
    EXPECT_EQ(iterating.trace("E(S1)"), plain.trace("E(S1)"));

    // The same with a real diode in an unrelated branch.
    SimHarness diode;
    runClean(diode, netlist + "V2 N2 0 DC 5\nR2 N2 N3 10\nD2 N3 0 1N4004\n");
    expectTrace(diode, "R(S1)", expected);
}

TEST(Switch, ClosureAtTimeZeroAndBeforeIt)
{
    // From -10 ns the ramp is t + 10 V; the previous step's 9 V passes 8.5 V at exactly t = 0.
    SimHarness h;
    runClean(h, "* zero\nV1 N1 0 PULSE 0 20 -10N 20N 1N 100N 200N\nS1 N1 0 VOLT 100 1 8.5 1N EXP\n", "20ns",
             "-10ns");
    expectTrace(h, "R(S1)", {{-1, 100}, {0, 100}, {1, 37.42006467597279}, {2, 14.398193040424658}});

    // A negative critical time in a run that starts earlier still waits for it.
    SimHarness early;
    runClean(early, "* early\nV1 N1 0 DC 1\nS1 N1 0 TIME 100 1 -5.5N 1N LIN\n", "20ns", "-10ns");
    expectTrace(early, "R(S1)", {{-10, 100}, {-6, 100}, {-5, 100}, {-4, 1}});
}

TEST(Switch, NonPositiveTimeConstantSwitchesAtOnce)
{
    for (const char* law : {"EXP 0", "LIN 0", "T0/T 0", "TANH 0", "EXP -1N"}) {
        const QString rest = QString(law).section(' ', 1) + " " + QString(law).section(' ', 0, 0);
        for (const char* criterion : {"TIME", "VOLT"}) {
            SimHarness h;
            // The VOLT switch sees its 1 V from the step at 0 on, so it closes at 1 ns.
            const double closure = QString(criterion) == "TIME" ? 10 : 1;
            const QString crit = QString(criterion) == "TIME" ? "10N" : "0.5";
            runClean(h,
                     QString("* instant\nV1 N1 0 DC 1\nS1 N1 0 %1 100 1 %2 %3\n").arg(criterion, crit, rest),
                     "20ns");
            expectTrace(h, "R(S1)", {{closure - 1, 100}, {closure, 1}, {closure + 1, 1}});
            EXPECT_TRUE(allFinite(h.trace("I(S1)"))) << law;
        }
    }
}

TEST(Switch, MatrixModesAgree)
{
    // Two separate circuits: each switch must have its own partition rebuilt when it moves, whichever
    // of its terminals is grounded.
    const QString netlist =
        "* modes\nV1 N1 0 DC 10\nR1 N1 N2 10\nS1 N2 0 TIME 1E6 1 10N 1N EXP\n"
        "V2 N3 0 PULSE 0 10 0 10N 10N 100N 200N\nR2 N3 N4 10\nS2 0 N4 VOLT 1E6 1 4.5 2N LIN\n"
        "V3 N6 0 DC 5\nD1 N6 N5 IDIODE RON=1 ROFF=1MEG\nR3 N5 0 VARR POWER 1 2 1\n";
    SimHarness none;
    runClean(none, netlist, "40ns", "0ns", "None");
    for (const char* mode : {"Minimal", "Maximal"}) {
        SimHarness h;
        runClean(h, netlist, "40ns", "0ns", mode);
        for (const char* node : {"V(N2)", "V(N4)", "V(N5)"}) {
            const std::vector<double> expected = none.trace(node), got = h.trace(node);
            ASSERT_EQ(got.size(), expected.size());
            for (size_t j = 0; j < got.size(); ++j)
                ASSERT_NEAR(got[j], expected[j], 1e-9 * std::abs(expected[j]) + 1e-12)
                    << mode << " " << node << " " << j;
        }
    }
    EXPECT_LT(none.at("V(N2)", 30 * ns), 1.0); // the switches did close
    EXPECT_LT(none.at("V(N4)", 30 * ns), 1.0);
}

// ---------------------------------------------------------------------------------------------
// Ideal diode

TEST(IdealDiode, HoldsOffThenRampsBySignOfLastFourVoltages)
{
    // Forward 5 V until 20 ns, then reverse; 20 ohms per step between 101 and 1 ohm.
    SimHarness h;
    runClean(h,
             "* idiode\nV1 N1 0 PULSE 5 -5 20N 0 0 1000N 2000N\nD1 N1 N2 IDIODE RON=1 ROFF=101\nR2 N2 0 1\n",
             "40ns");
    const std::vector<double> expected = {101, 101, 101, 101, 101, 101, 81,  61,  41, 21, 1,
                                          1,   1,   1,   1,   1,   1,   1,   1,   1,  1,  1,
                                          1,   1,   21,  41,  61,  81,  101, 101, 101};
    std::vector<double> r = h.trace("R(D1)");
    r.resize(expected.size());
    // At 23 ns the last four voltages cancel exactly, so the resistance stays.
    EXPECT_EQ(r, expected);
}

// ---------------------------------------------------------------------------------------------
// Variable resistor

TEST(VariableR, PowerLawOfThePreviousStepVoltage)
{
    const QString ramp = "* power\nV1 N1 0 PULSE 0 10 0 10N 10N 100N 200N\n";
    for (const char* line : {"R1 N1 0 VARR POWER A=1 B=2 N=1", "R1 N1 0 VARR POWER 1 2 1"}) {
        SimHarness h;
        runClean(h, ramp + line + "\n", "10ns");
        expectTrace(h, "R(R1)", {{0, 1}, {1, 1}, {2, 3}, {6, 11}});
        EXPECT_NEAR(h.at("I(R1)", 6 * ns), 6.0 / 11, 1e-12);
    }
    // A negative voltage to a fractional power is no number: the resistance is then open.
    SimHarness root;
    runClean(root, "* root\nV1 N1 0 PULSE 0 -10 0 10N 10N 100N 200N\nR1 N1 0 VARR POWER 1 2 0.5\n", "10ns");
    EXPECT_TRUE(std::isnan(root.at("R(R1)", 5 * ns)));
    EXPECT_NEAR(root.at("I(R1)", 5 * ns), -5e-12, 1e-20);
    EXPECT_TRUE(allFinite(root.trace("E(R1)")));
}

TEST(VariableR, PulseShapeOfResistance)
{
    // Only R1 and R2 in a run of 100 steps: TD 0, TR = TF = 1 ns, PW 25 ns, PER 50 ns.
    SimHarness defaults;
    runClean(defaults, "* pulse\nV1 N1 0 DC 10\nR1 N1 0 VARR PULSE 10 20\n");
    expectTrace(defaults, "R(R1)", {{0, 10}, {1, 20}, {25, 20}, {26, 20}, {27, 10}, {50, 10}, {51, 20}},
                1e-6);

    SimHarness given;
    runClean(given, "* pulse\nV1 N1 0 DC 10\nR1 N1 0 VARR PULSE 10 20 2N 4N 4N 10N 40N\n");
    expectTrace(given, "R(R1)", {{2, 10}, {4, 15}, {8, 20}, {18, 15}, {22, 10}, {44, 15}}, 1e-9);
    EXPECT_NEAR(given.at("I(R1)", 8 * ns), 0.5, 1e-12);
}

TEST(VariableR, OrliskWaveformFromTheInputFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    COrliskWave w;
    w.Version = 3;
    w.FirstSampleTime = 2e-9f;
    w.SampleInterval = 2e-9f;
    w.SetSamples({10, 30, 50});
    ASSERT_TRUE(w.Write(dir.filePath("TRACE.wvf")));

    SimHarness h;
    h.doc.Settings().sourceMode = "Path";
    h.doc.Settings().path = dir.path() + "\\";
    runClean(h, "* orlisk\nV1 N1 0 DC 10\nR1 N1 0 VARR ORLISK trace\n", "10ns");
    // Before the first sample the waveform gives 0 ohms: a near short.
    expectTrace(h, "R(R1)", {{0, 0}, {2, 10}, {3, 20}, {4, 30}, {6, 50}, {10, 50}}, 1e-5);
    EXPECT_NEAR(h.at("I(R1)", 4 * ns), 10.0 / 30, 1e-5);
    EXPECT_TRUE(allFinite(h.trace("I(R1)")));

    // A folder without the file.
    SimHarness missing;
    missing.doc.Settings().sourceMode = "Path";
    missing.doc.Settings().path = dir.path() + "\\";
    EXPECT_FALSE(missing.run("* orlisk\nV1 N1 0 DC 1\nR1 N1 0 VARR ORLISK OTHER\n"));
    EXPECT_EQ(missing.problems(),
              QStringList({"Error:  Orlisk waveform input error, file=" + dir.path() + "\\OTHER.wvf",
                           "Error.  ProcessNetlist Failure."}));
}
