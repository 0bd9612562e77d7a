#pragma once

#include "ComponentHost.h"

#include <QByteArray>
#include <QString>

#include <vector>

class QMimeData;

// The schematic's clipboard data: the "TORVEX2" format (the copied objects in their archive form:
// a count, then each object as a file stores it) beside a picture of them for other programs.
namespace clipboard {

// Where the objects travel; a Windows build of this program would map it to the registered
// clipboard format "TORVEX2".
inline const char* const kMimeType = "application/x-torvex2";

QByteArray WriteObjects(const std::vector<CComponent*>& objects);
// Reads the objects of an archive form, treating the bytes as untrusted as a file's; throws
// ArchiveError.
ComponentList ReadObjects(const QByteArray& payload);
QString UnreadableMessage();

// The data to put on the clipboard: the archive form, a PNG and an SVG picture of the objects
// drawn at `zoom` percent.
QMimeData* MakeMimeData(const QByteArray& payload, int zoom);
// The archive form offered by clipboard data; empty when it offers none.
QByteArray Payload(const QMimeData* data);
bool HasPayload(const QMimeData* data);

} // namespace clipboard
