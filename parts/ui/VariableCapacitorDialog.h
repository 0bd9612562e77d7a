#pragma once

#include <QDialog>
#include <QHash>

class CVariableC;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

// Dialog 345 "Variable Capacitor": the name and IC texts with their "Visible" checks, the value
// label's check, the capacitance law (fixed, polynomial or a standard dielectric curve) with its
// values, and whether the capacitor is built as a line stub.
class VariableCapacitorDialog : public QDialog {
    Q_OBJECT
public:
    explicit VariableCapacitorDialog(CVariableC& capacitor, QWidget* parent = nullptr);

    // The controls by their dialog ids: edits 1010 name, 1012 IC, 1016 fixed value, 1019 polynomial,
    // 1017 "Zero Value:", 1018 "Voltage Rating:"; checks 1011, 1014, 1013 and 1024 "Treat as
    // transmission-line"; radios 1005 "Fixed", 1007 "Polynomial", 1006 "Standard:"; combo 1015.
    QLineEdit* Edit(int id) const { return m_edits.value(id); }
    QCheckBox* Check(int id) const { return m_checks.value(id); }
    QAbstractButton* Radio(int id) const;
    QComboBox* Dielectrics() const { return m_dielectrics; }

    void accept() override;

private:
    CVariableC& m_capacitor;
    QHash<int, QLineEdit*> m_edits;
    QHash<int, QCheckBox*> m_checks;
    QButtonGroup* m_law;
    QComboBox* m_dielectrics;
};
