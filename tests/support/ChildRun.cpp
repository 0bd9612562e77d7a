#include "ChildRun.h"

#include "UiServices.h"

#include <QDeadlineTimer>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <optional>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

// The child's answer: '1' or '0', then the messages, each ended by a zero byte.
[[noreturn]] void child(int fd, const std::function<bool()>& work, const ChildLimits& limits)
{
    if (limits.fileSize) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{rlim_t(*limits.fileSize), rlim_t(*limits.fileSize)};
        if (::setrlimit(RLIMIT_FSIZE, &size) != 0) ::_exit(3);
    }
    // The test's own scripted services, when it has them, keep their script.
    auto* scripted = dynamic_cast<ScriptedUiServices*>(&ui());
    std::optional<ScriptedUiServices> own;
    if (!scripted) scripted = &own.emplace();
    scripted->messages.clear();
    const bool succeeded = work();
    QByteArray answer(1, succeeded ? '1' : '0');
    for (const QString& m : std::as_const(scripted->messages))
        answer += m.toUtf8() + '\0';
    // No destructors, no exit handlers: the parent's objects belong to the parent.
    ::_exit(writeAll(fd, answer) ? 0 : 4);
}

// Everything the child sends until it closes its end; false when the time ran out first.
bool readAnswer(int fd, const QDeadlineTimer& deadline, QByteArray& answer)
{
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(std::max<qint64>(deadline.remainingTime(), 0)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return true;
        answer.append(buffer, n);
    }
}

} // namespace

ChildOutcome RunInChild(const std::function<bool()>& work, const ChildLimits& limits)
{
    int ends[2];
    if (::pipe(ends) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ends[0]);
        child(ends[1], work, limits);
    }
    ::close(ends[1]);
    QByteArray answer;
    const bool inTime = pid > 0 && readAnswer(ends[0], QDeadlineTimer(limits.seconds * 1000), answer);
    ::close(ends[0]);
    if (pid < 0) return {};
    if (!inTime) ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!inTime || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || answer.isEmpty()) return {};
    ChildOutcome outcome{true, answer[0] == '1', {}};
    for (const QByteArray& m : answer.mid(1).split('\0'))
        if (!m.isEmpty()) outcome.messages << QString::fromUtf8(m);
    return outcome;
}

OverwriteOutcome OverwriteOnFullDisk(const QString& path, qint64 bytes, const std::function<bool()>& work)
{
    OverwriteOutcome outcome;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("old") != 3) return outcome;
    file.close();
    static_cast<ChildOutcome&>(outcome) = RunOnFullDisk(bytes, work);
    if (file.open(QIODevice::ReadOnly)) outcome.after = file.readAll();
    return outcome;
}
