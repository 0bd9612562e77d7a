#pragma once

#include "Dc.h"
#include "Rect.h"

#include <QPoint>

#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

class CComponent;

// How a symbol given for the first orientation (offsets with y upward) lies on the page: each offset
// (dx, dy) becomes (xx·dx + xy·dy, yx·dx + yy·dy).
struct SymbolTurn {
    int xx, xy, yx, yy;

    // The turns most symbols follow: 2 maps (dx, dy) to (dy, −dx), 3 to (−dx, dy), 4 to (dy, dx).
    // Nothing for an orientation outside 1..4, which has no figure.
    static std::optional<SymbolTurn> Standard(int orientation);
    // The turn of an orientation 1..4 from a symbol's own table of four.
    static std::optional<SymbolTurn> Of(const SymbolTurn (&turns)[4], int orientation)
    {
        if (orientation < 1 || orientation > 4) return std::nullopt;
        return turns[orientation - 1];
    }
    QPoint operator()(QPoint offset) const
    {
        return {xx * offset.x() + xy * offset.y(), yx * offset.x() + yy * offset.y()};
    }
    // A mirror image rather than a rotation: an arc then runs the other way round the figure.
    bool Mirrors() const { return xx * yy - xy * yx < 0; }
};

// Draws a part's symbol from offsets given for the first orientation, turned to the part's own
// orientation and moved to its position. It selects the part's symbol pen, moves to the part's
// position, and puts back the pen and brush it found when it goes out of scope. Boxes (rectangles,
// ellipses, arcs) are passed on ordered left ≤ right and top ≥ bottom.
class SymbolPainter {
public:
    // The standard turn of the part's orientation.
    SymbolPainter(Dc& dc, const CComponent& part);
    // A turn of the symbol's own; none for an orientation without a figure.
    SymbolPainter(Dc& dc, const CComponent& part, std::optional<SymbolTurn> turn);
    ~SymbolPainter();
    SymbolPainter(const SymbolPainter&) = delete;
    SymbolPainter& operator=(const SymbolPainter&) = delete;

    // False when the orientation has no figure: a symbol then draws nothing more.
    explicit operator bool() const { return m_HasFigure; }
    Dc& dc() { return m_Dc; }
    const Pen& pen() const { return m_Pen; }
    const SymbolTurn& Turn() const { return m_Turn; }
    // For the odd stroke that does not follow the symbol's turn.
    void SetTurn(SymbolTurn turn) { m_Turn = turn; }

    // The page point of an offset.
    QPoint At(int dx, int dy) const { return At(QPoint(dx, dy)); }
    QPoint At(QPoint offset) const;
    // The page box of two corner offsets.
    Rect Box(int x1, int y1, int x2, int y2) const { return Box(QPoint(x1, y1), QPoint(x2, y2)); }
    Rect Box(QPoint a, QPoint b) const;

    // Connected lines through the offsets, drawn line by line.
    void Lines(std::span<const QPoint> offsets);
    void Lines(std::initializer_list<QPoint> offsets) { Lines(std::span(offsets.begin(), offsets.size())); }
    void Line(int x1, int y1, int x2, int y2) { Lines({{x1, y1}, {x2, y2}}); }
    void Polyline(std::span<const QPoint> offsets);
    void Polyline(std::initializer_list<QPoint> offsets)
    {
        Polyline(std::span(offsets.begin(), offsets.size()));
    }
    void Polygon(std::initializer_list<QPoint> offsets);
    void Ellipse(int x1, int y1, int x2, int y2) { m_Dc.Ellipse(Box(x1, y1, x2, y2)); }
    void Rectangle(int x1, int y1, int x2, int y2) { m_Dc.Rectangle(Box(x1, y1, x2, y2)); }
    // The arc of the ellipse in the box from the ray towards `start` to the ray towards `end`,
    // counterclockwise as the device shows it.
    void Arc(QPoint a, QPoint b, QPoint start, QPoint end) { m_Dc.Arc(Box(a, b), At(start), At(end)); }

private:
    std::vector<QPoint> Points(std::span<const QPoint> offsets) const;

    Dc& m_Dc;
    QPoint m_Origin;
    SymbolTurn m_Turn;
    bool m_HasFigure;
    Pen m_Pen;
    Pen m_OldPen;
    Brush m_OldBrush;
};
