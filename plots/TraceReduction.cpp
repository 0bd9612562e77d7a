#include "TraceReduction.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

ColumnMapping::ColumnMapping(const DcMapping& mapping)
{
    qint64 num = mapping.ViewportExtX(), den = mapping.WindowExtX();
    if (den < 0) {
        num = -num;
        den = -den;
    }
    if (num <= 0 || den <= 0) return;
    m_Num = num;
    m_Den = den;
    m_Origin = mapping.WindowOrg().x();
}

qint64 ColumnMapping::Column(qint64 x) const
{
    const qint64 d = x - m_Origin;
    qint64 product;
    if (__builtin_mul_overflow(d, m_Num, &product))
        return qint64(RoundDiv(__int128(d) * m_Num, __int128(m_Den)));
    return RoundDiv(product, m_Den);
}

namespace {

// Two doubles, the width every x86-64 and ARM64 processor computes in one step.
using Doubles = double __attribute__((vector_size(16)));
using Masks = decltype(Doubles{} != Doubles{});

// The lowest and highest of n > 0 samples; false when any of them is not finite. Computed four at a
// time in two pairs: a column of a long trace holds thousands of samples, and this is where
// drawing it after a zoom spends its time.
bool extremesOf(const double* v, qsizetype n, double& lo, double& hi)
{
    double l = v[0], h = v[0];
    // x - x is 0 for a finite x and NaN for any other, and a NaN stays in a sum.
    double finite = 0;
    qsizetype j = 0;
    if (n >= 8) {
        Doubles a, b;
        std::memcpy(&a, v, sizeof a);
        std::memcpy(&b, v + 2, sizeof b);
        Doubles loA = a, loB = b, hiA = a, hiB = b, zeros = (a - a) + (b - b);
        for (j = 4; j + 4 <= n; j += 4) {
            std::memcpy(&a, v + j, sizeof a);
            std::memcpy(&b, v + j + 2, sizeof b);
            loA = a < loA ? a : loA;
            loB = b < loB ? b : loB;
            hiA = a > hiA ? a : hiA;
            hiB = b > hiB ? b : hiB;
            zeros += (a - a) + (b - b);
        }
        l = std::min({loA[0], loA[1], loB[0], loB[1]});
        h = std::max({hiA[0], hiA[1], hiB[0], hiB[1]});
        finite = zeros[0] + zeros[1];
    }
    for (; j < n; ++j) {
        l = std::min(l, v[j]);
        h = std::max(h, v[j]);
        finite += v[j] - v[j];
    }
    lo = l;
    hi = h;
    return finite == 0;
}

// The first index in [from, end) whose sample equals x or y; one of them must be there.
qsizetype firstOf(const double* v, qsizetype from, qsizetype end, double x, double y)
{
    const Doubles xs = {x, x}, ys = {y, y};
    qsizetype j = from;
    for (; j + 4 <= end; j += 4) {
        Doubles a, b;
        std::memcpy(&a, v + j, sizeof a);
        std::memcpy(&b, v + j + 2, sizeof b);
        const Masks hit = (a == xs) | (a == ys) | (b == xs) | (b == ys);
        if (hit[0] | hit[1]) break;
    }
    while (v[j] != x && v[j] != y)
        ++j;
    return j;
}

class Builder {
public:
    Builder(const plot::TraceMapping& m, const double* values, TracePolylines& out)
        : m_map(m), m_values(values), m_out(out)
    {
    }

    void Add(qsizetype k) { m_out.Points.emplace_back(m_map.X(double(k)), m_map.Y(m_values[k])); }
    // A finite sample joins the line, any other breaks it.
    void AddOrBreak(qsizetype k)
    {
        if (std::isfinite(m_values[k]))
            Add(k);
        else
            Break();
    }

    void Break()
    {
        const qsizetype size = qsizetype(m_out.Points.size());
        if (size > m_runStart) {
            m_out.RunEnds.push_back(size);
            m_runStart = size;
        }
    }

    // The samples [a, b) of one device column: of each unbroken stretch its first, lowest,
    // highest and last sample, in sample order.
    void Column(qsizetype a, qsizetype b)
    {
        const double* v = m_values;
        double vlo, vhi;
        if (extremesOf(v + a, b - a, vlo, vhi)) {
            // Both extremes are there to be found: the earlier one first, then the other.
            qsizetype first = firstOf(v, a, b, vlo, vhi);
            const double other = v[first] == vlo ? vhi : vlo;
            const qsizetype second = firstOf(v, first, b, other, other);
            Keep({a, first, second, b - 1});
            return;
        }
        for (qsizetype i = a; i < b;) {
            if (!std::isfinite(v[i])) {
                Break();
                ++i;
                continue;
            }
            qsizetype lo = i, hi = i, j = i + 1;
            double low = v[i], high = v[i];
            for (; j < b && std::isfinite(v[j]); ++j) {
                if (v[j] < low) {
                    low = v[j];
                    lo = j;
                } else if (v[j] > high) {
                    high = v[j];
                    hi = j;
                }
            }
            Keep({i, std::min(lo, hi), std::max(lo, hi), j - 1});
            i = j;
        }
    }

private:
    void Keep(std::initializer_list<qsizetype> samples)
    {
        qsizetype last = -1;
        for (qsizetype k : samples) {
            if (k != last) Add(k);
            last = k;
        }
    }

    const plot::TraceMapping& m_map;
    const double* m_values;
    TracePolylines& m_out;
    qsizetype m_runStart = 0;
};

} // namespace

TracePolylines ReduceTrace(const plot::TraceMapping& m, const double* values, qsizetype n,
                           const ColumnMapping& columns)
{
    TracePolylines out;
    if (!m.Valid || !values || n <= 0) return out;
    Builder builder(m, values, out);

    // Columns are found by search, which needs x to grow with the sample index.
    const bool forward = m.Dt == 0 || ((m.Dt > 0) == (m.Sx > 0));
    if (!columns.Thins() || !forward) {
        for (qsizetype k = 0; k < n; ++k)
            builder.AddOrBreak(k);
        builder.Break();
        return out;
    }

    const auto columnOf = [&](qsizetype k) { return columns.Column(m.X(double(k))); };
    const qint64 firstColumn = columns.Column(plot::kArea.left);
    const qint64 lastColumn = columns.Column(plot::kArea.right);

    // The first sample after `from` whose column passes `beyond` (n when none does): a galloping
    // search, so a column costs the logarithm of its width.
    const auto firstBeyond = [&](qsizetype from, auto beyond) {
        qsizetype lo = from, hi = n;
        for (qsizetype step = 1; from + step < n; step *= 2) {
            if (beyond(columnOf(from + step))) {
                hi = from + step;
                break;
            }
            lo = from + step;
        }
        while (hi - lo > 1) {
            const qsizetype mid = lo + (hi - lo) / 2;
            if (beyond(columnOf(mid)))
                hi = mid;
            else
                lo = mid;
        }
        return hi;
    };

    // Left of the plot area only the last sample can reach into it, and right of it only the
    // first: lines between points outside on the same side are clipped away.
    qsizetype k = 0;
    if (columnOf(0) < firstColumn) {
        k = firstBeyond(0, [&](qint64 x) { return x >= firstColumn; });
        builder.AddOrBreak(k - 1);
    }
    while (k < n) {
        const qint64 c = columnOf(k);
        if (c > lastColumn) {
            builder.AddOrBreak(k);
            break;
        }
        const qsizetype end = firstBeyond(k, [&](qint64 x) { return x > c; });
        builder.Column(k, end);
        k = end;
    }
    builder.Break();
    return out;
}
