#include "DcWideLine.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Pixel centres are tested a little up and to the left of the true centre, so that a centre on
// the boundary belongs to one side only.
constexpr double kBias = 1.0 / 65536;

// The first and last whole number n with lo <= n + 0.5 - bias <= hi, within [min, max].
bool pixelRange(double lo, double hi, int min, int max, int& first, int& last)
{
    const double a = std::ceil(lo - 0.5 + kBias);
    const double b = std::floor(hi - 0.5 + kBias);
    if (!(a <= b) || b < min || a > max) return false;
    first = a < min ? min : int(a);
    last = b > max ? max : int(b);
    return first <= last;
}

// A segment from a to b with round ends: every point within r of it.
class Capsule {
public:
    Capsule(QPointF a, QPointF b, double r)
        : m_ax(a.x()), m_ay(a.y()), m_bx(b.x()), m_by(b.y()), m_r(r), m_r2(r * r)
    {
        const double dx = m_bx - m_ax, dy = m_by - m_ay;
        const double len2 = dx * dx + dy * dy;
        if (len2 == 0) return;
        m_band = true;
        // Between the ends lie the points whose projection falls on the segment,
        // (x - ax)·dx + ey·dy in [0, len²], and whose distance from its line is at most r,
        // (x - ax)·dy - ey·dx in [-r·len, r·len], with ey = y - ay. Each is a stretch of x whose
        // ends move linearly with ey, or, along an axis, a range of ey.
        const double rlen = r * std::sqrt(len2);
        if (dx != 0) {
            m_alongSlope = -dy / dx;
            m_alongLo = std::min(0.0, len2 / dx);
            m_alongHi = std::max(0.0, len2 / dx);
        } else {
            m_alongSlope = 0;
            m_alongLo = -std::numeric_limits<double>::infinity();
            m_alongHi = -m_alongLo;
            m_eyLo = std::min(0.0, dy);
            m_eyHi = std::max(0.0, dy);
        }
        if (dy != 0) {
            m_acrossSlope = dx / dy;
            m_acrossLo = -rlen / std::abs(dy);
            m_acrossHi = rlen / std::abs(dy);
        } else {
            m_acrossSlope = 0;
            m_acrossLo = -std::numeric_limits<double>::infinity();
            m_acrossHi = -m_acrossLo;
            m_eyLo = -r;
            m_eyHi = r;
        }
    }

    double Top() const { return std::min(m_ay, m_by) - m_r; }
    double Bottom() const { return std::max(m_ay, m_by) + m_r; }
    double Left() const { return std::min(m_ax, m_bx) - m_r; }
    double Right() const { return std::max(m_ax, m_bx) + m_r; }
    double Radius() const { return m_r; }
    bool Upright() const { return m_ax == m_bx; }

    // The stretch of the horizontal line at y inside the capsule; false when there is none.
    bool Row(double y, double& lo, double& hi) const
    {
        const double ey = y - m_ay;
        lo = std::numeric_limits<double>::infinity();
        hi = -lo;
        if (m_band && ey >= m_eyLo && ey <= m_eyHi) {
            const double from = std::max(m_alongSlope * ey + m_alongLo, m_acrossSlope * ey + m_acrossLo);
            const double to = std::min(m_alongSlope * ey + m_alongHi, m_acrossSlope * ey + m_acrossHi);
            if (from <= to) {
                lo = m_ax + from;
                hi = m_ax + to;
            }
        }
        Disk(m_ax, ey, lo, hi);
        Disk(m_bx, y - m_by, lo, hi);
        return lo <= hi;
    }

private:
    void Disk(double cx, double ey, double& lo, double& hi) const
    {
        const double rest = m_r2 - ey * ey;
        if (rest < 0) return;
        const double h = std::sqrt(rest);
        lo = std::min(lo, cx - h);
        hi = std::max(hi, cx + h);
    }

    double m_ax, m_ay, m_bx, m_by, m_r, m_r2;
    bool m_band = false;
    double m_alongSlope = 0, m_alongLo = 0, m_alongHi = 0;
    double m_acrossSlope = 0, m_acrossLo = 0, m_acrossHi = 0;
    double m_eyLo = -std::numeric_limits<double>::infinity(), m_eyHi = -m_eyLo;
};

void fillCapsule(const PixelRows& t, const Capsule& c, quint32 pixel)
{
    int y0, y1;
    if (!pixelRange(c.Top(), c.Bottom(), t.clip.top(), t.clip.bottom(), y0, y1)) return;
    // Between the ends of an upright segment every row is the same stretch.
    int bandY0 = 1, bandY1 = 0, bandX0 = 0, bandX1 = 0;
    if (c.Upright() && pixelRange(c.Top() + c.Radius(), c.Bottom() - c.Radius(), y0, y1, bandY0, bandY1) &&
        !pixelRange(c.Left(), c.Right(), t.clip.left(), t.clip.right(), bandX0, bandX1))
        return;
    const auto fill = [&](int y, int x0, int x1) {
        auto* row = reinterpret_cast<quint32*>(t.bits + qsizetype(y) * t.bytesPerLine);
        std::fill(row + x0, row + x1 + 1, pixel);
    };
    for (int y = y0; y <= y1; ++y) {
        if (y == bandY0) {
            for (; y <= bandY1; ++y)
                fill(y, bandX0, bandX1);
            if (y > y1) break;
        }
        double lo, hi;
        int x0, x1;
        if (c.Row(y + 0.5 - kBias, lo, hi) && pixelRange(lo, hi, t.clip.left(), t.clip.right(), x0, x1))
            fill(y, x0, x1);
    }
}

} // namespace

void FillRoundPolyline(const PixelRows& target, std::span<const QPointF> points, double width, quint32 pixel)
{
    if (points.empty() || !target.bits || target.clip.isEmpty() || !(width > 0)) return;
    const double r = width / 2;
    const size_t n = points.size();
    // As the painter strokes it, a line without length leaves no mark.
    if (std::all_of(points.begin(), points.end(), [&](QPointF p) { return p == points[0]; })) return;
    for (size_t i = 0; i + 1 < n;) {
        // Points one above the other (a thinned trace's column) cover what their highest and
        // lowest cover.
        const double x = points[i].x();
        size_t j = i;
        double top = points[i].y(), bottom = top;
        while (j + 1 < n && points[j + 1].x() == x) {
            ++j;
            top = std::min(top, points[j].y());
            bottom = std::max(bottom, points[j].y());
        }
        if (j > i) {
            fillCapsule(target, Capsule(QPointF(x, top), QPointF(x, bottom), r), pixel);
            i = j;
        } else {
            fillCapsule(target, Capsule(points[i], points[i + 1], r), pixel);
            ++i;
        }
    }
}
