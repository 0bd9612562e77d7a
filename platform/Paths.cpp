#include "Paths.h"

#include "Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <memory>

namespace paths {

namespace {

QString g_driveMapFile;

// The folder a drive map gives the drive: the entry under the upper-case letter, else under the
// lower-case one; empty when there is none.
QString mappedFolder(QSettings& settings, QChar letter)
{
    settings.beginGroup(QStringLiteral("DriveMap"));
    QString folder = settings.value(QString(letter)).toString();
    if (folder.isEmpty()) folder = settings.value(QString(letter.toLower())).toString();
    settings.endGroup();
    return folder;
}

// The folder that stands for the drive, or an empty string when the drive is not mapped. The map
// lives in the program's settings file; maps written before it moved there are still read from
// the desktop's own settings file.
QString driveFolder(QChar letter)
{
    QString folder;
    if (!g_driveMapFile.isEmpty()) {
        QSettings file(g_driveMapFile, QSettings::IniFormat);
        folder = mappedFolder(file, letter);
    } else {
        QSettings ini(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(Settings::Organisation),
                      QString::fromLatin1(Settings::Application));
        folder = mappedFolder(ini, letter);
        if (folder.isEmpty()) {
            QSettings earlier(QString::fromLatin1(Settings::Organisation),
                              QString::fromLatin1(Settings::Application));
            folder = mappedFolder(earlier, letter);
        }
    }
    if (!folder.isEmpty()) return folder;
    if (letter == u'C') return QDir::homePath();
    return {};
}

// The entry of `folder` that `name` means: the exact spelling when it exists, otherwise the first
// entry in sorted order that differs only in case; empty when there is none.
QString findEntry(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(name))) return name;
    QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(entries.begin(), entries.end());
    for (const QString& e : std::as_const(entries))
        if (e.compare(name, Qt::CaseInsensitive) == 0) return e;
    return {};
}

} // namespace

QString driveMapFile()
{
    return g_driveMapFile.isEmpty() ? Settings::FileName() : g_driveMapFile;
}

void setDriveMapFile(const QString& iniFile)
{
    g_driveMapFile = iniFile;
}

bool hasDriveLetter(const QString& path)
{
    return path.size() >= 2 && path[1] == u':' && path[0].isLetter() && path[0].unicode() < 0x80;
}

QString toNative(const QString& windowsPath)
{
    QString rest = windowsPath;
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));

    QString base; // the folder the components are looked up in; empty: the current folder
    if (hasDriveLetter(rest)) {
        const QString folder = driveFolder(rest[0].toUpper());
        if (folder.isEmpty()) return rest;
        base = QDir::cleanPath(folder);
        rest = rest.mid(2);
    } else if (rest.startsWith(QLatin1Char('/'))) {
        base = QStringLiteral("/");
    }

    const bool trailing = rest.endsWith(QLatin1Char('/'));
    const QStringList parts = rest.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString out = base;
    bool resolving = true;
    for (const QString& part : parts) {
        QString name = part;
        if (resolving && part != QLatin1String(".") && part != QLatin1String("..")) {
            const QString found = findEntry(out.isEmpty() ? QStringLiteral(".") : out, part);
            if (found.isEmpty())
                resolving = false;
            else
                name = found;
        }
        if (!out.isEmpty() && !out.endsWith(QLatin1Char('/'))) out += QLatin1Char('/');
        out += name;
    }
    if (trailing && !out.endsWith(QLatin1Char('/'))) out += QLatin1Char('/');
    return out;
}

} // namespace paths
