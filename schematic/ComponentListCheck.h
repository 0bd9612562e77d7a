#pragma once

#include "ComponentHost.h"

class CTorvex2Doc;

// The check of a schematic's object list after a file is opened, and the repair window it offers.
class ComponentListCheck {
public:
    virtual ~ComponentListCheck() = default;
    // True when every part is followed by its attachments and nothing stands out of place.
    virtual bool CheckComponentList(const ComponentList& objects) = 0;
    // The modal repair window over the document's list.
    virtual void RunRepairDialog(CTorvex2Doc& doc) = 0;
};
