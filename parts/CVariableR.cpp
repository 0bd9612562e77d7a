#include "CVariableR.h"

#include "DialogText.h"

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
    if (ReadPulseOrWaveform(words, 1, Pulse(), LawChoice)) return;
    LawChoice = LawPower;
    AText = words.value(2);
    BText = words.value(3);
    NText = words.value(4);
}

bool CVariableR::OnOK()
{
    QStringList words{QStringLiteral("VARR")};
    if (LawChoice == LawPower)
        words << QStringLiteral("POWER") << AText << BText << NText;
    else if (!ComposePulseOrWaveform(words, Pulse(), LawChoice))
        return false;
    GiveTo(*this);
    ValueBuffer = words.join(QLatin1Char(' '));
    return true;
}
