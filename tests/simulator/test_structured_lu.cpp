// The structure-aware solver against the dense routines: same status, pivots and solutions to the bit.
#include "Matrix.h"
#include "StructuredLU.h"
#include "lu.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace {

using Rows = std::vector<std::vector<double>>;

bool sameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// One system solved both ways. The structured side keeps its matrix and solver from call to call, as
// a run does, so that later calls exercise the reuse of the structure.
struct Twin {
    int n;
    Matrix a;
    StructuredLU lu;
    std::vector<int> indx;
    explicit Twin(int size) : n(size), a(size), indx(size_t(size) + 1) { lu.reset(size); }

    // Factors m both ways and compares; then solves each right-hand side both ways and compares.
    void check(const Rows& m, const Rows& rhs, const char* what)
    {
        lu.clear(a);
        Matrix dense(n);
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                if (m[size_t(i - 1)][size_t(j - 1)] != 0.0 || std::signbit(m[size_t(i - 1)][size_t(j - 1)]))
                    a[i][j] = dense[i][j] = m[size_t(i - 1)][size_t(j - 1)];
        std::vector<int> denseIndx(size_t(n) + 1);
        double d = 0;
        ludcmp(dense.rows(), n, denseIndx.data(), &d);
        ASSERT_TRUE(sameBits(lu.factor(a.rows(), indx.data()), d)) << what;
        if (d == -1.0) return;
        ASSERT_EQ(indx, denseIndx) << what;
        for (const auto& r : rhs) {
            std::vector<double> x(size_t(n) + 1, 0.0), y(size_t(n) + 1, 0.0);
            for (int i = 1; i <= n; ++i)
                x[size_t(i)] = y[size_t(i)] = r[size_t(i - 1)];
            lubksb(dense.rows(), n, denseIndx.data(), x.data());
            lu.solve(a.rows(), indx.data(), y.data());
            for (int i = 1; i <= n; ++i)
                ASSERT_TRUE(sameBits(x[size_t(i)], y[size_t(i)]))
                    << what << " x[" << i << "] " << x[size_t(i)] << " vs " << y[size_t(i)];
        }
    }
};

Rows unitColumns(int n)
{
    Rows out(size_t(n), std::vector<double>(size_t(n), 0.0));
    for (int i = 0; i < n; ++i)
        out[size_t(i)][size_t(i)] = 1.0;
    return out;
}

} // namespace

TEST(StructuredLuTest, SmallMatricesOfKnownStructure)
{
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const double tiny = std::numeric_limits<double>::denorm_min();
    // clang-format off
    const std::pair<const char*, Rows> cases[] = {
        {"pivot tie, later row",     {{1, 1}, {1, -1}}},
        {"scaled tie across rows",   {{0, 1, 0}, {2, 0, 1}, {4, 1, 4}}},
        {"zero leading entry",       {{0, 1}, {1, 1}}},
        {"source branch row",        {{1, 0, 1}, {0, 2, -1}, {1, -1, 0}}},
        {"zero row",                 {{1, 0, 0}, {0, 0, 0}, {0, 0, 1}}},
        {"zero pivot, completes",    {{2, 1, 1}, {1, 3, 3}, {1, 1, 1}}},
        {"empty column: last row",   {{1, 0, 1}, {0, 0, 1}, {1, 0, 2}}},
        {"only first zero pivot",    {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}}},
        {"exact cancellation",       {{1, 1, 0}, {1, 1, 1}, {0, 1, 1}}},
        {"negative zero entry",      {{2, -0.0, 0}, {-0.0, 3, 1}, {0, 1, -4}}},
        {"infinite entry",           {{1, inf, 0}, {0, 1, 0}, {0, 0, 1}}},
        {"not a number",             {{1, 0, 0}, {nan, 1, 0}, {0, 0, 1}}},
        {"denormal row scale",       {{1, 0, 0}, {0, tiny, 0}, {0, 1, 1}}},
        {"negative pivot",           {{-2, 1}, {0, 3}}},
        {"overflowing factors",      {{1e308, 1e308}, {-1e308, 1e308}}},
    };
    // clang-format on
    for (const auto& [what, m] : cases) {
        Twin t(int(m.size()));
        Rows rhs = unitColumns(int(m.size()));
        rhs.push_back(std::vector<double>(m.size(), -0.0));
        rhs.push_back(std::vector<double>(m.size(), 1.0));
        for (size_t i = 1; i < m.size(); i += 2) // -0.0 behind a value meets the left-out zeros of L
            rhs.back()[i] = -0.0;
        rhs.push_back(std::vector<double>(m.size(), 1e308));
        t.check(m, rhs, what);
    }
}

TEST(StructuredLuTest, RandomSparseSystemsAndTheirRefactors)
{
    // Small integers give ties, exact cancellations and zero pivots; refactors with new values on the
    // same structure take the reuse path, and where the values move a pivot, the fresh one.
    std::mt19937 rng(11);
    const double values[] = {1, 2, -1, 3, 0.5, 1e-3, -2};
    int reused = 0, coupledRuns = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const int n = 1 + int(rng() % 24);
        const double density = 0.05 + (rng() % 40) / 100.0;
        std::vector<std::pair<int, int>> pattern;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                if (i == j ? rng() % 8 != 0 : std::uniform_real_distribution<double>(0, 1)(rng) < density)
                    pattern.emplace_back(i, j);
        Twin t(n);
        // Half the systems name the rows their "elements" couple, the others are scanned every time.
        if (trial % 2 == 0) {
            ++coupledRuns;
            for (const auto& [i, j] : pattern) {
                const int rows[2] = {i + 1, j + 1};
                t.lu.couple(rows, 2);
            }
        }
        Rows rhs = unitColumns(n);
        for (int refactor = 0; refactor < 4; ++refactor) {
            Rows m(size_t(n), std::vector<double>(size_t(n), 0.0));
            for (const auto& [i, j] : pattern)
                m[size_t(i)][size_t(j)] =
                    values[rng() % std::size(values)] * (refactor == 3 ? 1 : 1 + refactor);
            t.check(m, rhs, ("trial " + std::to_string(trial)).c_str());
            if (::testing::Test::HasFatalFailure()) return;
            reused += t.lu.reused();
        }
    }
    EXPECT_GT(coupledRuns, 0);
    EXPECT_GT(reused, 100);
}

TEST(StructuredLuTest, ClearLeavesNothingBehindAndEntriesOutsideTheCouplingsAreFound)
{
    // Rows 1-2 and 2-3 are coupled, the second pair also to ground (row and column 0); the entry
    // (1, 3) is not coupled, and is found by the first scan.
    Twin t(3);
    const int first[2] = {1, 2}, second[3] = {2, 3, 0};
    t.lu.couple(first, 2);
    t.lu.couple(second, 3);
    t.check({{4, 1, 2}, {1, 5, 1}, {0, 1, 6}}, unitColumns(3), "stray entry");
    t.check({{4, 1, 3}, {1, 5, 1}, {0, 1, 6}}, unitColumns(3), "stray entry again");
    EXPECT_TRUE(t.lu.reused());
    t.a[0][2] = t.a[3][0] = 7; // what an element stamps towards ground
    t.lu.clear(t.a);
    for (int i = 0; i <= 3; ++i)
        for (int j = 0; j <= 3; ++j)
            EXPECT_EQ(t.a[i][j], 0.0) << i << " " << j;
}
