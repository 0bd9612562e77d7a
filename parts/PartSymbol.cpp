#include "PartSymbol.h"

#include "CDrawing.h"

#include <algorithm>

std::optional<SymbolTurn> SymbolTurn::Standard(int orientation)
{
    static constexpr SymbolTurn kTurns[] = {{1, 0, 0, 1}, {0, 1, -1, 0}, {-1, 0, 0, 1}, {0, 1, 1, 0}};
    return SymbolTurn::Of(kTurns, orientation);
}

SymbolPainter::SymbolPainter(Dc& dc, const CComponent& part)
    : SymbolPainter(dc, part, SymbolTurn::Standard(part.Orientation))
{
}

SymbolPainter::SymbolPainter(Dc& dc, const CComponent& part, std::optional<SymbolTurn> turn)
    : m_Dc(dc), m_Origin(part.Position), m_Turn(turn.value_or(SymbolTurn{1, 0, 0, 1})),
      m_HasFigure(turn.has_value()), m_Pen(CDrawing::SymbolPen(part)), m_OldPen(dc.SelectObject(m_Pen)),
      m_OldBrush(dc.GetCurrentBrush())
{
    dc.MoveTo(m_Origin);
}

SymbolPainter::~SymbolPainter()
{
    m_Dc.SelectObject(m_OldBrush);
    m_Dc.SelectObject(m_OldPen);
}

QPoint SymbolPainter::At(QPoint offset) const
{
    return CDrawing::Shifted(m_Origin, m_Turn(offset));
}

Rect SymbolPainter::Box(QPoint a, QPoint b) const
{
    const QPoint p = At(a);
    const QPoint q = At(b);
    return Rect{std::min(p.x(), q.x()), std::max(p.y(), q.y()), std::max(p.x(), q.x()),
                std::min(p.y(), q.y())};
}

void SymbolPainter::Lines(std::span<const QPoint> offsets)
{
    bool first = true;
    for (const QPoint& o : offsets) {
        if (first)
            m_Dc.MoveTo(At(o));
        else
            m_Dc.LineTo(At(o));
        first = false;
    }
}

std::vector<QPoint> SymbolPainter::Points(std::span<const QPoint> offsets) const
{
    std::vector<QPoint> points;
    points.reserve(offsets.size());
    for (QPoint p : offsets)
        points.push_back(At(p));
    return points;
}

void SymbolPainter::Polyline(std::span<const QPoint> offsets)
{
    m_Dc.Polyline(Points(offsets));
}

void SymbolPainter::Polygon(std::initializer_list<QPoint> offsets)
{
    m_Dc.Polygon(Points(std::span(offsets.begin(), offsets.size())));
}
