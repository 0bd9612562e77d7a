// Lossless lines: whole-step delays, statement forms, clamps and stand-in parts.
#include "CTransmissionLineSim.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A line between a matched 1 V source and a load.
QString matched(const QString& line, const QString& load = "50")
{
    return QString("* matched\nV1 NS 0 PULSE 0 1 0 0.1N 0.1N 1 2\nR1 NS NA 50\n%1\nR2 NB 0 %2\n")
        .arg(line, load);
}

} // namespace

TEST(Line, DelayInWholeStepsAndHistoryCountWithinTheRun)
{
    for (const auto& [td, steps] :
         {std::pair{"0", 1}, {"0.4N", 1}, {"-5N", 1}, {"2.4N", 2}, {"2.6N", 3}, {"40N", 40}}) {
        SimHarness h;
        ASSERT_TRUE(h.runClean(matched(QString("T1 NA 0 NB 0 50 %1").arg(td)), "1ns", "60ns")) << td;
        EXPECT_EQ(findElement<CTransmissionLineSim>(h.doc, "T1")->Delay, steps) << td;
        EXPECT_EQ(h.doc.HistoryCount(), steps) << td;
        // The front of the 0.5 V wave reaches the load exactly `steps` after it entered.
        const auto vb = h.trace("V(NB)");
        EXPECT_EQ(vb[size_t(steps)], 0.0) << td;
        EXPECT_NEAR(vb[size_t(steps) + 1], 0.5, 1e-12) << td;
    }
    SimHarness h; // the longest line sets the history count
    ASSERT_TRUE(h.runClean(matched("T1 NA 0 NB 0 50 40N\nT2 NB 0 NC 0 50 10N\nR3 NC 0 50"), "1ns", "60ns"));
    EXPECT_EQ(h.doc.HistoryCount(), 40);
    // A charged line into a matched load gives half its voltage until the wave sent back returns; none
    // returns within the run however long the line, so the history need not exceed the run.
    for (const char* td : {"150N", "1", "1E4", "1E9", "101N"}) {
        SimHarness l;
        ASSERT_TRUE(
            l.runClean(QString("* long\nT1 NA 0 NB 0 50 %1 IC=2\nR1 NA 0 50\n").arg(td), "1ns", "100ns"));
        EXPECT_EQ(l.doc.HistoryCount(), 101) << td;
        for (const auto& [node, v] : {std::pair{"V(NA)", 1.0}, {"V(NB)", 2.0}})
            for (double x : l.trace(node))
                ASSERT_DOUBLE_EQ(x, v) << td;
    }
}

TEST(Line, StatementForms)
{
    const struct {
        const char* statement;
        double v, i;
        int warnings;
    } cases[] = {
        {"T1 N1 0 N2 0 50 10N", 0, 0, 0},
        {"T1 N1 0 N2 0 Z0=50 TD=10N", 0, 0, 0},
        {"T1 N1 0 N2 0 Z0=50 TD=10N IC=5", 5, 0, 0},
        {"T1 N1 0 N2 0 Z0=50 TD=10N IC=5, 2", 5, 2, 0},
        {"T1 N1 0 N2 0 Z0=50 TD=10N IC=5,", 5, 0, 0},
        {"T1 N1 0 N2 0 Z0=50 TD=10N IC=5,2", 5, 0, 1},
        {"T1 N1 0 N2 0 Z0=50 TD=10N X=5 2", 0, 0, 0},
    };
    for (const auto& c : cases) {
        SimHarness h;
        ASSERT_TRUE(h.run(QString("* forms\n%1\nR1 N1 0 50\nR2 N2 0 50\n").arg(c.statement), "1ns", "5ns"));
        const auto* t = findElement<CTransmissionLineSim>(h.doc, "T1");
        EXPECT_DOUBLE_EQ(t->Z0, 50) << c.statement;
        EXPECT_DOUBLE_EQ(t->TD, 10e-9) << c.statement;
        EXPECT_EQ(h.problems().size(), c.warnings) << c.statement << qPrintable(h.problems().join('|'));
        // Initial waves: (V + I Z0) / 2 forward, (V - I Z0) / 2 backward.
        EXPECT_DOUBLE_EQ(t->W1[0], (c.v + c.i * 50) / 2) << c.statement;
        EXPECT_DOUBLE_EQ(t->W2[0], (c.v - c.i * 50) / 2) << c.statement;
    }
}

TEST(Line, ZeroAndNegativeImpedanceAreClamped)
{
    for (const auto& [z0, g] : {std::pair{"0", 1e12}, {"-50", 1e-12}, {"1E-15", 1e12}, {"50", 0.02}}) {
        SimHarness h;
        ASSERT_TRUE(h.runClean(matched(QString("T1 NA 0 NB 0 %1 1N").arg(z0)), "0.1ns", "10ns", "Maximal"));
        const auto* t = findElement<CTransmissionLineSim>(h.doc, "T1");
        EXPECT_DOUBLE_EQ(t->G, g) << z0;
        EXPECT_TRUE(t->PortG[0] == g && t->PortG[1] == g) << z0;
        // The port currents stay finite and agree with the resistors on either side.
        const auto il = h.trace("IL(T1)"), ir = h.trace("IR(T1)");
        const auto vs = h.trace("V(NS)"), va = h.trace("V(NA)"), vb = h.trace("V(NB)");
        for (size_t j = 0; j < il.size(); ++j) {
            ASSERT_TRUE(std::isfinite(il[j]) && std::isfinite(ir[j])) << z0 << " " << j;
            ASSERT_NEAR(il[j], -(vs[j] - va[j]) / 50, 1e-9 * 0.02) << z0 << " " << j;
            ASSERT_NEAR(ir[j], vb[j] / 50, 1e-9 * 0.02) << z0 << " " << j;
        }
    }
}

TEST(Line, MagneticallyInsulatedLinePartsRunAsNearShorts)
{
    const std::pair<const char*, const char*> cases[] = {
        {"T1 NA 0 NB 0 MITL0 Z0=30 TD=1N IC=0", "Warning: Unrecognized Character in Netlist."},
        {"T1 NA 0 NB 0 MITL1 RI=10MM RO=20MM TD=1N EB=30MEG TOT=10N IC=0",
         "Warning: Unrecognized Character in Netlist"},
    };
    for (const auto& [statement, valueWarning] : cases) {
        SimHarness h;
        ASSERT_TRUE(h.run(matched(statement), "0.1ns", "10ns")) << statement;
        const QString kind = QString(statement).section(' ', 5, 5);
        EXPECT_EQ(h.problems(),
                  QStringList({valueWarning, "Warning:  T1 (" + kind +
                                                 ") has no simulation model of its own and runs as a near "
                                                 "short circuit."}));
        const auto* t = findElement<CTransmissionLineSim>(h.doc, "T1");
        EXPECT_TRUE(t->Z0 == 0 && t->Delay == 1 && t->G == 1e12 && t->InitialVoltage == 0) << statement;
        // The source sees a short: all of its current flows into the line.
        EXPECT_NEAR(h.at("IL(T1)", 5e-9), -0.02, 1e-12);
        EXPECT_NEAR(h.at("V(NA)", 5e-9), 0, 1e-9);
    }
}
