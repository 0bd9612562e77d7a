#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>

// A zero-filled array of doubles for a run's large tables, taken from the system in its own mapping
// and filled with pages ahead of use: a run touches one entry of every row at each step, and a page
// fault for each first touch costs more than the kernel filling many pages in one call. Tables of
// many rows ask for huge pages: with small ones, each of those touches would miss the TLB.
class LargeArray {
public:
    LargeArray() = default;
    ~LargeArray() { release(); }
    LargeArray(const LargeArray&) = delete;
    LargeArray& operator=(const LargeArray&) = delete;

    // count doubles, all +0.0 (the old ones are released first); throws std::bad_alloc. A table of
    // rows of rowLength doubles, written column by column, gets its pages from a worker thread that
    // goes ahead of the writes a few columns of every row at a time, while the caller starts using
    // it (0: every page before the call returns). The entries read 0 either way.
    void allocate(std::size_t count, bool hugePages, std::size_t rowLength = 0);
    void release();
    double* data() { return m_data; }
    const double* data() const { return m_data; }
    std::size_t size() const { return m_count; }

private:
    double* m_data = nullptr;
    std::size_t m_count = 0;
    std::size_t m_mapped = 0;
    std::thread m_filler;
    std::unique_ptr<std::atomic<bool>> m_stopFilling;
};
