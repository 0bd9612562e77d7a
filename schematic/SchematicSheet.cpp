#include "SchematicSheet.h"

#include "CComponent.h"
#include "CDrawing.h"
#include "CTorvex2Doc.h"
#include "ComponentTypeId.h"
#include "Dc.h"

#include <cmath>
#include <optional>
#include <vector>

namespace sheet {

namespace {
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
constexpr int kZones = 8;
constexpr int kTick = 144;
constexpr int kZoneTextHeight = 200;

void line(Dc& dc, qint64 x1, qint64 y1, qint64 x2, qint64 y2)
{
    dc.MoveTo(int(x1), int(y1));
    dc.LineTo(int(x2), int(y2));
}

// Of the grid places first..last, the first that falls on each device coordinate: places under a
// pixel apart share pixels, and each pixel is set once however many points lie in it. The device
// coordinate grows or shrinks steadily with the place.
template <class Device> std::vector<qint64> distinctPlaces(qint64 first, qint64 last, Device device)
{
    std::vector<qint64> places;
    for (qint64 k = first; k <= last;) {
        places.push_back(k);
        const qint64 at = device(k);
        // Gallop to a place beyond this pixel, then halve back to the first one.
        qint64 reach = 1;
        while (k + reach <= last && device(k + reach) == at)
            reach *= 2;
        qint64 low = k + reach / 2, high = std::min(k + reach, last + 1);
        while (high - low > 1) {
            const qint64 mid = low + (high - low) / 2;
            (device(mid) == at ? low : high) = mid;
        }
        k = high;
    }
    return places;
}

void drawGrid(Dc& dc, const Rect& frame, qint32 step, const Rect& area)
{
    if (step <= 0) return;
    // Only the columns and rows that meet the area.
    const qint64 i0 = std::max<qint64>(0, (qint64(area.left) - frame.left + step - 1) / step);
    const qint64 i1 = (std::min<qint64>(frame.right, area.right) - frame.left) / step;
    const qint64 j0 = std::max<qint64>(0, (qint64(frame.top) - area.top + step - 1) / step);
    const qint64 j1 = (qint64(frame.top) - std::max<qint64>(frame.bottom, area.bottom)) / step;
    const DcMapping& m = dc.Mapping();
    const std::vector<qint64> columns =
        distinctPlaces(i0, i1, [&](qint64 i) { return m.DeviceX(frame.left + i * step); });
    const std::vector<qint64> rows =
        distinctPlaces(j0, j1, [&](qint64 j) { return m.DeviceY(frame.top - j * step); });
    std::vector<QPoint> row;
    row.reserve(columns.size());
    for (const qint64 j : rows) {
        row.clear();
        for (const qint64 i : columns)
            row.emplace_back(int(frame.left + i * step), int(frame.top - j * step));
        dc.SetPixels(row, kBlack);
    }
}

void drawZoneBorder(Dc& dc, const Rect& frame)
{
    const qint64 l = frame.left, t = frame.top, r = frame.right, b = frame.bottom;
    const qint64 band = kZoneBand;
    const Rect bands[] = {{int(l - band), int(t + band), int(r + band), int(t)},
                          {int(l - band), int(b), int(r + band), int(b - band)},
                          {int(l - band), int(t), int(l), int(b)},
                          {int(r), int(t), int(r + band), int(b)}};
    if (std::none_of(std::begin(bands), std::end(bands), [&dc](const Rect& x) { return dc.RectVisible(x); }))
        return;
    line(dc, l - band, t + band, r + band, t + band);
    line(dc, r + band, t + band, r + band, b - band);
    line(dc, r + band, b - band, l - band, b - band);
    line(dc, l - band, b - band, l - band, t + band);

    const Font oldFont = dc.SelectObject(CDrawing::CreateArialFont(kZoneTextHeight));
    const QColor oldText = dc.SetTextColor(kBlack);
    const qint64 stepX = (r - l) / kZones, stepY = (t - b) / kZones;
    for (int i = 0; i < kZones; ++i) {
        const qint64 x = l + i * stepX, y = t - i * stepY;
        if (i > 0) {
            line(dc, x, t, x, t + kTick);
            line(dc, x, b, x, b - kTick);
            line(dc, l, y, l - kTick, y);
            line(dc, r, y, r + kTick, y);
        }
        const QString number = QString::number(i + 1);
        const qint64 mx = x + stepX / 2 - 80;
        dc.TextOut(int(mx), int(t + 288), number);
        dc.TextOut(int(mx), int(b - 144), number);
        const QString letter(QChar(u'A' + i));
        const qint64 my = y - stepY / 2 + 80;
        dc.TextOut(int(l - 288), int(my), letter);
        dc.TextOut(int(r + 144), int(my), letter);
    }
    dc.SetTextColor(oldText);
    dc.SelectObject(oldFont);
}
} // namespace

Rect Frame(const Rect& page)
{
    return Rect{SaturateInt(qint64(page.left) + kFrameInset), SaturateInt(qint64(page.top) - kFrameInset),
                SaturateInt(qint64(page.right) - kFrameInset),
                SaturateInt(qint64(page.bottom) + kFrameInset)};
}

namespace {

// Where a drawing goes that only its box is wanted of: every point drawn widens the box, an arc by
// its whole ellipse, a text by its cell.
class BoxDevice : public DcDevice {
public:
    void Output(const Dc& dc, const DcPrimitive& p) override
    {
        for (QPoint q : p.points)
            Add(q);
        if (p.kind == DcShape::Text && !p.points.empty()) {
            const QSize size = TextExtent(dc, p.text);
            Add(p.points[0] + QPoint(size.width(), -size.height()));
        }
    }
    // Half a cell wide a character: a symbol's numbers stand inside it anyway.
    QSize TextExtent(const Dc& dc, QStringView text) override
    {
        const int cell = std::abs(dc.GetCurrentFont().height);
        return QSize(int(text.size()) * cell / 2, cell);
    }
    void Add(QPoint q)
    {
        box = box ? Rect{std::min(box->left, q.x()), std::max(box->top, q.y()), std::max(box->right, q.x()),
                         std::min(box->bottom, q.y())}
                  : Rect{q.x(), q.y(), q.x(), q.y()};
    }

