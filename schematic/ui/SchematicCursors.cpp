#include "SchematicCursors.h"

#include <QPainter>
#include <QPixmap>

#include <functional>

namespace cursors {
namespace {
constexpr int kSize = 32;

// Black strokes with a white rim, visible on the white sheet and on dark objects alike.
void stroke(QPainter& p, const std::function<void(QPainter&)>& draw)
{
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap));
    draw(p);
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap));
    draw(p);
}

QPixmap blank()
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QCursor crossHair(bool withPen)
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    stroke(p, [](QPainter& q) {
        q.drawLine(15, 2, 15, 12);
        q.drawLine(15, 18, 15, 28);
        q.drawLine(2, 15, 12, 15);
        q.drawLine(18, 15, 28, 15);
    });
    if (withPen) {
        // A short wire with a bend beside the cross.
        stroke(p, [](QPainter& q) {
            q.drawLine(20, 20, 27, 20);
            q.drawLine(27, 20, 27, 27);
        });
    }
    p.end();
    return QCursor(pixmap, 15, 15);
}

QCursor magnifier()
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::white);
    stroke(p, [](QPainter& q) { q.drawEllipse(QPoint(12, 12), 8, 8); });
    p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(18, 18, 28, 28);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(8, 12, 16, 12);
    p.drawLine(12, 8, 12, 16);
    p.end();
    return QCursor(pixmap, 12, 12);
}
} // namespace

QCursor Get(int id)
{
    static const QCursor place = crossHair(false);
    static const QCursor wire = crossHair(true);
    static const QCursor zoom = magnifier();
    switch (id) {
    case IDC_Place:
        return place;
    case IDC_Wire:
        return wire;
    case IDC_Zoom:
        return zoom;
    }
    return QCursor(Qt::ArrowCursor);
}
} // namespace cursors
