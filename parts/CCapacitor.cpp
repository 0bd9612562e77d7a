#include "CCapacitor.h"

#include "CResistor.h"
#include "PartSymbol.h"

const ClassInfo CCapacitor::Class = {"CCapacitor", 3, false, &CComponent::Class,
                                     &CreatePersistent<CCapacitor>};
const ClassInfo CMOV::Class = {"CMOV", 3, false, &CCapacitor::Class, &CreatePersistent<CMOV>};

// clang-format off
const AttachmentLayout CCapacitor::kLayout{.ic = "IC=0", .offsets = {{
    // name         value         IC            pin 1   pin 2
    {{{150, 350},  {140, -150},  {140, -350},  {0, 0}, {432, 0}}},
    {{{200, -100}, {200, -300},  {200, -500},  {0, 0}, {0, -432}}},
    {{{-350, 350}, {-350, -100}, {-350, -300}, {0, 0}, {-432, 0}}},
    {{{200, 450},  {200, 250},   {200, 50},    {0, 0}, {0, 432}}},
}}};
const AttachmentLayout CMOV::kLayout{.ic = "IC=0", .offsets = {{
    {{{150, 350},  {140, -150},  {140, -350},  {0, 0}, {576, 0}}},
    {{{200, -100}, {200, -300},  {200, -500},  {0, 0}, {0, -576}}},
    {{{-350, 350}, {-350, -100}, {-350, -300}, {0, 0}, {-576, 0}}},
    {{{200, 450},  {200, 250},   {200, 50},    {0, 0}, {0, 576}}},
}}};
// clang-format on

void CCapacitor::Draw(Dc& dc)
{
    DrawSymbol(dc, *this);
}

void CCapacitor::DrawSymbol(Dc& dc, CComponent& part)
{
    SymbolPainter s(dc, part);
    if (!s) return;
    part.Extent = s.Box(0, 144, 432, -144);
    s.Line(0, 0, 180, 0);
    s.Line(180, -144, 180, 144);
    s.Line(252, 144, 252, -144);
    s.Line(252, 0, 432, 0);
}

void CMOV::Draw(Dc& dc)
{
    SymbolPainter s(dc, *this);
    if (!s) return;
    Extent = s.Box(0, 144, 576, -144);
    s.Polyline(CResistor::kZigzag);
    // The bar keeps its own slant when the varistor stands upright.
    switch (Orientation) {
    case 2:
        s.SetTurn({1, 0, 0, 1});
        s.Polyline({{144, -576}, {144, -504}, {-144, -216}, {-144, -144}});
        break;
    case 4:
        s.SetTurn({1, 0, 0, 1});
        s.Polyline({{-144, 144}, {-144, 216}, {144, 504}, {144, 576}});
        break;
    default:
        s.Polyline({{72, -144}, {144, -144}, {432, 144}, {504, 144}});
    }
}
