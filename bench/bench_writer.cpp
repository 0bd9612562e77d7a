// Netlist writing cost against schematic size.
//
//   write/PARTS   the netlist of a schematic of PARTS resistors in rows, each joined to the next by a
//                 wire, every tenth node tied to ground by a second resistor and every hundredth named
//                 by a voltage probe; the source drives the first node. Goal: under 100 ms for 10,000
//                 parts, growing linearly.
#include "CDrawing.h"
#include "CTorvex2Doc.h"
#include "ComponentTypeId.h"
#include "UiServices.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

namespace {

void add(CTorvex2Doc& doc, quint32 type, QPoint at)
{
    std::unique_ptr<CComponent> object = CTorvex2Doc::CreateComponent(type);
    object->Position = at;
    doc.Components().push_back(std::move(object));
    doc.Components().back()->CreateAttachments(doc, at.x(), at.y());
    doc.Components().back()->State = 1;
}

void addWire(CTorvex2Doc& doc, QPoint from, QPoint to)
{
    auto wire = std::make_unique<CDrawing>(TypeWire);
    wire->Position = from;
    wire->Extent = Rect{from.x(), from.y(), to.x(), to.y()};
    doc.Components().push_back(std::move(wire));
    for (QPoint end : {from, to}) {
        auto pin = std::make_unique<CDrawing>(TypeTerminal);
        pin->Position = end;
        doc.Components().push_back(std::move(pin));
    }
}

// Resistors 1008 twips apart in rows of 100: pin 1 at the resistor's position, pin 2 576 to the right.
void buildLadder(CTorvex2Doc& doc, int parts)
{
    constexpr int kRow = 100, kPitch = 1008, kRowPitch = 1440;
    const auto place = [](int k) { return QPoint((k % kRow) * kPitch, -(k / kRow) * kRowPitch); };
    add(doc, TypeVoltageSource, place(0) + QPoint(0, 720));
    add(doc, TypeGround, place(0) + QPoint(0, 1440));
    for (int k = 0; k < parts; ++k) {
        const QPoint at = place(k);
        add(doc, TypeResistor, at);
        const QPoint next = k + 1 < parts ? place(k + 1) : at + QPoint(kPitch, 0);
        addWire(doc, at + QPoint(576, 0), next);
        if (k % 10 == 9) {
            add(doc, TypeResistor, at + QPoint(576, -576));
            addWire(doc, at + QPoint(576, 0), at + QPoint(576, -576));
            add(doc, TypeGround, at + QPoint(1152, -576));
        }
        if (k % 100 == 99) add(doc, TypeVoltageProbe, at + QPoint(576, 0));
    }
}

void BM_Write(benchmark::State& state)
{
    ScriptedUiServices ui;
    CTorvex2Doc doc;
    buildLadder(doc, int(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state) {
        const QString text = doc.WriteNetlist({}, {}, {}, {}, {}, {});
        bytes = size_t(text.size());
        benchmark::DoNotOptimize(text);
    }
    if (!ui.messages.isEmpty()) state.SkipWithError(qPrintable(ui.messages.first()));
    state.counters["objects"] = double(doc.Components().size());
    state.counters["chars"] = double(bytes);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Write)
    ->Name("write")
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
