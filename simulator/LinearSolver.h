#pragma once

#include "SparseLU.h"
#include "StructuredLU.h"

#include <functional>
#include <span>

class SparseMatrix;

// Factors and solves the matrix of one system. The program's method is SparseLU, whose order of
// elimination keeps the factors of a circuit's matrix sparse and cheap to factor again (also on the
// ten unknowns of a partition its substitutions take fewer operations than StructuredLU's). A matrix
// that SparseLU finds singular, that holds a value that is not finite, or that would take too long to
// factor without a pause, is factored by StructuredLU, so that such a system fails, or runs, as with
// the dense routines, and its floating node is the one they name.
class LinearSolver {
public:
    enum class Method {
        Program,
        Structured, // StructuredLU throughout: the dense routines' results over the non-zero entries
        Dense,      // the dense routines themselves, on dense copies (the reference)
    };

    // A system of n unknowns with no factors.
    void reset(int n, Method method);
    // See StructuredLU::setKeepGoing.
    void setKeepGoing(std::function<bool()> keepGoing) { m_structured.setKeepGoing(std::move(keepGoing)); }

    // Factors the matrix; returns the status of ludcmp (0, -1 for a row of zeros, or the first column
    // whose pivot was zero) or StructuredLU::kStopped; indx[1..n] receives StructuredLU's pivots.
    double factor(SparseMatrix& a, int* indx);
    // See StructuredLU::solve.
    void solve(const int* indx, double* b, double* const* out = nullptr, int column = 0,
               double* solution = nullptr);
    // The last factorisation reused the structure of the one before it.
    bool reused() const { return m_onSparse ? m_sparse.reused() : m_structured.reused(); }

    // The memory a system of n unknowns takes with the method when its elements couple the unknowns of
    // each clique (unknowns[cliqueStart[i] .. cliqueStart[i+1]), 0 for one outside the system); see
    // StructuredLU::EstimateBytes and SparseLU::EstimateBytes. Counting may stop once it passes
    // `enough` bytes.
    static double EstimateBytes(Method method, int n, std::span<const int> unknowns,
                                std::span<const int> cliqueStart, double enough);

private:
    int m_n = 0;
    Method m_method = Method::Program;
    bool m_onSparse = false; // the last factors are SparseLU's
    StructuredLU m_structured;
    SparseLU m_sparse;
};
