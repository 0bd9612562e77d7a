#pragma once

#include "CComponent.h"

// A free line of text on the page: a note for the reader or, when it begins with "PARAMS:", the
// name=value parameters that the netlist writer puts into the value texts of its document.
class CText : public CComponent {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 352; // "Edit Text"

    CText();
    explicit CText(quint32 typeId);
    explicit CText(const CComponent& source);

    const ClassInfo& RuntimeClass() const override { return Class; }

    void OnInitDialog() override;
    bool OnOK() override;
    // The text with its top-left at Position; Extent becomes the box the text takes.
    void Draw(Dc& dc) override;
    // True only when the dialog was closed with OK and the text changed.
    bool EditProperties(ComponentHost& doc) override;

    QString TextBuffer; // "Input Text:"
};
