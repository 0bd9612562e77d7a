#include "SubcircuitFile.h"

#include "Paths.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Anything but a folder counts as found: a named pipe or a device in a block's place is then refused
// by the file read, which says what it is, instead of being taken for a missing file.
QString existingFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir() ? QDir::cleanPath(info.absoluteFilePath()) : QString();
}

qsizetype lastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
}

} // namespace

QString resolveSubcircuitFile(const QString& label, const QString& parentPath)
{
    if (label.isEmpty()) return {};
    QString name = label;
    name.replace(u'\\', u'/');
    if (QString found = existingFile(paths::hasDriveLetter(label) ? paths::toNative(label) : name);
        !found.isEmpty())
        return found;
    if (parentPath.isEmpty()) return {};

    const QString folder = QFileInfo(parentPath).absolutePath();
    if (QString found = existingFile(folder + u'/' + name); !found.isEmpty()) return found;
    // The folder part of the parent is this machine's own and exists as written; only the label's
    // part is looked up without regard to case.
    if (paths::hasDriveLetter(label) || name.startsWith(u'/')) return {};
    return existingFile(paths::toNative(folder + u'/' + name));
}

QString removeSubcircuitPath(const QString& label)
{
    const qsizetype cut = lastSeparator(label);
    if (cut <= 0) return label;
    return label.mid(cut + 1);
}
