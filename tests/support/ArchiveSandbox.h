#pragma once
// A waveform archive in a temporary folder: drives C: and D: are its folders "c" and "d", the other
// drives are absent, and the default root "C:\Experiments\" exists. Paths given to the helpers are
// relative to the temporary folder, "c/..." being drive C:.
#include "Paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

class ArchiveSandbox {
public:
    ArchiveSandbox()
    {
        const QString ini = tmp.filePath(QStringLiteral("drives.ini"));
        {
            QSettings s(ini, QSettings::IniFormat);
            s.setValue(QStringLiteral("DriveMap/C"), tmp.filePath(QStringLiteral("c")));
            s.setValue(QStringLiteral("DriveMap/D"), tmp.filePath(QStringLiteral("d")));
        }
        paths::setDriveMapFile(ini);
        folder(QStringLiteral("c/Experiments"));
        folder(QStringLiteral("d"));
    }
    ~ArchiveSandbox() { paths::setDriveMapFile({}); }
    ArchiveSandbox(const ArchiveSandbox&) = delete;
    ArchiveSandbox& operator=(const ArchiveSandbox&) = delete;

    void folder(const QString& relative) const { QDir().mkpath(tmp.filePath(relative)); }
    void write(const QString& relative, const QByteArray& bytes = {}) const
    {
        folder(QFileInfo(relative).path());
        QFile f(tmp.filePath(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << relative.toStdString();
        f.write(bytes);
    }
    QByteArray read(const QString& relative) const
    {
        QFile f(tmp.filePath(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // An experiment under a root folder, with its ini file and shot folders.
    void experiment(const QString& rootFolder, const QString& name, const QStringList& shots = {}) const
    {
        write(rootFolder + u'/' + name + u'/' + name + QStringLiteral(".ini"), "[General]\r\n");
        for (const QString& shot : shots)
            folder(rootFolder + u'/' + name + QStringLiteral("/Shots/Shot") + shot);
    }
    // Every entry under the temporary folder, to show that a refused operation made nothing.
    QStringList everything() const
    {
        QStringList all;
        QDirIterator it(tmp.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            all << it.next();
        all.sort();
        return all;
    }

    QTemporaryDir tmp;
};
