#include "ClipboardTool.h"

#include "Archive.h"
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "EditorContext.h"
#include "SchematicClipboard.h"
#include "SchematicSheet.h"
#include "UiServices.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

// What copying and pasting take: a part followed by all of its attachments, or a text, which has none.
bool wholeGroup(const ComponentList& list, ComponentList::const_iterator head)
{
    const CComponent& object = **head;
    return object.GetAttachmentCount() > 0 ? sheet::GroupIntact(list, head)
                                           : object.TypeId == TypeTextSelectionTool;
}

} // namespace

bool ClipboardTool::CanCopy() const
{
    if (!m_Context.doc || m_Context.editMode != EditorContext::Idle) return false;
    const ComponentList& list = m_Context.Objects();
    return std::any_of(list.begin(), list.end(), [](const auto& o) { return o->Selected; });
}

QByteArray ClipboardTool::CopySelection(bool keepSelection)
{
    if (!m_Context.doc) return {};
    ComponentList& list = m_Context.Objects();
    std::vector<CComponent*> copied;
    // Whole groups only: a part goes with all its attachments whatever their flags, and a label or
    // pin selected on its own stays behind.
    for (auto it = list.begin(); it != list.end();) {
        const auto end = sheet::GroupEnd(list, it);
        if ((*it)->Selected && wholeGroup(list, it))
            for (auto member = it; member != end; ++member)
                copied.push_back(member->get());
        it = end;
    }
    if (!keepSelection) m_Context.DeselectAll();
    if (copied.empty()) return {};
    return clipboard::WriteObjects(copied);
}

bool ClipboardTool::Paste(const QByteArray& payload)
{
    EditorContext& c = m_Context;
    if (!c.doc) return false;
    c.CancelOperation();
    if (payload.isEmpty()) return false;
    ComponentList pasted;
    try {
        pasted = clipboard::ReadObjects(payload);
    } catch (const ArchiveError& e) {
        ui().message(clipboard::UnreadableMessage() + QLatin1Char('\n') + e.detail());
        return false;
    } catch (const std::bad_alloc&) {
        ui().message(clipboard::UnreadableMessage());
        return false;
    }
    ComponentList& list = c.Objects();
    bool added = false;
    const QPoint offset(kPasteOffset, -kPasteOffset);
    for (auto it = pasted.begin(); it != pasted.end();) {
        const auto end = sheet::GroupEnd(pasted, it);
        CComponent& head = **it;
        if (!wholeGroup(pasted, it)) {
            it = pasted.erase(it, end);
            continue;
        }
        // Named objects take the next number of their letter; wires, grounds and texts keep their
        // texts, and a text still advances the counter of its first letter.
        bool renamed = false;
        const ComponentType* type = FindComponentType(head.TypeId);
        const bool named = type && type->counterLetter;
        if ((named || head.TypeId == TypeTextSelectionTool) && !head.Text.isEmpty())
            if (const std::optional<int> n = c.doc->NextDesignatorNumber(head.Text.at(0)); n && named) {
                head.Text = head.MakeName(*n);
                renamed = true;
            }
        ShiftObject(head, offset, true);
        head.Selected = 1;
        for (auto member = std::next(it); member != end; ++member) {
            ShiftObject(**member, offset, false);
            (*member)->Selected = 1;
        }
        if (renamed && std::next(it) != end && !(*std::next(it))->Text.isEmpty())
            (*std::next(it))->Text = head.Text;
        list.splice(list.end(), pasted, it, end);
        it = end;
        added = true;
    }
    if (!added) return false;
    c.UpdateJunctions();
    c.RecordEdit();
    return true;
}
