#include "PartAttachments.h"

#include "CDrawing.h"
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
    auto object = std::make_unique<CDrawing>(typeId);
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
    // A list whose groups are broken moves nothing rather than another part's objects.
    const std::vector<CComponent*> after =
        layout.pins == 4
            ? CDrawing::Attachments(
                  doc.Components(), self,
                  {TypeLabel, TypeLabel, TypeLabel, TypeTerminal, TypeTerminal, TypeTerminal, TypeTerminal})
            : CDrawing::Attachments(doc.Components(), self,
                                    {TypeLabel, TypeLabel, TypeLabel, TypeTerminal, TypeTerminal});
    if (after.empty()) return;
    after[3]->Position = part.Position; // pin 1
    if (part.Orientation < 1 || part.Orientation > 4) return;
    const auto& offsets = layout.offsets[size_t(part.Orientation - 1)];
    for (size_t i = 0; i < after.size(); ++i)
        after[i]->Position = part.Position + offsets[i];
}
