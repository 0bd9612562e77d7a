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
// Exit status: 0 the run completed, 1 the run or a trace failed, memory ran out or standard output
// could not be written, 2 bad arguments or a netlist that cannot be read.
#include "CSimulatorDoc.h"
#include "ElementFactory.h"
#include "Files.h"
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

int run(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) return usage("no netlist given");

    QString netlistPath;
    RunSettings settings;
    QStringList traces;
    bool denseSolver = false;
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
            traces << t.toUpper();
        } else if (a == "--dense-solver") {
            denseSolver = true;
        } else if (a.startsWith("--"))
            return usage(qPrintable("unknown option " + a));
        else if (netlistPath.isEmpty())
            netlistPath = a;
        else
            return usage("more than one netlist given");
        if (!ok) return usage(qPrintable(a + " needs a value"));
    }
    if (netlistPath.isEmpty()) return usage("no netlist given");

    QString reason;
    std::optional<QByteArray> bytes = files::Read(netlistPath, files::Kind::Netlist, &reason);
    if (!bytes) return cannotRead(netlistPath, reason);

    StderrUiServices printer(QStringLiteral("message: "));
    setUi(&printer);
    CSimulatorDoc doc;
    doc.SetElementFactory(CreateElement);
    doc.Settings() = settings;
    doc.SetDenseSolver(denseSolver);
    {
        QBuffer file(&*bytes);
        file.open(QIODevice::ReadOnly);
        doc.Load(file);
    }
    bytes.reset();

    QElapsedTimer clock;
    clock.start();
    const bool ok = doc.RunSimulation();
    const double seconds = clock.nsecsElapsed() * 1e-9;
    if (!ok) {
        std::fprintf(stderr, "run seconds: %.6f\n", seconds);
        return 1;
    }
    if (traces.isEmpty())
        for (const QString& node : doc.NodeNames().mid(1))
            if (node.startsWith('N') || node.startsWith('P')) traces << "V(" + node + ")";

    const ResultsTable& results = doc.Results();
    const int n = results.PointCount();
    std::vector<std::vector<double>> values;
    QStringList shown;
    bool allOk = true;
    for (const QString& t : traces) {
        std::vector<double> v(size_t(n), 0.0);
        if (!results.GetTraceValues(t, n, v.data())) {
            allOk = false;
            continue;
        }
        values.push_back(std::move(v));
        shown << t;
    }
    // The traces are copied: the run's tables go back to the system (many thousands of pages for a
    // long run of a large circuit) while the table is written.
    std::vector<double> timePoints(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j)
        timePoints[size_t(j)] = results.Time(j);
    std::thread freeing([&doc] { doc.FreeResults(); });
    errno = 0;
    std::printf("Time");
    for (const QString& t : shown)
        std::printf(", %s", qPrintable(t));
    std::printf("\n");
    // printf's %.9e, digit for digit, at a fraction of its cost for tens of thousands of lines.
    std::string text;
    const size_t lineBytes = (values.size() + 1) * 24;
    text.reserve(std::max<size_t>(1 << 16, lineBytes) + lineBytes);
    const auto put = [&text](double v) {
        char digits[32];
        const auto end =
            std::to_chars(digits, digits + sizeof digits, v, std::chars_format::scientific, 9).ptr;
        text.append(digits, end);
    };
    for (int j = 0; j < n; ++j) {
        put(timePoints[size_t(j)]);
        for (const auto& v : values) {
            text += ", ";
            put(v[size_t(j)]);
        }
        text += '\n';
        if (text.size() >= (1 << 16) || j + 1 == n) {
            std::fwrite(text.data(), 1, text.size(), stdout);
            text.clear();
        }
    }
    freeing.join();
    std::fprintf(stderr, "run seconds: %.6f\n", seconds);
    setUi(nullptr);
    // Standard output may be a full disk or a closed pipe: a table that did not arrive is a failure.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "run_netlist: cannot write the table: %s\n",
                     errno ? std::strerror(errno) : "write error");
        return 1;
    }
    return allOk ? 0 : 1;
}

} // namespace
