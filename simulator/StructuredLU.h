#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

class Matrix;

// LU factors of a system assembled in dense 1-based row-pointer storage, computed and applied over the
// entries that can be non-zero only. It follows ludcmp step for step (Crout's column order, implicit
// partial pivoting, later rows winning ties, TINY for a zero pivot) and lubksb likewise, leaving out
// only products with an entry that is exactly +0.0 there; so every pivot, every status and every
// solution is the dense routines' own, to the last bit.
//
// Leaving out a product with +0.0 changes no finite sum unless that sum is -0.0, and a sum can only be
// -0.0 when it starts from a stamped -0.0. Matrices or right-hand sides with a -0.0 or a non-finite
// entry, and factors or solutions that overflow, are therefore handed to the dense routines (or to
// their order over the same factors), which keeps the results identical in every case.
//
// The factors live apart from the matrix, which keeps the assembled values. When the entries that are
// non-zero stay where they were, the next factorisation reuses the structure found before as long as
// every pivot comes out the same.
class StructuredLU {
public:
    // A system of n unknowns with nothing coupled and no factors.
    void reset(int n);
    // The matrix rows of the unknowns one element stamps between (0 = not in this system): assembly may
    // write any entry among them. Anything written elsewhere is found by a scan of the whole matrix
    // at the first factorisation; without any coupling every factorisation scans the whole matrix.
    void couple(const int* rows, int count);
    // Factors and solves with ludcmp and lubksb only, in place (the reference for the structured path).
    void setDense(bool dense) { m_dense = dense; }

    // Factors a[1..n][1..n]; indx[1..n] receives the pivots. Returns the status of ludcmp: 0, -1 for a
    // row of zeros, or the first column whose pivot was zero.
    double factor(double** a, int* indx);
    // Solves with the last factors: b[1..n] is the right-hand side on entry and the solution on exit.
    void solve(double** a, const int* indx, double* b);
    // Zeroes the matrix for a rebuild: only the entries assembly can have written, when known.
    void clear(Matrix& a);

    // The last factorisation reused the structure of the one before it.
    bool reused() const { return m_reused; }

    // Asked every few columns of a factorisation, which takes long on a large system: false gives it
    // up, and factor() returns kStopped.
    void setKeepGoing(std::function<bool()> keepGoing) { m_keepGoing = std::move(keepGoing); }
    static constexpr double kStopped = -2.0;

private:
    struct Entry {
        double value;
        int col;
    };

    enum class Gathered { Plain, ZeroRow, Unusual };

    bool collectCandidates(double** a);
    Gathered gather(double** a);
    // Factors with a structure found on the way; false when a value is not finite.
    bool factorFresh(int* indx, double& status);
    // Factors over the structure of the last factorisation: 1 done, kAfresh, kNonFinite.
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
    // Writes the factors into the matrix as ludcmp would have left them, for lubksb from then on.
    void spillToDense(double** a);

    // A value that is not finite; a structure that does not fit (a pivot moved): start afresh.
    static constexpr int kNonFinite = -1, kAfresh = 0;

    // Asks m_keepGoing at every 64th column j; false once it has answered false.
    bool keepGoing(int j);
    std::function<bool()> m_keepGoing;
    bool m_stopped = false;

    int m_n = 0;
    bool m_dense = false;
    bool m_reused = false;
    bool m_denseFactors = false;  // the last factors are ludcmp's, in the matrix itself
    bool m_haveStructure = false; // the factor structure below belongs to the current candidates
    bool m_candidatesKnown = false;

    // Entries assembly may write, by column: rows m_candRow[m_candPtr[c] .. m_candPtr[c+1]).
    std::vector<std::pair<int, int>> m_coupled; // (column, row)
    std::vector<std::pair<int, int>> m_ground;  // (row, column) with a 0 in row or column
    std::vector<int> m_candPtr, m_candRow;
    std::vector<char> m_nonzero, m_prevNonzero; // per candidate: non-zero in this and the last gather

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

    // Work of one factorisation.
    std::vector<std::vector<Entry>> m_lRows, m_uRows; // by original row, by position
    std::vector<int> m_lColPtr, m_lColRow;            // rows below each pivot, for the structure
    std::vector<int> m_mark, m_list, m_cursorL, m_cursorU;
    std::vector<double> m_x, m_upper, m_denseScale, m_b;
};
