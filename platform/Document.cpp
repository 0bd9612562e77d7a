#include "Document.h"

#include "UiServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

Document::Document() = default;
Document::~Document() = default;

void Document::SetPathName(const QString& path)
{
    m_PathName = path;
    m_Title = QFileInfo(path).fileName();
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ui().message(QStringLiteral("Cannot open the file ") + QDir::toNativeSeparators(path) + QStringLiteral("."));
        return false;
    }
    DeleteContents();
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !Save(file) || !file.commit()) {
        file.cancelWriting();
        ui().message(QStringLiteral("Cannot save the file ") + QDir::toNativeSeparators(path) + QStringLiteral("."));
        return false;
    }
    m_Modified = false;
    return true;
}

void Document::OnCloseDocument() { DeleteContents(); }
