#include "DiodeDialog.h"

#include "CDiode.h"

#include <QGridLayout>
#include <QLabel>

namespace {
// The parameter edits' ids, in the order of DiodeFields::kKeys.
constexpr int kParameterIds[DiodeFields::kKeyCount] = {1013, 1014, 1021, 1017, 1018, 1019, 1022,
                                                       1016, 1020, 1028, 1027, 1023, 1025, 1026};
} // namespace

DiodeDialog::DiodeDialog(CDiode& diode, QWidget* parent)
    : FieldDialog(diode, QStringLiteral("Diode Parameter Edit"), parent)
{
    DiodeFields& f = diode.Fields;
    auto* grid = new QGridLayout(this);
    LabelRow(grid, 0, "Name:", 1010, diode.NameBuffer, 1011, diode.NameVisibleCheck);

    QGridLayout* v = ValueGroup(grid, 1, 1024, diode.ValueVisibleCheck, 4);
    v->addWidget(BindRadio(1005, QStringLiteral("Standard Types:"), f.kind, DiodeFields::Standard), 1, 0);
    v->addWidget(BindCombo(1015, f.parts, f.part), 1, 1, 1, 3);
    v->addWidget(BindRadio(1006, QStringLiteral("Custom:"), f.kind, DiodeFields::Custom), 2, 0, 1, 4);
    for (int k = 0; k < DiodeFields::kKeyCount; ++k) {
        const int row = 3 + k / 2;
        const int col = (k % 2) * 2;
        v->addWidget(new QLabel(QLatin1String(DiodeFields::kKeys[size_t(k)]) + QLatin1Char(':')), row, col);
        v->addWidget(BindEdit(kParameterIds[k], f.parameters[size_t(k)]), row, col + 1);
    }

    LabelRow(grid, 2, "IC:", 1001, diode.ICBuffer, 1008, diode.ICVisibleCheck);
    grid->addWidget(Buttons(), 3, 0, 1, 3);
    Load();
}
