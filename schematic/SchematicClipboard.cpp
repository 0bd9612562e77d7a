#include "SchematicClipboard.h"

#include "Archive.h"
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "DcPainter.h"
#include "DcSvg.h"
#include "SchematicSheet.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <QPainter>

namespace clipboard {

namespace {
constexpr int kDpi = 96;
// White space around the picture, in pixels.
constexpr int kMargin = 8;
// Pictures larger than this (per side, in pixels) are drawn smaller.
constexpr int kMaxPicture = 4096;

// Maps page twips at the zoom so that the page point `origin` lands on device (x, y).
void prepare(Dc& dc, int zoom, QPoint origin, QPoint device)
{
    dc.SetMapMode(MM_TWIPS);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.ScaleViewportExt(zoom, 100, zoom, 100);
    dc.SetWindowOrg(origin);
    dc.SetViewportOrg(device);
}
} // namespace

QByteArray WriteObjects(const std::vector<CComponent*>& objects)
{
    QByteArray bytes;
    Archive ar(&bytes);
    ar.WriteCount(quint32(objects.size()));
    for (CComponent* o : objects)
        ar.WriteObject(*o);
    return bytes;
}

ComponentList ReadObjects(const QByteArray& payload)
{
    Archive ar(payload);
    return CTorvex2Doc::ReadObjectList(ar);
}

QString UnreadableMessage()
{
    return QStringLiteral("The clipboard does not hold schematic objects this program can read.");
}

namespace {
struct Layout {
    int zoom;
    QSize size;
    QPoint origin; // the page point at the picture's top-left corner (inside the margin)
};

// Draws the objects once at the zoom, which leaves every extent as drawn; the picture is the box
// around them. A picture too large for the clipboard is drawn at a smaller zoom.
Layout layOut(ComponentList& objects, int zoom)
{
    for (;;) {
        constexpr int kHalf = 1 << 29;
        SvgDc measure(QSize(2 * kHalf, 2 * kHalf), kDpi);
        prepare(measure, zoom, objects.front()->Position, QPoint(kHalf, kHalf));
        sheet::DrawObjects(measure, objects);
        sheet::DeviceBox box = sheet::HitBox(measure.Mapping(), *objects.front(), 1);
        for (const auto& o : objects) {
            const sheet::DeviceBox b = sheet::HitBox(measure.Mapping(), *o, 1);
            box = {std::min(box.left, b.left), std::min(box.top, b.top), std::max(box.right, b.right),
                   std::max(box.bottom, b.bottom)};
        }
        const qint64 w = box.right - box.left + 2 * kMargin, h = box.bottom - box.top + 2 * kMargin;
        const int smaller = int(std::max<qint64>(10, zoom * kMaxPicture / std::max<qint64>({w, h, 1})));
        if (std::max(w, h) <= kMaxPicture || smaller >= zoom)
            return {zoom, QSize(int(std::min<qint64>(w, kMaxPicture)), int(std::min<qint64>(h, kMaxPicture))),
                    measure.DPtoLP(QPoint(int(box.left), int(box.top)))};
        zoom = smaller;
    }
}
} // namespace

QMimeData* MakeMimeData(const QByteArray& payload, int zoom)
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kMimeType), payload);
    ComponentList objects;
    try {
        objects = ReadObjects(payload);
    } catch (const ArchiveError&) {
        return data;
    }
    if (objects.empty()) return data;
    const Layout layout = layOut(objects, std::clamp(zoom, 10, 1000));

    QImage image(layout.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PainterDc dc(painter, QRect(QPoint(0, 0), layout.size), kDpi, kDpi);
        prepare(dc, layout.zoom, layout.origin, QPoint(kMargin, kMargin));
        sheet::DrawObjects(dc, objects);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    data->setImageData(image);
    data->setData(QStringLiteral("image/png"), png);

    SvgDc svg(layout.size, kDpi);
    prepare(svg, layout.zoom, layout.origin, QPoint(kMargin, kMargin));
    sheet::DrawObjects(svg, objects);
    data->setData(QStringLiteral("image/svg+xml"), svg.Document());
    return data;
}

QByteArray Payload(const QMimeData* data)
{
    return data ? data->data(QString::fromLatin1(kMimeType)) : QByteArray();
}

bool HasPayload(const QMimeData* data)
{
    return data && data->hasFormat(QString::fromLatin1(kMimeType));
}

} // namespace clipboard
