#pragma once

#include "ClipboardTool.h"
#include "EditorContext.h"
#include "MouseFlags.h"
#include "MoveTool.h"
#include "PlaceTool.h"
#include "SelectTool.h"
#include "ZoomTool.h"

#include <QByteArray>
#include <QPoint>

#include <functional>

class CComponent;
class CDrawing;
class CTorvex2Doc;
class CUndo;
class Dc;
class ZoomViewModel;

// The editing rules of a schematic window, apart from any widget. It owns what the tools share and
// hands each command, button and key to the tool it belongs to: placing and wiring, selecting,
// drag-move, the clipboard and the zoom tool. Points arrive as the window's client pixels; the
// window's zoom model turns them into page twips, and hit tests compare in pixels.
class SchematicEditor {
public:
    using Mode = EditorContext::Mode;
    using enum EditorContext::Mode;
    static constexpr int kSelectTool = EditorContext::kSelectTool;

    SchematicEditor(ZoomViewModel& zoom, EditorWindow& window);
    SchematicEditor(const SchematicEditor&) = delete;
    SchematicEditor& operator=(const SchematicEditor&) = delete;

    void SetDocument(CTorvex2Doc* doc);
    CTorvex2Doc* Document() const { return m_Context.doc; }
    // The coin of the click selection: true starts the search at the head of the list.
    void SetCoin(std::function<bool()> headFirst) { m_Select.SetCoin(std::move(headFirst)); }

    // ---- state ----
    int CurrentTool() const { return m_Context.currentTool; }
    int EditMode() const { return m_Context.editMode; }
    // The object being placed: the list's tail while placing, otherwise null.
    CComponent* PlacedObject() const { return m_Context.PlacedObject(); }
    const CComponent* HoverPin() const { return m_Context.hoverPin; }
    const CComponent* HoverWire() const { return m_Context.hoverWire; }
    const CDrawing* DragBox() const { return m_Context.dragBox.get(); }

    // ---- commands ----
    // Chooses a tool (the select tool, else the type of object to place).
    void OnPartsTool(int id) { m_Place.Choose(id); }
    // Show or hide the grid (700, 701); snapping on or off (702, 703).
    void OnGridCommand(int id);
    bool IsGridCommandChecked(int id) const;
    // The zoom tool (800), zoom out (801), zoom to fit (802), actual size (803).
    void OnZoomCommand(int id) { m_Zoom.OnZoomCommand(id); }
    bool IsZoomCommandEnabled(int id) const { return m_Zoom.IsZoomCommandEnabled(id); }
    bool IsZoomCommandChecked(int id) const { return m_Zoom.IsZoomCommandChecked(id); }
    void OnEditUndo();
    void OnEditRedo();
    bool CanUndo() const;
    bool CanRedo() const;
    bool CanCopy() const { return m_Clipboard.CanCopy(); }

    // ---- input; points in client pixels ----
    void OnMouseMove(unsigned flags, QPoint client);
    void OnLButtonDown(unsigned flags, QPoint client);
    void OnLButtonUp(unsigned flags, QPoint client);
    void OnLButtonDblClk(unsigned flags, QPoint client);
    // The right button or the context-menu key: zooms out with the zoom tool, else ends the
    // operation in progress.
    void OnRButtonUp(unsigned flags, QPoint client);
    // W, Esc, R and Delete (Qt key codes).
    void OnKeyUp(int key);

    // ---- operations ----
    void CancelOperation() { m_Context.CancelOperation(); }
    void DeselectAll() { m_Context.DeselectAll(); }
    void UpdateJunctions() { m_Context.UpdateJunctions(); }
    void RotateSelection() { m_Select.RotateSelection(); }
    void DeleteSelection() { m_Select.DeleteSelection(); }
    QByteArray CopySelection(bool keepSelection) { return m_Clipboard.CopySelection(keepSelection); }
    bool Paste(const QByteArray& payload) { return m_Clipboard.Paste(payload); }
    // The objects were replaced by someone else (undo in another window, a reload): whatever this
    // editor held of them is forgotten.
    void OnDocumentChanged();

    // The page, the objects and the selection rectangle.
    void Draw(Dc& dc);

    // ---- snapping ----
    QPoint PlacePoint(QPoint page, bool snap) const { return m_Place.PlacePoint(page, snap); }
    static qint64 SnapDistance(qint64 d) { return MoveTool::SnapDistance(d); }

private:
    // Undo or redo: a state of the document's list comes back as a whole.
    void Restore(void (CUndo::*step)());

    EditorContext m_Context;
    PlaceTool m_Place{m_Context};
    SelectTool m_Select{m_Context};
    MoveTool m_Move{m_Context};
    ClipboardTool m_Clipboard{m_Context};
    ZoomTool m_Zoom{m_Context};
};
