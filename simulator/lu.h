#pragma once

#include <functional>

// Dense LU decomposition on 1-based row-pointer matrices (Crout's method with implicit partial
// pivoting) and the matching forward and back substitution. Runs factor with StructuredLU, which gives
// the same results over the non-zero entries only; these remain its reference.

// Smallest pivot put in place of an exact zero.
constexpr double TINY = 1.379e-55;

// Decomposes a[1..n][1..n] in place; indx[1..n] receives the row permutation.
// d receives the status: 0 success, -1 a row of zeros (decomposition abandoned), j >= 1 the first
// column whose pivot was zero (the decomposition is completed with TINY in its place), -2 when
// keepGoing, asked before every column of a large matrix, answered false (the matrix is then half
// decomposed).
// scale is a work vector of n+1 doubles; when null one is allocated for the call.
void ludcmp(double** a, int n, int* indx, double* d, double* scale = nullptr,
            const std::function<bool()>* keepGoing = nullptr);

// Solves with the factors of ludcmp; b[1..n] is the right-hand side on entry and the solution on exit.
void lubksb(double** a, int n, const int* indx, double* b);
