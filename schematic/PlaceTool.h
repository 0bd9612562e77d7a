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
    // A wire's leg ending on a pin whose line its start, dropped off the grid, missed by less than a
    // grid step: the start moves onto that line, along the leg before it (or across, when the start
    // joins nothing), so that the leg ends on the pin.
    void AlignStartWithPin(CComponent& wire, QPoint pin);
    // Moves the free end of the wire whose pin `end` is to `to`, along the wire, which must run
    // across the leg being drawn (vertical: the wire is vertical); false when it cannot.
    bool SlideLegEnd(CComponent& end, QPoint to, bool vertical);
    // The drop of anything but a wire's start: the object takes its attachments and is placed. A
    // wire's leg that ends beside the pin it was dropped on turns a corner onto the pin.
    void Place(CComponent& placed, QPoint drop, bool onPin);
};
