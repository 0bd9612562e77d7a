#include "CInductor.h"

#include "CDrawing.h"
#include "PartSymbol.h"

const ClassInfo CInductor::Class = {"CInductor", 3, false, &CComponent::Class, &CreatePersistent<CInductor>};

namespace {

// clang-format off
// The outline in each orientation: the humps bulge up, right, down and left.
constexpr std::array<Rect, 4> kInductorExtents{{
    {0, 144, 864, 0}, {0, 0, 144, -864}, {-864, 144, 0, -144}, {-144, 864, 0, 0}}};
// clang-format on

} // namespace

// clang-format off
const AttachmentLayout CInductor::kLayout{.ic = "IC=0", .offsets = {{
    // name         value         IC            pin 1   pin 2
    {{{300, 350},  {300, -100},  {300, -300},  {0, 0}, {864, 0}}},
    {{{200, -200}, {200, -400},  {200, -600},  {0, 0}, {0, -864}}},
    {{{-550, 300}, {-550, -100}, {-550, -300}, {0, 0}, {-864, 0}}},
    {{{150, 550},  {150, 350},   {150, 150},   {0, 0}, {0, 864}}},
}}};
// clang-format on

void CInductor::Draw(Dc& dc)
{
    DrawSymbol(dc, *this, kInductorExtents);
}

void CInductor::DrawSymbol(Dc& dc, CComponent& part, const std::array<Rect, 4>& extents)
{
    SymbolPainter s(dc, part);
    if (!s) return;
    const Rect& e = extents[size_t(part.Orientation - 1)];
    const QPoint topLeft = CDrawing::Shifted(part.Position, e.left, e.top);
    const QPoint bottomRight = CDrawing::Shifted(part.Position, e.right, e.bottom);
    part.Extent = Rect{topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y()};
    s.Line(0, 0, 144, 0);
    for (int k = 1; k <= 4; ++k)
        s.Arc({144 * k, 100}, {144 * (k + 1), -100}, {144 * (k + 1), 0}, {144 * k, 0});
    s.Line(720, 0, 864, 0);
}
