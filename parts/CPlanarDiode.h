#pragma once

#include "CResistor.h"
#include "DialogText.h"

#include <array>

// The planar vacuum diode (type 605): two dotted bands between the electrodes. It is written as a
// resistor line "PLDIODE EL=... AET=..."; its dialog shows the eight parameters as fields.
class CPlanarDiode : public CResistor, public DialogNameFields {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 349; // "Edit Planar Diode"

    CPlanarDiode() : CResistor(Dialog{kDialogTemplate}) {}
    explicit CPlanarDiode(quint32 typeId) : CResistor(Dialog{kDialogTemplate}, typeId) {}
    explicit CPlanarDiode(const CComponent& source) : CResistor(Dialog{kDialogTemplate}, source) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void OnInitDialog() override;
    bool OnOK() override;
    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override;
    // The oil switch's.
    const AttachmentLayout& Layout() const override;

    // ---- dialog fields (not stored) ----
    QString ELText;
    QString EWText;
    QString EGText;
    QString CVText;
    QString IMText;
    QString BFText;
    QString TOTText;
    QString AETText;

private:
    // The parameters' keys, and their fields in the same order, the order of the value text.
    static constexpr std::array<const char*, 8> kKeys{"EL", "EW", "EG", "CV", "IM", "BF", "TOT", "AET"};
    std::array<QString*, 8> Fields()
    {
        return {&ELText, &EWText, &EGText, &CVText, &IMText, &BFText, &TOTText, &AETText};
    }
};
