#include "DocManager.h"

#include "DocTemplate.h"
#include "Document.h"
#include "FrameHost.h"
#include "RecentFileList.h"
#include "UiServices.h"

#include <QDir>
#include <QFileInfo>

namespace {
DocManager* g_instance = nullptr;

QString filterOf(const DocTemplate* t)
{
    const QString name = t->GetDocString(DocTemplate::filterName);
    const QString ext = t->GetDocString(DocTemplate::filterExt);
    if (name.isEmpty() || ext.isEmpty()) return {};
    return name;
}
} // namespace

DocManager::DocManager()
{
    g_instance = this;
}

DocManager::~DocManager()
{
    CloseAllDocuments();
    if (g_instance == this) g_instance = nullptr;
}

DocManager* DocManager::Instance()
{
    return g_instance;
}

void DocManager::AddDocTemplate(std::unique_ptr<DocTemplate> docTemplate)
{
    if (docTemplate) m_Templates.push_back(std::move(docTemplate));
}

QList<DocTemplate*> DocManager::Templates() const
{
    QList<DocTemplate*> list;
    for (const auto& t : m_Templates)
        list.append(t.get());
    return list;
}

DocTemplate* DocManager::FindTemplate(std::type_index documentClass) const
{
    for (const auto& t : m_Templates)
        if (t->DocumentClass() == documentClass) return t.get();
    return nullptr;
}

Document* DocManager::FindOpenDocument(const QString& path) const
{
    for (const auto& t : m_Templates)
        if (Document* doc = t->FindDocument(path)) return doc;
    return nullptr;
}

Document* DocManager::ActivateOpenDocument(const QString& path) const
{
    Document* open = FindOpenDocument(path);
    if (open)
        if (FrameHost* host = frameHost()) host->ActivateFrame(*open);
    return open;
}

QList<Document*> DocManager::GetOpenDocuments() const
{
    QList<Document*> list;
    for (const auto& t : m_Templates)
        list += t->Documents();
    return list;
}

QStringList DocManager::FileNewNames() const
{
    QStringList names;
    for (const auto& t : m_Templates) {
        const QString name = t->GetDocString(DocTemplate::fileNewName);
        if (!name.isEmpty()) names << name;
    }
    return names;
}

QStringList DocManager::OpenFilters() const
{
    QStringList filters;
    for (const auto& t : m_Templates) {
        const QString f = filterOf(t.get());
        if (!f.isEmpty()) filters << f;
    }
    return filters;
}

void DocManager::OnFileNew()
{
    if (m_Templates.empty()) return;
    DocTemplate* chosen = m_Templates.front().get();
    if (m_Templates.size() > 1) {
        QList<DocTemplate*> offered;
        for (const auto& t : m_Templates)
            if (!t->GetDocString(DocTemplate::fileNewName).isEmpty()) offered << t.get();
        if (offered.isEmpty()) return;
        chosen = offered.front();
        if (offered.size() > 1) {
            const int index = chooseNewType ? chooseNewType(FileNewNames()) : 0;
            if (index < 0 || index >= offered.size()) return;
            chosen = offered[index];
        }
    }
    chosen->OpenDocumentFile(QString());
}

void DocManager::OnFileOpen()
{
    const QString path = PromptFileName(true, QString(), nullptr);
    if (!path.isEmpty()) OpenDocumentFile(path);
}

DocTemplate* DocManager::MatchTemplate(const QString& path, const QList<DocTemplate*>& templates,
                                       Document** alreadyOpen)
{
    DocTemplate* best = nullptr;
    DocTemplate::Confidence bestConfidence = DocTemplate::noAttempt;
    if (alreadyOpen) *alreadyOpen = nullptr;
    for (DocTemplate* t : templates) {
        Document* open = nullptr;
        const DocTemplate::Confidence c = t->MatchDocType(path, &open);
        if (c > bestConfidence) {
            bestConfidence = c;
            best = t;
            if (alreadyOpen) *alreadyOpen = open;
        }
        if (c == DocTemplate::yesAlreadyOpen) break;
    }
    return best;
}

Document* DocManager::OpenDocumentFile(const QString& path, bool addToMru,
                                       const QList<DocTemplate*>& candidates)
{
    QList<DocTemplate*> templates = Templates();
    for (DocTemplate* t : candidates)
        if (t && !templates.contains(t)) templates << t;
    Document* open = nullptr;
    DocTemplate* best = MatchTemplate(path, templates, &open);
    if (open) {
        if (FrameHost* host = frameHost()) host->ActivateFrame(*open);
        return open;
    }
    if (!best) {
        ui().message(QStringLiteral("Failed to open document."));
        return nullptr;
    }
    Document* doc = best->OpenDocumentFile(path);
    if (doc && addToMru) AddToRecentFileList(doc->PathName());
    return doc;
}

bool DocManager::SaveAllModified()
{
    const QList<Document*> docs = GetOpenDocuments();
    for (Document* doc : docs)
        if (doc->IsBusy()) {
            ui().message(doc->BusyMessage());
            return false;
        }
    for (Document* doc : docs)
        if (!doc->SaveModified()) return false;
    return true;
}

void DocManager::CloseAllDocuments()
{
    for (const auto& t : m_Templates)
        t->CloseAllDocuments();
}

void DocManager::CloseDocument(Document* document)
{
    if (document && document->Template()) document->Template()->CloseDocument(document);
}

void DocManager::SetRecentFileList(std::unique_ptr<RecentFileList> list)
{
    m_Recent = std::move(list);
}

void DocManager::AddToRecentFileList(const QString& path)
{
    if (m_Recent && !path.isEmpty()) m_Recent->Add(path);
}

Document* DocManager::OpenRecentFile(int index)
{
    if (!m_Recent || index < 0 || index >= m_Recent->Files().size()) return nullptr;
    Document* doc = OpenDocumentFile(m_Recent->Files()[index]);
    if (!doc) m_Recent->Remove(index);
    return doc;
}

QString DocManager::PromptFileName(bool open, const QString& suggested, DocTemplate* docTemplate) const
{
    if (!promptFileName) return {};
    QStringList filters;
    if (docTemplate) {
        const QString f = filterOf(docTemplate);
        if (!f.isEmpty()) filters << f;
    } else {
        filters = OpenFilters();
    }
    filters << QStringLiteral("All Files (*)");
    return promptFileName(open, suggested, filters);
}
