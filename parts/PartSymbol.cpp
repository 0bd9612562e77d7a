#include "PartSymbol.h"

#include "CDrawing.h"

#include <algorithm>
#include <vector>

std::optional<SymbolTurn> SymbolTurn::Standard(int orientation)
{
    switch (orientation) {
    case 1:
        return SymbolTurn{1, 0, 0, 1};
    case 2:
        return SymbolTurn{0, 1, -1, 0};
    case 3:
        return SymbolTurn{-1, 0, 0, 1};
    case 4:
        return SymbolTurn{0, 1, 1, 0};
    }
    return std::nullopt;
}

PartSymbol::PartSymbol(Dc& dc, const CComponent& part)
    : PartSymbol(dc, part, SymbolTurn::Standard(part.Orientation))
{
}

PartSymbol::PartSymbol(Dc& dc, const CComponent& part, std::optional<SymbolTurn> turn)
    : m_Dc(dc), m_Origin(part.Position), m_Turn(turn.value_or(SymbolTurn{1, 0, 0, 1})),
      m_HasFigure(turn.has_value()), m_OldPen(dc.SelectObject(CDrawing::SymbolPen(part))),
      m_OldBrush(dc.GetCurrentBrush())
{
    dc.MoveTo(m_Origin);
}

PartSymbol::~PartSymbol()
{
    m_Dc.SelectObject(m_OldBrush);
    m_Dc.SelectObject(m_OldPen);
}

QPoint PartSymbol::At(QPoint offset) const
{
    return m_Origin + m_Turn(offset);
}

Rect PartSymbol::Box(QPoint a, QPoint b) const
{
    const QPoint p = At(a);
    const QPoint q = At(b);
    return Rect{std::min(p.x(), q.x()), std::max(p.y(), q.y()), std::max(p.x(), q.x()),
                std::min(p.y(), q.y())};
}

void PartSymbol::Line(QPoint from, QPoint to)
{
    m_Dc.MoveTo(At(from));
    m_Dc.LineTo(At(to));
}

std::vector<QPoint> PartSymbol::Points(std::initializer_list<QPoint> offsets) const
{
    std::vector<QPoint> points;
    points.reserve(offsets.size());
    for (QPoint p : offsets)
        points.push_back(At(p));
    return points;
}

void PartSymbol::Polyline(std::initializer_list<QPoint> offsets)
{
    m_Dc.Polyline(Points(offsets));
}

void PartSymbol::Polygon(std::initializer_list<QPoint> offsets)
{
    m_Dc.Polygon(Points(offsets));
}

void PartSymbol::Rectangle(QPoint a, QPoint b)
{
    const QPoint p = At(a);
    const QPoint q = At(b);
    m_Dc.Rectangle(p.x(), p.y(), q.x(), q.y());
}

void PartSymbol::Ellipse(QPoint a, QPoint b)
{
    const QPoint p = At(a);
    const QPoint q = At(b);
    m_Dc.Ellipse(p.x(), p.y(), q.x(), q.y());
}

void PartSymbol::Arc(QPoint a, QPoint b, QPoint start, QPoint end)
{
    const QPoint p = At(a);
    const QPoint q = At(b);
    m_Dc.Arc(Rect{p.x(), p.y(), q.x(), q.y()}, At(start), At(end));
}
