#include "LargeArray.h"

#include <new>
#include <sys/mman.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

void LargeArray::allocate(std::size_t count)
{
    release();
    if (count == 0) return;
    if (count > std::size_t(-1) / sizeof(double)) throw std::bad_alloc();
    void* mapped =
        mmap(nullptr, count * sizeof(double), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    // Kernels without it fault the pages in one by one instead; huge pages are not asked for, as on
    // virtual machines that hand free memory back to their host they are the slowest to come by.
    madvise(mapped, count * sizeof(double), MADV_POPULATE_WRITE);
    m_data = static_cast<double*>(mapped);
    m_count = count;
}

void LargeArray::release()
{
    if (m_data) munmap(m_data, m_count * sizeof(double));
    m_data = nullptr;
    m_count = 0;
}
