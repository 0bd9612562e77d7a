#pragma once
// A document stand-in, scripted property dialogs, and parts placed and turned as the view does.
#include "CComponent.h"
#include "ComponentHost.h"
#include "PropertyDialogs.h"

#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

class PartsHost : public ComponentHost {
public:
    ComponentList& Components() override { return list; }
    std::optional<int> NextDesignatorNumber(QChar letter) override { return ++counters[letter.unicode()]; }
    void RecordEdit() override
    {
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

// An offset of orientation 1 in orientation o: with y upward, 2 maps (dx, dy) to (dy, -dx), 3 to
// (-dx, dy) and 4 to (dy, dx).
QPoint turned(int o, QPoint p);
Rect turned(int o, const Rect& r);
Rect moved(const Rect& r, QPoint by);
