#pragma once

#include "CComponent.h"

#include <array>

struct AttachmentLayout;

// An inductor: four humps between two leads, followed by its name, value and IC labels and pins "1"
// and "2".
class CInductor : public CComponent {
public:
    static const ClassInfo Class;

    CInductor();
    explicit CInductor(quint32 typeId);
    const ClassInfo& RuntimeClass() const override { return Class; }

    void Draw(Dc& dc) override;
    int GetAttachmentCount() const override { return 5; }
    QString GetDefaultValue() const override { return QStringLiteral("1nH"); }
    void CreateAttachments(ComponentHost& doc, int x, int y) override;
    void PlaceAttachments(ComponentHost& doc, ComponentList::iterator self) override;
    bool EditProperties(ComponentHost& doc) override;

    // The inductor's figure, with the Extent of each orientation as offsets from the part's position
    // (the line-built inductor keeps another outline); each hump runs from its end farther from pin 1
    // to its nearer end, so orientations 3 and 4 are 1 and 2 turned half round.
    static void DrawSymbol(Dc& dc, CComponent& part, const std::array<Rect, 4>& extents);
    // Pin 2 864 twips from pin 1; also the line-built inductor's placement.
    static const AttachmentLayout& Layout();
};
