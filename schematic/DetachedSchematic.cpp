// Schematic files read for the netlist writer: a sub-circuit's file is read into a document of its
// own, which lives only while its netlist is written. Opening it the way the user opens a file would
// close the user's untouched documents (the schematic being written among them), ask about repairs
// and take a snapshot, all in the middle of writing a netlist.
#include "CTorvex2Doc.h"
#include "Files.h"

#include <QBuffer>
#include <QFileInfo>

std::unique_ptr<CTorvex2Doc> CTorvex2Doc::OpenDetached(const QString& path, QString* reason)
{
    const auto refuse = [reason](const QString& why) -> std::unique_ptr<CTorvex2Doc> {
        if (reason) *reason = why;
        return nullptr;
    };
    QString why;
    std::optional<QByteArray> bytes = files::Read(path, files::Kind::Schematic, &why);
    if (!bytes) return refuse(why);
    QBuffer file(&*bytes);
    file.open(QIODevice::ReadOnly);
    auto doc = std::make_unique<CTorvex2Doc>();
    doc->m_Detached = true;
    if (const std::optional<QString> failure = doc->ReadFile(file)) return refuse(*failure);
    doc->SetPathName(QFileInfo(path).absoluteFilePath());
    return doc;
}
