#include "PartAttachments.h"

#include "CDrawing.h"
#include "ComponentTypeId.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <span>

int AttachmentLayout::PinCount() const
{
    return int(std::strlen(pins));
}

void CreateAttachmentsByLayout(CComponent& part, ComponentHost& doc, const AttachmentLayout& layout)
{
    ComponentList& list = doc.Components();
    if (list.empty() || list.back().get() != &part) return;
    const ComponentList::iterator self = std::prev(list.end());
    if (layout.named) {
        // Without a counter for its letter the part keeps its text, and the label shows that.
        part.TakeNextName(doc);
        list.push_back(CDrawing::NewAttachment(TypeLabel, part.Text));
    }
    if (layout.value != AttachmentLayout::NoValueLabel)
        list.push_back(CDrawing::NewAttachment(TypeLabel, part.GetDefaultValue(),
                                               layout.value == AttachmentLayout::ValueShown));
    if (layout.ic) list.push_back(CDrawing::NewAttachment(TypeLabel, QString::fromLatin1(layout.ic), false));
    for (const char* pin = layout.pins; *pin; ++pin)
        list.push_back(CDrawing::NewAttachment(TypeTerminal, QString(QLatin1Char(*pin))));
    part.PlaceAttachments(doc, self);
}

void PlaceAttachmentsByLayout(ComponentHost& doc, ComponentList::iterator self,
                              const AttachmentLayout& layout)
{
    std::array<quint32, 7> types{};
    const int labels = layout.LabelCount();
    const int count = std::min<int>(layout.Count(), int(types.size()));
    for (int i = 0; i < count; ++i)
        types[size_t(i)] = i < labels ? TypeLabel : TypeTerminal;
    const std::vector<CComponent*> after =
        CComponent::Attachments(doc.Components(), self, std::span(types.data(), size_t(count)));
    if (after.empty()) return;
    const CComponent& part = **self;
    after[size_t(labels)]->Position = part.Position; // pin 1
    if (part.Orientation < 1 || part.Orientation > 4) return;
    const auto& offsets = layout.offsets[size_t(part.Orientation - 1)];
    for (size_t i = 0; i < after.size(); ++i)
        after[i]->Position = CDrawing::Shifted(part.Position, offsets[i]);
}
