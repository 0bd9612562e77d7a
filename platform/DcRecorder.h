#pragma once

#include "Dc.h"

#include <memory>

// One drawing call as the recorder keeps it: the shape and its logical points (see DcPrimitive),
// with the objects and colours in effect when it was drawn.
struct DcEntry {
    DcShape kind = DcShape::Line;
    std::vector<QPoint> points;
    QString text;
    QColor color; // Pixel and Fill
    Pen pen;
    Brush brush;
    Font font;
    QColor textColor;
    QColor bkColor;
    BkMode bkMode = BkMode::Opaque;

    // The first two points as a rectangle: the box of a Rectangle, Ellipse, Arc or Fill.
    Rect Box() const;
    // The shape and its points, as "Line 0,0 144,0", "Text 10,-20 \"R1\"" or "Pixel 5,5 #000000".
    QString Describe() const;
};

// A context that draws nothing and keeps every call for tests to read. It starts as a view
// prepares its context at zoom 100: twips mapped for a device of `dpi` dots per inch, both origins
// at 0, and a clip area that holds every point. Texts measure as if each character were half as
// wide as the cell is high, the cell being the font's height, so extents do not depend on the
// fonts of the machine.
class RecordingDc : public Dc {
public:
    explicit RecordingDc(int dpi = 96, bool printing = false);
    ~RecordingDc() override;

    const std::vector<DcEntry>& Entries() const;
    std::vector<DcEntry> OfKind(DcShape kind) const;
    int Count(DcShape kind) const;
    // Every entry's Describe, one a line.
    QString Describe() const;
    void Clear();

    // Stands for a repaint of part of a window: the clip area in device pixels.
    using Dc::SetDeviceClip;

private:
    class Recorder;
    std::unique_ptr<Recorder> m_Recorder;
};
