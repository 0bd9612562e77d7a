#include "CVoltageSource.h"

#include "DialogText.h"
#include "PartSymbol.h"
#include "Text.h"

namespace {

// A first word that is itself a number is the DC value written without its keyword.
bool isNumber(const QString& word)
{
    int consumed = 0;
    text::parseDouble(word, &consumed);
    return consumed > 0;
}

} // namespace

const ClassInfo CVoltageSource::Class = {"CVoltageSource", 3, false, &CComponent::Class,
                                         &CreatePersistent<CVoltageSource>};

// clang-format off
const AttachmentLayout CVoltageSource::kLayout{.offsets = {{
    // name         value         pin 1   pin 2
    {{{200, 450},  {200, -250},  {0, 0}, {720, 0}}},
    {{{250, -130}, {250, -330},  {0, 0}, {0, -720}}},
    {{{-450, 450}, {-450, -250}, {0, 0}, {-720, 0}}},
    {{{250, 500},  {250, 300},   {0, 0}, {0, 720}}},
}}};
// clang-format on

CVoltageSource::CVoltageSource(quint32 typeId) : LabelledPart(Dialog{kDialogTemplate}, typeId)
{
    Orientation = 2;
}

QString CVoltageSource::GetDefaultValue() const
{
    return QStringLiteral("PULSE 0 1.0 20n 10n 20n 5n 70n");
}

void CVoltageSource::OnInitDialog()
{
    TakeFrom(*this);
    const QStringList words = splitAtBlanks(ValueBuffer);
    if (ReadPulseOrWaveform(words, 0, Pulse(), SourceKind)) return;
    SourceKind = KindDC;
    DCText = isNumber(words.value(0)) ? words.value(0) : words.value(1);
}

bool CVoltageSource::OnOK()
{
    QStringList words;
    if (SourceKind == KindDC)
        words << QStringLiteral("DC") << DCText;
    else if (!ComposePulseOrWaveform(words, Pulse(), SourceKind))
        return false;
    GiveTo(*this);
    ValueBuffer = words.join(QLatin1Char(' '));
    return true;
}

void CVoltageSource::DrawLeadsAndCircle(SymbolPainter& p, bool whiteFill)
{
    Extent = p.Box(0, 216, 720, -216);
    p.Line(0, 0, 144, 0);
    if (whiteFill) p.dc().SelectObject(Brush::WhiteBrush());
    p.Ellipse(144, -216, 576, 216);
    p.Line(576, 0, 720, 0);
}

void CVoltageSource::Draw(Dc& dc)
{
    SymbolPainter p(dc, *this);
    DrawLeadsAndCircle(p, true);
    p.Line(238, -50, 238, 50);
    p.Line(188, 0, 288, 0);
    p.Line(482, -50, 482, 50);
}
