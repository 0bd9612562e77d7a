// The structure-aware solver against the dense routines: same status, pivots and solutions to the bit.
#include "Matrix.h"
#include "MatrixRows.h"
#include "SparseMatrix.h"
#include "StructuredLU.h"
#include "lu.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace {

bool sameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// One system solved both ways. The structured side keeps its matrix and solver from call to call, as
// a run does, so that later calls exercise the reuse of the structure. Entries are made where a value
// is given, or up front by bind() as elements do.
struct Twin : AgainstDense<StructuredLU> {
    explicit Twin(int size) : AgainstDense(size) { lu.reset(size); }
    void bind(int i, int j) { a.entry(i, j); }

    // Factors m both ways and compares; then solves each right-hand side both ways and compares.
    // Returns the number of solution values whose bits differ when `count` is set, instead of failing.
    int check(const Rows& m, const Rows& rhs, const char* what, bool count = false)
    {
        Factored f = factor(m);
        int differences = 0;
        if (!count) {
            EXPECT_TRUE(sameBits(f.status, f.denseStatus)) << what;
            if (f.denseStatus == -1.0 || !sameBits(f.status, f.denseStatus)) return 0;
            EXPECT_EQ(indx, f.denseIndx) << what;
        }
        for (const auto& r : rhs) {
            const auto [x, y] = solve(f, r);
            for (int i = 1; i <= n; ++i) {
                differences += !sameBits(x[size_t(i)], y[size_t(i)]);
                if (!count) {
                    EXPECT_TRUE(sameBits(x[size_t(i)], y[size_t(i)]))
                        << what << " x[" << i << "] " << x[size_t(i)] << " vs " << y[size_t(i)];
                }
            }
        }
        return differences;
    }
};

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
        // Half the systems have their entries bound before the first values, as a run's elements do;
        // in the others the entries are made as values arrive.
        if (trial % 2 == 0) {
            ++coupledRuns;
            for (const auto& [i, j] : pattern)
                t.bind(i + 1, j + 1);
        }
        Rows rhs = unitColumns(n);
        for (int refactor = 0; refactor < 4; ++refactor) {
            Rows m(size_t(n), std::vector<double>(size_t(n), 0.0));
            for (const auto& [i, j] : pattern)
                m[size_t(i)][size_t(j)] =
                    values[rng() % std::size(values)] * (refactor == 3 ? 1 : 1 + refactor);
            t.check(m, rhs, ("trial " + std::to_string(trial)).c_str());
            if (::testing::Test::HasFailure()) return;
            reused += t.lu.reused();
        }
    }
    EXPECT_GT(coupledRuns, 0);
    EXPECT_GT(reused, 100);
}

TEST(StructuredLuTest, LaddersWithSourceRowsAndLongRows)
{
    // Chains of nodes whose sources' branch rows fill all along (rows the forward substitution sums
    // beside the chain), with pivots that move rows, solved again and again as a run does.
    std::mt19937 rng(7);
    for (const int sources : {1, 2, 5}) {
        const int nodes = 60, n = nodes + sources;
        Rows m(size_t(n), std::vector<double>(size_t(n), 0.0));
        for (int i = 0; i < nodes; ++i) {
            m[size_t(i)][size_t(i)] = 0.1 + (i + 1 < nodes ? 0.1 : 0) + (i > 0 ? 0.1 : 0) + 0.2 * (rng() % 3);
            if (i + 1 < nodes) m[size_t(i)][size_t(i + 1)] = m[size_t(i + 1)][size_t(i)] = -0.1;
        }
        for (int s = 0; s < sources; ++s) {
            const int node = s * 7, branch = nodes + s;
            m[size_t(node)][size_t(branch)] = m[size_t(branch)][size_t(node)] = 1;
        }
        Rows rhs;
        for (int r = 0; r < 20; ++r) {
            rhs.emplace_back(size_t(n));
            for (double& v : rhs.back())
                v = rng() % 4 == 0 ? 0.0 : std::uniform_real_distribution<double>(-1, 1)(rng);
        }
        // An unusual value in a chain row, a source's row or a branch row hands the solve to the dense
        // routines, which must get the right-hand side back as it was given.
        const double unusual[] = {-0.0, std::numeric_limits<double>::infinity(), std::nan("")};
        for (const int at : {3, 0, nodes - 1, n - 1})
            for (const double u : unusual) {
                rhs.push_back(rhs.front());
                rhs.back()[size_t(at)] = u;
            }
        Twin t(n);
        t.check(m, rhs, ("sources " + std::to_string(sources)).c_str());
        t.check(m, rhs, "again");
        EXPECT_TRUE(t.lu.reused());
    }
}

