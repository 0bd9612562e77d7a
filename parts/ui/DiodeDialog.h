#pragma once

#include <QDialog>
#include <QHash>

class CDiode;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

// Dialog 347 "Diode Parameter Edit": the diode's name and IC texts with their "Visible" checks, the
// value label's check, and the model: a standard part from the list or the fourteen parameters.
class DiodeDialog : public QDialog {
    Q_OBJECT
public:
    explicit DiodeDialog(CDiode& diode, QWidget* parent = nullptr);

    // The controls by their dialog ids: edits 1010 name, 1001 IC and the parameter edits 1013 ...;
    // checks 1011, 1024, 1008; radios 1005 "Standard Types:", 1006 "Custom:"; combo 1015.
    QLineEdit* Edit(int id) const { return m_edits.value(id); }
    QCheckBox* Check(int id) const { return m_checks.value(id); }
    QAbstractButton* Radio(int id) const;
    QComboBox* Parts() const { return m_parts; }

    void accept() override;

private:
    CDiode& m_diode;
    QHash<int, QLineEdit*> m_edits;
    QHash<int, QCheckBox*> m_checks;
    QButtonGroup* m_kind;
    QComboBox* m_parts;
};
