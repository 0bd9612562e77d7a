#include "SparseLU.h"

#include "CouplingPattern.h"
#include "SparseMatrix.h"

#include <amd.h>
#include <klu.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <new>

struct KluState {
    klu_common common;
    klu_symbolic* symbolic = nullptr;

    KluState()
    {
        klu_defaults(&common);
        // The rows arrive scaled, and a singular matrix is reported by the dense routines' own account,
        // so KLU stops at the first zero pivot.
        common.scale = -1;
        common.halt_if_singular = 1;
    }
    ~KluState() { release(); }
    void release()
    {
        if (symbolic) klu_free_symbolic(&symbolic, &common);
    }
    // KLU's account of a failure: running out of memory is the run's, anything else the matrix's.
    void checkMemory() const
    {
        if (common.status == KLU_OUT_OF_MEMORY || common.status == KLU_TOO_LARGE) throw std::bad_alloc();
    }
};

// KLU's factors by column in its permuted order: L with its unit diagonal, U with its pivots, the
// off-diagonal blocks F, the row and column permutations and the block boundaries.
struct SparseLU::Pattern {
    std::vector<int> lp, li, up, ui, fp, fi, p, q, r;
};

namespace {
// A pivot below this in a row scaled to 1 is rounding noise; one beyond the other bound has grown out of
// all proportion (or is infinite).
constexpr double kTinyPivot = 1e-14, kHugePivot = 1e150;
// How far ahead of its store in a results row the solve asks for the line (bytes).
constexpr std::uintptr_t kResultsLookahead = 64;
constexpr std::uint64_t kExponent = 0x7ff0000000000000u, kExponentOne = std::uint64_t(1) << 52;
inline bool notFinite(double v)
{
    return (std::bit_cast<std::uint64_t>(v) & kExponent) == kExponent;
}
} // namespace

SparseLU::SparseLU() : m_klu(std::make_unique<KluState>()) {}
SparseLU::~SparseLU() = default;
SparseLU::SparseLU(SparseLU&&) noexcept = default;
SparseLU& SparseLU::operator=(SparseLU&&) noexcept = default;

void SparseLU::reset(int n)
{
    m_klu->release();
    m_n = n;
    m_matrixVersion = 0;
    m_reused = m_planned = false;
}

bool SparseLU::analyse(const SparseMatrix& a)
{
    const int n = m_n;
    m_klu->release();
    m_planned = false;
    const std::size_t nz = a.EntryCount();
    m_ap.resize(std::size_t(n) + 1);
    for (int c = 1; c <= n + 1; ++c)
        m_ap[std::size_t(c) - 1] = a.ColumnStart(c);
    m_ai.resize(nz);
    m_value.resize(nz);
    for (std::size_t e = 0; e < nz; ++e) {
        m_ai[e] = a.Row(int(e)) - 1;
        m_value[e] = a.ValueAddress(int(e));
    }
    m_klu->symbolic = klu_analyze(n, m_ap.data(), m_ai.data(), &m_klu->common);
    if (m_klu->symbolic) return true;
    m_klu->checkMemory();
    return false;
}

bool SparseLU::factor(SparseMatrix& a)
{
    m_reused = false;
    if (m_n == 0) return true;
    a.Index();
    if (a.Version() != m_matrixVersion || !m_klu->symbolic) {
        m_matrixVersion = a.Version();
        if (!analyse(a)) return false;
    }
    if (m_klu->symbolic->est_flops > kWorkLimit) return false;
    if (m_planned && refactor(false)) {
        m_reused = true;
        return true;
    }
    return choosePivots();
}

bool SparseLU::choosePivots()
{
    m_planned = false;
    // KLU takes the values scaled as the factors below are. A row without entries is singular; one
    // whose largest entry has no finite reciprocal the dense routines are left to as well.
    std::vector<double> big(std::size_t(m_n), 0.0), scaled(m_value.size());
    for (std::size_t e = 0; e < m_value.size(); ++e) {
        const double v = *m_value[e];
        if (notFinite(v)) return false;
        big[std::size_t(m_ai[e])] = std::max(big[std::size_t(m_ai[e])], std::fabs(v));
    }
    for (const double b : big)
        if (notFinite(1.0 / b)) return false;
    for (std::size_t e = 0; e < m_value.size(); ++e)
        scaled[e] = *m_value[e] / big[std::size_t(m_ai[e])];
    Pattern f;
    if (!kluPattern(scaled, f)) return false;
    planRows(f);
    planSources(f);
    planUpdates();
    for (std::size_t i = 0; i < std::size_t(m_n); ++i) {
        m_rowScale[i] = 1.0 / big[std::size_t(f.p[i])];
        for (int s = m_sourcePtr[i]; s < m_sourcePtr[i + 1]; ++s)
            m_sourceScale[std::size_t(s)] = m_rowScale[i];
    }
    m_planned = refactor(true);
    return m_planned;
}

