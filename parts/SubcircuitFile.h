#pragma once

#include <QString>

// The schematic file a sub-circuit block's file label names, as the block's Open and the netlist
// writer look for it, in two steps: the label as it stands (relative names from the current folder,
// a drive letter through the drive map), else the parent schematic's folder and the label; "\" and
// "/" both separate folders, and the names below a drive letter or the parent's folder match
// whatever their case. A file of the same name in another folder is never taken for the one the
// label names. The full path of the file, or empty when there is none (or the label is empty).
QString resolveSubcircuitFile(const QString& label, const QString& parentPath);

// The file label without its folders: what follows the last "\" or "/", unless that separator is
// the first character (then the label is kept as it is).
QString removeSubcircuitPath(const QString& label);
