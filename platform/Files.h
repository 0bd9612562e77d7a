#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The one way the program reads a file and the one way it writes one. Documents, waveforms, the
// archive's ini files, text tables, PDF files and the drivers all go through here.
namespace files {

// What a file holds; each kind has the largest size that is read of it.
enum class Kind {
    Schematic, // .cas, first-generation files and sub-circuit blocks
    Netlist,   // .cir
    Plot,      // a saved plot document
    Waveform,  // .wvf
    RootList,  // the archive's list of roots (orlisk.ini)
    Count
};

// The largest file of the kind that is read, in bytes.
qint64 SizeLimit(Kind kind);

// The whole content of a regular file of at most the kind's size limit. Anything else is refused
// before a byte is read, with the reason ("No such file or directory", "Is a directory", a named
// pipe or a device, a file over the limit that names it), so a pipe never holds the program and a
// device never fills its memory; a read error gives the system's reason.
std::optional<QByteArray> Read(const QString& path, Kind kind, QString* reason = nullptr);

// Replaces the file with `bytes`. Every byte is written to a new file beside it and reaches the disk
// (a short write, a full disk and an error of the final flush all count) before the new file takes
// the old one's place, with the old one's permissions. On any failure the old file stays as it was,
// byte for byte, and `reason` holds the system's reason ("No space left on device"). A link is
// followed: the file it names is replaced.
bool Write(const QString& path, QByteArrayView bytes, QString* reason = nullptr);

// A message about a file, with the reason on a line of its own when there is one.
QString WithReason(const QString& message, const QString& reason);

} // namespace files
