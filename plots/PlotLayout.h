#pragma once

#include "Rect.h"

#include <QPoint>
#include <QString>

#include <vector>

// The axes of a plot: the time range in seconds, the vertical range in units of each trace's own
// scale, and the spacing of the ticks.
struct PlotAxes {
    double TimeUnit = 1;  // seconds per axis unit, a power of ten
    qint32 XTickStep = 1; // in time units
    double XMin = 0;
    double XMax = 10;
    double FirstXTick = 0; // stored only
    double Reserved = 0;
    double YMin = 0;
    double YMax = 10;
    qint32 YTickStep = 1;

    friend bool operator==(const PlotAxes&, const PlotAxes&) = default;
};

// Where everything of a plot sits on its landscape page, in twips with y growing upward, and the
// pure arithmetic that places ticks, labels, legend rows and samples there. Nothing here draws.
namespace plot {

inline constexpr Rect kPage{0, 0, 15840, -12240};
inline constexpr Rect kArea{1440, -1440, 12960, -10080};
inline constexpr qint32 kAreaWidth = 11520;
inline constexpr qint32 kAreaHeight = 8640;

// Tick marks hang 100 twips outside the frame; their labels sit beyond them.
inline constexpr qint32 kTickLength = 100;
inline constexpr qint32 kXLabelTop = -10180;
inline constexpr qint32 kYLabelRight = 1290;
inline constexpr QPoint kTimeLabelTopCentre{7200, -10380};

// More ticks than this along an axis are not drawn: a coarser step of the 1-2-5 series is taken.
inline constexpr int kMaxTicks = 100;
// Page coordinates are kept within this distance of the origin, however far a zoom reaches.
inline constexpr double kCoordinateLimit = 1e8;

// A page coordinate from an arithmetic result: clamped into the coordinate limit, 0 for NaN.
qint32 ToTwips(double v);

// A tick on an axis: its position (x of a time tick, y of a value tick), whether a grid line
// crosses the plot there (ticks on the frame itself get none) and its label.
struct Tick {
    qint32 Pos;
    bool Grid;
    QString Label;
    friend bool operator==(const Tick&, const Tick&) = default;
};

// The time ticks from the first multiple of the step at or before the range's start up to its end,
// of which those inside the plot area are returned. An x tick's line runs from (Pos, kArea.bottom)
// down by kTickLength; its label is centred on Pos with its top at kXLabelTop.
std::vector<Tick> XTicks(const PlotAxes& axes);
// The value ticks. A y tick's line runs from (kArea.left, Pos) left by kTickLength; its label ends
// at kYLabelRight with its top half a text height above Pos.
std::vector<Tick> YTicks(const PlotAxes& axes);

// "Time (ns)" and its kin for the usual units, the unit itself otherwise.
QString TimeAxisLabel(double unit);
// The legend's second line: the power of ten a trace's values are divided by.
QString ScaleLabel(double scale);

// The legend entry of trace `index`, right of the frame, for a name `textHeight` twips high.
struct LegendRow {
    QPoint LineFrom;
    QPoint LineTo;
    QPoint NameTopLeft;
    QPoint ScaleTopLeft;
};
LegendRow LegendLayout(int index, qint32 textHeight);

// Where a trace's samples land on the page under given axes: sample k at time k*dt + t0 with the
// value v lands at (X(k), Y(v)). Not Valid when the axes or the trace give no finite mapping; such
// a trace is not drawn.
struct TraceMapping {
    bool Valid = false;
    double T0 = 0;
    double Dt = 0;
    double XMin = 0;
    double Sx = 0;      // twips per second
    double YOrigin = 0; // the value at the bottom of the plot area
    double Sy = 0;      // twips per value unit

    qint32 X(double k) const;
    qint32 Y(double v) const;
};
TraceMapping MapTrace(const PlotAxes& axes, double t0, double dt, double scale);

// The time axis for the range [lo, hi] (seconds, lo < hi): the time unit, the tick step and the
// first tick as fitting the traces chooses them.
void ScaleTime(PlotAxes& axes, double lo, double hi);
// The step of the value ticks for a vertical range this long: 1, or 2 from 12 units on.
qint32 ValueTickStep(double span);

// The axes that show the part of the plot inside `r` (page twips, left < right, top > bottom), with
// the time unit and the tick steps chosen again for the new ranges, so that a narrow band still
// carries labelled time ticks. False, with the axes unchanged, for a rectangle without area or a
// range that the arithmetic can no longer resolve.
bool ZoomAxes(PlotAxes& axes, const Rect& r);

} // namespace plot
