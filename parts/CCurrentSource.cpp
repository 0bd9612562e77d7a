#include "CCurrentSource.h"

#include "PartSymbol.h"

const ClassInfo CCurrentSource::Class = {"CCurrentSource", 3, false, &CVoltageSource::Class,
                                         &CreatePersistent<CCurrentSource>};

CCurrentSource::CCurrentSource(quint32 typeId) : CVoltageSource(typeId)
{
    // Unlike the voltage source it starts in the first orientation.
    Orientation = 1;
}

void CCurrentSource::Draw(Dc& dc)
{
    // The circle takes whatever brush the context has.
    SymbolPainter p(dc, *this);
    DrawLeadsAndCircle(p, false);
    p.Line(238, 0, 488, 0);
    p.Line(488, 0, 388, 75);
    p.Line(488, 0, 388, -75);
}
