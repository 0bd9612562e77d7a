#pragma once
// A document stand-in and scripted property dialogs for the part tests.
#include "CComponent.h"
#include "ComponentHost.h"
#include "PropertyDialogs.h"

#include <functional>
#include <iterator>
#include <map>

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
