#pragma once

#include <QSettings>
#include <QString>

// The user's profile: the program's few stored settings. Kept where QSettings keeps the user's
// settings, under the organisation and application names the stored profiles already use.
class Settings {
public:
    static constexpr const char* Organisation = "Local AppWizard-Generated Applications";
    static constexpr const char* Application = "Torvex2";

    Settings();

    // The file the settings are kept in: Torvex2.ini in the user's configuration folder.
    static QString FileName();

    int GetProfileInt(const QString& section, const QString& entry, int defaultValue) const;
    void WriteProfileInt(const QString& section, const QString& entry, int value);
    QString GetProfileString(const QString& section, const QString& entry,
                             const QString& defaultValue = QString()) const;
    void WriteProfileString(const QString& section, const QString& entry, const QString& value);
    // Removes an entry.
    void RemoveEntry(const QString& section, const QString& entry);
    // Writes what is pending to the store. When the file cannot be written whole (a full disk), the
    // file stays as it was and the answer is false.
    bool Flush();

private:
    static QString key(const QString& section, const QString& entry)
    {
        return section + QLatin1Char('/') + entry;
    }
    mutable QSettings m_Settings;
};
