#pragma once

#include "OpenDocuments.h"

#include <QList>
#include <QObject>
#include <QTimer>

class DocManager;

// The open documents as the shell's document manager holds them. A close is only noted: the
// document is closed once control is back in the event loop and no document is busy (no run, open
// or save in progress), and only if it is still open and untouched then.
class ShellDocuments : public OpenDocuments {
public:
    // How long a close waits for a busy document before it looks again, in milliseconds.
    static constexpr int kBusyPollMs = 100;

    explicit ShellDocuments(DocManager& manager);
    ~ShellDocuments() override;

    std::vector<Entry> Entries() const override;
    void CloseDocument(Document* document) override;

    // The closes still waiting.
    const QList<Document*>& Pending() const { return m_Pending; }

private:
    void ClosePending();

    DocManager& m_Manager;
    QList<Document*> m_Pending;
    QTimer m_Timer;
};
