// The program's solver against the dense routines: the same statuses, solutions within rounding, and
// the dense routines' own results wherever it leaves a matrix to them.
#include "LinearSolver.h"
#include "Matrix.h"
#include "MatrixRows.h"
#include "SparseMatrix.h"
#include "lu.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace {

// One system solved both ways; the program's side keeps its matrix and solver from call to call, as a
// run does, so later calls refactor over the pivots chosen before.
struct Pair : AgainstDense<LinearSolver> {
    explicit Pair(int size) : AgainstDense(size) { lu.reset(size, LinearSolver::Method::Program); }

    // Factors m both ways; the statuses must be the same. Then every right-hand side is solved both
    // ways: within `tolerance` of the largest value of the dense solution where that is finite, to the
    // bit where `identical` (the program left the matrix to the dense routines' equal).
    void check(const Rows& m, const Rows& rhs, const std::string& what, double tolerance = 1e-12,
               bool identical = false)
    {
        Factored f = factor(m);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(f.status), std::bit_cast<std::uint64_t>(f.denseStatus))
            << what;
        if (f.denseStatus != 0 || f.status != 0) return;
        for (const auto& r : rhs) {
            const auto [x, y] = solve(f, r);
            double largest = 0;
            for (int i = 1; i <= n; ++i)
                largest = std::max(largest, std::fabs(x[size_t(i)]));
            for (int i = 1; i <= n; ++i) {
                if (identical)
                    EXPECT_EQ(std::bit_cast<std::uint64_t>(x[size_t(i)]),
                              std::bit_cast<std::uint64_t>(y[size_t(i)]))
                        << what << " x[" << i << "] " << x[size_t(i)] << " vs " << y[size_t(i)];
                else if (std::isfinite(largest))
                    EXPECT_NEAR(y[size_t(i)], x[size_t(i)], tolerance * largest) << what << " x[" << i << "]";
            }
        }
    }
};

// A random circuit's matrix: conductances between nodes and to ground, spread over 10^-spread to
// 10^spread siemens, and voltage sources whose branch rows and columns hold 1 and nothing on the
// diagonal. The pattern follows from `shape`, the values from `values`.
Rows circuitMatrix(std::mt19937 shape, std::mt19937& values, int nodes, int sources, double spread)
{
    const int n = nodes + sources;
    Rows m(size_t(n), std::vector<double>(size_t(n), 0.0));
    const auto connect = [&](int a, int b) {
        const double g = std::pow(10.0, std::uniform_real_distribution<double>(-spread, spread)(values));
        m[size_t(a)][size_t(a)] += g;
        if (b < 0) return;
        m[size_t(b)][size_t(b)] += g;
        m[size_t(a)][size_t(b)] -= g;
        m[size_t(b)][size_t(a)] -= g;
    };
    // A chain joins every node, the first one to ground; some more branches and ground returns.
    for (int i = 0; i < nodes; ++i) {
        connect(i, i + 1 < nodes ? i + 1 : -1);
        const int other = int(shape() % size_t(nodes));
        if (shape() % 3 == 0) connect(i, other == i ? -1 : other);
        if (i == 0 || shape() % 4 == 0) connect(i, -1);
    }
    // Sources from distinct nodes to ground.
    for (int s = 0; s < sources; ++s) {
        const int node = (s * 7) % nodes, branch = nodes + s;
        m[size_t(node)][size_t(branch)] = m[size_t(branch)][size_t(node)] = 1;
    }
    return m;
}

// The normwise backward error of y as a solution of m y = b: how far the system must move for y to
// be its exact solution, relative to its size.
double backwardError(const Rows& m, const std::vector<double>& y, const std::vector<double>& b)
{
    double residual = 0, norm = 0, largest = 0, rhs = 0;
    for (size_t i = 0; i < m.size(); ++i) {
        double r = -b[i], row = 0;
        for (size_t j = 0; j < m.size(); ++j) {
            r += m[i][j] * y[j + 1];
            row += std::fabs(m[i][j]);
        }
        residual = std::max(residual, std::fabs(r));
        norm = std::max(norm, row);
        largest = std::max(largest, std::fabs(y[i + 1]));
        rhs = std::max(rhs, std::fabs(b[i]));
    }
    return residual / (norm * largest + rhs);
}

} // namespace

TEST(SparseLuTest, StatusesAsTheDenseRoutinesAndTheirResultsWhereTheyTakeOver)
{
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const double tiny = std::numeric_limits<double>::denorm_min();
    // clang-format off
    const struct { const char* what; Rows m; bool identical; } cases[] = {
        {"source branch row",      {{1, 0, 1}, {0, 2, -1}, {1, -1, 0}}, false},
        {"negative zero entry",    {{2, -0.0, 0}, {-0.0, 3, 1}, {0, 1, -4}}, false},
        {"negative pivot",         {{-2, 1}, {0, 3}}, false},
        {"zero row",               {{1, 0, 0}, {0, 0, 0}, {0, 0, 1}}, true},
        {"zero pivot, completes",  {{2, 1, 1}, {1, 3, 3}, {1, 1, 1}}, true},
        {"floating pair",          {{1, 0, 0}, {0, 0.5, -0.5}, {0, -0.5, 0.5}}, true},
        {"empty column",           {{1, 0, 1}, {0, 0, 1}, {1, 0, 2}}, true},
        {"infinite entry",         {{1, inf, 0}, {0, 1, 0}, {0, 0, 1}}, true},
        {"not a number",           {{1, 0, 0}, {nan, 1, 0}, {0, 0, 1}}, true},
        {"denormal row",           {{1, 0, 0}, {0, tiny, 0}, {0, 1, 1}}, true},
    };
    // clang-format on
    for (const auto& c : cases) {
        Pair p(int(c.m.size()));
        Rows rhs = unitColumns(int(c.m.size()));
        rhs.push_back(std::vector<double>(c.m.size(), 1.0));
        p.check(c.m, rhs, c.what, 1e-15, c.identical);
    }
}

