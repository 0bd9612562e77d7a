#include "Matrix.h"
#include "lu.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct System {
    Matrix a;
    std::vector<int> indx;
    explicit System(std::initializer_list<std::initializer_list<double>> rows)
        : a(int(rows.size())), indx(rows.size() + 1)
    {
        int i = 1;
        for (const auto& r : rows) {
            int j = 1;
            for (double v : r)
                a[i][j++] = v;
            ++i;
        }
    }
    double factor()
    {
        double d = 99;
        ludcmp(a.rows(), a.size(), indx.data(), &d);
        return d;
    }
};

} // namespace

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

TEST(LuTest, PivotsOnTheScaledLargestAndTheLaterRowOnTies)
{
    System s{{0, 1}, {1, 1}}; // without pivoting the zero leading entry would stop the elimination
    EXPECT_EQ(s.factor(), 0.0);
    EXPECT_EQ(s.indx[1], 2);
    std::vector<double> b{0, 1, 3};
    lubksb(s.a.rows(), 2, s.indx.data(), b.data());
    EXPECT_DOUBLE_EQ(b[1], 2);
    EXPECT_DOUBLE_EQ(b[2], 1);
    System tie{{1, 1}, {1, -1}};
    EXPECT_EQ(tie.factor(), 0.0);
    EXPECT_EQ(tie.indx[1], 2);
}

TEST(LuTest, StatusForZeroRowsAndZeroPivots)
{
    System zeroRow{{1, 0, 0}, {0, 0, 0}, {0, 0, 1}};
    EXPECT_EQ(zeroRow.factor(), -1.0);
    // Columns 2 and 3 are equal: the third pivot vanishes, and the decomposition completes with TINY.
    System singular{{2, 1, 1}, {1, 3, 3}, {1, 1, 1}};
    EXPECT_EQ(singular.factor(), 3.0);
    EXPECT_EQ(singular.a[3][3], TINY);
    System twice{{1, 1, 1}, {1, 1, 1}, {1, 1, 1}}; // only the first zero pivot is reported
    EXPECT_EQ(twice.factor(), 2.0);
}
