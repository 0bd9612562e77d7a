#include "StructuredLU.h"

#include "CouplingPattern.h"
#include "SparseMatrix.h"
#include "lu.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <utility>

namespace {

// A value whose products the structured path may leave out when they meet +0.0.
inline bool plain(double v)
{
    return std::isfinite(v) && !(v == 0.0 && std::signbit(v));
}

// plain() and std::isfinite() without branches.
constexpr std::uint64_t kExponent = 0x7ff0000000000000u, kNegativeZero = 0x8000000000000000u;
inline bool finiteBits(double v)
{
    return (std::bit_cast<std::uint64_t>(v) & kExponent) != kExponent;
}
inline bool plainBits(double v)
{
    return finiteBits(v) & (std::bit_cast<std::uint64_t>(v) != kNegativeZero);
}

// Entries that are not exactly +0.0 (so -0.0 counts) take part in the factors.
inline bool structural(double v)
{
    return std::bit_cast<std::uint64_t>(v) != 0;
}

// sum minus the products of the entries with x at their columns, in the entries' order: the order in
// which ludcmp and lubksb subtract them.
template <class E> inline double subtractProducts(double sum, const E* e, const E* end, const double* x)
{
    for (; e != end; ++e)
        sum -= e->value * x[e->col];
    return sum;
}

// Work between two questions to the hook: a million products (a millisecond or so), or 64 columns
// where they are few. The hook itself looks at the clock.
constexpr std::size_t kWorkBetweenCalls = std::size_t(1) << 20;
constexpr std::size_t kColumnWork = kWorkBetweenCalls / 64;

} // namespace

void StructuredLU::reset(int n)
{
    m_n = n;
    m_reused = m_denseFactors = m_haveStructure = m_stopped = false;
    m_matrixVersion = 0;
    m_work = 0;
    m_denseA.clear();
    m_nonzero.clear();
    m_prevNonzero.clear();
    const size_t w = size_t(n) + 1;
    m_aPtr.assign(w + 1, 0);
    m_scale.assign(w, 0.0);
    m_rowAt.assign(w, 0);
    m_pos.assign(w, 0);
    m_finalPos.assign(w, 0);
    m_pivots.assign(w, 0);
    m_diag.assign(w, 0.0);
    m_lRows.assign(w, {});
    m_uRows.assign(w, {});
    m_mark.assign(w, 0);
    m_cursorL.assign(w, 0);
    m_cursorU.assign(w, 0);
    m_x.assign(w, 0.0);
    m_upper.assign(w, 0.0);
    m_denseScale.assign(w, 0.0);
    m_taken.assign(w, 0.0);
    m_moved.assign(w, 0.0);
    m_lPtr.assign(w + 1, 0);
    m_uPtr.assign(w + 1, 0);
    m_l.clear();
    m_u.clear();
    m_longSlot.assign(w, -1);
    m_longColPtr.assign(w + 1, 0);
    m_longStart.clear();
    m_longCol.clear();
    m_longSum.clear();
    m_chainEnd.assign(w + 1, 0);
    for (size_t i = 0; i < w; ++i)
        m_chainEnd[i] = int(i);
    m_firstLong.assign(w, -1);
}

Matrix& StructuredLU::denseCopy()
{
    if (m_denseA.size() != m_n) m_denseA.resize(m_n);
    return m_denseA;
}

bool StructuredLU::keepGoing(std::size_t products)
{
    m_work += products + kColumnWork;
    if (!m_keepGoing || m_work < kWorkBetweenCalls) return true;
    m_work = 0;
    if (m_keepGoing()) return true;
    m_stopped = true;
    return false;
}

