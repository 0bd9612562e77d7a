#include "UiServices.h"

#include <cstdio>

namespace {
StderrUiServices g_default;
} // namespace

UiServices& ui()
{
    return Installed<UiServices>::GetOr(g_default);
}

void StderrUiServices::message(const QString& text)
{
    std::fprintf(stderr, "%s%s\n", qPrintable(m_prefix), qPrintable(text));
    std::fflush(stderr);
}

UiServices::Answer StderrUiServices::question(const QString& text, Buttons buttons)
{
    message(text);
    switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
        return Answer::Ok;
    default:
        return Answer::Yes;
    }
}

// A scripted service installs itself for its lifetime and restores what was there before.
ScriptedUiServices::ScriptedUiServices() : m_previous(Installed<UiServices>::Get())
{
    setUi(this);
}

ScriptedUiServices::~ScriptedUiServices()
{
    if (Installed<UiServices>::Get() == this) setUi(m_previous);
}

void ScriptedUiServices::message(const QString& text)
{
    messages << text;
    if (onMessage) onMessage(text);
}

UiServices::Answer ScriptedUiServices::question(const QString& text, Buttons buttons)
{
    messages << text;
    if (!answers.isEmpty()) return answers.takeFirst();
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

void ScriptedUiServices::pump()
{
    ++pumpCount;
    if (onPump) onPump();
}

QString ScriptedUiServices::saveFileName(const QString&, const QString&)
{
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString ScriptedUiServices::openFileName(const QString&)
{
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}
