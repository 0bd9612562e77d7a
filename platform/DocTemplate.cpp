#include "DocTemplate.h"

#include "Document.h"
#include "FrameHost.h"
#include "View.h"

#include <QDir>
#include <QFileInfo>

namespace {
FrameHost* g_host = nullptr;

// Files are the same when their canonical paths are (links and "..", relative paths).
QString canonical(const QString& path)
{
    const QFileInfo info(path);
    const QString c = info.canonicalFilePath();
    return c.isEmpty() ? info.absoluteFilePath() : c;
}
} // namespace

FrameHost* frameHost()
{
    return g_host;
}
void setFrameHost(FrameHost* host)
{
    g_host = host;
}

DocTemplate::DocTemplate(int resourceId, const QString& strings, std::type_index documentClass,
                         DocumentFactory makeDocument, ViewFactory makeView)
    : m_ResourceId(resourceId), m_DocumentClass(documentClass), m_Strings(strings.split(QLatin1Char('\n'))),
      m_MakeDocument(std::move(makeDocument)), m_MakeView(std::move(makeView))
{
}

DocTemplate::~DocTemplate()
{
    CloseAllDocuments();
}

QString DocTemplate::GetDocString(DocStringIndex index) const
{
    return index < m_Strings.size() ? m_Strings[index] : QString();
}

DocTemplate::Confidence DocTemplate::MatchDocType(const QString& path, Document** alreadyOpen) const
{
    Document* open = FindDocument(path);
    if (alreadyOpen) *alreadyOpen = open;
    if (open) return yesAlreadyOpen;
    const QString ext = GetDocString(filterExt);
    if (!ext.isEmpty() && path.endsWith(ext, Qt::CaseInsensitive)) return yesAttemptNative;
    return yesAttemptForeign;
}

Document* DocTemplate::FindDocument(const QString& path) const
{
    if (path.isEmpty()) return nullptr;
    const QString wanted = canonical(path);
    for (const auto& doc : m_Documents)
        if (!doc->PathName().isEmpty() && canonical(doc->PathName()) == wanted) return doc.get();
    return nullptr;
}

Document* DocTemplate::CreateNewDocument()
{
    if (!m_MakeDocument) return nullptr;
    std::unique_ptr<Document> doc = m_MakeDocument();
    if (!doc) return nullptr;
    doc->SetTemplate(this);
    m_Documents.push_back(std::move(doc));
    return m_Documents.back().get();
}

View* DocTemplate::CreateView(Document& document)
{
    View* view = m_MakeView ? m_MakeView() : nullptr;
    if (view) document.AddView(view);
    return view;
}

Document* DocTemplate::OpenDocumentFile(const QString& path, bool makeVisible)
{
    Document* doc = CreateNewDocument();
    if (!doc) return nullptr;
    FrameHost* host = frameHost();
    if (host && !host->CreateFrame(*this, *doc)) {
        RemoveDocument(doc);
        return nullptr;
    }
    bool ok;
    if (path.isEmpty()) {
        ok = doc->OnNewDocument();
        if (ok) {
            // A template that names no document (a plot) calls every new one plain "Untitled", as the
            // program always has; named ones are numbered.
            const QString name = GetDocString(docName);
            doc->SetTitle(name.isEmpty() ? QStringLiteral("Untitled")
                                         : name + QString::number(++m_UntitledCount));
        }
    } else {
        ok = doc->OnOpenDocument(path);
        if (ok) doc->SetPathName(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    }
    if (!ok) {
        CloseDocument(doc);
        return nullptr;
    }
    if (host) host->InitialUpdateFrame(*doc, makeVisible);
    return doc;
}

void DocTemplate::CloseDocument(Document* document)
{
    if (!document) return;
    if (FrameHost* host = frameHost()) host->DestroyFrames(*document);
    // Views without a host (tests, drivers) leave the document here.
    for (View* view : QList<View*>(document->Views()))
        document->RemoveView(view);
    document->OnCloseDocument();
    RemoveDocument(document);
}

void DocTemplate::CloseAllDocuments()
{
    while (!m_Documents.empty())
        CloseDocument(m_Documents.back().get());
}

QList<Document*> DocTemplate::Documents() const
{
    QList<Document*> list;
    for (const auto& doc : m_Documents)
        list.append(doc.get());
    return list;
}

void DocTemplate::RemoveDocument(Document* document)
{
    for (auto it = m_Documents.begin(); it != m_Documents.end(); ++it)
        if (it->get() == document) {
            m_Documents.erase(it);
            return;
        }
}
