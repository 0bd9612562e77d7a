#pragma once

#include <QCursor>

// The schematic window's own cursors, drawn in code: a cross-hair while placing a part (333), a
// cross-hair with a pen while drawing a wire (334) and a magnifier for the zoom tool (335).
namespace cursors {
enum Id { IDC_Place = 333, IDC_Wire = 334, IDC_Zoom = 335 };
// The cursor of an id; any other id gives the arrow.
QCursor Get(int id);
} // namespace cursors
