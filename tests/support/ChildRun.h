#pragma once

#include <QStringList>

#include <functional>
#include <optional>

// Runs `work` in a child process, so that a test can take away what the machine would give (disk
// space) and can give up on work that never ends (a read that waits on a named pipe) without
// waiting itself or holding a thread.
struct ChildLimits {
    // No file may grow beyond this many bytes: a write past it fails with the system's "File too
    // large" (the signal that would end the process is ignored), as a write onto a full disk fails
    // with "No space left on device". Needs no root.
    std::optional<qint64> fileSize;
    // The child is ended after this long; its outcome then says it did not finish.
    int seconds = 20;
};
struct ChildOutcome {
    bool finished = false;  // the child came back with an answer in time
    bool succeeded = false; // what `work` returned
    QStringList messages;   // every message it showed (through the test's ScriptedUiServices, if any)
};
ChildOutcome RunInChild(const std::function<bool()>& work, const ChildLimits& limits = {});
// A full disk without root: `work` under a file size limit of `bytes`.
inline ChildOutcome RunOnFullDisk(qint64 bytes, const std::function<bool()>& work)
{
    return RunInChild(work, ChildLimits{bytes});
}
// A save onto a full disk over a file that holds "old": what the work did, and what the file holds
// after it.
struct OverwriteOutcome : ChildOutcome {
    QByteArray after;
};
OverwriteOutcome OverwriteOnFullDisk(const QString& path, qint64 bytes, const std::function<bool()>& work);
