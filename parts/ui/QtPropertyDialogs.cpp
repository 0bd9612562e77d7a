#include "QtPropertyDialogs.h"

#include "CComponent.h"
#include "ComponentPropertiesDialog.h"

// Capacitor family, diode.
#include "CDiode.h"
#include "CVariableC.h"
#include "DiodeDialog.h"
#include "VariableCapacitorDialog.h"

namespace {
// A dialog for objects of one class; null for an object of another class with the same template.
template <class Dialog, class Object> QtPropertyDialogs::Factory dialogOf()
{
    return [](CComponent& object, QWidget* parent) -> std::unique_ptr<QDialog> {
        auto* typed = dynamic_cast<Object*>(&object);
        if (!typed) return nullptr;
        return std::make_unique<Dialog>(*typed, parent);
    };
}
} // namespace

QtPropertyDialogs::QtPropertyDialogs(QWidget* parent) : m_parent(parent)
{
    Register(CComponent::kDialogTemplate, [](CComponent& object, QWidget* p) -> std::unique_ptr<QDialog> {
        return std::make_unique<ComponentPropertiesDialog>(object, p);
    });
    // Capacitor family, diode.
    Register(CVariableC::kDialogTemplate, dialogOf<VariableCapacitorDialog, CVariableC>());
    Register(CDiode::kDialogTemplate, dialogOf<DiodeDialog, CDiode>());
}

void QtPropertyDialogs::Register(int dialogTemplate, Factory factory)
{
    m_factories.insert(dialogTemplate, std::move(factory));
}

std::unique_ptr<QDialog> QtPropertyDialogs::Create(CComponent& object) const
{
    const auto it = m_factories.constFind(object.DialogTemplate());
    if (it == m_factories.cend()) return nullptr;
    return (*it)(object, m_parent);
}

bool QtPropertyDialogs::Run(CComponent& object)
{
    object.OnInitDialog();
    const std::unique_ptr<QDialog> dialog = Create(object);
    return dialog && dialog->exec() == QDialog::Accepted;
}
