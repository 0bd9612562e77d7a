#pragma once

#include "OpenDocuments.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <memory>
#include <typeindex>
#include <typeinfo>

class DocManager;

// The open documents as the shell's document manager holds them. A close is only noted: the
// document is closed once control is back in the event loop and no document is busy (no run, open
// or save in progress, no modal dialog or file prompt showing), and only if it is still open and
// untouched then.
class ShellDocuments : public OpenDocuments {
public:
    // How long a close waits for a busy document before it looks again, in milliseconds.
    static constexpr int kBusyPollMs = 100;

    // plotClass: the class of the plot documents, which the schematic side does not know by name.
    explicit ShellDocuments(DocManager& manager, std::type_index plotClass = typeid(void));
    ~ShellDocuments() override;

    std::vector<Entry> Entries() const override;
    void CloseDocument(Document* document) override;

private:
    // The liveness tells the noted document from a later one at the same address.
    struct Noted {
        Document* document;
        std::weak_ptr<const void> alive;
    };
    void ClosePending();
    Kind KindOf(const Document* document) const;

    DocManager& m_Manager;
    std::type_index m_PlotClass;
    QList<Noted> m_Pending;
    QTimer m_Timer;
};
