#include "QtPropertyDialogs.h"

#include "CapacitorDialogs.h"
#include "ComponentPropertiesDialog.h"
#include "DrawingDialogs.h"
#include "ResistorDialogs.h"
#include "SourceDialog.h"

QtPropertyDialogs::QtPropertyDialogs(QWidget* parent) : m_parent(parent)
{
    Register<CComponent, ComponentPropertiesDialog>(CComponent::kDialogTemplate);
    // Labels of probes and bubbles, text, sub-circuit blocks.
    RegisterDrawingDialogs(*this);
    // Resistor family, sources and probes.
    RegisterResistorDialogs(*this);
    RegisterSourceDialog(*this);
    // Capacitor family, diode.
    RegisterCapacitorDialogs(*this);
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
