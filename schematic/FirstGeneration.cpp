#include "FirstGeneration.h"

#include "CComponent.h"
#include "CDrawing.h"
#include "ComponentClasses.h"
#include "ComponentTypeId.h"

#include <QRegularExpression>

#include <algorithm>
#include <climits>

namespace {

constexpr quint32 kOldLabel = 2;

// What a converted part's labels become.
enum class ValueRule {
    Keep,
    LinePrefix,   // "TL " in front: the line-built parts read their value as a line
    DefaultAndIc, // the part's default value, and a hidden "IC=0" label after it
    CutModel,     // the first 7 characters (the old model word) removed
    PlanarDiode,  // the old words given today's keys
};

struct OldKind {
    quint32 code;
    quint32 type;
    int labels;             // the name and value labels that come with the part (0 to 2)
    const char* namePrefix; // put in front of the name
    char nameLetter;        // replaces the name's first character; 0: kept
    ValueRule value;
};

// The prefixes and letters make every converted name start with the netlist letter of its new class.
// clang-format off
constexpr OldKind kOldKinds[] = {
    {1,  TypeResistor,                0, "",   0,   ValueRule::Keep},
    {2,  TypeLabel,                   0, "",   0,   ValueRule::Keep},
    {4,  TypeTerminal,                0, "",   0,   ValueRule::Keep},
    {5,  TypeWire,                    0, "",   0,   ValueRule::Keep},
    {6,  TypeTextSelectionTool,       0, "",   0,   ValueRule::Keep},
    {7,  TypeLineCapacitor,           2, "",   0,   ValueRule::LinePrefix},
    {8,  TypeTransmissionLine,        0, "",   0,   ValueRule::Keep},
    {9,  TypeLineInductor,            2, "",   0,   ValueRule::LinePrefix},
    {10, TypeGround,                  0, "",   0,   ValueRule::Keep},
    {11, TypeVoltageSource,           0, "",   0,   ValueRule::Keep},
    {12, TypeVoltageProbe,            0, "",   0,   ValueRule::Keep},
    {13, TypeBubbleConnector,         0, "",   0,   ValueRule::Keep},
    {14, TypeCurrentSource,           0, "",   0,   ValueRule::Keep},
    {15, TypeResistiveSwitch,         0, "",   0,   ValueRule::Keep},
    {16, TypeResistor,                1, "R_", 0,   ValueRule::Keep},
    {17, TypeTransmissionLine,        1, "T_", 0,   ValueRule::Keep},
    {18, TypeCurrentProbe,            0, "",   0,   ValueRule::Keep},
    {19, TypeSubcircuitInterface,     0, "",   0,   ValueRule::Keep},
    {20, TypeIdealDiode,              1, "D_", 0,   ValueRule::Keep},
    {22, TypeVariableCapacitor,       1, "",   'C', ValueRule::Keep},
    {24, TypeDiode,                   2, "",   'D', ValueRule::DefaultAndIc},
    {25, TypeCapacitor,               2, "",   'C', ValueRule::CutModel},
    {26, TypeInductor,                2, "",   'L', ValueRule::CutModel},
    {27, TypeVariableResistor,        1, "R_", 0,   ValueRule::Keep},
    {28, TypeMetalOxideVaristor,      1, "R_", 0,   ValueRule::Keep},
    {29, TypeOilSwitchModel,          1, "R_", 0,   ValueRule::Keep},
    {30, TypePlanarDiodeModel,        2, "R_", 0,   ValueRule::PlanarDiode},
    {31, TypeIdealTransformer,        0, "",   0,   ValueRule::Keep},
    {32, TypeLossyLineTransformer,    1, "T_", 0,   ValueRule::Keep},
    {33, TypeLossyTransmissionLine,   1, "T_", 0,   ValueRule::Keep},
    {34, TypeLossyLineWithResistance, 1, "T_", 0,   ValueRule::Keep},
};
// clang-format on

const OldKind* findOldKind(quint32 code)
{
    for (const OldKind& kind : kOldKinds)
        if (kind.code == code) return &kind;
    return nullptr;
}

// An object of the class of `type` with the stored fields of `old`, as the class's copy constructor
// makes it.
std::unique_ptr<CComponent> convertedCopy(const CComponent& old, quint32 type)
{
    const ComponentType* row = FindComponentType(type);
    const ComponentClass* cls = row && row->className ? FindComponentClass(row->className) : nullptr;
    std::unique_ptr<Persistent> made = cls && cls->info->create ? cls->info->create() : nullptr;
    auto* object = dynamic_cast<CComponent*>(made.get());
    if (!object) return nullptr;
    made.release();
    object->Position = old.Position;
    object->Extent = old.Extent;
    object->Orientation = old.Orientation;
    object->Text = old.Text;
    object->Visible = old.Visible;
    object->TypeId = type;
    object->State = 1;
    return std::unique_ptr<CComponent>(object);
}

QString renamed(const QString& name, const OldKind& kind)
{
    QString result = QString::fromLatin1(kind.namePrefix) + name;
    if (kind.nameLetter) {
        if (result.isEmpty())
            result = QChar::fromLatin1(kind.nameLetter);
        else
            result[0] = QChar::fromLatin1(kind.nameLetter);
    }
    return result;
}

QString planarDiodeValue(const QString& old)
{
    static const char* const kKeys[] = {" EL=", " EW=", " EG=", " CV=", " IM=", " BF=", " TOT=", " AET="};
    const QStringList words = old.split(u' ', Qt::SkipEmptyParts);
    QString value = QStringLiteral("PLDIODE");
    for (qsizetype i = 0; i < qsizetype(std::size(kKeys)); ++i)
        value += QString::fromLatin1(kKeys[i]) + words.value(i + 1);
    return value;
}

} // namespace

