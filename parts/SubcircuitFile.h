#pragma once

#include <QString>

// The schematic file a sub-circuit block's file label names, as the block's Open and the netlist
// writer look for it: the label as it stands (relative names from the current folder, a drive
// letter through the drive map), then beside the parent schematic; "\" and "/" both separate
// folders. When both fail, the name is matched case-insensitively beside the parent, and last the
// file name alone there, so that files made on another system still find their blocks. The full
// path of the file, or empty when there is none (or the label is empty).
QString resolveSubcircuitFile(const QString& label, const QString& parentPath);

// The file label without its folders: what follows the last "\" or "/", unless that separator is
// the first character (then the label is kept as it is).
QString removeSubcircuitPath(const QString& label);
