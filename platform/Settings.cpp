#include "Settings.h"

Settings::Settings() : m_Settings(QSettings::IniFormat, QSettings::UserScope, Organisation, Application) {}

QString Settings::FileName()
{
    return Settings().m_Settings.fileName();
}

int Settings::GetProfileInt(const QString& section, const QString& entry, int defaultValue) const
{
    bool ok = false;
    const int value = m_Settings.value(key(section, entry)).toInt(&ok);
    return ok ? value : defaultValue;
}

void Settings::WriteProfileInt(const QString& section, const QString& entry, int value)
{
    m_Settings.setValue(key(section, entry), value);
}

QString Settings::GetProfileString(const QString& section, const QString& entry,
                                   const QString& defaultValue) const
{
    return m_Settings.value(key(section, entry), defaultValue).toString();
}

void Settings::WriteProfileString(const QString& section, const QString& entry, const QString& value)
{
    m_Settings.setValue(key(section, entry), value);
}

void Settings::RemoveEntry(const QString& section, const QString& entry)
{
    m_Settings.remove(key(section, entry));
}

void Settings::Flush()
{
    m_Settings.sync();
}
