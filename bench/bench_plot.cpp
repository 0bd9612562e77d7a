// What a plot of 8 traces of a million samples costs to bring to a 1600 x 1000 window at the zoom
// that fits the page: the thinned points after the axes change (a fit, a zoom band) and when they
// are reused, and the whole repaint of the window in each of these cases.
#include "CMemDCA.h"
#include "CPlotDoc.h"
#include "DcPainter.h"
#include "ZoomViewModel.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cmath>

namespace {

constexpr int kTraces = 8;
constexpr int kSamples = 1000000;
const QSize kWindow(1600, 1000);
constexpr int kDpi = 96;
const Rect kBand{4000, -2000, 9000, -8000};

CPlotDoc& plot()
{
    static CPlotDoc* doc = [] {
        auto* d = new CPlotDoc;
        d->OnNewDocument();
        d->Traces.resize(kTraces);
        d->TraceCount = kTraces;
        for (int i = 0; i < kTraces; ++i) {
            CPlotTrace& t = d->Traces[size_t(i)];
            t.Dt = 1e-9;
            t.PointCount = kSamples;
            t.Values.resize(kSamples);
            for (int k = 0; k < kSamples; ++k)
                t.Values[size_t(k)] = std::sin(k * 1e-4 * (i + 1)) * (1 + i) + 0.1 * std::sin(k * 0.7);
            t.ComputeStats();
        }
        d->AutoScale();
        return d;
    }();
    return *doc;
}

// The window's mapping at the zoom that fits the page.
const ZoomViewModel& window()
{
    static ZoomViewModel* view = [] {
        auto* v = new ZoomViewModel;
        v->AttachWindow(kWindow, QSize(16, 16), kDpi, kDpi);
        v->SetZoomSizes(plot::kPage);
        v->SetAnchorMode(ZoomViewModel::AnchorCentre);
        v->ZoomToFit();
        return v;
    }();
    return *view;
}

ColumnMapping columns()
{
    return ColumnMapping(window().ViewMapping());
}

void drawPoints(benchmark::State& state, CPlotDoc& doc)
{
    size_t points = 0;
    const ColumnMapping c = columns();
    for (CPlotTrace& t : doc.Traces)
        points += t.ScreenPoints(doc.Axes, c).Points.size();
    benchmark::DoNotOptimize(points);
    state.counters["points"] = double(points);
}

// A repaint of the whole window as the plot view makes it.
void repaint(CPlotDoc& doc, QImage& image)
{
    QPainter painter(&image);
    PainterDc dc(painter, image.rect(), kDpi, kDpi);
    window().OnPrepareDC(dc, false);
    CMemDCA mem(dc);
    doc.DrawPlot(mem);
}

void BM_PointsAfterAutoScale(benchmark::State& state)
{
    CPlotDoc& doc = plot();
    for (auto _ : state) {
        doc.AutoScale();
        drawPoints(state, doc);
    }
}
BENCHMARK(BM_PointsAfterAutoScale)->Unit(benchmark::kMillisecond);

void BM_PointsAfterZoomBand(benchmark::State& state)
{
    CPlotDoc& doc = plot();
    for (auto _ : state) {
        state.PauseTiming();
        doc.AutoScale();
        state.ResumeTiming();
        doc.ZoomToRect(kBand);
        drawPoints(state, doc);
    }
}
BENCHMARK(BM_PointsAfterZoomBand)->Unit(benchmark::kMillisecond);

void BM_PointsReused(benchmark::State& state)
{
    CPlotDoc& doc = plot();
    doc.AutoScale();
    for (auto _ : state)
        drawPoints(state, doc);
}
BENCHMARK(BM_PointsReused)->Unit(benchmark::kMicrosecond);

void BM_RepaintAfterAutoScale(benchmark::State& state)
{
    CPlotDoc& doc = plot();
    QImage image(kWindow, QImage::Format_RGB32);
    for (auto _ : state) {
        doc.AutoScale();
        repaint(doc, image);
    }
}
BENCHMARK(BM_RepaintAfterAutoScale)->Unit(benchmark::kMillisecond);

void BM_RepaintAfterZoomBand(benchmark::State& state)
{
    CPlotDoc& doc = plot();
    QImage image(kWindow, QImage::Format_RGB32);
    for (auto _ : state) {
        state.PauseTiming();
        doc.AutoScale();
        state.ResumeTiming();
        doc.ZoomToRect(kBand);
        repaint(doc, image);
    }
}
BENCHMARK(BM_RepaintAfterZoomBand)->Unit(benchmark::kMillisecond);

void BM_RepaintReused(benchmark::State& state)
{
    CPlotDoc& doc = plot();
    doc.AutoScale();
    QImage image(kWindow, QImage::Format_RGB32);
    for (auto _ : state)
        repaint(doc, image);
}
BENCHMARK(BM_RepaintReused)->Unit(benchmark::kMillisecond);

} // namespace
