#pragma once

#include "CComponent.h"

// The resistor (type 510): a zigzag between pins "1" and "2", followed by its name label, value label
// and the two pins. The variable resistor, the oil switch and the planar diode are built on it with
// dialogs and symbols of their own. The name and value are edited in the component buffers.
class CResistor : public CComponent {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 331; // "Edit Component Properties": name and value

    CResistor() : CResistor(Template{kDialogTemplate}) {}
    explicit CResistor(quint32 typeId) : CResistor(Template{kDialogTemplate}, typeId) {}
    explicit CResistor(const CComponent& source) : CResistor(Template{kDialogTemplate}, source) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    // The zigzag, and for a variable resistor (type 511) its arrow.
    void Draw(Dc& dc) override;
    int GetAttachmentCount() const override { return 4; }
    QString GetDefaultValue() const override;
    void CreateAttachments(ComponentHost& doc, int x, int y) override;
    void PlaceAttachments(ComponentHost& doc, ComponentList::iterator self) override;
    bool EditProperties(ComponentHost& doc) override;

protected:
    // For the classes built on the resistor with a dialog of their own.
    struct Template {
        int id;
    };
    explicit CResistor(Template dialog) : CComponent(dialog.id) {}
    CResistor(Template dialog, quint32 typeId);
    CResistor(Template dialog, const CComponent& source) : CComponent(source, dialog.id) {}
};
