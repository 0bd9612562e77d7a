// Small netlists and the values their statements' laws give, worked out by hand from the laws, with
// every message the run shows besides the completion message.
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double ns = 1e-9;

struct Case {
    const char* what;
    QString statements; // after the title line
    const char* trace;
    std::vector<std::pair<double, double>> points; // (t in ns, value)
    QStringList problems = {};
    double tolerance = 1e-12; // relative; absolute for a value of 0
    const char* span = "20ns";
};

const QString kCutTD = "Warning: T1: 5N does not begin with TD=; it is read without its first 3 characters.";
const QString kNoModelLine =
    "Warning:  T1 (MITL0) has no simulation model of its own and runs as a near short circuit.";

// 1 + 499.5 (1 -+ tanh 3); 99 e + 1; 99 (1 + tanh 1) + 1.
constexpr double kTanhBefore = 3.470150533478133, kTanhAfter = 997.5298494665219;
constexpr double kExpOneTau = 270.10990101744545, kTanhOneTau = 175.3978214396207;
// C0 (1 + d / 100), d = x (((2.11247e-7 x + 8.874e-6) x - 0.00853) x + 0.12766) up to x = 110, then
// -46.4304 - 0.3021 (x - 110): d(100) = -42.5353, d(200) = -73.6194; HRS takes 0.45 d(50), with
// d(50) = -12.51245625.
constexpr double kZ5V100 = 5.74647e-10, kZ5V200 = 2.63806e-10, kHRS50 = 9.43693946875e-10;

