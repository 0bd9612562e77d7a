#include "InputPath.h"

namespace {
QChar separatorFor(const QString& path)
{
    return path.startsWith(u'/') ? u'/' : u'\\';
}
} // namespace

QString WithFolderEnd(const QString& typedPath)
{
    if (typedPath.endsWith(u'\\') || typedPath.endsWith(u'/')) return typedPath;
    return typedPath + separatorFor(typedPath);
}

QString ArchiveShotFolder(const QString& root, const QString& experiment, const QString& shot)
{
    const QChar sep = separatorFor(root);
    return root + experiment + sep + QStringLiteral("Shots") + sep + QStringLiteral("Shot") + shot + sep;
}

QString ComposeInputPath(const QString& sourceMode, const QString& root, const QString& experiment,
                         const QString& shot, const QString& typedPath)
{
    if (sourceMode == QLatin1String("Orlisk")) return ArchiveShotFolder(root, experiment, shot);
    return WithFolderEnd(typedPath);
}
