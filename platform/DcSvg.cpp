#include "DcSvg.h"

#include "DcPainter.h"

#include <QFontMetricsF>
#include <QRectF>

#include <cmath>
#include <numbers>

namespace {
QPointF toDevice(const DcMapping& m, QPoint p)
{
    return QPointF(double(m.DeviceX(p.x())), double(m.DeviceY(p.y())));
}

QString number(double v)
{
    return QString::number(v, 'f', 1);
}

QString colour(const QColor& c)
{
    return c.name(QColor::HexRgb);
}

QString escaped(QStringView text)
{
    return text.toString().toHtmlEscaped();
}

// The point of the box's ellipse on the ray from its centre towards p.
QPointF onEllipse(const QRectF& box, QPointF p)
{
    const QPointF c = box.center();
    const double rx = box.width() / 2, ry = box.height() / 2;
    const double angle = std::atan2((p.y() - c.y()) / ry, (p.x() - c.x()) / rx);
    return QPointF(c.x() + rx * std::cos(angle), c.y() + ry * std::sin(angle));
}
} // namespace

class SvgDc::Writer : public DcDevice {
public:
    explicit Writer(QSize size) : m_Size(size) {}

    void Output(const Dc& dc, const DcPrimitive& p) override
    {
        const DcMapping& m = dc.Mapping();
        switch (p.kind) {
        case DcShape::Line: {
            const QPointF a = toDevice(m, p.points[0]), b = toDevice(m, p.points[1]);
            Add(QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" %5/>")
                    .arg(number(a.x()), number(a.y()), number(b.x()), number(b.y()), Stroke(dc)));
            break;
        }
        case DcShape::Polyline:
        case DcShape::Polygon: {
            QStringList points;
            for (const QPoint& pt : p.points) {
                const QPointF d = toDevice(m, pt);
                points << number(d.x()) + u',' + number(d.y());
            }
            const bool closed = p.kind == DcShape::Polygon;
            Add(QStringLiteral("<%1 points=\"%2\" %3 %4/>")
                    .arg(closed ? QStringLiteral("polygon") : QStringLiteral("polyline"), points.join(u' '),
                         Stroke(dc), closed ? Fill(dc) : QStringLiteral("fill=\"none\"")));
            break;
        }
        case DcShape::Rectangle:
        case DcShape::Ellipse:
        case DcShape::Fill: {
            const QRectF box = QRectF(toDevice(m, p.points[0]), toDevice(m, p.points[1])).normalized();
            if (p.kind == DcShape::Ellipse) {
                Add(QStringLiteral("<ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" %5 %6/>")
                        .arg(number(box.center().x()), number(box.center().y()), number(box.width() / 2),
                             number(box.height() / 2), Stroke(dc), Fill(dc)));
                break;
            }
            const QString paint = p.kind == DcShape::Fill
                                      ? QStringLiteral("stroke=\"none\" fill=\"%1\"").arg(colour(p.color))
                                      : Stroke(dc) + u' ' + Fill(dc);
            Add(QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" %5/>")
                    .arg(number(box.x()), number(box.y()), number(box.width()), number(box.height()), paint));
            break;
        }
        case DcShape::Arc: {
            const QRectF box = QRectF(toDevice(m, p.points[0]), toDevice(m, p.points[1])).normalized();
            if (box.width() <= 0 || box.height() <= 0) return;
            const QPointF from = onEllipse(box, toDevice(m, p.points[2]));
            const QPointF to = onEllipse(box, toDevice(m, p.points[3]));
            const QPointF c = box.center();
            // Counterclockwise as the device shows it, which is SVG's negative sweep.
            const double a1 = std::atan2(-(from.y() - c.y()), from.x() - c.x());
            double sweep = std::atan2(-(to.y() - c.y()), to.x() - c.x()) - a1;
            while (sweep <= 0)
                sweep += 2 * std::numbers::pi;
            const double rx = box.width() / 2, ry = box.height() / 2;
            QString path = QStringLiteral("M %1 %2 ").arg(number(from.x()), number(from.y()));
            if (sweep >= 2 * std::numbers::pi - 1e-9) {
                // The whole ellipse: two halves, as one arc cannot end where it starts.
                const QPointF opposite(2 * c.x() - from.x(), 2 * c.y() - from.y());
                path += QStringLiteral("A %1 %2 0 1 0 %3 %4 ")
                            .arg(number(rx), number(ry), number(opposite.x()), number(opposite.y()));
            }
            path += QStringLiteral("A %1 %2 0 %3 0 %4 %5")
                        .arg(number(rx), number(ry),
                             sweep > std::numbers::pi ? QStringLiteral("1") : QStringLiteral("0"),
                             number(to.x()), number(to.y()));
            Add(QStringLiteral("<path d=\"%1\" %2 fill=\"none\"/>").arg(path, Stroke(dc)));
            break;
        }
        case DcShape::Text: {
            if (p.text.isEmpty()) return;
            const QFont font = DeviceFontOf(dc.GetCurrentFont(), std::abs(m.ScaleY()));
            const QFontMetricsF metrics(font);
            const QPointF at = toDevice(m, p.points[0]);
            if (dc.GetBkMode() == BkMode::Opaque)
                Add(QStringLiteral(
                        "<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" stroke=\"none\" fill=\"%5\"/>")
                        .arg(number(at.x()), number(at.y()),
                             number(metrics.horizontalAdvance(p.text.toString())), number(metrics.height()),
                             colour(dc.GetBkColor())));
            Add(QStringLiteral(
                    "<text x=\"%1\" y=\"%2\" font-family=\"%3\" font-size=\"%4\" font-weight=\"%5\" "
                    "fill=\"%6\" xml:space=\"preserve\">%7</text>")
                    .arg(number(at.x()), number(at.y() + metrics.ascent()), escaped(dc.GetCurrentFont().face),
                         QString::number(font.pixelSize()), QString::number(font.weight()),
                         colour(dc.GetTextColor()), escaped(p.text)));
            break;
        }
        case DcShape::Pixel:
            for (const QPoint& pt : p.points) {
                const QPointF at = toDevice(m, pt);
                Add(QStringLiteral(
                        "<rect x=\"%1\" y=\"%2\" width=\"1\" height=\"1\" stroke=\"none\" fill=\"%3\"/>")
                        .arg(number(at.x()), number(at.y()), colour(p.color)));
            }
            break;
        }
    }

    QSize TextExtent(const Dc& dc, QStringView text) override
    {
        const DcMapping& m = dc.Mapping();
        const QFontMetricsF metrics(DeviceFontOf(dc.GetCurrentFont(), std::abs(m.ScaleY())));
        return QSize(int(std::lround(metrics.horizontalAdvance(text.toString()) / std::abs(m.ScaleX()))),
                     int(std::lround(metrics.height() / std::abs(m.ScaleY()))));
    }

    QByteArray Document() const
    {
        QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                                     "viewBox=\"0 0 %1 %2\">\n")
                          .arg(m_Size.width())
                          .arg(m_Size.height());
        svg += m_Body;
        svg += QStringLiteral("</svg>\n");
        return svg.toUtf8();
    }