// clang-format off
const Case kCases[] = {
    // Every character is upper-cased, é as well as e: NÉ and Né are one node, which shorts R2.
    {"one node", "V1 Né 0 DC 10\nR1 NÉ 0 1K\nR2 NÉ Né 1K", "I(R1)", {{0, 0.01}, {5, 0.01}}},
    {"names", "vé1 nà 0 dc 2\nré1 nÀ 0 1", "I(RÉ1)", {{3, 2}}},

    // A negative time constant follows the law with its sign; 0 would close at once.
    {"centred fall reversed", "V1 N1 0 DC 1\nS1 N1 0 TIME 1000 1 3N -1N TANH", "R(S1)",
     {{0, kTanhBefore}, {3, 500.5}, {6, kTanhAfter}}},
    {"exp", "V1 N1 0 DC 1\nS1 N1 0 TIME 100 1 10N -1N EXP", "R(S1)", {{9, 100}, {10, 100}, {11, kExpOneTau}}},
    {"lin", "V1 N1 0 DC 1\nS1 N1 0 TIME 100 1 10N -2N LIN", "R(S1)", {{10, 100}, {12, 199}, {14, 298}}},
    {"t0/t", "V1 N1 0 DC 1\nS1 N1 0 TIME 100 1 10N -1N T0/T", "R(S1)", {{9, 100}, {11, 100}, {19, 100}}},
    {"tanh after closure", "V1 N1 0 DC 1\nS1 N1 0 VOLT 100 1 0.5 -1N TANH", "R(S1)",
     {{0, 100}, {1, 100}, {2, kTanhOneTau}}},
    // e^799 is beyond a double: with R0 = R1 there is nothing to grow.
    {"exp without range", "V1 N1 0 DC 1\nS1 N1 0 TIME 5 5 1N -1N EXP", "R(S1)", {{800, 5}}, {}, 1e-12,
     "800ns"},

    // A negative period repeats every |PER|: u - trunc(u / PER) PER.
    {"negative period", "V1 N1 0 PULSE 0 1 0 1N 1N 5N -10N\nR1 N1 0 1", "V(N1)",
     {{3, 1}, {7, 0}, {10, 0}, {11, 1}, {12, 1}, {16, 1}, {17, 0}, {21, 1}}, {}, 1e-12, "30ns"},
    {"no period", "V1 N1 0 PULSE 0 1 0 1N 1N 5N 0\nR1 N1 0 1", "V(N1)", {{3, 1}, {12, 0}, {13, 0}}},
    {"endless period", "V1 N1 0 PULSE 0 1 0 1N 1N 5N -1E999\nR1 N1 0 1", "V(N1)", {{3, 1}, {12, 0}}},
    {"pulsed resistance", "V1 N1 0 DC 1\nR1 N1 0 VARR PULSE 10 20 0 1N 1N 5N -10N", "R(R1)",
     {{12, 20}, {17, 10}}},

    // The curve reads 100 |v / Vrated|, so a negative rating is its magnitude.
    {"negative rating", "C2 N1 0 VARC STANDARD Z5V 1N -128 IC=128\nR1 N1 0 1MEG", "C(C2)", {{0, kZ5V100}}},
    {"positive rating", "C2 N1 0 VARC STANDARD Z5V 1N 128 IC=128\nR1 N1 0 1MEG", "C(C2)", {{0, kZ5V100}}},
    {"beyond the rating", "C2 N1 0 VARC STANDARD Z5V 1N -128 IC=256\nR1 N1 0 1MEG", "C(C2)", {{0, kZ5V200}}},
    {"negative rating and voltage", "C2 N1 0 VARC STANDARD HRS 1N -128 IC=-64\nR1 N1 0 1MEG", "C(C2)",
     {{0, kHRS50}}},

    // Shorted ends: G1 = 1e12 and g1 = 1e12 (its leakage limited) at port 2, 1 A into 2e12 S; G = 1e12
    // and g = 1e12 at port 1; the resistive line's port 1 is G = 1e12 alone.
    {"tapered to a short", "T1 NA 0 NB 0 LOSSYX Z0=50 Z1=0 TD=5N RHO=2 ER=81 IC=0\nR1 NA 0 50\nI1 0 NB DC 1",
     "V(NB)", {{0, 5e-13}}},
    {"tapered from a short", "T1 NA 0 NB 0 LOSSYX Z0=0 Z1=50 TD=5N RHO=2 ER=81 IC=0\nI1 0 NA DC 1\nR1 NB 0 50",
     "V(NA)", {{0, 5e-13}}},
    {"resistive short", "T1 NA 0 NB 0 LOSSYR Z0=0 TD=5N R=2 IC=0\nI1 0 NA DC 1\nR1 NB 0 50", "V(NA)",
     {{0, 1e-12}}},

    // A value without its key loses as many characters all the same, with a warning: TD = 0 is a
    // one-step line that hands the matched 0.5 V on at once, and RHO = ER = 0 a leak that shorts both
    // ports (1 V through 50 ohms into 1e12 S).
    {"missing TD=", "V1 NS 0 DC 1\nRS NS N1 50\nT1 N1 0 N2 0 LOSSYR Z0=50 5N R=2 IC=0\nRL N2 0 50", "V(N2)",
     {{0, 0}, {1, 0.5}}, {kCutTD}},
    {"wrong key", "V1 NS 0 DC 1\nRS NS N1 50\nT1 N1 0 N2 0 LOSSYR Z0=50 TX=5N R=2 IC=0\nRL N2 0 50", "V(N2)",
     {{1, 0}}, {"Warning: T1: TX=5N does not begin with TD=; it is read without its first 3 characters."}},
    {"missing RHO= and ER=", "V1 NS 0 DC 1\nRS NS N1 50\nT1 N1 0 N2 0 LOSSYZ Z0=50 TD=5N 2 81 IC=0\nRL N2 0 50",
     "V(N1)", {{0, 0.02 / (0.04 + 1e12)}},
     {"Warning: T1: 2 does not begin with RHO=; it is read without its first 4 characters.",
      "Warning: T1: 81 does not begin with ER=; it is read without its first 3 characters."}},

    // Both kinds of part without a model of their own say so in the same words.
    {"line without model", "V1 NS 0 DC 1\nRS NS NA 50\nT1 NA 0 NB 0 MITL0 Z0=30 TD=1N IC=0", "V(NA)",
     {{0, 0.02 / (0.02 + 1e12)}}, {"Warning: Unrecognized Character in Netlist.", kNoModelLine}},
    {"resistor without model", "V1 N1 0 DC 10\nR1 N1 N2 10\nR_M1 N2 0 MOV C=2NF", "I(R_M1)", {{5, 1}},
     {"Warning:  R_M1 (MOV) has no simulation model of its own and runs as a near short circuit."}, 1e-9},
};
// clang-format on

} // namespace

TEST(Laws, SmallNetlistsGiveTheValuesOfTheirLaws)
{
    for (const Case& c : kCases) {
        SimHarness h;
        ASSERT_TRUE(h.run("* " + QString(c.what) + "\n" + c.statements + "\n", "1ns", c.span)) << c.what;
        EXPECT_EQ(h.problems(), c.problems) << c.what;
        for (const auto& [t, value] : c.points)
            EXPECT_NEAR(h.at(c.trace, t * ns), value, c.tolerance * (value == 0 ? 1.0 : std::abs(value)))
                << c.what << " at " << t << " ns";
        const std::vector<double> all = h.trace(c.trace);
        EXPECT_TRUE(std::all_of(all.begin(), all.end(), [](double x) { return std::isfinite(x); })) << c.what;
    }
}
