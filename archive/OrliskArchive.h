#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class OrliskCombo;

// The waveform archive, a folder tree the sibling measurement program keeps:
//   root\                       a folder text ending in "\", such as "C:\Experiments\"
//   root\E\E.ini                an experiment E (with Macros, Notes, Query\QShots.ini, Shots)
//   root\E\Shots\ShotS\         a shot S
//   root\E\Shots\ShotS\*.wvf    its traces
// Paths are kept as the texts documents store and users type ("\" separators, drive letters) and are
// mapped to this machine's files only where a file is touched.
namespace orlisk {

extern const QString kDefaultRoot; // "C:\Experiments\"

// ---- paths ----
// True for a text that names a folder from the top of a drive ("X:\...") or of this machine's file
// system ("/data", not "/" alone). Empty, relative and bare-separator texts are not: they would land
// in whatever the current folder or the file-system root happens to be.
bool IsRootedPath(const QString& path);
// This machine's file for a stored path text; empty when the text is not rooted or its drive is
// not mapped to a folder here.
QString NativePath(const QString& path);

// ---- reading the tree ----
// The roots named by a list of roots: the "X=Path" lines right after "[Paths]", each as "X\".
QStringList ParseRootList(const QByteArray& content);
// The roots of the first list of roots found ("X:\Orlisk\orlisk.ini" for the drives C to L in
// turn); the default root alone when there is none.
QStringList Roots();
// Experiment names under the root: folders without an extension that hold their own ".ini" file.
QStringList Experiments(const QString& root);
// Shot names of an experiment (root + experiment): the "ShotS" folders under "Shots" as S. A folder
// named just "Shot" gives an empty name when `withBareShot`, else nothing.
QStringList Shots(const QString& experimentPath, bool withBareShot);
// The ".wvf" file names of a shot folder.
QStringList Traces(const QString& shotFolder);
// The order of every list shown: case-blind first, as the names read on Windows, then exact, so the
// order never depends on the folder listing.
bool NameLess(const QString& a, const QString& b);

// ---- the ribbon's lists ----
// Each empties the combo, adds the names found, selects the item equal to the in/out value (item 0
// when there is none) and writes the selected text back (empty when the combo stays empty).
void FillOrliskRootCombo(OrliskCombo& combo, QString& root);
void FillOrliskExperimentCombo(OrliskCombo& combo, const QString& root, QString& experiment);
void FillOrliskShotCombo(OrliskCombo& combo, const QString& experimentPath, QString& shot);

// ---- adding to the tree ----
// A name that can become one folder on Windows and on this machine.
bool IsValidFolderName(const QString& name);
// Creates root + name and its four subfolders, and the root first when it does not exist yet. A
// refused name or root, or a folder that cannot be made (it exists, or the root cannot be made),
// shows "Can't create folder " + name (with the reason when the root is at fault) and returns
// false.
bool CreateExperimentFolders(const QString& root, const QString& name);
// Writes the experiment's ".ini" file and its query file; each that cannot be written shows "Can't
// create file: " + its path. Line breaks in the description become blanks.
void WriteExperimentFiles(const QString& root, const QString& name, const QString& description);
// Creates root + experiment + "\Shots\Shot" + name, with the same refusals and message as an
// experiment folder.
bool CreateShotFolder(const QString& root, const QString& experiment, const QString& name);

} // namespace orlisk