private:
    void Add(const QString& element)
    {
        m_Body += element;
        m_Body += u'\n';
    }

    static QString Stroke(const Dc& dc)
    {
        const Pen& pen = dc.GetCurrentPen();
        if (pen.style == Pen::Null) return QStringLiteral("stroke=\"none\"");
        const double width =
            pen.width <= 0 ? 1.0 : std::max(1.0, pen.width * std::abs(dc.Mapping().ScaleX()));
        QString s = QStringLiteral("stroke=\"%1\" stroke-width=\"%2\" stroke-linecap=\"round\"")
                        .arg(colour(pen.color), number(width));
        if (pen.style == Pen::Dot)
            s += QStringLiteral(" stroke-dasharray=\"%1\"").arg(number(std::max(width, 3.0)));
        return s;
    }

    static QString Fill(const Dc& dc)
    {
        const Brush& brush = dc.GetCurrentBrush();
        if (brush.style == Brush::Null) return QStringLiteral("fill=\"none\"");
        return QStringLiteral("fill=\"%1\"").arg(colour(brush.color));
    }

    QSize m_Size;
    QString m_Body;
};

SvgDc::SvgDc(QSize size, int dpi)
    : Dc(nullptr, dpi, dpi, false, QRect(QPoint(0, 0), size)), m_Writer(std::make_unique<Writer>(size))
{
    SetDevice(m_Writer.get());
}

SvgDc::~SvgDc() = default;

QByteArray SvgDc::Document() const
{
    return m_Writer->Document();
}
