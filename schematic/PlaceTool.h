#pragma once

#include "EditorContext.h"

#include <QPoint>

class CComponent;

// Placing and wiring: the object of the chosen tool follows the pointer, snapped to the grid, while
// the pins and wires under it light up; a click drops it onto a pin, splits the wire under it, or
// starts and ends the legs of a wire chain.
class PlaceTool : public EditorTool {
public:
    static constexpr int kSnapStep = 144;

    using EditorTool::EditorTool;

    // Chooses a tool: the select tool, or a new object of the type that follows the pointer.
    void Choose(int id);
    // A point while placing: on the nearest grid line of the frame when snapping, then kept inside
    // the frame.
    QPoint PlacePoint(QPoint page, bool snap) const;
    // The pointer moved to a page point.
    void Move(unsigned flags, QPoint page);
    // The button came up at a client point.
    void Drop(unsigned flags, QPoint client);

private:
    void HoverPass(QPoint page, const CComponent* placed);
    // Cuts the hovered wire at the drop point, which it returns as moved onto the wire.
    QPoint SplitWire(CComponent& wire, const CComponent& placed, QPoint drop);
    // The drop of anything but a wire's start: the object takes its attachments and is placed.
    void Place(CComponent& placed, QPoint drop, bool onPin);
};
