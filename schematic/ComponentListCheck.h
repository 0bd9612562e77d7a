#pragma once

#include "Installed.h"

#include "ComponentHost.h"

#include <QString>
#include <QStringList>

#include <vector>

class CTorvex2Doc;

// Every walk of a schematic's object list relies on its order: each part is followed at once by as
// many attachments (its labels and pins) as it says. These find where a list breaks that order and
// mend it, one broken group at a time.

// True when no pin or label stands where a part is expected, every part is followed by all of its
// attachments and no part stands among another part's attachments.
bool CheckComponentList(const ComponentList& objects);

// Removes the first broken group, after saying which in a message: the part with the labels and pins
// that follow it up to the next object of another kind, never a second part; pins and labels that
// follow no part taking attachments go alone. False, and not a word, when nothing is broken.
bool RemoveBadComponent(ComponentList& objects);

// The messages of the window's two buttons: what the check finds, and what is left after a repair.
void ReportComponentListCheck(const ComponentList& objects);
void ReportComponentListRepair(const ComponentList& objects);

// One line of the component list window: an object with the type names of its attachments beneath.
struct ComponentTreeRow {
    QString text;
    QStringList children;

    bool operator==(const ComponentTreeRow&) const = default;
};
// The lines for the objects that are placed ("Resistor R1" over "Label", "Label", "Terminal", ...).
std::vector<ComponentTreeRow> ComponentTreeRows(const ComponentList& objects);

// The modal component list window over an object list, which it may repair; true when a repair
// removed objects.
class ComponentListWindow {
public:
    virtual ~ComponentListWindow() = default;
    virtual bool Run(ComponentList& objects) = 0;
};

// The installed window (not owned); null when none is installed, and nothing is then shown.
inline ComponentListWindow* componentListWindow()
{
    return Installed<ComponentListWindow>::Get();
}
inline void setComponentListWindow(ComponentListWindow* window)
{
    Installed<ComponentListWindow>::Set(window);
}

// Shows the component list window over the document's objects; true when a repair changed them. The
// window neither marks the document modified nor takes an undo snapshot: its caller does both after a
// repair, once no object of the list is being placed.
bool RunComponentListDialog(CTorvex2Doc& doc);
