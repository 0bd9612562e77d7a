#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class Matrix;

// The matrix of one system, holding only the entries that elements bind. Rows and columns are 1-based
// as in the dense storage. Everything in row or column 0 (ground, or an unknown that lies outside
// this system) goes to scratch values that no solve reads. An entry's address stays the same until
// the next reset, so elements bind once per run.
class SparseMatrix {
public:
    SparseMatrix() = default;
    SparseMatrix(const SparseMatrix&) = delete;
    SparseMatrix& operator=(const SparseMatrix&) = delete;
    SparseMatrix(SparseMatrix&&) = default;
    SparseMatrix& operator=(SparseMatrix&&) = default;

    // n unknowns and no entries.
    void reset(int n);
    int size() const { return m_n; }

    // The entry in row `row` and column `col`, +0.0 when it is made by this call.
    double* entry(int row, int col);
    // A scratch value for what an element stamps towards ground. Bindings get them in turn from a
    // small pool: were it one value, the stamps of every grounded element would wait for each other.
    double* scratch() { return &m_scratch[m_nextScratch++ % kScratch]; }
    // The value of an entry, 0 for one that was never made.
    double at(int row, int col) const;
    // Every entry (and the scratch value) to +0.0.
    void zero();
    // Keeps the value of every entry as it is now, for RestoreBase to put back (entries made later
    // then read +0.0).
    void KeepBase();
    void RestoreBase();

    // The entries by column, rows ascending: column c holds rows Row(e) for e in ColumnStart(c) ..
    // ColumnStart(c+1)-1, their values behind Value(e). Valid after Index(), until an entry is made.
    void Index();
    int ColumnStart(int c) const { return m_colStart[std::size_t(c)]; }
    int Row(int e) const { return m_row[std::size_t(e)]; }
    double Value(int e) const { return *m_value[std::size_t(e)]; }
    // Where the value of entry e lives (it stays there until the next reset).
    const double* ValueAddress(int e) const { return m_value[std::size_t(e)]; }
    std::size_t EntryCount() const { return m_count; }
    // Grows by one each time the set of entries changes.
    std::uint64_t Version() const { return m_version; }

    // The whole matrix in dense storage, for the dense routines (dense must have size() unknowns).
    void CopyTo(Matrix& dense) const;

    // Memory of one entry: its value, and its place in the index and in the table of entries.
    static constexpr double kBytesPerEntry = 8 + 4 + 8 + 32;

private:
    double* find(int row, int col) const;
    // The entries of block b in use.
    std::size_t used(std::size_t b) const
    {
        return b + 1 == m_blocks.size() ? m_blockSize[b] - m_blockFree : m_blockSize[b];
    }

    static constexpr std::size_t kScratch = 64;
    int m_n = 0;
    std::size_t m_count = 0;
    std::uint64_t m_version = 0;
    double m_scratch[kScratch] = {};
    std::size_t m_nextScratch = 0;
    // Values live in blocks that never move; each block is twice the one before, up to a limit.
    std::vector<std::unique_ptr<double[]>> m_blocks;
    std::size_t m_blockFree = 0;
    // Entries made since the last Index(), by row and column.
    std::unordered_map<std::uint64_t, double*> m_new;
    std::vector<int> m_colStart, m_row;
    std::vector<double*> m_value;
    std::vector<std::size_t> m_blockSize;
    std::vector<double> m_base; // see KeepBase
};
