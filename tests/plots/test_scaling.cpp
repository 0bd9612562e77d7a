#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

namespace plot {
void PrintTo(const Tick& t, std::ostream* os)
{
    *os << '{' << t.Pos << ", " << t.Grid << ", \"" << t.Label.toStdString() << "\"}";
}
} // namespace plot

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(PlotStats, ExtremesAndScale)
{
    // Samples a diverged run left behind count for nothing.
    const std::tuple<std::vector<double>, double, double, double> cases[] = {
        {{0.2, 0.5, 0.8}, 0.2, 0.8, 0.1}, {{-5, -3}, -5, -3, 1}, {{10, -2}, -2, 10, 1},
        {{1, 0.5}, 0.5, 1, 0.1},          {{0, 0}, 0, 0, 1e-30}, {{1, kNaN, kInf, -2, -kInf}, -2, 1, 1},
    };
    for (const auto& [values, yMin, yMax, scale] : cases) {
        const CPlotTrace t = makeTrace(1e-6, 2e-6, values);
        EXPECT_EQ(std::tuple(t.YMin, t.YMax), std::tuple(yMin, yMax));
        EXPECT_DOUBLE_EQ(t.Scale, scale) << yMax;
        EXPECT_DOUBLE_EQ(t.TEnd, double(values.size() - 1) * 2e-6 + 1e-6);
    }
}

TEST(PlotAutoScale, OneTrace)
{
    struct Case {
        const char* name;
        double t0, dt;
        std::vector<double> values;
        PlotAxes axes; // unit, x step, x min, x max, first x tick, -, y min, y max, y step
        const char* timeLabel;
    };
    const Case cases[] = {
        {"50 ns", 0, 50e-9, {0.2, 0.8}, {1e-9, 5, 0, 50e-9, 0, 0, -1, 9, 1}, "Time (ns)"},
        {"3 s", 0, 1.5, {-5, -4, -3}, {1, 1, 0, 3, 0, 0, -6, 1, 1}, "Time (s)"},
        {"2000 s, span 12", 0, 1000, {-9.5, -1, 0}, {1e3, 1, 0, 2000, 0, 0, -12, 2, 2}, "Time (1.0e+03s)"},
        {"away from zero", 2e-3, 1e-3, {1, 2}, {1e-3, 1, 2e-3, 3e-3, 2e-3, 0, -1, 3, 1}, "Time (ms)"},
        // A run that stopped after its first step: the range is one interval long.
        {"one sample", 2e-6, 1e-9, {1}, {1e-6, 500, 2e-6, 2e-6 + 1e-9, 2e-6, 0, -2, 12, 2}, "Time (us)"},
        {"one sample, no interval", 0, 0, {0}, {1e-3, 100, 0, 1, 0, 0, -1, 1, 1}, "Time (ms)"},
        {"diverged run", 0, 1e-9, {kNaN, kNaN}, {1e-12, 100, 0, 1e-9, 0, 0, -1, 1, 1}, "Time (ps)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPlotDoc doc;
        setTraces(doc, {makeTrace(c.t0, c.dt, c.values)});
        doc.AutoScale();
        const PlotAxes& a = doc.Axes;
        EXPECT_EQ(std::tuple(a.TimeUnit, a.XTickStep, a.YMin, a.YMax, a.YTickStep),
                  std::tuple(c.axes.TimeUnit, c.axes.XTickStep, c.axes.YMin, c.axes.YMax, c.axes.YTickStep));
        EXPECT_DOUBLE_EQ(a.XMin, c.axes.XMin);
        EXPECT_DOUBLE_EQ(a.XMax, c.axes.XMax);
        EXPECT_DOUBLE_EQ(a.FirstXTick, c.axes.FirstXTick);
        EXPECT_EQ(plot::TimeAxisLabel(a.TimeUnit), c.timeLabel);
    }
}

TEST(PlotAutoScale, DefaultsWithoutTracesAndPaletteWrapping)
{
    CPlotDoc doc;
    doc.Traces.resize(2); // sized, but none in use
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.Axes, PlotAxes());

    std::vector<CPlotTrace> nine;
    for (int i = 0; i < 9; ++i)
        nine.push_back(makeTrace(i * 1e-9, 1e-9, {0, double(i)}));
    setTraces(doc, nine);
    doc.AutoScale();
    EXPECT_DOUBLE_EQ(doc.Axes.XMax, 9e-9);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(std::tuple(doc.Traces[i].PenColor, quint32(doc.Traces[i].ReservedWords[1])),
                  std::tuple(CPlotDoc::kPalette[i % 8], CPlotDoc::kPalette[i % 8]));
}

