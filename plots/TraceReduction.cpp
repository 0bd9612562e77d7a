#include "TraceReduction.h"

#include <algorithm>
#include <cmath>

namespace {

class Builder {
public:
    Builder(const plot::TraceMapping& m, const double* values, TracePolylines& out)
        : m_map(m), m_values(values), m_out(out)
    {
    }

    void Add(qsizetype k) { m_out.Points.emplace_back(m_map.X(double(k)), m_map.Y(m_values[k])); }

    void Break()
    {
        const qsizetype size = qsizetype(m_out.Points.size());
        if (size > m_runStart) {
            m_out.RunEnds.push_back(size);
            m_runStart = size;
        }
    }

    // The samples [a, b): of each unbroken stretch its ends, and with `extremes` its lowest and
    // highest sample as well.
    void Stretches(qsizetype a, qsizetype b, bool extremes)
    {
        const double* v = m_values;
        for (qsizetype i = a; i < b;) {
            if (!std::isfinite(v[i])) {
                Break();
                ++i;
                continue;
            }
            qsizetype lo = i, hi = i, j = i + 1;
            double vlo = v[i], vhi = v[i];
            for (; j < b; ++j) {
                const double x = v[j];
                if (!std::isfinite(x)) break;
                if (x < vlo) {
                    vlo = x;
                    lo = j;
                } else if (x > vhi) {
                    vhi = x;
                    hi = j;
                }
            }
            qsizetype keep[4] = {i, std::min(lo, hi), std::max(lo, hi), j - 1};
            if (!extremes) keep[1] = keep[2] = i;
            qsizetype last = -1;
            for (qsizetype k : keep) {
                if (k != last) Add(k);
                last = k;
            }
            i = j;
        }
    }

private:
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
    if (!(columns.Scale > 0) || !std::isfinite(columns.Scale) || !std::isfinite(columns.Offset) || !forward) {
        for (qsizetype k = 0; k < n; ++k) {
            if (std::isfinite(values[k]))
                builder.Add(k);
            else
                builder.Break();
        }
        builder.Break();
        return out;
    }

    const auto column = [&](double x) { return std::floor(x * columns.Scale + columns.Offset); };
    const auto columnOf = [&](qsizetype k) { return column(m.X(double(k))); };
    const double firstColumn = column(plot::kArea.left);
    const double lastColumn = column(plot::kArea.right);

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

    for (qsizetype k = 0; k < n;) {
        const double c = columnOf(k);
        qsizetype end;
        bool inside = false;
        if (c < firstColumn) {
            end = firstBeyond(k, [&](double x) { return x >= firstColumn; });
        } else if (c > lastColumn) {
            end = n;
        } else {
            end = firstBeyond(k, [&](double x) { return x > c; });
            inside = true;
        }
        builder.Stretches(k, end, inside);
        k = end;
    }
    builder.Break();
    return out;
}
