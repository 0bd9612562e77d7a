#include "CPlotComponent.h"

#include "Archive.h"
#include "Dc.h"

const ClassInfo CPlotComponent::Class = {"CPlotComponent", 2, false, nullptr,
                                         &CreatePersistent<CPlotComponent>};

void CPlotComponent::Serialize(Archive& ar)
{
    if (ar.IsStoring()) {
        ar.WritePoint(Anchor);
        ar.WriteRect(Bounds);
        ar.WriteInt(Kind);
        ar.WriteInt(Reserved);
        ar.WriteString(Text);
        ar.WriteByte(Flag ? 1 : 0);
        return;
    }
    Anchor = ar.ReadPoint();
    Bounds = ar.ReadRect();
    Kind = ar.ReadInt();
    Reserved = ar.ReadInt();
    Text = ar.ReadString();
    Flag = ar.ReadByte() == 1;
    Visible = 1;
}

bool CPlotComponent::Draw(Dc& dc) const
{
    if (Kind != kDottedFrame) return false;
    const Pen oldPen = dc.SelectObject(Pen(Pen::Dot, 0, QColor(0x80, 0x80, 0x80)));
    dc.FrameOutline(Bounds);
    dc.SelectObject(oldPen);
    return true;
}
