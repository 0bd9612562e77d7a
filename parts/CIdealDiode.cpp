#include "CIdealDiode.h"

#include "CVoltageSource.h"
#include "DiodeSymbol.h"
#include "PartSymbol.h"

namespace {
const AttachmentTable kIdealDiodePlaces = {{
    {{432, 0}, {150, 350}, {140, -150}},
    {{0, -432}, {200, -100}, {200, -300}},
    {{-432, 0}, {-350, 350}, {-350, -100}},
    {{0, 432}, {200, 450}, {200, 250}},
}};
} // namespace

const ClassInfo CIdealDiode::Class = {"CIdealDiode", 3, false, &CComponent::Class,
                                      &CreatePersistent<CIdealDiode>};

CIdealDiode::CIdealDiode(quint32 typeId) : CComponent(kDialogTemplate)
{
    Init(typeId);
    Text = CVoltageSource::PrefixLetter(typeId);
}

QString CIdealDiode::GetDefaultValue() const
{
    return QStringLiteral("IDIODE RON=.1m ROFF=10MEG");
}

void CIdealDiode::Draw(Dc& dc)
{
    DrawDiodeSymbol(dc, *this);
}

void CIdealDiode::CreateAttachments(ComponentHost& doc, int, int)
{
    CVoltageSource::AppendLabelsAndPins(*this, doc, TakeNextName(doc), CVoltageSource::ValueLabel::Shown);
}

void CIdealDiode::PlaceAttachments(ComponentHost& doc, ComponentList::iterator self)
{
    CVoltageSource::PlaceLabelsAndPins(*this, doc, self, kIdealDiodePlaces, true);
}

bool CIdealDiode::EditProperties(ComponentHost& doc)
{
    return EditCommonProperties(doc, false);
}
