#pragma once

#include <QDialog>

#include <functional>

class CDrawing;
class CSubcircuit;
class CText;
class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QtPropertyDialogs;

// Registers the dialogs below by their templates.
void RegisterDrawingDialogs(QtPropertyDialogs& dialogs);

// Dialog 311 "Edit Label": the name label of a voltage probe or bubble connector.
class EditLabelDialog : public QDialog {
    Q_OBJECT
public:
    explicit EditLabelDialog(CDrawing& object, QWidget* parent = nullptr);
    QLineEdit* Edit(int id) const;  // 1000
    QCheckBox* Check(int id) const; // 1003
    void accept() override;

private:
    CDrawing& m_object;
    QLineEdit* m_name;
    QCheckBox* m_visible;
};

// Dialog 352 "Edit Text": a free text.
class EditTextDialog : public QDialog {
    Q_OBJECT
public:
    explicit EditTextDialog(CText& object, QWidget* parent = nullptr);
    QLineEdit* Edit(int id) const; // 1010
    void accept() override;

private:
    CText& m_object;
    QLineEdit* m_text;
};

// Dialog 351 "Subcircuit Edit": the block's name, file and parameters, with Browse, Open, Close and
// Remove Path.
class SubcircuitEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit SubcircuitEditDialog(CSubcircuit& object, QWidget* parent = nullptr);
    QLineEdit* Edit(int id) const;         // 1000 name, 1002 file, 1001 parameters
    QCheckBox* Check(int id) const;        // 1003, 1004, 1005
    QAbstractButton* Button(int id) const; // 1016 Browse, 1017 Open, 1018 Close, 1019 Remove Path
    void accept() override;

    // Asks for the file Browse takes; empty when cancelled. Tests replace it.
    static std::function<QString(QWidget* parent)>& BrowsePrompt();

private:
    // Controls to the block's fields and back.
    void Store();
    void Load();
    // Runs a button's work on the fields between the two.
    void Press(void (CSubcircuit::*handler)());

    CSubcircuit& m_object;
    QLineEdit* m_edits[3];
    QCheckBox* m_checks[3];
    QAbstractButton* m_buttons[4];
};