TEST(StructuredLuTest, EntriesMadeLaterJoinTheStructureAndScratchTakesGround)
{
    Twin t(3);
    checkAnEntryJoiningThePattern(t);
    // Row or column 0 is ground or an unknown of another system: scratch values, never solved.
    for (int i = 0; i < 100; ++i)
        *t.a.entry(i % 4, i % 4 == 0 ? 1 : 0) += 7;
    EXPECT_EQ(t.a.EntryCount(), 8u);
    t.check({{4, 1, 2}, {1, 5, 1}, {0, 1, 6}}, unitColumns(3), "scratch written");
    EXPECT_TRUE(t.lu.reused());
    t.a.zero();
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j)
            EXPECT_EQ(t.a.at(i, j), 0.0) << i << " " << j;
}

TEST(StructuredLuTest, SystemsBeyondTheDenseCopyDifferOnlyForUnusualInputs)
{
    // Without the dense copy, plain inputs still give the dense routines' bits; -0.0 and non-finite
    // inputs may not, and the solver still completes.
    std::mt19937 rng(5);
    int plainDifferences = 0, unusualDifferences = 0;
    for (int trial = 0; trial < 200; ++trial) {
        const int n = 2 + int(rng() % 12);
        Rows m(size_t(n), std::vector<double>(size_t(n), 0.0));
        for (int i = 0; i < n; ++i) {
            m[size_t(i)][size_t(i)] = 2 + int(rng() % 3);
            if (i + 1 < n) m[size_t(i)][size_t(i + 1)] = m[size_t(i + 1)][size_t(i)] = -1;
        }
        Rows rhs = unitColumns(n);
        Twin t(n);
        t.lu.setDenseFallbackLimit(0);
        plainDifferences += t.check(m, rhs, "plain", true);
        const double unusual[] = {-0.0, std::numeric_limits<double>::infinity(), std::nan("")};
        m[rng() % size_t(n)][rng() % size_t(n)] = unusual[rng() % 3];
        rhs.push_back(std::vector<double>(size_t(n), -0.0));
        unusualDifferences += t.check(m, rhs, "unusual", true);
    }
    EXPECT_EQ(plainDifferences, 0);
    EXPECT_GT(unusualDifferences, 0);
}

TEST(StructuredLuTest, ANewSetOfNonZeroEntriesOfTheSameSizeIsFactoredAnew)
{
    // The entries are all made up front, as a run's elements make them; between two factorisations one
    // entry becomes non-zero and another zero, so the count of non-zero entries stays.
    const struct {
        const char* what;
        Rows first, second;
    } cases[] = {
        {"a coupling moves above the diagonal",
         {{4, 1, 0}, {1, 5, 0}, {0, 1, 6}},
         {{4, 1, 0}, {0, 5, 1}, {0, 1, 6}}},
        {"a coupling moves below the diagonal",
         {{4, 0, 1}, {0, 5, 1}, {1, 0, 6}},
         {{4, 0, 1}, {0, 5, 1}, {0, 1, 6}}},
        {"the fill-in comes and goes", {{4, 1, 1}, {1, 5, 0}, {0, 0, 6}}, {{4, 1, 0}, {1, 5, 0}, {1, 0, 6}}},
    };
    for (const auto& c : cases) {
        Twin t(3);
        for (int i = 1; i <= 3; ++i)
            for (int j = 1; j <= 3; ++j)
                t.bind(i, j);
        t.check(c.first, unitColumns(3), c.what);
        t.check(c.second, unitColumns(3), c.what);
    }
}
