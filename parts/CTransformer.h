#pragma once

#include "CComponent.h"

// An ideal transformer: two windings of four humps each side of a core of two lines, followed by its
// name, value and IC labels and pins "1", "2" (primary) and "1", "2" (secondary).
class CTransformer : public CComponent {
public:
    static const ClassInfo Class;

    CTransformer();
    explicit CTransformer(quint32 typeId);
    const ClassInfo& RuntimeClass() const override { return Class; }

    void Draw(Dc& dc) override;
    int GetAttachmentCount() const override { return 7; }
    QString GetDefaultValue() const override { return QStringLiteral("L1=100n L2=1u K=.9"); }
    void CreateAttachments(ComponentHost& doc, int x, int y) override;
    void PlaceAttachments(ComponentHost& doc, ComponentList::iterator self) override;
    bool EditProperties(ComponentHost& doc) override;
};
