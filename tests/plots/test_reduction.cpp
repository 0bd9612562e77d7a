#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <cmath>
#include <limits>
#include <map>

namespace {

// A view's mapping of page twips at a resolution and zoom, scrolled to a page x at the left edge.
DcMapping viewMapping(int dpi, int zoom, int leftX)
{
    DcMapping m;
    m.SetMode(MM_TWIPS, dpi, dpi);
    m.SetMode(MM_ANISOTROPIC, dpi, dpi);
    m.ScaleViewportExt(zoom, 100, zoom, 100);
    m.SetWindowOrg(QPoint(leftX, 0));
    m.SetViewportOrg(QPoint(-7, 3));
    return m;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using Runs = std::vector<std::vector<QPoint>>;

// The runs that draw something: those of two points or more.
Runs runsOf(const TracePolylines& p)
{
    Runs runs;
    qsizetype start = 0;
    for (qsizetype end : p.RunEnds) {
        if (end - start >= 2) runs.emplace_back(p.Points.begin() + start, p.Points.begin() + end);
        start = end;
    }
    EXPECT_EQ(start, qsizetype(p.Points.size()));
    return runs;
}

// What the plot area's clip shows of every sample drawn, broken at the missing ones: the points in
// the area's columns and the neighbours outside that the line enters and leaves by.
Runs visibleRuns(const plot::TraceMapping& m, const std::vector<double>& v, const ColumnMapping& c)
{
    const qint64 left = c.Column(plot::kArea.left), right = c.Column(plot::kArea.right);
    Runs runs;
    std::vector<QPoint> run;
    const auto flush = [&] {
        if (run.size() >= 2) runs.push_back(run);
        run.clear();
    };
    const auto column = [&](size_t k) { return c.Column(m.X(double(k))); };
    for (size_t k = 0; k < v.size(); ++k) {
        if (!std::isfinite(v[k])) {
            flush();
            continue;
        }
        const qint64 col = column(k);
        const bool entering = k + 1 < v.size() && std::isfinite(v[k + 1]) && column(k + 1) >= left;
        const bool leaving = k > 0 && std::isfinite(v[k - 1]) && column(k - 1) <= right;
        if ((col >= left && col <= right) || (col < left && entering) || (col > right && leaving))
            run.emplace_back(m.X(double(k)), m.Y(v[k]));
    }
    flush();
    return runs;
}

// Per device column: the lowest and highest y, and the points the line enters and leaves by.
std::map<qint64, std::array<int, 6>> columnsOf(const std::vector<QPoint>& run, const ColumnMapping& c)
{
    std::map<qint64, std::array<int, 6>> spans;
    for (const QPoint& p : run) {
        auto [it, added] =
            spans.try_emplace(c.Column(p.x()), std::array<int, 6>{p.y(), p.y(), p.x(), p.y(), 0, 0});
        std::array<int, 6>& s = it->second;
        s = {std::min(s[0], p.y()), std::max(s[1], p.y()), s[2], s[3], p.x(), p.y()};
    }
    return spans;
}

void expectSamePicture(const plot::TraceMapping& m, const std::vector<double>& v, const ColumnMapping& c)
{
    const Runs got = runsOf(ReduceTrace(m, v.data(), qsizetype(v.size()), c));
    const Runs full = visibleRuns(m, v, c);
    ASSERT_EQ(got.size(), full.size());
    const qint64 left = c.Column(plot::kArea.left);
    const qint64 right = c.Column(plot::kArea.right);
    for (size_t r = 0; r < full.size(); ++r) {
        // Every kept point is a vertex of the full polyline, in its order.
        auto at = full[r].begin();
        for (const QPoint& p : got[r]) {
            at = std::find(at, full[r].end(), p);
            ASSERT_NE(at, full[r].end()) << "run " << r;
        }
        EXPECT_EQ(got[r].front(), full[r].front());
        EXPECT_EQ(got[r].back(), full[r].back());
        EXPECT_LE(qint64(got[r].size()), 4 * (right - left + 3));
        const auto have = columnsOf(got[r], c);
        for (const auto& [column, span] : columnsOf(full[r], c))
            if (column >= left && column <= right) {
                EXPECT_EQ(have.at(column), span) << column;
            }
    }
}

TEST(TraceReduction, KeepsThePictureOfEveryColumn)
{
    QRandomGenerator random(7);
    std::vector<double> v(200000);
    double y = 0;
    for (double& x : v)
        x = y += random.generateDouble() - 0.5;
    for (size_t k : {0, 50, 51, 90000, 199999})
        v[k] = kNaN;
    v[1000] = std::numeric_limits<double>::infinity();

    PlotAxes fit{1, 1, 0, 2e-3, 0, 0, -300, 300, 1};
    PlotAxes zoomed = fit;
    ASSERT_TRUE(plot::ZoomAxes(zoomed, Rect{5000, -3000, 5600, -4000}));
    const DcMapping kMappings[] = {viewMapping(96, 100, 0), viewMapping(96, 1000, 500),
                                   viewMapping(96, 37, -3), viewMapping(1200, 100, 0)};
    for (const DcMapping& d : kMappings) {
        const ColumnMapping c(d);
        SCOPED_TRACE(d.ViewportExtX());
        // A column is a device pixel, halves rounded as the context rounds them.
        for (qint64 x : {-1441, -15, -7, 0, 7, 15, 22, 1440, 9999})
            EXPECT_EQ(c.Column(x) - c.Column(0), d.DeviceX(x) - d.DeviceX(0)) << x;
        for (const PlotAxes& a : {fit, zoomed})
            expectSamePicture(plot::MapTrace(a, 0, 1e-8, 1), v, c);
    }
}

TEST(TraceReduction, PointsAreCachedUntilAxesOrColumnsChange)
{
    CPlotDoc doc;
    setTraces(doc, {makeTrace(0, 1e-3, {1, 2, 3, 4})});
    doc.AutoScale();
    CPlotTrace& t = doc.Traces[0];
    const ColumnMapping columns(viewMapping(96, 100, 0));
    const TracePolylines first = t.ScreenPoints(doc.Axes, columns);
    t.Values[0] = 4; // not seen while the cache holds
    EXPECT_EQ(t.ScreenPoints(doc.Axes, columns), first);
    doc.ZoomToRect(Rect{1440, -1440, 12960, -10080});
    EXPECT_NE(t.ScreenPoints(doc.Axes, columns).Points.front(), first.Points.front());
    t.Values[0] = 1;
    EXPECT_EQ(t.ScreenPoints(doc.Axes, ColumnMapping(viewMapping(96, 200, 0))).Points.front(),
              first.Points.front());
}

} // namespace
