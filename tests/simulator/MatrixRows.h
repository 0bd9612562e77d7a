#pragma once
// Small systems written as rows of values, for the tests of the solvers against the dense routines.
#include "Matrix.h"
#include "SparseMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using Rows = std::vector<std::vector<double>>;

// The columns of the identity: one right-hand side per unknown.
inline Rows unitColumns(int n)
{
    Rows out(size_t(n), std::vector<double>(size_t(n), 0.0));
    for (int i = 0; i < n; ++i)
        out[size_t(i)][size_t(i)] = 1.0;
    return out;
}

// m into both matrices (of m's size): an entry of `sparse` where a value is not +0.0, as elements make
// them; `sparse` keeps its other entries at +0.0.
inline void fillBoth(const Rows& m, SparseMatrix& sparse, Matrix& dense)
{
    sparse.zero();
    dense.zero();
    for (size_t i = 0; i < m.size(); ++i)
        for (size_t j = 0; j < m.size(); ++j)
            if (const double v = m[i][j]; v != 0.0 || std::signbit(v))
                *sparse.entry(int(i) + 1, int(j) + 1) = dense[int(i) + 1][int(j) + 1] = v;
}

// A run's elements may make an entry after the first factorisation. Over a tridiagonal system, the
// same entries with another value reuse what was found for the pattern; an entry outside it may not.
// `solvers` checks each system against the dense routines and says whether its solver reused.
template <class Solvers> void checkAnEntryJoiningThePattern(Solvers& solvers)
{
    solvers.check({{4, 1, 0}, {1, 5, 1}, {0, 1, 6}}, unitColumns(3), "tridiagonal");
    solvers.check({{4, 2, 0}, {1, 5, 1}, {0, 1, 6}}, unitColumns(3), "same entries");
    EXPECT_TRUE(solvers.lu.reused());
    solvers.check({{4, 1, 2}, {1, 5, 1}, {0, 1, 6}}, unitColumns(3), "a new entry");
    EXPECT_FALSE(solvers.lu.reused());
}
