#include "VariableCapacitorDialog.h"

#include "CVariableC.h"

#include <QGridLayout>
#include <QLabel>

VariableCapacitorDialog::VariableCapacitorDialog(CVariableC& capacitor, QWidget* parent)
    : FieldDialog(capacitor, QStringLiteral("Variable Capacitor"), parent)
{
    using F = VariableCapacitorFields;
    F& f = capacitor.Fields;
    auto* grid = new QGridLayout(this);
    LabelRow(grid, 0, "Name:", 1010, capacitor.NameBuffer, 1011, capacitor.NameVisibleCheck);

    QGridLayout* v = ValueGroup(grid, 1, 1014, capacitor.ValueVisibleCheck, 3);
    v->addWidget(BindRadio(1005, QStringLiteral("Fixed"), f.law, F::Fixed), 1, 0);
    v->addWidget(BindEdit(1016, f.fixedValue), 1, 1, 1, 2);
    v->addWidget(BindRadio(1007, QStringLiteral("Polynomial"), f.law, F::Polynomial), 2, 0);
    v->addWidget(BindEdit(1019, f.polynomial), 2, 1, 1, 2);
    v->addWidget(BindRadio(1006, QStringLiteral("Standard:"), f.law, F::Standard), 3, 0);
    v->addWidget(BindCombo(1015, f.dielectrics, f.dielectric), 3, 1, 1, 2);
    v->addWidget(new QLabel(QStringLiteral("Zero Value:")), 4, 1);
    v->addWidget(BindEdit(1017, f.zeroValue), 4, 2);
    v->addWidget(new QLabel(QStringLiteral("Voltage Rating:")), 5, 1);
    v->addWidget(BindEdit(1018, f.rating), 5, 2);
    v->addWidget(BindCheck(1024, QStringLiteral("Treat as transmission-line"), f.line), 6, 0, 1, 3);

    LabelRow(grid, 2, "IC:", 1012, capacitor.ICBuffer, 1013, capacitor.ICVisibleCheck);
    grid->addWidget(Buttons(), 3, 0, 1, 3);
    Load();
}
