#include "SchematicEditor.h"

#include "Archive.h"
#include "CComponent.h"
#include "CDrawing.h"
#include "CTorvex2Doc.h"
#include "CommandIds.h"
#include "ComponentTypeId.h"
#include "Dc.h"
#include "SchematicClipboard.h"
#include "SchematicSheet.h"
#include "UiServices.h"
#include "ZoomViewModel.h"

#include <QHash>

#include <algorithm>
#include <random>
#include <vector>

using sheet::DeviceBox;

namespace {
// Hit widths, in pixels: a wire is grabbed within 3 pixels; hovering and boxes allow one.
constexpr int kWireSlack = 3;
constexpr int kHoverSlack = 1;
// The point of a wire that has not been started.
const QPoint kUnstarted(0, 0);

// Moves stop at the ends of the coordinate range: objects from a file or the clipboard may lie anywhere.
void shift(CComponent& object, QPoint d, bool withExtent)
{
    object.Position = CDrawing::Shifted(object.Position, d);
    if (!withExtent) return;
    Rect& e = object.Extent;
    const QPoint topLeft = CDrawing::Shifted(QPoint(e.left, e.top), d);
    const QPoint bottomRight = CDrawing::Shifted(QPoint(e.right, e.bottom), d);
    e = Rect{topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y()};
}

// The box spanned by two points, top above bottom.
Rect span(QPoint a, QPoint b)
{
    return Rect{std::min(a.x(), b.x()), std::max(a.y(), b.y()), std::max(a.x(), b.x()),
                std::min(a.y(), b.y())};
}

Rect unite(const Rect& a, const Rect& b)
{
    return Rect{std::min(a.left, b.left), std::max(a.top, b.top), std::max(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

bool defaultCoin()
{
    static std::mt19937 random{std::random_device{}()};
    return std::bernoulli_distribution(0.5)(random);
}

// What copying and pasting take: a part followed by all of its attachments, or a text, which has none.
bool wholeGroup(const ComponentList& list, ComponentList::const_iterator head)
{
    const CComponent& object = **head;
    return object.GetAttachmentCount() > 0 ? sheet::GroupIntact(list, head)
                                           : object.TypeId == TypeTextSelectionTool;
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

SchematicEditor::SchematicEditor(ZoomViewModel& zoom, EditorWindow& window)
    : m_Zoom(zoom), m_Window(window), m_HeadFirst(defaultCoin)
{
}

SchematicEditor::~SchematicEditor() = default;

void SchematicEditor::SetDocument(CTorvex2Doc* doc)
{
    if (doc == m_Doc) return;
    m_Doc = doc;
    m_Placed = nullptr;
    m_EditMode = Idle;
    m_CurrentTool = kSelectTool;
    m_Dragging = false;
    m_DragBox.reset();
    ForgetHover();
}

ComponentList& SchematicEditor::Objects() const
{
    return m_Doc->Components();
}

CComponent* SchematicEditor::PlacedObject() const
{
    if (m_EditMode != Placing || !m_Doc || Objects().empty()) return nullptr;
    return Objects().back().get() == m_Placed ? m_Placed : nullptr;
}

QPoint SchematicEditor::ToPage(QPoint client) const
{
    return m_Zoom.ClientToPage(client);
}

void SchematicEditor::Repaint()
{
    m_Window.Repaint();
}

void SchematicEditor::RepaintPage(const Rect& page)
{
    m_Window.RepaintPage(page);
}

void SchematicEditor::SetSelected(CComponent& object, bool flag)
{
    object.Selected = flag ? 1 : 0;
}

void SchematicEditor::RecordEdit()
{
    m_Doc->RecordEdit();
    m_Window.DocumentChanged();
}

// ---- snapping ----

QPoint SchematicEditor::PlacePoint(QPoint page, bool snap) const
{
    qint64 x = page.x(), y = page.y();
    if (snap) {
        // The nearest grid line of the frame, whose corner lies on 1080.
        x = (x - 1008) / kSnapStep * kSnapStep + 1080;
        y = (y - 1152) / kSnapStep * kSnapStep + 1080;
    }
    const Rect frame = sheet::Frame(m_Doc->PageRect);
    x = std::max<qint64>(std::min<qint64>(x, frame.right), frame.left);
    y = std::min<qint64>(std::max<qint64>(y, frame.bottom), frame.top);
    return QPoint(int(x), int(y));
}

qint64 SchematicEditor::SnapDistance(qint64 d)
{
    const qint64 steps = (std::abs(d) + kSnapStep / 2) / kSnapStep;
    return (d < 0 ? -steps : steps) * kSnapStep;
}

// ---- tools and commands ----

void SchematicEditor::OnPartsTool(int id)
{
    if (!m_Doc) return;
    const int previous = m_CurrentTool;
    const QString tailText = Objects().empty() ? QString() : Objects().back()->Text;
    CancelOperation();
    m_CurrentTool = id;
    if (id == kSelectTool) return;
    std::unique_ptr<CComponent> object = CTorvex2Doc::CreateComponent(quint32(id));
    if (!object) {
        m_CurrentTool = kSelectTool;
        return;
    }
    m_Placed = object.get();
    Objects().push_back(std::move(object));
    m_EditMode = Placing;
    if (id == TypeTextSelectionTool) {
        // A run of texts repeats the last one; the first asks for its text at once.
        if (previous == TypeTextSelectionTool) {
            m_Placed->Text = tailText;
        } else {
            m_Placed->Text = QStringLiteral("Enter Text.");
            m_Placed->EditProperties(*m_Doc);
        }
    }
    Repaint();
}

void SchematicEditor::OnGridCommand(int id)
{
    if (!m_Doc) return;
    switch (id) {
    case ID_Grid_Show:
    case ID_Grid_Hide:
        m_Doc->ShowGrid = id == ID_Grid_Show;
        Repaint();
        break;
    case ID_Grid_SnapOn:
    case ID_Grid_SnapOff:
        m_Doc->SnapToGrid = id == ID_Grid_SnapOn;
        break;
    }
}

bool SchematicEditor::IsGridCommandChecked(int id) const
{
    if (!m_Doc) return false;
    switch (id) {
    case ID_Grid_Show:
        return m_Doc->ShowGrid;
    case ID_Grid_Hide:
        return !m_Doc->ShowGrid;
    case ID_Grid_SnapOn:
        return m_Doc->SnapToGrid;
    case ID_Grid_SnapOff:
        return !m_Doc->SnapToGrid;
    }
    return false;
}

void SchematicEditor::OnZoomCommand(int id)
{
    switch (id) {
    case ID_Zoom_Tool:
        // An object being placed or a box being drawn would otherwise stay behind.
        CancelOperation();
        m_EditMode = Zooming;
        break;
    case ID_Zoom_Out:
        m_Zoom.SetZoom(kZoomStep * m_Zoom.Zoom() / 1000);
        break;
    case ID_Zoom_Fit:
        m_Zoom.ZoomToFit();
        break;
    case ID_Zoom_ActualSize:
        m_Zoom.SetZoom(100);
        break;
    }
}

bool SchematicEditor::IsZoomCommandEnabled(int id) const
{
    switch (id) {
    case ID_Zoom_Tool:
        return m_Zoom.Zoom() < ZoomViewModel::kMaxZoom;
    case ID_Zoom_Out:
        return m_Zoom.Zoom() > ZoomViewModel::kMinZoom;
    }
    return true;
}

bool SchematicEditor::IsZoomCommandChecked(int id) const
{
    return id == ID_Zoom_ActualSize && m_Zoom.Zoom() == 100;
}

bool SchematicEditor::CanUndo() const
{
    return m_Doc && m_Doc->CanUndo();
}

bool SchematicEditor::CanRedo() const
{
    return m_Doc && m_Doc->CanRedo();
}

void SchematicEditor::OnEditUndo()
{
    if (CanUndo()) Restore(&CUndo::Undo);
}

void SchematicEditor::OnEditRedo()
{
    if (CanRedo()) Restore(&CUndo::Redo);
}

void SchematicEditor::Restore(void (CUndo::*step)())
{
    // The object being placed is no part of any snapshot.
    CancelOperation();
    (m_Doc->*step)();
    m_CurrentTool = 0;
    m_EditMode = Idle;
    UpdateJunctions();
    m_Window.DocumentChanged();
}

bool SchematicEditor::CanCopy() const
{
    if (!m_Doc || m_EditMode != Idle) return false;
    return std::any_of(Objects().begin(), Objects().end(), [](const auto& o) { return o->Selected; });
}

// ---- operations ----

void SchematicEditor::EndHover()
{
    if (auto* pin = dynamic_cast<CDrawing*>(m_HoverPin)) pin->EndPinHighlight();
    if (m_HoverWire) m_HoverWire->Selected = 0;
    ForgetHover();
}

void SchematicEditor::ForgetHover()
{
    m_HoverPin = nullptr;
    m_HoverWire = nullptr;
}

void SchematicEditor::CancelOperation()
{
    if (!m_Doc) return;
    EndHover();
    for (const auto& o : Objects())
        o->Selected = 0;
    if (m_EditMode == Placing) {
        const auto it = CComponent::Find(Objects(), m_Placed);
        if (it != Objects().end()) Objects().erase(it);
    }
    m_Placed = nullptr;
    m_DragBox.reset();
    m_Dragging = false;
    m_EditMode = Idle;
    m_CurrentTool = kSelectTool;
    Repaint();
}

void SchematicEditor::OnDocumentChanged()
{
    ForgetHover();
    // What this window was placing went with the old list.
    if (m_EditMode == Placing && CComponent::Find(Objects(), m_Placed) == Objects().end()) {
        m_Placed = nullptr;
        m_EditMode = Idle;
        m_CurrentTool = kSelectTool;
    }
}

void SchematicEditor::DeselectAll()
{
    if (!m_Doc) return;
    for (const auto& o : Objects())
        o->Selected = 0;
    Repaint();
}

void SchematicEditor::UpdateJunctions()
{
    if (!m_Doc) return;
    QHash<QPoint, int> ends;
    for (const auto& o : Objects())
        if (o->TypeId == TypeTerminal) ++ends[o->Position];
    for (const auto& o : Objects())
        if (o->TypeId == TypeTerminal) {
            const int count = ends.value(o->Position);
            o->Orientation = count;
            o->Visible = count != 2 ? 1 : 0;
        }
    Repaint();
}

SchematicEditor::WireEnds SchematicEditor::IndexWireEnds()
{
    ComponentList& list = Objects();
    WireEnds wiresAt;
    for (auto it = list.begin(); it != list.end(); ++it)
        if ((*it)->TypeId == TypeWire) {
            const Rect& e = (*it)->Extent;
            wiresAt[QPoint(e.left, e.top)].push_back(it);
            wiresAt[QPoint(e.right, e.bottom)].push_back(it);
        }
    return wiresAt;
}

void SchematicEditor::SelectWithAttachments(ComponentList::iterator object, bool flag,
                                            std::optional<WireEnds>* wireEnds)
{
    ComponentList& list = Objects();
    const auto end = sheet::GroupEnd(list, object);
    for (auto it = std::next(object); it != end; ++it)
        SetSelected(**it, flag);
    if ((*object)->TypeId != TypeWire) return;
    std::optional<WireEnds> own;
    if (!wireEnds) wireEnds = &own;
    if (!*wireEnds) *wireEnds = IndexWireEnds();
    SelectConnectedWires(object, flag, **wireEnds);
}

void SchematicEditor::SelectConnectedWires(ComponentList::iterator wire, bool flag, const WireEnds& wiresAt)
{
    ComponentList& list = Objects();
    // A chain of bends can be long: followed with a list of its own, not by recursion.
    std::vector<ComponentList::iterator> pending{wire};
    while (!pending.empty()) {
        const auto current = pending.back();
        pending.pop_back();
        for (CComponent* pin : CDrawing::Attachments(list, current, {TypeTerminal, TypeTerminal})) {
            if (pin->Orientation != 2) continue;
            for (const auto other : wiresAt.value(pin->Position)) {
                if (other == current || bool((*other)->Selected) == flag) continue;
                SetSelected(**other, flag);
                for (CComponent* end : CDrawing::Attachments(list, other, {TypeTerminal, TypeTerminal}))
                    SetSelected(*end, flag);
                pending.push_back(other);
            }
        }
    }
}

void SchematicEditor::RotateSelection()
{
    if (!m_Doc) return;
    const auto turn = [](CComponent& o) {
        o.Orientation = o.Orientation >= 4 || o.Orientation < 0 ? 1 : o.Orientation + 1;
    };
    if (m_EditMode == Placing) {
        CComponent* placed = PlacedObject();
        if (placed && placed->GetAttachmentCount() > 0) turn(*placed);
        UpdateJunctions();
        return;
    }
    bool turned = false;
    ComponentList& list = Objects();
    for (auto it = list.begin(); it != list.end(); ++it) {
        CComponent& o = **it;
        // A dropped wire is horizontal or vertical; a quarter turn has no meaning for it.
        if (!o.Selected || o.GetAttachmentCount() <= 0 || o.TypeId == TypeWire) continue;
        turn(o);
        o.PlaceAttachments(*m_Doc, it);
        turned = true;
    }
    UpdateJunctions();
    if (turned) RecordEdit();
}

void SchematicEditor::DeleteSelection()
{
    if (!m_Doc || m_EditMode != Idle) return;
    ComponentList& list = Objects();
    bool removed = false;
    for (auto it = list.begin(); it != list.end();) {
        CComponent& o = **it;
        if (o.Selected && o.Visible == 1) {
            o.Selected = 0;
            if (o.GetAttachmentCount() > 0 || o.TypeId == TypeTextSelectionTool) {
                it = list.erase(it, sheet::GroupEnd(list, it));
                removed = true;
                continue;
            }
        }
        ++it;
    }
    ForgetHover();
    UpdateJunctions();
    if (removed) RecordEdit();
}

// ---- the clipboard's archive form ----

QByteArray SchematicEditor::CopySelection(bool keepSelection)
{
    if (!m_Doc) return {};
    ComponentList& list = Objects();
    std::vector<CComponent*> copied;
    // Whole groups only: a part goes with all its attachments whatever their flags, and a label or
    // pin selected on its own stays behind.
    for (auto it = list.begin(); it != list.end();) {
        const auto end = sheet::GroupEnd(list, it);
        if ((*it)->Selected && wholeGroup(list, it))
            for (auto member = it; member != end; ++member)
                copied.push_back(member->get());
        it = end;
    }
    if (!keepSelection) DeselectAll();
    if (copied.empty()) return {};
    return clipboard::WriteObjects(copied);
}

bool SchematicEditor::Paste(const QByteArray& payload)
{
    if (!m_Doc) return false;
    CancelOperation();
    if (payload.isEmpty()) return false;
    ComponentList pasted;
    try {
        pasted = clipboard::ReadObjects(payload);
    } catch (const ArchiveError& e) {
        ui().message(clipboard::UnreadableMessage() + QLatin1Char('\n') + e.detail());
        return false;
    } catch (const std::bad_alloc&) {
        ui().message(clipboard::UnreadableMessage());
        return false;
    }
    ComponentList& list = Objects();
    bool added = false;
    const QPoint offset(kPasteOffset, -kPasteOffset);
    for (auto it = pasted.begin(); it != pasted.end();) {
        const auto end = sheet::GroupEnd(pasted, it);
        CComponent& head = **it;
        if (!wholeGroup(pasted, it)) {
            it = pasted.erase(it, end);
            continue;
        }
        // Named objects take the next number of their letter; wires, grounds and texts keep their
        // texts.
        bool renamed = false;
        const ComponentType* type = FindComponentType(head.TypeId);
        if (type && type->counterLetter && !head.Text.isEmpty())
            if (const std::optional<int> n = m_Doc->NextDesignatorNumber(head.Text.at(0))) {
                head.Text = head.MakeName(*n);
                renamed = true;
            }
        shift(head, offset, true);
        head.Selected = 1;
        for (auto member = std::next(it); member != end; ++member) {
            shift(**member, offset, false);
            (*member)->Selected = 1;
        }
        if (renamed && std::next(it) != end && !(*std::next(it))->Text.isEmpty())
            (*std::next(it))->Text = head.Text;
        list.splice(list.end(), pasted, it, end);
        it = end;
        added = true;
    }
    if (!added) return false;
    UpdateJunctions();
    RecordEdit();
    return true;
}

// ---- the pointer ----

void SchematicEditor::StartDragBox(QPoint page)
{
    m_DragBox = std::make_unique<CDrawing>(TypeDragBox);
    m_DragBox->State = 1;
    m_DragBox->Position = page;
    m_DragBox->Extent = span(page, page);
}

void SchematicEditor::StretchDragBox(QPoint page)
{
    if (!m_DragBox) return;
    const Rect old = m_DragBox->Extent;
    m_DragBox->Extent = span(m_DragBox->Position, page);
    RepaintPage(old);
    RepaintPage(m_DragBox->Extent);
}

void SchematicEditor::OnMouseMove(unsigned flags, QPoint client)
{
    if (!m_Doc) return;
    const QPoint page = ToPage(client);
    switch (m_EditMode) {
    case Boxing:
    case Zooming:
        StretchDragBox(page);
        break;
    case Placing:
        MovePlaced(flags, page);
        break;
    case Idle:
        if (m_Dragging) DragMove(flags, page);
        break;
    }
}

void SchematicEditor::HoverPass(QPoint page, const CComponent* placed)
{
    const DcMapping mapping = m_Zoom.ViewMapping();
    const QPoint device(int(mapping.DeviceX(page.x())), int(mapping.DeviceY(page.y())));
    CComponent* pin = nullptr;
    CComponent* wire = nullptr;
    for (const auto& o : Objects()) {
        if (o->TypeId == TypeTerminal) {
            if (!pin && o->State == 1 && sheet::PinSquare(mapping, *o).Contains(device)) pin = o.get();
        } else if (o->TypeId == TypeWire && o.get() != placed && !wire) {
            if (sheet::ToDevice(mapping, o->Extent).Inflated(kHoverSlack).Contains(device)) wire = o.get();
        }
    }
    // A pin under the pointer wins: the wire ends there anyway.
    if (pin) wire = nullptr;
    if (pin == m_HoverPin && wire == m_HoverWire) return;
    const auto repaint = [&](const CComponent* o) {
        if (o)
            RepaintPage(o->TypeId == TypeTerminal
                            ? Rect{o->Position.x(), o->Position.y(), o->Position.x(), o->Position.y()}
                            : o->Extent);
    };
    repaint(m_HoverPin);
    repaint(m_HoverWire);
    EndHover();
    m_HoverPin = pin;
    m_HoverWire = wire;
    if (auto* highlighted = dynamic_cast<CDrawing*>(pin)) highlighted->HighlightPin();
    if (wire) wire->Selected = 1;
    repaint(pin);
    repaint(wire);
}

void SchematicEditor::MovePlaced(unsigned flags, QPoint page)
{
    CComponent* placed = PlacedObject();
    if (!placed) return;
    const bool wire = placed->TypeId == TypeWire;
    const QPoint p = PlacePoint(page, m_Doc->SnapToGrid && (!wire || (flags & MK_SHIFT)));
    HoverPass(p, placed);
    const Rect before = placed->Extent;
    if (!wire) {
        shift(*placed, p - placed->Position, true);
    } else {
        if (placed->Position == kUnstarted) return;
        placed->Orientation = CDrawing::WireDirection(placed->Position, p, placed->Orientation);
        placed->Extent = span(placed->Position, p);
    }
    // Labels and pins come with the drop: until then the object's extent is all it covers.
    RepaintPage(unite(before, placed->Extent));
}

void SchematicEditor::DragMove(unsigned flags, QPoint page)
{
    qint64 dx = qint64(page.x()) - m_DragStart.x();
    qint64 dy = qint64(page.y()) - m_DragStart.y();
    if (m_Doc->SnapToGrid || (flags & MK_SHIFT)) {
        dx = SnapDistance(dx);
        dy = SnapDistance(dy);
    }
    // What is not moved now is caught up at the next step: the drag start stays where it was.
    if (dx == 0 && dy == 0) return;
    const QPoint d{int(dx), int(dy)};
    m_DragStart += d;
    m_DragMoved = true;
    for (const auto& o : Objects())
        if (o->Selected) shift(*o, d, true);
    Repaint();
}

void SchematicEditor::OnLButtonDown(unsigned flags, QPoint client)
{
    if (!m_Doc) return;
    const QPoint page = ToPage(client);
    if (m_EditMode == Zooming) {
        StartDragBox(page);
        return;
    }
    if (m_EditMode != Idle) return;
    const DcMapping mapping = m_Zoom.ViewMapping();
    const bool onSelected = std::any_of(Objects().begin(), Objects().end(), [&](const auto& o) {
        return o->Selected && sheet::HitBox(mapping, *o, kWireSlack).Contains(client);
    });
    if (onSelected) {
        // With Ctrl held the click toggles the object when the button comes up.
        if (!(flags & MK_CONTROL)) {
            m_Dragging = true;
            m_DragMoved = false;
            m_DragStart = page;
        }
        return;
    }
    m_EditMode = Boxing;
    if (!(flags & MK_CONTROL)) DeselectAll();
    StartDragBox(page);
}

void SchematicEditor::OnLButtonUp(unsigned flags, QPoint client)
{
    if (!m_Doc) return;
    switch (m_EditMode) {
    case Zooming:
        EndZoomBox(client);
        break;
    case Placing:
        Drop(flags, client);
        break;
    case Boxing:
        BoxSelect(flags, client);
        break;
    case Idle:
        if (m_Dragging)
            EndDrag();
        else
            ClickSelect(flags, client);
        break;
    }
}

void SchematicEditor::EndZoomBox(QPoint client)
{
    if (!m_DragBox) return;
    const QPoint start = m_Zoom.PageToClient(m_DragBox->Position);
    if (start != client) {
        m_Zoom.ZoomToRect(Rect{std::min(start.x(), client.x()), std::min(start.y(), client.y()),
                               std::max(start.x(), client.x()), std::max(start.y(), client.y())});
        m_EditMode = Idle;
    } else {
        const QPoint page = ToPage(client);
        m_Zoom.SetZoom(m_Zoom.Zoom() * 1000 / kZoomStep);
        m_Zoom.ScrollToAnchor(ZoomViewModel::AnchorCentre, page);
    }
    m_DragBox.reset();
    Repaint();
}

void SchematicEditor::EndDrag()
{
    m_Dragging = false;
    if (!std::exchange(m_DragMoved, false)) return;
    UpdateJunctions();
    RecordEdit();
}

QPoint SchematicEditor::SplitWire(CComponent& wire, const CComponent& placed, QPoint drop)
{
    ComponentList& list = Objects();
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
    m_Doc->SetModifiedFlag(true);
    return cut;
}

void SchematicEditor::Drop(unsigned flags, QPoint client)
{
    CComponent* placed = PlacedObject();
    if (!placed) return;
    const bool wire = placed->TypeId == TypeWire;
    QPoint drop = PlacePoint(ToPage(client), m_Doc->SnapToGrid && (!wire || (flags & MK_SHIFT)));
    // The object goes where the button comes up, whether or not the pointer was seen moving there.
    if (!wire) {
        HoverPass(drop, placed);
        shift(*placed, drop - placed->Position, true);
    }
    bool onPin = false;
    if (m_HoverPin) {
        if (wire)
            ++m_HoverPin->Orientation;
        else
            shift(*placed, m_HoverPin->Position - placed->Position, true);
        drop = m_HoverPin->Position;
        onPin = true;
    } else if (m_HoverWire) {
        drop = SplitWire(*m_HoverWire, *placed, drop);
        if (!wire) shift(*placed, drop - placed->Position, true);
    }
    EndHover();

    if (wire && placed->Position == kUnstarted) {
        placed->Position = drop;
        placed->Extent = span(drop, drop);
        UpdateJunctions();
        return;
    }
    if (wire && placed->Position == drop) {
        // Clicked again at its own start: the wire waits for a new one.
        placed->Position = kUnstarted;
        UpdateJunctions();
        return;
    }
    placed->State = 1;
    m_EditMode = Idle;
    m_Placed = nullptr;
    placed->CreateAttachments(*m_Doc, drop.x(), drop.y());
    if (wire) {
        // The next wire of the chain starts where this one ended, unless it ended on a pin.
        m_Placed = Objects().back().get();
        m_EditMode = Placing;
        if (onPin) m_Placed->Position = kUnstarted;
        UpdateJunctions();
        m_Window.DocumentChanged();
        return;
    }
    UpdateJunctions();
    RecordEdit();
    OnPartsTool(m_CurrentTool);
}

void SchematicEditor::ClickSelect(unsigned flags, QPoint client)
{
    const bool ctrl = flags & MK_CONTROL;
    if (!ctrl) DeselectAll();
    const DcMapping mapping = m_Zoom.ViewMapping();
    ComponentList& list = Objects();
    const auto hit = [&](const std::unique_ptr<CComponent>& o) {
        return o->TypeId != TypeTerminal && sheet::HitBox(mapping, *o, kWireSlack).Contains(client);
    };
    // Either end first, by the coin, so that repeated clicks on objects lying over each other
    // reach each of them.
    auto found = list.end();
    if (m_HeadFirst())
        found = std::find_if(list.begin(), list.end(), hit);
    else if (const auto last = std::find_if(list.rbegin(), list.rend(), hit); last != list.rend())
        found = std::prev(last.base());
    if (found != list.end()) {
        CComponent& o = **found;
        if (!o.Selected) {
            o.Selected = 1;
            SelectWithAttachments(found, true);
        } else if (ctrl) {
            o.Selected = 0;
            SelectWithAttachments(found, false);
        }
    }
    Repaint();
}

void SchematicEditor::BoxSelect(unsigned flags, QPoint client)
{
    m_EditMode = Idle;
    m_Dragging = false;
    if (!m_DragBox) return;
    const QPoint start = m_Zoom.PageToClient(m_DragBox->Position);
    const DeviceBox box = sheet::ToDevice(m_Zoom.ViewMapping(), m_DragBox->Extent);
    m_DragBox.reset();
    // A click that did not move: the object under the pointer.
    if (start == client) {
        ClickSelect(flags, client);
        return;
    }
    const DcMapping mapping = m_Zoom.ViewMapping();
    ComponentList& list = Objects();
    std::optional<WireEnds> wireEnds;
    for (auto it = list.begin(); it != list.end(); ++it) {
        CComponent& o = **it;
        if (o.Visible == 1 && sheet::HitBox(mapping, o, 0).Inflated(1).Meets(box)) {
            o.Selected = 1;
            SelectWithAttachments(it, true, &wireEnds);
        }
    }
    Repaint();
}

void SchematicEditor::OnLButtonDblClk(unsigned, QPoint client)
{
    if (!m_Doc) return;
    if (m_EditMode != Idle || m_Dragging) CancelOperation();
    const DcMapping mapping = m_Zoom.ViewMapping();
    ComponentList& list = Objects();
    const auto last = std::find_if(list.rbegin(), list.rend(), [&](const std::unique_ptr<CComponent>& o) {
        return o->Visible == 1 && sheet::HitBox(mapping, *o, kWireSlack).Contains(client);
    });
    if (last == list.rend()) return;
    auto found = std::prev(last.base());
    // A label is edited through its part, the object before its labels.
    while ((*found)->TypeId == TypeLabel) {
        if (found == list.begin()) return;
        --found;
    }
    DeselectAll();
    CComponent& o = **found;
    o.Selected = 1;
    SelectWithAttachments(found, true);
    Repaint();
    if (!o.EditProperties(*m_Doc)) return;
    Repaint();
    RecordEdit();
}

void SchematicEditor::OnRButtonUp(unsigned, QPoint)
{
    if (!m_Doc) return;
    switch (m_EditMode) {
    case Idle:
        break;
    case Zooming:
        m_Zoom.SetZoom(kZoomStep * m_Zoom.Zoom() / 1000);
        break;
    default:
        CancelOperation();
        break;
    }
}

void SchematicEditor::OnKeyUp(int key)
{
    if (!m_Doc) return;
    switch (key) {
    case Qt::Key_W:
        OnPartsTool(TypeWire);
        break;
    case Qt::Key_Escape:
        CancelOperation();
        break;
    case Qt::Key_R:
        RotateSelection();
        break;
    case Qt::Key_Delete:
        DeleteSelection();
        break;
    }
}

// ---- drawing ----

void SchematicEditor::Draw(Dc& dc)
{
    if (!m_Doc) return;
    sheet::Draw(dc, *m_Doc);
    if (m_DragBox) m_DragBox->Draw(dc);
}