bool SparseLU::kluPattern(std::vector<double>& scaled, Pattern& f)
{
    KluState& k = *m_klu;
    klu_numeric* numeric = klu_factor(m_ap.data(), m_ai.data(), scaled.data(), k.symbolic, &k.common);
    if (!numeric) {
        k.checkMemory();
        return false;
    }
    // KLU gives its pattern with its values; only the pattern is kept.
    const std::size_t n = std::size_t(m_n), lnz = std::size_t(numeric->lnz), unz = std::size_t(numeric->unz),
                      offDiagonal = std::size_t(std::max(numeric->nzoff, 1));
    for (std::vector<int>* columns : {&f.lp, &f.up, &f.fp})
        columns->assign(n + 1, 0);
    f.li.assign(lnz, 0);
    f.ui.assign(unz, 0);
    f.fi.assign(offDiagonal, 0);
    f.p.assign(n, 0);
    f.q.assign(n, 0);
    f.r.assign(std::size_t(k.symbolic->nblocks) + 1, 0);
    std::vector<double> lx(lnz), ux(unz), fx(offDiagonal);
    const bool extracted = klu_extract(numeric, k.symbolic, f.lp.data(), f.li.data(), lx.data(), f.up.data(),
                                       f.ui.data(), ux.data(), f.fp.data(), f.fi.data(), fx.data(),
                                       f.p.data(), f.q.data(), nullptr, f.r.data(), &k.common);
    klu_free_numeric(&numeric, &k.common);
    if (!extracted) k.checkMemory();
    return extracted;
}

void SparseLU::planRows(const Pattern& f)
{
    // Each row's entries by column: L's, then the off-diagonal blocks' (whose columns all lie beyond
    // the row's block), and U's right of the diagonal.
    const std::size_t n = std::size_t(m_n);
    std::vector<int> lCount(n + 1, 0), fCount(n + 1, 0), uCount(n + 1, 0);
    for (std::size_t c = 0; c < n; ++c) {
        for (int e = f.lp[c]; e < f.lp[c + 1]; ++e)
            lCount[std::size_t(f.li[std::size_t(e)]) + 1] += std::size_t(f.li[std::size_t(e)]) != c;
        for (int e = f.fp[c]; e < f.fp[c + 1]; ++e)
            ++fCount[std::size_t(f.fi[std::size_t(e)]) + 1];
        for (int e = f.up[c]; e < f.up[c + 1]; ++e)
            uCount[std::size_t(f.ui[std::size_t(e)]) + 1] += std::size_t(f.ui[std::size_t(e)]) != c;
    }
    m_lowPtr.assign(n + 1, 0);
    m_highPtr.assign(n + 1, 0);
    m_lEnd.assign(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        m_lEnd[i] = m_lowPtr[i] + lCount[i + 1];
        m_lowPtr[i + 1] = m_lEnd[i] + fCount[i + 1];
        m_highPtr[i + 1] = m_highPtr[i] + uCount[i + 1];
    }
    m_lowCol.assign(std::size_t(m_lowPtr[n]), 0);
    m_highCol.assign(std::size_t(m_highPtr[n]), 0);
    std::vector<int> nextL(m_lowPtr.begin(), m_lowPtr.end() - 1), nextF(m_lEnd),
        nextU(m_highPtr.begin(), m_highPtr.end() - 1);
    for (std::size_t c = 0; c < n; ++c) {
        for (int e = f.lp[c]; e < f.lp[c + 1]; ++e)
            if (const int row = f.li[std::size_t(e)]; std::size_t(row) != c)
                m_lowCol[std::size_t(nextL[std::size_t(row)]++)] = int(c);
        for (int e = f.fp[c]; e < f.fp[c + 1]; ++e)
            m_lowCol[std::size_t(nextF[std::size_t(f.fi[std::size_t(e)])]++)] = int(c);
        for (int e = f.up[c]; e < f.up[c + 1]; ++e)
            if (const int row = f.ui[std::size_t(e)]; std::size_t(row) != c)
                m_highCol[std::size_t(nextU[std::size_t(row)]++)] = int(c);
    }
    m_highRow.resize(m_highCol.size());
    for (std::size_t i = 0; i < n; ++i)
        std::fill(m_highRow.begin() + m_highPtr[i], m_highRow.begin() + m_highPtr[i + 1], int(i));
    m_highBase = m_lowCol.size();
    m_pivotBase = m_highBase + m_highCol.size();
    m_factor.assign(m_pivotBase + n, 0.0);
    m_inverse.assign(n, 0.0);
    m_rowScale.assign(n, 0.0);
    m_work.assign(n, 0.0);
    planChains();
    m_blockStart = f.r;
    m_blockEnd.resize(n);
    for (std::size_t b = 0; b + 1 < f.r.size(); ++b)
        for (int i = f.r[b]; i < f.r[b + 1]; ++i)
            m_blockEnd[std::size_t(i)] = f.r[b + 1];
    m_from.resize(n);
    m_to.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        m_from[i] = f.p[i] + 1;
        m_to[i] = f.q[i] + 1;
    }
}

