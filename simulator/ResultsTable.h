#pragma once

#include "LargeArray.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CComponentSim;

// What a run computes, by unknown and history index: row x is unknown x (0 ground, 1..N node
// voltages, N+1..N+M branch unknowns), column k = h + i holds time point i, and columns 0..h-1 the
// pre-start history. Every entry reads 0 until a solve writes it.
//
// Once the run has completed, plots and exports read it through the first group of members: the time
// axis and the traces, nothing of the run itself.
//
// Every row starts on a cache line of its own, so that the same columns of every row share the lines'
// boundaries: the columns of accepted steps can be held back in a small buffer and go into the rows a
// whole line at a time (HoldColumn). A column across thousands of rows, written entry by entry, misses
// the cache at every row, as the rest of a step evicts those lines; the buffer stays near, and its line
// writes bypass the cache. V reads a held column from the buffer; Row and Values show it only once it is
// written (WriteHeldColumns, and at the latest Complete).
class ResultsTable {
public:
    // ---- the completed run ----
    // A completed run's results are here (from its end until the next run or FreeResults).
    bool IsValid() const { return m_Valid; }
    // The time points of the completed run: step count + 1 (a stopped run: the steps it computed);
    // 0 without results.
    int PointCount() const { return m_Valid ? m_Points : 0; }
    // The time of point i, seconds.
    double Time(int i) const { return m_Start + i * m_dt; }
    double TimeStep() const { return m_dt; }
    double StartTime() const { return m_Start; }
    // The names of nodes 1..N (ground left out); none without results.
    QStringList NodeNames() const;
    // Adds the trace names that every element offers in `group`, element by element.
    void AddOutputNames(const QString& group, QStringList& list) const;
    // The value of unknown x at every time point: Values(x)[i] for i = 0..PointCount()-1.
    const double* Values(int x) const { return Row(x) + m_h; }
    // Fills out[0..n-1] with a trace: V(name) of a node whose name begins with N or P, otherwise
    // kind(name) as the first element of that name that offers the kind answers it. False, after the
    // message, when the expression cannot be evaluated or n exceeds the table.
    bool GetTraceValues(const QString& expression, int n, double* out) const;

    // ---- the run ----
    // Rows 0..rows-1 of h + 1 + steps columns, all 0; throws std::bad_alloc.
    void Allocate(int rows, int h, int steps, double start, double dt);
    // Valid from now on, with `points` time points and the held columns written; traces are found
    // through the run's node names (by name, and in order with ground first) and elements, which the
    // document keeps as long as the table.
    void Complete(int points, const QHash<QString, int>& nodes, const QStringList& nodeNames,
                  const std::vector<std::unique_ptr<CComponentSim>>& elements);
    void Clear();
    int Columns() const { return m_Columns; }
    // Held columns too.
    double V(int x, int k) const
    {
        return Holds(k) ? m_Held[size_t(k % kLineColumns) * m_Rows.size() + size_t(x)] : m_Rows[size_t(x)][k];
    }
    // Row x as written: without the held columns.
    const double* Row(int x) const { return m_Rows[size_t(x)]; }
    // Column k must not be held.
    void Set(int x, int k, double value) { m_Rows[size_t(x)][k] = value; }
    // Where the solves write the values of unknown x.
    double* RowForSolving(int x) { return m_Rows[size_t(x)]; }

    // ---- columns held back ----
    // The columns of one cache line.
    static constexpr int kLineColumns = 8;
    // Makes the buffer for the held columns; throws std::bad_alloc.
    void MakeHoldingBuffer();
    // Column k (after the columns held before it, if any), for the caller to fill every row of:
    // held from now on. A column that starts a line, or does not follow the last one held, first writes
    // the columns held before it.
    double* HoldColumn(int k);
    // Whether column k is held, not yet in the rows.
    bool Holds(int k) const { return unsigned(k - m_HeldFirst) < unsigned(m_BufferEnd - m_HeldFirst); }
    // Writes the held columns into the rows: a line of columns whole where the buffer has all of it.
    void WriteHeldColumns();

private:
    // The buffer's line of columns into the rows, a whole line of each row at a time.
    void WriteLines(int first);

    LargeArray m_Data;
    std::vector<double*> m_Rows;
    // By column k % kLineColumns, every row's value: columns m_BufferFirst..m_BufferEnd-1 of one line,
    // of which m_HeldFirst.. are not yet in the rows.
    std::vector<double> m_Held;
    int m_BufferFirst = 0, m_HeldFirst = 0, m_BufferEnd = 0;
    int m_Columns = 0;
    int m_h = 0;
    int m_Points = 0;
    double m_Start = 0;
    double m_dt = 0;
    bool m_Valid = false;
    const QHash<QString, int>* m_Nodes = nullptr;
    const QStringList* m_NodeNames = nullptr;
    const std::vector<std::unique_ptr<CComponentSim>>* m_Elements = nullptr;
};
