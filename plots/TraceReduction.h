#pragma once

#include "PlotLayout.h"

#include <QPoint>

#include <vector>

// How page twips fall into the columns of device pixels a drawing lands on: x lies in column
// floor(x * Scale + Offset). The drawing context that will draw the result supplies the rounding it
// draws with; a Scale of 0 or less keeps every sample.
struct ColumnMapping {
    double Scale = 1;
    double Offset = 0;
    friend bool operator==(const ColumnMapping&, const ColumnMapping&) = default;
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
// polyline's own segments, so the drawing covers the pixels the full polyline covers. Beyond the
// plot area only the ends of each stretch are kept, for the lines that enter it. Non-finite samples
// break the line. A trace whose time runs backwards keeps every sample.
TracePolylines ReduceTrace(const plot::TraceMapping& m, const double* values, qsizetype n,
                           const ColumnMapping& columns);
