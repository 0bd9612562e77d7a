#include "CResistor.h"

#include "CDrawing.h"
#include "ComponentTypeId.h"
#include "PartSymbol.h"

namespace {

// The variable resistor's arrow does not follow the turning rule in the second orientation, so each
// orientation has its own: a line with a corner, and a short barb at the tip.
struct Arrow {
    QPoint tail, tip, corner, barb;
};
const Arrow kArrows[4] = {
    {{216, -144}, {504, 144}, {432, 144}, {504, 72}},
    {{120, -476}, {-168, -188}, {-96, -188}, {-168, -260}},
    {{-216, -144}, {-504, 144}, {-432, 144}, {-504, 72}},
    {{-144, 216}, {144, 504}, {144, 432}, {72, 504}},
};

} // namespace

const ClassInfo CResistor::Class = {"CResistor", 3, false, &CComponent::Class, &CreatePersistent<CResistor>};

// clang-format off
const AttachmentLayout CResistor::kLayout{.offsets = {{
    // name         value         pin 1   pin 2
    {{{200, 300},  {200, -100},  {0, 0}, {576, 0}}},
    {{{150, -100}, {150, -300},  {0, 0}, {0, -576}}},
    {{{-400, 300}, {-400, -100}, {0, 0}, {-576, 0}}},
    {{{150, 500},  {150, 300},   {0, 0}, {0, 576}}},
}}};
// clang-format on

QString CResistor::GetDefaultValue() const
{
    return QStringLiteral("1k");
}

void CResistor::Draw(Dc& dc)
{
    SymbolPainter p(dc, *this);
    Extent = p.Box(0, 144, 576, -144);
    p.Lines(kZigzag);
    if (TypeId != TypeVariableResistor) return;
    const Arrow& a = kArrows[Orientation >= 1 && Orientation <= 4 ? Orientation - 1 : 0];
    dc.MoveTo(CDrawing::Shifted(Position, a.tail));
    dc.LineTo(CDrawing::Shifted(Position, a.tip));
    dc.LineTo(CDrawing::Shifted(Position, a.corner));
    dc.MoveTo(CDrawing::Shifted(Position, a.tip));
    dc.LineTo(CDrawing::Shifted(Position, a.barb));
}
