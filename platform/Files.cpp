#include "Files.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

constexpr qint64 kMB = qint64(1) << 20;

struct KindLimit {
    Kind kind;
    qint64 bytes;
    const char* name; // as the too-large message names the kind
};

// The limits lie far beyond any file the program writes of the kind (a netlist: 32 Mi characters
// in the view) and stop a mistaken file before it fills the memory.
constexpr KindLimit kLimits[] = {
    {Kind::Schematic, 256 * kMB, "a schematic"},  {Kind::Netlist, 64 * kMB, "a netlist"},
    {Kind::Plot, 1024 * kMB, "a plot"},           {Kind::Waveform, 1024 * kMB, "a waveform"},
    {Kind::RootList, 1 * kMB, "a list of roots"},
};

constexpr bool inKindOrder()
{
    for (size_t i = 0; i < std::size(kLimits); ++i)
        if (size_t(kLimits[i].kind) != i) return false;
    return std::size(kLimits) == size_t(Kind::Count);
}
static_assert(inKindOrder(), "one limit for every kind of file, in the order of Kind");

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString notRegularReason(mode_t mode)
{
    if (S_ISDIR(mode)) return systemReason(EISDIR);
    const char* what = S_ISFIFO(mode)                   ? " (a named pipe)"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? " (a device)"
                       : S_ISSOCK(mode)                 ? " (a socket)"
                                                        : "";
    return QStringLiteral("Not a regular file") + QLatin1String(what);
}

QString sizeText(qint64 bytes)
{
    if (bytes >= 1024 * kMB && bytes % (1024 * kMB) == 0)
        return QStringLiteral("%1 GB").arg(bytes / (1024 * kMB));
    return QStringLiteral("%1 MB").arg(bytes / kMB);
}

QString tooLargeReason(Kind kind)
{
    const KindLimit& limit = kLimits[size_t(kind)];
    return QStringLiteral("The file is too large to open (more than %1, the limit for %2)")
        .arg(sizeText(limit.bytes), QLatin1String(limit.name));
}

// Closes a descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now; a close can be the first to report a failed write.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

template <class T> std::optional<T> refuse(QString* reason, const QString& why)
{
    if (reason) *reason = why;
    return std::nullopt;
}

bool readAll(int fd, qint64 limit, QByteArray& bytes)
{
    for (;;) {
        const qint64 room = limit + 1 - bytes.size();
        if (room <= 0) return true;
        const qsizetype chunk = qsizetype(std::min<qint64>(room, 1 << 20));
        const qsizetype at = bytes.size();
        bytes.resize(at + chunk);
        const ssize_t n = ::read(fd, bytes.data() + at, size_t(chunk));
        bytes.resize(at + std::max<qsizetype>(n, 0));
        if (n == 0) return true;
        if (n < 0 && errno != EINTR) return false;
    }
}

} // namespace

qint64 SizeLimit(Kind kind)
{
    return kLimits[size_t(kind)].bytes;
}

std::optional<QByteArray> Read(const QString& path, Kind kind, QString* reason)
{
    using Result = QByteArray;
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    // Looked at before it is opened: opening a named pipe would wait for a writer.
    if (::stat(native.constData(), &info) != 0) return refuse<Result>(reason, systemReason(errno));
    if (!S_ISREG(info.st_mode)) return refuse<Result>(reason, notRegularReason(info.st_mode));
    const qint64 limit = SizeLimit(kind);
    if (info.st_size > limit) return refuse<Result>(reason, tooLargeReason(kind));
    // Without waiting, and looked at again: the name may have been given to something else meanwhile.
    Descriptor fd(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return refuse<Result>(reason, systemReason(errno));
    if (::fstat(fd.get(), &info) != 0) return refuse<Result>(reason, systemReason(errno));
    if (!S_ISREG(info.st_mode)) return refuse<Result>(reason, notRegularReason(info.st_mode));
    QByteArray bytes;
    bytes.reserve(qsizetype(std::min<qint64>(info.st_size, limit) + 1));
    if (!readAll(fd.get(), limit, bytes)) return refuse<Result>(reason, systemReason(errno));
    // It grew while it was read.
    if (bytes.size() > limit) return refuse<Result>(reason, tooLargeReason(kind));
    return bytes;
}

namespace {

bool fail(QString* reason, int error)
{
    if (reason) *reason = systemReason(error);
    return false;
}

bool writeAll(int fd, QByteArrayView bytes)
{
    const char* p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(std::min<qsizetype>(left, qsizetype(1) << 30)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// A new file beside the target, under a name of its own (short, so that a target with the longest
// name the system allows still has room for it).
int createBeside(const QByteArray& folder, mode_t mode, QByteArray& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/.torvex-" + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The rename itself reaches the disk with its folder; a file system that cannot say so is no failure.
void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool Write(const QString& path, QByteArrayView bytes, QString* reason)
{
    const QFileInfo info(path);
    const QString target = info.isSymLink() && !info.canonicalFilePath().isEmpty() ? info.canonicalFilePath()
                                                                                   : info.absoluteFilePath();
    const QByteArray native = QFile::encodeName(target);
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    struct stat old {};
    const bool exists = ::stat(native.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        if (reason) *reason = notRegularReason(old.st_mode);
        return false;
    }
    // A file the user may not change is not replaced, though its folder would allow it.
    if (exists && ::access(native.constData(), W_OK) != 0) return fail(reason, errno);

    QByteArray scratch;
    Descriptor fd(createBeside(folder, exists ? (old.st_mode & 07777) : 0666, scratch));
    if (fd.get() < 0) return fail(reason, errno);
    if (exists) {
        // The creation mask must not narrow the old file's permissions; its group is kept where allowed.
        ::fchmod(fd.get(), old.st_mode & 07777);
        [[maybe_unused]] const int kept = ::fchown(fd.get(), old.st_uid, old.st_gid);
    }
    const bool written = writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0 && fd.close() &&
                         ::rename(scratch.constData(), native.constData()) == 0;
    if (!written) {
        const int error = errno;
        ::unlink(scratch.constData());
        return fail(reason, error);
    }
    syncFolder(folder);
    return true;
}

QString WithReason(const QString& message, const QString& reason)
{
    return reason.isEmpty() ? message : message + u'\n' + reason + u'.';
}

} // namespace files