StructuredLU::Gathered StructuredLU::gather(const SparseMatrix& a)
{
    m_nonzero.resize(a.EntryCount());
    m_aRow.clear();
    m_aVal.clear();
    std::fill(m_scale.begin(), m_scale.end(), 0.0);
    bool allPlain = true;
    for (int c = 1; c <= m_n; ++c) {
        m_aPtr[size_t(c)] = int(m_aRow.size());
        for (int e = a.ColumnStart(c); e < a.ColumnStart(c + 1); ++e) {
            const double v = a.Value(e);
            const bool nz = structural(v);
            m_nonzero[size_t(e)] = nz;
            if (!nz) continue;
            const int r = a.Row(e);
            allPlain = allPlain && plain(v);
            m_aRow.push_back(r);
            m_aVal.push_back(v);
            // As ludcmp takes the largest: a NaN never replaces what is there.
            m_scale[size_t(r)] = std::max(m_scale[size_t(r)], std::fabs(v));
        }
    }
    m_aPtr[size_t(m_n) + 1] = int(m_aRow.size());
    for (int r = 1; r <= m_n; ++r) {
        // ludcmp gives up at a row of zeros before anything else.
        if (m_scale[size_t(r)] == 0.0) return Gathered::ZeroRow;
        m_scale[size_t(r)] = 1.0 / m_scale[size_t(r)];
        // A scale that overflows turns ludcmp's zeros into NaN, which never wins a pivot.
        if (!std::isfinite(m_scale[size_t(r)])) allPlain = false;
    }
    return allPlain ? Gathered::Plain : Gathered::Unusual;
}

double StructuredLU::factor(SparseMatrix& a, int* indx)
{
    m_reused = m_stopped = false;
    m_products = 0;
    a.Index();
    if (a.Version() != m_matrixVersion) {
        m_matrixVersion = a.Version();
        m_haveStructure = false;
    }
    if (!m_dense) {
        const Gathered gathered = gather(a);
        if (gathered == Gathered::ZeroRow) {
            m_haveStructure = m_denseFactors = false;
            return -1.0;
        }
        m_strict = fallbackAllowed();
        if (gathered == Gathered::Plain || !m_strict) {
            double status = 0.0;
            const int again =
                m_haveStructure && m_nonzero == m_prevNonzero ? factorAgain(indx, status) : kAfresh;
            if (again > 0) {
                m_reused = true;
                m_denseFactors = false;
                return status;
            }
            status = 0.0;
            if (again == kAfresh && factorFresh(indx, status)) {
                m_prevNonzero = m_nonzero;
                m_haveStructure = true;
                m_denseFactors = false;
                return status;
            }
            if (m_stopped) {
                m_haveStructure = m_denseFactors = false;
                return kStopped;
            }
        }
    }
    // The reference itself, on the dense copy.
    m_haveStructure = false;
    m_denseFactors = true;
    Matrix& dense = denseCopy();
    a.CopyTo(dense);
    double d = 0.0;
    ludcmp(dense.rows(), m_n, indx, &d, m_denseScale.data(), m_keepGoing ? &m_keepGoing : nullptr);
    // A stopped decomposition leaves the copy half done.
    if (d == kStopped) m_denseFactors = false;
    return d;
}

int StructuredLU::choosePivot(std::span<const int> rows) const
{
    // ludcmp walks the rows from the diagonal down and takes the last one whose scaled value reaches
    // the largest so far; rows left out here are +0.0 and win only when every row is zero, which
    // leaves the last row.
    double big = 0.0;
    int best = 0;
    for (const int r : rows) {
        const double dum = m_scale[size_t(r)] * std::fabs(m_x[size_t(r)]);
        const int p = m_pos[size_t(r)];
        if (dum > big || (dum == big && big > 0.0 && p > best)) {
            big = dum;
            best = p;
        }
    }
    return big > 0.0 ? best : m_n;
}

int StructuredLU::placePivot(int j, int imax, int* indx, double& status)
{
    if (imax != j) {
        std::swap(m_rowAt[size_t(j)], m_rowAt[size_t(imax)]);
        m_pos[size_t(m_rowAt[size_t(j)])] = j;
        m_pos[size_t(m_rowAt[size_t(imax)])] = imax;
    }
    indx[j] = imax;
    const int pr = m_rowAt[size_t(j)];
    double pivot = m_x[size_t(pr)];
    if (pivot == 0.0) {
        pivot = TINY;
        if (status == 0.0) status = j;
    }
    m_diag[size_t(j)] = pivot;
    return pr;
}

