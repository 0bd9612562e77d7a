// Reading large netlists: the text split into statements and every statement parsed into its element.
//
//   read/STATEMENTS       an RC ladder with a comment every 100 statements and a continuation every
//                         1000, as a netlist window holds it (lines ended by "\n")
//   readLadder/NODES      a ladder of NODES nodes cut by a transmission line every 10 nodes, as the
//                         netlist writer makes it (CR LF, one partition of 10 nodes between two lines)
#include "CSimulatorDoc.h"
#include "ElementFactory.h"
#include "QuietUi.h"
#include "UiServices.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>

namespace {

QString rcStatements(int statements)
{
    QString s = QStringLiteral("* RC ladder\nV1 N0 0 PULSE 0 1 0 1N 1N 1U 2U\n");
    s.reserve(qsizetype(statements) * 24);
    for (int i = 1; 2 * i <= statements; ++i) {
        s += QStringLiteral("R%1 N%2 N%1 10\nC%1 N%1 0 10P\n").arg(i).arg(i - 1);
        if (i % 50 == 0) s += QStringLiteral("* section %1\n").arg(i / 50);
        if (i % 500 == 0) s += QStringLiteral("R%1X N%1 0\n+ 1MEG\n").arg(i);
    }
    return s;
}

QString cutLadder(int nodes)
{
    QString s = QStringLiteral("* cut ladder\r\nV1 N1 0 PULSE 0 1 0 1N 1N 50N 100N\r\n");
    s.reserve(qsizetype(nodes) * 24);
    for (int i = 1; i < nodes; ++i) {
        if (i % 10 == 0)
            s += QStringLiteral("T%1 N%1 0 N%2 0 Z0=50 TD=1N\r\n").arg(i).arg(i + 1);
        else
            s += QStringLiteral("R%1 N%1 N%2 1\r\nC%1 N%2 0 1P\r\n").arg(i).arg(i + 1);
    }
    return s;
}

void readAndParse(benchmark::State& state, const QString& text)
{
    QuietUi quiet;
    setUi(&quiet);
    for (auto _ : state) {
        CSimulatorDoc doc;
        doc.SetElementFactory(CreateElement);
        doc.SetNetlistText(text);
        QElapsedTimer t;
        t.start();
        const bool read = doc.ReadNetlistLines();
        const double lineSeconds = t.nsecsElapsed() * 1e-9;
        if (!read || !doc.ParseNetlistStatements()) {
            state.SkipWithError("the netlist was refused");
            break;
        }
        state.SetIterationTime(t.nsecsElapsed() * 1e-9);
        state.counters["statements"] = double(doc.Elements().size());
        state.counters["lines_s"] = lineSeconds;
        doc.FreeResults(); // outside the timed part
    }
    setUi(nullptr);
}

void read(benchmark::State& state)
{
    readAndParse(state, rcStatements(int(state.range(0))));
}

void readLadder(benchmark::State& state)
{
    readAndParse(state, cutLadder(int(state.range(0))));
}

} // namespace

BENCHMARK(read)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(readLadder)->Arg(200000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
