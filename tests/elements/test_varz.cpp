// The variable capacitor as a line stub whose impedance changes from step to step.
#include "CVariableCSim.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QString kDriven = "* driven\nV1 NS 0 PULSE 0 2 5N 10N 10N 30N 100N\nR1 NS N1 50\nR2 N1 0 200\n";
const QString kDischarge = "* discharge\nC1 N1 0 VARC TL POLYNOMIAL 1N 0.1N 0 0 IC=10\nR1 N1 0 1K\n";
const QString kUnrelatedDiode = "V9 N7 0 DC 5\nR9 N7 N8 10\nD9 N8 0 1N4004\n";

} // namespace

TEST(VariableC, FixedLawIsThePlainStub)
{
    SimHarness var, stub;
    ASSERT_TRUE(var.runClean(kDriven + "C1 N1 0 VARC TL FIXED 10N IC=0.5\n", "1ns", "100ns", "None"));
    ASSERT_TRUE(stub.runClean(kDriven + "C1 N1 0 TL 10N IC=0.5\n", "1ns", "100ns", "None"));
    expectSameTraces(var, stub, {"V(N1)", "VL(C1)", "IL(C1)", "IR(C1)", "V2L(C1)", "V1R(C1)"}, 0, 0);
    EXPECT_EQ(var.doc.FactorCount(), 1);
    for (double z : var.trace("Z(C1)"))
        ASSERT_EQ(z, 2e-9 / 10e-9);
    // The charge taken in since the start is about C (v - IC).
    EXPECT_NEAR(var.at("Q(C1)", 100e-9), 10e-9 * (var.at("V(N1)", 100e-9) - 0.5), 1e-11);
}

TEST(VariableC, LawsAtTheInitialVoltageThenThePreviousStep)
{
    const std::pair<const char*, double> cases[] = {{"FIXED 10N IC=3", 10e-9},
                                                    {"POLYNOMIAL 1N 0.1N 0.01N 0.001N IC=2", 1.248e-9},
                                                    {"STANDARD Z5V 1N 100 IC=50", 0.8748754375e-9},
                                                    {"STANDARD HRS 1N 100 IC=-50", 0.943693946875e-9},
                                                    {"STANDARD X7R 1N 100 IC=50", 1e-12}};
    for (const auto& [law, c0] : cases) {
        SimHarness h;
        ASSERT_TRUE(h.runClean(kDriven + "C1 N1 0 VARC TL " + law + "\n", "1ns", "60ns")) << law;
        const auto* e = findElement<CVariableCSim>(h.doc, "C1");
        const auto v = h.trace("V(N1)"), cap = h.trace("C(C1)"), z = h.trace("Z(C1)");
        EXPECT_NEAR(cap[0], c0, 1e-21) << law;
        for (size_t j = 0; j < cap.size(); ++j) {
            ASSERT_EQ(cap[j], j ? e->Law.Capacitance(v[j - 1]) : cap[0]) << law << j;
            ASSERT_EQ(z[j], 2e-9 / cap[j]) << law << j;
        }
    }
}

TEST(VariableC, PassiveDischargeKeepsItsChargeWithOrWithoutAnIteratingDiode)
{
    SimHarness plain, diode;
    ASSERT_TRUE(plain.runClean(kDischarge, "1ns", "3us", "None"));
    ASSERT_TRUE(diode.runClean(kDischarge + kUnrelatedDiode, "1ns", "3us", "None"));
    for (const char* trace : {"V(N1)", "Z(C1)", "Q(C1)", "IL(C1)"})
        expectSameTraces(diode, plain, {trace}, 1e-9 * std::fabs(plain.trace(trace)[0]) + 1e-18, 0);
    const auto v = plain.trace("V(N1)"), c = plain.trace("C(C1)"), q = plain.trace("Q(C1)");
    const auto il = plain.trace("IL(C1)"), ir = plain.trace("IR(C1)");
    ASSERT_LT(v.back(), 3.0);
    // What the line holds now is what it held less what left through R1.
    EXPECT_NEAR(c.back() * v.back() - 2e-9 * 10, q.back(), 2e-3 * 20e-9);
    // The line feeds R1 alone: its two port currents add up to v / R at every step.
    for (size_t j = 0; j < v.size(); ++j)
        ASSERT_NEAR(il[j] + ir[j], v[j] / 1e3, 1e-12) << j;
}

TEST(VariableC, MatrixModesAgree)
{
    const QString net =
        kDriven + "T1 N1 0 N2 0 50 3N\nC1 N2 0 VARC TL STANDARD Z5V 2N 1 IC=0\nL1 N2 N3 100N\nR3 N3 0 20\n";
    SimHarness none;
    ASSERT_TRUE(none.runClean(net, "1ns", "100ns", "None"));
    EXPECT_GT(none.doc.FactorCount(), 50);
    for (const char* mode : {"Minimal", "Maximal"}) {
        SimHarness h;
        ASSERT_TRUE(h.runClean(net, "1ns", "100ns", mode));
        EXPECT_EQ(h.doc.PartitionCount(), QString(mode) == "Maximal" ? 2 : 0);
        for (const char* trace : {"V(N3)", "Z(C1)", "C(C1)", "Q(C1)", "IL(C1)"})
            expectSameTraces(h, none, {trace}, 1e-9 * std::fabs(none.trace(trace)[50]) + 1e-21, 0);
    }
}

TEST(VariableC, UnusableCapacitanceIsClampedAndStaysFinite)
{
    // Both capacitors keep C above 0; the line stub clamps its Z = dt / C to 1e12 at most.
    for (const char* kind : {"VARC", "VARC TL"})
        for (const char* law : {"POLYNOMIAL -1N 0 0 0 IC=0", "FIXED 0 IC=0", "POLYNOMIAL 1N -1N 0 0 IC=0",
                                "STANDARD Z5V 1N 0.5 IC=0", "STANDARD Z5V 1N 0.5 IC=2"}) {
            const bool line = QString(kind) == "VARC TL";
            SimHarness h;
            ASSERT_TRUE(h.runClean(kDriven + "C1 N1 0 " + kind + " " + law + "\n", "1ns", "100ns")) << law;
            for (const char* trace :
                 {"V(N1)", line ? "IL(C1)" : "I(C1)", line ? "V2L(C1)" : "V(C1)", "Q(C1)"})
                for (double x : h.trace(trace))
                    ASSERT_TRUE(std::isfinite(x)) << kind << law << trace;
            const auto c = h.trace("C(C1)"),
                       z = line ? h.trace("Z(C1)") : std::vector<double>(c.size(), 1e12);
            for (size_t j = 0; j < z.size(); ++j) {
                ASSERT_TRUE(c[j] > 0 && z[j] > 0 && z[j] <= 1.000001e12) << kind << law << j;
                ASSERT_NEAR(c[j], line ? 2e-9 / z[j] : c[j], 1e-12 * c[j]) << kind << law << j;
            }
            EXPECT_EQ(*std::max_element(z.begin(), z.end()), 1e12) << kind << law;
        }
}
