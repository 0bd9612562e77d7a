#pragma once

#include "CResistor.h"
#include "CVoltageSource.h"

// The oil breakdown switch (type 604): a yellow gap between two black electrodes. It is written as a
// resistor line, with its parameters as free text.
class COilSwitch : public CResistor {
public:
    static const ClassInfo Class;

    COilSwitch() = default;
    explicit COilSwitch(quint32 typeId) : CResistor(typeId) {}
    explicit COilSwitch(const CComponent& source) : CResistor(source) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override;
    void PlaceAttachments(ComponentHost& doc, ComponentList::iterator self) override;

    // Where the attachments of the oil switch and of the planar diode go.
    static const AttachmentTable& Places();
};
