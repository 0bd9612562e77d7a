// The one way files are read and written: regular files only, a size limit per kind, and a write that
// either puts every byte in place or leaves the old file as it was.
#include "ChildRun.h"
#include "Files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

void wakeWithoutRestart(int) {}

// A process that opens a named pipe for writing and so waits for a reader. Asked whether it still
// waits, it is interrupted: an open that a reader has let through comes back with the pipe instead.
class WaitingWriter {
public:
    explicit WaitingWriter(const QString& pipe) : m_pid(::fork())
    {
        if (m_pid == 0) {
            const QByteArray name = QFile::encodeName(pipe);
            struct sigaction wake {};
            wake.sa_handler = wakeWithoutRestart;
            ::sigaction(SIGUSR1, &wake, nullptr);
            const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
            ::_exit(fd >= 0 ? 0 : errno == EINTR ? 1 : 2);
        }
    }
    ~WaitingWriter()
    {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    WaitingWriter(const WaitingWriter&) = delete;
    WaitingWriter& operator=(const WaitingWriter&) = delete;

    // Whether it has come to sleep, which it does only in its open.
    bool waits() const
    {
        const QByteArray stat = "/proc/" + QByteArray::number(m_pid) + "/stat";
        for (int tries = 0; m_pid > 0 && tries < 20000; ++tries) {
            QFile f(QString::fromLatin1(stat));
            if (!f.open(QIODevice::ReadOnly)) return false;
            const QByteArray line = f.readAll();
            const qsizetype state = line.lastIndexOf(") ") + 2; // the name may hold blanks
            if (state >= 2 && state < line.size() && line[state] == 'S') return true;
            ::usleep(500);
        }
        return false;
    }
    bool stillWaiting()
    {
        int status = 0;
        const bool answered = ::kill(m_pid, SIGUSR1) == 0 && ::waitpid(m_pid, &status, 0) == m_pid;
        m_pid = -1;
        return answered && WIFEXITED(status) && WEXITSTATUS(status) == 1;
    }

private:
    pid_t m_pid;
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

TEST_F(FilesTest, ANamedPipeIsRefusedWithoutLettingItsWaitingWriterOn)
{
    // Opened, even without waiting, the pipe would meet its writer, which then writes into a pipe
    // nobody reads.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
    WaitingWriter writer(path("pipe"));
    ASSERT_TRUE(writer.waits());
    QString why;
    EXPECT_FALSE(files::Read(path("pipe"), files::Kind::Netlist, &why));
    EXPECT_EQ(why, "Not a regular file (a named pipe)");
    EXPECT_TRUE(writer.stillWaiting());
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
        // The new file beside it is written in full; only its final rename can fail.
        {path(QString(256, 'n')), "File name too long"},
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
