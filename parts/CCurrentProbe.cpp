#include "CCurrentProbe.h"

#include "PartSymbol.h"

const ClassInfo CCurrentProbe::Class = {"CCurrentProbe", 3, false, &CVoltageSource::Class,
                                        &CreatePersistent<CCurrentProbe>};

// clang-format off
const AttachmentLayout CCurrentProbe::kLayout{.value = AttachmentLayout::NoValueLabel, .offsets = {{
    // name         pin 1   pin 2
    {{{350, 450},  {0, 0}, {432, 0}}},
    {{{250, 72},   {0, 0}, {0, -432}}},
    {{{-72, 450},  {0, 0}, {-432, 0}}},
    {{{250, 500},  {0, 0}, {0, 432}}},
}}};
// clang-format on

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
