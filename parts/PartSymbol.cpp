#include "PartSymbol.h"

#include "CDrawing.h"

SymbolPainter::SymbolPainter(Dc& dc, const CComponent& part)
    : m_Dc(dc), m_Origin(part.Position), m_Orientation(part.Orientation), m_Pen(CDrawing::SymbolPen(part)),
      m_OldPen(dc.SelectObject(m_Pen)), m_OldBrush(dc.GetCurrentBrush())
{
}

SymbolPainter::~SymbolPainter()
{
    m_Dc.SelectObject(m_OldBrush);
    m_Dc.SelectObject(m_OldPen);
}

QPoint SymbolPainter::At(int dx, int dy) const
{
    return m_Origin + CDrawing::Turn(m_Orientation, QPoint(dx, dy));
}

Rect SymbolPainter::Box(int x1, int y1, int x2, int y2) const
{
    return CDrawing::TurnBox(m_Orientation, m_Origin, QPoint(x1, y1), QPoint(x2, y2));
}

void SymbolPainter::Lines(std::initializer_list<QPoint> offsets)
{
    bool first = true;
    for (const QPoint& o : offsets) {
        const QPoint p = At(o.x(), o.y());
        if (first)
            m_Dc.MoveTo(p);
        else
            m_Dc.LineTo(p);
        first = false;
    }
}
