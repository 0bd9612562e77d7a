// Whole runs of circuits with many diodes, as bench/decks/make_decks.sh writes them for the comparison
// with ngspice (bench/decks/compare.sh):
//
//   diodeBank/DIODES/STEPS/MODE  diodes from one pulsed bus, each behind 10 ohm with 0.5 ohm of its own
//                                into 100 ohm and 100 pF, at 0.1 ns (100 and 1,000 diodes, 10,000 steps)
//   diodeStack/DIODES/STEPS      diodes in series from a 30 kV pulse (20,000 diodes, 1,000 steps)
//   ruleAgreement/DIODES/STEPS   the bank under both rules: solves per step and time of each, and the
//                                largest difference of any node voltage between them over its range
//
// MODE 0 is the program's iteration rule (every element asked after each solve), 1 the reference
// order (in list order until the first that asks), which takes a solve per diode and step.
#include "CSimulatorDoc.h"
#include "ElementFactory.h"
#include "QuietUi.h"
#include "UiServices.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

namespace {

QString diodeBank(int diodes)
{
    QString s = "* diode bank\nV1 NBUS 0 PULSE 0 5 0 10N 10N 400N 1000N\n";
    for (int i = 1; i <= diodes; ++i)
        s +=
            QString(
                "R%1 NBUS NA%1 10\nD%1 NA%1 NK%1 IS=1E-14 N=1 RS=0.5\nRL%1 NK%1 NM%1 100\nCL%1 NM%1 0 100P\n")
                .arg(i);
    return s;
}

QString diodeStack(int diodes)
{
    QString s = "* diode stack\nV1 NIN 0 PULSE 0 30K 0 10N 10N 40N 1U\nRIN NIN N0 100\n";
    for (int i = 1; i <= diodes; ++i)
        s += QString("D%1 N%2 N%1 IS=1E-14 N=1\n").arg(i).arg(i - 1);
    return s + QString("RLOAD N%1 0 1K\n").arg(diodes);
}

// One run of the netlist at 0.1 ns for `steps` steps; false when it failed.
bool runOnce(CSimulatorDoc& doc, const QString& text, int steps, bool reference)
{
    doc.SetElementFactory(CreateElement);
    if (reference) doc.SetIterationRule(CSimulatorDoc::IterationRule::FirstAsking);
    doc.SetNetlistText(text);
    doc.Settings().timeStep = "0.1N";
    doc.Settings().timeSpan = QString::number(steps) + "E-10";
    return doc.RunSimulation();
}

// The largest difference between the two runs' node voltages, each over its range in the second.
double largestDifference(const CSimulatorDoc& a, const CSimulatorDoc& b)
{
    double worst = 0;
    for (int x = 1; x <= b.NodeCount(); ++x) {
        const double* va = a.ResultRow(x);
        const double* vb = b.ResultRow(x);
        const auto [low, high] = std::minmax_element(vb, vb + b.ResultColumns());
        const double range = *high - *low;
        for (int k = 0; k < b.ResultColumns() && range > 0; ++k)
            worst = std::max(worst, std::fabs(va[k] - vb[k]) / range);
    }
    return worst;
}

void ruleAgreement(benchmark::State& state)
{
    QuietUi quiet;
    setUi(&quiet);
    const int diodes = int(state.range(0)), steps = int(state.range(1));
    const QString text = diodeBank(diodes);
    for (auto _ : state) {
        CSimulatorDoc every, first;
        QElapsedTimer t;
        t.start();
        const bool ran = runOnce(every, text, steps, false);
        const double everySeconds = t.nsecsElapsed() * 1e-9;
        t.restart();
        if (!ran || !runOnce(first, text, steps, true)) {
            state.SkipWithError("run failed");
            break;
        }
        state.SetIterationTime(everySeconds);
        state.counters["reference s"] = t.nsecsElapsed() * 1e-9;
        state.counters["solves per step"] = double(every.FactorCount()) / (steps + 1);
        state.counters["reference solves per step"] = double(first.FactorCount()) / (steps + 1);
        state.counters["difference of range"] = largestDifference(every, first);
    }
    setUi(nullptr);
}

void wholeRun(benchmark::State& state, bool stack)
{
    QuietUi quiet;
    setUi(&quiet);
    const int diodes = int(state.range(0)), steps = int(state.range(1));
    const bool reference = state.range(2) != 0;
    const QString text = stack ? diodeStack(diodes) : diodeBank(diodes);
    for (auto _ : state) {
        CSimulatorDoc doc;
        doc.SetElementFactory(CreateElement);
        if (reference) doc.SetIterationRule(CSimulatorDoc::IterationRule::FirstAsking);
        doc.SetNetlistText(text);
        doc.Settings().timeStep = "0.1N";
        doc.Settings().timeSpan = QString::number(steps) + "E-10";
        QElapsedTimer t;
        t.start();
        if (!doc.RunSimulation()) {
            state.SkipWithError("run failed");
            break;
        }
        state.SetIterationTime(t.nsecsElapsed() * 1e-9);
        state.counters["solves per step"] = double(doc.FactorCount()) / (steps + 1);
    }
    state.SetLabel(reference ? "in list order" : "every element");
    setUi(nullptr);
}

} // namespace

BENCHMARK_CAPTURE(wholeRun, diodeBank, false)
    ->Args({100, 10000, 0})
    ->Args({100, 1000, 1})
    ->Args({1000, 10000, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(wholeRun, diodeStack, true)
    ->Args({20000, 1000, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK(ruleAgreement)
    ->Args({1, 10000})
    ->Args({10, 10000})
    ->Args({100, 2000})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
