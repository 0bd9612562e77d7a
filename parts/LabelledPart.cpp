#include "LabelledPart.h"

void LabelledPart::CreateAttachments(ComponentHost& doc, int, int)
{
    CreateAttachmentsByLayout(*this, doc, Layout());
}

void LabelledPart::PlaceAttachments(ComponentHost& doc, ComponentList::iterator self)
{
    PlaceAttachmentsByLayout(doc, self, Layout());
}

bool LabelledPart::EditProperties(ComponentHost& doc)
{
    return EditCommonProperties(doc, Layout().ic != nullptr);
}
