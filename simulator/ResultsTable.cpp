#include "ResultsTable.h"

#include "CComponentSim.h"
#include "UiServices.h"

#include <cassert>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

void ResultsTable::Allocate(int rows, int h, int steps, double start, double dt)
{
    Clear();
    const size_t columns = size_t(h) + 1 + size_t(steps);
    const size_t stride = (columns + kLineColumns - 1) / kLineColumns * kLineColumns;
    // With a thousand rows or more the pages a step touches no longer fit in the TLB.
    m_Data.allocate(size_t(rows) * stride, rows >= 1024, stride);
    m_Rows.resize(size_t(rows));
    for (size_t i = 0; i < size_t(rows); ++i)
        m_Rows[i] = m_Data.data() + i * stride;
    m_Columns = int(columns);
    m_h = h;
    m_Points = steps + 1;
    m_Start = start;
    m_dt = dt;
}

void ResultsTable::Complete(int points, const QHash<QString, int>& nodes, const QStringList& nodeNames,
                            const std::vector<std::unique_ptr<CComponentSim>>& elements)
{
    WriteHeldColumns();
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
    m_Held = {};
    m_BufferFirst = m_HeldFirst = m_BufferEnd = 0;
    m_Columns = 0;
    m_Points = 0;
    m_Valid = false;
    m_Nodes = nullptr;
    m_NodeNames = nullptr;
    m_Elements = nullptr;
}

void ResultsTable::MakeHoldingBuffer()
{
    m_Held.assign(size_t(kLineColumns) * m_Rows.size(), 0.0);
    m_BufferFirst = m_HeldFirst = m_BufferEnd = 0;
}

double* ResultsTable::HoldColumn(int k)
{
    assert(!m_Held.empty() && k >= 0 && k < m_Columns);
    if (k % kLineColumns == 0 || k != m_BufferEnd) {
        WriteHeldColumns();
        m_BufferFirst = m_HeldFirst = k;
    }
    m_BufferEnd = k + 1;
    return m_Held.data() + size_t(k % kLineColumns) * m_Rows.size();
}

void ResultsTable::WriteHeldColumns()
{
    if (m_HeldFirst == m_BufferEnd) return;
    if (m_BufferFirst % kLineColumns == 0 && m_BufferEnd - m_BufferFirst == kLineColumns) {
        // Columns of the line written before (when a reader needed the rows) go again, unchanged.
        WriteLines(m_BufferFirst);
    } else {
        const size_t rows = m_Rows.size();
        for (int k = m_HeldFirst; k < m_BufferEnd; ++k) {
            const double* column = m_Held.data() + size_t(k % kLineColumns) * rows;
            for (size_t x = 0; x < rows; ++x)
                m_Rows[x][k] = column[x];
        }
    }
    m_HeldFirst = m_BufferEnd;
}

void ResultsTable::WriteLines(int first)
{
    const size_t rows = m_Rows.size();
    const double* held = m_Held.data();
    size_t x = 0;
#ifdef __SSE2__
    // Two rows at a time: a pair of columns of both from two loads, each row's line in four stores that
    // go around the cache (the whole line is written, so it need not be read first).
    for (; x + 2 <= rows; x += 2) {
        double* lines[2] = {m_Rows[x] + first, m_Rows[x + 1] + first};
        assert(reinterpret_cast<std::uintptr_t>(lines[0]) % 64 == 0);
        for (int j = 0; j < kLineColumns; j += 2) {
            const __m128d a = _mm_loadu_pd(held + size_t(j) * rows + x);
            const __m128d b = _mm_loadu_pd(held + size_t(j + 1) * rows + x);
            _mm_stream_pd(lines[0] + j, _mm_unpacklo_pd(a, b));
            _mm_stream_pd(lines[1] + j, _mm_unpackhi_pd(a, b));
        }
    }
#endif
    for (; x < rows; ++x)
        for (int j = 0; j < kLineColumns; ++j)
            m_Rows[x][first + j] = held[size_t(j) * rows + x];
#ifdef __SSE2__
    // The stores around the cache are seen by every reader, of any thread, from here on.
    _mm_sfence();
#endif
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
