#pragma once

#include "LabelledPart.h"

#include <QStringList>

#include <array>

// What the diode's dialog shows: a standard part by name, or the model's parameters key by key.
struct DiodeFields {
    enum Kind { Standard = 0, Custom = 1 };
    static constexpr int kKeyCount = 14;
    // The parameter keys in the order the value text lists them.
    static constexpr std::array<const char*, kKeyCount> kKeys{"IS", "RS", "N",  "XTI", "EG", "CJO", "M",
                                                              "VJ", "FC", "TT", "ISR", "NR", "BV",  "IBV"};

    QStringList parts;
    int part = 0; // index into `parts`
    int kind = Standard;
    // One text per key; a new diode's IS is "1E-14". The texts outlast an edit that does not name them.
    std::array<QString, kKeyCount> parameters{QStringLiteral("1E-14")};

    // Takes a value text: "KEY=value" tokens (keys in any case) make it a custom model whose known
    // keys fill their texts; anything else names a standard part, chosen by the start of its name. A
    // name that begins no item of the list joins it, so that the text comes back unchanged.
    void ReadValue(const QString& value);
    // The value text: the chosen part's name, or "IS=" and every other key whose text is not empty. An
    // empty IS text becomes "1E-14" first.
    QString Compose();
};

// A semiconductor diode: the diode symbol, its name, value and IC labels and pins "1" (anode) and "2"
// (cathode).
class CDiode : public LabelledPart {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 347; // "Diode Parameter Edit"
    static const AttachmentLayout kLayout;

    CDiode() : LabelledPart(Dialog{kDialogTemplate}) {}
    explicit CDiode(quint32 typeId) : LabelledPart(Dialog{kDialogTemplate}, typeId) {}
    // A copy of another object's stored fields, with this class's dialog.
    explicit CDiode(const CComponent& source) : LabelledPart(Dialog{kDialogTemplate}, source) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void OnInitDialog() override;
    bool OnOK() override;
    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override { return QStringLiteral("1N4004"); }
    const AttachmentLayout& Layout() const override { return kLayout; }

    DiodeFields Fields;
};
