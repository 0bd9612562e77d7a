#include "ComponentPropertiesDialog.h"

#include "CComponent.h"

#include <QGridLayout>

ComponentPropertiesDialog::ComponentPropertiesDialog(CComponent& c, QWidget* parent)
    : FieldDialog(c, QStringLiteral("Edit Component Properties"), parent)
{
    auto* grid = new QGridLayout(this);
    LabelRow(grid, 0, "Name:", 1000, c.NameBuffer, 1003, c.NameVisibleCheck);
    LabelRow(grid, 1, "Value:", 1002, c.ValueBuffer, 1004, c.ValueVisibleCheck);
    LabelRow(grid, 2, "IC:", 1001, c.ICBuffer, 1005, c.ICVisibleCheck);
    grid->addWidget(Buttons(), 3, 0, 1, 3);
    Load();
}
