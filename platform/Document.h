#pragma once

#include "CommandTarget.h"
#include "Files.h"

#include <QList>
#include <QString>

#include <memory>

class QIODevice;
class DocTemplate;
class View;

// The model side of a document: its file, title and modified flag, its views, and the
// new/open/save/close steps. A document never shows anything itself; questions and messages go
// through UiServices, file names through the document manager's prompts.
class Document : public CommandTarget {
public:
    Document();
    ~Document() override;

    const QString& PathName() const { return m_PathName; }
    // Sets the file and takes the title from the file's name.
    void SetPathName(const QString& path);
    const QString& Title() const { return m_Title; }
    void SetTitle(const QString& title) { m_Title = title; }
    bool IsModified() const { return m_Modified; }
    void SetModifiedFlag(bool modified = true) { m_Modified = modified; }
    DocTemplate* Template() const { return m_Template; }
    // Expires when the document is destroyed. Whoever must know whether a document still exists
    // without keeping it (a window that may outlive it, a close noted for later, a link back to the
    // document a netlist was made from) holds this, not the document's address.
    std::weak_ptr<const void> Liveness() const { return m_Alive; }
    void SetTemplate(DocTemplate* t) { m_Template = t; }

    // ---- views ----
    void AddView(View* view);
    void RemoveView(View* view);
    const QList<View*>& Views() const { return m_Views; }
    // Tells every view but the sender that the document changed.
    void UpdateAllViews(View* sender, int hint = 0);

    // A new, empty document: DeleteContents, no file, not modified.
    virtual bool OnNewDocument();
    // Reads the file (a regular file within the size limit of FileKind) through Load; on failure
    // shows a message with the reason and leaves the document empty.
    virtual bool OnOpenDocument(const QString& path);
    // Writes what Save gives all at once: a failed save leaves the old file as it was and shows a
    // message with the reason.
    virtual bool OnSaveDocument(const QString& path);
    // The document is closing: release what it holds.
    virtual void OnCloseDocument();
    // Empties the document's data.
    virtual void DeleteContents() {}

    // What the document's files hold, for the size limit of reading them.
    virtual files::Kind FileKind() const { return files::Kind::Schematic; }
    // The file's content. Load reads the whole stream; both return false on failure (after any
    // message of their own).
    virtual bool Load(QIODevice& in) = 0;
    virtual bool Save(QIODevice& out) = 0;

    // ---- closing ----
    // True while the document must not be closed (a simulation run in progress).
    virtual bool IsBusy() const { return false; }
    // What the user is told when a close or quit is refused because the document is busy.
    virtual QString BusyMessage() const;
    // Asks whether to save a modified document: Yes saves (false if that fails), No discards,
    // Cancel keeps the document open (false).
    virtual bool SaveModified();
    // May the last window of the document close? Refused while busy, else SaveModified.
    virtual bool CanCloseFrame();

    // ---- the File commands of a document ----
    // Saves to the document's file, or asks for a name when it has none.
    bool DoFileSave();
    // Saves under path; an empty path asks for a name. A save under a new name renames the document.
    // Refused, with OpenElsewhereMessage, when another open document holds that file.
    bool DoSave(const QString& path, bool replace = true);
    static QString OpenElsewhereMessage(const QString& path);
    // Closes the document and its windows unless CanCloseFrame refuses.
    void OnFileClose();

private:
    const std::shared_ptr<const void> m_Alive = std::make_shared<char>(0);
    QString m_PathName;
    QString m_Title;
    bool m_Modified = false;
    DocTemplate* m_Template = nullptr;
    QList<View*> m_Views;
};
