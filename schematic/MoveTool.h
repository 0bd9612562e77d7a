#pragma once

#include <QPoint>

struct EditorContext;

// Drag-move: a press on the selection arms it, the pointer moves what is selected in whole grid
// steps when snapping (or with Shift), and a drag that moved something is one edit.
class MoveTool {
public:
    explicit MoveTool(EditorContext& context) : m_Context(context) {}

    // A drag distance: the nearest multiple of the grid step, halves away from zero.
    static qint64 SnapDistance(qint64 d);

    // The button went down on the selection at a page point.
    void Arm(QPoint page);
    void Move(unsigned flags, QPoint page);
    void End();

private:
    EditorContext& m_Context;
};
