#include "PlaceTool.h"

#include "CComponent.h"
#include "CDrawing.h"
#include "CTorvex2Doc.h"
#include "EditorContext.h"
#include "MouseFlags.h"
#include "SchematicSheet.h"
#include "ZoomViewModel.h"

#include <algorithm>
#include <vector>

namespace {

// The point of a wire that has not been started.
const QPoint kUnstarted(0, 0);

Rect unite(const Rect& a, const Rect& b)
{
    return Rect{std::min(a.left, b.left), std::max(a.top, b.top), std::max(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

std::unique_ptr<CDrawing> newPin(QPoint at, int count, quint8 visible)
{
    auto pin = std::make_unique<CDrawing>(TypeTerminal);
    pin->Text = QStringLiteral("1");
    pin->Position = at;
    pin->Extent = Rect{};
    pin->State = 1;
    pin->Orientation = count;
    pin->Visible = visible;
    return pin;
}

} // namespace

void PlaceTool::Choose(int id)
{
    EditorContext& c = m_Context;
    if (!c.doc) return;
    const int previous = c.currentTool;
    const QString tailText = c.Objects().empty() ? QString() : c.Objects().back()->Text;
    c.CancelOperation();
    c.currentTool = id;
    if (id == EditorContext::kSelectTool) return;
    std::unique_ptr<CComponent> object = CTorvex2Doc::CreateComponent(quint32(id));
    if (!object) {
        c.currentTool = EditorContext::kSelectTool;
        return;
    }
    c.placed = object.get();
    c.Objects().push_back(std::move(object));
    c.editMode = EditorContext::Placing;
    if (id == TypeTextSelectionTool) {
        // A run of texts repeats the last one; the first asks for its text at once.
        if (previous == TypeTextSelectionTool) {
            c.placed->Text = tailText;
        } else {
            c.placed->Text = QStringLiteral("Enter Text.");
            c.placed->EditProperties(*c.doc);
        }
    }
    c.Repaint();
}

QPoint PlaceTool::PlacePoint(QPoint page, bool snap) const
{
    qint64 x = page.x(), y = page.y();
    if (snap) {
        // The nearest grid line of the frame, whose corner lies on 1080.
        x = (x - 1008) / kSnapStep * kSnapStep + 1080;
        y = (y - 1152) / kSnapStep * kSnapStep + 1080;
    }
    const Rect frame = sheet::Frame(m_Context.doc->PageRect);
    x = std::max<qint64>(std::min<qint64>(x, frame.right), frame.left);
    y = std::min<qint64>(std::max<qint64>(y, frame.bottom), frame.top);
    return QPoint(int(x), int(y));
}

void PlaceTool::HoverPass(QPoint page, const CComponent* placed)
{
    EditorContext& c = m_Context;
    const DcMapping mapping = c.zoom.ViewMapping();
    const QPoint device(int(mapping.DeviceX(page.x())), int(mapping.DeviceY(page.y())));
    CComponent* pin = nullptr;
    CComponent* wire = nullptr;
    for (const auto& o : c.Objects()) {
        if (o->TypeId == TypeTerminal) {
            if (!pin && o->State == 1 && sheet::PinSquare(mapping, *o).Contains(device)) pin = o.get();
        } else if (o->TypeId == TypeWire && o.get() != placed && !wire) {
            const auto box = sheet::ToDevice(mapping, o->Extent).Inflated(EditorContext::kHoverSlack);
            if (box.Contains(device)) wire = o.get();
        }
    }
    // A pin under the pointer wins: the wire ends there anyway.
    if (pin) wire = nullptr;
    if (pin == c.hoverPin && wire == c.hoverWire) return;
    const auto repaint = [&](const CComponent* o) {
        if (o)
            c.RepaintPage(o->TypeId == TypeTerminal
                              ? Rect{o->Position.x(), o->Position.y(), o->Position.x(), o->Position.y()}
                              : o->Extent);
    };
    repaint(c.hoverPin);
    repaint(c.hoverWire);
    c.EndHover();
    c.hoverPin = pin;
    c.hoverWire = wire;
    if (auto* highlighted = dynamic_cast<CDrawing*>(pin)) highlighted->HighlightPin();
    if (wire) wire->Selected = 1;
    repaint(pin);
    repaint(wire);
}

void PlaceTool::Move(unsigned flags, QPoint page)
{
    EditorContext& c = m_Context;
    CComponent* placed = c.PlacedObject();
    if (!placed) return;
    const bool wire = placed->TypeId == TypeWire;
    const QPoint p = PlacePoint(page, c.doc->SnapToGrid && (!wire || (flags & MK_SHIFT)));
    HoverPass(p, placed);
    const Rect before = placed->Extent;
    if (!wire) {
        ShiftObject(*placed, p - placed->Position, true);
    } else {
        if (placed->Position == kUnstarted) return;
        placed->Orientation = CDrawing::WireDirection(placed->Position, p, placed->Orientation);
        placed->Extent = SpanBox(placed->Position, p);
    }
    // Labels and pins come with the drop: until then the object's extent is all it covers.
    c.RepaintPage(unite(before, placed->Extent));
}

QPoint PlaceTool::SplitWire(CComponent& wire, const CComponent& placed, QPoint drop)
{
    ComponentList& list = m_Context.Objects();
    const auto it = CComponent::Find(list, &wire);
    const std::vector<CComponent*> pins = CDrawing::Attachments(list, it, {TypeTerminal, TypeTerminal});
    const Rect e = wire.Extent;
    // The axis comes from the wire's ends, whatever its orientation says.
    const bool horizontal = e.top == e.bottom && e.left != e.right;
    const bool vertical = e.left == e.right && e.top != e.bottom;
    if (pins.empty() || (!horizontal && !vertical)) return drop;
    if (placed.TypeId == TypeWire && placed.Position != kUnstarted) {
        // A wire crossing at a right angle joins straight from its start.
        const QPoint s = placed.Position;
        const bool placedVertical = placed.Orientation == 2 || placed.Orientation == 4;
        const bool placedHorizontal = placed.Orientation == 1 || placed.Orientation == 3;
        if (horizontal && placedVertical && e.left < s.x() && s.x() < e.right) drop.setX(s.x());
        if (vertical && placedHorizontal && e.bottom < s.y() && s.y() < e.top) drop.setY(s.y());
    }
    const QPoint cut = horizontal ? QPoint(drop.x(), e.top) : QPoint(e.left, drop.y());
    // A cut at or beyond an end would leave a wire of no length.
    if (horizontal ? !(e.left < cut.x() && cut.x() < e.right) : !(e.bottom < cut.y() && cut.y() < e.top))
        return drop;

    const QPoint oldEnd(e.right, e.bottom);
    CComponent& end = *pins[1];
    const int endCount = end.Orientation;
    const quint8 endVisible = end.Visible;
    if (horizontal)
        wire.Extent.right = cut.x();
    else
        wire.Extent.bottom = cut.y();
    end.Position = cut;
    end.Orientation = 3;
    end.Visible = 1;

    auto rest = std::make_unique<CDrawing>(TypeWire);
    rest->State = 1;
    rest->Visible = 1;
    rest->Orientation = horizontal ? 1 : 2;
    rest->Position = cut;
    rest->Extent = Rect{cut.x(), cut.y(), oldEnd.x(), oldEnd.y()};
    auto after = std::next(it, 3);
    list.insert(after, std::move(rest));
    list.insert(after, newPin(cut, 3, 1));
    list.insert(after, newPin(oldEnd, endCount, endVisible));
    m_Context.doc->SetModifiedFlag(true);
    return cut;
}

void PlaceTool::Drop(unsigned flags, QPoint client)
{
    EditorContext& c = m_Context;
    CComponent* placed = c.PlacedObject();
    if (!placed) return;
    const bool wire = placed->TypeId == TypeWire;
    QPoint drop = PlacePoint(c.ToPage(client), c.doc->SnapToGrid && (!wire || (flags & MK_SHIFT)));
    // The object goes where the button comes up, whether or not the pointer was seen moving there.
    if (!wire) {
        HoverPass(drop, placed);
        ShiftObject(*placed, drop - placed->Position, true);
    }
    bool onPin = false;
    if (c.hoverPin) {
        if (wire)
            ++c.hoverPin->Orientation;
        else
            ShiftObject(*placed, c.hoverPin->Position - placed->Position, true);
        drop = c.hoverPin->Position;
        onPin = true;
    } else if (c.hoverWire) {
        drop = SplitWire(*c.hoverWire, *placed, drop);
        if (!wire) ShiftObject(*placed, drop - placed->Position, true);
    }
    c.EndHover();

    if (wire && placed->Position == kUnstarted) {
        placed->Position = drop;
        placed->Extent = SpanBox(drop, drop);
        c.UpdateJunctions();
        return;
    }
    if (wire && placed->Position == drop) {
        // Clicked again at its own start: the wire waits for a new one.
        placed->Position = kUnstarted;
        c.UpdateJunctions();
        return;
    }
    if (wire && onPin) AlignStartWithPin(*placed, drop);
    Place(*placed, drop, onPin);
}

void PlaceTool::AlignStartWithPin(CComponent& wire, QPoint pin)
{
    const QPoint start = wire.Position;
    // A start on the grid is where the user meant it: a corner joins the pin.
    if (PlacePoint(start, true) == start) return;
    const QPoint end = CDrawing::LegEnd(start, pin, wire.Orientation);
    const bool horizontal = end.y() == start.y();
    const QPoint moved = horizontal ? QPoint(start.x(), pin.y()) : QPoint(pin.x(), start.y());
    const qint64 miss = horizontal ? qint64(pin.y()) - start.y() : qint64(pin.x()) - start.x();
    if (end == pin || miss <= -kSnapStep || miss >= kSnapStep) return;

    ComponentList& list = m_Context.Objects();
    CComponent* startPin = nullptr;
    for (const auto& o : list) {
        if (o->TypeId != TypeTerminal) continue;
        // A start that lands on another pin would join what was never joined.
        if (o->Position == moved || (o->Position == start && startPin)) return;
        if (o->Position == start) startPin = o.get();
    }
    if (startPin && !SlideLegEnd(*startPin, moved, horizontal)) return;
    wire.Position = moved;
    m_Context.Repaint();
}

bool PlaceTool::SlideLegEnd(CComponent& end, QPoint to, bool vertical)
{
    ComponentList& list = m_Context.Objects();
    for (auto it = list.begin(); it != list.end(); ++it) {
        if ((*it)->TypeId != TypeWire || it->get() == m_Context.placed) continue;
        const std::vector<CComponent*> pins = CDrawing::Attachments(list, it, {TypeTerminal, TypeTerminal});
        if (pins.size() != 2 || (pins[0] != &end && pins[1] != &end)) continue;
        CComponent& leg = **it;
        Rect& e = leg.Extent;
        const QPoint other = pins[0] == &end ? QPoint(e.right, e.bottom) : QPoint(e.left, e.top);
        // Only along a leg across this one, and without turning it round or shrinking it to nothing.
        const qint64 before =
            vertical ? qint64(end.Position.y()) - other.y() : qint64(end.Position.x()) - other.x();
        const qint64 after = vertical ? qint64(to.y()) - other.y() : qint64(to.x()) - other.x();
        const bool across = vertical ? e.left == e.right : e.top == e.bottom;
        if (!across || before == 0 || (before > 0) != (after > 0) || after == 0) return false;
        if (leg.Position == end.Position) leg.Position = to;
        if (pins[0] == &end) {
            e.left = to.x();
            e.top = to.y();
        } else {
            e.right = to.x();
            e.bottom = to.y();
        }
        end.Position = to;
        return true;
    }
    return false;
}

void PlaceTool::Place(CComponent& placed, QPoint drop, bool onPin)
{
    EditorContext& c = m_Context;
    placed.State = 1;
    c.editMode = EditorContext::Idle;
    c.placed = nullptr;
    placed.CreateAttachments(*c.doc, drop.x(), drop.y());
    if (placed.TypeId == TypeWire) {
        // The next wire of the chain starts where this one ended, unless it ended on a pin.
        c.placed = c.Objects().back().get();
        c.editMode = EditorContext::Placing;
        if (onPin && c.placed->Position != drop) {
            // The leg kept its start's line beside the pin: the same click drops the next leg onto it.
            Place(*c.placed, drop, true);
            return;
        }
        if (onPin) c.placed->Position = kUnstarted;
        c.UpdateJunctions();
        c.window.DocumentChanged();
        return;
    }
    c.UpdateJunctions();
    c.RecordEdit();
    // The next object of the same kind follows the pointer.
    Choose(c.currentTool);
}
