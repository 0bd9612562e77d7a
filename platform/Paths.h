#pragma once

#include <QString>

// Windows paths as stored in documents and typed by users ("C:\Experiments\E1\Shots\Shot3\") mapped
// to this machine's files.
namespace paths {

// The path begins with a drive letter and a colon ("C:").
bool hasDriveLetter(const QString& path);

// Maps the drive letter through the drive map (group [DriveMap] of the settings file Torvex2.ini,
// key = the letter, value = a folder; without an entry C: is the home folder and other drives stay
// as written), takes "\" and "/" both as separators, and finds every component that exists
// case-insensitively (the exact spelling first, otherwise the first match in sorted order).
// Components past the first missing one stay as written.
QString toNative(const QString& windowsPath);

// The file the drive map is read from.
QString driveMapFile();

// Reads the drive map from this INI file instead of the user's settings; empty restores them.
// For tests, which must not touch the user's settings.
void setDriveMapFile(const QString& iniFile);

} // namespace paths
