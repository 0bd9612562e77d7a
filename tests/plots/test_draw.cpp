#include "DcRecorder.h"
#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

TEST(PlotDrawing, FrameTicksLabelsGridAndLegend)
{
    // 0 to 50 ms with values 0.2 to 0.8: ticks every 5 ms, values -1 to 9 in tenths.
    CPlotDoc doc;
    setTraces(doc, {makeTrace(0, 0.01, {0.2, 0.8, 0.5, 0.3, 0.6, 0.4})});
    doc.Traces[0].Name = QStringLiteral("V(N1)");
    doc.AutoScale();
    RecordingDc rec;
    const Pen pen = rec.GetCurrentPen();
    doc.DrawPlot(rec);
    EXPECT_EQ(rec.GetCurrentPen(), pen);

    std::multimap<QString, QPoint> texts;
    for (const DcEntry& e : rec.OfKind(DcShape::Text))
        texts.emplace(e.text, e.points[0]);
    const auto hasText = [&texts](const QString& text, QPoint at) {
        const auto [from, to] = texts.equal_range(text);
        return std::any_of(from, to, [at](const auto& t) { return t.second == at; });
    };
    const std::vector<DcEntry> lines = rec.OfKind(DcShape::Line);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[1].points, (std::vector<QPoint>{{12960, -1440}, {12960, -10080}})); // the frame
    std::vector<int> xTicks;
    int grid = 0;
    for (const DcEntry& e : lines) {
        grid += e.pen.color == QColor(0xC0, 0xC0, 0xC0);
        if (e.points[1] == e.points[0] - QPoint(0, 100)) xTicks.push_back(e.points[0].x());
    }
    // Labels are centred under their ticks; characters measure half the 200-twip cell.
    ASSERT_EQ(xTicks.size(), 11u);
    for (int j = 0; j <= 10; ++j) {
        const QString label = QString::number(5 * j);
        EXPECT_NEAR(xTicks[size_t(j)], 1440 + 1152 * j, 1);
        EXPECT_TRUE(hasText(label, QPoint(xTicks[size_t(j)] - 50 * int(label.size()), -10180))) << j;
    }
    for (int k = -1; k <= 9; ++k) {
        const QString label = QString::number(k);
        EXPECT_TRUE(hasText(label, QPoint(1290 - 100 * int(label.size()), 864 * (k + 1) - 10080 + 100))) << k;
    }
    EXPECT_EQ(grid, 18); // inside the frame only
    EXPECT_TRUE(hasText("Time (ms)", QPoint(7200 - 450, -10380)));
    EXPECT_TRUE(hasText("V(N1)", QPoint(13824, -2348)));
    EXPECT_TRUE(hasText("(1.00e-01)", QPoint(13824, -2548)));
    EXPECT_EQ(lines.back().points, (std::vector<QPoint>{{13248, -2448}, {13680, -2448}}));
    EXPECT_EQ(lines.back().pen, Pen(Pen::Solid, 36, QColor(0, 0, 200)));
}

} // namespace
