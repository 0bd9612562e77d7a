// Feeds arbitrary text to the netlist reader and a short run of it.
#include "CSimulatorDoc.h"
#include "ElementFactory.h"
#include "UiServices.h"

#include <cstddef>
#include <cstdint>

namespace {
class Quiet : public UiServices {
public:
    void message(const QString&) override {}
    Answer question(const QString&, Buttons) override { return Answer::Ok; }
};
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
    doc.SetNetlistText(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    doc.RunSimulation();
    return 0;
}
