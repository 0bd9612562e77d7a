// The schematic window's costs on a large drawing.
//
//   repaint/fit    the whole window (1600 by 1000) repainted through the off-screen context, the page
//                  at the zoom that fits it
//   repaint/smallest  the same at 10 %, the smallest zoom of the zoom commands, where the grid's
//                  points lie closer than a pixel
//   repaint/denseGrid  the same at the fitting zoom with a grid step of 10 twips (a file may hold
//                  any step): every pixel of the frame is a grid point's
//   hover          one pointer move while a wire is being drawn: the hover pass over every pin and
//                  wire, the wire's new path and the repaint areas
//   boxSelect/all  a box dragged over the whole page with the select tool: every part and wire
//                  selected with its attachments and the wires joined to it
//
// The drawing: a page of 22 by 17 inches with 2,000 resistors in 50 rows of 40, each joined to the
// next by a wire; every part has its name and value labels and two pins.
#include "CComponent.h"
#include "CDrawing.h"
#include "CMemDCA.h"
#include "CTorvex2Doc.h"
#include "CommandIds.h"
#include "ComponentTypeId.h"
#include "DcPainter.h"
#include "SchematicEditor.h"
#include "ZoomViewModel.h"

#include <benchmark/benchmark.h>

#include <algorithm>

#include <QImage>
#include <QPainter>

namespace {

const QSize kWindow(1600, 1000);
constexpr int kRows = 50;
constexpr int kColumns = 40;
constexpr int kStep = 144;

QPoint grid(int i, int j)
{
    return QPoint(1080 + kStep * i, -1080 - kStep * j);
}

std::unique_ptr<CDrawing> pin(QPoint at, const char* name)
{
    auto p = std::make_unique<CDrawing>(TypeTerminal);
    p->Text = QString::fromLatin1(name);
    p->Position = at;
    p->State = 1;
    return p;
}

void addWire(CTorvex2Doc& doc, QPoint from, QPoint to)
{
    auto wire = std::make_unique<CDrawing>(TypeWire);
    wire->Position = from;
    wire->Extent = Rect{from.x(), from.y(), to.x(), to.y()};
    wire->Orientation = 1;
    wire->State = 1;
    doc.Components().push_back(std::move(wire));
    doc.Components().push_back(pin(from, "1"));
    doc.Components().push_back(pin(to, "2"));
}

// The window's repaint requests cost nothing here.
struct Window : ZoomViewModel, EditorWindow {
    Window()
    {
        AttachWindow(kWindow, QSize(16, 16), 96, 96);
        SetAnchorMode(AnchorCentre);
    }
    void Repaint() override {}
    void RepaintPage(const Rect&) override { ++areas; }
    int areas = 0;
};

struct Drawing {
    CTorvex2Doc doc;
    Window window;
    SchematicEditor editor{window, window};

    Drawing()
    {
        doc.OnNewDocument();
        doc.OnPageSize(ID_PageSizeC);
        for (int row = 0; row < kRows; ++row)
            for (int column = 0; column < kColumns; ++column) {
                const QPoint at = grid(5 * column, 3 * row + 1);
                std::unique_ptr<CComponent> r = CTorvex2Doc::CreateComponent(TypeResistor);
                r->Position = at;
                r->State = 1;
                doc.Components().push_back(std::move(r));
                doc.Components().back()->CreateAttachments(doc, at.x(), at.y());
                if (column + 1 < kColumns) addWire(doc, at + QPoint(4 * kStep, 0), at + QPoint(5 * kStep, 0));
            }
        window.SetZoomSizes(doc.PageRect);
        window.ZoomToFit();
        editor.SetDocument(&doc);
        editor.UpdateJunctions();
    }
};

Drawing& drawing()
{
    static Drawing d;
    return d;
}

void BM_Repaint(benchmark::State& state)
{
    Drawing& d = drawing();
    QImage target(kWindow, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        PainterDc dc(painter, target.rect(), 96, 96);
        d.window.OnPrepareDC(dc, false);
        CMemDCA mem(dc);
        d.editor.Draw(mem);
    }
    state.counters["objects"] = double(d.doc.Components().size());
    state.counters["zoom"] = d.window.Zoom();
}
BENCHMARK(BM_Repaint)->Name("repaint/fit")->Unit(benchmark::kMillisecond);

void BM_RepaintSmallest(benchmark::State& state)
{
    Drawing& d = drawing();
    d.window.SetZoom(ZoomViewModel::kMinZoom);
    BM_Repaint(state);
    d.window.ZoomToFit();
}
BENCHMARK(BM_RepaintSmallest)->Name("repaint/smallest")->Unit(benchmark::kMillisecond);

void BM_RepaintDenseGrid(benchmark::State& state)
{
    Drawing& d = drawing();
    d.doc.GridSpacing = 10;
    BM_Repaint(state);
    d.doc.GridSpacing = kStep;
}
BENCHMARK(BM_RepaintDenseGrid)->Name("repaint/denseGrid")->Unit(benchmark::kMillisecond);

void BM_Hover(benchmark::State& state)
{
    Drawing& d = drawing();
    d.editor.OnPartsTool(TypeWire);
    d.editor.OnMouseMove(0, d.window.PageToClient(grid(3, 1)));
    d.editor.OnLButtonUp(0, d.window.PageToClient(grid(3, 1)));
    // Back and forth over pins, wires and empty page.
    std::vector<QPoint> path;
    for (int i = 0; i < 64; ++i)
        path.push_back(d.window.PageToClient(grid(3 + i, 1 + (i % 3))));
    size_t k = 0;
    for (auto _ : state)
        d.editor.OnMouseMove(0, path[k++ % path.size()]);
    d.editor.CancelOperation();
}
BENCHMARK(BM_Hover)->Name("hover")->Unit(benchmark::kMicrosecond);

void BM_BoxSelect(benchmark::State& state)
{
    Drawing& d = drawing();
    d.editor.OnPartsTool(SchematicEditor::kSelectTool);
    const Rect& page = d.doc.PageRect;
    const QPoint from = d.window.PageToClient(QPoint(page.left + 10, page.top - 10));
    const QPoint to = d.window.PageToClient(QPoint(page.right - 10, page.bottom + 10));
    size_t selected = 0;
    for (auto _ : state) {
        d.editor.OnLButtonDown(0, from);
        d.editor.OnMouseMove(1, (from + to) / 2);
        d.editor.OnMouseMove(1, to);
        d.editor.OnLButtonUp(0, to);
        state.PauseTiming();
        selected = size_t(std::count_if(d.doc.Components().begin(), d.doc.Components().end(),
                                        [](const auto& o) { return o->Selected != 0; }));
        d.editor.DeselectAll();
        state.ResumeTiming();
    }
    state.counters["selected"] = double(selected);
}
BENCHMARK(BM_BoxSelect)->Name("boxSelect/all")->Unit(benchmark::kMillisecond);

} // namespace
