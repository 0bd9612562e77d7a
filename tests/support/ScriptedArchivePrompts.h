#pragma once
// Answers the archive browser's questions from a script (nullopt is Cancel) and records them.
#include "ArchivePrompts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct ScriptedArchivePrompts : ArchivePrompts {
    QList<std::optional<QString>> answers;
    QStringList folders;
    QStringList asked;

    ScriptedArchivePrompts() { setArchivePrompts(this); }
    ~ScriptedArchivePrompts() override { setArchivePrompts(nullptr); }
    bool AskText(QWidget*, const QString& caption, const QString& prompt, QString& text) override
    {
        asked << caption + " / " + prompt;
        const std::optional<QString> a = answers.isEmpty() ? std::nullopt : answers.takeFirst();
        if (a) text = *a;
        return a.has_value();
    }
    QString PickFolder(QWidget*, const QString& title) override
    {
        asked << title;
        return folders.isEmpty() ? QString() : folders.takeFirst();
    }
};
