#include "LargeArray.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace {
constexpr std::size_t kHugePage = std::size_t(2) << 20;
}

void LargeArray::allocate(std::size_t count)
{
    release();
    if (count == 0) return;
    if (count > (std::size_t(-1) - 2 * kHugePage) / sizeof(double)) throw std::bad_alloc();
    // Aligned to a huge page: map one more, and give back what lies before and after the aligned part.
    const std::size_t bytes = (count * sizeof(double) + kHugePage - 1) / kHugePage * kHugePage;
    void* raw = mmap(nullptr, bytes + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    char* const begin = static_cast<char*>(raw);
    char* const aligned =
        begin + (kHugePage - reinterpret_cast<std::uintptr_t>(begin) % kHugePage) % kHugePage;
    if (aligned > begin) munmap(begin, std::size_t(aligned - begin));
    if (aligned + bytes < begin + bytes + kHugePage)
        munmap(aligned + bytes, std::size_t(begin + bytes + kHugePage - (aligned + bytes)));
    madvise(aligned, bytes, MADV_HUGEPAGE);
    m_data = reinterpret_cast<double*>(aligned);
    m_count = count;
    m_mapped = bytes;
}

void LargeArray::release()
{
    if (m_data) munmap(m_data, m_mapped);
    m_data = nullptr;
    m_count = m_mapped = 0;
}