    std::optional<Rect> box;
};

class BoxDc : public Dc {
public:
    BoxDc()
        : Dc(nullptr, 96, 96, false,
             QRect(QPoint(-kEverywhere, -kEverywhere), QPoint(kEverywhere, kEverywhere)))
    {
        SetDevice(&device);
        SetMapMode(MM_TWIPS);
    }
    BoxDevice device;

private:
    static constexpr int kEverywhere = 1 << 28;
};

} // namespace

std::optional<Rect> DrawnBox(CComponent& object)
{
    BoxDc dc;
    // The stored extent stays as the last real drawing left it.
    const Rect kept = object.Extent;
    object.Draw(dc);
    object.Extent = kept;
    return dc.device.box;
}

DeviceBox ToDevice(const DcMapping& mapping, const Rect& page)
{
    const qint64 x1 = mapping.DeviceX(page.left), x2 = mapping.DeviceX(page.right);
    const qint64 y1 = mapping.DeviceY(page.top), y2 = mapping.DeviceY(page.bottom);
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

DeviceBox ToDevice(const QRect& device)
{
    return {device.left(), device.top(), qint64(device.right()) + 1, qint64(device.bottom()) + 1};
}

DeviceBox PinSquare(const DcMapping& mapping, const CComponent& pin)
{
    const int r = pin.Selected ? 4 : 3;
    const qint64 x = mapping.DeviceX(pin.Position.x()), y = mapping.DeviceY(pin.Position.y());
    return {x - r, y - r, x + r, y + r};
}

DeviceBox HitBox(const DcMapping& mapping, CComponent& object, int wireSlack)
{
    if (object.TypeId == TypeTerminal) return PinSquare(mapping, object);
    const DeviceBox box = ToDevice(mapping, object.Extent);
    if (object.TypeId == TypeWire) return box.Inflated(wireSlack);
    if (object.GetAttachmentCount() <= 0) return box;
    const std::optional<Rect> drawn = DrawnBox(object);
    if (!drawn) return box;
    const DeviceBox strokes = ToDevice(mapping, *drawn).Inflated(1);
    return {std::min(box.left, strokes.left), std::min(box.top, strokes.top),
            std::max(box.right, strokes.right), std::max(box.bottom, strokes.bottom)};
}

bool IsAttachment(const CComponent& object)
{
    return (object.TypeId == TypeTerminal || object.TypeId == TypeLabel) && object.GetAttachmentCount() == 0;
}

namespace {
template <class List, class It> It groupEnd(List& list, It head)
{
    int n = (*head)->GetAttachmentCount();
    It end = std::next(head);
    for (; n > 0 && end != list.end() && IsAttachment(**end); --n)
        ++end;
    return end;
}
} // namespace

ComponentList::iterator GroupEnd(ComponentList& list, ComponentList::iterator head)
{
    return groupEnd(list, head);
}

ComponentList::const_iterator GroupEnd(const ComponentList& list, ComponentList::const_iterator head)
{
    return groupEnd(list, head);
}

bool GroupIntact(const ComponentList& list, ComponentList::const_iterator head)
{
    if (head == list.end() || IsAttachment(**head)) return false;
    const int count = (*head)->GetAttachmentCount();
    int found = 0;
    bool pinSeen = false;
    for (auto it = std::next(head); found < count; ++it, ++found) {
        if (it == list.end() || !IsAttachment(**it)) return false;
        if ((*it)->TypeId == TypeTerminal)
            pinSeen = true;
        else if (pinSeen)
            return false;
    }
    return true;
}

void DrawObjects(Dc& dc, ComponentList& objects)
{
    const DeviceBox clip = ToDevice(dc.DeviceClip());
    const DcMapping& mapping = dc.Mapping();
    // An attachment is drawn with its object, and also on its own when the repainted area holds
    // it but not the object: a label reaches well beyond its part.
    bool headDrawn = false;
    for (const auto& object : objects) {
        const bool attachment = IsAttachment(*object);
        const bool meets = HitBox(mapping, *object, 0).Inflated(1).Meets(clip);
        if (attachment ? headDrawn || meets : meets) object->Draw(dc);
        if (!attachment) headDrawn = meets;
    }
}

void Draw(Dc& dc, CTorvex2Doc& doc)
{
    const Rect clip = dc.GetClipBox();
    constexpr int kMargin = 1440;
    const Rect area{SaturateInt(qint64(clip.left) - kMargin), SaturateInt(qint64(clip.top) + kMargin),
                    SaturateInt(qint64(clip.right) + kMargin), SaturateInt(qint64(clip.bottom) - kMargin)};
    dc.FillSolidRect(area, kWhite);

    const Rect frame = Frame(doc.PageRect);
    const Pen oldPen = dc.SelectObject(Pen(Pen::Solid, 0, kBlack));
    line(dc, frame.left, frame.top, frame.right, frame.top);
    line(dc, frame.right, frame.top, frame.right, frame.bottom);
    line(dc, frame.right, frame.bottom, frame.left, frame.bottom);
    line(dc, frame.left, frame.bottom, frame.left, frame.top);
    if (doc.ShowGrid) drawGrid(dc, frame, doc.GridSpacing, area);
    drawZoneBorder(dc, frame);
    dc.SelectObject(oldPen);

    DrawObjects(dc, doc.Components());
}

} // namespace sheet
