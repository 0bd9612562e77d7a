#include "TextInput.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TextInput::TextInput(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Text Input"));
    m_prompt = new QLabel(QStringLiteral("Input Text:"), this);
    m_edit = new QLineEdit(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TextInput::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TextInput::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_edit);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

// The fields reach the controls when the dialog opens, as the caller set them just before.
void TextInput::showEvent(QShowEvent* event)
{
    m_prompt->setText(Prompt);
    m_edit->setText(Text);
    m_edit->setFocus();
    setWindowTitle(Caption);
    QDialog::showEvent(event);
}

void TextInput::accept()
{
    Text = m_edit->text();
    QDialog::accept();
}
