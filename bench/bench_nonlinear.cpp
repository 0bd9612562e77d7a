// Whole runs of circuits with many diodes, as bench/decks/make_decks.sh writes them for the comparison
// with ngspice (bench/decks/compare.sh):
//
//   diodeBank/DIODES/STEPS/MODE  diodes from one pulsed bus, each behind 10 ohm with 0.5 ohm of its own
//                                into 100 ohm and 100 pF, at 0.1 ns (100 and 1,000 diodes, 10,000 steps)
//   diodeStack/DIODES/STEPS      diodes in series from a 30 kV pulse (20,000 diodes, 1,000 steps)
//
// MODE 0 is the program's iteration rule (every element asked after each solve), 1 the reference
// order (in list order until the first that asks), which takes a solve per diode and step.
#include "CSimulatorDoc.h"
#include "ElementFactory.h"
#include "QuietUi.h"
#include "UiServices.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>

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

BENCHMARK_MAIN();
