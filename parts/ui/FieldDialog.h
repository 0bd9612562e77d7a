#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHash>
#include <QLineEdit>
#include <QRadioButton>

#include <functional>
#include <initializer_list>
#include <vector>

class CComponent;
struct PulseTexts;
class QAbstractButton;
class QButtonGroup;
class QGridLayout;
class QPushButton;

// A property dialog whose controls are bound to the fields of a schematic object: the controls
// open with the fields, and OK writes them back and lets the object compose its value text (the
// object may refuse, and the dialog then stays open). Controls are found by their dialog ids.
class FieldDialog : public QDialog {
    Q_OBJECT
public:
    FieldDialog(CComponent& object, const QString& title, QWidget* parent);

    // The controls by their ids; null for an id the dialog does not have.
    QLineEdit* Edit(int id) const;
    QCheckBox* Check(int id) const;
    QRadioButton* Radio(int id) const;
    QComboBox* Combo(int id) const;
    QAbstractButton* Button(int id) const;

    void accept() override;

protected:
    QLineEdit* BindEdit(int id, QString& field);
    QCheckBox* BindCheck(int id, const QString& caption, int& field);
    QCheckBox* BindCheck(int id, const QString& caption, bool& field);
    // One button of the radio group that `field` holds the index of.
    QRadioButton* BindRadio(int id, const QString& caption, int& field, int value);
    // -1 selects nothing.
    QComboBox* BindCombo(int id, const QStringList& items, int& field);
    // A button that works on the fields: the controls go into the fields before `work` and show them
    // again after.
    QPushButton* BindButton(int id, const QString& caption, std::function<void()> work);
    // Fills the controls from the fields; call once the controls are bound.
    void Load();
    // The OK and Cancel buttons.
    QWidget* Buttons();

    // Edits in a row, each after its label (and before its unit, when it has one).
    struct LabelledEdit {
        const char* label;
        int id;
        QString* field;
        const char* unit = nullptr;
    };
    QWidget* EditRow(std::initializer_list<LabelledEdit> edits);
    // The same one to a row of the grid from `firstRow` on, the unit in the third column.
    void EditRows(QGridLayout* grid, int firstRow, std::initializer_list<LabelledEdit> edits);
    // "Name:", the name's edit and its "Visible" check.
    QWidget* NameRow(int editId, QString& name, int checkId, int& visible);
    // A row of the grid for a label's text: the caption, the edit and its "Visible" check.
    void LabelRow(QGridLayout* grid, int row, const char* caption, int editId, QString& text, int checkId,
                  int& visible);
    // A "Value" group in a row of the grid, across three columns, with the value label's "Visible"
    // check on top across `columns` of its own; the group's grid for the value's controls.
    QGridLayout* ValueGroup(QGridLayout* grid, int row, int checkId, int& visible, int columns);
    // Three rows of the grid from `row` on: the "Pulsed:" button with the pulse's edits, the low and
    // high values first, and the "Orlisk Waveform:" button with the waveform's name; `form` holds the
    // button chosen.
    void PulseAndWaveformRows(QGridLayout* grid, int row, int& form, PulseTexts& texts, LabelledEdit low,
                              LabelledEdit high);

private:
    void Store();

    CComponent& m_Object;
    QHash<int, QWidget*> m_Controls;
    QHash<const int*, QButtonGroup*> m_Groups;
    std::vector<std::function<void()>> m_Load;
    std::vector<std::function<void()>> m_Store;
};
