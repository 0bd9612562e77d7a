#pragma once

#include "DialogText.h"
#include "LabelledPart.h"

class SymbolPainter;

// The voltage source (type 541): a circle with a plus sign and a bar, followed by its name label,
// its value label and pins "1" (the positive node) and "2". Its value text is a DC value, a pulse or
// the name of an archive waveform, which the source dialog shows as fields.
class CVoltageSource : public LabelledPart, public DialogNameFields, public PulseTexts {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 346; // "Source Edit"
    static const AttachmentLayout kLayout;

    CVoltageSource() : LabelledPart(Dialog{kDialogTemplate}) {}
    explicit CVoltageSource(quint32 typeId);
    explicit CVoltageSource(const CComponent& source) : LabelledPart(Dialog{kDialogTemplate}, source) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void OnInitDialog() override;
    bool OnOK() override;
    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override;
    const AttachmentLayout& Layout() const override { return kLayout; }

    // ---- dialog fields (not stored), with the pulse's timing and the waveform's name of PulseTexts ----
    enum Kind { KindDC = 0, KindPulse = FormPulse, KindOrlisk = FormWaveform };
    int SourceKind = KindDC;
    QString DCText = QStringLiteral("1");
    QString V1Text = QStringLiteral("0");
    QString V2Text = QStringLiteral("1");

protected:
    // The leads and the circle that both sources draw; `whiteFill` selects a white brush first.
    void DrawLeadsAndCircle(SymbolPainter& p, bool whiteFill);

private:
    PulseFields Pulse() { return PulseFrom(V1Text, V2Text, "V1", "V2"); }
};
