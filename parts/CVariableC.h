#pragma once

#include "CCapacitor.h"

#include <QStringList>

// What the variable capacitor's dialog shows: the law that gives the capacitance and its values, and
// whether the simulator builds the capacitor as a line stub.
struct VariableCapacitorFields {
    enum Law { NoLaw = -1, Fixed = 0, Polynomial = 1, Standard = 2 };

    QStringList dielectrics{QStringLiteral("HRS"), QStringLiteral("Z5V")};
    int dielectric = 0; // index into `dielectrics`
    QString zeroValue = QStringLiteral("10nF");
    QString rating = QStringLiteral("30kV");
    QString fixedValue = QStringLiteral("10nF");
    QString polynomial = QStringLiteral("10n -1e-11 +5e-12 -2e-13");
    int law = NoLaw;
    bool line = false; // "Treat as transmission-line"

    // The fields of a value text such as "VARC TL STANDARD Z5V 10nF 30kV", starting from the defaults:
    // a value the text does not reach keeps its default, and a text that names no law opens with the
    // default text's law, Standard.
    static VariableCapacitorFields FromValue(const QString& value);
    // The value text of the fields; without a law chosen, the Standard law's text.
    QString Compose() const;
};

// A capacitor whose capacitance depends on its voltage, lumped or built as a line stub.
class CVariableC : public CCapacitor {
public:
    static const ClassInfo Class;
    static constexpr int kDialogTemplate = 345; // "Variable Capacitor"

    CVariableC();
    explicit CVariableC(quint32 typeId);
    // A copy of another object's stored fields, with this class's dialog.
    explicit CVariableC(const CComponent& source);
    const ClassInfo& RuntimeClass() const override { return Class; }

    void OnInitDialog() override;
    bool OnOK() override;
    void Draw(Dc& dc) override;
    QString GetDefaultValue() const override { return QStringLiteral("VARC STANDARD Z5V 10nF 30kV"); }

    VariableCapacitorFields Fields; // the dialog's, filled afresh from the value text at each edit
};
