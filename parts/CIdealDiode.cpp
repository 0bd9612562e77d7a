#include "CIdealDiode.h"

#include "DiodeSymbol.h"
#include "PartSymbol.h"

const ClassInfo CIdealDiode::Class = {"CIdealDiode", 3, false, &CComponent::Class,
                                      &CreatePersistent<CIdealDiode>};

// clang-format off
const AttachmentLayout CIdealDiode::kLayout{.offsets = {{
    // name         value         pin 1   pin 2
    {{{150, 350},  {140, -150},  {0, 0}, {432, 0}}},
    {{{200, -100}, {200, -300},  {0, 0}, {0, -432}}},
    {{{-350, 350}, {-350, -100}, {0, 0}, {-432, 0}}},
    {{{200, 450},  {200, 250},   {0, 0}, {0, 432}}},
}}};
// clang-format on

QString CIdealDiode::GetDefaultValue() const
{
    return QStringLiteral("IDIODE RON=.1m ROFF=10MEG");
}

void CIdealDiode::Draw(Dc& dc)
{
    DrawDiodeSymbol(dc, *this);
}
