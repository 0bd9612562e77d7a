#include "lu.h"

#include <cmath>
#include <utility>
#include <vector>

void ludcmp(double** a, int n, int* indx, double* d, double* scale, const std::function<bool()>* keepGoing)
{
    std::vector<double> own;
    if (!scale) {
        own.resize(size_t(n) + 1);
        scale = own.data();
    }
    *d = 0.0;

    for (int i = 1; i <= n; ++i) {
        double big = 0.0;
        const double* row = a[i];
        for (int j = 1; j <= n; ++j)
            big = std::max(big, std::fabs(row[j]));
        if (big == 0.0) {
            *d = -1.0;
            return;
        }
        scale[i] = 1.0 / big;
    }

    // Column j is worked on in a contiguous copy: the sums run over the rows' contiguous entries and
    // the copy, in the same order as on the matrix itself, so the results are the same to the bit.
    thread_local std::vector<double> column;
    if (column.size() < size_t(n) + 1) column.resize(size_t(n) + 1);
    double* col = column.data();

    // A column of a small matrix is quick; of a large one it is worth a look at the clock.
    if (n < 64) keepGoing = nullptr;
    for (int j = 1; j <= n; ++j) {
        if (keepGoing && !(*keepGoing)()) {
            *d = -2.0;
            return;
        }
        for (int i = 1; i <= n; ++i)
            col[i] = a[i][j];
        for (int i = 1; i < j; ++i) {
            const double* ai = a[i];
            double sum = col[i];
            for (int k = 1; k < i; ++k)
                sum -= ai[k] * col[k];
            col[i] = sum;
        }
        double big = 0.0;
        int imax = j;
        for (int i = j; i <= n; ++i) {
            const double* ai = a[i];
            double sum = col[i];
            for (int k = 1; k < j; ++k)
                sum -= ai[k] * col[k];
            col[i] = sum;
            const double dum = scale[i] * std::fabs(sum);
            if (dum >= big) { // ties go to the later row
                big = dum;
                imax = i;
            }
        }
        for (int i = 1; i <= n; ++i)
            a[i][j] = col[i];
        if (imax != j) {
            // Swap contents, not row pointers: elements hold pointers to fixed entries.
            double* r1 = a[imax];
            double* r2 = a[j];
            for (int k = 1; k <= n; ++k)
                std::swap(r1[k], r2[k]);
            scale[imax] = scale[j];
        }
        indx[j] = imax;
        if (a[j][j] == 0.0) {
            a[j][j] = TINY;
            if (*d == 0.0) *d = j;
        }
        if (j != n) {
            const double dum = 1.0 / a[j][j];
            for (int i = j + 1; i <= n; ++i)
                a[i][j] *= dum;
        }
    }
}

void lubksb(double** a, int n, const int* indx, double* b)
{
    int ii = 0;
    for (int i = 1; i <= n; ++i) {
        const int ip = indx[i];
        double sum = b[ip];
        b[ip] = b[i];
        if (ii) {
            const double* ai = a[i];
            for (int j = ii; j < i; ++j)
                sum -= ai[j] * b[j];
        } else if (sum != 0.0) {
            ii = i;
        }
        b[i] = sum;
    }
    for (int i = n; i >= 1; --i) {
        const double* ai = a[i];
        double sum = b[i];
        for (int j = i + 1; j <= n; ++j)
            sum -= ai[j] * b[j];
        b[i] = sum / ai[i];
    }
}
