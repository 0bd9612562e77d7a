#include "OrliskArchive.h"

#include "Files.h"
#include "OrliskCombo.h"
#include "Paths.h"
#include "Text.h"
#include "UiServices.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace orlisk {

const QString kDefaultRoot = QStringLiteral("C:\\Experiments\\");

namespace {

bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

void sortNames(QStringList& names)
{
    std::sort(names.begin(), names.end(), NameLess);
}

// The names of the folder's entries of the given kind, in no particular order.
QStringList entries(const QString& folder, QDir::Filters kind)
{
    const QString native = NativePath(folder);
    if (native.isEmpty()) return {};
    return QDir(native).entryList(kind | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
}

// Selects `value` (item 0 when it is not there) and writes the selection back into it.
void selectAndWriteBack(OrliskCombo& combo, QString& value)
{
    const QStringList items = combo.Items();
    if (items.isEmpty()) {
        combo.Select(-1);
        value.clear();
        return;
    }
    const int found = int(items.indexOf(value));
    combo.Select(found >= 0 ? found : 0);
    value = combo.SelectedText();
}

void fill(OrliskCombo& combo, const QStringList& names, QString& value)
{
    combo.Clear();
    for (const QString& n : names)
        combo.Add(n);
    selectAndWriteBack(combo, value);
}

bool createFolder(const QString& path)
{
    const QString native = NativePath(path);
    return !native.isEmpty() && QDir().mkdir(native);
}

// Writes 8-bit lines, each ended by CR LF, replacing the file only when all of it was written.
void writeLines(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += text::toAnsi(line) + "\r\n";
    const QString native = NativePath(path);
    QString reason;
    if (!native.isEmpty() && files::Write(native, bytes, &reason)) return;
    ui().message(files::WithReason(QStringLiteral("Can't create file: ") + path, reason));
}

bool refuseFolder(const QString& name, const QString& why = {})
{
    ui().message(QStringLiteral("Can't create folder ") + name + why);
    return false;
}

// A fresh installation has no archive yet: its root is made with the first experiment, and when
// that cannot be done the message says why.
bool ensureRoot(const QString& root, const QString& name)
{
    const QString native = NativePath(root);
    if (native.isEmpty()) {
        const QString drive = root.left(1).toUpper();
        return refuseFolder(name, QStringLiteral("\nThe drive ") + drive +
                                      QStringLiteral(": is not mapped to a folder here: add ") + drive +
                                      QStringLiteral("=<folder> under [DriveMap] in ") +
                                      paths::driveMapFile());
    }
    if (QFileInfo(native).isDir()) return true;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(native).toStdString()),
                                        error);
    if (!error) return true;
    return refuseFolder(name, QStringLiteral("\nThe archive root ") + root + QStringLiteral(" (") + native +
                                  QStringLiteral(") cannot be created: ") +
                                  QString::fromStdString(error.message()));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Paths

bool IsRootedPath(const QString& path)
{
    if (paths::hasDriveLetter(path) && path.size() >= 3 && isSeparator(path[2])) return true;
    return path.startsWith(u'/') && !std::all_of(path.begin(), path.end(), isSeparator);
}

QString NativePath(const QString& path)
{
    if (!IsRootedPath(path)) return {};
    const QString native = paths::toNative(path);
    return QDir::isAbsolutePath(native) ? native : QString();
}

// ---------------------------------------------------------------------------------------------
// Reading the tree

QStringList ParseRootList(const QByteArray& content)
{
    static const QString kSuffix = QStringLiteral("=Path");
    QStringList roots;
    bool inPaths = false;
    for (QString line : text::fromAnsi(content).split(u'\n')) {
        if (line.endsWith(u'\r')) line.chop(1);
        if (!inPaths) {
            inPaths = line == QLatin1String("[Paths]");
            continue;
        }
        if (!line.endsWith(kSuffix)) break;
        roots << line.left(line.size() - kSuffix.size()) + u'\\';
    }
    return roots;
}

QStringList Roots()
{
    for (char16_t drive = u'C'; drive <= u'L'; ++drive) {
        const QString native = NativePath(QString(QChar(drive)) + QStringLiteral(":\\Orlisk\\orlisk.ini"));
        if (native.isEmpty()) continue;
        // A list that cannot be read is passed over, as a missing one is.
        if (const std::optional<QByteArray> list = files::Read(native, files::Kind::RootList))
            return ParseRootList(*list);
    }
    return {kDefaultRoot};
}

QStringList Experiments(const QString& root)
{
    QStringList names;
    for (const QString& name : entries(root, QDir::Dirs)) {
        if (name.contains(u'.')) continue;
        const QString ini = NativePath(root + name + u'\\' + name + QStringLiteral(".ini"));
        if (!ini.isEmpty() && QFileInfo(ini).isFile()) names << name;
    }
    sortNames(names);
    return names;
}

QStringList Shots(const QString& experimentPath, bool withBareShot)
{
    QStringList names;
    for (const QString& folder : entries(experimentPath + QStringLiteral("\\Shots"), QDir::Dirs)) {
        if (!folder.startsWith(QLatin1String("Shot"), Qt::CaseInsensitive) || folder.contains(u'.')) continue;
        if (folder.size() > 4 || withBareShot) names << folder.mid(4);
    }
    sortNames(names);
    return names;
}

QStringList Traces(const QString& shotFolder)
{
    QStringList names;
    for (const QString& file : entries(shotFolder, QDir::Files))
        if (file.endsWith(QLatin1String(".wvf"), Qt::CaseInsensitive)) names << file;
    sortNames(names);
    return names;
}

bool NameLess(const QString& a, const QString& b)
{
    const int blind = a.compare(b, Qt::CaseInsensitive);
    return blind != 0 ? blind < 0 : a < b;
}

// ---------------------------------------------------------------------------------------------
// The ribbon's lists

void FillOrliskRootCombo(OrliskCombo& combo, QString& root)
{
    fill(combo, Roots(), root);
}

void FillOrliskExperimentCombo(OrliskCombo& combo, const QString& root, QString& experiment)
{
    fill(combo, Experiments(root), experiment);
}

void FillOrliskShotCombo(OrliskCombo& combo, const QString& experimentPath, QString& shot)
{
    fill(combo, Shots(experimentPath, false), shot);
}

// ---------------------------------------------------------------------------------------------
// Adding to the tree

bool IsValidFolderName(const QString& name)
{
    // Windows drops a trailing dot or blank, which also rules out "." and "..".
    if (name.isEmpty() || name.endsWith(u'.') || name.endsWith(u' ')) return false;
    static const QString kIllegal = QStringLiteral("<>:\"/\\|?*");
    return std::none_of(name.begin(), name.end(),
                        [](QChar c) { return c.unicode() < 0x20 || kIllegal.contains(c); });
}

bool CreateExperimentFolders(const QString& root, const QString& name)
{
    if (!IsValidFolderName(name) || !IsRootedPath(root)) return refuseFolder(name);
    if (!ensureRoot(root, name)) return false;
    const QString path = root + name;
    if (!createFolder(path)) return refuseFolder(name);
    for (const char* sub : {"\\Macros", "\\Notes", "\\Query", "\\Shots"})
        createFolder(path + QLatin1String(sub));
    return true;
}

void WriteExperimentFiles(const QString& root, const QString& name, const QString& description)
{
    const QString path = root + name;
    QString oneLine = description;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "));
    oneLine.replace(u'\r', u' ');
    oneLine.replace(u'\n', u' ');
    QStringList experiment{QStringLiteral("[General]"), QStringLiteral("Version=19")};
    if (!oneLine.isEmpty()) experiment << QStringLiteral("Description=") + oneLine;
    writeLines(path + u'\\' + name + QStringLiteral(".ini"), experiment);

    writeLines(path + QStringLiteral("\\Query\\QShots.ini"),
               {QStringLiteral("[General]"), QStringLiteral("Version=10"),
                QStringLiteral("Description=Default query"), QStringLiteral("[Groups]"),
                QStringLiteral("Group1=.\\Shots;;;"), QStringLiteral("[Fields]"),
                QStringLiteral("Field1=Shot;0;Asc;;;8;Current shot"),
                QStringLiteral("Field2=Date;5;;General date;;10;Date shot was created"),
                QStringLiteral("Field3=Comment;0;;;;100;Shot comment")});
}

bool CreateShotFolder(const QString& root, const QString& experiment, const QString& name)
{
    if (!IsValidFolderName(name) || !IsRootedPath(root) || !IsValidFolderName(experiment))
        return refuseFolder(name);
    if (!createFolder(root + experiment + QStringLiteral("\\Shots\\Shot") + name)) return refuseFolder(name);
    return true;
}

} // namespace orlisk
