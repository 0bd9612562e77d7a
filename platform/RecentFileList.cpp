#include "RecentFileList.h"

#include "Settings.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kSection = QStringLiteral("Recent File List");
QString entry(int i)
{
    return QStringLiteral("File%1").arg(i + 1);
}
} // namespace

RecentFileList::RecentFileList(Settings& settings, int size) : m_Settings(settings), m_Size(size)
{
    for (int i = 0; i < m_Size; ++i) {
        const QString path = m_Settings.GetProfileString(kSection, entry(i));
        if (!path.isEmpty() && !m_Files.contains(path)) m_Files.append(path);
    }
}

void RecentFileList::Add(const QString& path)
{
    if (path.isEmpty()) return;
    // One entry per file, however its path was spelt.
    const QString full = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    m_Files.removeAll(full);
    m_Files.prepend(full);
    while (m_Files.size() > m_Size)
        m_Files.removeLast();
    Write();
}

void RecentFileList::Remove(int index)
{
    if (index < 0 || index >= m_Files.size()) return;
    m_Files.removeAt(index);
    Write();
}

void RecentFileList::Write()
{
    for (int i = 0; i < m_Size; ++i) {
        if (i < m_Files.size())
            m_Settings.WriteProfileString(kSection, entry(i), m_Files[i]);
        else
            m_Settings.RemoveEntry(kSection, entry(i));
    }
    m_Settings.Flush();
}
