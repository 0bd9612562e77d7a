#include "Settings.h"

#include "Files.h"

#include <QFile>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace {

// Whether the file, read as QSettings reads it, holds every entry `meant` holds. A second QSettings
// on the same path would answer from the copy this process keeps of it, so a copy of the bytes under
// another name is read instead.
bool HoldsAll(const QString& path, const QSettings& meant)
{
    QFile file(path);
    QTemporaryFile copy;
    if (!file.open(QIODevice::ReadOnly) || !copy.open() || copy.write(file.readAll()) != file.size() ||
        !copy.flush())
        return false;
    const QSettings read(copy.fileName(), QSettings::IniFormat);
    const QStringList keys = meant.allKeys();
    if (read.allKeys().size() != keys.size()) return false;
    for (const QString& k : keys)
        if (read.value(k).toString() != meant.value(k).toString()) return false;
    return true;
}

} // namespace

Settings::Settings() : m_Settings(QSettings::IniFormat, QSettings::UserScope, Organisation, Application) {}

QString Settings::FileName()
{
    return Settings().m_Settings.fileName();
}

int Settings::GetProfileInt(const QString& section, const QString& entry, int defaultValue) const
{
    bool ok = false;
    const int value = m_Settings.value(key(section, entry)).toInt(&ok);
    return ok ? value : defaultValue;
}

void Settings::WriteProfileInt(const QString& section, const QString& entry, int value)
{
    m_Settings.setValue(key(section, entry), value);
}

QString Settings::GetProfileString(const QString& section, const QString& entry,
                                   const QString& defaultValue) const
{
    return m_Settings.value(key(section, entry), defaultValue).toString();
}

void Settings::WriteProfileString(const QString& section, const QString& entry, const QString& value)
{
    m_Settings.setValue(key(section, entry), value);
}

void Settings::RemoveEntry(const QString& section, const QString& entry)
{
    m_Settings.remove(key(section, entry));
}

bool Settings::Flush()
{
    // QSettings puts its new file in the old one's place even when the disk took only part of it (the
    // error of the last flush is not looked at). A second name keeps the old file until the new one
    // reads back whole; failing that, it comes back, with no room on the disk needed.
    const QString path = m_Settings.fileName();
    const QByteArray name = QFile::encodeName(path);
    const QByteArray kept = QFile::encodeName(path + QStringLiteral(".previous"));
    ::unlink(kept.constData());
    const bool existed = QFile::exists(path);
    const bool linked = existed && ::link(name.constData(), kept.constData()) == 0;
    QByteArray before; // where a file system has no second names
    if (existed && !linked) {
        QFile old(path);
        if (old.open(QIODevice::ReadOnly)) before = old.readAll();
    }
    m_Settings.sync();
    if (m_Settings.status() == QSettings::NoError && HoldsAll(path, m_Settings)) {
        if (linked) ::unlink(kept.constData());
        return true;
    }
    if (linked) {
        // Where the old file was never replaced, both names are one file and the rename does nothing.
        std::rename(kept.constData(), name.constData());
        ::unlink(kept.constData());
    } else if (existed)
        files::Write(path, before);
    else
        ::unlink(name.constData());
    return false;
}
