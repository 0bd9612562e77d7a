// Capacitor and inductor: the reference ring, initial conditions, the conductance clamps, traces and
// the refused statements of the capacitive family.
#include "CCapacitorSim.h"
#include "CInductorSim.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

template <class T> T* element(SimHarness& sim, const QString& name) {
    for (const auto& e : sim.doc.Elements())
        if (e->Name == name) return dynamic_cast<T*>(e.get());
    return nullptr;
}

class RlcReference : public ::testing::TestWithParam<const char*> {};

TEST_P(RlcReference, MatchesIndependentSimulator) {
    SimHarness sim;
    runReference(sim, loadReference("rlc"), GetParam());
}

INSTANTIATE_TEST_SUITE_P(AllMatrixModes, RlcReference,
                         ::testing::ValuesIn(kMatrixModes));

TEST(Capacitor, InitialVoltageWithOrWithoutPrefix) {
    SimHarness sim;
    ASSERT_TRUE(sim.run("*\nC1 N1 0 1N IC=5\nC2 N2 0 1N 5\nC3 N3 0 1N\nR3 N3 0 1K\n", "1ns", "10ns", "None"));
    EXPECT_DOUBLE_EQ(element<CCapacitorSim>(sim, "C1")->C, 1e-9);
    EXPECT_DOUBLE_EQ(element<CCapacitorSim>(sim, "C1")->IC, 5.0);
    EXPECT_DOUBLE_EQ(element<CCapacitorSim>(sim, "C2")->IC, 5.0);
    EXPECT_DOUBLE_EQ(element<CCapacitorSim>(sim, "C3")->IC, 0.0);
    // Alone on its node a charged capacitor keeps its voltage and carries no current.
    for (double v : sim.trace("V(C1)"))
        EXPECT_NEAR(v, 5.0, 1e-12);
    for (double i : sim.trace("I(C2)"))
        EXPECT_NEAR(i, 0.0, 1e-12);
}

TEST(Inductor, InitialCurrentFlowsFromFirstToSecondNode) {
    // 2 A through 1 uH into 1 ohm: the first column solves v (1/R + dt/2L) = -IC.
    SimHarness sim;
    ASSERT_TRUE(sim.run("*\nL1 N1 0 1U IC=2\nR1 N1 0 1\n", "1ns", "2us", "None"));
    const double g = 1e-9 / 2e-6;
    const double v0 = -2.0 / (1.0 + g);
    EXPECT_NEAR(sim.trace("V(L1)")[0], v0, 1e-12);
    EXPECT_NEAR(sim.trace("I(L1)")[0], 2.0 + g * v0, 1e-12);
    // Then it decays with L/R = 1 us.
    EXPECT_NEAR(sim.at("I(L1)", 1e-6), 2.0 * std::exp(-1.0), 2e-3);
    EXPECT_NEAR(sim.at("V(N1)", 1e-6), -sim.at("I(L1)", 1e-6), 1e-9);
}

struct ClampCase {
    const char* line;
    double geq;
};

class ConductanceClamp : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ConductanceClamp, HoldsGeqWithinLimits) {
    SimHarness sim;
    ASSERT_TRUE(sim.run(QStringLiteral("*\n") + GetParam().line + "\nR1 N1 0 1K\nV1 N1 0 DC 1\n", "1ns",
                        "5ns", "None"));
    const auto* e = element<CCapacitorSim>(sim, sim.doc.Elements()[0]->Name);
    ASSERT_NE(e, nullptr);
    EXPECT_DOUBLE_EQ(e->Geq, GetParam().geq);
    for (double i : sim.trace("I(" + e->Name + ")"))
        EXPECT_TRUE(std::isfinite(i));
}

INSTANTIATE_TEST_SUITE_P(BothEnds, ConductanceClamp,
                         ::testing::Values(ClampCase{"C1 N1 0 0", 1e-12}, ClampCase{"C1 N1 0 -1N", 1e-12},
                                           ClampCase{"C1 N1 0 1MEG", 1e12}, ClampCase{"C1 N1 0 1N", 2.0},
                                           ClampCase{"L1 N1 0 1MEG", 1e-12}, ClampCase{"L1 N1 0 -1U", 1e-12},
                                           ClampCase{"L1 N1 0 1E-25", 1e12}, ClampCase{"L1 N1 0 1U", 5e-4}));

