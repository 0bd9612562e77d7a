#pragma once

#include "CComponent.h"
#include "PartAttachments.h"

// A part followed by the labels and pins its layout names: it counts, makes and places them from the
// layout, and edits its labels by the property editing that parts share.
class LabelledPart : public CComponent {
public:
    // What follows the part in the document's list, and where it goes.
    virtual const AttachmentLayout& Layout() const = 0;

    int GetAttachmentCount() const override { return Layout().Count(); }
    const AttachmentLayout* AttachmentOrder() const final { return &Layout(); }
    void CreateAttachments(ComponentHost& doc, int x, int y) override;
    void PlaceAttachments(ComponentHost& doc, ComponentList::iterator self) override;
    bool EditProperties(ComponentHost& doc) override;

protected:
    // The template of the class's own dialog (a type of its own, so that it is never taken for a
    // type id).
    struct Dialog {
        int id;
    };
    explicit LabelledPart(Dialog dialog) : CComponent(dialog.id) {}
    // A new part of a type, with its prefix letter as its text.
    LabelledPart(Dialog dialog, quint32 typeId) : CComponent(dialog.id, typeId) {}
    // Another object's stored fields.
    LabelledPart(Dialog dialog, const CComponent& source) : CComponent(source, dialog.id) {}
};
