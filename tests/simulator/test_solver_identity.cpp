// Runs with the structure-aware solver give the results table of the dense routines to the last bit;
// runs with the program's solver agree with it within rounding.
#include "SimHarness.h"
#include "TestElements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

// A driven RLC ladder of `sections` sections; every fifth inductor a line when cut, and a closing
// switch half way along when switched.
QString rlcLadder(int sections, bool cut, bool switched)
{
    QString s = "* ladder\nV1 N1 0 PULSE 0 1 0 1N 1N 5N 10N\n";
    for (int i = 1; i <= sections; ++i) {
        s += QString("R%1 N%1 M%1 1\n").arg(i);
        if (cut && i % 5 == 0)
            s += QString("T%1 M%1 0 N%2 0 Z0=50 TD=1N\n").arg(i).arg(i + 1);
        else
            s += QString("L%1 M%1 N%2 10N\n").arg(i).arg(i + 1);
        s += QString("C%1 N%2 0 1P\n").arg(i).arg(i + 1);
    }
    if (switched) s += QString("S1 N%1 0 TIME 1MEG 1 2N 10N EXP\n").arg(sections / 2);
    return s;
}

// A resistive ladder with diodes to ground along it: a large nonlinear region.
QString diodeLadder(int nodes)
{
    QString s = "* diodes\nV1 N1 0 PULSE -5 10 0 2N 2N 5N 20N\n";
    for (int i = 1; i < nodes; ++i) {
        s += QString("R%1 N%1 N%2 10\n").arg(i).arg(i + 1);
        if (i % 4 == 0) s += QString("D%1 N%1 0 IS=1E-14 N=1 RS=0.5 IC=0\n").arg(i);
    }
    return s;
}

struct Case {
    QString name, netlist, step, span, start;
    bool testElements = false; // D lines are resistors that alternate between two values
    // How closely the program's solver agrees with the dense routines, of each row's range.
    double agreement = 1e-9;
};

// Every entry of the two results tables, bit for bit.
void expectSameTables(const CSimulatorDoc& got, const CSimulatorDoc& want, const QString& what)
{
    const int rows = want.NodeCount() + want.ExtraUnknownCount() + 1;
    ASSERT_EQ(got.NodeCount() + got.ExtraUnknownCount() + 1, rows) << qPrintable(what);
    ASSERT_EQ(got.ResultColumns(), want.ResultColumns()) << qPrintable(what);
    for (int x = 0; x < rows; ++x)
        for (int k = 0; k < want.ResultColumns(); ++k)
            ASSERT_EQ(std::bit_cast<std::uint64_t>(got.ResultRow(x)[k]),
                      std::bit_cast<std::uint64_t>(want.ResultRow(x)[k]))
                << qPrintable(what) << " row " << x << " column " << k << ": " << got.ResultRow(x)[k]
                << " vs " << want.ResultRow(x)[k];
}

// Every entry of the two results tables within `relative` of its row's range over the run (of its
// largest value where the row holds one value throughout).
void expectCloseTables(const CSimulatorDoc& got, const CSimulatorDoc& want, const QString& what,
                       double relative)
{
    const int rows = want.NodeCount() + want.ExtraUnknownCount() + 1;
    ASSERT_EQ(got.NodeCount() + got.ExtraUnknownCount() + 1, rows) << qPrintable(what);
    ASSERT_EQ(got.ResultColumns(), want.ResultColumns()) << qPrintable(what);
    for (int x = 0; x < rows; ++x) {
        const double* w = want.ResultRow(x);
        const auto [low, high] = std::minmax_element(w, w + want.ResultColumns());
        const double range = *high - *low, size = std::max(std::fabs(*low), std::fabs(*high));
        const double tolerance = relative * (range > 0 ? range : size);
        for (int k = 0; k < want.ResultColumns(); ++k)
            ASSERT_NEAR(got.ResultRow(x)[k], w[k], tolerance)
                << qPrintable(what) << " row " << x << " column " << k;
    }
}

std::vector<Case> everyCase()
{
    std::vector<Case> cases;
    for (const char* name : {"rlc", "dclamp", "tline", "xfmr"}) {
        const ReferenceCase rc = loadReference(name);
        cases.push_back({name, rc.netlist, rc.step, rc.span, rc.start});
        // Beside a 30-node ladder, the diode's small region takes the reduced system in Auto.
        cases.push_back(
            {QString(name) + "+ladder", rc.netlist + separateLadder(30), rc.step, rc.span, rc.start});
    }
    for (bool cut : {false, true})
        for (bool switched : {false, true})
            cases.push_back({QString("rlc ladder cut %1 switched %2").arg(cut).arg(switched),
                             rlcLadder(20, cut, switched), "0.1ns", "20ns", "0ns"});
    cases.push_back({"diode ladder", diodeLadder(40), "0.5ns", "30ns", "0ns"});
    // Companion conductances from 0.01 S to 17,000 S meet at its nodes, and one node hangs on the
    // picoampere currents of three diodes: another order of elimination moves values by up to 5e-8
    // of their range.
    cases.push_back(
        {"diode-iteration", loadReferenceNetlist("diode-iteration"), "0.1ns", "61ns", "0ns", false, 1e-7});
    cases.push_back(
        {"alternating ladder", rlcLadder(20, true, false) + "D1 N12 0 100\n", "0.1ns", "5ns", "0ns", true});
    return cases;
}

