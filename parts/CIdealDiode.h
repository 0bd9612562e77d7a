#pragma once

#include "CComponent.h"

// The on/off diode (type 575): a triangle and a bar, pin "1" the anode on the triangle's side and
// pin "2" the cathode at the bar. Its name and value are edited as free text.
class CIdealDiode : public CComponent {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 331; // "Edit Component Properties": name and value

    CIdealDiode() : CComponent(kDialogTemplate) {}
    explicit CIdealDiode(quint32 typeId);
    explicit CIdealDiode(const CComponent& source) : CComponent(source, kDialogTemplate) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void Draw(Dc& dc) override;
    int GetAttachmentCount() const override { return 4; }
    QString GetDefaultValue() const override;
    void CreateAttachments(ComponentHost& doc, int x, int y) override;
    void PlaceAttachments(ComponentHost& doc, ComponentList::iterator self) override;
    bool EditProperties(ComponentHost& doc) override;
};
