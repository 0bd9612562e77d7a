#pragma once

#include "LabelledPart.h"

#include <array>

// An inductor: four humps between two leads, followed by its name, value and IC labels and pins "1"
// and "2".
class CInductor : public LabelledPart {
public:
    static const ClassInfo Class;
    // Pin 2 864 twips from pin 1; also the line-built inductor's.
    static const AttachmentLayout kLayout;

    CInductor() : LabelledPart(Dialog{kDialogTemplate}) {}
    explicit CInductor(quint32 typeId) : LabelledPart(Dialog{kDialogTemplate}, typeId) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override { return QStringLiteral("1nH"); }
    const AttachmentLayout& Layout() const override { return kLayout; }

    // The inductor's figure, with the Extent of each orientation as offsets from the part's position
    // (the line-built inductor keeps another outline); each hump runs from its end farther from pin 1
    // to its nearer end, so orientations 3 and 4 are 1 and 2 turned half round.
    static void DrawSymbol(Dc& dc, CComponent& part, const std::array<Rect, 4>& extents);
};