// Runs the case with the dense routines and with `method`, and hands both to `compare`.
template <class Compare>
void runBoth(const Case& c, const char* mode, LinearSolver::Method method, Compare compare)
{
    SimHarness dense, other;
    dense.doc.SetDenseSolver(true);
    other.doc.SetSolver(method);
    if (c.testElements) {
        dense.doc.SetElementFactory(testFactory());
        other.doc.SetElementFactory(testFactory());
    }
    ASSERT_TRUE(dense.runClean(c.netlist, c.step, c.span, mode, c.start)) << qPrintable(c.name);
    ASSERT_TRUE(other.runClean(c.netlist, c.step, c.span, mode, c.start)) << qPrintable(c.name);
    compare(other.doc, dense.doc);
}

} // namespace

TEST(SolverIdentity, EveryCircuitInEveryModeMatchesTheDenseRoutines)
{
    for (const Case& c : everyCase())
        for (const char* mode : kMatrixModes)
            runBoth(c, mode, LinearSolver::Method::Structured,
                    [&](const CSimulatorDoc& got, const CSimulatorDoc& want) {
                        EXPECT_EQ(got.FactorCount(), want.FactorCount()) << qPrintable(c.name) << mode;
                        EXPECT_EQ(want.StructureReuseCount(), 0);
                        expectSameTables(got, want, c.name + " " + mode);
                    });
}

TEST(SolverIdentity, TheProgramsSolverAgreesWithTheDenseRoutinesWithinRounding)
{
    // Another order of elimination, products by reciprocals: every value within 1e-9 of its range.
    for (const Case& c : everyCase())
        for (const char* mode : kMatrixModes)
            runBoth(c, mode, LinearSolver::Method::Program,
                    [&](const CSimulatorDoc& got, const CSimulatorDoc& want) {
                        expectCloseTables(got, want, c.name + " " + mode, c.agreement);
                    });
}

TEST(SolverIdentity, RefactorsAfterTheSwitchClosesReuseTheStructure)
{
    // From 2 ns on the closing switch changes its conductance at every step: "None" refactors the
    // whole system each step, and every refactor after the first finds the entries where they were.
    SimHarness h;
    ASSERT_TRUE(h.runClean(rlcLadder(20, false, true), "0.1ns", "20ns", "None"));
    EXPECT_EQ(h.doc.FactorCount(), 1 + 180);
    EXPECT_EQ(h.doc.StructureReuseCount(), 180);
}

TEST(SolverIdentity, AWideFactorisationPumpsOnItsWayAndAStopThereEndsTheRunQuietly)
{
    // A wheel whose hub comes early: eliminating it couples every rim node with every other, so the
    // first factorisation takes millions of products in only 301 columns, and pumps for them. A stop
    // there ends the run without results and without a message.
    QString netlist = "* wheel\nV1 N1 0 PULSE 0 1 0 1N 1N 5N 10N\n";
    const int rim = 300;
    for (int i = 1; i <= rim; ++i)
        netlist += QString("RS%1 NH N%1 10\nRR%1 N%1 N%2 1\n").arg(i).arg(i % rim + 1);
    CSimulatorDoc::SetPumpInterval(0);
    int pumps = 0; // in the first step, before its factorisation is through
    for (const bool stop : {false, true}) {
        SimHarness h;
        // The routines that take the factorisations the program's solver would need long for.
        h.doc.SetSolver(LinearSolver::Method::Structured);
        int seen = 0;
        h.ui.onPump = [&] {
            if (h.doc.Iteration() == 0 || h.doc.FactorCount() != 0) return;
            ++seen;
            if (stop && seen == pumps) h.doc.RequestStop();
        };
        EXPECT_EQ(h.run(netlist, "1ns", "3ns", "None"), !stop);
        if (!stop) pumps = seen;
        EXPECT_TRUE(h.problems().isEmpty()) << qPrintable(h.problems().join('|'));
        EXPECT_EQ(h.doc.ResultsValid(), !stop);
    }
    CSimulatorDoc::SetPumpInterval(50);
    // Three between the phases of the step, the others from the factorisation's products.
    EXPECT_GE(pumps, 3 + 8);
}
