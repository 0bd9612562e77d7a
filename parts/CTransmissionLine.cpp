#include "CTransmissionLine.h"

#include "CCapacitor.h"
#include "CInductor.h"
#include "PartSymbol.h"

// clang-format off
const ClassInfo CTransmissionLine::Class = {"CTransmissionLine", 3, false, &CComponent::Class,
                                            &CreatePersistent<CTransmissionLine>};
const ClassInfo CLossyDielTL::Class = {"CLossyDielTL", 3, false, &CTransmissionLine::Class, &CreatePersistent<CLossyDielTL>};
const ClassInfo CLossyDielTLX::Class = {"CLossyDielTLX", 3, false, &CTransmissionLine::Class, &CreatePersistent<CLossyDielTLX>};
const ClassInfo CLossyTL::Class = {"CLossyTL", 3, false, &CTransmissionLine::Class, &CreatePersistent<CLossyTL>};
const ClassInfo CMITL0::Class = {"CMITL0", 3, false, &CTransmissionLine::Class, &CreatePersistent<CMITL0>};
const ClassInfo CMITL1::Class = {"CMITL1", 3, false, &CTransmissionLine::Class, &CreatePersistent<CMITL1>};
const ClassInfo CTLineC::Class = {"CTLineC", 3, false, &CTransmissionLine::Class, &CreatePersistent<CTLineC>};
const ClassInfo CTLineL::Class = {"CTLineL", 3, false, &CTransmissionLine::Class, &CreatePersistent<CTLineL>};
const ClassInfo CVariableTL::Class = {"CVariableTL", 3, false, &CTransmissionLine::Class, &CreatePersistent<CVariableTL>};
const ClassInfo CVariableZ::Class = {"CVariableZ", 3, false, &CTransmissionLine::Class, &CreatePersistent<CVariableZ>};
// clang-format on

// clang-format off
const AttachmentLayout CTransmissionLine::kLayout{.ic = "IC=0", .pins = "1234", .offsets = {{
    // name         value         IC            pin 1   pin 2        pin 3        pin 4
    {{{290, 95},   {190, -205},  {190, -575},  {0, 0}, {0, -288},   {1008, 0},   {1008, -288}}},
    {{{200, -200}, {200, -500},  {200, -800},  {0, 0}, {-288, 0},   {0, -1008},  {-288, -1008}}},
    {{{-800, 95},  {-800, -205}, {-800, -575}, {0, 0}, {0, -288},   {-1008, 0},  {-1008, -288}}},
    {{{200, 800},  {200, 500},   {200, 200},   {0, 0}, {-288, 0},   {0, 1008},   {-288, 1008}}},
}}};
// clang-format on

namespace {

// clang-format off
// The line-built inductor's outline covers the humps' side in orientations 1, 2 and 4 only.
constexpr std::array<Rect, 4> kLineInductorExtents{{
    {0, 144, 864, 0}, {0, 0, 144, -864}, {-864, 144, 0, 0}, {-144, 864, 0, 0}}};
// clang-format on

const QColor kWhiteBody(255, 255, 255);
const QColor kCyanBody(0, 255, 255);

} // namespace

void CTransmissionLine::Draw(Dc& dc)
{
    DrawLine(dc, kWhiteBody, false);
}

void CTransmissionLine::DrawLine(Dc& dc, QColor body, bool tapered)
{
    SymbolPainter s(dc, *this);
    if (!s) return;
    Extent = s.Box(0, 144, 1008, -298);
    const Pen partPen = dc.GetCurrentPen();
    const Pen bodyPen(Pen::Solid, 15, body);
    dc.SelectObject(Brush(body));

    s.Line(1008, 0, 864, 0);
    // The body hides the near half of the far end face.
    if (tapered) {
        s.Ellipse(828, -72, 900, 72);
        dc.SelectObject(bodyPen);
        s.Polygon({{144, -144}, {144, 144}, {864, 72}, {864, -72}});
        dc.SelectObject(partPen);
        s.Line(864, 72, 144, 144);
    } else {
        s.Ellipse(792, -144, 936, 144);
        dc.SelectObject(bodyPen);
        s.Rectangle(144, -144, 864, 144);
        dc.SelectObject(partPen);
        s.Line(864, 144, 144, 144);
    }
    s.Ellipse(72, -144, 216, 144);
    s.Line(144, 0, 0, 0);
    // The shield joins the return pins 2 and 4 along the lower edge of the body.
    const int shieldEnd = tapered ? -72 : -144;
    s.Lines({{0, -288}, {144, -288}, {144, -144}, {864, shieldEnd}, {864, -288}, {1008, -288}});
}

void CLossyDielTL::Draw(Dc& dc)
{
    DrawLine(dc, kCyanBody, false);
}

void CLossyDielTLX::Draw(Dc& dc)
{
    DrawLine(dc, kCyanBody, true);
}

void CTLineC::Draw(Dc& dc)
{
    CCapacitor::DrawSymbol(dc, *this);
}

const AttachmentLayout& CTLineC::Layout() const
{
    return CCapacitor::kLayout;
}

void CTLineL::Draw(Dc& dc)
{
    CInductor::DrawSymbol(dc, *this, kLineInductorExtents);
}

const AttachmentLayout& CTLineL::Layout() const
{
    return CInductor::kLayout;
}
