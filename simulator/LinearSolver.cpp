#include "LinearSolver.h"

#include "CouplingPattern.h"

void LinearSolver::reset(int n, Method method)
{
    m_n = n;
    m_method = method;
    m_onSparse = false;
    m_structured.reset(n);
    m_structured.setDense(method == Method::Dense);
    m_sparse.reset(method == Method::Program ? n : 0);
}

double LinearSolver::factor(SparseMatrix& a, int* indx)
{
    if (m_method == Method::Program) {
        m_onSparse = m_sparse.factor(a);
        if (m_onSparse) return 0.0;
    }
    return m_structured.factor(a, indx);
}

void LinearSolver::solve(const int* indx, double* b, double* const* out, int column, double* solution)
{
    if (m_onSparse)
        m_sparse.solve(b, out, column, solution);
    else
        m_structured.solve(indx, b, out, column, solution);
}

double LinearSolver::EstimateBytes(Method method, int n, std::span<const int> unknowns,
                                   std::span<const int> cliqueStart, double enough)
{
    const CouplingPattern pattern(n, unknowns, cliqueStart);
    const int denseLimit = StructuredLU::kDenseFallbackUnknowns;
    if (method != Method::Program)
        return StructuredLU::EstimateBytes(pattern, method == Method::Dense, denseLimit, enough);
    // StructuredLU is there as well, for the matrices SparseLU leaves to it, and takes over whole
    // systems that SparseLU would need too long for.
    double work = 0;
    const double sparse = SparseLU::EstimateBytes(pattern, work);
    if (work > SparseLU::kWorkLimit) return StructuredLU::EstimateBytes(pattern, false, denseLimit, enough);
    return sparse + StructuredLU::BaseBytes(n, false, denseLimit);
}
