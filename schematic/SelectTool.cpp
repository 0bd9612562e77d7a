#include "SelectTool.h"

#include "CComponent.h"
#include "CDrawing.h"
#include "CTorvex2Doc.h"
#include "EditorContext.h"
#include "MouseFlags.h"
#include "SchematicSheet.h"
#include "ZoomViewModel.h"

#include <algorithm>
#include <random>

namespace {

bool defaultCoin()
{
    static std::mt19937 random{std::random_device{}()};
    return std::bernoulli_distribution(0.5)(random);
}

} // namespace

SelectTool::SelectTool(EditorContext& context) : EditorTool(context), m_HeadFirst(defaultCoin) {}

bool SelectTool::HitsSelection(QPoint client) const
{
    const DcMapping mapping = m_Context.zoom.ViewMapping();
    const ComponentList& list = m_Context.Objects();
    return std::any_of(list.begin(), list.end(), [&](const auto& o) {
        return o->Selected && sheet::HitBox(mapping, *o, EditorContext::kWireSlack).Contains(client);
    });
}

void SelectTool::StartBox(unsigned flags, QPoint page)
{
    m_Context.editMode = EditorContext::Boxing;
    if (!(flags & MK_CONTROL)) m_Context.DeselectAll();
    m_Context.StartDragBox(page);
}

void SelectTool::ClickSelect(unsigned flags, QPoint client)
{
    const bool ctrl = flags & MK_CONTROL;
    if (!ctrl) m_Context.DeselectAll();
    const DcMapping mapping = m_Context.zoom.ViewMapping();
    ComponentList& list = m_Context.Objects();
    const auto hit = [&](const std::unique_ptr<CComponent>& o) {
        return o->TypeId != TypeTerminal &&
               sheet::HitBox(mapping, *o, EditorContext::kWireSlack).Contains(client);
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
    m_Context.Repaint();
}

void SelectTool::BoxSelect(unsigned flags, QPoint client)
{
    EditorContext& c = m_Context;
    c.editMode = EditorContext::Idle;
    c.dragging = false;
    if (!c.dragBox) return;
    const QPoint start = c.zoom.PageToClient(c.dragBox->Position);
    const sheet::DeviceBox box = sheet::ToDevice(c.zoom.ViewMapping(), c.dragBox->Extent);
    c.dragBox.reset();
    // A click that did not move: the object under the pointer.
    if (start == client) {
        ClickSelect(flags, client);
        return;
    }
    const DcMapping mapping = c.zoom.ViewMapping();
    ComponentList& list = c.Objects();
    std::optional<WireEnds> wireEnds;
    for (auto it = list.begin(); it != list.end(); ++it) {
        CComponent& o = **it;
        if (o.Visible == 1 && sheet::HitBox(mapping, o, 0).Inflated(1).Meets(box)) {
            o.Selected = 1;
            SelectWithAttachments(it, true, &wireEnds);
        }
    }
    c.Repaint();
}

void SelectTool::EditAt(QPoint client)
{
    EditorContext& c = m_Context;
    if (c.editMode != EditorContext::Idle || c.dragging) c.CancelOperation();
    const DcMapping mapping = c.zoom.ViewMapping();
    ComponentList& list = c.Objects();
    const auto last = std::find_if(list.rbegin(), list.rend(), [&](const std::unique_ptr<CComponent>& o) {
        return o->Visible == 1 && sheet::HitBox(mapping, *o, EditorContext::kWireSlack).Contains(client);
    });
    if (last == list.rend()) return;
    auto found = std::prev(last.base());
    // A label is edited through its part, the object before its labels.
    while ((*found)->TypeId == TypeLabel) {
        if (found == list.begin()) return;
        --found;
    }
    c.DeselectAll();
    CComponent& o = **found;
    o.Selected = 1;
    SelectWithAttachments(found, true);
    c.Repaint();
    if (!o.EditProperties(*c.doc)) return;
    c.Repaint();
    c.RecordEdit();
}

SelectTool::WireEnds SelectTool::IndexWireEnds() const
{
    ComponentList& list = m_Context.Objects();
    WireEnds wiresAt;
    for (auto it = list.begin(); it != list.end(); ++it)
        if ((*it)->TypeId == TypeWire) {
            const Rect& e = (*it)->Extent;
            wiresAt[QPoint(e.left, e.top)].push_back(it);
            wiresAt[QPoint(e.right, e.bottom)].push_back(it);
        }
    return wiresAt;
}

void SelectTool::SelectWithAttachments(ComponentList::iterator object, bool flag,
                                       std::optional<WireEnds>* wireEnds)
{
    ComponentList& list = m_Context.Objects();
    const auto end = sheet::GroupEnd(list, object);
    for (auto it = std::next(object); it != end; ++it)
        (*it)->Selected = flag ? 1 : 0;
    if ((*object)->TypeId != TypeWire) return;
    std::optional<WireEnds> own;
    if (!wireEnds) wireEnds = &own;
    if (!*wireEnds) *wireEnds = IndexWireEnds();
    SelectConnectedWires(object, flag, **wireEnds);
}

void SelectTool::SelectConnectedWires(ComponentList::iterator wire, bool flag, const WireEnds& wiresAt)
{
    ComponentList& list = m_Context.Objects();
    // A chain of bends can be long: followed with a list of its own, not by recursion.
    std::vector<ComponentList::iterator> pending{wire};
    while (!pending.empty()) {
        const auto current = pending.back();
        pending.pop_back();
        for (CComponent* pin : CDrawing::Attachments(list, current, {TypeTerminal, TypeTerminal})) {
            if (pin->Orientation != 2) continue;
            for (const auto other : wiresAt.value(pin->Position)) {
                if (other == current || bool((*other)->Selected) == flag) continue;
                (*other)->Selected = flag ? 1 : 0;
                for (CComponent* end : CDrawing::Attachments(list, other, {TypeTerminal, TypeTerminal}))
                    end->Selected = flag ? 1 : 0;
                pending.push_back(other);
            }
        }
    }
}

void SelectTool::RotateSelection()
{
    EditorContext& c = m_Context;
    if (!c.doc) return;
    const auto turn = [](CComponent& o) {
        o.Orientation = o.Orientation >= 4 || o.Orientation < 0 ? 1 : o.Orientation + 1;
    };
    if (c.editMode == EditorContext::Placing) {
        CComponent* placed = c.PlacedObject();
        if (placed && placed->GetAttachmentCount() > 0) turn(*placed);
        c.UpdateJunctions();
        return;
    }
    bool turned = false;
    ComponentList& list = c.Objects();
    for (auto it = list.begin(); it != list.end(); ++it) {
        CComponent& o = **it;
        // A dropped wire is horizontal or vertical; a quarter turn has no meaning for it.
        if (!o.Selected || o.GetAttachmentCount() <= 0 || o.TypeId == TypeWire) continue;
        turn(o);
        o.PlaceAttachments(*c.doc, it);
        turned = true;
    }
    c.UpdateJunctions();
    if (turned) c.RecordEdit();
}

void SelectTool::DeleteSelection()
{
    EditorContext& c = m_Context;
    if (!c.doc || c.editMode != EditorContext::Idle) return;
    ComponentList& list = c.Objects();
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
    c.ForgetHover();
    c.UpdateJunctions();
    if (removed) c.RecordEdit();
}
