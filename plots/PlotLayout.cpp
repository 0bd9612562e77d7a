#include "PlotLayout.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace plot {

namespace {

bool finite(double v)
{
    return std::isfinite(v);
}

// The smallest step of the 1-2-5 series above `step`.
double nextStep(double step)
{
    double decade = std::pow(10.0, std::floor(std::log10(step)));
    for (;;) {
        for (double m : {1.0, 2.0, 5.0})
            if (m * decade > step) return m * decade;
        decade *= 10;
    }
}

// The step itself while the span holds at most kMaxTicks of it, else the first coarser step of the
// 1-2-5 series that does. A zoom may widen the range far beyond what the step was chosen for.
double cappedStep(qint32 step, double span)
{
    double s = step > 0 ? step : 1;
    while (span / s > kMaxTicks)
        s = nextStep(s);
    return s;
}

// Ticks sit on whole multiples that floating point misses by a rounding error: 50 × 1e-9 lies
// just above 5e-8, and the 50 µs tick of a 0–50 µs axis a hair inside the frame. Values this close,
// relative to the magnitudes they are computed from, are taken as equal.
constexpr double kTolerance = 1e-9;

bool atMost(double a, double b)
{
    return a <= b || a - b <= kTolerance * std::max(std::abs(a), std::abs(b));
}

// The whole number v is meant to be, when it misses one by a rounding error.
double nearWhole(double v)
{
    const double whole = std::round(v);
    return std::abs(v - whole) <= kTolerance * std::max(1.0, std::abs(v)) ? whole : v;
}

// A tick's distance along the plot area, `size` long: the whole twip it is meant to be when the
// arithmetic (on values of up to `magnitude` times the range) misses it by a rounding error.
double tickOffset(double offset, double size, double magnitude)
{
    const double whole = std::round(offset);
    return std::abs(offset - whole) <= kTolerance * size * std::max(1.0, magnitude) ? whole : offset;
}

// Numbers are formatted by Qt, which ignores the user's locale: the C run-time's formatting follows
// LC_NUMERIC, which the application takes from the environment, and would write "1,00e-01".
QString tickLabel(double k)
{
    return QString::number(k + 0.0, 'f', 0); // + 0.0 turns -0 into 0
}

// The ticks first, first + step, ... (in axes units of `unit`) while `within` takes them, on an axis
// `size` twips long from `origin` that shows [lo, lo + range]. The series starts at most one step
// early, so the cap is never the end of a sound axis; it only stops a range too narrow for the
// steps to advance in double precision.
template <class Within>
std::vector<Tick> ticksAlong(double first, double step, double unit, double lo, double range, qint32 size,
                             qint32 origin, Within within)
{
    std::vector<Tick> ticks;
    double previous = NAN;
    for (int i = 0; i <= kMaxTicks + 2; ++i) {
        const double k = first + i * step;
        if (k == previous || !within(k)) break;
        previous = k;
        const double magnitude = std::max(std::abs(k * unit), std::abs(lo)) / range;
        const double d = tickOffset(size * (k * unit - lo) / range, size, magnitude);
        if (d >= 0 && d <= size) ticks.push_back({qint32(d) + origin, d > 0 && d < size, tickLabel(k)});
    }
    return ticks;
}

constexpr double kTimeUnits[] = {1e-12, 1e-9, 1e-6, 1e-3, 1};

// The first step of the time axis's series that divides `span` (in time units) into 1 to 10 ticks;
// 0 when none does.
qint32 fittingTimeStep(double span)
{
    for (qint32 s : {1, 2, 5, 10, 20, 50, 100, 200, 500}) {
        const double ticks = std::trunc(span / s);
        if (ticks >= 1 && ticks <= 10) return s;
    }
    return 0;
}

} // namespace

void ScaleTime(PlotAxes& axes, double lo, double hi)
{
    // The first unit that shows both ends in at most four digits and the range as at least one
    // unit, else the range's own decade.
    double unit = 0;
    for (double u : kTimeUnits) {
        const double a = hi / u;
        const double b = lo / u;
        if (std::abs(a) < 10000 && std::abs(b) < 10000 && std::trunc(a) <= 1000 && std::trunc(b) <= 1000 &&
            std::trunc(a - b) >= 1) {
            unit = u;
            break;
        }
    }
    if (unit == 0)
        unit = std::pow(10.0, std::floor(std::max(std::log10(std::abs(hi)), std::log10(std::abs(lo)))));
    if (!(unit > 0) || !finite(unit)) unit = 1;

    const qint32 step = fittingTimeStep((hi - lo) / unit);
    axes.TimeUnit = unit;
    axes.XTickStep = step > 0 ? step : 500;
    axes.XMin = lo;
    axes.XMax = hi;
    axes.FirstXTick = (lo <= 0 && 0 <= hi) ? 0 : lo;
}

qint32 ValueTickStep(double span)
{
    return span < 12 ? 1 : 2;
}

