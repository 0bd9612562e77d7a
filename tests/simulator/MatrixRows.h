#pragma once
// Small systems written as rows of values, for the tests of the solvers against the dense routines.
#include "Matrix.h"
#include "SparseMatrix.h"
#include "lu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
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

// One system solved by the dense routines and by `Solver`, which keeps its matrix and what it found
// from call to call, as a run does, so that later calls refactor over what was found before.
template <class Solver> struct AgainstDense {
    int n;
    SparseMatrix a;
    Solver lu;
    std::vector<int> indx;
    explicit AgainstDense(int size) : n(size), indx(size_t(size) + 1) { a.reset(size); }

    // m factored both ways: the dense routines' factors, pivots and answer, and the solver's answer.
    struct Factored {
        Matrix dense;
        std::vector<int> denseIndx;
        double denseStatus = 0, status = 0;
    };
    Factored factor(const Rows& m)
    {
        Factored f{Matrix(n), std::vector<int>(size_t(n) + 1)};
        fillBoth(m, a, f.dense);
        ludcmp(f.dense.rows(), n, f.denseIndx.data(), &f.denseStatus);
        f.status = lu.factor(a, indx.data());
        return f;
    }
    // The right-hand side r solved both ways over f: the dense routines' solution and the solver's,
    // 1-based.
    std::pair<std::vector<double>, std::vector<double>> solve(Factored& f, const std::vector<double>& r)
    {
        std::vector<double> x(size_t(n) + 1, 0.0), y(size_t(n) + 1, 0.0);
        for (int i = 1; i <= n; ++i)
            x[size_t(i)] = y[size_t(i)] = r[size_t(i - 1)];
        lubksb(f.dense.rows(), n, f.denseIndx.data(), x.data());
        lu.solve(indx.data(), y.data());
        return {std::move(x), std::move(y)};
    }
};