TEST(PlotDoc, ValueAtTime)
{
    CPlotDoc doc;
    setTraces(doc, {makeTrace(1e-6, 1e-6, {10, 20, 30}), makeTrace(0, 1e-6, {})});
    const double kAt[][2] = {{-1, 10}, {1e-6, 10}, {1.5e-6, 20}, {3e-6, 30}, {3.1e-6, 0}, {kNaN, 0}};
    for (const auto& c : kAt)
        EXPECT_EQ(doc.GetTraceValueAt(0, c[0]), c[1]) << c[0];
    EXPECT_EQ(doc.GetTraceValueAt(1, 0), 0.0);
    EXPECT_THROW(doc.GetTraceValueAt(2, 0), std::out_of_range);
}

TEST(PlotDoc, ZoomToRect)
{
    CPlotDoc doc;
    setTraces(doc, {makeTrace(0, 1, {0.5, 7.5})});
    doc.AutoScale(); // x 0..1 s, y -1..9
    const PlotAxes fitted = doc.Axes;
    doc.ZoomToRect(plot::kArea);
    EXPECT_EQ(doc.Axes, fitted);

    doc.ZoomToRect(Rect{1440, -1440, 7200, -5760}); // the upper left quarter
    EXPECT_DOUBLE_EQ(doc.Axes.XMax, 0.5);
    EXPECT_DOUBLE_EQ(doc.Axes.YMin, 4);
    EXPECT_DOUBLE_EQ(doc.Axes.YMax, 9);
    EXPECT_EQ(std::tuple(doc.Axes.TimeUnit, doc.Axes.XTickStep), std::tuple(1e-3, 50));
    EXPECT_FALSE(doc.Traces[0].PointsCached);

    // A band without width or height would leave an axis without length.
    const PlotAxes before = doc.Axes;
    for (Rect r : {Rect{3000, -2000, 3000, -4000}, Rect{3000, -2000, 5000, -2000}, Rect{5000, -2, 3000, -4}})
        doc.ZoomToRect(r);
    EXPECT_EQ(doc.Axes, before);
}

// A band of a 400 ns run, 28.8 twips a nanosecond, whose values run from -12 to 2.
TEST(PlotDoc, AZoomChoosesTheUnitAndTheStepsForTheBandSoThatItsTicksAreLabelled)
{
    std::vector<double> ring(4001);
    for (size_t k = 0; k < ring.size(); ++k)
        ring[k] = (k % 400 < 200 ? -9.5 : 0.5);
    struct Case {
        const char* name;
        Rect band;
        double unit;
        qint32 xStep, yStep;
        std::vector<plot::Tick> ticks; // first, second and last
    };
    const Case cases[] = {
        {"the whole plot area",
         plot::kArea,
         1e-9,
         50,
         2,
         {{1440, false, "0"}, {2880, true, "50"}, {12960, false, "400"}}},
        {"100 to 105 ns, the lower half",
         Rect{4320, -5760, 4464, -10080},
         1e-9,
         1,
         1,
         {{1440, false, "100"}, {3744, true, "101"}, {12960, false, "105"}}},
        {"the first 5 ns",
         Rect{1440, -1440, 1584, -10080},
         1e-9,
         1,
         2,
         {{1440, false, "0"}, {3744, true, "1"}, {12960, false, "5"}}},
        // A band between two of the run's 50 ns ticks whose edges fall between ticks of its own.
        {"2.5 to 7.5 ns",
         Rect{1512, -1440, 1656, -10080},
         1e-9,
         1,
         2,
         {{2592, true, "3"}, {4896, true, "4"}, {11808, true, "7"}}},
        {"wider than the plot",
         Rect{-10080, 7200, 12960, -10080},
         1e-9,
         100,
         2,
         {{1440, false, "-400"}, {2880, true, "-300"}, {12960, false, "400"}}},
        // Too narrow for nanoseconds and too far out for four digits of picoseconds.
        {"300 to 300.625 ns",
         Rect{10080, -1440, 10098, -10080},
         1e-12,
         100,
         2,
         {{1440, false, "300000"}, {3283, true, "300100"}, {12499, true, "300600"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPlotDoc doc;
        setTraces(doc, {makeTrace(0, 1e-10, ring)});
        doc.AutoScale();
        ASSERT_EQ(std::tuple(doc.Axes.TimeUnit, doc.Axes.XTickStep, doc.Axes.YMin, doc.Axes.YMax),
                  std::tuple(1e-9, 50, -12.0, 2.0));
        doc.ZoomToRect(c.band);
        EXPECT_EQ(std::tuple(doc.Axes.TimeUnit, doc.Axes.XTickStep, doc.Axes.YTickStep),
                  std::tuple(c.unit, c.xStep, c.yStep));
        EXPECT_DOUBLE_EQ(doc.Axes.FirstXTick, doc.Axes.XMin > 0 ? doc.Axes.XMin : 0);
        const std::vector<plot::Tick> ticks = plot::XTicks(doc.Axes);
        ASSERT_GE(ticks.size(), 2u);
        EXPECT_EQ(std::vector<plot::Tick>({ticks[0], ticks[1], ticks.back()}), c.ticks);
    }
}

} // namespace
