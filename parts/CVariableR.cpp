#include "CVariableR.h"

#include "DialogText.h"
#include "Text.h"

const ClassInfo CVariableR::Class = {"CVariableR", 3, false, &CResistor::Class,
                                     &CreatePersistent<CVariableR>};

QString CVariableR::GetDefaultValue() const
{
    return QStringLiteral("VARR POWER A=0 B=1 N=1");
}

void CVariableR::OnInitDialog()
{
    TakeFrom(*this);
    // The first word is the "VARR" keyword; the second names the law.
    const QStringList words = splitAtBlanks(ValueBuffer);
    const QString law = text::upperAscii(words.value(1));
    if (law == QLatin1String("PULSE")) {
        LawChoice = LawPulse;
        Pulse().Read(words, 2);
    } else if (law == QLatin1String("ORLISK")) {
        LawChoice = LawOrlisk;
        WaveformName = words.value(2);
    } else {
        LawChoice = LawPower;
        AText = words.value(2);
        BText = words.value(3);
        NText = words.value(4);
    }
}

bool CVariableR::OnOK()
{
    QStringList parts{QStringLiteral("VARR")};
    if (LawChoice == LawPower) {
        parts << QStringLiteral("POWER") << AText << BText << NText;
    } else if (LawChoice == LawOrlisk) {
        parts << QStringLiteral("ORLISK") << WaveformName;
    } else {
        parts << QStringLiteral("PULSE");
        if (!Pulse().Compose(parts)) return false;
    }
    GiveTo(*this);
    ValueBuffer = parts.join(QLatin1Char(' '));
    return true;
}
