#pragma once

#include "EditorContext.h"

#include <QByteArray>

// Copy and paste in the clipboard's archive form: whole groups only (a part with all of its labels
// and pins, or a text), pasted renamed, one grid step off and selected.
class ClipboardTool : public EditorTool {
public:
    static constexpr int kPasteOffset = 144;

    using EditorTool::EditorTool;

    // Copy and cut want an idle window and something selected.
    bool CanCopy() const;
    // The archive form of the selected groups (empty when none); the selection stays only when
    // asked to.
    QByteArray CopySelection(bool keepSelection);
    // Adds the groups of an archive form, renamed, moved by one grid step and selected; malformed
    // groups are dropped and unreadable data is refused with a message. False when nothing was
    // added.
    bool Paste(const QByteArray& payload);
};
