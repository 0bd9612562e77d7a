#include "CDrawing.h"

#include "ComponentTypeId.h"
#include "PartAttachments.h"
#include "PartSymbol.h"

#include <QStringList>

#include <algorithm>
#include <optional>
#include <span>

const ClassInfo CDrawing::Class = {"CDrawing", 3, false, &CComponent::Class, &CreatePersistent<CDrawing>};

namespace {

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kGrey(128, 128, 128);
const QColor kPinBlue(0, 0, 255);

// One stroke or circle of a symbol, for orientation 1 with the object's point at the origin.
struct Stroke {
    enum Kind { Line, Ellipse } kind;
    QPoint a, b;
};
struct Symbol {
    ComponentTypeId type;
    QPoint extent[2];
    bool whiteBrush;
    std::span<const Stroke> strokes;
};

constexpr Stroke kGroundStrokes[] = {
    {Stroke::Line, {0, 0}, {144, 0}},
    {Stroke::Line, {144, -144}, {144, 144}},
    {Stroke::Line, {194, 94}, {194, -94}},
    {Stroke::Line, {244, -44}, {244, 44}},
};
constexpr Stroke kProbeStrokes[] = {
    {Stroke::Line, {0, 0}, {288, 40}},
    {Stroke::Line, {288, -40}, {0, 0}},
    {Stroke::Ellipse, {216, 72}, {360, -72}},
};
constexpr Stroke kBubbleStrokes[] = {
    {Stroke::Line, {0, 0}, {144, 0}},
    {Stroke::Ellipse, {144, 50}, {244, -50}},
};
const Symbol kSymbols[] = {
    {TypeGround, {{0, 144}, {288, -144}}, false, kGroundStrokes},
    {TypeVoltageProbe, {{0, 72}, {360, -72}}, true, kProbeStrokes},
    {TypeBubbleConnector, {{0, 50}, {244, -50}}, false, kBubbleStrokes},
};

// What follows a wire (its two ends, placed by the wire itself), a ground, and a probe or bubble, and
// where it goes.
const AttachmentLayout kWireLayout{.named = false, .value = AttachmentLayout::NoValueLabel};
const AttachmentLayout kGroundLayout{.named = false, .value = AttachmentLayout::NoValueLabel, .pins = "1"};
// clang-format off
const AttachmentLayout kNamedPointLayout{.value = AttachmentLayout::NoValueLabel, .pins = "1", .offsets = {{
    // name         pin 1
    {{{200, 300},  {0, 0}}},
    {{{150, -100}, {0, 0}}},
    {{{-400, 300}, {0, 0}}},
    {{{150, 500},  {0, 0}}},
}}};
// clang-format on

const AttachmentLayout* layoutOf(quint32 type)
{
    switch (type) {
    case TypeWire:
        return &kWireLayout;
    case TypeGround:
        return &kGroundLayout;
    case TypeVoltageProbe:
    case TypeBubbleConnector:
        return &kNamedPointLayout;
    }
    return nullptr;
}

// A label's text on one line, or on two split at the first comma (a part's model name over its
// parameters); initial conditions such as "IC=0,0" stay on one line.
QStringList labelLines(const QString& text)
{
    const qsizetype comma = text.indexOf(u',');
    if (comma < 0 || text.startsWith(QLatin1String("IC"))) return {text};
    return {text.left(comma).trimmed(), text.mid(comma + 1).trimmed()};
}

} // namespace

CDrawing::CDrawing() : CComponent(kDialogTemplate) {}

CDrawing::CDrawing(quint32 typeId) : CComponent(kDialogTemplate, typeId)
{
    if (typeId == TypeWire) Orientation = 0;
    if (typeId == TypeGround) Orientation = 2;
    if (typeId == TypeVoltageProbe) Orientation = 4;
}

CDrawing::CDrawing(const CComponent& source) : CComponent(source, kDialogTemplate) {}

// ---- geometry and colours ----

