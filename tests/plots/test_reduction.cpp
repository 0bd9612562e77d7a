#include "PlotTestSupport.h"
#include "TraceReduction.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <cmath>
#include <limits>
#include <map>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using Runs = std::vector<std::vector<QPoint>>;

Runs runsOf(const TracePolylines& p)
{
    Runs runs;
    qsizetype start = 0;
    for (qsizetype end : p.RunEnds) {
        runs.emplace_back(p.Points.begin() + start, p.Points.begin() + end);
        start = end;
    }
    EXPECT_EQ(start, qsizetype(p.Points.size()));
    return runs;
}

// Every sample drawn, broken at the missing ones: what the thinned polyline must look like.
Runs fullRuns(const plot::TraceMapping& m, const std::vector<double>& v)
{
    Runs runs(1);
    for (size_t k = 0; k < v.size(); ++k) {
        if (std::isfinite(v[k]))
            runs.back().emplace_back(m.X(double(k)), m.Y(v[k]));
        else if (!runs.back().empty())
            runs.emplace_back();
    }
    if (runs.back().empty()) runs.pop_back();
    return runs;
}

struct ColumnSpan {
    int lo = INT_MAX, hi = INT_MIN;
    QPoint first, last;
};

std::map<double, ColumnSpan> columnsOf(const std::vector<QPoint>& run, const ColumnMapping& c)
{
    std::map<double, ColumnSpan> spans;
    for (const QPoint& p : run) {
        ColumnSpan& s = spans[std::floor(p.x() * c.Scale + c.Offset)];
        if (s.lo == INT_MAX) s.first = p;
        s.lo = std::min(s.lo, p.y());
        s.hi = std::max(s.hi, p.y());
        s.last = p;
    }
    return spans;
}

void expectSamePicture(const plot::TraceMapping& m, const std::vector<double>& v, const ColumnMapping& c)
{
    const TracePolylines thin = ReduceTrace(m, v.data(), qsizetype(v.size()), c);
    const Runs got = runsOf(thin);
    const Runs full = fullRuns(m, v);
    ASSERT_EQ(got.size(), full.size());
    const double left = std::floor(plot::kArea.left * c.Scale + c.Offset);
    const double right = std::floor(plot::kArea.right * c.Scale + c.Offset);
    for (size_t r = 0; r < full.size(); ++r) {
        // Every kept point is a vertex of the full polyline, in its order.
        size_t j = 0;
        for (const QPoint& p : got[r]) {
            while (j < full[r].size() && full[r][j] != p)
                ++j;
            ASSERT_LT(j, full[r].size()) << "run " << r;
        }
        EXPECT_EQ(got[r].front(), full[r].front());
        EXPECT_EQ(got[r].back(), full[r].back());
        // Each column of the plot area spans the same pixels, entered and left at the same points.
        const auto want = columnsOf(full[r], c);
        const auto have = columnsOf(got[r], c);
        for (const auto& [column, span] : want) {
            if (column < left || column > right) continue;
            const ColumnSpan& s = have.at(column);
            EXPECT_EQ(s.lo, span.lo);
            EXPECT_EQ(s.hi, span.hi);
            EXPECT_EQ(s.first, span.first);
            EXPECT_EQ(s.last, span.last);
        }
    }
    EXPECT_LE(thin.Points.size(), 4 * (right - left + 3) * full.size());
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

    PlotAxes fit;
    fit.XMin = 0;
    fit.XMax = 2e-3;
    fit.YMin = -300;
    fit.YMax = 300;
    PlotAxes zoomed = fit;
    ASSERT_TRUE(plot::ZoomAxes(zoomed, Rect{5000, -3000, 5600, -4000}));

    const ColumnMapping kColumns[] = {
        {96.0 / 1440, 0}, {960.0 / 1440, -500.5}, {0.5, 0.25}, {1200.0 / 1440, 0}};
    for (const PlotAxes& a : {fit, zoomed})
        for (const ColumnMapping& c : kColumns) {
            SCOPED_TRACE(c.Scale);
            expectSamePicture(plot::MapTrace(a, 0, 1e-8, 1), v, c);
        }
}

TEST(TraceReduction, OneColumnKeepsEndsAndExtremesInOrder)
{
    PlotAxes a; // 0..10 s over 11520 twips: samples a millisecond apart share a column
    const plot::TraceMapping m = plot::MapTrace(a, 0, 1e-3, 1);
    const std::vector<double> v = {0, 5, -3, 2, 1};
    const TracePolylines p = ReduceTrace(m, v.data(), 5, ColumnMapping{0.01, 0});
    const std::vector<QPoint> want = {
        {m.X(0), m.Y(0)}, {m.X(1), m.Y(5)}, {m.X(2), m.Y(-3)}, {m.X(4), m.Y(1)}};
    EXPECT_EQ(p.Points, want);
    EXPECT_EQ(p.RunEnds, std::vector<qsizetype>{4});
}

TEST(TraceReduction, TimeRunningBackwardsKeepsEverySample)
{
    PlotAxes a;
    const std::vector<double> v = {1, 2, 3, kNaN, 4};
    const TracePolylines p = ReduceTrace(plot::MapTrace(a, 1, -1e-3, 1), v.data(), 5, ColumnMapping{0.01, 0});
    EXPECT_EQ(p.Points.size(), 4u);
    EXPECT_EQ(p.RunEnds, (std::vector<qsizetype>{3, 4}));
    EXPECT_TRUE(ReduceTrace(plot::MapTrace(a, 0, 1, 0), v.data(), 5, ColumnMapping()).Points.empty());
}

TEST(TraceReduction, PointsAreCachedUntilAxesOrColumnsChange)
{
    CPlotDoc doc;
    setTraces(doc, {makeTrace(0, 1e-3, {1, 2, 3, 4})});
    doc.AutoScale();
    CPlotTrace& t = doc.Traces[0];
    const ColumnMapping columns{96.0 / 1440, 0};
    const TracePolylines first = t.ScreenPoints(doc.Axes, columns);
    t.Values[0] = 4; // not seen while the cache holds
    EXPECT_EQ(t.ScreenPoints(doc.Axes, columns), first);
    doc.ZoomToRect(Rect{1440, -1440, 12960, -10080});
    EXPECT_NE(t.ScreenPoints(doc.Axes, columns).Points.front(), first.Points.front());
    t.Values[0] = 1;
    EXPECT_EQ(t.ScreenPoints(doc.Axes, ColumnMapping{0.5, 0}).Points.front(), first.Points.front());
    EXPECT_TRUE(t.PointsCached);
}

} // namespace
