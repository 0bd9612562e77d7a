#include "COilSwitch.h"

#include "PartSymbol.h"

const ClassInfo COilSwitch::Class = {"COilSwitch", 3, false, &CResistor::Class,
                                     &CreatePersistent<COilSwitch>};

// clang-format off
const AttachmentLayout COilSwitch::kLayout{.offsets = {{
    // name         value         pin 1   pin 2
    {{{200, 400},  {200, -200},  {0, 0}, {576, 0}}},
    {{{200, -100}, {200, -300},  {0, 0}, {0, -576}}},
    {{{-400, 400}, {-400, -100}, {0, 0}, {-576, 0}}},
    {{{200, 500},  {200, 300},   {0, 0}, {0, 576}}},
}}};
// clang-format on

QString COilSwitch::GetDefaultValue() const
{
    return QStringLiteral("OILSW GAP=10 EB1P=2000 EB1N=2000 EB2P=2000 EB2N=50");
}

void COilSwitch::Draw(Dc& dc)
{
    SymbolPainter p(dc, *this);
    Extent = p.Box(0, 144, 576, -144);
    p.Line(0, 0, 144, 0);
    dc.SelectObject(Pen::NullPen());
    dc.SelectObject(Brush(QColor(255, 255, 0)));
    p.Rectangle(144, 144, 432, -144);
    dc.SelectObject(p.pen());
    dc.SelectObject(Brush::BlackBrush());
    p.Rectangle(144, 50, 216, -50);
    p.Rectangle(360, 50, 432, -50);
    p.Line(144, 144, 144, -144);
    p.Line(432, 144, 432, -144);
    p.Line(432, 0, 576, 0);
}
