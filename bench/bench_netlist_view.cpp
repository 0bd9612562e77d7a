// Opening a large netlist in its window, from the file to a window that has nothing left to do.
//
//   open/oneLine:0   a netlist of 10 million characters (a 10 MB UTF-8 file) of short statements
//   open/oneLine:1   10 million characters of statements on one single line
//
// Time is open-to-idle: reading and decoding the file, then every step of filling the window until
// it is done. The counters: commandMs, the open command itself (read, decode, the window prepared),
// and longestStepMs, the longest that one step of filling kept the window from answering events.
#include "CSimulatorDoc.h"
#include "CSimulatorView.h"
#include "UiServices.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr qsizetype kNetlistCharacters = 10 * 1000 * 1000;

QString netlist(bool oneLine)
{
    QString text = QStringLiteral("* a large netlist\n");
    const QString end = oneLine ? QStringLiteral(" ") : QStringLiteral("\n");
    for (int i = 1; text.size() < kNetlistCharacters; ++i)
        text += QStringLiteral("R%1 N%1 N%2 10").arg(i).arg(i + 1) + end;
    return text;
}

void open(benchmark::State& state)
{
    const bool oneLine = state.range(0) != 0;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.cir"));
    {
        QFile file(path);
        const QByteArray bytes = netlist(oneLine).toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            state.SkipWithError("cannot write the netlist");
            return;
        }
    }
    ScriptedUiServices quiet;
    double command = 0, longest = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        CSimulatorDoc doc;
        CSimulatorView view;
        view.resize(1200, 800);
        view.show();
        doc.AddView(&view);
        if (!doc.OnOpenDocument(path)) state.SkipWithError("cannot open the netlist");
        view.OnUpdate(nullptr, 0);
        command = clock.nsecsElapsed() * 1e-6;
        while (view.IsFilling()) {
            const qint64 step = clock.nsecsElapsed();
            QApplication::processEvents();
            longest = std::max(longest, (clock.nsecsElapsed() - step) * 1e-6);
        }
        view.repaint();
        state.SetIterationTime(clock.nsecsElapsed() * 1e-9);
        doc.RemoveView(&view);
    }
    state.counters["commandMs"] = command;
    state.counters["longestStepMs"] = longest;
}

} // namespace

BENCHMARK(open)
    ->ArgName("oneLine")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
