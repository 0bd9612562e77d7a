// Feeds arbitrary bytes to the plot archive reader. Whatever it accepts must write back, read again
// and write the same bytes, survive an undo round, and give finite axes, bounded ticks and drawable
// points however strange its numbers are.
#include "CPlotDoc.h"
#include "DcRecorder.h"
#include "FileBytes.h"
#include "UiServices.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {
class Quiet : public UiServices {
public:
    void message(const QString&) override {}
    Answer question(const QString&, Buttons) override { return Answer::Ok; }
};

void check(bool ok)
{
    if (!ok) __builtin_trap();
}

// A drawing of the plot, and what it computes.
void drawingArithmetic(CPlotDoc& doc)
{
    check(plot::XTicks(doc.Axes).size() <= plot::kMaxTicks + 3);
    check(plot::YTicks(doc.Axes).size() <= plot::kMaxTicks + 3);
    RecordingDc dc;
    doc.DrawPlot(dc);
    for (int i = 0; i < doc.TracesInUse(); ++i) {
        CPlotTrace& t = doc.Traces[size_t(i)];
        const TracePolylines& p = t.ScreenPoints(doc.Axes, ColumnMapping(dc.Mapping()));
        check(p.RunEnds.empty() ? p.Points.empty() : p.RunEnds.back() == qsizetype(p.Points.size()));
        doc.GetTraceValueAt(i, t.T0 + t.Dt * 1.5);
        plot::ScaleLabel(t.Scale);
    }
    plot::TimeAxisLabel(doc.Axes.TimeUnit);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Quiet quiet;
    setUi(&quiet);
    CPlotDoc doc;
    if (!loadBytes(doc, QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size))))
        return 0;
    const QByteArray once = saveBytes(doc);
    CPlotDoc again;
    check(loadBytes(again, once) && saveBytes(again) == once);

    doc.CheckPoint();
    drawingArithmetic(doc);
    doc.ZoomToRect(Rect{2000, -2000, 9000, -9000});
    drawingArithmetic(doc);

    doc.AutoScale();
    const PlotAxes& a = doc.Axes;
    check(a.TimeUnit > 0 && std::isfinite(a.TimeUnit) && std::isfinite(a.XMin) && a.XMax > a.XMin &&
          std::isfinite(a.XMax - a.XMin) && std::isfinite(a.YMin) && a.YMax > a.YMin &&
          std::isfinite(a.YMax - a.YMin));
    drawingArithmetic(doc);

    doc.AddComponent();
    doc.CheckPoint();
    doc.Undo();
    check(doc.Annotations().size() == again.Annotations().size());
    return 0;
}
