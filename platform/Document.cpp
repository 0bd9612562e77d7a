#include "Document.h"

#include "CommandIds.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "Files.h"
#include "UiServices.h"
#include "View.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>

Document::Document()
{
    MapCommand(ID_FILE_CLOSE, [this] { OnFileClose(); });
    MapCommand(ID_FILE_SAVE, [this] { DoFileSave(); });
    MapCommand(ID_FILE_SAVE_AS, [this] { DoSave(QString()); });
}

Document::~Document()
{
    for (View* view : m_Views)
        view->m_Document = nullptr;
}

void Document::SetPathName(const QString& path)
{
    m_PathName = path;
    m_Title = QFileInfo(path).fileName();
}

void Document::AddView(View* view)
{
    if (!view || m_Views.contains(view)) return;
    if (view->m_Document) view->m_Document->RemoveView(view);
    m_Views.append(view);
    view->m_Document = this;
}

void Document::RemoveView(View* view)
{
    if (m_Views.removeAll(view) > 0) view->m_Document = nullptr;
}

void Document::UpdateAllViews(View* sender, int hint)
{
    const QList<View*> views = m_Views;
    for (View* view : views)
        if (view != sender) view->OnUpdate(sender, hint);
}

bool Document::OnNewDocument()
{
    DeleteContents();
    m_PathName.clear();
    m_Modified = false;
    return true;
}

bool Document::OnOpenDocument(const QString& path)
{
    DeleteContents();
    QString reason;
    std::optional<QByteArray> bytes = files::Read(path, FileKind(), &reason);
    if (!bytes) {
        ui().message(files::WithReason(
            QStringLiteral("Cannot open the file %1.").arg(QDir::toNativeSeparators(path)), reason));
        return false;
    }
    QBuffer file(&*bytes);
    file.open(QIODevice::ReadOnly);
    m_Modified = true; // while loading
    if (!Load(file)) {
        DeleteContents();
        m_Modified = false;
        return false;
    }
    m_Modified = false;
    return true;
}

bool Document::OnSaveDocument(const QString& path)
{
    QByteArray bytes;
    QBuffer file(&bytes);
    file.open(QIODevice::WriteOnly);
    QString reason;
    if (!Save(file) || !files::Write(path, bytes, &reason)) {
        ui().message(files::WithReason(
            QStringLiteral("Cannot save the file %1.").arg(QDir::toNativeSeparators(path)), reason));
        return false;
    }
    m_Modified = false;
    return true;
}

void Document::OnCloseDocument()
{
    DeleteContents();
}

QString Document::BusyMessage() const
{
    return QStringLiteral("A simulation is in progress. Stop it before closing.");
}

bool Document::SaveModified()
{
    if (!IsModified()) return true;
    const QString name = m_PathName.isEmpty() ? m_Title : QDir::toNativeSeparators(m_PathName);
    switch (
        ui().question(QStringLiteral("Save changes to %1?").arg(name), UiServices::Buttons::YesNoCancel)) {
    case UiServices::Answer::Yes:
        return DoFileSave();
    case UiServices::Answer::No:
        return true;
    default:
        return false;
    }
}

bool Document::CanCloseFrame()
{
    if (IsBusy()) {
        ui().message(BusyMessage());
        return false;
    }
    return SaveModified();
}

bool Document::DoFileSave()
{
    const QFileInfo file(m_PathName);
    if (m_PathName.isEmpty() || (file.exists() && !file.isWritable())) return DoSave(QString());
    return DoSave(m_PathName);
}

bool Document::DoSave(const QString& path, bool replace)
{
    QString target = path;
    if (target.isEmpty()) {
        DocManager* manager = DocManager::Instance();
        if (!manager) return false;
        QString suggested = m_PathName;
        if (suggested.isEmpty()) {
            suggested = m_Title;
            if (m_Template) suggested += m_Template->GetDocString(DocTemplate::filterExt);
        }
        target = manager->PromptFileName(false, suggested, m_Template);
        if (target.isEmpty()) return false; // cancelled
    }
    // Two windows on one file would each overwrite what the other saved.
    if (const DocManager* manager = DocManager::Instance()) {
        const Document* holder = manager->FindOpenDocument(target);
        if (holder && holder != this) {
            ui().message(OpenElsewhereMessage(target));
            return false;
        }
    }
    if (!OnSaveDocument(target)) return false;
    target = QDir::cleanPath(QFileInfo(target).absoluteFilePath());
    if (replace && target != m_PathName) {
        SetPathName(target);
        if (DocManager* manager = DocManager::Instance()) manager->AddToRecentFileList(target);
    }
    return true;
}

QString Document::OpenElsewhereMessage(const QString& path)
{
    return QStringLiteral("%1 is open in another window. Close that window first, or save under another "
                          "name.")
        .arg(QDir::toNativeSeparators(path));
}

void Document::OnFileClose()
{
    if (!CanCloseFrame()) return;
    if (DocManager* manager = DocManager::Instance()) manager->CloseDocument(this);
}
