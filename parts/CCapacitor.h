#pragma once

#include "CComponent.h"

struct AttachmentLayout;

// A capacitor: two plates between two leads, followed by its name, value and IC labels and pins
// "1" and "2". The variable capacitor and the varistor build on it.
class CCapacitor : public CComponent {
public:
    static const ClassInfo Class;

    CCapacitor();
    explicit CCapacitor(quint32 typeId);
    const ClassInfo& RuntimeClass() const override { return Class; }

    void Draw(Dc& dc) override;
    int GetAttachmentCount() const override { return 5; }
    QString GetDefaultValue() const override { return QStringLiteral("1n"); }
    void CreateAttachments(ComponentHost& doc, int x, int y) override;
    void PlaceAttachments(ComponentHost& doc, ComponentList::iterator self) override;
    bool EditProperties(ComponentHost& doc) override;

    // The capacitor's figure and Extent, also the line-built capacitor's.
    static void DrawSymbol(Dc& dc, CComponent& part);
    // Pin 2 432 twips from pin 1; also the line-built capacitor's placement.
    static const AttachmentLayout& Layout();

protected:
    // The dialog template of a class that has a dialog of its own.
    struct Template {
        int id;
    };
    explicit CCapacitor(Template dialog);
    CCapacitor(Template dialog, quint32 typeId);
    CCapacitor(const CComponent& source, Template dialog);
};

// A metal-oxide varistor: a zigzag and a bar across it. It takes the letter R and the resistors'
// counter.
class CMOV : public CCapacitor {
public:
    static const ClassInfo Class;

    CMOV() = default;
    explicit CMOV(quint32 typeId) : CCapacitor(typeId) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override { return QStringLiteral("MOV C=2nF VT=100 N=-15"); }
    void PlaceAttachments(ComponentHost& doc, ComponentList::iterator self) override;
};
