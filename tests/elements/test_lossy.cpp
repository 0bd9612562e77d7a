// Lossy lines against chains of one-step lossless cells with the resistors that their losses stand for.
#include "CLossyDielTLSim.h"
#include "CLossyDielTLXSim.h"
#include "CLossyTLSim.h"
#include "LineTestSupport.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr double kEps0 = 8.854214881302399e-12;
constexpr double kZ0 = 50, kZ1 = 20, kRho = 0.001 * 10000, kER = 81, kR = 20;
constexpr int kCells = 5; // TD = 5 ns at 1 ns steps

QString num(double x)
{
    return QString::number(x, 'g', 17);
}

enum class Kind { Z, X, R };

// The lossy line T1 from NA1 to NB1, with the given initial condition.
QString lossyLine(Kind kind, const QString& ic)
{
    switch (kind) {
    case Kind::Z:
        return QString("T1 NA1 0 NB1 0 LOSSYZ Z0=50 TD=5N RHO=0.001 ER=81 %1\n").arg(ic);
    case Kind::X:
        return QString("T1 NA1 0 NB1 0 LOSSYX Z0=50 Z1=20 TD=5N RHO=0.001 ER=81 %1\n").arg(ic);
    case Kind::R:
        return QString("T1 NA1 0 NB1 0 LOSSYR Z0=50 TD=5N R=20 %1\n").arg(ic);
    }
    return {};
}

// The same line as lossless cells TC1..TC5 from NA2 to NB2. The leaky lines put a shunt at both ports
// and at every joint: the line's leakage over n + 1 places, each joint's shunt the mean of the shunts
// of the cells it joins. The resistive line puts its resistance in series at the n - 1 joints.
QString cellChain(Kind kind, const QString& ic)
{
    QString s;
    const auto joint = [](int j) {
        return j == 0 ? QString("NA2") : j == kCells ? QString("NB2") : QString("NJ%1").arg(j);
    };
    if (kind == Kind::R) {
        const double r = kR / (kCells - 1);
        for (int c = 0; c < kCells; ++c) {
            const QString left = c == 0 ? "NA2" : QString("NJ%1R").arg(c);
            const QString right = c == kCells - 1 ? "NB2" : QString("NJ%1L").arg(c + 1);
            s += QString("TC%1 %2 0 %3 0 50 1N %4\n").arg(c + 1).arg(left, right, ic);
            if (c > 0) s += QString("RJ%1 NJ%1L NJ%1R %2\n").arg(c).arg(num(r));
        }
        return s;
    }
    const double z1 = kind == Kind::X ? kZ1 : kZ0;
    const double e = kER * kEps0 * kRho, td = kCells * 1e-9;
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

// Both versions side by side, each between its own source resistor and load.
QString sideBySide(Kind kind, const QString& ic, bool driven, double load)
{
    QString s = "* lossy line and its cell chain\n";
    for (int i = 1; i <= 2; ++i) {
        if (driven)
            s += QString("V%1 NS%1 0 PULSE 0 1 0 0.1N 0.1N 3N 1\nRS%1 NS%1 NA%1 30\n").arg(i);
        else
            s += QString("RS%1 NA%1 0 150\n").arg(i);
        if (load > 0) s += QString("RL%1 NB%1 0 %2\n").arg(i).arg(num(load));
    }
    return s + lossyLine(kind, ic) + cellChain(kind, ic);
}

const char* name(Kind k)
{
    return k == Kind::Z ? "LOSSYZ" : k == Kind::X ? "LOSSYX" : "LOSSYR";
}

double sum(const std::vector<double>& v)
{
    return std::accumulate(v.begin(), v.end(), 0.0);
}

} // namespace

