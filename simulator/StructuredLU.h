#pragma once

#include "Matrix.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class SparseMatrix;
struct CouplingPattern;

// LU factors of a system held in a SparseMatrix, computed and applied over the entries that can be
// non-zero only. It follows ludcmp step for step (Crout's column order, implicit partial pivoting,
// later rows winning ties, TINY for a zero pivot) and lubksb likewise, leaving out only products with
// an entry that is exactly +0.0 there; so every pivot, every status and every solution is the dense
// routines' own, to the last bit.
//
// Leaving out a product with +0.0 changes no finite sum unless that sum is -0.0, and a sum can only be
// -0.0 when it starts from a stamped -0.0. Matrices or right-hand sides with a -0.0 or a non-finite
// entry, and factors or solutions that overflow, are therefore handed to the dense routines (or to
// their order over the same factors) on a dense copy, which keeps the results identical in every case.
// That copy takes (n+1)^2 doubles, so only systems up to the dense fallback limit have it; larger
// ones stay on the structured path, where such inputs can give other zeros' signs and other
// non-finite values than the dense routines would.
//
// When the entries that are non-zero stay where they were, the next factorisation reuses the
// structure found before as long as every pivot comes out the same.
class StructuredLU {
public:
    // factor() ended early because the keep-going hook said stop (ludcmp's status for the same).
    static constexpr double kStopped = -2.0;
    // The largest system that has the dense copy for unusual inputs by default.
    static constexpr int kDenseFallbackUnknowns = 1024;

    // A system of n unknowns with no factors.
    void reset(int n);
    // Factors and solves with ludcmp and lubksb only, on a dense copy (the reference for the structured
    // path).
    void setDense(bool dense) { m_dense = dense; }
    void setDenseFallbackLimit(int unknowns) { m_denseLimit = unknowns; }
    // Asked at least every 64 columns and every million products of a factorisation, so a hook that
    // looks at the clock can serve the window while a large system factors; false gives the
    // factorisation up, and factor() returns kStopped.
    void setKeepGoing(std::function<bool()> keepGoing) { m_keepGoing = std::move(keepGoing); }

    // Factors the matrix; indx[1..n] receives the pivots. Returns the status of ludcmp: 0, -1 for a row
    // of zeros, or the first column whose pivot was zero; or kStopped.
    double factor(SparseMatrix& a, int* indx);
    // Solves with the last factors: b[1..n] is the right-hand side on entry and the solution on exit.
    // With `out`, x[i] is also stored in out[i][column] for i = 1..n; with `solution`, in solution[i].
    void solve(const int* indx, double* b, double* const* out = nullptr, int column = 0,
               double* solution = nullptr);

    // The last factorisation reused the structure of the one before it.
    bool reused() const { return m_reused; }

    // The memory a system takes with this solver when its elements couple its unknowns as `pattern`
    // says: the matrix entries, the factors with the fill-in of elimination in the order of the
    // unknowns, the work arrays, and the dense copy where the system has one. Pivots that move rows
    // can change the fill-in. Counting stops once it passes `enough` bytes.
    static double EstimateBytes(const CouplingPattern& pattern, bool dense, int denseLimit, double enough);
    // Of that, what does not depend on the entries: the work arrays and the dense copy.
    static double BaseBytes(int n, bool dense, int denseLimit);

private:
    struct Entry {
        double value;
        int col;
    };

    enum class Gathered { Plain, ZeroRow, Unusual };

