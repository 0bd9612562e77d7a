#include "DcPainter.h"

#include "DcWideLine.h"

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {
QPointF toDevice(const DcMapping& m, QPoint p)
{
    return QPointF(double(m.DeviceX(p.x())), double(m.DeviceY(p.y())));
}

// The two corners as a device rectangle in the usual order.
QRectF deviceBox(const DcMapping& m, QPoint a, QPoint b)
{
    return QRectF(toDevice(m, a), toDevice(m, b)).normalized();
}

// Filled shapes leave out their right and bottom pixel column and row, as the platform draws them.
QRectF shapeRect(const QRectF& box)
{
    return QRectF(box.left(), box.top(), std::max(box.width() - 1, 0.0), std::max(box.height() - 1, 0.0));
}

// The angle of a point on the box's ellipse, as the painter's arcs count it (counterclockwise on
// the device, in 1/16 degree, measured on the circle the ellipse is stretched from).
double arcAngle(const QRectF& box, QPointF p)
{
    const QPointF c = box.center();
    const double rx = box.width() / 2, ry = box.height() / 2;
    return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180.0 / std::numbers::pi;
}

QImage patternImage(const Brush& b)
{
    QImage img(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            img.setPixel(x, y, ((b.rows[y] >> (7 - x)) & 1 ? b.color : b.background).rgb());
    return img;
}

// A wide pen's outline of one long zigzag costs the painter far more to fill than the outlines of
// its pieces, and the pieces cover the same pixels: a wide pen's ends are as round as its joins.
constexpr qsizetype kStrokePiece = 16;

// The pen's width in device pixels: its logical width scaled, one pixel at least.
int deviceWidth(const Pen& pen, double scale)
{
    return pen.width <= 0 ? 1 : std::max(1, int(std::lround(pen.width * scale)));
}

bool missesClip(const Dc& dc, const QRectF& bounds, double margin)
{
    const QRect clip = dc.DeviceClip();
    if (clip.isEmpty()) return true;
    return !bounds.adjusted(-margin, -margin, margin + 1, margin + 1).intersects(QRectF(clip));
}
} // namespace

PainterDevice::PainterDevice(QPainter& painter)
    : m_Painter(&painter), m_OwnClipping(painter.hasClipping()), m_OwnClip(painter.clipRegion())
{
}

void PainterDevice::ClipChanged(const Dc& dc)
{
    const QRegion clip(dc.DeviceClip());
    m_Painter->setClipRegion(m_OwnClipping ? m_OwnClip.intersected(clip) : clip);
}

void PainterDevice::ApplyPen(const Dc& dc)
{
    const Pen& pen = dc.GetCurrentPen();
    const double scale = std::abs(dc.Mapping().ScaleX());
    if (m_Pen && *m_Pen == pen && m_PenScale == scale) return;
    m_Pen = pen;
    m_TextColor = QColor();
    m_PenScale = scale;
    if (pen.style == Pen::Null) {
        m_Painter->setPen(Qt::NoPen);
        return;
    }
    const int width = deviceWidth(pen, scale);
    // A one-pixel line leaves out its last pixel; wider lines have round ends.
    QPen q(pen.color, width, Qt::SolidLine, width > 1 ? Qt::RoundCap : Qt::FlatCap, Qt::RoundJoin);
    if (pen.style == Pen::Dot) {
        // Dots and gaps of three pixels, or of the line's width when it is wider.
        const double unit = width >= 3 ? 1.0 : 3.0 / width;
        q.setDashPattern({unit, unit});
        q.setCapStyle(Qt::FlatCap);
    }
    m_Painter->setPen(q);
}

bool PainterDevice::FillWideLine(const Dc& dc, std::span<const QPointF> points)
{
    const Pen& pen = dc.GetCurrentPen();
    if (pen.style != Pen::Solid || pen.color.alpha() != 255 || points.size() < 2) return false;
    const int width = deviceWidth(pen, std::abs(dc.Mapping().ScaleX()));
    if (width < 2) return false;

    // Only a raster image draws at once, and only without blending, antialiasing, a turn or a
    // clip of the painter's own does it set the pixels computed here.
    QPaintDevice* device = m_Painter->device();
    if (device->devType() != QInternal::Image || m_OwnClipping) return false;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return false;
    const QPaintEngine* engine = m_Painter->paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->systemClip().isEmpty()) return false;
    if (m_Painter->testRenderHint(QPainter::Antialiasing) || m_Painter->opacity() != 1.0) return false;
    const QPainter::CompositionMode mode = m_Painter->compositionMode();
    if (mode != QPainter::CompositionMode_SourceOver && mode != QPainter::CompositionMode_Source)
        return false;
    const QTransform& t = m_Painter->deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() <= 0 || t.m11() != t.m22()) return false;

    PixelRows rows;
    // The painter writes into this very buffer; asking for writable bits could copy it away.
    rows.bits = const_cast<uchar*>(image->constBits());
    rows.bytesPerLine = image->bytesPerLine();
    rows.clip = t.mapRect(dc.DeviceClip()) & image->rect();
    const quint32 pixel = 0xFF000000u | (pen.color.rgb() & 0xFFFFFFu);
    if (t.isIdentity()) {
        FillRoundPolyline(rows, points, width, pixel);
        return true;
    }
    std::vector<QPointF> mapped(points.size());
    std::transform(points.begin(), points.end(), mapped.begin(), [&t](QPointF p) { return t.map(p); });
    FillRoundPolyline(rows, mapped, width * t.m11(), pixel);
    return true;
}

