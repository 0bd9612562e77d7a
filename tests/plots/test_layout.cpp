#include "PlotLayout.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

PlotAxes axes(double unit, int xStep, double xMin, double xMax, double yMin = 0, double yMax = 10,
              int yStep = 1)
{
    return PlotAxes{unit, xStep, xMin, xMax, 0, 0, yMin, yMax, yStep};
}

TEST(PlotTicks, TimeTicks)
{
    const std::vector<plot::Tick> ticks = plot::XTicks(axes(1e-9, 5, 0, 50 * 1e-9));
    ASSERT_EQ(ticks.size(), 11u);
    for (int i = 0; i <= 10; ++i)
        EXPECT_EQ(ticks[i], (plot::Tick{1440 + 1152 * i, i > 0 && i < 10, QString::number(5 * i)}));
    // The series starts a step before the range and leaves that tick out; no "-0".
    const std::vector<plot::Tick> around = plot::XTicks(axes(1e-9, 2, -3e-9, 3e-9));
    ASSERT_EQ(around.size(), 3u);
    EXPECT_EQ(around[1], (plot::Tick{1440 + 5760, true, "0"}));
}

TEST(PlotTicks, TicksOnTheFrameSurviveRounding)
{
    // The range ends are not the products the ticks are computed as: 50 × 1e-9 lies above 5e-8,
    // 50 × 1e-6 below 5e-5.
    const struct {
        double unit;
        int step;
        double xMax;
        size_t count;
        const char* last;
    } cases[] = {
        {1e-9, 5, 5e-8, 11, "50"},  {1e-6, 5, 5e-5, 11, "50"}, {1e-12, 10, 1e-10, 11, "100"},
        {1e-3, 100, 0.7, 8, "700"}, {1e-9, 1, 3e-9, 4, "3"},
    };
    for (const auto& c : cases) {
        const std::vector<plot::Tick> ticks = plot::XTicks(axes(c.unit, c.step, 0, c.xMax));
        ASSERT_EQ(ticks.size(), c.count) << c.last;
        EXPECT_EQ(ticks.back(), (plot::Tick{12960, false, c.last}));
    }
    const std::vector<plot::Tick> values = plot::YTicks(axes(1, 1, 0, 1, -6, std::nextafter(1.0, 0.0)));
    ASSERT_EQ(values.size(), 8u);
    EXPECT_EQ(values.back(), (plot::Tick{-1440, false, "1"}));
}

TEST(PlotTicks, ValueTicks)
{
    const std::vector<plot::Tick> ticks = plot::YTicks(axes(1, 1, 0, 1, -6, 1));
    const qint32 kPos[] = {-10080, -8846, -7612, -6378, -5143, -3909, -2675, -1440};
    ASSERT_EQ(ticks.size(), 8u);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(ticks[i], (plot::Tick{kPos[i], i > 0 && i < 7, QString::number(i - 6)}));
}

TEST(PlotTicks, StayBoundedWhateverTheAxes)
{
    // Zoomed far out the stored steps would give millions of ticks; broken axes none at all.
    EXPECT_EQ(plot::XTicks(axes(1, 1, 0, 1e6)).at(1).Label, "10000");
    EXPECT_EQ(plot::YTicks(axes(1, 1, 0, 1, -3e7, 3e7, 2)).at(0).Label, "-30000000");
    const PlotAxes kAxes[] = {
        axes(1, 1, 0, 1e6, -3e7, 3e7, 2),
        axes(1, 1, 5, 5, 3, 3),
        axes(0, 1, 0, 1, 0, -1),
        axes(kNaN, 1, 0, 1, kNaN, 1),
        axes(1, 0, 0, 10, 0, 10, 0),
        axes(1, -5, 0, 10, 0, 10, -2),
        axes(1e-12, 5, 1e20, 1e20 + 1e5, 1e20, 1e20 + 1),
        axes(1e-300, 1, -1e300, 1e300, -1e308, 1e308),
    };
    for (const PlotAxes& a : kAxes) {
        EXPECT_LE(plot::XTicks(a).size(), size_t(plot::kMaxTicks) + 1);
        EXPECT_LE(plot::YTicks(a).size(), size_t(plot::kMaxTicks) + 1);
    }
}

TEST(PlotLabels, TimeAxisAndScaleWhateverTheLocale)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* locale : {"C", "de_DE.UTF-8"}) { // where the second exists, it writes "1,00e-01"
        if (!std::setlocale(LC_NUMERIC, locale)) continue;
        EXPECT_EQ(plot::TimeAxisLabel(1e-12), "Time (ps)");
        EXPECT_EQ(plot::TimeAxisLabel(1e-6), "Time (us)");
        EXPECT_EQ(plot::TimeAxisLabel(1e-15), "Time (1.0e-15s)");
        EXPECT_EQ(plot::ScaleLabel(0.1), "(1.00e-01)");
        EXPECT_EQ(plot::ScaleLabel(2e10), "(2.00e+10)");
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(PlotLayout, LegendRowsAndCoordinateLimit)
{
    const plot::LegendRow row = plot::LegendLayout(2, 200);
    EXPECT_EQ(row.LineFrom, QPoint(13248, -3312));
    EXPECT_EQ(row.NameTopLeft, QPoint(13824, -3212));
    EXPECT_EQ(row.ScaleTopLeft, QPoint(13824, -3412));

    // Zoomed to a picosecond, a sample a second away lies far off the page.
    const plot::TraceMapping m = plot::MapTrace(axes(1e-12, 1, 0, 1e-12, 0, 1), 0, 1, 1);
    EXPECT_EQ(m.X(1), 100000000 + 1440);
    EXPECT_EQ(m.Y(-1e300), -100000000 - 10080);
    EXPECT_FALSE(plot::MapTrace(axes(1, 1, 0, 1), 0, 1, 0).Valid);
    EXPECT_FALSE(plot::MapTrace(axes(1, 1, 2, 2), 0, 1, 1).Valid);
}

} // namespace
