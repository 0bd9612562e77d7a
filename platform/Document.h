#pragma once

#include <QString>

class QIODevice;
class DocTemplate;

// The model side of a document: its file, title and modified flag, and the new/open/save/close
// steps. Views, templates and the document manager build on it; a document never shows anything.
class Document {
public:
    Document();
    virtual ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const QString& PathName() const { return m_PathName; }
    // Sets the file and takes the title from the file's name.
    void SetPathName(const QString& path);
    const QString& Title() const { return m_Title; }
    void SetTitle(const QString& title) { m_Title = title; }
    bool IsModified() const { return m_Modified; }
    void SetModifiedFlag(bool modified = true) { m_Modified = modified; }
    DocTemplate* Template() const { return m_Template; }
    void SetTemplate(DocTemplate* t) { m_Template = t; }

    // A new, empty document: DeleteContents, no file, not modified.
    virtual bool OnNewDocument();
    // Reads the file through Load; on failure shows a message and leaves the document empty.
    virtual bool OnOpenDocument(const QString& path);
    // Writes the file atomically through Save: a failed save leaves the old file as it was.
    virtual bool OnSaveDocument(const QString& path);
    // The document is closing: release what it holds.
    virtual void OnCloseDocument();
    // Empties the document's data.
    virtual void DeleteContents() {}
    virtual bool IsBusy() const { return false; } // still working (a run): must not be closed now

    // The file's content. Load reads the whole stream; both return false on failure (after any
    // message of their own).
    virtual bool Load(QIODevice& in) = 0;
    virtual bool Save(QIODevice& out) = 0;

private:
    QString m_PathName;
    QString m_Title;
    bool m_Modified = false;
    DocTemplate* m_Template = nullptr;
};