TEST(SparseLuTest, RandomCircuitsAndTheirRefactors)
{
    // Circuits with conductances over up to 24 decades, factored again and again with new values:
    // mostly over the pivots chosen before, and afresh where the new values made a multiplier too
    // large. The statuses are the dense routines', and every solution is as near one of the system as
    // theirs.
    std::mt19937 rng(3);
    int reused = 0, factorisations = 0, singular = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const int nodes = 2 + int(rng() % 60), sources = int(rng() % 4);
        const double spread = trial % 3 == 0 ? 12 : 2;
        Pair p(nodes + sources);
        for (int again = 0; again < 4; ++again) {
            const Rows m = circuitMatrix(std::mt19937(unsigned(trial)), rng, nodes, sources, spread);
            Matrix dense(p.n);
            fillBoth(m, p.a, dense);
            std::vector<int> denseIndx(size_t(p.n) + 1);
            double d = 0;
            ludcmp(dense.rows(), p.n, denseIndx.data(), &d);
            ASSERT_EQ(p.lu.factor(p.a, p.indx.data()), d) << trial;
            if (d != 0) {
                ++singular;
                continue;
            }
            reused += p.lu.reused();
            ++factorisations;
            for (int k = 0; k < p.n; ++k) {
                std::vector<double> b(size_t(p.n), 0.0), x(size_t(p.n) + 1, 0.0), y(size_t(p.n) + 1, 0.0);
                b[size_t(k)] = x[size_t(k) + 1] = y[size_t(k) + 1] = 1.0;
                lubksb(dense.rows(), p.n, denseIndx.data(), x.data());
                p.lu.solve(p.indx.data(), y.data());
                ASSERT_LE(backwardError(m, y, b), std::max(1e-14, 10 * backwardError(m, x, b)))
                    << "trial " << trial << " again " << again << " column " << k;
            }
        }
    }
    EXPECT_LT(singular, 50);
    EXPECT_GT(reused, factorisations / 2);
    EXPECT_LT(reused, factorisations - 300);
}

TEST(SparseLuTest, SolutionsAgreeWithTheDenseRoutines)
{
    // Moderately spread circuits, where the two solutions agree closely; the same system again over the
    // pivots chosen before.
    std::mt19937 rng(5);
    for (int trial = 0; trial < 100; ++trial) {
        const int nodes = 2 + int(rng() % 40), sources = int(rng() % 3);
        Pair p(nodes + sources);
        const Rows m = circuitMatrix(std::mt19937(unsigned(trial)), rng, nodes, sources, 1);
        Rows rhs = unitColumns(nodes + sources);
        p.check(m, rhs, "trial " + std::to_string(trial), 1e-12);
        p.check(m, rhs, "again " + std::to_string(trial), 1e-12);
        EXPECT_TRUE(p.lu.reused());
    }
}

TEST(SparseLuTest, EntriesMadeLaterChangeTheOrdering)
{
    // A run's elements may make an entry after the first factorisation: the pivots chosen for the
    // pattern before would leave the new entry out of the factors.
    Pair p(3);
    checkAnEntryJoiningThePattern(p);
    p.check({{4, 1, 2}, {1, 5, 1}, {0, 1, 6}}, unitColumns(3), "the new pattern again");
    EXPECT_TRUE(p.lu.reused());
}

TEST(SparseLuTest, ASystemTooLongToFactorWithoutAPauseGoesToTheRoutinesThatPause)
{
    // A dense matrix of 400 unknowns: KLU foresees more work than one factorisation may take, so the
    // routines that ask the run's hook take it; the hook stops them at its first question.
    const int n = 400;
    SparseMatrix a;
    a.reset(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            *a.entry(i, j) = i == j ? n : 1.0 / (i + j);
    LinearSolver lu;
    lu.reset(n, LinearSolver::Method::Program);
    int asked = 0;
    lu.setKeepGoing([&] {
        ++asked;
        return false;
    });
    std::vector<int> indx(size_t(n) + 1);
    EXPECT_EQ(lu.factor(a, indx.data()), StructuredLU::kStopped);
    EXPECT_EQ(asked, 1);
}

TEST(SparseLuTest, MemoryOfASystemFollowsTheOrderingThatFactorsIt)
{
    // A bus with a thousand branches, the bus numbered first: eliminated in order, it would couple every
    // branch with every other; the program's solver orders it last.
    const int branches = 1000, n = branches + 1;
    std::vector<int> unknowns, start{0};
    for (int b = 2; b <= n; ++b) {
        unknowns.insert(unknowns.end(), {1, b});
        start.push_back(int(unknowns.size()));
    }
    const double inOrder =
        LinearSolver::EstimateBytes(LinearSolver::Method::Structured, n, unknowns, start, 1e12);
    const double program =
        LinearSolver::EstimateBytes(LinearSolver::Method::Program, n, unknowns, start, 1e12);
    EXPECT_GT(inOrder, 20e6);
    EXPECT_LT(program, 12e6); // mostly the dense copy for unusual values of a system this small
    EXPECT_LT(program - StructuredLU::BaseBytes(n, false, StructuredLU::kDenseFallbackUnknowns), 1e6);
}
