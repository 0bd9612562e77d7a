#pragma once

#include "UiServices.h"

// The program's messages and questions as modal message boxes over the active window.
class QtUiServices : public UiServices {
public:
    explicit QtUiServices(QString title);
    ~QtUiServices() override;

    void message(const QString& text) override;
    Answer question(const QString& text, Buttons buttons) override;
    void pump() override;
    QString saveFileName(const QString& filter, const QString& defaultSuffix) override;
    QString openFileName(const QString& filter) override;

private:
    QString m_Title;
    UiServices* m_Previous;
};
