#include "DcRecorder.h"
#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

const QColor kGrey(0xC0, 0xC0, 0xC0);

// A plot of 0 to 50 ms with values 0.2 to 0.8: ticks every 5 ms, values -1 to 9 in tenths.
CPlotDoc& fiftyMilliseconds(CPlotDoc& doc)
{
    setTraces(doc, {makeTrace(0, 0.01, {0.2, 0.8, 0.5, 0.3, 0.6, 0.4})});
    doc.Traces[0].Name = QStringLiteral("V(N1)");
    doc.AutoScale();
    return doc;
}

std::multimap<QString, QPoint> textsOf(const RecordingDc& rec)
{
    std::multimap<QString, QPoint> texts;
    for (const DcEntry& e : rec.OfKind(DcShape::Text))
        texts.emplace(e.text, e.points[0]);
    return texts;
}

bool hasText(const std::multimap<QString, QPoint>& texts, const QString& text, QPoint at)
{
    const auto [from, to] = texts.equal_range(text);
    return std::any_of(from, to, [at](const auto& t) { return t.second == at; });
}

TEST(PlotDrawing, FrameTicksLabelsGridAndLegend)
{
    CPlotDoc doc;
    fiftyMilliseconds(doc);
    RecordingDc rec;
    const Pen pen = rec.GetCurrentPen();
    const Font font = rec.GetCurrentFont();
    doc.DrawPlot(rec);
    EXPECT_EQ(rec.GetCurrentPen(), pen);
    EXPECT_EQ(rec.GetCurrentFont(), font);

    const std::vector<DcEntry> lines = rec.OfKind(DcShape::Line);
    ASSERT_GE(lines.size(), 4u);
    const QPoint corners[] = {{1440, -1440}, {12960, -1440}, {12960, -10080}, {1440, -10080}, {1440, -1440}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[size_t(i)].points, (std::vector<QPoint>{corners[i], corners[i + 1]}));
        EXPECT_EQ(lines[size_t(i)].pen, Pen(Pen::Solid, 20, QColor(0, 0, 0)));
    }

    // Characters measure half the 200-twip cell: a label of n characters is 100 n wide.
    const std::multimap<QString, QPoint> texts = textsOf(rec);
    std::vector<QPoint> xTicks, grid;
    for (const DcEntry& e : lines) {
        if (e.pen.color == kGrey) grid.push_back(e.points[0]);
        if (e.points[0].y() == -10080 && e.points[1] == e.points[0] - QPoint(0, 100))
            xTicks.push_back(e.points[0]);
    }
    ASSERT_EQ(xTicks.size(), 11u);
    for (int j = 0; j <= 10; ++j) {
        const QString label = QString::number(5 * j);
        const int px = xTicks[size_t(j)].x();
        EXPECT_NEAR(px, 1440 + 1152 * j, 1); // the tick's time, truncated to twips
        EXPECT_TRUE(hasText(texts, label, QPoint(px - 50 * int(label.size()), -10180))) << j;
    }
    EXPECT_TRUE(hasText(texts, "Time (ms)", QPoint(7200 - 450, -10380)));
    for (int k = -1; k <= 9; ++k) {
        const QString label = QString::number(k);
        EXPECT_TRUE(
            hasText(texts, label, QPoint(1290 - 100 * int(label.size()), 864 * (k + 1) - 10080 + 100)))
            << k;
    }
    // Grid lines cross the plot inside the frame only: 9 times in x, 9 times in y.
    EXPECT_EQ(grid.size(), 18u);

    EXPECT_TRUE(hasText(texts, "V(N1)", QPoint(13824, -2348)));
    EXPECT_TRUE(hasText(texts, "(1.00e-01)", QPoint(13824, -2548)));
    const DcEntry legend = lines.back();
    EXPECT_EQ(legend.points, (std::vector<QPoint>{{13248, -2448}, {13680, -2448}}));
    EXPECT_EQ(legend.pen, Pen(Pen::Solid, 36, QColor(0, 0, 200)));
}

