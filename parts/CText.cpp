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
    const QColor color = Selected     ? CDrawing::SelectedColor()
                         : State == 1 ? QColor(0, 0, 0)
                                      : QColor(128, 128, 128);
    const QColor oldText = dc.SetTextColor(color);
    const QColor oldBk = dc.SetBkColor(QColor(255, 255, 255));
    const Font oldFont = dc.SelectObject(CDrawing::CreateArialFont(200));
    dc.TextOut(Position.x(), Position.y(), Text);
    const QSize size = dc.GetTextExtent(Text);
    const QPoint corner = CDrawing::Shifted(Position, size.width(), -size.height());
    Extent = Rect{Position.x(), Position.y(), corner.x(), corner.y()};
    dc.SelectObject(oldFont);
    dc.SetBkColor(oldBk);
    dc.SetTextColor(oldText);
}

bool CText::EditProperties(ComponentHost&)
{
    const QString before = Text;
    return DoModal() && Text != before;
}
