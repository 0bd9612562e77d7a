#include "CellChain.h"

#include <algorithm>

void CellChain::reset(size_t cells, double forward, double backward)
{
    F.assign(cells, forward);
    B.assign(cells, backward);
    Fs.assign(cells, 0.0);
    Bs.assign(cells, 0.0);
}

void CellChain::advance(const double* t1, const double* r1, const double* t2, const double* r2, size_t stride,
                        double w1, double w2)
{
    const size_t n = F.size();
    for (size_t b = 0; b + 1 < n; ++b) {
        const size_t c = b * stride;
        Bs[b] = t2[c] * B[b + 1] + r1[c] * F[b];
        Fs[b + 1] = t1[c] * F[b] + r2[c] * B[b + 1];
    }
    std::copy(Fs.begin() + 1, Fs.end(), F.begin() + 1);
    std::copy(Bs.begin(), Bs.end() - 1, B.begin());
    F[0] = w1;
    B[n - 1] = w2;
}
