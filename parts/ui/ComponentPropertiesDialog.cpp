#include "ComponentPropertiesDialog.h"

#include "CComponent.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

ComponentPropertiesDialog::ComponentPropertiesDialog(CComponent& object, QWidget* parent)
    : QDialog(parent), m_object(object), m_name(new QLineEdit(this)), m_value(new QLineEdit(this)),
      m_ic(new QLineEdit(this)), m_nameVisible(new QCheckBox(QStringLiteral("Visible"), this)),
      m_valueVisible(new QCheckBox(QStringLiteral("Visible"), this)),
      m_icVisible(new QCheckBox(QStringLiteral("Visible"), this))
{
    setWindowTitle(QStringLiteral("Edit Component Properties"));
    auto* grid = new QGridLayout(this);
    const struct {
        const char* caption;
        QLineEdit* edit;
        QCheckBox* check;
    } rows[] = {
        {"Name:", m_name, m_nameVisible}, {"Value:", m_value, m_valueVisible}, {"IC:", m_ic, m_icVisible}};
    int row = 0;
    for (const auto& r : rows) {
        auto* label = new QLabel(QString::fromLatin1(r.caption), this);
        label->setBuddy(r.edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(r.edit, row, 1);
        grid->addWidget(r.check, row, 2);
        ++row;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, row, 0, 1, 3);

    m_name->setText(object.NameBuffer);
    m_value->setText(object.ValueBuffer);
    m_ic->setText(object.ICBuffer);
    m_nameVisible->setChecked(object.NameVisibleCheck != 0);
    m_valueVisible->setChecked(object.ValueVisibleCheck != 0);
    m_icVisible->setChecked(object.ICVisibleCheck != 0);
}

QLineEdit* ComponentPropertiesDialog::Edit(int id) const
{
    switch (id) {
    case 1000:
        return m_name;
    case 1002:
        return m_value;
    case 1001:
        return m_ic;
    }
    return nullptr;
}

QCheckBox* ComponentPropertiesDialog::Check(int id) const
{
    switch (id) {
    case 1003:
        return m_nameVisible;
    case 1004:
        return m_valueVisible;
    case 1005:
        return m_icVisible;
    }
    return nullptr;
}

void ComponentPropertiesDialog::accept()
{
    m_object.NameBuffer = m_name->text();
    m_object.ValueBuffer = m_value->text();
    m_object.ICBuffer = m_ic->text();
    m_object.NameVisibleCheck = m_nameVisible->isChecked() ? 1 : 0;
    m_object.ValueVisibleCheck = m_valueVisible->isChecked() ? 1 : 0;
    m_object.ICVisibleCheck = m_icVisible->isChecked() ? 1 : 0;
    if (m_object.OnOK()) QDialog::accept();
}
