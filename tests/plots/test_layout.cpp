#include "PlotLayout.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

using plot::Tick;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

PlotAxes axes(double unit, int xStep, double xMin, double xMax, double yMin = 0, double yMax = 10,
              int yStep = 1)
{
    PlotAxes a;
    a.TimeUnit = unit;
    a.XTickStep = xStep;
    a.XMin = xMin;
    a.XMax = xMax;
    a.YMin = yMin;
    a.YMax = yMax;
    a.YTickStep = yStep;
    return a;
}

TEST(PlotTicks, TimeTicksOfFiftyNanoseconds)
{
    const std::vector<Tick> ticks = plot::XTicks(axes(1e-9, 5, 0, 50 * 1e-9));
    ASSERT_EQ(ticks.size(), 11u);
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(ticks[i].Pos, 1440 + 1152 * i) << i;
        EXPECT_EQ(ticks[i].Label, QString::number(5 * i));
        EXPECT_EQ(ticks[i].Grid, i > 0 && i < 10) << i;
    }
}

TEST(PlotTicks, TicksOutsideTheRangeAreLeftOut)
{
    // The series starts at the multiple of the step before the range: -4 ns is left of the area.
    const std::vector<Tick> ticks = plot::XTicks(axes(1e-9, 2, -3e-9, 3e-9));
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_EQ(ticks[0].Label, "-2");
    EXPECT_EQ(ticks[1].Label, "0"); // not "-0"
    EXPECT_EQ(ticks[1].Pos, 1440 + 5760);
}

TEST(PlotTicks, ValueTicks)
{
    const std::vector<Tick> ticks = plot::YTicks(axes(1, 1, 0, 1, -6, 1));
    const qint32 kPos[] = {-10080, -8846, -7612, -6378, -5143, -3909, -2675, -1440};
    ASSERT_EQ(ticks.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(ticks[i].Pos, kPos[i]);
        EXPECT_EQ(ticks[i].Label, QString::number(i - 6));
    }
    const std::vector<Tick> even = plot::YTicks(axes(1, 1, 0, 1, -12, 2, 2));
    ASSERT_EQ(even.size(), 8u);
    EXPECT_EQ(even[1].Label, "-10");
}

TEST(PlotTicks, WideRangesTakeCoarserSteps)
{
    // After zooming out far the stored steps would give a million ticks.
    const std::vector<Tick> x = plot::XTicks(axes(1, 1, 0, 1e6));
    ASSERT_GE(x.size(), 2u);
    EXPECT_LE(x.size(), size_t(plot::kMaxTicks) + 1);
    EXPECT_EQ(x[1].Label, "10000");
    const std::vector<Tick> y = plot::YTicks(axes(1, 1, 0, 1, -3e7, 3e7, 2));
    EXPECT_LE(y.size(), size_t(plot::kMaxTicks) + 1);
    EXPECT_EQ(y[0].Label, "-30000000");
}

TEST(PlotTicks, AxesWithoutLengthOrStepEndQuickly)
{
    const PlotAxes kAxes[] = {
        axes(1, 1, 5, 5, 3, 3),
        axes(0, 1, 0, 1, 0, -1),
        axes(kNaN, 1, 0, 1, kNaN, 1),
        axes(1, 0, 0, 10, 0, 10, 0),
        axes(1, -5, 0, 10, 0, 10, -2),
        axes(1e-12, 5, 1e20, 1e20 + 1e5, 1e20, 1e20 + 1),
        axes(1e-300, 1, -1e300, 1e300, -1e308, 1e308),
    };
    for (const PlotAxes& a : kAxes) {
        EXPECT_LE(plot::XTicks(a).size(), size_t(plot::kMaxTicks) + 3);
        EXPECT_LE(plot::YTicks(a).size(), size_t(plot::kMaxTicks) + 3);
    }
}

void expectLabels()
{
    const struct {
        double unit;
        const char* label;
    } kCases[] = {{1e-12, "Time (ps)"},
                  {1e-6, "Time (us)"},
                  {1e-3, "Time (ms)"},
                  {1e3, "Time (1.0e+03s)"},
                  {1e-15, "Time (1.0e-15s)"}};
    for (const auto& c : kCases)
        EXPECT_EQ(plot::TimeAxisLabel(c.unit), c.label);
    EXPECT_EQ(plot::ScaleLabel(0.1), "(1.00e-01)");
    EXPECT_EQ(plot::ScaleLabel(2e10), "(2.00e+10)");
}

TEST(PlotLabels, TimeAxisAndScale)
{
    expectLabels();
}

TEST(PlotLabels, IgnoreTheUserLocale)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale here";
    expectLabels();
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(PlotLegend, RowsStepDownFromTheTop)
{
    const plot::LegendRow first = plot::LegendLayout(0, 200);
    EXPECT_EQ(first.LineFrom, QPoint(13248, -2448));
    EXPECT_EQ(first.LineTo, QPoint(13680, -2448));
    EXPECT_EQ(first.NameTopLeft, QPoint(13824, -2348));
    EXPECT_EQ(first.ScaleTopLeft, QPoint(13824, -2548));
    EXPECT_EQ(plot::LegendLayout(2, 200).LineFrom.y(), -3312);
}

TEST(PlotMapping, CoordinatesStayWithinTheLimit)
{
    // Zoomed to a picosecond, a sample a second away lies far off the page.
    const plot::TraceMapping m = plot::MapTrace(axes(1e-12, 1, 0, 1e-12, 0, 1), 0, 1, 1);
    ASSERT_TRUE(m.Valid);
    EXPECT_EQ(m.X(1), 100000000 + 1440);
    EXPECT_EQ(m.X(-1), -100000000 + 1440);
    EXPECT_EQ(m.Y(-1e300), -100000000 - 10080);
    EXPECT_EQ(m.Y(kNaN), -10080);
    EXPECT_FALSE(plot::MapTrace(axes(1, 1, 0, 1), 0, 1, 0).Valid);
    EXPECT_FALSE(plot::MapTrace(axes(1, 1, 2, 2), 0, 1, 1).Valid);
    EXPECT_FALSE(plot::MapTrace(axes(1, 1, 0, 1), kNaN, 1, 1).Valid);
}

} // namespace
