#pragma once
// A temporary archive: drive C: and drive D: are temporary folders, the other drives are absent.
// Messages are recorded.
#include "OrliskCombo.h"
#include "Paths.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

inline void PrintTo(const QByteArray& b, std::ostream* os)
{
    *os << '"' << b.toStdString() << '"';
}

struct ArchiveFixture : ::testing::Test {
    QTemporaryDir tmp;
    ScriptedUiServices ui;
    const QString root = QStringLiteral("C:\\Experiments\\");

    void SetUp() override
    {
        const QString ini = tmp.filePath("drives.ini");
        {
            QSettings s(ini, QSettings::IniFormat);
            s.setValue("DriveMap/C", tmp.filePath("c"));
            s.setValue("DriveMap/D", tmp.filePath("d"));
        }
        paths::setDriveMapFile(ini);
        folder("c/Experiments");
        folder("d");
    }
    void TearDown() override { paths::setDriveMapFile({}); }

    // Paths are relative to the temporary folder: "c/..." is drive C:.
    void folder(const QString& relative) const { QDir().mkpath(tmp.filePath(relative)); }
    void write(const QString& relative, const QByteArray& bytes = {}) const
    {
        folder(QFileInfo(relative).path());
        QFile f(tmp.filePath(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& relative) const
    {
        QFile f(tmp.filePath(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
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
};

// A ribbon list in memory.
struct ListCombo : OrliskCombo {
    QStringList items;
    int current = -1;

    ListCombo(QStringList texts = {}, int selected = -1) : items(std::move(texts)), current(selected) {}
    void Clear() override { items.clear(), current = -1; }
    void Add(const QString& text) override { items << text; }
    QStringList Items() const override { return items; }
    int CurrentIndex() const override { return current; }
    void Select(int index) override { current = index; }
};