    Gathered gather(const SparseMatrix& a);
    // Factors with a structure found on the way; false when a value is not finite (only while the
    // dense copy can take over) or the hook stopped it (m_stopped).
    bool factorFresh(int* indx, double& status);
    // Factors over the structure of the last factorisation: 1 done, kAfresh, kNonFinite, kGaveUp.
    int factorAgain(int* indx, double& status);
    // Column j: the entries above the diagonal (rows `up`, in order), those from the diagonal down,
    // the pivot (ending with kAfresh when `wanted` is set and ludcmp's differs) and the
    // multipliers below it. lRow(r) gives the L entries of row r so far; storeU(position, value) and
    // storeL(row, value) keep the results. Returns the pivot row, or kNonFinite.
    template <class LRow, class StoreU, class StoreL>
    int eliminate(int j, std::span<const int> up, std::span<const int> down, int wanted, int* indx,
                  double& status, LRow lRow, StoreU storeU, StoreL storeL);
    void clearColumn(std::span<const int> up, std::span<const int> down);
    // The position of ludcmp's pivot among the rows from the diagonal down (their values in m_x).
    int choosePivot(std::span<const int> rows) const;
    // Swaps the pivot row into position j and records the pivot (TINY for a zero); returns that row.
    int placePivot(int j, int imax, int* indx, double& status);
    // The dense copy of the factors as ludcmp would have left them, for lubksb from then on.
    void spillToDense();
    // The steps of solve: the forward and the back substitution over the structured factors, each
    // returning a non-zero value when it met an unusual input or result (see the class comment); and
    // lubksb over the dense copy of the factors for the right-hand side as it was given.
    std::uint64_t forwardSubstitute(const int* indx, double* b);
    std::uint64_t backSubstitute(double* b, double* const* out, int column, double* solution);
    void solveOnDenseCopy(const int* indx, double* b, double* const* out, int column, double* solution);
    // x[i] = b[i] into out[i][column] and solution[i], for those given.
    void deliver(const double* b, double* const* out, int column, double* solution) const;
    // Which rows of L the forward substitution sums alongside the others, where their start values
    // lie in the right-hand side, and the runs of rows that form a plain chain.
    void planSubstitution();
    bool fallbackAllowed() const { return m_dense || m_n <= m_denseLimit; }
    Matrix& denseCopy();
    // Counts the work of a column and asks m_keepGoing every so often; false: stop.
    bool keepGoing(std::size_t products);

    // A value that is not finite; a structure that does not fit (a pivot moved); the hook said stop.
    static constexpr int kNonFinite = -1, kAfresh = 0, kGaveUp = -2;

    int m_n = 0;
    int m_denseLimit = kDenseFallbackUnknowns;
    bool m_dense = false;
    bool m_strict = true; // non-finite values hand over to the dense copy
    bool m_reused = false;
    bool m_denseFactors = false;  // the last factors are ludcmp's, in the dense copy
    bool m_haveStructure = false; // the factor structure below belongs to the current entries
    bool m_stopped = false;
    std::uint64_t m_matrixVersion = 0;
    std::function<bool()> m_keepGoing;
    std::size_t m_work = 0;     // since the hook was last asked
    std::size_t m_products = 0; // of the column being eliminated

    Matrix m_denseA;
    std::vector<char> m_nonzero, m_prevNonzero; // per matrix entry: non-zero in this and the last gather

    // The gathered matrix by column, and the implicit-pivoting scale of each row.
    std::vector<int> m_aPtr, m_aRow;
    std::vector<double> m_aVal, m_scale;

    // Row permutation while factoring: m_rowAt[position], m_pos[original row].
    std::vector<int> m_rowAt, m_pos, m_finalPos, m_pivots;

    // What the columns combine, for reuse: the rows above the diagonal in the order they are
    // computed, and the rows from the diagonal down, both as original rows.
    std::vector<int> m_upPtr, m_upRow, m_downPtr, m_downRow;

    // Factors by final position: L rows (columns ascending, unit diagonal left out), U rows right of
    // the diagonal, and the diagonal.
    std::vector<int> m_lPtr, m_uPtr;
    std::vector<Entry> m_l, m_u;
    std::vector<double> m_diag;

    // Rows of L with at least kLongRow entries: the slot of each position (-1 for the others), the
    // start value's place in the right-hand side by slot, the entries of these rows by column, and
    // their sums during a substitution.
    static constexpr int kLongRow = 16;
    // How far ahead of its store in a results row the solve asks for the line (bytes).
    static constexpr std::uintptr_t kResultsLookahead = 64;
    struct LongEntry {
        int slot;
        int entry; // in m_l
    };
    std::vector<int> m_longSlot, m_longStart, m_longColPtr;
    std::vector<LongEntry> m_longCol;
    std::vector<double> m_longSum;
    // Where the run of chain rows from each position ends (the position itself when it is no chain
    // row), and the entry of the first long row in each column (-1: none).
    std::vector<int> m_chainEnd, m_firstLong;

    // Work of one factorisation.
    std::vector<std::vector<Entry>> m_lRows, m_uRows; // by original row, by position
    std::vector<int> m_lColPtr, m_lColRow;            // rows below each pivot, for the structure
    std::vector<int> m_mark, m_list, m_cursorL, m_cursorU;
    std::vector<double> m_x, m_upper, m_denseScale, m_taken, m_moved;
};
