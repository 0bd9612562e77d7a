#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <vector>

class Document;
class View;

// Pairs a document class with its view class and describes its files by seven strings, given as
// one text separated by "\n": window title, document name, File New name, filter, extension,
// registry type id and registry type name. A template owns the open documents it made.
class DocTemplate {
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };
    // How well a file fits this template, worst first.
    enum Confidence {
        noAttempt,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen,
    };

    using DocumentFactory = std::function<std::unique_ptr<Document>()>;
    // Makes a new view; the frame that shows it owns it. The template adds it to the document.
    using ViewFactory = std::function<View*()>;

    // documentClass: the class the factory makes, by which the program finds the template.
    DocTemplate(int resourceId, const QString& strings, std::type_index documentClass,
                DocumentFactory makeDocument, ViewFactory makeView);
    // The same, with the class taken from what the factory returns (a std::unique_ptr of it).
    template <class MakeDocument>
    requires std::is_invocable_v<MakeDocument> DocTemplate(int resourceId, const QString& strings,
                                                           MakeDocument makeDocument, ViewFactory makeView)
        : DocTemplate(resourceId, strings, typeid(typename std::invoke_result_t<MakeDocument>::element_type),
                      DocumentFactory(std::move(makeDocument)), std::move(makeView))
    {
    }
    ~DocTemplate();
    DocTemplate(const DocTemplate&) = delete;
    DocTemplate& operator=(const DocTemplate&) = delete;

    // The template of a document class D with view class V (both default-constructible).
    template <class D, class V>
    static std::unique_ptr<DocTemplate> Make(int resourceId, const QString& strings)
    {
        return std::make_unique<DocTemplate>(
            resourceId, strings, typeid(D), [] { return std::unique_ptr<Document>(new D()); },
            [] { return static_cast<View*>(new V()); });
    }

    int ResourceId() const { return m_ResourceId; }
    std::type_index DocumentClass() const { return m_DocumentClass; }
    QString GetDocString(DocStringIndex index) const;

    // The file's fit: already open (the open document in alreadyOpen), matching extension
    // (native) or any other file (foreign).
    Confidence MatchDocType(const QString& path, Document** alreadyOpen = nullptr) const;
    // The document of this template that holds the file, by whatever spelling of its path (links,
    // "..", relative paths); null when none does.
    Document* FindDocument(const QString& path) const;

    // A new document (empty path) or the document of a file, with a frame when a host exists.
    // Null when the document cannot be made, created or read; a file that cannot be read has shown
    // its message.
    Document* OpenDocumentFile(const QString& path, bool makeVisible = true);
    // A document of this template without a frame, not yet initialised.
    Document* CreateNewDocument();
    // A new view of the document (added to it); null when the template makes no views.
    View* CreateView(Document& document);
    // Closes the document's frames, lets it release its data and frees it.
    void CloseDocument(Document* document);
    void CloseAllDocuments();
    QList<Document*> Documents() const;

private:
    void RemoveDocument(Document* document);

    int m_ResourceId;
    std::type_index m_DocumentClass;
    QList<QString> m_Strings;
    DocumentFactory m_MakeDocument;
    ViewFactory m_MakeView;
    std::vector<std::unique_ptr<Document>> m_Documents;
    int m_UntitledCount = 0;
};