QColor CDrawing::SymbolColor(const CComponent& object)
{
    if (object.Selected) return SelectedColor();
    return object.State == 1 ? QColor(0, 128, 0) : kGrey;
}

QPoint CDrawing::Turn(int orientation, QPoint offset)
{
    return SymbolTurn::Standard(orientation).value_or(SymbolTurn{1, 0, 0, 1})(offset);
}

QPoint CDrawing::Shifted(QPoint origin, qint64 dx, qint64 dy)
{
    return {SaturateInt(origin.x() + dx), SaturateInt(origin.y() + dy)};
}

Rect CDrawing::TurnBox(int orientation, QPoint origin, QPoint corner1, QPoint corner2)
{
    const QPoint a = Shifted(origin, Turn(orientation, corner1));
    const QPoint b = Shifted(origin, Turn(orientation, corner2));
    return Rect{std::min(a.x(), b.x()), std::max(a.y(), b.y()), std::max(a.x(), b.x()),
                std::min(a.y(), b.y())};
}

std::unique_ptr<CDrawing> CDrawing::NewAttachment(quint32 type, const QString& text, bool visible)
{
    auto object = std::make_unique<CDrawing>(type);
    object->Text = text;
    object->State = 1;
    object->Visible = visible ? 1 : 0;
    object->Extent = Rect{};
    return object;
}

int CDrawing::WireDirection(QPoint start, QPoint pointer, int orientation)
{
    const qint64 dx = qint64(start.x()) - pointer.x();
    const qint64 dy = qint64(start.y()) - pointer.y();
    if (dx == 0 && dy == 0) return orientation;
    const int vertical = start.y() > pointer.y() ? 2 : 4;
    const int horizontal = start.x() > pointer.x() ? 3 : 1;
    if (orientation == 0) orientation = dx * dx <= dy * dy ? vertical : horizontal;
    if (dx * dx < 100) orientation = vertical;
    if (dy * dy < 100) orientation = horizontal;
    if ((orientation == 1 && dx > 0) || (orientation == 3 && dx < 0)) orientation = 4 - orientation;
    if ((orientation == 2 && dy < 0) || (orientation == 4 && dy > 0)) orientation = 6 - orientation;
    return orientation;
}

int CDrawing::DropDirection(QPoint start, QPoint drop, int orientation)
{
    if (drop.y() == start.y()) orientation = drop.x() > start.x() ? 1 : 3;
    if (drop.x() == start.x()) orientation = drop.y() > start.y() ? 4 : 2;
    // Without a pointer move between the two clicks no direction has been chosen yet.
    if (orientation < 1 || orientation > 4) orientation = WireDirection(start, drop, 0);
    return orientation;
}

QPoint CDrawing::LegEnd(QPoint start, QPoint drop, int orientation)
{
    const int direction = DropDirection(start, drop, orientation);
    return direction == 1 || direction == 3 ? QPoint(drop.x(), start.y()) : QPoint(start.x(), drop.y());
}

// ---- drawing ----

void CDrawing::Draw(Dc& dc)
{
    switch (TypeId) {
    case TypeTerminal:
        DrawPin(dc);
        break;
    case TypeLabel:
        DrawLabel(dc);
        break;
    case TypeWire:
        DrawWire(dc);
        break;
    case TypeDragBox:
        DrawDragBox(dc);
        break;
    case TypeGround:
    case TypeVoltageProbe:
    case TypeBubbleConnector:
        DrawSymbol(dc);
        break;
    }
}

