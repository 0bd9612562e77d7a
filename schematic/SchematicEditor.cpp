#include "SchematicEditor.h"

#include "CDrawing.h"
#include "CTorvex2Doc.h"
#include "CommandIds.h"
#include "SchematicSheet.h"

SchematicEditor::SchematicEditor(ZoomViewModel& zoom, EditorWindow& window) : m_Context(zoom, window) {}

void SchematicEditor::SetDocument(CTorvex2Doc* doc)
{
    EditorContext& c = m_Context;
    if (doc == c.doc) return;
    c.doc = doc;
    c.placed = nullptr;
    c.editMode = Idle;
    c.currentTool = kSelectTool;
    c.dragging = false;
    c.dragBox.reset();
    c.ForgetHover();
}

void SchematicEditor::OnDocumentChanged()
{
    EditorContext& c = m_Context;
    c.ForgetHover();
    // What this window was placing went with the old list.
    if (c.editMode == Placing && CComponent::Find(c.Objects(), c.placed) == c.Objects().end()) {
        c.placed = nullptr;
        c.editMode = Idle;
        c.currentTool = kSelectTool;
    }
}

// ---- commands ----

void SchematicEditor::OnGridCommand(int id)
{
    CTorvex2Doc* doc = m_Context.doc;
    if (!doc) return;
    switch (id) {
    case ID_Grid_Show:
    case ID_Grid_Hide:
        doc->ShowGrid = id == ID_Grid_Show;
        m_Context.Repaint();
        break;
    case ID_Grid_SnapOn:
    case ID_Grid_SnapOff:
        doc->SnapToGrid = id == ID_Grid_SnapOn;
        break;
    }
}

bool SchematicEditor::IsGridCommandChecked(int id) const
{
    const CTorvex2Doc* doc = m_Context.doc;
    if (!doc) return false;
    switch (id) {
    case ID_Grid_Show:
        return doc->ShowGrid;
    case ID_Grid_Hide:
        return !doc->ShowGrid;
    case ID_Grid_SnapOn:
        return doc->SnapToGrid;
    case ID_Grid_SnapOff:
        return !doc->SnapToGrid;
    }
    return false;
}

bool SchematicEditor::CanUndo() const
{
    return m_Context.doc && m_Context.doc->CanUndo();
}

bool SchematicEditor::CanRedo() const
{
    return m_Context.doc && m_Context.doc->CanRedo();
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
    EditorContext& c = m_Context;
    // The object being placed is no part of any snapshot.
    c.CancelOperation();
    (c.doc->*step)();
    c.currentTool = EditorContext::kNoTool;
    c.editMode = Idle;
    c.UpdateJunctions();
    c.window.DocumentChanged();
}

// ---- the pointer and the keys ----

void SchematicEditor::OnMouseMove(unsigned flags, QPoint client)
{
    EditorContext& c = m_Context;
    if (!c.doc) return;
    const QPoint page = c.ToPage(client);
    switch (c.editMode) {
    case Boxing:
    case Zooming:
        c.StretchDragBox(page);
        break;
    case Placing:
        m_Place.Move(flags, page);
        break;
    case Idle:
        if (c.dragging) m_Move.Move(flags, page);
        break;
    }
}

void SchematicEditor::OnLButtonDown(unsigned flags, QPoint client)
{
    EditorContext& c = m_Context;
    if (!c.doc) return;
    const QPoint page = c.ToPage(client);
    if (c.editMode == Zooming) {
        m_Zoom.Press(page);
        return;
    }
    if (c.editMode != Idle) return;
    if (!m_Select.HitsSelection(client)) {
        m_Select.StartBox(flags, page);
        return;
    }
    // With Ctrl held the click toggles the object when the button comes up.
    if (!(flags & MK_CONTROL)) m_Move.Arm(page);
}

void SchematicEditor::OnLButtonUp(unsigned flags, QPoint client)
{
    EditorContext& c = m_Context;
    if (!c.doc) return;
    switch (c.editMode) {
    case Zooming:
        m_Zoom.Release(client);
        break;
    case Placing:
        m_Place.Drop(flags, client);
        break;
    case Boxing:
        m_Select.BoxSelect(flags, client);
        break;
    case Idle:
        if (c.dragging)
            m_Move.End();
        else
            m_Select.ClickSelect(flags, client);
        break;
    }
}

void SchematicEditor::OnLButtonDblClk(unsigned, QPoint client)
{
    if (m_Context.doc) m_Select.EditAt(client);
}

void SchematicEditor::OnRButtonUp(unsigned, QPoint)
{
    if (!m_Context.doc) return;
    switch (m_Context.editMode) {
    case Idle:
        break;
    case Zooming:
        m_Zoom.ZoomOut();
        break;
    default:
        m_Context.CancelOperation();
        break;
    }
}

void SchematicEditor::OnKeyUp(int key)
{
    if (!m_Context.doc) return;
    switch (key) {
    case Qt::Key_W:
        m_Place.Choose(TypeWire);
        break;
    case Qt::Key_Escape:
        m_Context.CancelOperation();
        break;
    case Qt::Key_R:
        m_Select.RotateSelection();
        break;
    case Qt::Key_Delete:
        m_Select.DeleteSelection();
        break;
    }
}

// ---- drawing ----

void SchematicEditor::Draw(Dc& dc)
{
    if (!m_Context.doc) return;
    sheet::Draw(dc, *m_Context.doc);
    if (m_Context.dragBox) m_Context.dragBox->Draw(dc);
}
