#include "ArchivePrompts.h"

#include "TextInput.h"

#include <QFileDialog>

namespace {
DialogArchivePrompts g_dialogs;
} // namespace

ArchivePrompts& archivePrompts()
{
    return Installed<ArchivePrompts>::GetOr(g_dialogs);
}

bool DialogArchivePrompts::AskText(QWidget* owner, const QString& caption, const QString& prompt,
                                   QString& text)
{
    TextInput dialog(owner);
    dialog.Caption = caption;
    dialog.Prompt = prompt;
    dialog.Text = text;
    if (dialog.exec() != QDialog::Accepted) return false;
    text = dialog.Text;
    return true;
}

QString DialogArchivePrompts::PickFolder(QWidget* owner, const QString& title)
{
    return QFileDialog::getExistingDirectory(owner, title);
}
