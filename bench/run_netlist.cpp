// Runs one netlist file headless and prints traces as a table of time and values.
//
//   run_netlist NETLIST [--step V] [--start V] [--span V] [--mode Auto|None|Minimal|Maximal]
//               [--input FOLDER] [--trace EXPR]... [--dense-solver]
//
// --dense-solver factors and solves with the dense routines, which the program's solver agrees with
// within rounding.
// Standard output: "Time, " and the trace expressions, then one line per time point (%.9e).
// A trace that cannot be evaluated has no column.
// Standard error: "message: " and every message of the run, then "run seconds: " and the wall time.
// Exit status: 0 the run completed, 1 the run or a trace failed, a step failed to converge (the step
// is named and no table is written), memory ran out or standard output could not be written, 2 bad
// arguments or a netlist that cannot be read.
#include "CSimulatorDoc.h"
#include "ElementFactory.h"
#include "Files.h"
#include "Text.h"
#include "UiServices.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

int usage(const char* why)
{
    std::fprintf(stderr,
                 "run_netlist: %s\nusage: run_netlist NETLIST [--step V] [--start V] [--span V] "
                 "[--mode Auto|None|Minimal|Maximal] [--input FOLDER] [--trace EXPR]... [--dense-solver]\n",
                 why);
    return 2;
}

int cannotRead(const QString& path, const QString& reason)
{
    std::fprintf(stderr, "run_netlist: cannot read %s: %s\n", qPrintable(path), qPrintable(reason));
    return 2;
}

// What the command line asks for.
struct Options {
    QString netlistPath;
    RunSettings settings;
    QStringList traces;
    bool denseSolver = false;
};

// The traces of a completed run as the table shows them.
struct Table {
    QStringList shown;                       // the traces that could be evaluated
    std::vector<std::vector<double>> values; // one column per shown trace
    std::vector<double> time;                // the time of every point
    bool allOk = true;                       // no trace was left out
};

int run(int argc, char** argv);

} // namespace

int main(int argc, char** argv)
{
    // A reader that goes away (run_netlist ... | head) is a write error like any other, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "run_netlist: not enough memory\n");
        return 1;
    }
}

namespace {

// Reads the command line into `options`: 0 when it can be run, else the exit status after the usage
// text.
int readArguments(const QStringList& args, Options& options)
{
    if (args.size() < 2) return usage("no netlist given");
    RunSettings& settings = options.settings;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&](QString& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        bool ok = true;
        if (a == "--step")
            ok = value(settings.timeStep);
        else if (a == "--start")
            ok = value(settings.startTime);
        else if (a == "--span")
            ok = value(settings.timeSpan);
        else if (a == "--mode") {
            ok = value(settings.matrixMode);
            if (ok && !QStringList{"Auto", "None", "Minimal", "Maximal"}.contains(settings.matrixMode))
                return usage("--mode takes Auto, None, Minimal or Maximal");
        } else if (a == "--input") {
            ok = value(settings.path);
            settings.sourceMode = QStringLiteral("Path");
            if (ok && !settings.path.endsWith('\\') && !settings.path.endsWith('/')) settings.path += '\\';
        } else if (a == "--trace") {
            QString t;
            ok = value(t);
            // Through the netlist's own upper-casing, so that a name finds what the netlist calls it.
            options.traces << text::upper(t);
        } else if (a == "--dense-solver") {
            options.denseSolver = true;
        } else if (a.startsWith("--"))
            return usage(qPrintable("unknown option " + a));
        else if (options.netlistPath.isEmpty())
            options.netlistPath = a;
        else
            return usage("more than one netlist given");
        if (!ok) return usage(qPrintable(a + " needs a value"));
    }
    if (options.netlistPath.isEmpty()) return usage("no netlist given");
    return 0;
}

// The document of the netlist's bytes with the command line's settings, ready to run.
void setUpDocument(CSimulatorDoc& doc, const Options& options, QByteArray& bytes)
{
    doc.SetElementFactory(CreateElement);
    doc.Settings() = options.settings;
    doc.SetDenseSolver(options.denseSolver);
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    doc.Load(file);
}

