#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <typeindex>
#include <typeinfo>
#include <vector>

class Document;
class DocTemplate;
class RecentFileList;

// The registered document templates, in registration order, and the File commands that work across
// them: New (with a chooser when several templates offer a File New name), Open (filters of every
// template, the template chosen by extension, an open file activated rather than read twice), the
// recent-file list and closing everything at the end.
class DocManager {
public:
    DocManager();
    ~DocManager();
    DocManager(const DocManager&) = delete;
    DocManager& operator=(const DocManager&) = delete;

    // The manager of the running program (the last one made); null when there is none.
    static DocManager* Instance();

    void AddDocTemplate(std::unique_ptr<DocTemplate> docTemplate);
    QList<DocTemplate*> Templates() const;
    // The template whose documents are of class D (the first registered); null when none is.
    template <class D> DocTemplate* FindTemplate() const { return FindTemplate(typeid(D)); }
    DocTemplate* FindTemplate(std::type_index documentClass) const;
    // Every open document of every template, in template order.
    QList<Document*> GetOpenDocuments() const;
    // The open document that holds the file, of any template; null when none does.
    Document* FindOpenDocument(const QString& path) const;
    // Brings the window of the document that holds the file to the front; null when none does.
    Document* ActivateOpenDocument(const QString& path) const;

    // The names File New offers, and the filters File Open lists (without "All Files").
    QStringList FileNewNames() const;
    QStringList OpenFilters() const;

    void OnFileNew();
    void OnFileOpen();
    // Opens a file with the template that fits it best among the registered ones (or among
    // candidates when given); an open file is activated and returned. Null on failure.
    Document* OpenDocumentFile(const QString& path, bool addToMru = true,
                               const QList<DocTemplate*>& candidates = {});
    // The template a file fits best: already open, then matching extension, then the first.
    static DocTemplate* MatchTemplate(const QString& path, const QList<DocTemplate*>& templates,
                                      Document** alreadyOpen = nullptr);

    // Before quitting: refused (with the document's message) while any document is busy; then
    // each modified document is offered for saving. False when the quit must not happen.
    bool SaveAllModified();
    void CloseAllDocuments();
    void CloseDocument(Document* document);

    // ---- recent files ----
    void SetRecentFileList(std::unique_ptr<RecentFileList> list);
    RecentFileList* RecentFiles() const { return m_Recent.get(); }
    void AddToRecentFileList(const QString& path);
    // Opens recent file index; a file that cannot be opened leaves the list.
    Document* OpenRecentFile(int index);

    // ---- prompts (the window sets them; tests script them) ----
    // A file name to open (open) or to save (!open), for one template or all; empty = cancelled.
    QString PromptFileName(bool open, const QString& suggested, DocTemplate* docTemplate) const;
    std::function<QString(bool open, const QString& suggested, const QStringList& filters)> promptFileName;
    // The index of the File New name chosen, or -1 when cancelled.
    std::function<int(const QStringList& names)> chooseNewType;

private:
    std::vector<std::unique_ptr<DocTemplate>> m_Templates;
    std::unique_ptr<RecentFileList> m_Recent;
};
