#include "CPlotTrace.h"

#include "Archive.h"
#include "PlotLayout.h"

#include <algorithm>
#include <cmath>

const ClassInfo CPlotTrace::Class = {"CPlotTrace", 1, false, nullptr, &CreatePersistent<CPlotTrace>};

void CPlotTrace::Serialize(Archive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteInt(ReservedA);
        ar.WriteInt(ReservedB);
        ar.WriteString(Name);
        ar.WriteString(SecondText);
        ar.WriteInt(PointCount);
        // The interval is stored twice; readers take the second.
        for (double v : {Dt, T0, Dt, YMax, YMin, Scale, TEnd})
            ar.WriteDouble(v);
        ar.WriteUInt(PenColor);
        ar.WriteInt(PenWidth);
        for (qint32 w : ReservedWords)
            ar.WriteInt(w);
        ar.WriteCount(quint32(Values.size()));
        for (double v : Values)
            ar.WriteDouble(v);
        return;
    }
    ReservedA = ar.ReadInt();
    ReservedB = ar.ReadInt();
    Name = ar.ReadString();
    SecondText = ar.ReadString();
    PointCount = ar.ReadInt();
    Dt = ar.ReadDouble();
    T0 = ar.ReadDouble();
    Dt = ar.ReadDouble();
    YMax = ar.ReadDouble();
    YMin = ar.ReadDouble();
    Scale = ar.ReadDouble();
    TEnd = ar.ReadDouble();
    PenColor = ar.ReadUInt();
    PenWidth = ar.ReadInt();
    for (qint32& w : ReservedWords)
        w = ar.ReadInt();
    Values.resize(ar.ReadCount(8));
    for (double& v : Values)
        v = ar.ReadDouble();
    PointCount = qint32(SampleCount());
    PointsCached = false;
    m_Points = {};
}

qsizetype CPlotTrace::SampleCount() const
{
    return std::clamp<qsizetype>(PointCount, 0, qsizetype(Values.size()));
}

void CPlotTrace::ComputeStats()
{
    double lo = 1.7e308;
    double hi = -1.7e308;
    const qsizetype n = SampleCount();
    for (qsizetype k = 0; k < n; ++k) {
        const double v = Values[size_t(k)];
        if (!std::isfinite(v)) continue;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    YMin = lo;
    YMax = hi;
    TEnd = (double(n) - 1) * Dt + T0;
    const double decade =
        std::max(std::log10(0.99999 * std::abs(hi) + 1e-30), std::log10(0.99999 * std::abs(lo) + 1e-30));
    Scale = std::pow(10.0, std::floor(decade));
}

const TracePolylines& CPlotTrace::ScreenPoints(const PlotAxes& axes, const ColumnMapping& columns)
{
    if (!PointsCached || !(columns == m_PointsColumns)) {
        m_Points = ReduceTrace(plot::MapTrace(axes, T0, Dt, Scale), Values.data(), SampleCount(), columns);
        m_PointsColumns = columns;
        PointsCached = true;
    }
    return m_Points;
}
