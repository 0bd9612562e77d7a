// The one way files are read and written: regular files only, a size limit per kind, and a write that
// either puts every byte in place or leaves the old file as it was.
#include "ChildRun.h"
#include "Files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FilesTest : ::testing::Test {
    QTemporaryDir dir;
    QString path(const QString& name = "f") const { return dir.filePath(name); }
    void put(const QByteArray& bytes, const QString& name = "f") const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    QByteArray get(const QString& name = "f") const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList entries() const
    {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
};

} // namespace

TEST_F(FilesTest, ReadTakesRegularFilesWithinTheLimitOfTheirKindAndNothingElse)
{
    put("bytes");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
    QDir().mkdir(path("folder"));
    QFile sparse(path("big"));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) &&
                sparse.resize(files::SizeLimit(files::Kind::RootList) + 1));
    sparse.close();
    put(QByteArray(int(files::SizeLimit(files::Kind::RootList)), 'x'), "full");

    EXPECT_EQ(files::Read(path(), files::Kind::Netlist), QByteArray("bytes"));
    EXPECT_EQ(files::Read(path("full"), files::Kind::RootList)->size(),
              files::SizeLimit(files::Kind::RootList));
    const struct {
        QString path;
        QString reason;
    } refused[] = {
        {path("none"), "No such file or directory"},
        {path("folder"), "Is a directory"},
        {path("pipe"), "Not a regular file (a named pipe)"},
        {"/dev/zero", "Not a regular file (a device)"},
        {path("big"), "The file is too large to open (more than 1 MB, the limit for a list of roots)"},
    };
    for (const auto& r : refused) {
        // A pipe without a writer would hold an open for ever: the child is given up on in time.
        const ChildOutcome read = RunInChild(
            [&] {
                QString why;
                return !files::Read(r.path, files::Kind::RootList, &why) && why == r.reason;
            },
            ChildLimits{{}, 10});
        EXPECT_TRUE(read.finished && read.succeeded) << r.path.toStdString();
    }
    EXPECT_EQ(files::SizeLimit(files::Kind::Netlist), 64 << 20);
}

TEST_F(FilesTest, WriteReplacesTheWholeFileKeepingItsPermissionsAndLinks)
{
    QString reason;
    ASSERT_TRUE(files::Write(path(), "new file", &reason)) << reason.toStdString();
    EXPECT_EQ(get(), "new file");
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(path(), path("link")));
    ASSERT_TRUE(files::Write(path("link"), "through the link"));
    EXPECT_EQ(get(), "through the link");
    EXPECT_TRUE(QFileInfo(path("link")).isSymLink());
    EXPECT_EQ(QFile::permissions(path()),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
    ASSERT_TRUE(files::Write(path(), ""));
    EXPECT_EQ(get(), "");
    EXPECT_EQ(entries(), QStringList({"f", "link"}));
}

TEST_F(FilesTest, AFailedWriteLeavesTheOldFileAndNothingBesideIt)
{
    put("old");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
    QDir().mkdir(path("folder"));
    const struct {
        QString path;
        QString reason;
    } refused[] = {
        {path("folder"), "Is a directory"},
        {path("pipe"), "Not a regular file (a named pipe)"},
        {path("none/f"), "No such file or directory"},
    };
    for (const auto& r : refused) {
        QString reason;
        EXPECT_FALSE(files::Write(r.path, "new", &reason));
        EXPECT_EQ(reason, r.reason);
    }
    if (::geteuid() != 0) { // root may write anything
        ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0400), 0);
        QString reason;
        EXPECT_FALSE(files::Write(path(), "new", &reason));
        EXPECT_EQ(reason, "Permission denied");
        ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0600), 0);
    }
    // The disk is full from the first byte on, from the middle, and one byte before the end.
    for (const qint64 room : {qint64(0), qint64(100), qint64(4095)}) {
        const ChildOutcome full = RunOnFullDisk(room, [this] {
            QString reason;
            return !files::Write(path(), QByteArray(4096, 'n'), &reason) && reason == "File too large";
        });
        EXPECT_TRUE(full.finished && full.succeeded) << room;
    }
    EXPECT_EQ(get(), "old");
    EXPECT_EQ(entries(), QStringList({"f", "folder", "pipe"}));
}
