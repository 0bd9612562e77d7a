#include "CText.h"

#include "CDrawing.h"
#include "Dc.h"

const ClassInfo CText::Class = {"CText", 3, false, &CComponent::Class, &CreatePersistent<CText>};

CText::CText() : CComponent(kDialogTemplate) {}

CText::CText(quint32 typeId) : CComponent(kDialogTemplate, typeId) {}

CText::CText(const CComponent& source) : CComponent(source, kDialogTemplate) {}

void CText::OnInitDialog()
{
    TextBuffer = Text;
}

bool CText::OnOK()
{
    Text = TextBuffer;
    return true;
}

void CText::Draw(Dc& dc)
{
    Extent = CDrawing::DrawTextLines(dc, *this, {Text});
}

bool CText::EditProperties(ComponentHost&)
{
    const QString before = Text;
    return DoModal() && Text != before;
}