qint32 ToTwips(double v)
{
    if (std::isnan(v)) return 0;
    return qint32(std::clamp(v, -kCoordinateLimit, kCoordinateLimit));
}

std::vector<Tick> XTicks(const PlotAxes& a)
{
    const double unit = a.TimeUnit;
    const double range = a.XMax - a.XMin;
    if (!(unit > 0) || !finite(unit) || !finite(a.XMin) || !(range > 0) || !finite(range) ||
        !finite(range / unit))
        return {};
    const double step = cappedStep(a.XTickStep, range / unit);
    const double first = std::trunc(a.XMin / (step * unit)) * step;
    return ticksAlong(first, step, unit, a.XMin, range, kAreaWidth, kArea.left,
                      [&](double k) { return atMost(k * unit, a.XMax); });
}

std::vector<Tick> YTicks(const PlotAxes& a)
{
    const double range = a.YMax - a.YMin;
    if (!finite(a.YMin) || !(range > 0) || !finite(range)) return {};
    const double step = cappedStep(a.YTickStep, range);
    const double first = std::trunc(a.YMin / step) * step;
    const double last = std::trunc(nearWhole(a.YMax));
    return ticksAlong(first, step, 1, a.YMin, range, kAreaHeight, kArea.bottom,
                      [last](double k) { return k <= last; });
}

QString TimeAxisLabel(double unit)
{
    struct Named {
        double unit;
        const char* label;
    };
    static constexpr Named kNamed[] = {
        {1e-12, "Time (ps)"}, {1e-9, "Time (ns)"}, {1e-6, "Time (us)"}, {1e-3, "Time (ms)"}, {1, "Time (s)"},
    };
    for (const Named& n : kNamed)
        if (unit == n.unit) return QString::fromLatin1(n.label);
    return QStringLiteral("Time (") + QString::number(unit, 'e', 1) + QStringLiteral("s)");
}

QString ScaleLabel(double scale)
{
    return QLatin1Char('(') + QString::number(scale, 'e', 2) + QLatin1Char(')');
}

LegendRow LegendLayout(int index, qint32 textHeight)
{
    const qint32 y = ToTwips(-2448.0 - 432.0 * index);
    const qint32 top = y + textHeight / 2;
    return {{13248, y}, {13680, y}, {13824, top}, {13824, top - textHeight}};
}

qint32 TraceMapping::X(double k) const
{
    return ToTwips(std::floor((k * Dt + T0 - XMin) * Sx)) + kArea.left;
}

qint32 TraceMapping::Y(double v) const
{
    return ToTwips(std::floor((v - YOrigin) * Sy)) + kArea.bottom;
}

TraceMapping MapTrace(const PlotAxes& a, double t0, double dt, double scale)
{
    TraceMapping m;
    m.T0 = t0;
    m.Dt = dt;
    m.XMin = a.XMin;
    m.Sx = kAreaWidth / (a.XMax - a.XMin);
    m.YOrigin = scale * a.YMin;
    m.Sy = kAreaHeight / ((a.YMax - a.YMin) * scale);
    m.Valid = finite(t0) && finite(dt) && finite(m.XMin) && finite(m.Sx) && m.Sx != 0 && finite(m.YOrigin) &&
              finite(m.Sy) && m.Sy != 0;
    return m;
}

bool ZoomAxes(PlotAxes& a, const Rect& r)
{
    if (r.right <= r.left || r.top <= r.bottom) return false;
    const double kx = kAreaWidth / (a.XMax - a.XMin);
    const double ky = kAreaHeight / (a.YMax - a.YMin);
    const double xMax = (double(r.right) - kArea.left) / kx + a.XMin;
    const double xMin = (double(r.left) - kArea.left) / kx + a.XMin;
    const double yMax = (double(r.top) - kArea.bottom) / ky + a.YMin;
    const double yMin = (double(r.bottom) - kArea.bottom) / ky + a.YMin;
    if (!finite(xMin) || !finite(xMax - xMin) || !(xMax > xMin) || !finite(yMin) || !finite(yMax - yMin) ||
        !(yMax > yMin))
        return false;
    ScaleTime(a, xMin, xMax);
    const double span = xMax - xMin;
    if (fittingTimeStep(span / a.TimeUnit) == 0) {
        // Far from the start of the run a narrow band finds every unit either too coarse for one
        // tick or too fine for four digits: the coarsest unit the band holds once is taken, and
        // the labels grow longer.
        for (auto u = std::rbegin(kTimeUnits); u != std::rend(kTimeUnits); ++u)
            if (const qint32 step = fittingTimeStep(span / *u); step > 0) {
                a.TimeUnit = *u;
                a.XTickStep = step;
                break;
            }
    }
    a.YMin = yMin;
    a.YMax = yMax;
    a.YTickStep = ValueTickStep(yMax - yMin);
    return true;
}

} // namespace plot
