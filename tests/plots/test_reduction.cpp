#include "PlotTestSupport.h"

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
    for (qsizetype end : p.RunEnds)
        runs.emplace_back(p.Points.begin() + std::exchange(start, end), p.Points.begin() + end);
    EXPECT_EQ(start, qsizetype(p.Points.size()));
    return runs;
}

// Every sample drawn, broken at the missing ones.
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

// Per device column: the lowest and highest y, and the points the line enters and leaves by.
std::map<double, std::array<int, 6>> columnsOf(const std::vector<QPoint>& run, const ColumnMapping& c)
{
    std::map<double, std::array<int, 6>> spans;
    for (const QPoint& p : run) {
        auto [it, added] = spans.try_emplace(std::floor(p.x() * c.Scale + c.Offset),
                                             std::array<int, 6>{p.y(), p.y(), p.x(), p.y(), 0, 0});
        std::array<int, 6>& s = it->second;
        s = {std::min(s[0], p.y()), std::max(s[1], p.y()), s[2], s[3], p.x(), p.y()};
    }
    return spans;
}

void expectSamePicture(const plot::TraceMapping& m, const std::vector<double>& v, const ColumnMapping& c)
{
    const Runs got = runsOf(ReduceTrace(m, v.data(), qsizetype(v.size()), c));
    const Runs full = fullRuns(m, v);
    ASSERT_EQ(got.size(), full.size());
    const double left = std::floor(plot::kArea.left * c.Scale + c.Offset);
    const double right = std::floor(plot::kArea.right * c.Scale + c.Offset);
    for (size_t r = 0; r < full.size(); ++r) {
        // Every kept point is a vertex of the full polyline, in its order.
        auto at = full[r].begin();
        for (const QPoint& p : got[r]) {
            at = std::find(at, full[r].end(), p);
            ASSERT_NE(at, full[r].end()) << "run " << r;
        }
        EXPECT_EQ(got[r].back(), full[r].back());
        EXPECT_LE(got[r].size(), 4 * (right - left + 3));
        const auto have = columnsOf(got[r], c);
        for (const auto& [column, span] : columnsOf(full[r], c))
            if (column >= left && column <= right) EXPECT_EQ(have.at(column), span) << column;
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
    const ColumnMapping kColumns[] = {
        {96.0 / 1440, 0}, {960.0 / 1440, -500.5}, {0.5, 0.25}, {1200.0 / 1440, 0}};
    for (const PlotAxes& a : {fit, zoomed})
        for (const ColumnMapping& c : kColumns) {
            SCOPED_TRACE(c.Scale);
            expectSamePicture(plot::MapTrace(a, 0, 1e-8, 1), v, c);
        }
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
}

} // namespace
