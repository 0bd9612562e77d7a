#pragma once
// Small builders shared by the plot tests.
#include "CPlotDoc.h"
#include "FileBytes.h"

#include <cstring>
#include <vector>

// A trace as the trace-selection dialog fills it.
inline CPlotTrace makeTrace(double t0, double dt, std::vector<double> values)
{
    CPlotTrace t;
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

// Little-endian archive bytes built by hand, independently of the program's writer.
struct Bytes {
    QByteArray data;
    template <class T> Bytes& put(std::initializer_list<T> values)
    {
        for (T v : values)
            data.append(reinterpret_cast<const char*>(&v), sizeof v);
        return *this;
    }
    Bytes& i32(std::initializer_list<qint32> v) { return put(v); }
    Bytes& f64(std::initializer_list<double> v) { return put(v); }
    Bytes& u16(std::initializer_list<quint16> v) { return put(v); }
    // An 8-bit text shorter than 255 characters.
    Bytes& text(const char* s)
    {
        data.append(char(qstrlen(s))).append(s);
        return *this;
    }
};
