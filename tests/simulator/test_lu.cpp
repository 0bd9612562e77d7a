#include "Matrix.h"
#include "lu.h"

#include <gtest/gtest.h>

#include <random>

TEST(LuTest, SolvesAgainstAKnownSolutionWithReusedFactors)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-1, 1);
    for (int n : {1, 2, 5, 40}) {
        Matrix a(n), copy(n);
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                copy[i][j] = a[i][j] = u(rng) + (i == j ? n : 0);
        std::vector<int> indx(size_t(n) + 1);
        double d = 5;
        ludcmp(a.rows(), n, indx.data(), &d);
        EXPECT_EQ(d, 0.0);
        for (double scale : {1.0, -3.0, 0.0}) { // the factors serve any number of right-hand sides
            std::vector<double> x(size_t(n) + 1), b(size_t(n) + 1, 0.0);
            for (int i = 1; i <= n; ++i)
                x[size_t(i)] = scale * u(rng);
            for (int i = 1; i <= n; ++i)
                for (int j = 1; j <= n; ++j)
                    b[size_t(i)] += copy[i][j] * x[size_t(j)];
            lubksb(a.rows(), n, indx.data(), b.data());
            for (int i = 1; i <= n; ++i)
                EXPECT_NEAR(b[size_t(i)], x[size_t(i)], 1e-12) << n;
        }
    }
}
