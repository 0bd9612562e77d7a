#pragma once

#include "EditorContext.h"

#include <QPoint>

// The zoom commands and the zoom tool: a box drawn with the tool fills the window, a click zooms in
// around the point and the right button zooms out.
class ZoomTool : public EditorTool {
public:
    // Zooming in and out by the tool and the command: by 1000/707, about the square root of two.
    static constexpr int kZoomStep = 707;

    using EditorTool::EditorTool;

    // The zoom tool (800), zoom out (801), zoom to fit (802), actual size (803).
    void OnZoomCommand(int id);
    bool IsZoomCommandEnabled(int id) const;
    bool IsZoomCommandChecked(int id) const;

    // With the tool chosen: the button went down, came up, or the right button came up.
    void Press(QPoint page);
    void Release(QPoint client);
    void ZoomOut();
};
