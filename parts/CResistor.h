#pragma once

#include "LabelledPart.h"

// The resistor (type 510): a zigzag between pins "1" and "2", followed by its name label, value label
// and the two pins. The variable resistor, the oil switch and the planar diode are built on it with
// dialogs and symbols of their own. The name and value are edited in the component buffers.
class CResistor : public LabelledPart {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 331; // "Edit Component Properties": name and value
    static const AttachmentLayout kLayout;
    // The zigzag from pin 1 to pin 2, which the varistor draws too.
    static constexpr QPoint kZigzag[] = {{0, 0},     {144, 0},  {168, 72},  {216, -72}, {264, 72},
                                         {312, -72}, {360, 72}, {408, -72}, {432, 0},   {576, 0}};

    CResistor() : LabelledPart(Dialog{kDialogTemplate}) {}
    explicit CResistor(quint32 typeId) : LabelledPart(Dialog{kDialogTemplate}, typeId) {}
    explicit CResistor(const CComponent& source) : LabelledPart(Dialog{kDialogTemplate}, source) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    // The zigzag, and for a variable resistor (type 511) its arrow.
    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override;
    const AttachmentLayout& Layout() const override { return kLayout; }

protected:
    // For the classes built on the resistor with a dialog of their own.
    using LabelledPart::LabelledPart;
};
