#include "ComponentListCheck.h"

#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "ComponentTypeId.h"
#include "UiServices.h"

#include <optional>

namespace {

bool isAttachment(const CComponent& object)
{
    return object.TypeId == TypeTerminal || object.TypeId == TypeLabel;
}

QString typeName(quint32 typeId)
{
    const QString name = ComponentTypeName(typeId);
    return name.isEmpty() ? QString::number(typeId) : name;
}

// The objects a repair removes, and the one the message names.
struct BadRun {
    ComponentList::const_iterator first;
    ComponentList::const_iterator last; // past the run
    bool strayOnly;                     // pins and labels that follow no part taking attachments
};

ComponentList::const_iterator afterAttachments(const ComponentList& list, ComponentList::const_iterator it)
{
    while (it != list.end() && isAttachment(**it))
        ++it;
    return it;
}

// The list's groups in order, up to the first one that is broken: a pin or label where a part is
// expected breaks the group before it when that group's part takes attachments (the part cannot
// tell which of its pins and labels are its own); a part whose run ends early or holds another part
// is broken itself. Only the part and the pins and labels after it go, so a group that merely follows
// a broken one is never taken with it.
std::optional<BadRun> findBadRun(const ComponentList& list)
{
    auto previous = list.end(); // the last part that takes attachments, when its group came last
    for (auto it = list.begin(); it != list.end();) {
        if (isAttachment(**it)) {
            if (previous != list.end())
                return BadRun{previous, afterAttachments(list, std::next(previous)), false};
            return BadRun{it, afterAttachments(list, it), true};
        }
        const int count = (*it)->GetAttachmentCount();
        auto next = std::next(it);
        for (int i = 0; i < count; ++i, ++next) {
            if (next == list.end() || (*next)->GetAttachmentCount() > 0)
                return BadRun{it, afterAttachments(list, std::next(it)), false};
        }
        previous = count > 0 ? it : list.end();
        it = next;
    }
    return std::nullopt;
}

} // namespace

bool CheckComponentList(const ComponentList& objects)
{
    return !findBadRun(objects).has_value();
}

bool RemoveBadComponent(ComponentList& objects)
{
    const std::optional<BadRun> run = findBadRun(objects);
    if (!run) return false;
    const CComponent& named = **run->first;
    const QString name = run->strayOnly ? typeName(named.TypeId) + u' ' + named.Text : named.Text;
    ui().message(QStringLiteral("The bad component: ") + name +
                 QStringLiteral(" is being removed from document."));
    objects.erase(run->first, run->last);
    return true;
}

void ReportComponentListCheck(const ComponentList& objects)
{
    ui().message(CheckComponentList(objects)
                     ? QStringLiteral("No errors detected.")
                     : QStringLiteral("Errors detected in the document component list."));
}

void ReportComponentListRepair(const ComponentList& objects)
{
    ui().message(CheckComponentList(objects)
                     ? QStringLiteral("The document has been repaired.")
                     : QStringLiteral("Document still has a bad part.  Repair again."));
}

std::vector<ComponentTreeRow> ComponentTreeRows(const ComponentList& objects)
{
    std::vector<ComponentTreeRow> rows;
    for (auto it = objects.begin(); it != objects.end();) {
        const CComponent& object = **it++;
        if (object.State == 0) continue;
        ComponentTreeRow row{typeName(object.TypeId) + u' ' + object.Text, {}};
        for (int i = 0; i < object.GetAttachmentCount() && it != objects.end(); ++i, ++it)
            row.children << typeName((*it)->TypeId);
        rows.push_back(std::move(row));
    }
    return rows;
}

bool RunComponentListDialog(CTorvex2Doc& doc)
{
    ComponentListWindow* window = componentListWindow();
    return window && window->Run(doc.Components());
}
