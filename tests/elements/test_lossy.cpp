// Lossy lines against chains of one-step lossless cells with the resistors that their losses stand for.
#include "CLossyTLSim.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kEps0 = 8.854214881302399e-12;
constexpr double kZ0 = 50, kZ1 = 20, kRho = 0.001 * 10000, kER = 81, kR = 20;
constexpr int kCells = 5; // TD = 5 ns at 1 ns steps

enum Kind { Z, X, R };
const char* const kKinds[] = {"LOSSYZ Z0=50 TD=5N RHO=0.001 ER=81",
                              "LOSSYX Z0=50 Z1=20 TD=5N RHO=0.001 ER=81", "LOSSYR Z0=50 TD=5N R=20"};

QString num(double x)
{
    return QString::number(x, 'g', 17);
}

// The lossy line T1 from NA1 to NB1 and the same line as lossless cells TC1..TC5 from NA2 to NB2. The
// leaky lines put a shunt at both ports and at every joint: the line's leakage over n + 1 places, each
// joint's the mean of the shunts of the cells it joins. The resistive line puts its resistance in
// series at the n - 1 joints.
QString lineAndCells(Kind kind, const QString& ic)
{
    QString s = QString("T1 NA1 0 NB1 0 %1 %2\n").arg(kKinds[kind], ic);
    const auto joint = [](int j) {
        return j == 0 ? QString("NA2") : j == kCells ? QString("NB2") : QString("NJ%1").arg(j);
    };
    if (kind == R) {
        for (int c = 0; c < kCells; ++c) {
            const QString left = c == 0 ? "NA2" : QString("NJ%1R").arg(c);
            const QString right = c == kCells - 1 ? "NB2" : QString("NJ%1L").arg(c + 1);
            s += QString("TC%1 %2 0 %3 0 50 1N %4\n").arg(c + 1).arg(left, right, ic);
            if (c > 0) s += QString("RJ%1 NJ%1L NJ%1R %2\n").arg(c).arg(num(kR / (kCells - 1)));
        }
        return s;
    }
    const double z1 = kind == X ? kZ1 : kZ0, e = kER * kEps0 * kRho, td = kCells * 1e-9;
    const auto impedance = [&](int c) { return kZ0 + (z1 - kZ0) * c / (kCells - 1); };
    const auto shunt = [&](int c) { return (kCells + 1) * e / (td / impedance(c)); };
    for (int c = 0; c < kCells; ++c)
        s += QString("TC%1 %2 0 %3 0 %4 1N %5\n")
                 .arg(c + 1)
                 .arg(joint(c), joint(c + 1), num(impedance(c)), ic);
    for (int j = 0; j <= kCells; ++j) {
        const double sh = j == 0 ? shunt(0) : j == kCells ? shunt(kCells - 1) : (shunt(j - 1) + shunt(j)) / 2;
        s += QString("RSH%1 %2 0 %3\n").arg(j).arg(joint(j), num(sh));
    }
    return s;
}

// Both versions side by side, each between its own source and load.
QString sideBySide(Kind kind, const QString& ic, double load)
{
    QString s = "* lossy line and its cell chain\n";
    for (int i = 1; i <= 2; ++i) {
        s += QString("V%1 NS%1 0 PULSE 0 1 0 0.1N 0.1N 3N 1\nRS%1 NS%1 NA%1 30\n").arg(i);
        if (load > 0) s += QString("RL%1 NB%1 0 %2\n").arg(i).arg(num(load));
    }
    return s + lineAndCells(kind, ic);
}

} // namespace

TEST(LossyLine, EachLineEqualsItsCellChain)
{
    const std::tuple<Kind, const char*, double> cases[] = {{Z, "IC=0", 200}, {Z, "IC=2, 0.01", 10},
                                                           {X, "IC=0", 200}, {X, "IC=3", 0},
                                                           {R, "IC=0", 200}, {R, "IC=2, -0.02", 10}};
    for (const auto& [kind, ic, load] : cases)
        for (const char* mode : {"Auto", "Maximal"}) {
            SimHarness h;
            ASSERT_TRUE(h.runClean(sideBySide(kind, ic, load), "1ns", "80ns", mode));
            const std::pair<const char*, const char*> pairs[] = {
                {"V(NA1)", "V(NA2)"}, {"V(NB1)", "V(NB2)"}, {"IL(T1)", "IL(TC1)"}, {"IR(T1)", "IR(TC5)"}};
            for (const auto& [lossy, chain] : pairs) {
                const auto a = h.trace(lossy), b = h.trace(chain);
                ASSERT_EQ(a.size(), 81u);
                for (size_t j = 0; j < a.size(); ++j)
                    ASSERT_NEAR(a[j], b[j], 1e-9)
                        << kKinds[kind] << " " << ic << " " << mode << " " << lossy << j;
            }
            const auto vb = h.trace("V(NB1)"); // something did travel to the far end
            EXPECT_GT(*std::max_element(vb.begin(), vb.end()), 0.05) << kKinds[kind];
        }
}

