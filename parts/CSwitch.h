#pragma once

#include "LabelledPart.h"

#include <QStringList>

// The closing switch (type 512): a blade between two contacts. A new switch shows its name but not
// its value text "criterion R0 R1 critical-value time-constant law", which its dialog edits as two
// lists and four fields.
class CSwitch : public LabelledPart {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 338;
    static const AttachmentLayout kLayout;

    CSwitch() : LabelledPart(Dialog{kDialogTemplate}) {}
    explicit CSwitch(quint32 typeId) : LabelledPart(Dialog{kDialogTemplate}, typeId) {}
    explicit CSwitch(const CComponent& source) : LabelledPart(Dialog{kDialogTemplate}, source) {}
    const ClassInfo& RuntimeClass() const override { return Class; }

    void OnInitDialog() override;
    bool OnOK() override;
    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override;
    const AttachmentLayout& Layout() const override { return kLayout; }

    // The items of the two lists, in the order the lists show them.
    static const QStringList& Criteria();        // "TIME", "VOLT", "CUR", "ENERGY"
    static const QStringList& TimeDependences(); // "EXP", "LIN", "T0/T", "TANH"

    // ---- dialog fields (not stored) ----
    QString InitialResistanceText;
    QString FinalResistanceText;
    QString CriticalValueText;
    QString TimeConstantText;
    // The selected items of the two lists; -1 when the value text names none.
    int CriterionCombo = -1;
    int TimeDependenceCombo = -1;
    // A word of the value text that no item matches; it is written back as it stands unless the
    // user picks an item.
    QString UnmatchedCriterion;
    QString UnmatchedTimeDependence;
};
