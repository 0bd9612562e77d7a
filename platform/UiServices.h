#pragma once

#include "Installed.h"

#include <QString>
#include <QStringList>

#include <functional>

// Everything the program shows or asks goes through here, so the engine can run in the window,
// in tests and in command-line drivers alike.
class UiServices {
public:
    enum class Answer { Ok, Yes, No, Cancel };
    enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };

    virtual ~UiServices() = default;

    // A modal message with an OK button.
    virtual void message(const QString& text) = 0;
    // A modal question; returns the button pressed.
    virtual Answer question(const QString& text, Buttons buttons) = 0;
    // Lets waiting window events run (used during long work on the interface thread).
    virtual void pump() {}
    // Asks for the name of a file to write: `filter` lists the offered files ("Text Files (*.txt)"),
    // a name typed without extension gets `defaultSuffix`, and replacing a file is confirmed first.
    // Empty when the user cancelled.
    virtual QString saveFileName(const QString& filter, const QString& defaultSuffix) { return {}; }
    // Asks for an existing file to read, among those `filter` offers. Empty when the user cancelled.
    virtual QString openFileName(const QString& filter) { return {}; }
};

// The process-wide services; by default messages go to the error stream.
UiServices& ui();
// Installs services (not owned); nullptr restores the default.
inline void setUi(UiServices* services)
{
    Installed<UiServices>::Set(services);
}

// Prints every message on the error stream, answers questions with the default button.
class StderrUiServices : public UiServices {
public:
    explicit StderrUiServices(QString prefix = {}) : m_prefix(std::move(prefix)) {}
    void message(const QString& text) override;
    Answer question(const QString& text, Buttons buttons) override;

private:
    QString m_prefix;
};

// Records every message and answers questions from a script; for tests and headless drivers.
class ScriptedUiServices : public UiServices {
public:
    ScriptedUiServices();
    ~ScriptedUiServices() override;

    void message(const QString& text) override;
    Answer question(const QString& text, Buttons buttons) override;
    void pump() override;
    QString saveFileName(const QString& filter, const QString& defaultSuffix) override;
    QString openFileName(const QString& filter) override;

    QStringList messages;         // every message and question, in order
    QStringList fileNames;        // answers to the next file prompts; cancelled when empty
    QList<Answer> answers;        // answers to the next questions; Cancel/No when empty
    std::function<void()> onPump; // called at every pump
    std::function<void(const QString&)> onMessage;
    int pumpCount = 0;

private:
    UiServices* m_previous;
};
