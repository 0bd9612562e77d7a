#include "DrawingDialogs.h"

#include "CDrawing.h"
#include "CSubcircuit.h"
#include "CText.h"
#include "QtPropertyDialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QLabel* caption(const char* text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setBuddy(buddy);
    return label;
}

// The framework's filter ("name|pattern|name|pattern||") as Qt writes it ("name;;name").
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|', Qt::SkipEmptyParts);
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        names << parts[i];
    return names.join(QStringLiteral(";;"));
}

template <class T, class D> QtPropertyDialogs::Factory factory()
{
    return [](CComponent& object, QWidget* parent) -> std::unique_ptr<QDialog> {
        auto* typed = dynamic_cast<T*>(&object);
        if (!typed) return nullptr;
        return std::make_unique<D>(*typed, parent);
    };
}

} // namespace

void RegisterDrawingDialogs(QtPropertyDialogs& dialogs)
{
    dialogs.Register(CDrawing::kDialogTemplate, factory<CDrawing, EditLabelDialog>());
    dialogs.Register(CText::kDialogTemplate, factory<CText, EditTextDialog>());
    dialogs.Register(CSubcircuit::kDialogTemplate, factory<CSubcircuit, SubcircuitEditDialog>());
}

// ---- 311 ----

EditLabelDialog::EditLabelDialog(CDrawing& object, QWidget* parent)
    : QDialog(parent), m_object(object), m_name(new QLineEdit(object.LabelBuffer, this)),
      m_visible(new QCheckBox(QStringLiteral("Visible"), this))
{
    setWindowTitle(QStringLiteral("Edit Label"));
    m_visible->setChecked(object.LabelVisibleCheck != 0);
    auto* grid = new QGridLayout(this);
    grid->addWidget(caption("Name:", m_name, this), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(m_visible, 0, 2);
    grid->addWidget(okCancel(this), 1, 0, 1, 3);
}

QLineEdit* EditLabelDialog::Edit(int id) const
{
    return id == 1000 ? m_name : nullptr;
}

QCheckBox* EditLabelDialog::Check(int id) const
{
    return id == 1003 ? m_visible : nullptr;
}

void EditLabelDialog::accept()
{
    m_object.LabelBuffer = m_name->text();
    m_object.LabelVisibleCheck = m_visible->isChecked() ? 1 : 0;
    if (m_object.OnOK()) QDialog::accept();
}

// ---- 352 ----

EditTextDialog::EditTextDialog(CText& object, QWidget* parent)
    : QDialog(parent), m_object(object), m_text(new QLineEdit(object.TextBuffer, this))
{
    setWindowTitle(QStringLiteral("Edit Text"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(caption("Input Text:", m_text, this), 0, 0);
    grid->addWidget(m_text, 0, 1);
    grid->addWidget(okCancel(this), 1, 0, 1, 2);
    m_text->setMinimumWidth(320);
}

QLineEdit* EditTextDialog::Edit(int id) const
{
    return id == 1010 ? m_text : nullptr;
}

void EditTextDialog::accept()
{
    m_object.TextBuffer = m_text->text();
    if (m_object.OnOK()) QDialog::accept();
}

// ---- 351 ----

namespace {
constexpr int kEditIds[] = {1000, 1002, 1001};
constexpr int kCheckIds[] = {1003, 1004, 1005};
constexpr int kButtonIds[] = {1016, 1017, 1018, 1019};
} // namespace

std::function<QString(QWidget*)>& SubcircuitEditDialog::BrowsePrompt()
{
    static std::function<QString(QWidget*)> prompt = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Open"), QString(),
                                            qtFilter(CSubcircuit::FileFilter()));
    };
    return prompt;
}

SubcircuitEditDialog::SubcircuitEditDialog(CSubcircuit& object, QWidget* parent)
    : QDialog(parent), m_object(object)
{
    setWindowTitle(QStringLiteral("Subcircuit Edit"));
    auto* grid = new QGridLayout(this);
    const char* captions[] = {"Name:", "Filename:", "Parameters:"};
    for (int row = 0; row < 3; ++row) {
        m_edits[row] = new QLineEdit(this);
        m_checks[row] = new QCheckBox(QStringLiteral("Visible"), this);
        grid->addWidget(caption(captions[row], m_edits[row], this), row, 0);
        grid->addWidget(m_edits[row], row, 1);
        grid->addWidget(m_checks[row], row, 2);
    }
    m_edits[1]->setMinimumWidth(320);
    auto* row = new QHBoxLayout;
    const char* names[] = {"Browse", "Open", "Close", "Remove Path"};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(names[i]), this);
        button->setAutoDefault(false);
        m_buttons[i] = button;
        row->addWidget(button);
    }
    grid->addLayout(row, 3, 0, 1, 3);
    grid->addWidget(okCancel(this), 4, 0, 1, 3);

    connect(m_buttons[0], &QAbstractButton::clicked, this, [this] {
        Store();
        m_object.OnBrowse(BrowsePrompt()(this));
        Load();
    });
    connect(m_buttons[1], &QAbstractButton::clicked, this, [this] { Press(&CSubcircuit::OnOpen); });
    connect(m_buttons[2], &QAbstractButton::clicked, this, [this] { Press(&CSubcircuit::OnClose); });
    connect(m_buttons[3], &QAbstractButton::clicked, this, [this] { Press(&CSubcircuit::OnRemovePath); });
    Load();
}

void SubcircuitEditDialog::Store()
{
    m_object.NameText = m_edits[0]->text();
    m_object.FileText = m_edits[1]->text();
    m_object.ParamsText = m_edits[2]->text();
    m_object.NameVisible = m_checks[0]->isChecked() ? 1 : 0;
    m_object.FileVisible = m_checks[1]->isChecked() ? 1 : 0;
    m_object.ParamsVisible = m_checks[2]->isChecked() ? 1 : 0;
}

void SubcircuitEditDialog::Load()
{
    m_edits[0]->setText(m_object.NameText);
    m_edits[1]->setText(m_object.FileText);
    m_edits[2]->setText(m_object.ParamsText);
    m_checks[0]->setChecked(m_object.NameVisible != 0);
    m_checks[1]->setChecked(m_object.FileVisible != 0);
    m_checks[2]->setChecked(m_object.ParamsVisible != 0);
}

void SubcircuitEditDialog::Press(void (CSubcircuit::*handler)())
{
    Store();
    (m_object.*handler)();
    Load();
}

QLineEdit* SubcircuitEditDialog::Edit(int id) const
{
    for (int i = 0; i < 3; ++i)
        if (kEditIds[i] == id) return m_edits[i];
    return nullptr;
}

QCheckBox* SubcircuitEditDialog::Check(int id) const
{
    for (int i = 0; i < 3; ++i)
        if (kCheckIds[i] == id) return m_checks[i];
    return nullptr;
}

QAbstractButton* SubcircuitEditDialog::Button(int id) const
{
    for (int i = 0; i < 4; ++i)
        if (kButtonIds[i] == id) return m_buttons[i];
    return nullptr;
}

void SubcircuitEditDialog::accept()
{
    Store();
    if (m_object.OnOK()) QDialog::accept();
}
