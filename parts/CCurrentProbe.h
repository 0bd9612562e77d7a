#pragma once

#include "CVoltageSource.h"

// The current probe (type 551): a ring around a wire. It has a name label and two pins but no value
// label and no dialog; the netlist holds it as a zero-volt source, "DC 0", whose branch current is the
// reading.
class CCurrentProbe : public CVoltageSource {
public:
    static const ClassInfo Class;

    CCurrentProbe() = default;
    explicit CCurrentProbe(quint32 typeId);
    explicit CCurrentProbe(const CComponent& source) : CVoltageSource(source) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    static const AttachmentLayout kLayout;

    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override;
    const AttachmentLayout& Layout() const override { return kLayout; }
    // No dialog.
    bool EditProperties(ComponentHost&) override { return false; }
};
