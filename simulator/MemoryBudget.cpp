// One memory budget per run: the results table, the element histories and every system, summed
// before anything of the run is allocated.
#include "MemoryBudget.h"

#include "CComponentSim.h"
#include "CSimulatorDoc.h"
#include "StructuredLU.h"
#include "Text.h"
#include "UiServices.h"

#include <QFile>

#include <algorithm>
#include <climits>
#include <cmath>
#include <unistd.h>

namespace {

QByteArray readSmall(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.read(1 << 16);
}

// The number after NAME (or NAME:) on one of the lines "NAME value [unit]"; -1 when there is none.
double field(const QByteArray& text, const QByteArray& name)
{
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() < 2 || (words[0] != name && words[0] != name + ':')) continue;
        bool ok = false;
        const double v = words[1].toDouble(&ok);
        return ok ? v : -1;
    }
    return -1;
}

// A file holding one number; -1 when it holds none ("max": no limit) or cannot be read.
double number(const QString& path)
{
    bool ok = false;
    const double v = readSmall(path).trimmed().toDouble(&ok);
    return ok ? v : -1;
}

// What a control group leaves: its limit less its use, where file pages it could drop count as free.
// -1 when the group has no limit.
double headroom(const QString& dir, const char* limitFile, const char* usageFile, const char* inactiveFile)
{
    const double limit = number(dir + limitFile);
    // Version 1 writes "no limit" as a number near 2^63.
    if (limit < 0 || limit >= 0x1p60) return -1;
    const double used = std::max(0.0, number(dir + usageFile));
    const double droppable = std::max(0.0, field(readSmall(dir + "/memory.stat"), inactiveFile));
    return std::max(0.0, limit - std::max(0.0, used - droppable));
}

} // namespace

double AvailableMemoryBytes(const QString& rootIn)
{
    const QString root = rootIn.endsWith(u'/') ? rootIn : rootIn + u'/';
    double available = field(readSmall(root + "proc/meminfo"), "MemAvailable") * 1024;
    if (available < 0) available = double(sysconf(_SC_AVPHYS_PAGES)) * double(sysconf(_SC_PAGE_SIZE));
    // Lines "0::/path" (version 2) and "N:...memory...:/path" (version 1). Inside a container the
    // group's folder is often the top of the tree itself, so every folder up to the top is asked.
    for (const QByteArray& line : readSmall(root + "proc/self/cgroup").split('\n')) {
        const int first = int(line.indexOf(':')), second = int(line.indexOf(':', first + 1));
        if (first < 0 || second < 0) continue;
        const QByteArray id = line.left(first), controllers = line.mid(first + 1, second - first - 1);
        const bool v2 = id == "0" && controllers.isEmpty();
        if (!v2 && !controllers.split(',').contains("memory")) continue;
        const QString base = root + (v2 ? "sys/fs/cgroup" : "sys/fs/cgroup/memory");
        QString path = QString::fromUtf8(line.mid(second + 1)).trimmed();
        for (;;) {
            const QString dir = base + (path == u'/' ? QString() : path);
            const double left =
                v2 ? headroom(dir, "/memory.max", "/memory.current", "inactive_file")
                   : headroom(dir, "/memory.limit_in_bytes", "/memory.usage_in_bytes", "total_inactive_file");
            if (left >= 0) available = std::min(available, left);
            const int slash = int(path.lastIndexOf(u'/'));
            if (slash < 0 || path == u'/') break;
            path = path.left(slash);
        }
    }
    return available;
}

QString MemorySizeText(double bytes)
{
    const double kb = 1024, mb = kb * kb, gb = mb * kb;
    if (bytes < mb) return text::format("%.0f KB", std::max(1.0, std::round(bytes / kb)));
    if (bytes < 10 * gb) return text::format("%.0f MB", std::round(bytes / mb));
    return text::format("%.1f GB", bytes / gb);
}

// ---------------------------------------------------------------------------------------------

