#include "ResultsTable.h"

#include "CComponentSim.h"
#include "UiServices.h"

void ResultsTable::Allocate(int rows, int h, int steps, double start, double dt)
{
    Clear();
    const size_t columns = size_t(h) + 1 + size_t(steps);
    // With a thousand rows or more the pages a step touches no longer fit in the TLB.
    m_Data.allocate(size_t(rows) * columns, rows >= 1024, columns);
    m_Rows.resize(size_t(rows));
    for (size_t i = 0; i < size_t(rows); ++i)
        m_Rows[i] = m_Data.data() + i * columns;
    m_Columns = int(columns);
    m_h = h;
    m_Points = steps + 1;
    m_Start = start;
    m_dt = dt;
}

void ResultsTable::Complete(int points, const QHash<QString, int>& nodes, const QStringList& nodeNames,
                            const std::vector<std::unique_ptr<CComponentSim>>& elements)
{
    m_Points = points;
    m_Nodes = &nodes;
    m_NodeNames = &nodeNames;
    m_Elements = &elements;
    m_Valid = true;
}

void ResultsTable::Clear()
{
    m_Data.release();
    m_Rows = {};
    m_Columns = 0;
    m_Points = 0;
    m_Valid = false;
    m_Nodes = nullptr;
    m_NodeNames = nullptr;
    m_Elements = nullptr;
}

QStringList ResultsTable::NodeNames() const
{
    return m_Valid ? m_NodeNames->mid(1) : QStringList();
}

void ResultsTable::AddOutputNames(const QString& group, QStringList& list) const
{
    if (!m_Valid) return;
    for (const auto& e : *m_Elements)
        e->AddOutputNames(group, list);
}

bool ResultsTable::GetTraceValues(const QString& expression, int n, double* out) const
{
    const int open = int(expression.indexOf(u'('));
    const int close = int(expression.indexOf(u')'));
    QString name;
    if (open >= 0)
        name = close > open ? expression.mid(open + 1, close - open - 1) : expression.mid(open + 1);
    // A stopped run keeps the width it was given; what lies beyond its last step reads 0.
    if (!m_Valid || n < 0 || n > m_Columns - m_h) {
        ui().message(QStringLiteral("Can't evaluate ") + expression + QStringLiteral(", aborting..."));
        return false;
    }
    if (expression.startsWith(QLatin1String("V(P")) || expression.startsWith(QLatin1String("V(N"))) {
        const auto node = m_Nodes->constFind(name);
        if (node == m_Nodes->constEnd()) {
            ui().message(QStringLiteral("Can't evaluate ") + expression + QStringLiteral(", aborting..."));
            return false;
        }
        const double* values = Values(node.value());
        std::copy(values, values + n, out);
        return true;
    }
    const QString kind = open >= 0 ? expression.left(open) : expression;
    for (const auto& e : *m_Elements)
        if (e->Name == name && e->GetOutput(kind, n, out)) return true;
    ui().message(QStringLiteral("Can't evaluate") + expression + QStringLiteral(", aborting plot."));
    return false;
}
