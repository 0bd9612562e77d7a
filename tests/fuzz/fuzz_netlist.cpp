// Feeds arbitrary bytes through the netlist decoder, as a file is read, to the netlist reader and a
// short run of it; texts too long for a quick run (up to a megabyte) go through the reader and the
// statement parser only.
#include "CSimulatorDoc.h"
#include "ElementFactory.h"
#include "Text.h"
#include "UiServices.h"

#include <cstddef>
#include <cstdint>

namespace {
class Quiet : public UiServices {
public:
    void message(const QString&) override {}
    Answer question(const QString&, Buttons) override { return Answer::Ok; }
};

// Every statement the reader hands on is a whole line: not empty, no break in it, no blank in front,
// and neither a comment nor a continuation.
void checkLines(const QStringList& lines)
{
    for (const QString& line : lines) {
        if (line.isEmpty() || line.contains(u'\r') || line.contains(u'\n')) __builtin_trap();
        const QChar c = line[0];
        if (c == u' ' || c == u'\t' || c == u'*' || c == u'+') __builtin_trap();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Quiet quiet;
    setUi(&quiet);
    CSimulatorDoc::SetMemoryLimit(64.0 * 1024 * 1024);
    CSimulatorDoc doc;
    doc.SetElementFactory(CreateElement);
    doc.Settings().timeStep = "1N";
    doc.Settings().timeSpan = "8N";
    doc.Settings().matrixMode = (size % 4 == 0) ? "Maximal" : (size % 4 == 1) ? "Minimal" : "Auto";
    const QString text = text::decode(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    // Every line end is a "\n": the window and the reader take nothing else for one.
    if (text.contains(u'\r')) __builtin_trap();
    doc.SetNetlistText(text);
    if (size <= 4096) {
        doc.RunSimulation();
        return 0;
    }
    if (doc.ReadNetlistLines()) {
        checkLines(doc.Lines());
        doc.ParseNetlistStatements();
    }
    doc.FreeResults();
    return 0;
}
