#include "EditorContext.h"

#include "CComponent.h"
#include "CDrawing.h"
#include "CTorvex2Doc.h"
#include "ZoomViewModel.h"

#include <QHash>

#include <algorithm>

void ShiftObject(CComponent& object, QPoint d, bool withExtent)
{
    object.Position = CDrawing::Shifted(object.Position, d);
    if (!withExtent) return;
    Rect& e = object.Extent;
    const QPoint topLeft = CDrawing::Shifted(QPoint(e.left, e.top), d);
    const QPoint bottomRight = CDrawing::Shifted(QPoint(e.right, e.bottom), d);
    e = Rect{topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y()};
}

Rect SpanBox(QPoint a, QPoint b)
{
    return Rect{std::min(a.x(), b.x()), std::max(a.y(), b.y()), std::max(a.x(), b.x()),
                std::min(a.y(), b.y())};
}

EditorContext::EditorContext(ZoomViewModel& zoom, EditorWindow& window) : zoom(zoom), window(window) {}

EditorContext::~EditorContext() = default;

ComponentList& EditorContext::Objects() const
{
    return doc->Components();
}

QPoint EditorContext::ToPage(QPoint client) const
{
    return zoom.ClientToPage(client);
}

CComponent* EditorContext::PlacedObject() const
{
    if (editMode != Placing || !doc || Objects().empty()) return nullptr;
    return Objects().back().get() == placed ? placed : nullptr;
}

void EditorContext::RecordEdit()
{
    doc->RecordEdit();
    window.DocumentChanged();
}

void EditorContext::CancelOperation()
{
    if (!doc) return;
    EndHover();
    for (const auto& o : Objects())
        o->Selected = 0;
    if (editMode == Placing) {
        const auto it = CComponent::Find(Objects(), placed);
        if (it != Objects().end()) Objects().erase(it);
    }
    placed = nullptr;
    dragBox.reset();
    dragging = false;
    editMode = Idle;
    currentTool = kSelectTool;
    Repaint();
}

void EditorContext::DeselectAll()
{
    if (!doc) return;
    for (const auto& o : Objects())
        o->Selected = 0;
    Repaint();
}

void EditorContext::UpdateJunctions()
{
    if (!doc) return;
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

void EditorContext::EndHover()
{
    if (auto* pin = dynamic_cast<CDrawing*>(hoverPin)) pin->EndPinHighlight();
    if (hoverWire) hoverWire->Selected = 0;
    ForgetHover();
}

void EditorContext::ForgetHover()
{
    hoverPin = nullptr;
    hoverWire = nullptr;
}

void EditorContext::StartDragBox(QPoint page)
{
    dragBox = std::make_unique<CDrawing>(TypeDragBox);
    dragBox->State = 1;
    dragBox->Position = page;
    dragBox->Extent = SpanBox(page, page);
}

void EditorContext::StretchDragBox(QPoint page)
{
    if (!dragBox) return;
    const Rect old = dragBox->Extent;
    dragBox->Extent = SpanBox(dragBox->Position, page);
    RepaintPage(old);
    RepaintPage(dragBox->Extent);
}
