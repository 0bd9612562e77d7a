#pragma once

#include "LabelledPart.h"

// A capacitor: two plates between two leads, followed by its name, value and IC labels and pins
// "1" and "2". The variable capacitor and the varistor build on it.
class CCapacitor : public LabelledPart {
public:
    static const ClassInfo Class;
    // Pin 2 432 twips from pin 1; also the line-built capacitor's.
    static const AttachmentLayout kLayout;

    CCapacitor() : LabelledPart(Dialog{kDialogTemplate}) {}
    explicit CCapacitor(quint32 typeId) : LabelledPart(Dialog{kDialogTemplate}, typeId) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override { return QStringLiteral("1n"); }
    const AttachmentLayout& Layout() const override { return kLayout; }

    // The capacitor's figure and Extent, also the line-built capacitor's.
    static void DrawSymbol(Dc& dc, CComponent& part);

protected:
    // For the classes built on the capacitor with a dialog of their own.
    using LabelledPart::LabelledPart;
};

// A metal-oxide varistor: a zigzag and a bar across it. It takes the letter R and the resistors'
// counter.
class CMOV : public CCapacitor {
public:
    static const ClassInfo Class;

    CMOV() = default;
    explicit CMOV(quint32 typeId) : CCapacitor(typeId) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    // Pin 2 576 twips from pin 1.
    static const AttachmentLayout kLayout;

    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override { return QStringLiteral("MOV C=2nF VT=100 N=-15"); }
    const AttachmentLayout& Layout() const override { return kLayout; }
};
