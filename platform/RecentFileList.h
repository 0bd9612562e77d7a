#pragma once

#include <QStringList>

class Settings;

// The most recently used files, newest first, kept in the profile as "File1".."FileN" of the
// "Recent File List" section and written back at every change.
class RecentFileList {
public:
    RecentFileList(Settings& settings, int size);

    const QStringList& Files() const { return m_Files; }
    int Size() const { return m_Size; }
    // Puts the file at the top (moving it when already listed).
    void Add(const QString& path);
    void Remove(int index);

private:
    void Write();

    Settings& m_Settings;
    int m_Size;
    QStringList m_Files;
};
