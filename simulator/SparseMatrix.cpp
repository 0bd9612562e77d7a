#include "SparseMatrix.h"

#include "Matrix.h"

#include <algorithm>
#include <utility>

namespace {

std::uint64_t key(int row, int col)
{
    return std::uint64_t(std::uint32_t(col)) << 32 | std::uint32_t(row);
}

} // namespace

void SparseMatrix::reset(int n)
{
    m_n = n;
    m_count = 0;
    ++m_version;
    std::fill(std::begin(m_scratch), std::end(m_scratch), 0.0);
    m_nextScratch = 0;
    m_blocks.clear();
    m_blockSize.clear();
    m_blockFree = 0;
    m_base.clear();
    m_new.clear();
    m_colStart.assign(std::size_t(std::max(n, 0)) + 2, 0);
    m_row.clear();
    m_value.clear();
}

double* SparseMatrix::find(int row, int col) const
{
    if (const auto it = m_new.find(key(row, col)); it != m_new.end()) return it->second;
    const auto first = m_row.begin() + m_colStart[std::size_t(col)];
    const auto last = m_row.begin() + m_colStart[std::size_t(col) + 1];
    const auto at = std::lower_bound(first, last, row);
    return at != last && *at == row ? m_value[std::size_t(at - m_row.begin())] : nullptr;
}

double* SparseMatrix::entry(int row, int col)
{
    if (row <= 0 || col <= 0 || row > m_n || col > m_n) return scratch();
    if (double* found = find(row, col)) return found;
    if (m_blockFree == 0) {
        // Small systems (partitions) stay small; large ones grow in large blocks.
        const std::size_t size =
            m_blockSize.empty() ? 8 : std::min<std::size_t>(m_blockSize.back() * 2, 8192);
        m_blocks.push_back(std::make_unique<double[]>(size));
        m_blockSize.push_back(size);
        m_blockFree = size;
    }
    double* made = &m_blocks.back()[m_blockSize.back() - m_blockFree--];
    *made = 0.0;
    m_new.emplace(key(row, col), made);
    ++m_count;
    ++m_version;
    return made;
}

double SparseMatrix::at(int row, int col) const
{
    if (row <= 0 || col <= 0 || row > m_n || col > m_n) return 0.0;
    const double* found = find(row, col);
    return found ? *found : 0.0;
}

void SparseMatrix::zero()
{
    for (std::size_t b = 0; b < m_blocks.size(); ++b)
        std::fill(m_blocks[b].get(), m_blocks[b].get() + used(b), 0.0);
    std::fill(std::begin(m_scratch), std::end(m_scratch), 0.0);
}

void SparseMatrix::KeepBase()
{
    m_base.clear();
    for (std::size_t b = 0; b < m_blocks.size(); ++b)
        m_base.insert(m_base.end(), m_blocks[b].get(), m_blocks[b].get() + used(b));
}

void SparseMatrix::RestoreBase()
{
    std::size_t at = 0;
    for (std::size_t b = 0; b < m_blocks.size(); ++b) {
        double* const values = m_blocks[b].get();
        const std::size_t n = used(b), kept = std::min(n, m_base.size() - std::min(at, m_base.size()));
        std::copy(m_base.begin() + std::ptrdiff_t(at), m_base.begin() + std::ptrdiff_t(at + kept), values);
        std::fill(values + kept, values + n, 0.0);
        at += n;
    }
    std::fill(std::begin(m_scratch), std::end(m_scratch), 0.0);
}

void SparseMatrix::Index()
{
    if (m_new.empty()) return;
    // The entries counted by column, placed, and each column's few rows sorted: a sort of the whole
    // set would take a noticeable while on a system of a million entries.
    std::vector<int> start(std::size_t(m_n) + 2, 0);
    for (int c = 1; c <= m_n; ++c)
        start[std::size_t(c) + 1] = m_colStart[std::size_t(c) + 1] - m_colStart[std::size_t(c)];
    for (const auto& [k, where] : m_new)
        ++start[std::size_t(k >> 32) + 1];
    for (int c = 1; c <= m_n; ++c)
        start[std::size_t(c) + 1] += start[std::size_t(c)];
    std::vector<std::pair<int, double*>> placed(m_count);
    std::vector<int> next(start.begin(), start.end() - 1);
    for (int c = 1; c <= m_n; ++c)
        for (int e = m_colStart[std::size_t(c)]; e < m_colStart[std::size_t(c) + 1]; ++e)
            placed[std::size_t(next[std::size_t(c)]++)] = {m_row[std::size_t(e)], m_value[std::size_t(e)]};
    for (const auto& [k, where] : m_new)
        placed[std::size_t(next[std::size_t(k >> 32)]++)] = {int(k & 0xffffffffu), where};
    m_new = {};
    m_row.resize(placed.size());
    m_value.resize(placed.size());
    for (int c = 1; c <= m_n; ++c) {
        const auto first = placed.begin() + start[std::size_t(c)],
                   last = placed.begin() + start[std::size_t(c) + 1];
        std::sort(first, last, [](const auto& x, const auto& y) { return x.first < y.first; });
        for (auto e = first; e != last; ++e) {
            m_row[std::size_t(e - placed.begin())] = e->first;
            m_value[std::size_t(e - placed.begin())] = e->second;
        }
    }
    m_colStart = std::move(start);
}

void SparseMatrix::CopyTo(Matrix& dense) const
{
    dense.zero();
    for (int c = 1; c <= m_n; ++c)
        for (int e = m_colStart[std::size_t(c)]; e < m_colStart[std::size_t(c) + 1]; ++e)
            dense[m_row[std::size_t(e)]][c] = *m_value[std::size_t(e)];
    for (const auto& [k, where] : m_new)
        dense[int(k & 0xffffffffu)][int(k >> 32)] = *where;
}