template <class LRow, class StoreU, class StoreL>
int StructuredLU::eliminate(int j, std::span<const int> up, std::span<const int> down, int wanted, int* indx,
                            double& status, LRow lRow, StoreU storeU, StoreL storeL)
{
    // A row's entries of L times the column's entries of U, in column order. Where the row is much
    // longer than the column (a source's branch row, which fills all along), only the entries the
    // column has are looked up in it: the others meet a +0.0.
    const auto products = [&](int r) {
        auto [e, end] = lRow(r);
        double s = m_x[size_t(r)];
        if (size_t(end - e) <= 8 * up.size() + 16) {
            m_products += size_t(end - e);
            return subtractProducts(s, e, end, m_upper.data());
        }
        m_products += up.size();
        for (const int u : up) {
            const int k = m_pos[size_t(u)];
            e = std::lower_bound(e, end, k, [](const auto& x, int col) { return x.col < col; });
            if (e == end) break;
            if (e->col == k) s -= e->value * m_upper[size_t(k)];
        }
        return s;
    };
    bool finite = true;
    for (const int r : up) {
        const double s = products(r);
        finite = finite && std::isfinite(s);
        m_upper[size_t(m_pos[size_t(r)])] = s;
        storeU(m_pos[size_t(r)], s);
    }
    for (const int r : down) {
        const double s = products(r);
        finite = finite && std::isfinite(s);
        m_x[size_t(r)] = s;
    }
    if (!finite && m_strict) return kNonFinite;
    const int imax = choosePivot(down);
    if (wanted != 0 && imax != wanted) return kAfresh;
    m_pivots[size_t(j)] = imax;
    const int pr = placePivot(j, imax, indx, status);
    if (j != m_n) {
        const double dum = 1.0 / m_diag[size_t(j)];
        finite = std::isfinite(dum);
        for (const int r : down) {
            if (r == pr) continue;
            const double v = m_x[size_t(r)] * dum;
            finite = finite && std::isfinite(v);
            storeL(r, v);
        }
    }
    return finite || !m_strict ? pr : kNonFinite;
}

void StructuredLU::clearColumn(std::span<const int> up, std::span<const int> down)
{
    for (const int r : up) {
        m_x[size_t(r)] = 0.0;
        m_upper[size_t(m_pos[size_t(r)])] = 0.0;
    }
    for (const int r : down)
        m_x[size_t(r)] = 0.0;
}