TEST(Inductor, ZeroInductanceStandsForTenthOfPicohenry) {
    SimHarness sim;
    ASSERT_TRUE(sim.run("*\nL1 N1 0 0\nR1 N1 0 1K\nV1 N1 0 DC 1\n", "1ns", "5ns", "None"));
    const auto* l = element<CInductorSim>(sim, "L1");
    EXPECT_DOUBLE_EQ(l->L, 1e-13);
    EXPECT_DOUBLE_EQ(l->Geq, 1e-9 / 2e-13);
}

TEST(Capacitor, TracesAndNames) {
    SimHarness sim;
    ASSERT_TRUE(sim.run("*\nV1 N1 0 DC 1\nR1 N1 N2 1K\nC1 N2 0 1N\n", "1ns", "20ns", "None"));
    const auto v = sim.trace("V(C1)");
    const auto i = sim.trace("I(C1)");
    const auto e = sim.trace("E(C1)");
    ASSERT_EQ(e.size(), v.size());
    // Energy is a running sum of v i dt from the first column.
    double sum = 0;
    for (size_t j = 0; j < e.size(); ++j) {
        sum += v[j] * i[j] * 1e-9;
        EXPECT_NEAR(e[j], sum, 1e-24);
    }
    // The current agrees with the resistor's.
    EXPECT_NEAR(i[5], (1.0 - v[5]) / 1000.0, 1e-12);

    auto* c = element<CCapacitorSim>(sim, "C1");
    double out[1];
    EXPECT_FALSE(c->GetOutput("VL", 1, out));
    QStringList names;
    c->AddOutputNames("Part Voltages", names);
    c->AddOutputNames("Part Currents", names);
    c->AddOutputNames("Special", names);
    EXPECT_EQ(names, QStringList({"V(C1)", "I(C1)"}));
}

TEST(Capacitor, LinearElementsFactorOnlyOnce) {
    SimHarness sim;
    ASSERT_TRUE(
        sim.run("*\nV1 N1 0 PULSE 0 1\nR1 N1 N2 10\nL1 N2 N3 1U\nC1 N3 0 1N\n", "1ns", "50ns", "None"));
    EXPECT_EQ(sim.doc.FactorCount(), 1);
}

struct RefusedCase {
    const char* line;
    const char* message;
};

class RefusedStatement : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedStatement, ShowsItsMessageAndFailsTheRun) {
    SimHarness sim;
    EXPECT_FALSE(sim.run(QStringLiteral("*\nR1 N1 0 1K\n") + GetParam().line + "\n"));
    EXPECT_EQ(sim.problems(), QStringList({GetParam().message, "Error.  ProcessNetlist Failure."}));
    EXPECT_TRUE(sim.doc.Elements().empty());
}

INSTANTIATE_TEST_SUITE_P(
    CapacitiveFamily, RefusedStatement,
    ::testing::Values(
        RefusedCase{"C1 N1 0", "Invalid Netlist:  Not enough arguments: C1"},
        RefusedCase{"L1 N1", "Invalid Netlist:  Not enough arguments: L1"},
        RefusedCase{"C2 N1 0 VARC FIXED 1N", "Invalid Netlist.  Not enough arguments: C2"},
        RefusedCase{"C2 N1 0 VARC POLYNOMIAL 1N 0 0 0", "Invalid Netlist.  Not enough arguments: C2"},
        RefusedCase{"C2 N1 0 VARC STANDARD Z5V 1N 100", "Invalid Netlist.  Not enough arguments: C2"},
        RefusedCase{"C2 N1 0 VARC LINEAR 1N IC=0", "Invalid Netlist.  Unrecongnized variable cap.: C2"},
        RefusedCase{"C2 N1 0 VARC STANDARD Z5V 1N 0 IC=0", "Invalid Netlist.  Invalid VRATED: C2"},
        RefusedCase{"C2 N1 0 VARC STANDARD HRS 1N -50 IC=0", "Invalid Netlist.  Invalid VRATED: C2"}));

} // namespace
