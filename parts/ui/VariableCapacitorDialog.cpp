#include "VariableCapacitorDialog.h"

#include "CVariableC.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

VariableCapacitorDialog::VariableCapacitorDialog(CVariableC& capacitor, QWidget* parent)
    : QDialog(parent), m_capacitor(capacitor), m_law(new QButtonGroup(this)),
      m_dielectrics(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Variable Capacitor"));
    const auto edit = [this](int id, const QString& text) {
        auto* e = new QLineEdit(text, this);
        m_edits.insert(id, e);
        return e;
    };
    const auto check = [this](int id, const QString& caption, bool checked) {
        auto* c = new QCheckBox(caption, this);
        c->setChecked(checked);
        m_checks.insert(id, c);
        return c;
    };
    const QString visible = QStringLiteral("Visible");
    const VariableCapacitorFields& f = capacitor.Fields;

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Name:"), this), 0, 0);
    grid->addWidget(edit(1010, capacitor.NameBuffer), 0, 1);
    grid->addWidget(check(1011, visible, capacitor.NameVisibleCheck != 0), 0, 2);

    auto* value = new QGroupBox(QStringLiteral("Value"), this);
    auto* v = new QGridLayout(value);
    v->addWidget(check(1014, visible, capacitor.ValueVisibleCheck != 0), 0, 0, 1, 3);
    auto* fixed = new QRadioButton(QStringLiteral("Fixed"), value);
    auto* polynomial = new QRadioButton(QStringLiteral("Polynomial"), value);
    auto* standard = new QRadioButton(QStringLiteral("Standard:"), value);
    m_law->addButton(fixed, VariableCapacitorFields::Fixed);
    m_law->addButton(polynomial, VariableCapacitorFields::Polynomial);
    m_law->addButton(standard, VariableCapacitorFields::Standard);
    v->addWidget(fixed, 1, 0);
    v->addWidget(edit(1016, f.fixedValue), 1, 1, 1, 2);
    v->addWidget(polynomial, 2, 0);
    v->addWidget(edit(1019, f.polynomial), 2, 1, 1, 2);
    m_dielectrics->addItems(f.dielectrics);
    m_dielectrics->setCurrentIndex(f.dielectric);
    v->addWidget(standard, 3, 0);
    v->addWidget(m_dielectrics, 3, 1, 1, 2);
    v->addWidget(new QLabel(QStringLiteral("Zero Value:"), value), 4, 1);
    v->addWidget(edit(1017, f.zeroValue), 4, 2);
    v->addWidget(new QLabel(QStringLiteral("Voltage Rating:"), value), 5, 1);
    v->addWidget(edit(1018, f.rating), 5, 2);
    v->addWidget(check(1024, QStringLiteral("Treat as transmission-line"), f.line), 6, 0, 1, 3);
    if (QAbstractButton* chosen = m_law->button(f.law)) chosen->setChecked(true);
    grid->addWidget(value, 1, 0, 1, 3);

    grid->addWidget(new QLabel(QStringLiteral("IC:"), this), 2, 0);
    grid->addWidget(edit(1012, capacitor.ICBuffer), 2, 1);
    grid->addWidget(check(1013, visible, capacitor.ICVisibleCheck != 0), 2, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 3, 0, 1, 3);
}

QAbstractButton* VariableCapacitorDialog::Radio(int id) const
{
    switch (id) {
    case 1005:
        return m_law->button(VariableCapacitorFields::Fixed);
    case 1007:
        return m_law->button(VariableCapacitorFields::Polynomial);
    case 1006:
        return m_law->button(VariableCapacitorFields::Standard);
    }
    return nullptr;
}

void VariableCapacitorDialog::accept()
{
    m_capacitor.NameBuffer = Edit(1010)->text();
    m_capacitor.ICBuffer = Edit(1012)->text();
    m_capacitor.NameVisibleCheck = Check(1011)->isChecked() ? 1 : 0;
    m_capacitor.ValueVisibleCheck = Check(1014)->isChecked() ? 1 : 0;
    m_capacitor.ICVisibleCheck = Check(1013)->isChecked() ? 1 : 0;
    VariableCapacitorFields& f = m_capacitor.Fields;
    f.law = m_law->checkedId();
    f.dielectric = m_dielectrics->currentIndex();
    f.fixedValue = Edit(1016)->text();
    f.polynomial = Edit(1019)->text();
    f.zeroValue = Edit(1017)->text();
    f.rating = Edit(1018)->text();
    f.line = Check(1024)->isChecked();
    if (m_capacitor.OnOK()) QDialog::accept();
}
