#include "CommaLocale.h"
#include "PlotLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

PlotAxes axes(double unit, int xStep, double xMin, double xMax, double yMin = 0, double yMax = 10,
              int yStep = 1)
{
    return PlotAxes{unit, xStep, xMin, xMax, 0, 0, yMin, yMax, yStep};
}

TEST(PlotTicks, CountSecondAndLastTick)
{
    // Ticks on the frame survive rounding: the range ends are not the products the ticks are computed
    // as (50 × 1e-9 lies above 5e-8, 50 × 1e-6 below 5e-5). A series may start a step outside the
    // range; that tick is left out. Ticks inside the frame have grid lines.
    const std::tuple<PlotAxes, bool, size_t, plot::Tick, plot::Tick> cases[] = {
        {axes(1e-9, 5, 0, 50e-9), true, 11, {2592, true, "5"}, {12960, false, "50"}},
        {axes(1e-9, 5, 0, 5e-8), true, 11, {2592, true, "5"}, {12960, false, "50"}},
        {axes(1e-6, 5, 0, 5e-5), true, 11, {2592, true, "5"}, {12960, false, "50"}},
        {axes(1e-12, 10, 0, 1e-10), true, 11, {2592, true, "10"}, {12960, false, "100"}},
        {axes(1e-3, 100, 0, 0.7), true, 8, {3085, true, "100"}, {12960, false, "700"}},
        {axes(1e-9, 2, -3e-9, 3e-9), true, 3, {7200, true, "0"}, {11040, true, "2"}},
        {axes(1e-3, 1, 2.5e-3, 5e-3), true, 3, {8352, true, "4"}, {12960, false, "5"}},
        {axes(1, 1, 0, 1, -6, 1), false, 8, {-8846, true, "-5"}, {-1440, false, "1"}},
        {axes(1, 1, 0, 1, -6, std::nextafter(1.0, 0.0)), false, 8, {-8846, true, "-5"}, {-1440, false, "1"}},
    };
    for (const auto& [a, x, count, second, last] : cases) {
        const std::vector<plot::Tick> ticks = x ? plot::XTicks(a) : plot::YTicks(a);
        ASSERT_EQ(ticks.size(), count) << last.Label.toStdString();
        EXPECT_EQ(std::tuple(ticks[1], ticks.back()), std::tuple(second, last));
    }
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
    const CommaLocale comma; // where the C run-time would write "1,00e-01"
    EXPECT_EQ(plot::TimeAxisLabel(1e-12), "Time (ps)");
    EXPECT_EQ(plot::TimeAxisLabel(1e-6), "Time (us)");
    EXPECT_EQ(plot::TimeAxisLabel(1e-15), "Time (1.0e-15s)");
    EXPECT_EQ(plot::ScaleLabel(0.1), "(1.00e-01)");
    EXPECT_EQ(plot::ScaleLabel(2e10), "(2.00e+10)");
}

TEST(PlotLayout, LegendRowsAndCoordinateLimit)
{
    const plot::LegendRow row = plot::LegendLayout(2, 200);
    EXPECT_EQ(std::tuple(row.LineFrom, row.NameTopLeft, row.ScaleTopLeft),
              std::tuple(QPoint(13248, -3312), QPoint(13824, -3212), QPoint(13824, -3412)));

    // Zoomed to a picosecond, a sample a second away lies far off the page.
    const plot::TraceMapping m = plot::MapTrace(axes(1e-12, 1, 0, 1e-12, 0, 1), 0, 1, 1);
    EXPECT_EQ(m.X(1), 100000000 + 1440);
    EXPECT_EQ(m.Y(-1e300), -100000000 - 10080);
    EXPECT_FALSE(plot::MapTrace(axes(1, 1, 0, 1), 0, 1, 0).Valid);
    EXPECT_FALSE(plot::MapTrace(axes(1, 1, 2, 2), 0, 1, 1).Valid);
}

} // namespace
