#pragma once

#include "Dc.h"
#include "Rect.h"

#include <QPoint>

#include <initializer_list>

class CComponent;

// Draws a part's symbol from offsets given for the first orientation, turned to the part's own
// orientation and moved to its position. It selects the part's symbol pen, and puts back the pen
// and brush it found when it goes out of scope.
class SymbolPainter {
public:
    SymbolPainter(Dc& dc, const CComponent& part);
    ~SymbolPainter();
    SymbolPainter(const SymbolPainter&) = delete;
    SymbolPainter& operator=(const SymbolPainter&) = delete;

    Dc& dc() { return m_Dc; }
    const Pen& pen() const { return m_Pen; }
    // The page point of an offset.
    QPoint At(int dx, int dy) const;
    // The page box of two corner offsets, ordered left ≤ right and top ≥ bottom.
    Rect Box(int x1, int y1, int x2, int y2) const;
    // Connected lines through the offsets.
    void Lines(std::initializer_list<QPoint> offsets);
    void Line(int x1, int y1, int x2, int y2) { Lines({{x1, y1}, {x2, y2}}); }
    void Ellipse(int x1, int y1, int x2, int y2) { m_Dc.Ellipse(Box(x1, y1, x2, y2)); }
    void Rectangle(int x1, int y1, int x2, int y2) { m_Dc.Rectangle(Box(x1, y1, x2, y2)); }

private:
    Dc& m_Dc;
    QPoint m_Origin;
    int m_Orientation;
    Pen m_Pen;
    Pen m_OldPen;
    Brush m_OldBrush;
};
