#include "LargeArray.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace {
constexpr std::size_t kHugePage = std::size_t(2) << 20;
}

void LargeArray::allocate(std::size_t count, bool hugePages)
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
    madvise(aligned, bytes, MADV_POPULATE_WRITE);
    m_data = reinterpret_cast<double*>(aligned);
    m_count = count;
    m_mapped = bytes;
}

LargeArray& LargeArray::operator=(LargeArray&& other) noexcept
{
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_count = std::exchange(other.m_count, 0);
        m_mapped = std::exchange(other.m_mapped, 0);
    }
    return *this;
}

void LargeArray::release()
{
    if (m_data) munmap(m_data, m_mapped);
    m_data = nullptr;
    m_count = m_mapped = 0;
}