// Whether the run ended at a step that did not converge, which is then named. The window shows such a
// run as completed, with the message that ended it; here the table would pass for the whole run.
bool endedUnconverged(const CSimulatorDoc& doc)
{
    if (!doc.EndedUnconverged()) return false;
    const ResultsTable& results = doc.Results();
    const int step = results.PointCount() - 1;
    std::fprintf(stderr,
                 "run_netlist: step %d (t = %.9e s) failed to converge; the run ended there and no table "
                 "is written\n",
                 step, results.Time(step));
    return true;
}

// The traces asked for (every plottable node voltage when none was) over every point of the run.
Table evaluateTraces(const CSimulatorDoc& doc, QStringList traces)
{
    if (traces.isEmpty())
        for (const QString& node : doc.NodeNames().mid(1))
            if (node.startsWith('N') || node.startsWith('P')) traces << "V(" + node + ")";

    const ResultsTable& results = doc.Results();
    const int n = results.PointCount();
    Table table;
    for (const QString& t : traces) {
        std::vector<double> v(size_t(n), 0.0);
        if (!results.GetTraceValues(t, n, v.data())) {
            table.allOk = false;
            continue;
        }
        table.values.push_back(std::move(v));
        table.shown << t;
    }
    table.time.resize(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j)
        table.time[size_t(j)] = results.Time(j);
    return table;
}

// Writes the table to standard output (whether it arrived is asked of the stream afterwards).
void printTable(const Table& table)
{
    std::printf("Time");
    for (const QString& t : table.shown)
        std::printf(", %s", qPrintable(t));
    std::printf("\n");
    // printf's %.9e, digit for digit, at a fraction of its cost for tens of thousands of lines.
    std::string text;
    const size_t lineBytes = (table.values.size() + 1) * 24;
    text.reserve(std::max<size_t>(1 << 16, lineBytes) + lineBytes);
    const auto put = [&text](double v) {
        char digits[32];
        const auto end =
            std::to_chars(digits, digits + sizeof digits, v, std::chars_format::scientific, 9).ptr;
        text.append(digits, end);
    };
    const size_t n = table.time.size();
    for (size_t j = 0; j < n; ++j) {
        put(table.time[j]);
        for (const auto& v : table.values) {
            text += ", ";
            put(v[j]);
        }
        text += '\n';
        if (text.size() >= (1 << 16) || j + 1 == n) {
            std::fwrite(text.data(), 1, text.size(), stdout);
            text.clear();
        }
    }
}

int run(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    if (const int refused = readArguments(app.arguments(), options)) return refused;

    QString reason;
    std::optional<QByteArray> bytes = files::Read(options.netlistPath, files::Kind::Netlist, &reason);
    if (!bytes) return cannotRead(options.netlistPath, reason);

    StderrUiServices printer(QStringLiteral("message: "));
    setUi(&printer);
    CSimulatorDoc doc;
    setUpDocument(doc, options, *bytes);
    bytes.reset();

    QElapsedTimer clock;
    clock.start();
    const bool ok = doc.RunSimulation();
    const double seconds = clock.nsecsElapsed() * 1e-9;
    if (!ok || endedUnconverged(doc)) {
        std::fprintf(stderr, "run seconds: %.6f\n", seconds);
        return 1;
    }

    // The traces are copied: the run's tables go back to the system (many thousands of pages for a
    // long run of a large circuit) while the table is written.
    const Table table = evaluateTraces(doc, options.traces);
    std::thread freeing([&doc] { doc.FreeResults(); });
    errno = 0;
    printTable(table);
    freeing.join();
    std::fprintf(stderr, "run seconds: %.6f\n", seconds);
    setUi(nullptr);
    // Standard output may be a full disk or a closed pipe: a table that did not arrive is a failure.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "run_netlist: cannot write the table: %s\n",
                     errno ? std::strerror(errno) : "write error");
        return 1;
    }
    return table.allOk ? 0 : 1;
}

} // namespace
