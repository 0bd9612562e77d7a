#pragma once

#include <QPointF>
#include <QRect>
#include <QtGlobal>

#include <span>

// The pixels of a 32-bit image that a drawing may write, row by row.
struct PixelRows {
    uchar* bits = nullptr; // pixel (0, 0)
    qsizetype bytesPerLine = 0;
    QRect clip; // the pixels that may be written
};

// Sets every pixel of the polyline drawn with a solid pen of the given width (device pixels) with
// round ends and round joins: the pixels whose centres lie within width / 2 of one of its segments
// (a centre on the shape's right or lower edge counts, one on its left or upper edge does not, as
// in the painter's aliased fills). The same pixels as the painter's stroke, at a fraction of its
// cost, up to single pixels whose centres lie on the edge: the shape is the union of one rounded
// segment per pair of points, each filled row by row, and filling a pixel twice with one opaque
// value changes nothing. Points that all coincide draw nothing, as the painter draws them.
void FillRoundPolyline(const PixelRows& target, std::span<const QPointF> points, double width, quint32 pixel);
