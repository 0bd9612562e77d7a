#pragma once

#include "ComponentHost.h"

#include <QPoint>
#include <QString>

#include <array>
#include <initializer_list>

class CComponent;

// Where the objects that follow a part go: offsets from the part's position in attachment order
// (its name, value and IC labels, then its two or four pins, pin 1 on the position itself), one row
// per orientation 1 to 4.
struct AttachmentLayout {
    int pins;
    std::array<std::array<QPoint, 7>, 4> offsets;
};

// A new part as its tool makes it: Init with the type, and its designator letter as its text.
void InitPartOfType(CComponent& part, quint32 typeId);

// Gives a new part its attachments; the part is in the document's list, at its tail. Appended in this
// order, placed and with empty extents: the name label showing the part's new name; the value label
// with the part's default text; the IC label, hidden; the pins with the names given. Then
// PlaceAttachments puts them in place.
void AppendPartAttachments(CComponent& part, ComponentHost& doc, const QString& name, const QString& icText,
                           std::initializer_list<const char*> pins);

// Moves the attachments that follow `self` to their places for the part's position and orientation;
// an orientation outside 1..4 moves pin 1 only.
void PlaceAttachmentsByLayout(ComponentHost& doc, ComponentList::iterator self,
                              const AttachmentLayout& layout);
