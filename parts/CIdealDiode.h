#pragma once

#include "LabelledPart.h"

// The on/off diode (type 575): a triangle and a bar, pin "1" the anode on the triangle's side and
// pin "2" the cathode at the bar. Its name and value are edited as free text.
class CIdealDiode : public LabelledPart {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 331; // "Edit Component Properties": name and value
    static const AttachmentLayout kLayout;

    CIdealDiode() : LabelledPart(Dialog{kDialogTemplate}) {}
    explicit CIdealDiode(quint32 typeId) : LabelledPart(Dialog{kDialogTemplate}, typeId) {}
    explicit CIdealDiode(const CComponent& source) : LabelledPart(Dialog{kDialogTemplate}, source) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override;
    const AttachmentLayout& Layout() const override { return kLayout; }
};
