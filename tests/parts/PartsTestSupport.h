#pragma once
// A document stand-in, scripted property dialogs, parts placed as a tool places them, and one part
// class checked against a table row.
#include "CComponent.h"
#include "ComponentHost.h"
#include "PropertyDialogs.h"

#include <array>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <span>
#include <vector>

class PartsHost : public ComponentHost {
public:
    ComponentList& Components() override { return list; }
    std::optional<int> NextDesignatorNumber(QChar letter) override { return ++counters[letter.unicode()]; }
    void RecordEdit() override
    {
        ++edits;
        if (onRecordEdit) onRecordEdit();
    }

    template <class T> T& add(std::unique_ptr<T> object)
    {
        T& ref = *object;
        list.push_back(std::move(object));
        return ref;
    }
    // A plain object of a type, such as a label or a pin.
    CComponent& addObject(quint32 type, const QString& text, quint8 visible = 1);
    CComponent& at(size_t i) { return **std::next(list.begin(), qsizetype(i)); }

    ComponentList list;
    std::map<char16_t, int> counters;
    std::function<void()> onRecordEdit;
    int edits = 0;
};

// Runs every property dialog as the Qt dialogs do (the object prepares its fields, the script plays
// the user, OK hands the fields back), without windows.
class ScriptedDialogs : public PropertyDialogs {
public:
    ScriptedDialogs() { setPropertyDialogs(this); }
    ~ScriptedDialogs() override { setPropertyDialogs(nullptr); }
    bool Run(CComponent& object) override
    {
        ++runs;
        object.OnInitDialog();
        return script && script(object) && object.OnOK();
    }
    std::function<bool(CComponent&)> script;
    int runs = 0;
};

// Places a new part as the view does: it joins the list's tail, is dropped at `at`, gets its
// attachments and is placed.
CComponent& placePart(ComponentHost& doc, std::unique_ptr<CComponent> part, QPoint at = QPoint(1440, -1440));
// The objects that follow the part, up to the end of the list.
std::vector<CComponent*> objectsAfter(ComponentHost& doc, const CComponent& part);
// Turns the part and places its attachments again, as the view's rotate key does.
void turnPart(ComponentHost& doc, CComponent& part, int orientation);

// One part class as a table row: what its tool makes, what follows it in the list, where things go and
// what it draws. Offsets are from the part's position.
struct PartRow {
    const char* className;
    quint32 typeId;
    const char* letter;
    int dialogTemplate;
    const char* value; // the default value text
    const char* ic;    // the IC label's text; null: no IC label
    const char* pins;  // the pins' names, in order
    std::array<Rect, 4> extents;
    std::vector<QPoint> labels; // name, value and IC labels in the orientation the part starts with
    // Pin 1, pin 2, ... in each orientation.
    std::array<std::vector<QPoint>, 4> pinsAt;
    const char* figure;  // the recorder's calls in orientation 1, at (0, 0)
    int orientation = 1; // the orientation a new part starts with
    int valueLabel = 1;  // a new part's value label: 1 shown, 0 hidden, -1 none
};

// Checks a row against the class the program has under its name: construction, attachments and
// naming, placement in every orientation with the pins at the ends of the figure's leads, Extent,
// figure and colours.
void checkPartRow(const PartRow& row);
// The same for the rows of a family whose parts draw nothing in an orientation outside 1 to 4.
void checkFamily(std::span<const PartRow> rows);
// Pin 1 on the part's point and pin 2 `length` twips along the figure, in each orientation.
std::array<std::vector<QPoint>, 4> twoPins(int length);
// The Extent of a figure `length` long from pin 1 and `halfHeight` to either side, in each
// orientation.
std::array<Rect, 4> twoPinExtents(int length, int halfHeight);
Rect moved(const Rect& r, QPoint by);