void SparseLU::planChains()
{
    // A forward chain row takes exactly one product, with the row before it; a backward one with the
    // row after it. Neither can reach into another block.
    const int n = m_n;
    m_chainEnd.assign(std::size_t(n) + 1, 0);
    m_chainStart.assign(std::size_t(n), 0);
    m_chainEnd[std::size_t(n)] = n;
    for (int i = n - 1; i >= 0; --i) {
        const int l0 = m_lowPtr[std::size_t(i)];
        const bool chain = m_lowPtr[std::size_t(i) + 1] - l0 == 1 && m_lEnd[std::size_t(i)] == l0 + 1 &&
                           m_lowCol[std::size_t(l0)] == i - 1;
        m_chainEnd[std::size_t(i)] = chain ? std::max(m_chainEnd[std::size_t(i) + 1], i + 1) : i;
    }
    for (int i = 0; i < n; ++i) {
        const int h0 = m_highPtr[std::size_t(i)];
        const bool chain = m_highPtr[std::size_t(i) + 1] - h0 == 1 && m_highCol[std::size_t(h0)] == i + 1;
        const bool before = i > 0 && m_chainStart[std::size_t(i) - 1] <= i - 1;
        m_chainStart[std::size_t(i)] = chain ? (before ? m_chainStart[std::size_t(i) - 1] : i) : i + 1;
    }
}

int SparseLU::slotOf(int i, int j) const
{
    if (j == i) return int(m_pivotBase) + i;
    const bool low = j < i || j >= m_blockEnd[std::size_t(i)];
    const std::vector<int>& cols = low ? m_lowCol : m_highCol;
    const std::vector<int>& ptr = low ? m_lowPtr : m_highPtr;
    const auto first = cols.begin() + ptr[std::size_t(i)], last = cols.begin() + ptr[std::size_t(i) + 1];
    const auto found = std::lower_bound(first, last, j);
    if (found == last || *found != j) return -1;
    return int(found - cols.begin()) + (low ? 0 : int(m_highBase));
}

void SparseLU::planSources(const Pattern& f)
{
    // Each matrix entry goes to its permuted row; the slots of the row that no entry fills (the fill
    // of elimination) take a zero.
    static const double kZero = 0.0;
    const std::size_t n = std::size_t(m_n);
    std::vector<int> rowAt(n), colAt(n);
    for (std::size_t i = 0; i < n; ++i) {
        rowAt[std::size_t(f.p[i])] = int(i);
        colAt[std::size_t(f.q[i])] = int(i);
    }
    std::vector<std::vector<std::pair<const double*, int>>> rows(n);
    std::vector<char> filled(m_factor.size(), 0);
    for (std::size_t c = 0; c < n; ++c)
        for (int e = m_ap[c]; e < m_ap[c + 1]; ++e) {
            const int i = rowAt[std::size_t(m_ai[std::size_t(e)])], slot = slotOf(i, colAt[c]);
            rows[std::size_t(i)].push_back({m_value[std::size_t(e)], slot});
            filled[std::size_t(slot)] = 1;
        }
    const auto fill = [&](std::size_t i, int slot) {
        if (!filled[std::size_t(slot)]) rows[i].push_back({&kZero, slot});
    };
    for (std::size_t i = 0; i < n; ++i) {
        for (int e = m_lowPtr[i]; e < m_lEnd[i]; ++e)
            fill(i, e);
        fill(i, int(m_pivotBase + i));
        for (int e = m_highPtr[i]; e < m_highPtr[i + 1]; ++e)
            fill(i, int(m_highBase) + e);
    }
    m_sourcePtr.assign(n + 1, 0);
    m_sourceSlot.clear();
    m_sourceValue.clear();
    for (std::size_t i = 0; i < n; ++i) {
        for (const auto& [value, slot] : rows[i]) {
            m_sourceValue.push_back(value);
            m_sourceSlot.push_back(slot);
        }
        m_sourcePtr[i + 1] = int(m_sourceSlot.size());
    }
    m_sourceScale.assign(m_sourceSlot.size(), 0.0);
}