void PainterDevice::ApplyBrush(const Dc& dc)
{
    const Brush& brush = dc.GetCurrentBrush();
    if (m_Brush && *m_Brush == brush) return;
    m_Brush = brush;
    switch (brush.style) {
    case Brush::Null:
        m_Painter->setBrush(Qt::NoBrush);
        break;
    case Brush::Solid:
        m_Painter->setBrush(brush.color);
        break;
    case Brush::Pattern:
        m_Painter->setBrush(QBrush(patternImage(brush)));
        break;
    }
}

namespace {
// The cell height (ascent + descent) of a font per pixel of its size.
double cellRatio(const QFont& font)
{
    thread_local QHash<QString, double> ratios;
    const QString key =
        font.families().join(u',') + QString::number(font.weight()) + (font.italic() ? u'i' : u'n');
    auto it = ratios.constFind(key);
    if (it != ratios.constEnd()) return *it;
    QFont probe(font);
    probe.setPixelSize(1000);
    const double ratio = std::max(QFontMetricsF(probe).height() / 1000.0, 0.5);
    ratios.insert(key, ratio);
    return ratio;
}
} // namespace

QFont DeviceFontOf(const Font& f, double scale)
{
    QFont q;
    q.setFamilies({f.face, QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    q.setWeight(QFont::Weight(std::clamp(f.weight <= 0 ? 400 : f.weight, 1, 1000)));
    q.setItalic(f.italic);
    // Unhinted glyphs keep their widths in proportion at every zoom, as the extents assume.
    q.setHintingPreference(QFont::PreferNoHinting);
    double pixels;
    if (f.height > 0)
        pixels = f.height * scale / cellRatio(q);
    else if (f.height < 0)
        pixels = -double(f.height) * scale;
    else
        pixels = 16 / cellRatio(q);
    q.setPixelSize(std::max(1, int(std::lround(pixels))));
    return q;
}

PainterDevice::DeviceFont& PainterDevice::FontFor(const Dc& dc)
{
    // Painting happens on one thread at a time per painter; each thread keeps its own fonts.
    thread_local std::vector<std::shared_ptr<DeviceFont>> fonts;
    const Font& f = dc.GetCurrentFont();
    const double scale = std::abs(dc.Mapping().ScaleY());
    const int dpi = m_Painter->device()->logicalDpiY();
    const auto same = [&](const DeviceFont& d) { return d.scale == scale && d.dpi == dpi && d.font == f; };
    if (m_CurrentFont && same(*m_CurrentFont)) return *m_CurrentFont;
    for (const auto& d : fonts)
        if (same(*d)) return *(m_CurrentFont = d);
    // A drawing uses a few fonts; a long zooming session would pile up sizes.
    if (fonts.size() >= 16) fonts.clear();

    auto d = std::make_shared<DeviceFont>();
    d->font = f;
    d->scale = scale;
    d->dpi = dpi;
    d->qfont = DeviceFontOf(f, scale);
    d->metrics = QFontMetricsF(d->qfont, m_Painter->device());
    fonts.push_back(d);
    return *(m_CurrentFont = std::move(d));
}

const PainterDevice::LaidText& PainterDevice::Laid(DeviceFont& font, const QString& text)
{
    auto it = font.texts.find(text);
    if (it != font.texts.end()) return *it;
    if (font.texts.size() >= 20000) font.texts.clear();
    QStaticText laid(text);
    laid.setTextFormat(Qt::PlainText);
    laid.setPerformanceHint(QStaticText::AggressiveCaching);
    return *font.texts.insert(text, LaidText{laid, font.metrics.horizontalAdvance(text)});
}

QSize PainterDevice::TextExtent(const Dc& dc, QStringView text)
{
    DeviceFont& f = FontFor(dc);
    const double w = Laid(f, text.toString()).width;
    const double h = f.metrics.height();
    const DcMapping& m = dc.Mapping();
    return QSize(int(std::lround(w / std::abs(m.ScaleX()))), int(std::lround(h / std::abs(m.ScaleY()))));
}

void PainterDevice::Output(const Dc& dc, const DcPrimitive& p)
{
    const DcMapping& m = dc.Mapping();
    const double penMargin =
        dc.GetCurrentPen().style == Pen::Null ? 0 : std::abs(dc.GetCurrentPen().width * m.ScaleX()) / 2 + 1;
    switch (p.kind) {
    case DcShape::Line:
        OutputLine(dc, p, penMargin);
        break;
    case DcShape::Polyline:
    case DcShape::Polygon:
        OutputPoly(dc, p, penMargin);
        break;
    case DcShape::Rectangle:
    case DcShape::Ellipse:
        OutputShape(dc, p, penMargin);
        break;
    case DcShape::Arc:
        OutputArc(dc, p, penMargin);
        break;
    case DcShape::Text:
        OutputText(dc, p);
        break;
    case DcShape::Pixel:
        OutputPixels(dc, p);
        break;
    case DcShape::Fill: {
        const QRectF box = deviceBox(m, p.points[0], p.points[1]);
        if (!missesClip(dc, box, 0)) m_Painter->fillRect(box, p.color);
        break;
    }
    }
}

void PainterDevice::OutputLine(const Dc& dc, const DcPrimitive& p, double penMargin)
{
    const DcMapping& m = dc.Mapping();
    const QPointF ends[] = {toDevice(m, p.points[0]), toDevice(m, p.points[1])};
    if (missesClip(dc, QRectF(ends[0], ends[1]).normalized(), penMargin)) return;
    if (FillWideLine(dc, ends)) return;
    ApplyPen(dc);
    m_Painter->drawLine(ends[0], ends[1]);
}

void PainterDevice::OutputPoly(const Dc& dc, const DcPrimitive& p, double penMargin)
{
    const DcMapping& m = dc.Mapping();
    QPolygonF poly;
    poly.reserve(qsizetype(p.points.size()));
    for (const QPoint& pt : p.points)
        poly << toDevice(m, pt);
    if (missesClip(dc, poly.boundingRect(), penMargin)) return;
    if (p.kind == DcShape::Polyline && FillWideLine(dc, poly)) return;
    ApplyPen(dc);
    if (p.kind == DcShape::Polygon) {
        ApplyBrush(dc);
        m_Painter->drawPolygon(poly, Qt::OddEvenFill);
        return;
    }
    if (m_Painter->pen().widthF() <= 1) {
        m_Painter->drawPolyline(poly);
        return;
    }
    for (qsizetype from = 0; from + 1 < poly.size(); from += kStrokePiece - 1)
        m_Painter->drawPolyline(poly.constData() + from, int(std::min(kStrokePiece, poly.size() - from)));
}

void PainterDevice::OutputShape(const Dc& dc, const DcPrimitive& p, double penMargin)
{
    const QRectF box = deviceBox(dc.Mapping(), p.points[0], p.points[1]);
    if (missesClip(dc, box, penMargin)) return;
    ApplyPen(dc);
    ApplyBrush(dc);
    if (p.kind == DcShape::Rectangle)
        m_Painter->drawRect(shapeRect(box));
    else
        m_Painter->drawEllipse(shapeRect(box));
}

void PainterDevice::OutputArc(const Dc& dc, const DcPrimitive& p, double penMargin)
{
    const DcMapping& m = dc.Mapping();
    const QRectF box = deviceBox(m, p.points[0], p.points[1]);
    if (box.width() < 1 || box.height() < 1 || missesClip(dc, box, penMargin)) return;
    const double from = arcAngle(box, toDevice(m, p.points[2]));
    double span = arcAngle(box, toDevice(m, p.points[3])) - from;
    while (span <= 0)
        span += 360;
    ApplyPen(dc);
    m_Painter->drawArc(shapeRect(box), int(std::lround(from * 16)), int(std::lround(span * 16)));
}

void PainterDevice::OutputText(const Dc& dc, const DcPrimitive& p)
{
    if (p.text.isEmpty()) return;
    DeviceFont& f = FontFor(dc);
    const QPointF at = toDevice(dc.Mapping(), p.points[0]);
    const double height = f.metrics.height();
    // No glyph is wider than its cell is high: most texts away from the clip go unmeasured.
    if (missesClip(dc, QRectF(at, QSizeF(double(p.text.size()) * height, height)), 0)) return;
    const LaidText& laid = Laid(f, p.text.toString());
    const QRectF cell(at, QSizeF(laid.width, height));
    if (missesClip(dc, cell, 0)) return;
    if (dc.GetBkMode() == BkMode::Opaque) m_Painter->fillRect(cell, dc.GetBkColor());
    // Labels come in runs: the painter keeps the font and colour of the last text.
    if (m_TextFont.get() != &f) {
        m_Painter->setFont(f.qfont);
        m_TextFont = m_CurrentFont;
    }
    if (m_TextColor != dc.GetTextColor()) {
        m_Painter->setPen(dc.GetTextColor());
        m_TextColor = dc.GetTextColor();
        m_Pen.reset();
    }
    m_Painter->drawStaticText(at, laid.text);
}

void PainterDevice::OutputPixels(const Dc& dc, const DcPrimitive& p)
{
    const DcMapping& m = dc.Mapping();
    if (p.points.size() == 1) {
        const QPointF at = toDevice(m, p.points[0]);
        if (!missesClip(dc, QRectF(at, at), 0)) m_Painter->fillRect(QRectF(at, QSizeF(1, 1)), p.color);
        return;
    }
    // One pixel wide points at whole pixels cover exactly their pixels; the clip drops the rest.
    QPolygon dots;
    dots.reserve(qsizetype(p.points.size()));
    for (const QPoint& pt : p.points)
        dots << QPoint(int(m.DeviceX(pt.x())), int(m.DeviceY(pt.y())));
    if (missesClip(dc, dots.boundingRect(), 0)) return;
    m_Painter->setPen(QPen(p.color, 0));
    m_Pen.reset();
    m_TextColor = QColor();
    m_Painter->drawPoints(dots);
}

// ---- PainterDc ----

PainterDc::PainterDc(QPainter& painter, QRect deviceClip, int dpiX, int dpiY, bool printing)
    : Dc(nullptr, dpiX, dpiY, printing, deviceClip), m_Output(painter)
{
    SetDevice(&m_Output);
}

namespace {
QRect wholeDevice(const QPainter& painter)
{
    const QPaintDevice* d = painter.device();
    return QRect(0, 0, d->width(), d->height());
}
} // namespace

PainterDc::PainterDc(QPainter& painter, bool printing)
    : PainterDc(painter, wholeDevice(painter), painter.device()->logicalDpiX(),
                painter.device()->logicalDpiY(), printing)
{
}

PainterDc::~PainterDc() = default;
