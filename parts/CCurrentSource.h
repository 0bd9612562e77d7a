#pragma once

#include "CVoltageSource.h"

// The current source (type 542): the voltage source's circle and leads with an arrow towards pin "2",
// in which direction its current flows through it. Attachments, placement and dialog are the voltage
// source's.
class CCurrentSource : public CVoltageSource {
public:
    static const ClassInfo Class;

    CCurrentSource() = default;
    explicit CCurrentSource(quint32 typeId);
    explicit CCurrentSource(const CComponent& source) : CVoltageSource(source) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void Draw(Dc& dc) override;
};