void SparseLU::planUpdates()
{
    // L entry (i, j) takes l times row j's U entries off row i, each from its place in row i.
    m_updatePtr.assign(m_lowCol.size() + 1, 0);
    m_update.clear();
    m_eliminated.clear();
    for (int i = 0; i < m_n; ++i) {
        if (m_lEnd[std::size_t(i)] > m_lowPtr[std::size_t(i)]) m_eliminated.push_back(i);
        for (int e = m_lowPtr[std::size_t(i)]; e < m_lowPtr[std::size_t(i) + 1]; ++e) {
            const int j = m_lowCol[std::size_t(e)];
            if (e < m_lEnd[std::size_t(i)])
                for (int u = m_highPtr[std::size_t(j)]; u < m_highPtr[std::size_t(j) + 1]; ++u)
                    m_update.push_back({slotOf(i, m_highCol[std::size_t(u)]), int(m_highBase) + u});
            m_updatePtr[std::size_t(e) + 1] = int(m_update.size());
        }
    }
}

bool SparseLU::refactor(bool fresh)
{
    // Every entry of the factors from its matrix entry (scaled as at the last choice) or zero, then
    // every pivot's reciprocal; then the rows that have multipliers, in order, each taking the rows of
    // U it multiplies off itself before its own pivot's reciprocal is taken again. The rows of U are
    // those of the elimination until the end.
    double* const f = m_factor.data();
    // One added to the exponent bits of a value that is not finite, and only of such a value, carries
    // into the sign bit.
    std::uint64_t carries = 0;
    for (std::size_t s = 0; s < m_sourceSlot.size(); ++s) {
        const double v = *m_sourceValue[s];
        carries |= (std::bit_cast<std::uint64_t>(v) & kExponent) + kExponentOne;
        f[m_sourceSlot[s]] = v * m_sourceScale[s];
    }
    const double* const pivots = f + m_pivotBase;
    double* const inverse = m_inverse.data();
    for (int i = 0; i < m_n; ++i)
        inverse[i] = 1.0 / pivots[i];
    const double largest = 1.0 / m_klu->common.tol;
    bool moved = false; // a multiplier beyond the tolerance
    for (const int i : m_eliminated) {
        for (int e = m_lowPtr[std::size_t(i)]; e < m_lEnd[std::size_t(i)]; ++e) {
            const double l = f[e] * inverse[m_lowCol[std::size_t(e)]];
            moved |= std::fabs(l) > largest;
            f[e] = l;
            for (int u = m_updatePtr[std::size_t(e)]; u < m_updatePtr[std::size_t(e) + 1]; ++u)
                f[m_update[std::size_t(u)].to] -= l * f[m_update[std::size_t(u)].from];
        }
        inverse[i] = 1.0 / pivots[i];
    }
    // Each row of U divided by its pivot: the substitution then takes one product less in its chain.
    double* const high = f + m_highBase;
    for (std::size_t e = 0; e < m_highRow.size(); ++e)
        high[e] *= inverse[m_highRow[e]];
    return !(carries >> 63) && (fresh || !moved) && pivotsUsable();
}

bool SparseLU::pivotsUsable() const
{
    // A pivot that is zero, or at the level of rounding in its scaled row: the matrix is singular, or
    // so near it that whether it is depends on the order of elimination; the dense routines' own
    // verdict is then the run's. (Not a number fails the comparison too.)
    const double* const pivots = m_factor.data() + m_pivotBase;
    bool usable = true;
    for (int i = 0; i < m_n; ++i)
        usable &= std::fabs(pivots[i]) >= kTinyPivot && std::fabs(pivots[i]) <= kHugePivot;
    return usable;
}

void SparseLU::solve(double* b, double* const* out, int column, double* solution)
{
    const int n = m_n;
    if (n == 0) return;
    double* const w = m_work.data();
    for (int i = 0; i < n; ++i)
        w[i] = b[m_from[std::size_t(i)]] * m_rowScale[std::size_t(i)];
    // Blocks from the last: what a block takes from the later ones is known by the time it starts.
    const Destination to{b, out, column, solution};
    for (std::size_t blk = m_blockStart.size() - 1; blk-- > 0;) {
        forward(m_blockStart[blk], m_blockStart[blk + 1]);
        backward(m_blockStart[blk], m_blockStart[blk + 1], to);
    }
}

