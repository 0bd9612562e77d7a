// Schematic files read for the netlist writer: a sub-circuit's file is read into a document of its
// own, which lives only while its netlist is written. Opening it the way the user opens a file would
// close the user's untouched documents (the schematic being written among them), ask about repairs
// and take a snapshot, all in the middle of writing a netlist.
#include "Archive.h"
#include "CTorvex2Doc.h"

#include <QFile>
#include <QFileInfo>

#include <new>

std::unique_ptr<CTorvex2Doc> CTorvex2Doc::OpenDetached(const QString& path, QString* reason)
{
    const auto refuse = [reason](const QString& why) -> std::unique_ptr<CTorvex2Doc> {
        if (reason) *reason = why;
        return nullptr;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return refuse(file.errorString());
    try {
        auto doc = std::make_unique<CTorvex2Doc>();
        doc->m_Detached = true;
        const QByteArray data = file.readAll();
        Archive ar(data);
        doc->ReadContents(ar, false);
        doc->SetPathName(QFileInfo(path).absoluteFilePath());
        return doc;
    } catch (const ArchiveError& e) {
        return refuse(QStringLiteral("Unexpected file format.\n") + e.detail());
    } catch (const OpenRefused& refused) {
        return refuse(refused.message);
    } catch (const std::bad_alloc&) {
        return refuse(QStringLiteral("Failed to open document."));
    }
}
