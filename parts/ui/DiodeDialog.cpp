#include "DiodeDialog.h"

#include "CDiode.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {
// The parameter edits' ids, in the order of DiodeFields::kKeys.
constexpr int kParameterIds[DiodeFields::kKeyCount] = {1013, 1014, 1021, 1017, 1018, 1019, 1022,
                                                       1016, 1020, 1028, 1027, 1023, 1025, 1026};
} // namespace

DiodeDialog::DiodeDialog(CDiode& diode, QWidget* parent)
    : QDialog(parent), m_diode(diode), m_kind(new QButtonGroup(this)), m_parts(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Diode Parameter Edit"));
    const auto edit = [this](int id, const QString& text) {
        auto* e = new QLineEdit(text, this);
        m_edits.insert(id, e);
        return e;
    };
    const auto check = [this](int id, int checked) {
        auto* c = new QCheckBox(QStringLiteral("Visible"), this);
        c->setChecked(checked != 0);
        m_checks.insert(id, c);
        return c;
    };
    const DiodeFields& f = diode.Fields;

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Name:"), this), 0, 0);
    grid->addWidget(edit(1010, diode.NameBuffer), 0, 1);
    grid->addWidget(check(1011, diode.NameVisibleCheck), 0, 2);

    auto* value = new QGroupBox(QStringLiteral("Value"), this);
    auto* v = new QGridLayout(value);
    v->addWidget(check(1024, diode.ValueVisibleCheck), 0, 0, 1, 4);
    auto* standard = new QRadioButton(QStringLiteral("Standard Types:"), value);
    auto* custom = new QRadioButton(QStringLiteral("Custom:"), value);
    m_kind->addButton(standard, DiodeFields::Standard);
    m_kind->addButton(custom, DiodeFields::Custom);
    m_parts->addItems(f.parts);
    m_parts->setCurrentIndex(f.part);
    v->addWidget(standard, 1, 0);
    v->addWidget(m_parts, 1, 1, 1, 3);
    v->addWidget(custom, 2, 0, 1, 4);
    for (int k = 0; k < DiodeFields::kKeyCount; ++k) {
        const int row = 3 + k / 2;
        const int col = (k % 2) * 2;
        v->addWidget(new QLabel(QLatin1String(DiodeFields::kKeys[size_t(k)]) + QLatin1Char(':'), value), row,
                     col);
        v->addWidget(edit(kParameterIds[k], f.parameters[size_t(k)]), row, col + 1);
    }
    if (QAbstractButton* chosen = m_kind->button(f.kind)) chosen->setChecked(true);
    grid->addWidget(value, 1, 0, 1, 3);

    grid->addWidget(new QLabel(QStringLiteral("IC:"), this), 2, 0);
    grid->addWidget(edit(1001, diode.ICBuffer), 2, 1);
    grid->addWidget(check(1008, diode.ICVisibleCheck), 2, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 3, 0, 1, 3);
}

QAbstractButton* DiodeDialog::Radio(int id) const
{
    switch (id) {
    case 1005:
        return m_kind->button(DiodeFields::Standard);
    case 1006:
        return m_kind->button(DiodeFields::Custom);
    }
    return nullptr;
}

void DiodeDialog::accept()
{
    m_diode.NameBuffer = Edit(1010)->text();
    m_diode.ICBuffer = Edit(1001)->text();
    m_diode.NameVisibleCheck = Check(1011)->isChecked() ? 1 : 0;
    m_diode.ValueVisibleCheck = Check(1024)->isChecked() ? 1 : 0;
    m_diode.ICVisibleCheck = Check(1008)->isChecked() ? 1 : 0;
    DiodeFields& f = m_diode.Fields;
    f.kind = m_kind->checkedId();
    f.part = m_parts->currentIndex();
    for (int k = 0; k < DiodeFields::kKeyCount; ++k)
        f.parameters[size_t(k)] = Edit(kParameterIds[k])->text();
    if (m_diode.OnOK()) QDialog::accept();
}
