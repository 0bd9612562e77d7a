#pragma once

#include "IndexMap.h"
#include "SparseMatrix.h"

// Where an element finds the entries it stamps in one system. Elements name rows by their global
// unknowns (0 ground, 1..N nodes, N+1..N+M branch unknowns); the binder translates them through the
// system's index map. An unknown that is not in the system gets a scratch address that no solve
// reads, so an element binds every entry it has, wherever it lies. Addresses stay valid for the run,
// and the entries bound are all the system stores.
class MatrixBinder {
public:
    MatrixBinder(SparseMatrix& A, double* rhs, const IndexMap& map) : m_A(A), m_rhs(rhs), m_map(map) {}

    // The matrix entry in the row of one unknown and the column of another.
    double* entry(int globalRow, int globalCol) { return m_A.entry(m_map(globalRow), m_map(globalCol)); }
    // The right-hand-side entry of an unknown.
    double* rhs(int globalRow)
    {
        const int row = m_map(globalRow);
        return row > 0 ? &m_rhs[row] : m_A.scratch();
    }

private:
    SparseMatrix& m_A;
    double* m_rhs;
    IndexMap m_map;
};

// A conductance between two unknowns: four cached matrix entries.
struct ConductanceEntries {
    double* aa = nullptr;
    double* ab = nullptr;
    double* ba = nullptr;
    double* bb = nullptr;
    void bind(MatrixBinder& binder, int a, int b)
    {
        aa = binder.entry(a, a);
        ab = binder.entry(a, b);
        ba = binder.entry(b, a);
        bb = binder.entry(b, b);
    }
    void add(double g) const
    {
        *aa += g;
        *ab -= g;
        *ba -= g;
        *bb += g;
    }
};

// A current source between two unknowns: current i enters a and leaves b.
struct CurrentEntries {
    double* a = nullptr;
    double* b = nullptr;
    void bind(MatrixBinder& binder, int ra, int rb)
    {
        a = binder.rhs(ra);
        b = binder.rhs(rb);
    }
    void inject(double i) const
    {
        *a += i;
        *b -= i;
    }
};

// A companion model between two unknowns: a conductance in parallel with a current source that
// enters a and leaves b.
struct CompanionEntries {
    ConductanceEntries g;
    CurrentEntries i;
    void bind(MatrixBinder& binder, int a, int b)
    {
        g.bind(binder, a, b);
        i.bind(binder, a, b);
    }
    void stamp(bool rhsOnly, double conductance, double current) const
    {
        if (!rhsOnly) g.add(conductance);
        i.inject(current);
    }
};