TEST(LossyLineTest, EachLineEqualsItsCellChain)
{
    struct Case {
        Kind kind;
        const char* ic;
        double load;
    } cases[] = {
        {Kind::Z, "IC=0", 200}, {Kind::Z, "IC=2, 0.01", 10}, {Kind::X, "IC=0", 200},
        {Kind::X, "IC=3", 0},   {Kind::R, "IC=0", 200},      {Kind::R, "IC=2, -0.02", 10},
    };
    for (const Case& c : cases)
        for (const char* mode : {"Auto", "Maximal"}) {
            SimHarness h;
            const QString net = sideBySide(c.kind, c.ic, true, c.load);
            ASSERT_TRUE(h.run(net, "1ns", "80ns", mode))
                << name(c.kind) << h.problems().join('|').toStdString();
            const std::pair<const char*, const char*> pairs[] = {
                {"V(NA1)", "V(NA2)"}, {"V(NB1)", "V(NB2)"}, {"IL(T1)", "IL(TC1)"}, {"IR(T1)", "IR(TC5)"}};
            for (const auto& [lossy, chain] : pairs) {
                const auto a = h.trace(lossy), b = h.trace(chain);
                ASSERT_EQ(a.size(), 81u);
                for (size_t j = 0; j < a.size(); ++j)
                    ASSERT_NEAR(a[j], b[j], 1e-9)
                        << name(c.kind) << " " << c.ic << " " << mode << " " << lossy << " " << j;
            }
            // Something did travel to the far end.
            const auto vb = h.trace("V(NB1)");
            EXPECT_GT(*std::max_element(vb.begin(), vb.end()), 0.05) << name(c.kind);
        }
}

TEST(LossyLineTest, EnergyOfADischargingLine)
{
    // A line charged to 10 V empties into 150 ohm at port 1 (port 2 open). What was stored, 1/2 C V^2
    // with C = TD / Z0, ends up in the load and in the resistors that stand for the line's losses.
    const double stored = 0.5 * (5e-9 / kZ0) * 100;
    for (Kind kind : {Kind::Z, Kind::X, Kind::R}) {
        SimHarness h;
        ASSERT_TRUE(h.run(sideBySide(kind, "IC=10", false, 0), "1ns", "3000ns"))
            << h.problems().join('|').toStdString();
        auto va = h.trace("V(NA1)");
        for (double& v : va)
            v = v * v / 150 * 1e-9;
        const double load = sum(va);
        double losses = 0;
        for (const auto& e : h.doc.Elements())
            if (e->Name.startsWith("RJ") || e->Name.startsWith("RSH"))
                losses += sum(h.trace("E(" + e->Name + ")"));
        if (kind == Kind::X) {
            // The tapered line stores its charge on cells of unequal impedance: compare with the chain.
            double chainStored = 0;
            for (int c = 0; c < kCells; ++c)
                chainStored += 0.5 * (1e-9 / (kZ0 + (kZ1 - kZ0) * c / 4.0)) * 100;
            EXPECT_NEAR(load + losses, chainStored, 1e-9 * chainStored) << name(kind);
        } else {
            EXPECT_NEAR(load + losses, stored, 1e-9 * stored) << name(kind);
        }
        EXPECT_GT(losses, 0.01 * stored) << name(kind);
    }
}

