#pragma once

#include "Dc.h"
#include "Rect.h"

#include <QPoint>

#include <initializer_list>
#include <optional>
#include <vector>

class CComponent;

// How a symbol given for the first orientation (offsets with y upward) lies on the page: each offset
// (dx, dy) becomes (xx·dx + xy·dy, yx·dx + yy·dy).
struct SymbolTurn {
    int xx, xy, yx, yy;

    // The turns most symbols follow: 2 maps (dx, dy) to (dy, −dx), 3 to (−dx, dy), 4 to (dy, dx).
    // Nothing for an orientation outside 1..4, which draws no figure.
    static std::optional<SymbolTurn> Standard(int orientation);
    QPoint operator()(QPoint offset) const
    {
        return {xx * offset.x() + xy * offset.y(), yx * offset.x() + yy * offset.y()};
    }
    // A mirror image rather than a rotation: arcs then run the other way round the figure.
    bool Mirrors() const { return xx * yy - xy * yx < 0; }
};

// Draws a part's symbol from offsets of its position turned for its orientation. It selects the part's
// pen (solid, 15 twips wide), moves to the part's position and puts the old pen and brush back when it
// goes out of scope.
class PartSymbol {
public:
    // The standard turn of the part's orientation.
    PartSymbol(Dc& dc, const CComponent& part);
    // No turn: an orientation without a figure.
    PartSymbol(Dc& dc, const CComponent& part, std::optional<SymbolTurn> turn);
    ~PartSymbol();
    PartSymbol(const PartSymbol&) = delete;
    PartSymbol& operator=(const PartSymbol&) = delete;

    // False when the orientation has no figure: nothing more is drawn.
    explicit operator bool() const { return m_HasFigure; }
    Dc& Context() const { return m_Dc; }
    const SymbolTurn& Turn() const { return m_Turn; }
    // For the odd stroke that does not follow the symbol's turn.
    void SetTurn(SymbolTurn turn) { m_Turn = turn; }
    // The page point of an offset.
    QPoint At(QPoint offset) const;
    // The page box spanned by two offsets, left below right and top above bottom.
    Rect Box(QPoint a, QPoint b) const;

    void Line(QPoint from, QPoint to);
    void Polyline(std::initializer_list<QPoint> offsets);
    void Polygon(std::initializer_list<QPoint> offsets);
    void Rectangle(QPoint a, QPoint b);
    void Ellipse(QPoint a, QPoint b);
    // The arc of the ellipse in the box from corner a to corner b, from the ray towards `start` to the
    // ray towards `end`, counterclockwise as the device shows it.
    void Arc(QPoint a, QPoint b, QPoint start, QPoint end);

private:
    std::vector<QPoint> Points(std::initializer_list<QPoint> offsets) const;

    Dc& m_Dc;
    QPoint m_Origin;
    SymbolTurn m_Turn;
    bool m_HasFigure;
    Pen m_OldPen;
    Brush m_OldBrush;
};
