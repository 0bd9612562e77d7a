#include "PartAttachments.h"

#include "CComponent.h"
#include "ComponentTypeId.h"

#include <algorithm>

void InitPartOfType(CComponent& part, quint32 typeId)
{
    part.Init(typeId);
    const ComponentType* type = FindComponentType(typeId);
    part.Text = type && type->counterLetter ? QString(QChar(type->counterLetter)) : QString();
}

namespace {

std::unique_ptr<CComponent> NewAttachment(quint32 typeId, const QString& text, bool visible)
{
    auto object = std::make_unique<CComponent>();
    object->Init(typeId);
    object->Extent = Rect{};
    object->State = 1;
    object->Text = text;
    object->Visible = visible ? 1 : 0;
    return object;
}

} // namespace

void AppendPartAttachments(CComponent& part, ComponentHost& doc, const QString& name, const QString& icText,
                           std::initializer_list<const char*> pins)
{
    ComponentList& list = doc.Components();
    // The part is the tail: search from there.
    const auto found =
        std::find_if(list.rbegin(), list.rend(), [&](const auto& p) { return p.get() == &part; });
    if (found == list.rend()) return;
    const ComponentList::iterator self = std::prev(found.base());
    list.push_back(NewAttachment(TypeLabel, name, true));
    list.push_back(NewAttachment(TypeLabel, part.GetDefaultValue(), true));
    list.push_back(NewAttachment(TypeLabel, icText, false));
    for (const char* pin : pins)
        list.push_back(NewAttachment(TypeTerminal, QString::fromLatin1(pin), true));
    part.PlaceAttachments(doc, self);
}

void PlaceAttachmentsByLayout(ComponentHost& doc, ComponentList::iterator self,
                              const AttachmentLayout& layout)
{
    const CComponent& part = **self;
    const bool known = part.Orientation >= 1 && part.Orientation <= 4;
    const ComponentList::iterator end = doc.Components().end();
    auto it = std::next(self);
    for (int slot = 0; slot < layout.Count() && it != end; ++slot, ++it) {
        CComponent& object = **it;
        if (object.TypeId != (slot < layout.labels ? TypeLabel : TypeTerminal)) return;
        const bool pin1 = slot == layout.labels;
        if (!known && !pin1) continue;
        object.Position =
            part.Position + (known ? layout.offsets[size_t(part.Orientation - 1)][size_t(slot)] : QPoint());
    }
}
