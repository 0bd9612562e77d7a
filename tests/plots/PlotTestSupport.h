#pragma once
// Small builders shared by the plot tests.
#include "CPlotDoc.h"

#include <QBuffer>
#include <QByteArray>

#include <cstring>
#include <initializer_list>
#include <vector>

// A trace as the trace-selection dialog fills it.
inline CPlotTrace makeTrace(double t0, double dt, std::vector<double> values)
{
    CPlotTrace t;
    t.ReservedB = 1;
    t.T0 = t0;
    t.Dt = dt;
    t.PointCount = qint32(values.size());
    t.Values = std::move(values);
    t.ComputeStats();
    return t;
}

inline void setTraces(CPlotDoc& doc, std::vector<CPlotTrace> traces)
{
    doc.Traces = std::move(traces);
    doc.TraceCount = qint32(doc.Traces.size());
}

inline QByteArray saveBytes(CPlotDoc& doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    doc.Save(buffer);
    return buffer.data();
}

inline bool loadBytes(CPlotDoc& doc, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return doc.Load(buffer);
}

// Archive bytes built by hand, independently of the program's writer.
struct Bytes {
    QByteArray data;

    Bytes& u8(int v)
    {
        data.append(char(v));
        return *this;
    }
    Bytes& u16(int v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    Bytes& i32(qint64 v) { return u16(int(v & 0xFFFF)).u16(int((v >> 16) & 0xFFFF)); }
    Bytes& i32s(std::initializer_list<qint64> list)
    {
        for (qint64 v : list)
            i32(v);
        return *this;
    }
    Bytes& f64s(std::initializer_list<double> list)
    {
        for (double v : list) {
            char b[8];
            std::memcpy(b, &v, 8);
            data.append(b, 8); // the test machines are little-endian
        }
        return *this;
    }
    // An 8-bit text shorter than 255 characters.
    Bytes& text(const char* s)
    {
        u8(int(qstrlen(s)));
        data.append(s);
        return *this;
    }
};
