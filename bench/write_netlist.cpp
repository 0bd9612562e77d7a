// Writes the netlist of one schematic file headless, as Create Netlist does.
//
//   write_netlist FILE.cas
//
// Standard output: the netlist text in UTF-8, exactly as the netlist window receives it (lines end
// in CR LF). Standard error: "message: " and every message.
// Exit status: 0 the netlist was written, 1 it could not be made or written (a message says why),
// 2 bad arguments.
#include "CTorvex2Doc.h"
#include "UiServices.h"

#include <QCoreApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

int usage(const char* why)
{
    std::fprintf(stderr, "write_netlist: %s\nusage: write_netlist FILE.cas\n", why);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // A reader that goes away (write_netlist ... | head) is a write error like any other, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2)
        return usage(args.size() < 2 ? "no schematic given" : "more than one argument given");
    if (args[1].startsWith(QStringLiteral("--"))) return usage(qPrintable("unknown option " + args[1]));

    StderrUiServices printer(QStringLiteral("message: "));
    setUi(&printer);
    QString reason;
    const std::unique_ptr<CTorvex2Doc> doc = CTorvex2Doc::OpenDetached(args[1], &reason);
    if (!doc) {
        printer.message(QStringLiteral("Cannot read ") + args[1] + QStringLiteral(": ") + reason);
        setUi(nullptr);
        return 1;
    }
    const std::optional<QString> text = doc->CreateNetlistText();
    setUi(nullptr);
    if (!text) return 1;
    const QByteArray bytes = text->toUtf8();
    errno = 0;
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    // Standard output may be a full disk or a closed pipe: a netlist that did not arrive is a failure.
    if (written != size_t(bytes.size()) || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "write_netlist: cannot write the netlist: %s\n",
                     errno ? std::strerror(errno) : "write error");
        return 1;
    }
    return 0;
}
