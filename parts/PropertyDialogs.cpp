#include "PropertyDialogs.h"

namespace {
PropertyDialogs* g_dialogs = nullptr;
}

PropertyDialogs* propertyDialogs()
{
    return g_dialogs;
}
void setPropertyDialogs(PropertyDialogs* dialogs)
{
    g_dialogs = dialogs;
}