bool StructuredLU::factorFresh(int* indx, double& status)
{
    const int n = m_n;
    for (int i = 0; i <= n; ++i) {
        m_rowAt[size_t(i)] = m_pos[size_t(i)] = i;
        m_mark[size_t(i)] = 0;
        m_lRows[size_t(i)].clear();
        m_uRows[size_t(i)].clear();
    }
    m_lColPtr.assign(size_t(n) + 2, 0);
    m_lColRow.clear();
    m_upPtr.assign(size_t(n) + 2, 0);
    m_downPtr.assign(size_t(n) + 2, 0);
    m_upRow.clear();
    m_downRow.clear();

    for (int j = 1; j <= n; ++j) {
        // Column j of the factors is non-zero where column j of the matrix is, and wherever an L
        // column meets an entry above the diagonal that is non-zero itself.
        m_list.clear();
        for (int e = m_aPtr[size_t(j)]; e < m_aPtr[size_t(j) + 1]; ++e) {
            const int r = m_aRow[size_t(e)];
            m_x[size_t(r)] = m_aVal[size_t(e)];
            m_mark[size_t(r)] = j;
            m_list.push_back(r);
        }
        for (size_t q = 0; q < m_list.size(); ++q) {
            const int p = m_pos[size_t(m_list[q])];
            if (p >= j) continue;
            for (int e = m_lColPtr[size_t(p)]; e < m_lColPtr[size_t(p) + 1]; ++e) {
                const int r = m_lColRow[size_t(e)];
                if (m_mark[size_t(r)] != j) {
                    m_mark[size_t(r)] = j;
                    m_list.push_back(r);
                }
            }
        }
        m_upPtr[size_t(j)] = int(m_upRow.size());
        m_downPtr[size_t(j)] = int(m_downRow.size());
        for (const int r : m_list)
            (m_pos[size_t(r)] < j ? m_upRow : m_downRow).push_back(r);
        m_upPtr[size_t(j) + 1] = int(m_upRow.size());
        m_downPtr[size_t(j) + 1] = int(m_downRow.size());
        const std::span<int> up(m_upRow.data() + m_upPtr[size_t(j)], m_upRow.data() + m_upRow.size());
        std::sort(up.begin(), up.end(), [&](int a, int b) { return m_pos[size_t(a)] < m_pos[size_t(b)]; });
        const std::span<const int> down(m_downRow.data() + m_downPtr[size_t(j)],
                                        m_downRow.data() + m_downRow.size());

        m_lColPtr[size_t(j)] = int(m_lColRow.size());
        const int pr = eliminate(
            j, up, down, 0, indx, status,
            [&](int r) {
                const auto& row = m_lRows[size_t(r)];
                return std::pair(row.data(), row.data() + row.size());
            },
            [&](int p, double v) {
                m_uRows[size_t(p)].push_back({v, j});
            },
            [&](int r, double v) {
                m_lRows[size_t(r)].push_back({v, j});
                m_lColRow.push_back(r);
            });
        m_lColPtr[size_t(j) + 1] = int(m_lColRow.size());
        clearColumn(up, down);
        if (pr == kNonFinite || !keepGoing(std::exchange(m_products, 0))) return false;
    }

    // The factors by final position, for the substitutions and for the next factorisation.
    m_lPtr.assign(size_t(n) + 2, 0);
    m_uPtr.assign(size_t(n) + 2, 0);
    m_l.clear();
    m_u.clear();
    for (int i = 1; i <= n; ++i) {
        const auto& lr = m_lRows[size_t(m_rowAt[size_t(i)])];
        m_l.insert(m_l.end(), lr.begin(), lr.end());
        m_lPtr[size_t(i) + 1] = int(m_l.size());
        const auto& ur = m_uRows[size_t(i)];
        m_u.insert(m_u.end(), ur.begin(), ur.end());
        m_uPtr[size_t(i) + 1] = int(m_u.size());
    }
    m_finalPos = m_pos;
    planSubstitution();
    return true;
}

int StructuredLU::factorAgain(int* indx, double& status)
{
    const int n = m_n;
    for (int i = 0; i <= n; ++i) {
        m_rowAt[size_t(i)] = m_pos[size_t(i)] = i;
        m_cursorL[size_t(i)] = m_lPtr[size_t(i)];
        m_cursorU[size_t(i)] = m_uPtr[size_t(i)];
    }
    Entry* l = m_l.data();
    for (int j = 1; j <= n; ++j) {
        for (int e = m_aPtr[size_t(j)]; e < m_aPtr[size_t(j) + 1]; ++e)
            m_x[size_t(m_aRow[size_t(e)])] = m_aVal[size_t(e)];
        const std::span<const int> up(m_upRow.data() + m_upPtr[size_t(j)],
                                      m_upRow.data() + m_upPtr[size_t(j) + 1]);
        const std::span<const int> down(m_downRow.data() + m_downPtr[size_t(j)],
                                        m_downRow.data() + m_downPtr[size_t(j) + 1]);
        // The rows keep their final positions as long as every pivot comes out as before.
        const int pr = eliminate(
            j, up, down, m_pivots[size_t(j)], indx, status,
            [&](int r) {
                const int fp = m_finalPos[size_t(r)];
                return std::pair<const Entry*, const Entry*>(l + m_lPtr[size_t(fp)],
                                                             l + m_cursorL[size_t(fp)]);
            },
            [&](int p, double v) { m_u[size_t(m_cursorU[size_t(p)]++)].value = v; },
            [&](int r, double v) { l[m_cursorL[size_t(m_finalPos[size_t(r)])]++].value = v; });
        clearColumn(up, down);
        if (pr == kNonFinite || pr == kAfresh) return pr;
        if (!keepGoing(std::exchange(m_products, 0))) return kGaveUp;
    }
    return 1;
}

