#pragma once

#include "CResistor.h"
#include "DialogText.h"

// The variable resistor (type 511): the resistor with an arrow. Its value text follows a power law of
// its voltage, a pulse or an archive waveform ("VARR POWER ...", "VARR PULSE ...", "VARR ORLISK ..."),
// which its dialog shows as fields.
class CVariableR : public CResistor, public DialogNameFields {
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

    // ---- dialog fields (not stored) ----
    enum Law { LawPower = 0, LawPulse = 1, LawOrlisk = 2 };
    int LawChoice = LawPower;
    QString AText = QStringLiteral("1");
    QString BText = QStringLiteral("1");
    QString NText = QStringLiteral("1");
    QString R1Text = QStringLiteral("1");
    QString R2Text = QStringLiteral("10");
    QString TDText = QStringLiteral("10n");
    QString TRText = QStringLiteral("1n");
    QString TFText = QStringLiteral("1n");
    QString PWText = QStringLiteral("10n");
    QString PERText = QStringLiteral("100n");
    QString WaveformName = QStringLiteral("Waveform");

private:
    PulseFields Pulse();
};
