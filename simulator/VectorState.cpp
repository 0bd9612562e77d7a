#include "VectorState.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace {
__attribute__((target("avx"))) void zeroUpper()
{
    _mm256_zeroupper();
}

bool hasAvx()
{
    // Also false where the system does not keep the upper halves for the program.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
}

const bool g_hasAvx = hasAvx();
} // namespace

void ClearUpperVectorState()
{
    if (g_hasAvx) zeroUpper();
}
#else
void ClearUpperVectorState() {}
#endif