QString FirstGenerationNotice()
{
    return QStringLiteral("You are opening a TORVEX1 schematic.  Some names and values may change.  When "
                          "saved, it will be as a TORVEX2 schematic.");
}

ComponentList ConvertFirstGenerationObjects(const ComponentList& old, std::vector<quint32>* leftOut)
{
    ComponentList converted;
    for (auto it = old.begin(); it != old.end();) {
        const CComponent& object = **it++;
        const OldKind* kind = findOldKind(object.TypeId);
        std::unique_ptr<CComponent> part = kind ? convertedCopy(object, kind->type) : nullptr;
        if (!part) {
            if (leftOut) leftOut->push_back(object.TypeId);
            continue;
        }
        // A label the file lacks is not made up from whatever follows: the part goes without it.
        std::vector<std::unique_ptr<CComponent>> labels;
        while (qsizetype(labels.size()) < kind->labels && it != old.end() && (*it)->TypeId == kOldLabel)
            labels.push_back(convertedCopy(**it++, TypeLabel));
        if (!labels.empty()) labels[0]->Text = renamed(labels[0]->Text, *kind);
        if (labels.size() == 2) {
            QString& value = labels[1]->Text;
            switch (kind->value) {
            case ValueRule::Keep:
                break;
            case ValueRule::LinePrefix:
                value = QStringLiteral("TL ") + value;
                break;
            case ValueRule::DefaultAndIc:
                value = part->GetDefaultValue();
                labels.push_back(CDrawing::NewAttachment(TypeLabel, QStringLiteral("IC=0"), false));
                labels.back()->Position = CDrawing::Shifted(part->Position, 300, -450);
                break;
            case ValueRule::CutModel:
                value = value.sliced(std::min<qsizetype>(7, value.size()));
                break;
            case ValueRule::PlanarDiode:
                value = planarDiodeValue(value);
                break;
            }
        }
        converted.push_back(std::move(part));
        for (auto& label : labels)
            converted.push_back(std::move(label));
    }
    return converted;
}

QString LeftOutObjectsMessage(const std::vector<quint32>& leftOut, bool nothingLeft)
{
    std::vector<quint32> codes = leftOut;
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    // A damaged file can hold any number of made-up codes; the first few say enough.
    constexpr size_t kCodesShown = 12;
    QStringList shown;
    for (size_t i = 0; i < std::min(codes.size(), kCodesShown); ++i)
        shown << QString::number(codes[i]);
    if (codes.size() > kCodesShown) shown << QStringLiteral("...");
    const QString list =
        (codes.size() == 1 ? QStringLiteral("old type code ") : QStringLiteral("old type codes ")) +
        shown.join(QStringLiteral(", "));
    const size_t n = leftOut.size();
    const QString objects = n == 1 ? QStringLiteral("1 object") : QStringLiteral("%1 objects").arg(n);
    if (nothingLeft)
        return QStringLiteral(
                   "This TORVEX1 schematic cannot be read: not one of its %1 can be converted (%2).")
            .arg(objects, list);
    return QStringLiteral("%1 of this TORVEX1 schematic could not be converted and %2 left out (%3).")
        .arg(objects, n == 1 ? QStringLiteral("is") : QStringLiteral("are"), list);
}

void RaiseDesignatorCounters(const ComponentList& objects, std::vector<int>& counters)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z][0-9]+$"));
    for (const auto& object : objects) {
        const QString& text = object->Text;
        if (!name.match(text).hasMatch()) continue;
        const size_t letter = text[0].unicode();
        if (letter >= counters.size()) continue;
        // A number beyond the counter's range is one that no new name can repeat.
        bool ok = false;
        const qlonglong number = text.sliced(1).toLongLong(&ok);
        if (ok && number <= INT_MAX) counters[letter] = std::max(counters[letter], int(number));
    }
}
