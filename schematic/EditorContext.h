#pragma once

#include "ComponentHost.h"
#include "ComponentTypeId.h"
#include "Rect.h"

#include <QPoint>

#include <memory>

class CComponent;
class CDrawing;
class CTorvex2Doc;
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

// What the tools of a schematic window share: the document, the window and its zoom, the tool and
// mode of the window, and what the pointer holds. Points arrive as the window's client pixels; the
// zoom turns them into page twips.
struct EditorContext {
    enum Mode { Idle = 0, Placing = 1, Boxing = 2, Zooming = 3 };
    static constexpr int kSelectTool = TypePartSelectionTool;
    // After undo and redo no tool is chosen, not even the select tool.
    static constexpr int kNoTool = 0;
    // Hit widths, in pixels: a wire is grabbed within 3 pixels; hovering and boxes allow one.
    static constexpr int kWireSlack = 3;
    static constexpr int kHoverSlack = 1;

    EditorContext(ZoomViewModel& zoom, EditorWindow& window);
    ~EditorContext();
    EditorContext(const EditorContext&) = delete;
    EditorContext& operator=(const EditorContext&) = delete;

    ComponentList& Objects() const;
    QPoint ToPage(QPoint client) const;
    // The object being placed: the list's tail while placing, otherwise null.
    CComponent* PlacedObject() const;
    void Repaint() { window.Repaint(); }
    void RepaintPage(const Rect& page) { window.RepaintPage(page); }
    // A completed edit: snapshot, modified flag, the other windows told.
    void RecordEdit();

    // Ends whatever is in progress: the selection is cleared, an object being placed goes, the
    // window is idle with the select tool.
    void CancelOperation();
    void DeselectAll();
    // Every pin's end count and dot from the pins that share its point.
    void UpdateJunctions();
    // The pin and wire under the pointer lose their highlight, and are forgotten.
    void EndHover();
    void ForgetHover();
    // The selection rectangle, from its start to the pointer.
    void StartDragBox(QPoint page);
    void StretchDragBox(QPoint page);

    ZoomViewModel& zoom;
    EditorWindow& window;
    CTorvex2Doc* doc = nullptr;
    int currentTool = kSelectTool;
    Mode editMode = Idle;
    // The object being placed; it is the list's tail.
    CComponent* placed = nullptr;
    // Under the pointer while placing; never kept across a change of the list.
    CComponent* hoverPin = nullptr;
    CComponent* hoverWire = nullptr;
    // A drag-move: armed by a press on the selection, moved once the pointer moved.
    bool dragging = false;
    bool dragMoved = false;
    QPoint dragStart;
    // The selection rectangle belongs to the window, never to the document.
    std::unique_ptr<CDrawing> dragBox;
};

// Moves an object (and with `withExtent` its outline), stopping at the ends of the coordinate range:
// objects from a file or the clipboard may lie anywhere.
void ShiftObject(CComponent& object, QPoint d, bool withExtent);
// The box spanned by two points, top above bottom.
Rect SpanBox(QPoint a, QPoint b);

// One interaction of the window; it works on what the tools share.
class EditorTool {
public:
    explicit EditorTool(EditorContext& context) : m_Context(context) {}

protected:
    EditorContext& m_Context;
};
