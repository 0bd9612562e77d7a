#include "CVoltageSource.h"

#include "CDrawing.h"
#include "ComponentTypeId.h"
#include "DialogText.h"
#include "PartSymbol.h"
#include "Text.h"

namespace {

const AttachmentTable kSourcePlaces = {{
    {{720, 0}, {200, 450}, {200, -250}},
    {{0, -720}, {250, -130}, {250, -330}},
    {{-720, 0}, {-450, 450}, {-450, -250}},
    {{0, 720}, {250, 500}, {250, 300}},
}};

// A placed, empty-extent label or pin.
std::unique_ptr<CComponent> NewAttachment(quint32 type, const QString& text, quint8 visible)
{
    auto object = std::make_unique<CDrawing>(type);
    object->Text = text;
    object->State = 1;
    object->Visible = visible;
    object->Extent = Rect{};
    return object;
}

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

CVoltageSource::CVoltageSource() : CComponent(kDialogTemplate) {}

CVoltageSource::CVoltageSource(quint32 typeId) : CComponent(kDialogTemplate)
{
    Init(typeId);
    Text = PrefixLetter(typeId);
    Orientation = 2;
}

CVoltageSource::CVoltageSource(const CComponent& source) : CComponent(source, kDialogTemplate) {}

QString CVoltageSource::GetDefaultValue() const
{
    return QStringLiteral("PULSE 0 1.0 20n 10n 20n 5n 70n");
}

PulseFields CVoltageSource::Pulse()
{
    return {{&V1Text, &V2Text, &TDText, &TRText, &TFText, &PWText, &PERText},
            {"V1", "V2", "TD", "TR", "TF", "PW", "PER"}};
}

void CVoltageSource::OnInitDialog()
{
    TakeFrom(*this);
    const QStringList words = splitAtBlanks(ValueBuffer);
    const QString kind = text::upperAscii(words.value(0));
    if (kind == QLatin1String("PULSE")) {
        SourceKind = KindPulse;
        Pulse().Read(words, 1);
    } else if (kind == QLatin1String("ORLISK")) {
        SourceKind = KindOrlisk;
        WaveformName = words.value(1);
    } else {
        SourceKind = KindDC;
        DCText = isNumber(words.value(0)) ? words.value(0) : words.value(1);
    }
}

bool CVoltageSource::OnOK()
{
    QString value;
    if (SourceKind == KindDC) {
        value = QStringLiteral("DC ") + DCText;
    } else if (SourceKind == KindOrlisk) {
        value = QStringLiteral("ORLISK ") + WaveformName;
    } else {
        QStringList words{QStringLiteral("PULSE")};
        if (!Pulse().Compose(words)) return false;
        value = words.join(QLatin1Char(' '));
    }
    GiveTo(*this);
    ValueBuffer = value;
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

void CVoltageSource::CreateAttachments(ComponentHost& doc, int, int)
{
    AppendLabelsAndPins(*this, doc, TakeNextName(doc), ValueLabel::Shown);
}

void CVoltageSource::PlaceAttachments(ComponentHost& doc, ComponentList::iterator self)
{
    PlaceLabelsAndPins(*this, doc, self, kSourcePlaces, true);
}

bool CVoltageSource::EditProperties(ComponentHost& doc)
{
    return EditCommonProperties(doc, false);
}

QString CVoltageSource::PrefixLetter(quint32 typeId)
{
    const ComponentType* type = FindComponentType(typeId);
    return type && type->counterLetter ? QString(QChar(type->counterLetter)) : QString();
}

void CVoltageSource::AppendLabelsAndPins(CComponent& part, ComponentHost& doc, const QString& name,
                                         ValueLabel valueLabel)
{
    ComponentList& list = doc.Components();
    if (list.empty() || list.back().get() != &part) return;
    const auto self = std::prev(list.end());
    list.push_back(NewAttachment(TypeLabel, name, 1));
    if (valueLabel != ValueLabel::None)
        list.push_back(
            NewAttachment(TypeLabel, part.GetDefaultValue(), valueLabel == ValueLabel::Shown ? 1 : 0));
    list.push_back(NewAttachment(TypeTerminal, QStringLiteral("1"), 1));
    list.push_back(NewAttachment(TypeTerminal, QStringLiteral("2"), 1));
    part.PlaceAttachments(doc, self);
}

void CVoltageSource::PlaceLabelsAndPins(const CComponent& part, ComponentHost& doc,
                                        ComponentList::iterator self, const AttachmentTable& table,
                                        bool withValueLabel)
{
    const std::vector<CComponent*> a =
        withValueLabel
            ? CDrawing::Attachments(doc.Components(), self,
                                    {TypeLabel, TypeLabel, TypeTerminal, TypeTerminal})
            : CDrawing::Attachments(doc.Components(), self, {TypeLabel, TypeTerminal, TypeTerminal});
    if (a.empty()) return;
    CComponent* name = a.front();
    CComponent* value = withValueLabel ? a[1] : nullptr;
    CComponent* pin1 = a[a.size() - 2];
    CComponent* pin2 = a.back();
    pin1->Position = part.Position;
    if (part.Orientation < 1 || part.Orientation > 4) return;
    const AttachmentOffsets& row = table[size_t(part.Orientation - 1)];
    pin2->Position = part.Position + row.pin2;
    name->Position = part.Position + row.nameLabel;
    if (value) value->Position = part.Position + row.valueLabel;
}
