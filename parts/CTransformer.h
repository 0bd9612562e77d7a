#pragma once

#include "LabelledPart.h"

// An ideal transformer: two windings of four humps each side of a core of two lines, followed by its
// name, value and IC labels and pins "1", "2" (primary) and "1", "2" (secondary).
class CTransformer : public LabelledPart {
public:
    static const ClassInfo Class;
    static const AttachmentLayout kLayout;

    CTransformer() : LabelledPart(Dialog{kDialogTemplate}) {}
    explicit CTransformer(quint32 typeId) : LabelledPart(Dialog{kDialogTemplate}, typeId) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override { return QStringLiteral("L1=100n L2=1u K=.9"); }
    const AttachmentLayout& Layout() const override { return kLayout; }
};
