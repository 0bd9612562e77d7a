#pragma once

#include "ClassRegistry.h"
#include "TraceReduction.h"

#include <QString>

#include <array>
#include <vector>

// One evaluated waveform of a plot: its samples at a fixed interval, their extremes and the power of
// ten they are shown divided by, and its pen. The trace-selection dialog fills the samples and runs
// ComputeStats; AutoScale gives it its colour.
class CPlotTrace : public Persistent {
public:
    static const ClassInfo Class;

    const ClassInfo& RuntimeClass() const override { return Class; }
    // The trace record. A loaded point count is clamped to the samples read.
    void Serialize(Archive& ar) override;

    // The extremes of the finite samples, the end time and the display scale: the power of ten
    // that brings the larger magnitude into (1, 10]. Non-finite samples (a diverged run) are left
    // out.
    void ComputeStats();

    // The samples in use: the point count, within the values there are.
    qsizetype SampleCount() const;
    // The time of sample k.
    double TimeOf(qsizetype k) const { return double(k) * Dt + T0; }

    // The trace's polylines under the axes, thinned to the device columns of `columns`. They are
    // computed once and reused while PointsCached stays set and the columns stay the same; whoever
    // changes the axes clears PointsCached.
    const TracePolylines& ScreenPoints(const PlotAxes& axes, const ColumnMapping& columns);

    qint32 ReservedA = 1;
    qint32 ReservedB = 0; // 1 for a plotted trace
    QString Name;         // as typed, for example V(N1)
    QString SecondText;
    qint32 PointCount = 0;
    double Dt = 0; // seconds
    double T0 = 0; // seconds
    std::vector<double> Values;
    double YMax = 0;
    double YMin = 0;
    double Scale = 1;
    double TEnd = 0;
    quint32 PenColor = 0;                  // 0x00BBGGRR
    qint32 PenWidth = 36;                  // twips
    std::array<qint32, 4> ReservedWords{}; // the second holds a copy of the pen colour
    bool PointsCached = false;

private:
    TracePolylines m_Points;
    ColumnMapping m_PointsColumns;
};
