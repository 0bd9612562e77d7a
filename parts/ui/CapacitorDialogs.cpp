#include "CapacitorDialogs.h"

#include "CDiode.h"
#include "CVariableC.h"
#include "DiodeDialog.h"
#include "QtPropertyDialogs.h"
#include "VariableCapacitorDialog.h"

namespace {
// A dialog for objects of one class; none for an object of another class with the same template.
template <class Dialog, class Object> QtPropertyDialogs::Factory dialogOf()
{
    return [](CComponent& object, QWidget* parent) -> std::unique_ptr<QDialog> {
        auto* typed = dynamic_cast<Object*>(&object);
        if (!typed) return nullptr;
        return std::make_unique<Dialog>(*typed, parent);
    };
}
} // namespace

void RegisterCapacitorDialogs(QtPropertyDialogs& dialogs)
{
    dialogs.Register(CVariableC::kDialogTemplate, dialogOf<VariableCapacitorDialog, CVariableC>());
    dialogs.Register(CDiode::kDialogTemplate, dialogOf<DiodeDialog, CDiode>());
}