// In a block the rows mostly form a chain, each using the row just done: that value is taken from a
// register, and its product comes last, after those that need not wait for it; runs of rows that take
// nothing else go through a loop of their own.
void SparseLU::forward(int first, int end)
{
    double* const w = m_work.data();
    const double* const low = m_factor.data();
    const int* const lowCol = m_lowCol.data();
    const int* const lowPtr = m_lowPtr.data();
    const int* const lEnd = m_lEnd.data();
    const int* const chainEnd = m_chainEnd.data();
    double last = 0.0; // row i-1's value
    for (int i = first; i < end;) {
        if (chainEnd[i] > i) {
            const double* l = low + lowPtr[i];
            for (const int stop = chainEnd[i]; i < stop; ++i)
                w[i] = last = w[i] - *l++ * last;
            continue;
        }
        double sum = w[i];
        for (int e = lEnd[i]; e < lowPtr[i + 1]; ++e)
            sum -= low[e] * w[lowCol[e]];
        const int l0 = lowPtr[i], l1 = lEnd[i];
        const bool chained = l1 > l0 && lowCol[l1 - 1] == i - 1;
        for (int e = l0; e < l1 - chained; ++e)
            sum -= low[e] * w[lowCol[e]];
        if (chained) sum -= low[l1 - 1] * last;
        w[i] = last = sum;
        ++i;
    }
}

void SparseLU::backward(int first, int end, const Destination& to)
{
    double* const w = m_work.data();
    const double* const high = m_factor.data() + m_highBase;
    const int* const highCol = m_highCol.data();
    const int* const highPtr = m_highPtr.data();
    const int* const chainStart = m_chainStart.data();
    const double* const inverse = m_inverse.data();
    double last = 0.0; // row i+1's value
    for (int i = end - 1; i >= first;) {
        const int stop = std::max(chainStart[i], first);
        if (stop <= i) {
            for (const double* u = high + highPtr[i]; i >= stop; --i)
                store(to, i, w[i] = last = w[i] * inverse[i] - *u-- * last);
            continue;
        }
        double sum = w[i] * inverse[i];
        const int h0 = highPtr[i], h1 = highPtr[i + 1];
        const bool chained = h1 > h0 && highCol[h0] == i + 1;
        for (int e = h0 + chained; e < h1; ++e)
            sum -= high[e] * w[highCol[e]];
        if (chained) sum -= high[h0] * last;
        store(to, i, w[i] = last = sum);
        --i;
    }
}

inline void SparseLU::store(const Destination& to, int i, double x) const
{
    const int at = m_to[std::size_t(i)];
    to.b[at] = x;
    if (to.solution) to.solution[at] = x;
    // Stored while the next row is under way. A run writes one column of many rows at each step, so
    // each of those stores would wait for its row's next line when it gets there: the line a few steps
    // on is asked for now.
    if (to.out) {
        double* const where = to.out[at] + to.column;
        *where = x;
        __builtin_prefetch(
            reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(where) + kResultsLookahead), 1);
    }
}

double SparseLU::EstimateBytes(const CouplingPattern& pattern, double& work)
{
    // AMD's count of the factors on the symmetric structure, as KLU's own estimate takes it.
    const int n = pattern.n;
    std::vector<int> ap(std::size_t(std::max(n, 0)) + 1, 0), ai, order(std::size_t(std::max(n, 0)));
    ai.reserve(std::size_t(pattern.entries));
    for (int r = 1; r <= n; ++r) {
        for (int e = pattern.start[std::size_t(r)]; e < pattern.end[std::size_t(r)]; ++e)
            if (pattern.adjacent[std::size_t(e)] > 0) ai.push_back(pattern.adjacent[std::size_t(e)] - 1);
        ap[std::size_t(r)] = int(ai.size());
    }
    double info[AMD_INFO];
    work = 0;
    double lower = 0;
    if (n > 0 && amd_order(n, ap.data(), ai.data(), order.data(), nullptr, info) >= AMD_OK) {
        lower = info[AMD_LNZ];
        work = info[AMD_NDIV] + 2 * info[AMD_NMULTSUBS_LU];
    }
    // Per unknown some twenty numbers; per entry of the matrix its place in KLU's copy and the source
    // of its value; per entry of the factors its value, column and row, and per product of a
    // factorisation the two places it joins.
    const double perUnknown = 20 * sizeof(double),
                 perEntry = 2 * sizeof(int) + sizeof(double*) + sizeof(double);
    const double perFactorEntry = sizeof(double) + 2 * sizeof(int), perProduct = 2 * sizeof(int);
    return 4096 + double(n) * perUnknown + pattern.entries * perEntry + (2 * lower + n) * perFactorEntry +
           (work / 2) * perProduct;
}
