#pragma once

#include "ComponentHost.h"

#include <QPoint>

#include <array>

class CComponent;

// The objects that follow a part in the document's list, in this order, and where they go: its name
// label, its value label, its IC label, then its pins. Probes, bubbles and grounds follow the same
// rules with fewer labels.
struct AttachmentLayout {
    enum ValueLabel { ValueShown, ValueHidden, NoValueLabel };

    bool named = true;             // a name label, showing the name the new object takes
    ValueLabel value = ValueShown; // how a new part shows its default value text
    const char* ic = nullptr;      // the IC label's text, hidden at first; null: no IC label
    const char* pins = "12";       // the pins' names, one character a pin
    // Offsets from the part's position in the order above, one row for each orientation 1 to 4; pin 1
    // stands on the position itself.
    std::array<std::array<QPoint, 7>, 4> offsets{};

    int LabelCount() const { return int(named) + int(value != NoValueLabel) + int(ic != nullptr); }
    int PinCount() const;
    int Count() const { return LabelCount() + PinCount(); }
};

// Gives a new part its attachments, when the part is the tail of the document's list (attachments
// appended after another object would not follow the part): names the part, appends its labels and
// pins, placed and with empty extents, and lets PlaceAttachments put them in place.
void CreateAttachmentsByLayout(CComponent& part, ComponentHost& doc, const AttachmentLayout& layout);

// Moves the attachments that follow `self` to their places for the part's position and orientation;
// an orientation outside 1..4 moves pin 1 only. A list whose groups are broken moves nothing rather
// than another part's objects.
void PlaceAttachmentsByLayout(ComponentHost& doc, ComponentList::iterator self,
                              const AttachmentLayout& layout);
