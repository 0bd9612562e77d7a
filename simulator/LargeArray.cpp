#include "LargeArray.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <sys/mman.h>
#include <system_error>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace {
constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kPage = 4096;
// Below this the whole mapping is filled at once: a thread would cost more than it saves.
constexpr std::size_t kFillAheadBytes = std::size_t(8) << 20;
// The part of each row the worker fills in one round: a few pages, so a round over a few hundred
// rows takes a small part of the time the run needs to write as many columns.
constexpr std::size_t kFillColumns = 4 * kPage / sizeof(double);

void populate(double* first, double* last)
{
    const auto begin = reinterpret_cast<std::uintptr_t>(first) / kPage * kPage;
    const auto end = reinterpret_cast<std::uintptr_t>(last);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}
} // namespace

void LargeArray::allocate(std::size_t count, bool hugePages, std::size_t rowLength)
{
    release();
    if (count == 0) return;
    if (count > (std::size_t(-1) - 2 * kHugePage) / sizeof(double)) throw std::bad_alloc();
    const std::size_t align = hugePages ? kHugePage : 1;
    const std::size_t bytes = (count * sizeof(double) + align - 1) / align * align;
    void* raw = mmap(nullptr, bytes + align - 1, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    // Huge pages must start at a multiple of their size: what lies before and after goes back.
    char* const begin = static_cast<char*>(raw);
    char* const aligned = begin + (align - reinterpret_cast<std::uintptr_t>(begin) % align) % align;
    if (aligned > begin) munmap(begin, std::size_t(aligned - begin));
    const std::size_t after = std::size_t(begin + bytes + align - 1 - (aligned + bytes));
    if (after > 0) munmap(aligned + bytes, after);
    // On virtual machines that hand free memory back to their host, huge pages are the slowest to come
    // by; only a table whose rows are too many for the TLB is worth it. Kernels without the populate
    // call fault the pages in one by one instead.
    if (hugePages) madvise(aligned, bytes, MADV_HUGEPAGE);
    m_data = reinterpret_cast<double*>(aligned);
    m_count = count;
    m_mapped = bytes;
    if (rowLength == 0 || bytes < kFillAheadBytes) {
        madvise(aligned, bytes, MADV_POPULATE_WRITE);
        return;
    }
    // Filling pages changes no entry, so the worker and the writes may meet on a page: the writer then
    // merely faults that page in itself.
    m_stopFilling = std::make_unique<std::atomic<bool>>(false);
    const std::atomic<bool>& stop = *m_stopFilling;
    double* const data = m_data;
    const std::size_t rows = count / rowLength;
    try {
        m_filler = std::thread([data, rows, rowLength, &stop] {
            for (std::size_t c = 0; c < rowLength; c += kFillColumns) {
                const std::size_t width = std::min(kFillColumns, rowLength - c);
                for (std::size_t r = 0; r < rows; ++r) {
                    if (stop.load(std::memory_order_relaxed)) return;
                    double* const first = data + r * rowLength + c;
                    populate(first, first + width);
                }
            }
        });
    } catch (const std::system_error&) {
        madvise(aligned, bytes, MADV_POPULATE_WRITE);
    }
}

void LargeArray::release()
{
    if (m_filler.joinable()) {
        m_stopFilling->store(true, std::memory_order_relaxed);
        m_filler.join();
    }
    m_stopFilling.reset();
    if (m_data) munmap(m_data, m_mapped);
    m_data = nullptr;
    m_count = m_mapped = 0;
}
