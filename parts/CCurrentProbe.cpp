#include "CCurrentProbe.h"

#include "PartSymbol.h"

namespace {
const AttachmentTable kProbePlaces = {{
    {{432, 0}, {350, 450}, {}},
    {{0, -432}, {250, 72}, {}},
    {{-432, 0}, {-72, 450}, {}},
    {{0, 432}, {250, 500}, {}},
}};
} // namespace

const ClassInfo CCurrentProbe::Class = {"CCurrentProbe", 3, false, &CVoltageSource::Class,
                                        &CreatePersistent<CCurrentProbe>};

CCurrentProbe::CCurrentProbe(quint32 typeId) : CVoltageSource(typeId)
{
    Orientation = 1;
}

QString CCurrentProbe::GetDefaultValue() const
{
    return QStringLiteral("DC 0");
}

void CCurrentProbe::Draw(Dc& dc)
{
    SymbolPainter p(dc, *this);
    Extent = p.Box(0, 368, 432, -288);
    p.Line(0, 0, 432, 0);
    p.Ellipse(166, -144, 266, 144);
    p.Line(216, 144, 216, 288);
    p.Ellipse(176, 368, 256, 288);
    p.Line(116, -216, 404, -216);
    p.Line(404, -216, 260, -288);
    p.Line(404, -216, 260, -144);
}

void CCurrentProbe::CreateAttachments(ComponentHost& doc, int, int)
{
    AppendLabelsAndPins(*this, doc, TakeNextName(doc), ValueLabel::None);
}

void CCurrentProbe::PlaceAttachments(ComponentHost& doc, ComponentList::iterator self)
{
    PlaceLabelsAndPins(*this, doc, self, kProbePlaces, false);
}

bool CCurrentProbe::EditProperties(ComponentHost& doc)
{
    return CComponent::EditProperties(doc);
}
