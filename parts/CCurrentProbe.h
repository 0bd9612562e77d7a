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

    void Draw(Dc& dc) override;
    int GetAttachmentCount() const override { return 3; }
    QString GetDefaultValue() const override;
    void CreateAttachments(ComponentHost& doc, int x, int y) override;
    void PlaceAttachments(ComponentHost& doc, ComponentList::iterator self) override;
    bool EditProperties(ComponentHost& doc) override;
};
