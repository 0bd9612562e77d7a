#pragma once
// Parts as a tool places them, and one part class checked against a table row.
#include "CComponent.h"
#include "PartsTestSupport.h"

#include <array>
#include <memory>
#include <vector>

// Places a new part as the view does: it joins the list's tail, is dropped at `at` and gets its
// attachments.
CComponent& placePart(PartsHost& host, std::unique_ptr<CComponent> part, QPoint at = QPoint(1440, -1440));
// The objects that follow the part, up to the end of the list.
std::vector<CComponent*> objectsAfter(PartsHost& host, const CComponent& part);
// Turns the part and places its attachments again, as the view's rotate key does.
void turnPart(PartsHost& host, CComponent& part, int orientation);

// One part class as a table row: what its tool makes, what follows it in the list, where things go and
// what it draws. Offsets are from the part's position.
struct PartRow {
    const char* className;
    quint32 typeId;
    const char* letter;
    int dialogTemplate;
    const char* value; // the default value text
    const char* ic;    // the IC label's text
    const char* pins;  // the pins' names, in order
    std::array<Rect, 4> extents;
    std::vector<QPoint> labels; // name, value and IC labels in orientation 1
    // Pin 1, pin 2, ... in each orientation.
    std::array<std::vector<QPoint>, 4> pinsAt;
    const char* figure; // the recorder's calls in orientation 1, at (0, 0)
};

// Checks a row against the class the program has under its name: construction, attachments and
// naming, placement in every orientation, Extent and figure.
void checkPartRow(const PartRow& row);
