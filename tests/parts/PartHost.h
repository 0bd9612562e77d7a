#pragma once
// A document stand-in for the part-class tests, and property dialogs answered from a script.
#include "CComponent.h"
#include "ComponentHost.h"
#include "PropertyDialogs.h"

#include <QHash>

#include <array>

#include <functional>
#include <memory>
#include <vector>

class PartHost : public ComponentHost {
public:
    ComponentList& Components() override { return list; }
    std::optional<int> NextDesignatorNumber(QChar letter) override
    {
        if (letter.unicode() >= 128) return std::nullopt;
        return ++counters[letter];
    }
    void RecordEdit() override {}

    // Places a new part as the view does: it joins the list's tail, is dropped at `at` and gets its
    // attachments.
    CComponent& Place(std::unique_ptr<CComponent> part, QPoint at = QPoint(1440, -1440))
    {
        CComponent& ref = *part;
        list.push_back(std::move(part));
        ref.Position = at;
        ref.CreateAttachments(*this, at.x(), at.y());
        return ref;
    }
    // The objects that follow the part, up to the end of the list.
    std::vector<CComponent*> After(const CComponent& part)
    {
        std::vector<CComponent*> out;
        bool seen = false;
        for (const auto& object : list) {
            if (seen) out.push_back(object.get());
            seen = seen || object.get() == &part;
        }
        return out;
    }
    // Turns the part and places its attachments again, as the view's rotate key does.
    void Turn(CComponent& part, int orientation)
    {
        part.Orientation = orientation;
        for (auto it = list.begin(); it != list.end(); ++it)
            if (it->get() == &part) part.PlaceAttachments(*this, it);
    }

    ComponentList list;
    QHash<QChar, int> counters;
};

// Runs each property dialog as the program's dialogs do: the object's own initialisation, then the
// script in place of the user, then the object's OK step.
class ScriptedDialogs : public PropertyDialogs {
public:
    ScriptedDialogs() { setPropertyDialogs(this); }
    ~ScriptedDialogs() override { setPropertyDialogs(nullptr); }
    bool Run(CComponent& object) override
    {
        object.OnInitDialog();
        return script && script(object) && object.OnOK();
    }
    std::function<bool(CComponent&)> script;
};

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