TEST(LossyLine, ResistiveLineFrontEdge)
{
    // 0.5 V enters through a matched source; its front reaches the matched load through n - 1
    // boundaries, each passing 2 Z0 / (2 Z0 + r). The first boundary sends Gamma = r / (2 Z0 + r) back,
    // seen at port 1 two steps after it entered.
    for (int n : {1, 2, 5, 11}) {
        SimHarness h;
        ASSERT_TRUE(h.runClean(QString("* front\nV1 NS 0 PULSE 0 1 0 0.1N 0.1N 1 2\nR1 NS NA 50\n"
                                       "T1 NA 0 NB 0 LOSSYR Z0=50 TD=%1N R=10 IC=0\nR2 NB 0 50\n")
                                   .arg(n),
                               "1ns", "30ns"));
        const double r = n >= 2 ? 10.0 / (n - 1) : 1e-12;
        EXPECT_DOUBLE_EQ(findElement<CLossyTLSim>(h.doc, "T1")->r, r) << n;
        const double tau = 2 * kZ0 / (2 * kZ0 + r), gamma = r / (2 * kZ0 + r);
        EXPECT_EQ(h.at("V(NB)", n * 1e-9), 0.0) << n; // the step enters at 1 ns
        EXPECT_NEAR(h.at("V(NB)", (n + 1) * 1e-9), 0.5 * std::pow(tau, n - 1), 1e-12) << n;
        if (n >= 2) {
            EXPECT_NEAR(h.at("V(NA)", 3e-9), 0.5 + 0.5 * gamma, 1e-12) << n;
        }
    }
}

TEST(LossyLine, LinesLongerThanTheRunAndTheInitialConditionToken)
{
    // Cells further from the ports than the run has steps cannot affect them: a 60-step run keeps only
    // the cells near its ports, and must give the first 61 points of a run long enough to hold them all.
    for (const char* kind : {"LOSSYZ Z0=50 TD=200N RHO=0.001 ER=81",
                             "LOSSYX Z0=50 Z1=20 TD=300N RHO=0.001 ER=81", "LOSSYR Z0=50 TD=200N R=20"}) {
        const QString net = QString("* long\nV1 NS 0 PULSE 0 1 0 0.1N 0.1N 3N 1\nR1 NS NA 30\nT1 NA 0 NB 0 "
                                    "%1 IC=2, 0.01\nR2 NB 0 10\n")
                                .arg(kind);
        SimHarness shortRun, longRun;
        ASSERT_TRUE(shortRun.runClean(net, "1ns", "60ns"));
        ASSERT_TRUE(longRun.runClean(net, "1ns", "400ns"));
        EXPECT_EQ(shortRun.doc.HistoryCount(), 61) << kind;
        EXPECT_GT(findElement<CTransmissionLineSim>(shortRun.doc, "T1")->DelayExact, 61) << kind;
        for (const char* trace : {"V(NA)", "V(NB)", "IL(T1)", "IR(T1)"}) {
            const auto a = shortRun.trace(trace), b = longRun.trace(trace);
            for (size_t j = 0; j < a.size(); ++j)
                ASSERT_DOUBLE_EQ(a[j], b[j]) << kind << " " << trace << " " << j;
        }
    }
    // The initial-condition token must be there, but need not be one.
    SimHarness x, ic;
    ASSERT_TRUE(x.runClean("* x\nT1 N1 0 N2 0 LOSSYZ Z0=50 TD=5N RHO=2 ER=81 X\nR1 N1 0 50\nR2 N2 0 50\n",
                           "1ns", "10ns"));
    ASSERT_TRUE(ic.runClean("* ic\nT1 N1 0 N2 0 LOSSYR Z0=50 TD=5N R=2 IC=3,\n", "1ns", "10ns"));
    EXPECT_EQ(findElement<CLossyTLSim>(ic.doc, "T1")->InitialVoltage, 3.0);
    EXPECT_EQ(findElement<CLossyTLSim>(ic.doc, "T1")->InitialCurrent, 0.0);
}