// Draws nothing, but notes the clip area every polyline was drawn in.
class ClipProbe : public DcDevice {
public:
    void Output(const Dc& dc, const DcPrimitive& p) override
    {
        if (p.kind == DcShape::Polyline) clips.push_back(dc.GetClipBox());
    }
    QSize TextExtent(const Dc&, QStringView text) override { return QSize(int(text.size()) * 100, 200); }
    std::vector<Rect> clips;
};

class ProbeDc : public Dc {
public:
    explicit ProbeDc(DcDevice* device) : Dc(device, 96, 96, false, QRect(-100, -100, 2000, 2000))
    {
        SetMapMode(MM_TWIPS);
    }
};

TEST(PlotDrawing, TracesAreClippedToThePlotArea)
{
    CPlotDoc doc;
    fiftyMilliseconds(doc);
    doc.ZoomToRect(Rect{3000, -3000, 6000, -6000}); // the trace now runs far beyond the frame
    ClipProbe probe;
    ProbeDc dc(&probe);
    const Rect before = dc.GetClipBox();
    doc.DrawPlot(dc);
    ASSERT_FALSE(probe.clips.empty());
    for (const Rect& clip : probe.clips)
        EXPECT_EQ(clip, plot::kArea);
    EXPECT_EQ(dc.GetClipBox(), before);
}

std::vector<std::vector<QPoint>> polylinesOf(const RecordingDc& rec)
{
    std::vector<std::vector<QPoint>> out;
    for (const DcEntry& e : rec.OfKind(DcShape::Polyline))
        out.push_back(e.points);
    return out;
}

TEST(PlotDrawing, PointsAreReusedWhileAxesAndMappingStay)
{
    CPlotDoc doc;
    fiftyMilliseconds(doc);
    RecordingDc rec;
    doc.DrawPlot(rec);
    const auto first = polylinesOf(rec);
    ASSERT_EQ(first.size(), 1u);
    // Sample k lands at x = 1440 + 2304 k, a value v at y = (v + 0.1) * 8640 - 10080.
    EXPECT_EQ(first[0].front(), QPoint(1440, 2592 - 10080));
    EXPECT_EQ(first[0][1], QPoint(1440 + 2304, 7776 - 10080));
    EXPECT_EQ(first[0].back(), QPoint(12960, 4320 - 10080));

    doc.Traces[0].Values[0] = 0.8; // not seen while the points are reused
    rec.Clear();
    doc.DrawPlot(rec);
    EXPECT_EQ(polylinesOf(rec), first);

    RecordingDc zoomed;
    zoomed.SetMapMode(MM_ANISOTROPIC);
    zoomed.ScaleViewportExt(200, 100, 200, 100);
    doc.DrawPlot(zoomed);
    EXPECT_EQ(polylinesOf(zoomed)[0].front().y(), 7776 - 10080);

    doc.Traces[0].Values[0] = 0.2;
    doc.ZoomToRect(plot::kArea);
    rec.Clear();
    doc.DrawPlot(rec);
    EXPECT_EQ(polylinesOf(rec), first);
}

TEST(PlotDrawing, AnnotationsDrawOnlyTheirDottedFrame)
{
    CPlotComponent band;
    band.Bounds = Rect{100, -200, 300, -400};
    RecordingDc rec;
    EXPECT_FALSE(band.Draw(rec));
    band.Kind = CPlotComponent::kDottedFrame;
    EXPECT_TRUE(band.Draw(rec));
    EXPECT_EQ(rec.Describe(), "Line 100,-200 300,-200\nLine 300,-200 300,-400\nLine 300,-400 100,-400\n"
                              "Line 100,-400 100,-200");
    EXPECT_EQ(rec.Entries()[0].pen, Pen(Pen::Dot, 0, QColor(0x80, 0x80, 0x80)));
    EXPECT_EQ(rec.GetCurrentPen(), Pen());
}

} // namespace
