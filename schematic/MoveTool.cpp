#include "MoveTool.h"

#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "EditorContext.h"
#include "MouseFlags.h"
#include "PlaceTool.h"

#include <cstdlib>
#include <utility>

qint64 MoveTool::SnapDistance(qint64 d)
{
    constexpr qint64 step = PlaceTool::kSnapStep;
    const qint64 steps = (std::abs(d) + step / 2) / step;
    return (d < 0 ? -steps : steps) * step;
}

void MoveTool::Arm(QPoint page)
{
    m_Context.dragging = true;
    m_Context.dragMoved = false;
    m_Context.dragStart = page;
}

void MoveTool::Move(unsigned flags, QPoint page)
{
    EditorContext& c = m_Context;
    qint64 dx = qint64(page.x()) - c.dragStart.x();
    qint64 dy = qint64(page.y()) - c.dragStart.y();
    if (c.doc->SnapToGrid || (flags & MK_SHIFT)) {
        dx = SnapDistance(dx);
        dy = SnapDistance(dy);
    }
    // What is not moved now is caught up at the next step: the drag start stays where it was.
    if (dx == 0 && dy == 0) return;
    const QPoint d{int(dx), int(dy)};
    c.dragStart += d;
    c.dragMoved = true;
    for (const auto& o : c.Objects())
        if (o->Selected) ShiftObject(*o, d, true);
    c.Repaint();
}

void MoveTool::End()
{
    m_Context.dragging = false;
    if (!std::exchange(m_Context.dragMoved, false)) return;
    m_Context.UpdateJunctions();
    m_Context.RecordEdit();
}
