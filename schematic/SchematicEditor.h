#pragma once

#include "ComponentHost.h"
#include "MouseFlags.h"
#include "Rect.h"

#include <QByteArray>
#include <QHash>
#include <QPoint>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CComponent;
class CDrawing;
class CTorvex2Doc;
class CUndo;
class Dc;
class ZoomViewModel;

// What the editor asks of the window that shows it.
class EditorWindow {
public:
    virtual ~EditorWindow() = default;
    // Repaint the whole window.
    virtual void Repaint() = 0;
    // Repaint the part of the window that shows this page area, with a few pixels around it.
    virtual void RepaintPage(const Rect& page) = 0;
    // The document's objects changed as a whole (undo, redo, paste, delete): its other windows
    // must let go of what they hold of the old list and repaint.
    virtual void DocumentChanged() {}
};

// The editing rules of a schematic window, apart from any widget: tools, placing with snapping and
// the hover pass over pins and wires, wire routing and splitting, junctions, click and box
// selection, drag-move, rotation, deletion, undo and redo, and the clipboard's archive form. Points
// arrive as the window's client pixels; the window's zoom model turns them into page twips, and
// hit tests compare in pixels.
class SchematicEditor {
public:
    enum Mode { Idle = 0, Placing = 1, Boxing = 2, Zooming = 3 };
    static constexpr int kSelectTool = 500;
    static constexpr int kSnapStep = 144;
    static constexpr int kPasteOffset = 144;
    // Zooming in and out by the tool and the command: by 1000/707, about the square root of two.
    static constexpr int kZoomStep = 707;

    SchematicEditor(ZoomViewModel& zoom, EditorWindow& window);
    ~SchematicEditor();
    SchematicEditor(const SchematicEditor&) = delete;
    SchematicEditor& operator=(const SchematicEditor&) = delete;

    void SetDocument(CTorvex2Doc* doc);
    CTorvex2Doc* Document() const { return m_Doc; }
    // The coin of the click selection: true starts the search at the head of the list.
    void SetCoin(std::function<bool()> headFirst) { m_HeadFirst = std::move(headFirst); }

    // ---- state ----
    int CurrentTool() const { return m_CurrentTool; }
    int EditMode() const { return m_EditMode; }
    // The object being placed: the list's tail while placing, otherwise null.
    CComponent* PlacedObject() const;
    const CComponent* HoverPin() const { return m_HoverPin; }
    const CComponent* HoverWire() const { return m_HoverWire; }
    const CDrawing* DragBox() const { return m_DragBox.get(); }

    // ---- commands ----
    // Chooses a tool (500 select, else the type of object to place).
    void OnPartsTool(int id);
    // Show or hide the grid (700, 701); snapping on or off (702, 703).
    void OnGridCommand(int id);
    bool IsGridCommandChecked(int id) const;
    // The zoom tool (800), zoom out (801), zoom to fit (802), actual size (803).
    void OnZoomCommand(int id);
    bool IsZoomCommandEnabled(int id) const;
    bool IsZoomCommandChecked(int id) const;
    void OnEditUndo();
    void OnEditRedo();
    bool CanUndo() const;
    bool CanRedo() const;
    // Copy and cut want an idle window and something selected.
    bool CanCopy() const;

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
    void CancelOperation();
    void DeselectAll();
    void UpdateJunctions();
    // The wires of the list by the points where they end.
    using WireEnds = QHash<QPoint, std::vector<ComponentList::iterator>>;
    WireEnds IndexWireEnds();
    // Sets `flag` on the attachments that follow `object` (the caller sets the object's own) and,
    // for a wire, on the wires joined to it through plain bends. A caller that selects many objects
    // of an unchanged list hands in one index of the wire ends for all of them (made when missing).
    void SelectWithAttachments(ComponentList::iterator object, bool flag,
                               std::optional<WireEnds>* wireEnds = nullptr);
    void SelectConnectedWires(ComponentList::iterator wire, bool flag, const WireEnds& wiresAt);
    // Turns the object being placed, or else every selected part.
    void RotateSelection();
    // Removes every selected part with its attachments.
    void DeleteSelection();
    // The archive form of the selected groups (empty when none); the selection stays only when
    // asked to.
    QByteArray CopySelection(bool keepSelection);
    // Adds the groups of an archive form, renamed, moved by one grid step and selected; malformed
    // groups are dropped and unreadable data is refused with a message. False when nothing was
    // added.
    bool Paste(const QByteArray& payload);
    // The objects were replaced by someone else (undo in another window, a reload): whatever this
    // editor held of them is forgotten.
    void OnDocumentChanged();

    // The page, the objects and the selection rectangle.
    void Draw(Dc& dc);

    // ---- snapping ----
    // A point while placing: on the nearest grid line of the frame when snapping, then kept inside
    // the frame.
    QPoint PlacePoint(QPoint page, bool snap) const;
    // A drag distance: the nearest multiple of the grid step, halves away from zero.
    static qint64 SnapDistance(qint64 d);

private:
    ComponentList& Objects() const;
    QPoint ToPage(QPoint client) const;
    void SetSelected(CComponent& object, bool flag);
    void Repaint();
    void RepaintPage(const Rect& page);
    void EndHover();
    void ForgetHover();
    void StartDragBox(QPoint page);
    void StretchDragBox(QPoint page);
    void HoverPass(QPoint page, const CComponent* placed);
    void MovePlaced(unsigned flags, QPoint page);
    void DragMove(unsigned flags, QPoint page);
    void Drop(unsigned flags, QPoint client);
    // Cuts the hovered wire at the drop point, which it returns as moved onto the wire.
    QPoint SplitWire(CComponent& wire, const CComponent& placed, QPoint drop);
    // A drag that moved something is an edit.
    void EndDrag();
    void ClickSelect(unsigned flags, QPoint client);
    void BoxSelect(unsigned flags, QPoint client);
    void EndZoomBox(QPoint client);
    // Undo or redo: a state of the document's list comes back as a whole.
    void Restore(void (CUndo::*step)());
    // A completed edit: snapshot, modified flag, the other windows told.
    void RecordEdit();

    ZoomViewModel& m_Zoom;
    EditorWindow& m_Window;
    CTorvex2Doc* m_Doc = nullptr;
    std::function<bool()> m_HeadFirst;

    int m_CurrentTool = kSelectTool;
    int m_EditMode = Idle;
    // The object being placed; it is the list's tail.
    CComponent* m_Placed = nullptr;
    // Under the pointer while placing; never kept across a change of the list.
    CComponent* m_HoverPin = nullptr;
    CComponent* m_HoverWire = nullptr;
    bool m_Dragging = false;
    bool m_DragMoved = false;
    QPoint m_DragStart;
    // The selection rectangle belongs to the window, never to the document.
    std::unique_ptr<CDrawing> m_DragBox;
};