void StructuredLU::planSubstitution()
{
    const int n = m_n;
    m_longSlot.assign(size_t(n) + 1, -1);
    m_longStart.clear();
    m_longColPtr.assign(size_t(n) + 2, 0);
    m_longCol.clear();
    // Where each row's start value lies in the right-hand side as given: the interchanges only ever
    // move values that no row has replaced yet.
    std::vector<int> at(size_t(n) + 1);
    for (int i = 0; i <= n; ++i)
        at[size_t(i)] = i;
    std::vector<std::pair<int, LongEntry>> byColumn;
    for (int i = 1; i <= n; ++i) {
        const int ip = m_pivots[size_t(i)];
        const int start = at[size_t(ip)];
        at[size_t(ip)] = at[size_t(i)];
        if (m_lPtr[size_t(i) + 1] - m_lPtr[size_t(i)] < kLongRow) continue;
        const int slot = int(m_longStart.size());
        m_longSlot[size_t(i)] = slot;
        m_longStart.push_back(start);
        for (int e = m_lPtr[size_t(i)]; e < m_lPtr[size_t(i) + 1]; ++e)
            byColumn.push_back({m_l[size_t(e)].col, LongEntry{slot, e}});
    }
    // By column, and within a column by row: each row still takes its products in column order.
    std::stable_sort(byColumn.begin(), byColumn.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [col, entry] : byColumn) {
        ++m_longColPtr[size_t(col) + 1];
        m_longCol.push_back(entry);
    }
    for (int c = 1; c <= n; ++c)
        m_longColPtr[size_t(c) + 1] += m_longColPtr[size_t(c)];
    m_longSum.assign(m_longStart.size(), 0.0);

    // Chain rows: no interchange, not long, one entry in L, in the column before, and what the long
    // rows take from their column is at most one product of the first of them.
    m_chainEnd.assign(size_t(n) + 2, 0);
    m_firstLong.assign(size_t(n) + 1, -1);
    for (int i = n; i >= 1; --i) {
        const int longEntries = m_longColPtr[size_t(i) + 1] - m_longColPtr[size_t(i)];
        const bool firstOnly =
            longEntries == 0 || (longEntries == 1 && m_longCol[size_t(m_longColPtr[size_t(i)])].slot == 0);
        if (longEntries == 1 && firstOnly)
            m_firstLong[size_t(i)] = m_longCol[size_t(m_longColPtr[size_t(i)])].entry;
        const bool chain = m_pivots[size_t(i)] == i && m_longSlot[size_t(i)] < 0 && firstOnly &&
                           m_lPtr[size_t(i) + 1] - m_lPtr[size_t(i)] == 1 &&
                           m_l[size_t(m_lPtr[size_t(i)])].col == i - 1;
        m_chainEnd[size_t(i)] = chain ? std::max(m_chainEnd[size_t(i) + 1], i + 1) : i;
    }
}

void StructuredLU::spillToDense()
{
    // Every entry as ludcmp leaves it: the left-out ones are +0.0 above the diagonal, and below it
    // the +0.0 that ludcmp scales by the reciprocal of the pivot.
    Matrix& a = denseCopy();
    for (int i = 1; i <= m_n; ++i) {
        double* row = a[i];
        for (int j = 1; j < i; ++j)
            row[j] = 0.0 * (1.0 / m_diag[size_t(j)]);
        row[i] = m_diag[size_t(i)];
        std::fill(row + i + 1, row + m_n + 1, 0.0);
        for (int e = m_lPtr[size_t(i)]; e < m_lPtr[size_t(i) + 1]; ++e)
            row[m_l[size_t(e)].col] = m_l[size_t(e)].value;
        for (int e = m_uPtr[size_t(i)]; e < m_uPtr[size_t(i) + 1]; ++e)
            row[m_u[size_t(e)].col] = m_u[size_t(e)].value;
    }
    m_denseFactors = true;
}

