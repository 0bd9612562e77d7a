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
    // Valid from now on, with `points` time points; traces are found through the run's node names
    // (by name, and in order with ground first) and elements, which the document keeps as long as the
    // table.
    void Complete(int points, const QHash<QString, int>& nodes, const QStringList& nodeNames,
                  const std::vector<std::unique_ptr<CComponentSim>>& elements);
    void Clear();
    int Columns() const { return m_Columns; }
    double V(int x, int k) const { return m_Rows[size_t(x)][k]; }
    const double* Row(int x) const { return m_Rows[size_t(x)]; }
    void Set(int x, int k, double value) { m_Rows[size_t(x)][k] = value; }
    // Where the solves write the values of unknown x.
    double* RowForSolving(int x) { return m_Rows[size_t(x)]; }

private:
    LargeArray m_Data;
    std::vector<double*> m_Rows;
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