TEST(LossyLineTest, ResistiveLineFrontEdge)
{
    // A 1 V step through a matched source into the line: 0.5 V enters, and its front reaches the
    // matched load through n - 1 boundaries, each passing 2 Z0 / (2 Z0 + r) of it. The first boundary
    // sends Gamma = r / (2 Z0 + r) of it back, seen at port 1 two steps after it entered.
    for (int n : {1, 2, 5, 11}) {
        SimHarness h;
        const QString net = QString("* front\nV1 NS 0 PULSE 0 1 0 0.1N 0.1N 1 2\nR1 NS NA 50\n"
                                    "T1 NA 0 NB 0 LOSSYR Z0=50 TD=%1N R=10 IC=0\nR2 NB 0 50\n")
                                .arg(n);
        ASSERT_TRUE(h.run(net, "1ns", "30ns"));
        const auto* t = findElement<CLossyTLSim>(h.doc, "T1");
        const double r = n >= 2 ? 10.0 / (n - 1) : 1e-12;
        EXPECT_DOUBLE_EQ(t->r, r) << n;
        const double tau = 2 * kZ0 / (2 * kZ0 + r), gamma = r / (2 * kZ0 + r);
        // The step enters at 1 ns.
        EXPECT_EQ(h.at("V(NB)", n * 1e-9), 0.0) << n;
        EXPECT_NEAR(h.at("V(NB)", (n + 1) * 1e-9), 0.5 * std::pow(tau, n - 1), 1e-12) << n;
        if (n >= 2) {
            EXPECT_NEAR(h.at("V(NA)", 3e-9), 0.5 + 0.5 * gamma, 1e-12) << n;
        }
    }
}

TEST(LossyLineTest, CoefficientsAndStamps)
{
    SimHarness h;
    // A one-step line (no boundary) still stamps its leakage at the ports.
    ASSERT_TRUE(h.run("* defaults\nT1 N1 0 N2 0 LOSSYZ Z0=1 TD=1N RHO=2 ER=81 IC=0\n"
                      "T2 N1 0 N3 0 LOSSYR Z0=1 TD=1N R=0 IC=0\n"
                      "T3 N1 0 N4 0 LOSSYX Z0=1 Z1=4 TD=1N RHO=2 ER=81 IC=0\nR1 N1 0 1\n",
                      "1ns", "3ns"));
    const auto* z = findElement<CLossyDielTLSim>(h.doc, "T1");
    EXPECT_DOUBLE_EQ(z->Rho, 20000);
    EXPECT_DOUBLE_EQ(z->R, 81 * kEps0 * 20000 / 1e-9);
    EXPECT_EQ(z->Delay, 1);
    EXPECT_DOUBLE_EQ(z->g, 1 / z->R / 2);
    EXPECT_DOUBLE_EQ(z->PortG[0], 1 + z->g);
    const auto* r = findElement<CLossyTLSim>(h.doc, "T2");
    EXPECT_EQ(r->r, 1e-12);
    const auto* x = findElement<CLossyDielTLXSim>(h.doc, "T3");
    EXPECT_DOUBLE_EQ(x->G1, 0.25);
    EXPECT_DOUBLE_EQ(x->PortG[1], 0.25 + x->g1);
    EXPECT_DOUBLE_EQ(x->WaveG[1], 0.25);
}

TEST(LossyLineTest, LinesLongerThanTheRun)
{
    // Cells further from the ports than the run has steps cannot affect them: a 200-step line run for
    // 60 steps keeps only the cells near its ports, and must give the first 61 points of a run long
    // enough to hold them all.
    for (const char* kind : {"LOSSYZ Z0=50 TD=200N RHO=0.001 ER=81",
                             "LOSSYX Z0=50 Z1=20 TD=300N RHO=0.001 ER=81", "LOSSYR Z0=50 TD=200N R=20"}) {
        const QString net = QString("* long\nV1 NS 0 PULSE 0 1 0 0.1N 0.1N 3N 1\nR1 NS NA 30\n"
                                    "T1 NA 0 NB 0 %1 IC=2, 0.01\nR2 NB 0 10\n")
                                .arg(kind);
        SimHarness shortRun, longRun;
        ASSERT_TRUE(shortRun.run(net, "1ns", "60ns")) << kind;
        ASSERT_TRUE(longRun.run(net, "1ns", "400ns")) << kind;
        EXPECT_EQ(shortRun.doc.HistoryCount(), 61) << kind;
        const auto* t = findElement<CTransmissionLineSim>(shortRun.doc, "T1");
        EXPECT_GT(t->DelayExact, 61) << kind;
        for (const char* trace : {"V(NA)", "V(NB)", "IL(T1)", "IR(T1)"}) {
            const auto a = shortRun.trace(trace), b = longRun.trace(trace);
            for (size_t j = 0; j < a.size(); ++j)
                ASSERT_DOUBLE_EQ(a[j], b[j]) << kind << " " << trace << " " << j;
        }
    }
}

