// What a plot of 8 traces of a million samples costs to bring to the screen besides the painting:
// the thinned points after the axes change (a fit, a zoom band) and when they are reused.
#include "CPlotDoc.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kTraces = 8;
constexpr int kSamples = 1000000;
// A 1600 pixel wide picture of the whole page.
const ColumnMapping kColumns{1600.0 / 15840, 0};

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

void drawPoints(benchmark::State& state, CPlotDoc& doc)
{
    size_t points = 0;
    for (CPlotTrace& t : doc.Traces)
        points += t.ScreenPoints(doc.Axes, kColumns).Points.size();
    benchmark::DoNotOptimize(points);
    state.counters["points"] = double(points);
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
        doc.ZoomToRect(Rect{4000, -2000, 9000, -8000});
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

} // namespace

BENCHMARK_MAIN();
