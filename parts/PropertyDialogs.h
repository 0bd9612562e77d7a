#pragma once

#include "Installed.h"

class CComponent;

// Runs the modal property dialog of a schematic object. The dialog is chosen by the object's dialog
// template; it opens filled from the object's dialog buffers and, on OK, writes them back.
class PropertyDialogs {
public:
    virtual ~PropertyDialogs() = default;
    // True when the user closed the dialog with OK.
    virtual bool Run(CComponent& object) = 0;
};

// The installed dialogs (not owned); null when none are installed, and every dialog then counts as
// cancelled.
inline PropertyDialogs* propertyDialogs()
{
    return Installed<PropertyDialogs>::Get();
}
inline void setPropertyDialogs(PropertyDialogs* dialogs)
{
    Installed<PropertyDialogs>::Set(dialogs);
}
