#pragma once

#include "EditorContext.h"

#include <QPoint>

// Drag-move: a press on the selection arms it, the pointer moves what is selected in whole grid
// steps when snapping (or with Shift), and a drag that moved something is one edit.
class MoveTool : public EditorTool {
public:
    using EditorTool::EditorTool;

    // A drag distance: the nearest multiple of the grid step, halves away from zero.
    static qint64 SnapDistance(qint64 d);

    // The button went down on the selection at a page point.
    void Arm(QPoint page);
    void Move(unsigned flags, QPoint page);
    void End();
};