void StructuredLU::solve(const int* indx, double* b, double* const* out, int column, double* solution)
{
    if (m_dense || m_denseFactors) {
        lubksb(m_denseA.rows(), m_n, indx, b);
        deliver(b, out, column, solution);
        return;
    }
    // Set by a -0.0 or a non-finite value among the inputs (each is the start value of one row) and
    // among the results: checked on the way, where the chain of the substitution leaves time to spare.
    std::uint64_t unusual = forwardSubstitute(indx, b);
    unusual |= backSubstitute(b, out, column, solution);
    if (unusual && fallbackAllowed()) solveOnDenseCopy(indx, b, out, column, solution);
}

void StructuredLU::deliver(const double* b, double* const* out, int column, double* solution) const
{
    if (out)
        for (int i = 1; i <= m_n; ++i)
            out[i][column] = b[i];
    if (solution) std::copy(b + 1, b + m_n + 1, solution + 1);
}

std::uint64_t StructuredLU::forwardSubstitute(const int* indx, double* b)
{
    const int n = m_n;
    // What the forward pass takes from b and what it moves within it, row by row: enough to put the
    // right-hand side back together for the dense routines, without a copy of it at every solve.
    double* const taken = m_taken.data();
    double* const moved = m_moved.data();
    std::uint64_t unusual = 0;

    // lubksb starts subtracting at the first non-zero; the leading values are +0.0, so their products
    // change no sum here. The value of the row before is taken from a register where a row uses it:
    // reading it back from memory would make every row wait for the store of the one before. Long
    // rows take each product as soon as its value is known, in the same order, beside the others.
    const Entry* l = m_l.data();
    const int* lPtr = m_lPtr.data();
    const int* longSlot = m_longSlot.data();
    const int* longColPtr = m_longColPtr.data();
    const LongEntry* longCol = m_longCol.data();
    const int* chainEnd = m_chainEnd.data();
    const int* firstLong = m_firstLong.data();
    double* longSum = m_longSum.data();
    for (size_t s = 0; s < m_longStart.size(); ++s)
        longSum[s] = b[m_longStart[s]];
    // The first long row (often the only one: a source's branch row) keeps its sum in a register, and
    // comes first among the entries of a column.
    double firstSum = m_longStart.empty() ? 0.0 : longSum[0];
    double prev = 0.0;
    for (int i = 1; i <= n;) {
        // A run of chain rows: each takes one product with the row before, and gives the first long
        // row at most one; the loop is short enough to keep up with the chain of products.
        for (const int end = chainEnd[i]; i < end; ++i) {
            const double start = b[i];
            taken[i] = start;
            unusual |= !plainBits(start);
            prev = start - l[lPtr[i]].value * prev;
            b[i] = prev;
            if (firstLong[i] >= 0) firstSum -= l[firstLong[i]].value * prev;
        }
        if (i > n) break;
        const int ip = indx[i];
        double sum = b[ip];
        taken[i] = sum;
        moved[i] = b[i];
        b[ip] = b[i];
        unusual |= !plainBits(sum);
        if (longSlot[i] >= 0) {
            sum = longSlot[i] == 0 ? firstSum : longSum[longSlot[i]];
        } else {
            const Entry* e = l + lPtr[i];
            const Entry* last = l + lPtr[i + 1];
            if (e != last) {
                --last;
                sum = subtractProducts(sum, e, last, b);
                if (last->col == i - 1)
                    sum -= last->value * prev;
                else
                    sum -= last->value * b[last->col];
            }
        }
        b[i] = prev = sum;
        int e = longColPtr[i];
        if (e < longColPtr[i + 1] && longCol[e].slot == 0) firstSum -= l[longCol[e++].entry].value * sum;
        for (; e < longColPtr[i + 1]; ++e)
            longSum[longCol[e].slot] -= l[longCol[e].entry].value * sum;
        ++i;
    }
    return unusual;
}

