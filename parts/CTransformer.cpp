#include "CTransformer.h"

#include "PartSymbol.h"

const ClassInfo CTransformer::Class = {"CTransformer", 3, false, &CComponent::Class,
                                       &CreatePersistent<CTransformer>};

// Pins 3 and 4 repeat the names of pins 1 and 2.
// clang-format off
const AttachmentLayout CTransformer::kLayout{.ic = "IC=0,0", .pins = "1212", .offsets = {{
    // name         value         IC            pin 1   pin 2      pin 3       pin 4
    {{{450, 0},    {450, -300},  {450, -670},  {0, 0}, {0, -864}, {350, 0},   {350, -864}}},
    {{{200, -200}, {200, -500},  {200, -800},  {0, 0}, {-864, 0}, {0, -350},  {-864, -350}}},
    {{{-800, 95},  {-800, -205}, {-800, -575}, {0, 0}, {0, 864},  {350, 0},   {350, 864}}},
    {{{200, 800},  {200, 500},   {200, 200},   {0, 0}, {864, 0},  {0, -350},  {864, -350}}},
}}};
// clang-format on

namespace {

// The windings always end on the pins placed above: orientation 3 is the first mirrored top to bottom
// and 4 the second mirrored left to right.
constexpr SymbolTurn kTransformerTurns[] = {{1, 0, 0, 1}, {0, 1, -1, 0}, {1, 0, 0, -1}, {0, -1, -1, 0}};

} // namespace

void CTransformer::Draw(Dc& dc)
{
    SymbolPainter s(dc, *this, SymbolTurn::Of(kTransformerTurns, Orientation));
    if (!s) return;
    Extent = s.Box(0, 0, 494, -864);
    // Both windings bulge towards the core; in a mirrored figure an arc must run the other way round
    // to keep its side.
    const bool mirrored = s.Turn().Mirrors();
    const auto winding = [&](int x, int bulge) {
        s.Line(x, 0, x, -144);
        for (int k = 1; k <= 4; ++k) {
            QPoint from(x, -144 * k);
            QPoint to(x, -144 * (k + 1));
            // Counterclockwise from the nearer end bulges to the left (towards −x).
            if ((bulge > 0) != mirrored) std::swap(from, to);
            s.Arc({x - 100, -144 * k}, {x + 100, -144 * (k + 1)}, from, to);
        }
        s.Line(x, -720, x, -864);
    };
    winding(0, +1);
    s.Line(144, -864, 144, 0);
    s.Line(180, 0, 180, -864);
    winding(350, -1);
}
