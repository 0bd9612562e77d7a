// The capacitance laws and the variable capacitor built on them.
#include "CVarCSim.h"
#include "CapacitanceLaw.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

CapacitanceLaw standard(const char* dielectric) {
    CapacitanceLaw law;
    law.Kind = "STANDARD";
    law.Dielectric = dielectric;
    law.C0 = 1e-9;
    law.Vrated = 100;
    return law;
}

struct LawCase {
    const char* dielectric;
    double volts;
    double ratio; // C / C0, worked out by hand from the curve
};

class StandardLaw : public ::testing::TestWithParam<LawCase> {};

TEST_P(StandardLaw, FollowsTheDielectricCurve) {
    const LawCase& c = GetParam();
    EXPECT_NEAR(standard(c.dielectric).Capacitance(c.volts) / 1e-9, c.ratio, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(HandValues, StandardLaw,
                         ::testing::Values(LawCase{"Z5V", 0, 1.0}, LawCase{"Z5V", 50, 0.8748754375},
                                           LawCase{"Z5V", -50, 0.8748754375},
                                           LawCase{"HRS", 50, 0.943693946875}, LawCase{"Z5V", 100, 0.574647},
                                           LawCase{"Z5V", 200, 0.263806}, LawCase{"HRS", 200, 0.6687127},
                                           LawCase{"Z5V", 300, -0.038294}, LawCase{"X7R", 50, 1e-3}));

TEST(CapacitanceLaw, StandardPiecesMeetAt110Percent) {
    const CapacitanceLaw law = standard("Z5V");
    EXPECT_NEAR(law.Capacitance(109.999999), law.Capacitance(110.000001), 1e-15);
    EXPECT_NEAR(law.Capacitance(110) / 1e-9, 0.5357, 1e-4);
}

TEST(CapacitanceLaw, FixedAndPolynomial) {
    CapacitanceLaw law;
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

template <class T> T* element(SimHarness& sim, const QString& name) {
    for (const auto& e : sim.doc.Elements())
        if (e->Name == name) return dynamic_cast<T*>(e.get());
    return nullptr;
}

const char* kDriven = "*\nV1 N1 0 PULSE 0 2 5N 10N 10N 30N 100N\nR1 N1 N2 50\n";

TEST(VarC, FixedLawRunsAsLinearCapacitorWithoutRefactoring) {
    SimHarness var, lin;
    ASSERT_TRUE(var.run(QString(kDriven) + "C1 N2 0 VARC FIXED 1N IC=0.5\n", "1ns", "100ns", "None"));
    ASSERT_TRUE(lin.run(QString(kDriven) + "C1 N2 0 1N IC=0.5\n", "1ns", "100ns", "None"));
    for (const char* trace : {"V(C1)", "I(C1)"}) {
        const auto a = var.trace(trace), b = lin.trace(trace);
        ASSERT_EQ(a.size(), b.size());
        for (size_t j = 0; j < a.size(); ++j)
            EXPECT_NEAR(a[j], b[j], 1e-12) << trace << j;
    }
    EXPECT_EQ(var.doc.FactorCount(), 1);
    // The charge moved since the start: for a fixed law exactly C (v - IC).
    const auto v = var.trace("V(C1)");
    const auto q = var.trace("Q(C1)");
    for (size_t j = 0; j < v.size(); ++j)
        EXPECT_NEAR(q[j], 1e-9 * (v[j] - 0.5), 1e-20);
    for (double c : var.trace("C(C1)"))
        EXPECT_EQ(c, 1e-9);
}

TEST(VarC, PolynomialFollowsPreviousStepVoltage) {
    SimHarness sim;
    ASSERT_TRUE(
        sim.run(QString(kDriven) + "C1 N2 0 VARC POLYNOMIAL 1N 0.1N 0.01N 0.001N IC=2\n", "1ns", "100ns"));
    const auto v = sim.trace("V(C1)");
    const auto c = sim.trace("C(C1)");
    const auto poly = [](double x) { return 1e-9 * (1 + 0.1 * x + 0.01 * x * x + 0.001 * x * x * x); };
    EXPECT_NEAR(c[0], 1.248e-9, 1e-21);
    for (size_t j = 1; j < c.size(); ++j)
        EXPECT_NEAR(c[j], poly(v[j - 1]), 1e-21) << j;
}

TEST(VarC, StandardLawAtInitialVoltageAndNames) {
    SimHarness sim;
    ASSERT_TRUE(sim.run("*\nC1 N1 0 VARC STANDARD Z5V 1N 100 IC=50\nR1 N1 0 1MEG\n", "1ns", "10ns"));
    EXPECT_NEAR(sim.trace("C(C1)")[0], 0.8748754375e-9, 1e-18);
    QStringList names;
    for (const char* group : {"Part Voltages", "Part Currents", "Special"})
        element<CVarCSim>(sim, "C1")->AddOutputNames(group, names);
    EXPECT_EQ(names, QStringList({"V(C1)", "I(C1)", "C(C1)", "Q(C1)"}));
}

class VarCModes : public ::testing::TestWithParam<const char*> {};

TEST_P(VarCModes, AgreeWithUnreducedSolution) {
    // The conductance changes at every step: each mode must rebuild the system that holds it.
    const QString net = QString(kDriven) + "C1 N2 0 VARC STANDARD HRS 2N 1 IC=0\nL1 N2 N3 100N\nR3 N3 0 20\n";
    SimHarness ref, sim;
    ASSERT_TRUE(ref.run(net, "1ns", "100ns", "None"));
    ASSERT_TRUE(sim.run(net, "1ns", "100ns", GetParam()));
    const auto a = ref.trace("V(N3)"), b = sim.trace("V(N3)");
    ASSERT_EQ(a.size(), b.size());
    for (size_t j = 0; j < a.size(); ++j)
        EXPECT_NEAR(a[j], b[j], 1e-9) << j;
}

INSTANTIATE_TEST_SUITE_P(AllMatrixModes, VarCModes, ::testing::Values("Auto", "Minimal", "Maximal"));

struct UnusableCase {
    const char* name;
    const char* line;
};

class UnusableCapacitance : public ::testing::TestWithParam<UnusableCase> {};

TEST_P(UnusableCapacitance, KeepsEveryTraceFinite) {
    SimHarness sim;
    ASSERT_TRUE(sim.run(QString(kDriven) + GetParam().line + "\n", "1ns", "100ns"))
        << qPrintable(sim.problems().join('|'));
    for (const char* trace : {"V(C1)", "I(C1)", "C(C1)", "Q(C1)", "V(N1)"})
        for (double x : sim.trace(trace))
            ASSERT_TRUE(std::isfinite(x)) << trace;
    for (double c : sim.trace("C(C1)"))
        EXPECT_GT(c, 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Laws, UnusableCapacitance,
    ::testing::Values(UnusableCase{"NegativeEverywhere", "C1 N2 0 VARC POLYNOMIAL -1N 0 0 0 IC=0"},
                      UnusableCase{"ZeroEverywhere", "C1 N2 0 VARC FIXED 0 IC=0"},
                      UnusableCase{"NegativeAboveOneVolt", "C1 N2 0 VARC POLYNOMIAL 1N -1N 0 0 IC=0"},
                      UnusableCase{"BeyondTheCurve", "C1 N2 0 VARC STANDARD Z5V 1N 0.5 IC=0"},
                      UnusableCase{"NegativeAtStart", "C1 N2 0 VARC STANDARD Z5V 1N 0.5 IC=2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VarC, HeldCapacitanceOnceTheLawTurnsNegative) {
    SimHarness sim;
    ASSERT_TRUE(sim.run(QString(kDriven) + "C1 N2 0 VARC POLYNOMIAL 1N -1N 0 0 IC=0\n", "1ns", "100ns"));
    const auto v = sim.trace("V(C1)");
    const auto c = sim.trace("C(C1)");
    for (size_t j = 1; j < c.size(); ++j)
        if (v[j - 1] >= 1.0) {
            EXPECT_EQ(c[j], c[j - 1]) << j;
        }
}

} // namespace
