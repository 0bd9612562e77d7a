#include "CDiode.h"

#include "ComboSearch.h"
#include "DialogText.h"
#include "DiodeSymbol.h"

const ClassInfo CDiode::Class = {"CDiode", 3, false, &CComponent::Class, &CreatePersistent<CDiode>};

// clang-format off
const AttachmentLayout CDiode::kLayout{.ic = "IC=0", .offsets = {{
    // name         value         IC            pin 1   pin 2
    {{{200, 300},  {200, -150},  {200, -350},  {0, 0}, {432, 0}}},
    {{{150, -100}, {150, -300},  {150, -500},  {0, 0}, {0, -432}}},
    {{{-400, 300}, {-400, -200}, {-400, -400}, {0, 0}, {-432, 0}}},
    {{{150, 500},  {200, 300},   {200, 100},   {0, 0}, {0, 432}}},
}}};
// clang-format on

void DiodeFields::ReadValue(const QString& value)
{
    parts = QStringList{QStringLiteral("1N4001"), QStringLiteral("1N4004")};
    part = 0;
    const QStringList tokens = splitAtBlanks(value);
    // A model given by its parameters, whichever key comes first and in whatever case it is typed.
    const bool custom = std::any_of(tokens.begin(), tokens.end(),
                                    [](const QString& t) { return t.indexOf(QLatin1Char('=')) > 0; });
    if (!custom) {
        kind = Standard;
        const int found = selectStringPrefix(parts, -1, value);
        if (found >= 0) {
            part = found;
        } else {
            parts.append(value);
            part = int(parts.size()) - 1;
        }
        return;
    }
    kind = Custom;
    readKeyedValues(tokens, kKeys, [this](size_t k, const QString& text) { parameters[k] = text; });
}

QString DiodeFields::Compose()
{
    if (kind != Custom) return parts.value(part);
    if (parameters[0].isEmpty()) parameters[0] = QStringLiteral("1E-14");
    QString value = QStringLiteral("IS=") + parameters[0];
    for (size_t k = 1; k < kKeys.size(); ++k)
        if (!parameters[k].isEmpty())
            value += QLatin1Char(' ') + QLatin1String(kKeys[k]) + QLatin1Char('=') + parameters[k];
    return value;
}

void CDiode::OnInitDialog()
{
    Fields.ReadValue(ValueBuffer);
}

bool CDiode::OnOK()
{
    ValueBuffer = Fields.Compose();
    return true;
}

void CDiode::Draw(Dc& dc)
{
    DrawDiodeSymbol(dc, *this);
}
