#pragma once

#include <QString>

// The memory this process can still take: the MemAvailable of the kernel's memory report, or what
// the memory limits of the process's control group (and of the groups above it) leave, when that is
// less. `root` is where the file system starts ("/" on the machine; tests hand in a tree of their own).
// Without a memory report: the free physical memory.
double AvailableMemoryBytes(const QString& root = QStringLiteral("/"));

// A memory size for messages: "512 KB", "37 MB", "12.5 GB".
QString MemorySizeText(double bytes);
