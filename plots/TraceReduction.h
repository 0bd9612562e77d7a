#pragma once

#include "Dc.h"
#include "PlotLayout.h"

#include <QPoint>

#include <vector>

// How page twips fall into the columns of device pixels a drawing lands on: the x axis of the
// mapping of the context that will draw the points, with its own rounding, so that a column is
// exactly one device pixel. The default, and a mapping whose x does not grow to the right, keep
// every sample.
class ColumnMapping {
public:
    ColumnMapping() = default;
    explicit ColumnMapping(const DcMapping& mapping);

    bool Thins() const { return m_Den > 0; }
    // The device column of x (up to a shift that is the same for every x).
    qint64 Column(qint64 x) const;

    friend bool operator==(const ColumnMapping&, const ColumnMapping&) = default;

private:
    // column = round((x - origin) * num / den), halves away from zero, as the context maps x.
    qint64 m_Num = 0;
    qint64 m_Den = 0;
    qint64 m_Origin = 0;
};

// A trace ready to draw: polylines in page twips, broken where samples are missing.
struct TracePolylines {
    std::vector<QPoint> Points;
    // Run i is Points[RunEnds[i - 1], RunEnds[i]), the first run starting at 0.
    std::vector<qsizetype> RunEnds;
    friend bool operator==(const TracePolylines&, const TracePolylines&) = default;
};

// A trace's polyline thinned to what a device can show. Within each device column of the plot area
// it keeps the first, lowest, highest and last sample of every unbroken stretch, in sample order:
// every kept point is a vertex of the full polyline and consecutive columns stay joined by the
// polyline's own segments, so the drawing clipped to the plot area covers the pixels the full
// polyline covers. Outside the area only the sample next to it on each side is kept, for the line
// that enters it. Non-finite samples break the line. A trace whose time runs backwards keeps every
// sample.
TracePolylines ReduceTrace(const plot::TraceMapping& m, const double* values, qsizetype n,
                           const ColumnMapping& columns);
