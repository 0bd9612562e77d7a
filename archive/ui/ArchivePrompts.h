#pragma once

#include "Installed.h"

#include <QString>

class QWidget;

// The questions the archive browser asks besides its own window: a line of text and a folder. The
// program shows dialogs; tests install answers of their own.
class ArchivePrompts {
public:
    virtual ~ArchivePrompts() = default;

    // Asks for one line of text, starting from `text`; true and the typed text on OK.
    virtual bool AskText(QWidget* owner, const QString& caption, const QString& prompt, QString& text) = 0;
    // Asks for a folder of this machine; empty when none was chosen.
    virtual QString PickFolder(QWidget* owner, const QString& title) = 0;
};

// The process-wide prompts; by default the dialogs.
ArchivePrompts& archivePrompts();
// Installs prompts (not owned); nullptr restores the dialogs.
inline void setArchivePrompts(ArchivePrompts* prompts)
{
    Installed<ArchivePrompts>::Set(prompts);
}

// The program's prompts: TextInput and the desktop's folder picker.
class DialogArchivePrompts : public ArchivePrompts {
public:
    bool AskText(QWidget* owner, const QString& caption, const QString& prompt, QString& text) override;
    QString PickFolder(QWidget* owner, const QString& title) override;
};