bool CSimulatorDoc::CheckMemoryBudget()
{
    const double columns = double(m_h) + 1 + m_StepCount;
    if (columns >= double(INT_MAX)) {
        ui().message(
            text::format("Error.  This run would need %.0f results columns, more than a run can have; "
                         "shorten the time span or enlarge the time step.",
                         columns));
        return false;
    }
    const double budget = MemoryLimit();
    // The fill-in of a system far beyond the budget need not be known exactly.
    const double enough = 2 * budget;
    bool capped = false;
    const auto size = [&](double bytes) {
        if (bytes < enough) return MemorySizeText(bytes);
        capped = true;
        return QStringLiteral("over ") + MemorySizeText(enough);
    };
    const double results = (double(m_N) + m_M + 1) * columns * sizeof(double);
    double histories = 0;
    for (const auto& e : m_Elements)
        histories += e->HistoryBytes(columns);

    std::vector<CComponentSim*> all, reduced;
    for (const auto& e : m_Elements) {
        all.push_back(e.get());
        if (e->InReducedSet) reduced.push_back(e.get());
    }
    double systems = 0;
    QStringList named;
    PumpWhenDue();
    if (m_Modes.Minimal()) {
        const int n = m_Modes.ReducedNodeCount() + m_Modes.ReducedBranchCount();
        const double bytes = m_Modes.SystemBytes(n, reduced, m_Modes.ReducedMap(), enough);
        systems += bytes;
        named << text::format("the reduced system (%d unknowns) ", n) + size(bytes);
    }
    if (!m_Modes.Maximal()) {
        PumpWhenDue();
        const double bytes = m_Modes.SystemBytes(m_N + m_M, all, IndexMap::identity(), enough);
        systems += bytes;
        named << text::format("the full system (%d unknowns) ", m_N + m_M) + size(bytes);
    } else {
        const MatrixModes::SystemsSize parts = m_Modes.PartitionsBytes(enough);
        systems += parts.bytes;
        named << text::format("%d partitions ", m_Modes.PartitionCount()) + MemorySizeText(parts.bytes) +
                     text::format(" (the largest, %d unknowns, ", parts.largestUnknowns) +
                     size(parts.largest) + QStringLiteral(")");
    }
    const double need = results + histories + systems;
    if (need <= budget) return true;

    QString message = QStringLiteral("Error.  This run needs ") +
                      (capped ? QStringLiteral("over ") : QString()) + MemorySizeText(need) +
                      QStringLiteral(" of memory, more than the ") + MemorySizeText(budget) +
                      QStringLiteral(" available: results ") + MemorySizeText(results) +
                      QStringLiteral(", element histories ") + MemorySizeText(histories) +
                      QStringLiteral(", ") + named.join(QStringLiteral(", ")) + QStringLiteral(".");
    // Only what would make the run fit: fewer steps where the systems leave room for some, and the
    // partitioned systems where they are small enough with the results of this span.
    QStringList advice;
    const double perColumn = (results + histories) / columns;
    const double steps = std::floor((budget - systems) / perColumn) - m_h - 1;
    if (systems < budget && steps >= 1)
        advice << text::format("Shorten the time span or enlarge the time step: at most %.0f time steps fit.",
                               steps);
    if (!m_Modes.Maximal()) {
        if (m_Modes.PartitionCount() == 0) m_Modes.PartitionNetwork();
        const MatrixModes::SystemsSize parts = m_Modes.PartitionsBytes(enough);
        if (m_Modes.PartitionCount() > 1 && results + histories + parts.bytes <= budget)
            advice << QString(advice.isEmpty() ? "Choose" : "Or choose") +
                          text::format(" the Maximal matrix mode: its %d partitions need ",
                                       m_Modes.PartitionCount()) +
                          MemorySizeText(parts.bytes) +
                          text::format(" (the largest, %d unknowns, ", parts.largestUnknowns) +
                          MemorySizeText(parts.largest) + QStringLiteral(").");
    }
    if (advice.isEmpty())
        advice << QStringLiteral("The circuit is too large for the memory of this computer.");
    ui().message(message + u' ' + advice.join(u' '));
    return false;
}
