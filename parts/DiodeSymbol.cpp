#include "DiodeSymbol.h"

#include "CComponent.h"
#include "PartSymbol.h"

void DrawDiodeSymbol(Dc& dc, CComponent& part)
{
    SymbolPainter s(dc, part);
    if (!s) return;
    part.Extent = s.Box(0, 144, 432, -144);
    s.Line(0, 0, 144, 0);
    s.Lines({{144, 0}, {144, 144}, {288, 0}, {144, -144}, {144, 0}});
    s.Line(288, 144, 288, -144);
    s.Line(288, 0, 432, 0);
}