std::uint64_t StructuredLU::backSubstitute(double* b, double* const* out, int column, double* solution)
{
    const Entry* u = m_u.data();
    const int* uPtr = m_uPtr.data();
    const double* diag = m_diag.data();
    std::uint64_t unusual = 0;
    double prev = 0.0;
    for (int i = m_n; i >= 1; --i) {
        double sum = b[i];
        const Entry* e = u + uPtr[i];
        const Entry* end = u + uPtr[i + 1];
        if (e != end) {
            if (e->col == i + 1)
                sum -= e->value * prev;
            else
                sum -= e->value * b[e->col];
            sum = subtractProducts(sum, e + 1, end, b);
        }
        b[i] = prev = sum / diag[i];
        unusual |= !finiteBits(prev);
        // Stored where the run keeps it while the next division is under way. A run writes one
        // column of hundreds of rows at each step, so each of those stores would wait for its row's
        // next line when it gets there: the line a few steps on is asked for now.
        if (out) {
            out[i][column] = prev;
            __builtin_prefetch(reinterpret_cast<const void*>(
                                   reinterpret_cast<std::uintptr_t>(out[i] + column) + kResultsLookahead),
                               1);
        }
        if (solution) solution[i] = prev;
    }
    return unusual;
}

void StructuredLU::solveOnDenseCopy(const int* indx, double* b, double* const* out, int column,
                                    double* solution)
{
    // The right-hand side as it was given, undone from the last row back: row i took b[indx[i]] and
    // moved b[i] there (chain rows move nothing).
    for (int i = m_n; i >= 1; --i) {
        if (indx[i] != i) {
            b[i] = m_moved[size_t(i)];
            b[indx[i]] = m_taken[size_t(i)];
        } else {
            b[i] = m_taken[size_t(i)];
        }
    }
    spillToDense();
    lubksb(m_denseA.rows(), m_n, indx, b);
    deliver(b, out, column, solution);
}

double StructuredLU::BaseBytes(int n, bool dense, int denseLimit)
{
    // The objects of a system and their many small allocations; per unknown, the vectors above, the
    // right-hand side and the pivots of the system; the dense copy where the system has one.
    double bytes = 2048 + double(n + 1) * (22 * sizeof(double) + 2 * sizeof(std::vector<Entry>));
    if (dense || n <= denseLimit) bytes += double(n + 1) * (double(n + 1) + 1) * sizeof(double);
    return bytes;
}

double StructuredLU::EstimateBytes(const CouplingPattern& pattern, bool dense, int denseLimit, double enough)
{
    const int n = pattern.n;
    double bytes = BaseBytes(n, dense, denseLimit) + pattern.entries * SparseMatrix::kBytesPerEntry;
    if (n <= 0 || bytes > enough) return bytes;

    // The fill-in of elimination in order, on the symmetric structure: each row of L is the union of
    // the paths from its entries up the elimination tree (the rows of U mirror them).
    const double bytesPerFactorEntry = 2 * sizeof(Entry) + 3 * sizeof(int);
    std::vector<int> parent(size_t(n) + 1, 0), flag(size_t(n) + 1, 0);
    double lower = 0;
    for (int k = 1; k <= n; ++k) {
        flag[size_t(k)] = k;
        for (int e = pattern.start[size_t(k)]; e < pattern.end[size_t(k)]; ++e) {
            for (int i = pattern.adjacent[size_t(e)]; i > 0 && i < k && flag[size_t(i)] != k;
                 i = parent[size_t(i)]) {
                if (parent[size_t(i)] == 0) parent[size_t(i)] = k;
                flag[size_t(i)] = k;
                ++lower;
            }
        }
        if (bytes + 2 * lower * bytesPerFactorEntry > enough) break;
    }
    return bytes + (2 * lower + n) * bytesPerFactorEntry;
}
