#include "ShellDocuments.h"

#include "CTorvex2Doc.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "Document.h"
#include "NetlistDocuments.h"

#include <QApplication>

#include <algorithm>
#include <utility>

ShellDocuments::ShellDocuments(DocManager& manager, std::type_index plotClass)
    : m_Manager(manager), m_PlotClass(plotClass)
{
    m_Timer.setSingleShot(true);
    QObject::connect(&m_Timer, &QTimer::timeout, [this] { ClosePending(); });
}

ShellDocuments::~ShellDocuments() = default;

OpenDocuments::Kind ShellDocuments::KindOf(const Document* document) const
{
    if (dynamic_cast<const CTorvex2Doc*>(document)) return Kind::Schematic;
    if (netlist_documents::IsNetlist(document)) return Kind::Netlist;
    if (const DocTemplate* t = document->Template(); t && t->DocumentClass() == m_PlotClass)
        return Kind::Plot;
    return Kind::Other;
}

std::vector<OpenDocuments::Entry> ShellDocuments::Entries() const
{
    std::vector<Entry> entries;
    for (Document* d : m_Manager.GetOpenDocuments())
        entries.push_back({d, KindOf(d)});
    return entries;
}

void ShellDocuments::CloseDocument(Document* document)
{
    if (!document) return;
    for (const Noted& n : m_Pending)
        if (n.document == document && !n.alive.expired()) return;
    m_Pending.append({document, document->Liveness()});
    if (!m_Timer.isActive()) m_Timer.start(0);
}

void ShellDocuments::ClosePending()
{
    // A run pumps the events, and an open or save may ask a question, from deep inside a document's
    // work; that work may have started under a command of the document to be closed. The closes wait
    // until no such work is on the stack. A modal dialog runs its own loop on top of such work (a
    // save's file prompt before the document counts as busy, a question).
    const QList<Document*> open = m_Manager.GetOpenDocuments();
    if (netlist_documents::AnyRunInProgress() || QApplication::activeModalWidget() ||
        std::any_of(open.cbegin(), open.cend(), [](const Document* d) { return d->IsBusy(); })) {
        m_Timer.start(kBusyPollMs);
        return;
    }
    const QList<Noted> pending = std::exchange(m_Pending, {});
    for (const Noted& n : pending) {
        // Meanwhile the document may have been closed (and its address given to another), saved,
        // edited, run or started a run.
        Document* d = n.document;
        if (n.alive.expired() || !m_Manager.GetOpenDocuments().contains(d)) continue;
        if (!IsUntouched({d, KindOf(d)})) continue;
        m_Manager.CloseDocument(d);
    }
}