void CDrawing::DrawPin(Dc& dc)
{
    if (State != 1) return;
    // The dot keeps its size in pixels whatever the zoom.
    const int r = Selected ? 4 : 3;
    const QPoint d = dc.LPtoDP(Position);
    const QPoint topLeft = Shifted(d, -r, -r);
    const QPoint bottomRight = Shifted(d, r, r);
    Extent = dc.DPtoLP(Rect{topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y()});
    if (Visible != 1) return;
    const Pen oldPen = dc.SelectObject(Pen(Pen::Solid, 15, Selected ? SelectedColor() : kPinBlue));
    const Brush oldBrush =
        dc.SelectObject(Selected || Orientation > 2 ? Brush::BlackBrush() : Brush::WhiteBrush());
    if (Orientation > 2)
        dc.Ellipse(Extent);
    else
        dc.Rectangle(Extent);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

void CDrawing::DrawLabel(Dc& dc)
{
    if (Visible != 1) return;
    Extent = DrawTextLines(dc, *this, labelLines(Text));
}

Rect CDrawing::DrawTextLines(Dc& dc, const CComponent& object, const QStringList& lines)
{
    const QColor oldText = dc.SetTextColor(object.Selected     ? SelectedColor()
                                           : object.State != 1 ? kGrey
                                                               : kBlack);
    const QColor oldBk = dc.SetBkColor(kWhite);
    const Font oldFont = dc.SelectObject(CreateArialFont(200));
    const QPoint top = object.Position;
    QPoint at = top;
    int width = 0;
    for (const QString& line : lines) {
        dc.TextOut(at.x(), at.y(), line);
        const QSize size = dc.GetTextExtent(line);
        width = std::max(width, size.width());
        at = Shifted(at, 0, -size.height());
    }
    const QPoint corner = Shifted(at, width, 0);
    dc.SelectObject(oldFont);
    dc.SetBkColor(oldBk);
    dc.SetTextColor(oldText);
    return Rect{top.x(), top.y(), corner.x(), corner.y()};
}

void CDrawing::DrawWire(Dc& dc)
{
    // A wire waiting for its first click has no start yet.
    if (Position == QPoint(0, 0)) return;
    const Pen oldPen = dc.SelectObject(Pen(Pen::Solid, 15, Selected ? SelectedColor() : kBlack));
    const Rect& e = Extent;
    const int sx = Position.x();
    const int sy = Position.y();
    if (State != 0) {
        dc.MoveTo(e.left, e.top);
        dc.LineTo(e.right, e.bottom);
        dc.SelectObject(oldPen);
        return;
    }
    // While it is drawn: the first leg solid, the leg that would follow dotted.
    struct Legs {
        QPoint firstEnd, from, to;
    };
    std::optional<Legs> legs;
    switch (Orientation) {
    case 1:
        legs = Legs{{e.right, sy}, {e.right, e.bottom}, {e.right, e.top}};
        break;
    case 2:
        legs = Legs{{sx, e.bottom}, {e.right, e.bottom}, {e.left, e.bottom}};
        break;
    case 3:
        legs = Legs{{e.left, sy}, {e.left, e.bottom}, {e.left, e.top}};
        break;
    case 4:
        legs = Legs{{sx, e.top}, {e.right, e.top}, {e.left, e.top}};
        break;
    }
    if (legs) {
        dc.MoveTo(Position);
        dc.LineTo(legs->firstEnd);
        dc.SelectObject(Pen(Pen::Dot, 15, kBlack));
        dc.MoveTo(legs->from);
        dc.LineTo(legs->to);
    }
    dc.SelectObject(oldPen);
}

void CDrawing::DrawDragBox(Dc& dc)
{
    const Pen oldPen = dc.SelectObject(Pen(Pen::Dot, 0, kGrey));
    dc.FrameOutline(Extent);
    dc.SelectObject(oldPen);
}

void CDrawing::DrawSymbol(Dc& dc)
{
    const auto symbol = std::find_if(std::begin(kSymbols), std::end(kSymbols),
                                     [this](const Symbol& s) { return s.type == TypeId; });
    if (symbol == std::end(kSymbols)) return;
    const Pen oldPen = dc.SelectObject(SymbolPen(*this));
    const Brush oldBrush = symbol->whiteBrush ? dc.SelectObject(Brush::WhiteBrush()) : dc.GetCurrentBrush();
    for (const Stroke& s : symbol->strokes) {
        if (s.kind == Stroke::Line) {
            dc.MoveTo(Shifted(Position, Turn(Orientation, s.a)));
            dc.LineTo(Shifted(Position, Turn(Orientation, s.b)));
        } else {
            dc.Ellipse(TurnBox(Orientation, Position, s.a, s.b));
        }
    }
    Extent = TurnBox(Orientation, Position, symbol->extent[0], symbol->extent[1]);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

// ---- attachments ----

int CDrawing::GetAttachmentCount() const
{
    const AttachmentLayout* layout = layoutOf(TypeId);
    return layout ? layout->Count() : 0;
}

const AttachmentLayout* CDrawing::AttachmentOrder() const
{
    return layoutOf(TypeId);
}

void CDrawing::CreateAttachments(ComponentHost& doc, int x, int y)
{
    if (TypeId == TypeWire) {
        CreateWireAttachments(doc, x, y);
    } else if (const AttachmentLayout* layout = layoutOf(TypeId)) {
        CreateAttachmentsByLayout(*this, doc, *layout);
    }
}

void CDrawing::CreateWireAttachments(ComponentHost& doc, int x, int y)
{
    ComponentList& list = doc.Components();
    if (Find(list, this) == list.end()) return;
    const int sx = Position.x();
    const int sy = Position.y();
    auto pinA = NewAttachment(TypeTerminal, QStringLiteral("1"));
    auto pinB = NewAttachment(TypeTerminal, QStringLiteral("2"));
    auto next = std::make_unique<CDrawing>(TypeWire);

    int orientation = DropDirection(Position, QPoint(x, y), Orientation);
    QPoint nextStart;
    switch (orientation) {
    case 1:
        Extent = Rect{sx, sy, x, sy};
        nextStart = QPoint(x, sy);
        break;
    case 2:
        Extent = Rect{sx, sy, sx, y};
        nextStart = QPoint(sx, y);
        break;
    case 3:
        Extent = Rect{x, sy, sx, sy};
        orientation = 1;
        nextStart = QPoint(x, sy);
        break;
    case 4:
        Extent = Rect{sx, y, sx, sy};
        orientation = 2;
        nextStart = QPoint(sx, y);
        break;
    }
    Orientation = orientation;
    next->Position = nextStart;
    next->Extent = Extent;
    pinA->Position = QPoint(Extent.left, Extent.top);
    pinB->Position = QPoint(Extent.right, Extent.bottom);

    list.push_back(std::move(pinA));
    list.push_back(std::move(pinB));
    // The snapshot holds the finished wire, not the next one that now follows the pointer.
    doc.RecordEdit();
    list.push_back(std::move(next));
}

void CDrawing::PlaceAttachments(ComponentHost& doc, ComponentList::iterator self)
{
    // A wire's ends are where it was drawn.
    if (TypeId == TypeWire) return;
    if (const AttachmentLayout* layout = layoutOf(TypeId)) PlaceAttachmentsByLayout(doc, self, *layout);
}

// ---- editing ----

bool CDrawing::EditProperties(ComponentHost& doc)
{
    if (TypeId != TypeVoltageProbe && TypeId != TypeBubbleConnector) return false;
    const std::vector<CComponent*> label = FollowingObjects(doc, 1, TypeLabel);
    if (label.empty()) return false;
    LabelBuffer = label[0]->Text;
    LabelVisibleCheck = label[0]->Visible;
    if (!DoModal()) return false;
    // A bubble's label is the name of the node it joins, so any name goes; a probe's keeps its letter.
    bool changed =
        TypeId == TypeBubbleConnector ? ApplyText(*label[0], LabelBuffer) : ApplyName(*label[0], LabelBuffer);
    changed |= ApplyVisible(*label[0], LabelVisibleCheck);
    return changed;
}

// ---- the view's hover highlight ----

void CDrawing::HighlightPin()
{
    Selected = 1;
    Visible = 1;
}

void CDrawing::EndPinHighlight()
{
    Selected = 0;
    Visible = Orientation != 2 ? 1 : 0;
}
