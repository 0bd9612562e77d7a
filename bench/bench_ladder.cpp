// Cost per time step against circuit size, for each matrix mode, and whole runs.
//
// Each per-step benchmark runs the same circuit for 100 and for 300 steps, each several times, and
// reports the difference of the fastest runs divided by 200: the marginal cost of one step, without
// the set-up and the first factorisation.
//
//   ladder/N/MODE/SOLVER    a linear RLC ladder of N nodes
//   cut/N/MODE/SOLVER       the same ladder cut by transmission lines into sections of 10 nodes
//   switched/N/MODE/SOLVER  the cut ladder with one closing switch, which changes its resistance at
//                           every step: "None" refactors everything, "Maximal" only the switch's section
//   wholeRun/rcLadder/SECTIONS/STEPS/SOLVER  a whole run of an RC ladder at 0.1 ns in mode None (400 sections
//                           over 2000 ns; 20,000 sections over 200 ns)
//   wholeRun/cutRcLadder/NODES/STEPS  a whole run of an RC ladder cut by a line every 10 nodes, in mode
//   Maximal
//                           (200,000 nodes over 20 ns)
//
// SOLVER 0 is the program's solver, 1 the dense routines it agrees with within rounding, 2 the
// structure-aware routines that give the dense routines' results over the entries that can be non-zero
// (what the program's solver falls back on).
#include "CSimulatorDoc.h"
#include "ElementFactory.h"
#include "QuietUi.h"
#include "UiServices.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>

namespace {

enum Shape { Ladder, Cut, Switched };
const char* kModes[] = {"None", "Minimal", "Maximal", "Auto"};

QString netlist(int nodes, Shape shape)
{
    QString s = "* bench\nV1 N1 0 PULSE 0 1 0 1N 1N 50N 100N\n";
    const int sections = nodes / 2;
    for (int i = 1; i <= sections; ++i) {
        s += QString("R%1 N%1 M%1 1\n").arg(i);
        if (shape != Ladder && i % 5 == 0)
            s += QString("T%1 M%1 0 N%2 0 Z0=50 TD=1N\n").arg(i).arg(i + 1);
        else
            s += QString("L%1 M%1 N%2 10N\n").arg(i).arg(i + 1);
        s += QString("C%1 N%2 0 1P\n").arg(i).arg(i + 1);
    }
    if (shape == Switched) s += QString("S1 N%1 0 TIME 1MEG 1 2N 10N EXP\n").arg(sections / 2);
    return s;
}

QString rcLadder(int sections)
{
    QString s = "* RC ladder\nV1 N0 0 PULSE 0 1 0 1N 1N 1U 2U\n";
    for (int i = 1; i <= sections; ++i)
        s += QString("R%1 N%2 N%1 10\nC%1 N%1 0 10P\n").arg(i).arg(i - 1);
    return s;
}

// The RC ladder with every tenth resistor a line: partitions of 10 nodes.
QString cutRcLadder(int nodes)
{
    QString s = "* cut RC ladder\nV1 N0 0 PULSE 0 1 0 1N 1N 1U 2U\n";
    for (int i = 1; i <= nodes; ++i) {
        if (i % 10 == 0)
            s += QString("T%1 N%2 0 N%1 0 Z0=50 TD=1N\n").arg(i).arg(i - 1);
        else
            s += QString("R%1 N%2 N%1 10\n").arg(i).arg(i - 1);
        s += QString("C%1 N%1 0 10P\n").arg(i);
    }
    return s;
}

const LinearSolver::Method kSolvers[] = {LinearSolver::Method::Program, LinearSolver::Method::Dense,
                                         LinearSolver::Method::Structured};
const char* kSolverLabels[] = {"", " dense", " structured"};

double runSeconds(const QString& text, const char* mode, int steps, int solver)
{
    CSimulatorDoc doc;
    doc.SetElementFactory(CreateElement);
    doc.SetSolver(kSolvers[solver]);
    doc.SetNetlistText(text);
    doc.Settings().timeStep = "0.1N";
    doc.Settings().timeSpan = QString::number(steps) + "E-10";
    doc.Settings().matrixMode = mode;
    QElapsedTimer t;
    t.start();
    if (!doc.RunSimulation()) return -1;
    return t.nsecsElapsed() * 1e-9;
}

// The fastest of a few runs: the others met a busy machine.
double fastestSeconds(const QString& text, const char* mode, int steps, int solver, int runs)
{
    double best = -1;
    for (int i = 0; i < runs; ++i) {
        const double s = runSeconds(text, mode, steps, solver);
        if (s < 0) return -1;
        if (best < 0 || s < best) best = s;
    }
    return best;
}

void perStep(benchmark::State& state, Shape shape)
{
    QuietUi quiet;
    setUi(&quiet);
    const int nodes = int(state.range(0));
    const char* mode = kModes[state.range(1)];
    const int solver = int(state.range(2));
    const QString text = netlist(nodes, shape);
    // Slow cases are timed fewer times.
    const int runs = nodes >= 1000 && (solver == 1 || shape == Switched) ? 1 : 5;
    for (auto _ : state) {
        const double shortRun = fastestSeconds(text, mode, 100, solver, runs);
        const double longRun = fastestSeconds(text, mode, 300, solver, runs);
        if (shortRun < 0 || longRun < 0) {
            state.SkipWithError("run failed");
            break;
        }
        state.SetIterationTime(std::max(0.0, (longRun - shortRun) / 200.0));
    }
    state.SetLabel(std::string(mode) + kSolverLabels[solver]);
    setUi(nullptr);
}

void wholeRun(benchmark::State& state, bool cut)
{
    QuietUi quiet;
    setUi(&quiet);
    const int size = int(state.range(0));
    const int steps = int(state.range(1));
    const int solver = cut ? 0 : int(state.range(2));
    const char* mode = cut ? "Maximal" : "None";
    const QString text = cut ? cutRcLadder(size) : rcLadder(size);
    for (auto _ : state) {
        const double seconds = runSeconds(text, mode, steps, solver);
        if (seconds < 0) {
            state.SkipWithError("run failed");
            break;
        }
        state.SetIterationTime(seconds);
    }
    state.SetLabel(std::string(mode) + kSolverLabels[solver]);
    setUi(nullptr);
}

// Every mode up to 3000 nodes with the program's solver; mode None with the dense routines up to
// `maxDense` nodes and with the structure-aware routines, for comparison.
void args(benchmark::internal::Benchmark* b, int maxDense)
{
    for (int n : {10, 30, 100, 300, 1000, 3000}) {
        for (int m = 0; m < 4; ++m)
            b->Args({n, m, 0});
        if (n <= maxDense) b->Args({n, 0, 1});
        b->Args({n, 0, 2});
    }
    b->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(1);
}

} // namespace

BENCHMARK_CAPTURE(perStep, ladder, Ladder)->Apply([](auto* b) { args(b, 1000); });
BENCHMARK_CAPTURE(perStep, cut, Cut)->Apply([](auto* b) { args(b, 1000); });
// The dense refactor of 1000 nodes takes a minute for the 400 steps.
BENCHMARK_CAPTURE(perStep, switched, Switched)->Apply([](auto* b) { args(b, 300); });
BENCHMARK_CAPTURE(wholeRun, rcLadder, false)
    ->Args({400, 20000, 0})
    ->Args({400, 20000, 1})
    ->Args({20000, 2000, 0})
    ->Args({400, 20000, 2})
    ->Args({20000, 2000, 2})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(wholeRun, cutRcLadder, true)
    ->Args({200000, 200})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
