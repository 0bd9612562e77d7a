#pragma once

#include "CResistor.h"
#include "DialogText.h"

// The variable resistor (type 511): the resistor with an arrow. Its value text follows a power law of
// its voltage, a pulse or an archive waveform ("VARR POWER ...", "VARR PULSE ...", "VARR ORLISK ..."),
// which its dialog shows as fields.
class CVariableR : public CResistor, public DialogNameFields, public PulseTexts {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 370; // "Variable Resistor"

    // However it is made, a variable resistor offers the same fields for the laws its text does not
    // name.
    CVariableR() : CResistor(Dialog{kDialogTemplate}) {}
    explicit CVariableR(quint32 typeId) : CResistor(Dialog{kDialogTemplate}, typeId) {}
    explicit CVariableR(const CComponent& source) : CResistor(Dialog{kDialogTemplate}, source) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void OnInitDialog() override;
    bool OnOK() override;
    QString GetDefaultValue() const override;

    // ---- dialog fields (not stored), with the pulse's timing and the waveform's name of PulseTexts ----
    enum Law { LawPower = 0, LawPulse = FormPulse, LawOrlisk = FormWaveform };
    int LawChoice = LawPower;
    QString AText = QStringLiteral("1");
    QString BText = QStringLiteral("1");
    QString NText = QStringLiteral("1");
    QString R1Text = QStringLiteral("1");
    QString R2Text = QStringLiteral("10");

private:
    PulseFields Pulse() { return PulseFrom(R1Text, R2Text, "R1", "R2"); }
};