TEST(LossyLineTest, RefusedAndAcceptedStatements)
{
    struct Case {
        const char* statement;
        const char* message; // nullptr: accepted
    } cases[] = {
        {"T1 N1 0 N2 0 LOSSYZ Z0=50 TD=5N RHO=2 ER=81", "Invalid Netlist.  Not enough arguments: T1"},
        {"T1 N1 0 N2 0 LOSSYX Z0=50 Z1=20 TD=5N RHO=2 ER=81", "Invalid Netlist.  Not enough arguments: T1"},
        {"T1 N1 0 N2 0 LOSSYR Z0=50 TD=5N R=2", "Invalid Netlist.  Not enough arguments: T1"},
        {"T1 N1 0 N2 0 LOSSYZ Z0=0 TD=5N RHO=2 ER=81 IC=0", "Invalid Netlist.  Invalid Z0: T1"},
        {"T1 N1 0 N2 0 LOSSYZ Z0=-50 TD=5N RHO=2 ER=81 IC=0", "Invalid Netlist.  Invalid Z0: T1"},
        {"T1 N1 0 N2 0 LOSSYX Z0=0 Z1=20 TD=5N RHO=2 ER=81 IC=0", "Invalid Netlist.  Invalid Z0: T1"},
        {"T1 N1 0 N2 0 LOSSYX Z0=50 Z1=0 TD=5N RHO=2 ER=81 IC=0", "Invalid Netlist.  Invalid Z1: T1"},
        {"T1 N1 0 N2 0 LOSSYX Z0=50 Z1=-1 TD=5N RHO=2 ER=81 IC=0", "Invalid Netlist.  Invalid Z1: T1"},
        {"T1 N1 0 N2 0 LOSSYR Z0=0 TD=5N R=2 IC=0", "Invalid Netlist.  Invalid Z0: T1"},
        {"T1 N1 0 N2 0 LOSSYR Z0=1E999 TD=5N R=2 IC=0", "Invalid Netlist.  Invalid Z0: T1"},
        {"T1 N1 0 N2 0 LOSSYR Z0=50 TD=1E999 R=2 IC=0", "Invalid Netlist.  Invalid TD: T1"},
        // The initial-condition token must be there, but need not be one.
        {"T1 N1 0 N2 0 LOSSYZ Z0=50 TD=5N RHO=2 ER=81 X", nullptr},
        {"T1 N1 0 N2 0 LOSSYR Z0=50 TD=5N R=2 IC=3,", nullptr},
    };
    for (const Case& c : cases) {
        SimHarness h;
        const bool ok =
            h.run(QString("* lossy\n%1\nR1 N1 0 50\nR2 N2 0 50\n").arg(c.statement), "1ns", "10ns");
        if (!c.message) {
            EXPECT_TRUE(ok) << c.statement;
            EXPECT_TRUE(h.problems().isEmpty()) << c.statement;
            continue;
        }
        EXPECT_FALSE(ok) << c.statement;
        EXPECT_EQ(h.problems(), QStringList({c.message, "Error.  ProcessNetlist Failure."})) << c.statement;
    }
    SimHarness h;
    ASSERT_TRUE(h.run("* ic\nT1 N1 0 N2 0 LOSSYR Z0=50 TD=5N R=2 IC=3,\n", "1ns", "10ns"));
    EXPECT_EQ(findElement<CLossyTLSim>(h.doc, "T1")->InitialVoltage, 3.0);
    EXPECT_EQ(findElement<CLossyTLSim>(h.doc, "T1")->InitialCurrent, 0.0);
}
