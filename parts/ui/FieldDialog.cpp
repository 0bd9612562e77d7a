#include "FieldDialog.h"

#include "CComponent.h"
#include "DialogText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

FieldDialog::FieldDialog(CComponent& object, const QString& title, QWidget* parent)
    : QDialog(parent), m_Object(object)
{
    setWindowTitle(title);
}

template <class W> static W* control(const QHash<int, QWidget*>& controls, int id)
{
    return qobject_cast<W*>(controls.value(id));
}

QLineEdit* FieldDialog::Edit(int id) const
{
    return control<QLineEdit>(m_Controls, id);
}
QCheckBox* FieldDialog::Check(int id) const
{
    return control<QCheckBox>(m_Controls, id);
}
QRadioButton* FieldDialog::Radio(int id) const
{
    return control<QRadioButton>(m_Controls, id);
}
QComboBox* FieldDialog::Combo(int id) const
{
    return control<QComboBox>(m_Controls, id);
}
QAbstractButton* FieldDialog::Button(int id) const
{
    return control<QAbstractButton>(m_Controls, id);
}

QLineEdit* FieldDialog::BindEdit(int id, QString& field)
{
    auto* edit = new QLineEdit(this);
    m_Controls.insert(id, edit);
    m_Load.push_back([edit, &field] { edit->setText(field); });
    m_Store.push_back([edit, &field] { field = edit->text(); });
    return edit;
}

QCheckBox* FieldDialog::BindCheck(int id, const QString& caption, int& field)
{
    auto* check = new QCheckBox(caption, this);
    m_Controls.insert(id, check);
    m_Load.push_back([check, &field] { check->setChecked(field != 0); });
    m_Store.push_back([check, &field] { field = check->isChecked() ? 1 : 0; });
    return check;
}

QCheckBox* FieldDialog::BindCheck(int id, const QString& caption, bool& field)
{
    auto* check = new QCheckBox(caption, this);
    m_Controls.insert(id, check);
    m_Load.push_back([check, &field] { check->setChecked(field); });
    m_Store.push_back([check, &field] { field = check->isChecked(); });
    return check;
}

QRadioButton* FieldDialog::BindRadio(int id, const QString& caption, int& field, int value)
{
    QButtonGroup*& group = m_Groups[&field];
    if (!group) {
        group = new QButtonGroup(this);
        m_Load.push_back([group, &field] {
            if (QAbstractButton* b = group->button(field)) {
                b->setChecked(true);
            } else if (QAbstractButton* checked = group->checkedButton()) {
                group->setExclusive(false);
                checked->setChecked(false);
                group->setExclusive(true);
            }
        });
        m_Store.push_back([group, &field] { field = group->checkedId(); });
    }
    auto* radio = new QRadioButton(caption, this);
    group->addButton(radio, value);
    m_Controls.insert(id, radio);
    return radio;
}

QComboBox* FieldDialog::BindCombo(int id, const QStringList& items, int& field)
{
    auto* combo = new QComboBox(this);
    combo->addItems(items);
    m_Controls.insert(id, combo);
    m_Load.push_back([combo, &field] { combo->setCurrentIndex(field); });
    m_Store.push_back([combo, &field] { field = combo->currentIndex(); });
    return combo;
}

QPushButton* FieldDialog::BindButton(int id, const QString& caption, std::function<void()> work)
{
    auto* button = new QPushButton(caption, this);
    // Enter in an edit means OK, not the button last pressed.
    button->setAutoDefault(false);
    m_Controls.insert(id, button);
    connect(button, &QAbstractButton::clicked, this, [this, work = std::move(work)] {
        Store();
        work();
        Load();
    });
    return button;
}

void FieldDialog::Load()
{
    for (const auto& load : m_Load)
        load();
}

void FieldDialog::Store()
{
    for (const auto& store : m_Store)
        store();
}

QWidget* FieldDialog::Buttons()
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

QWidget* FieldDialog::EditRow(std::initializer_list<LabelledEdit> edits)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const LabelledEdit& e : edits) {
        QLineEdit* edit = BindEdit(e.id, *e.field);
        auto* label = new QLabel(QString::fromLatin1(e.label), row);
        label->setBuddy(edit);
        layout->addWidget(label);
        layout->addWidget(edit);
        if (e.unit) layout->addWidget(new QLabel(QString::fromLatin1(e.unit), row));
    }
    return row;
}

void FieldDialog::EditRows(QGridLayout* grid, int firstRow, std::initializer_list<LabelledEdit> edits)
{
    QWidget* parent = grid->parentWidget();
    int row = firstRow;
    for (const LabelledEdit& e : edits) {
        QLineEdit* edit = BindEdit(e.id, *e.field);
        auto* label = new QLabel(QString::fromLatin1(e.label), parent);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        if (e.unit) grid->addWidget(new QLabel(QString::fromLatin1(e.unit), parent), row, 2);
        ++row;
    }
}

void FieldDialog::LabelRow(QGridLayout* grid, int row, const char* caption, int editId, QString& text,
                           int checkId, int& visible)
{
    EditRows(grid, row, {{caption, editId, &text}});
    grid->addWidget(BindCheck(checkId, QStringLiteral("Visible"), visible), row, 2);
}

QGridLayout* FieldDialog::ValueGroup(QGridLayout* grid, int row, int checkId, int& visible, int columns)
{
    auto* group = new QGroupBox(QStringLiteral("Value"), this);
    auto* inner = new QGridLayout(group);
    inner->addWidget(BindCheck(checkId, QStringLiteral("Visible"), visible), 0, 0, 1, columns);
    grid->addWidget(group, row, 0, 1, 3);
    return inner;
}

void FieldDialog::PulseAndWaveformRows(QGridLayout* grid, int row, int& form, PulseTexts& texts,
                                       LabelledEdit low, LabelledEdit high)
{
    PulseTexts& t = texts;
    grid->addWidget(BindRadio(1006, QStringLiteral("Pulsed:"), form, PulseTexts::FormPulse), row, 0);
    grid->addWidget(EditRow({low, high, {"TD:", 1021, &t.TDText}, {"TR:", 1017, &t.TRText}}), row, 1);
    grid->addWidget(EditRow({{"TF:", 1018, &t.TFText}, {"PW:", 1019, &t.PWText}, {"PER:", 1022, &t.PERText}}),
                    row + 1, 1);
    grid->addWidget(BindRadio(1007, QStringLiteral("Orlisk Waveform:"), form, PulseTexts::FormWaveform),
                    row + 2, 0);
    grid->addWidget(BindEdit(1023, t.WaveformName), row + 2, 1);
}

QWidget* FieldDialog::NameRow(int editId, QString& name, int checkId, int& visible)
{
    QWidget* row = EditRow({{"Name:", editId, &name}});
    row->layout()->addWidget(BindCheck(checkId, QStringLiteral("Visible"), visible));
    return row;
}

void FieldDialog::accept()
{
    Store();
    if (m_Object.OnOK()) QDialog::accept();
}
