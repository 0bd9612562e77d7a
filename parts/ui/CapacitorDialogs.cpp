#include "CapacitorDialogs.h"

#include "CDiode.h"
#include "CVariableC.h"
#include "DiodeDialog.h"
#include "QtPropertyDialogs.h"
#include "VariableCapacitorDialog.h"

void RegisterCapacitorDialogs(QtPropertyDialogs& dialogs)
{
    dialogs.Register<CVariableC, VariableCapacitorDialog>(CVariableC::kDialogTemplate);
    dialogs.Register<CDiode, DiodeDialog>(CDiode::kDialogTemplate);
}
