#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class SparseMatrix;
struct CouplingPattern;
struct KluState;

// LU factors of a system held in a SparseMatrix. KLU (SuiteSparse) chooses how to factor: it permutes
// the matrix to block triangular form, orders each block so that its factors stay sparse, and picks
// the pivots by threshold partial pivoting on rows scaled to their largest entry. The program then
// computes the factors itself over the pattern of KLU's factors and with its pivots, row by row, and
// again at every factorisation while every multiplier stays within KLU's pivot tolerance (which the
// matrices of a circuit do from one iteration to the next); only when one does not does KLU choose
// again. Computed so, a factorisation is a fixed sequence of products with no search in it.
//
// The substitutions multiply by the reciprocal of each pivot where the dense routines divide. The
// order of elimination and these products make results that agree with the dense routines' within
// rounding, not to the bit.
class SparseLU {
public:
    // The largest work (in floating-point operations, as KLU foresees it) that one factorisation may
    // take: some 20 ms, so that a run serves its window in time.
    static constexpr double kWorkLimit = 4e7;

    SparseLU();
    ~SparseLU();
    SparseLU(SparseLU&&) noexcept;
    SparseLU& operator=(SparseLU&&) noexcept;

    // A system of n unknowns with no factors.
    void reset(int n);
    // Factors the matrix; false when it is singular (a zero pivot, or a row or column without entries),
    // holds a value that is not finite, or would take longer than kWorkLimit: the caller then factors it
    // otherwise. Throws std::bad_alloc when KLU runs out of memory.
    bool factor(SparseMatrix& a);
    // Solves with the last factors: b[1..n] is the right-hand side on entry and the solution on exit.
    // With `out`, x[i] is also stored in out[i][column] for i = 1..n; with `solution`, in solution[i].
    void solve(double* b, double* const* out = nullptr, int column = 0, double* solution = nullptr);
    // The last factorisation kept the pivots of the one before.
    bool reused() const { return m_reused; }

    // The memory a system takes with this solver when its elements couple its unknowns as `pattern`
    // says, with the fill-in of the ordering KLU would choose (pivots that move rows change it a
    // little), and in `work` the floating-point operations of one factorisation.
    static double EstimateBytes(const CouplingPattern& pattern, double& work);

private:
    // The matrix's pattern for KLU and its ordering, when the set of entries changed.
    bool analyse(const SparseMatrix& a);
    // KLU's choice of pivots for the matrix's values, the plan below made from the pattern of its
    // factors, and the factors by that plan.
    bool choosePivots();
    struct Pattern;
    // KLU's factorisation of the scaled values, as its pattern; false when KLU finds it singular.
    bool kluPattern(std::vector<double>& scaled, Pattern& f);
    void planRows(const Pattern& f);
    void planSources(const Pattern& f);
    void planUpdates();
    void planChains();
    // The index in m_factor of row i's entry in column j (a position), -1 when it has none.
    int slotOf(int i, int j) const;
    // The factors by the plan from the matrix's values; false when a value is not finite, a pivot is
    // (near) zero, or (unless `fresh`: KLU has just chosen the pivots) a multiplier is beyond KLU's
    // tolerance, so that KLU would now pivot on another row.
    bool refactor(bool fresh);
    // Whether the pivots just computed may be used: none too small or too large.
    bool pivotsUsable() const;
    // The substitutions of one block, rows first .. end-1, and where a solution value goes.
    struct Destination {
        double* b;
        double* const* out;
        int column;
        double* solution;
    };
    void forward(int first, int end);
    void backward(int first, int end, const Destination& to);
    void store(const Destination& to, int i, double x) const;

    int m_n = 0;
    std::unique_ptr<KluState> m_klu;
    std::uint64_t m_matrixVersion = 0;
    bool m_reused = false;
    bool m_planned = false;

    // The matrix by column (0-based) as KLU takes it, and where its values live.
    std::vector<int> m_ap, m_ai;
    std::vector<const double*> m_value;

    // By position (KLU's permuted order), rows of the factors. Row i's entries left of the diagonal are
    // low entries lowPtr[i] .. lowPtr[i+1]-1: first L's (columns of its own block, up to lEnd[i]), then
    // those of the off-diagonal blocks (columns of later blocks: the matrix's own scaled values). Its
    // entries right of the diagonal are U's high entries, each divided by the row's pivot once the
    // factors are complete. All values live in m_factor: the low ones, then the high ones from
    // m_highBase, then the pivots from m_pivotBase.
    std::vector<int> m_lowPtr, m_lEnd, m_highPtr, m_lowCol, m_highCol, m_highRow;
    std::vector<double> m_factor;
    std::size_t m_highBase = 0, m_pivotBase = 0;
    std::vector<double> m_inverse, m_rowScale, m_work;
    std::vector<int> m_blockStart, m_blockEnd; // by block; by position
    // Runs of chain rows: forward from position i up to m_chainEnd[i] (exclusive; i itself when it is
    // none), backward from position i down to m_chainStart[i] (i + 1 when it is none).
    std::vector<int> m_chainEnd, m_chainStart;
    // Position i holds original row m_from[i] and original column m_to[i] (both 1-based).
    std::vector<int> m_from, m_to;
    // The matrix entries of each row (where the value lives, where it goes in m_factor), and for each L
    // entry the products it takes off its row: m_factor[to] -= l * m_factor[from].
    std::vector<int> m_sourcePtr, m_sourceSlot;
    std::vector<const double*> m_sourceValue;
    std::vector<double> m_sourceScale; // its row's
    std::vector<int> m_eliminated;     // the rows that have multipliers, in order
    struct Update {
        int to, from;
    };
    std::vector<int> m_updatePtr;
    std::vector<Update> m_update;
};
