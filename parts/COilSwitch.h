#pragma once

#include "CResistor.h"

// The oil breakdown switch (type 604): a yellow gap between two black electrodes. It is written as a
// resistor line, with its parameters as free text.
class COilSwitch : public CResistor {
public:
    static const ClassInfo Class;

    COilSwitch() = default;
    explicit COilSwitch(quint32 typeId) : CResistor(typeId) {}
    explicit COilSwitch(const CComponent& source) : CResistor(source) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    // Also the planar diode's.
    static const AttachmentLayout kLayout;

    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override;
    const AttachmentLayout& Layout() const override { return kLayout; }
};
