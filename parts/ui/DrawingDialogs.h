#pragma once

#include "FieldDialog.h"

class CDrawing;
class CSubcircuit;
class CText;
class QtPropertyDialogs;

// Registers the dialogs below by their templates.
void RegisterDrawingDialogs(QtPropertyDialogs& dialogs);

// Dialog 311 "Edit Label": the name label of a voltage probe or bubble connector (edit 1000, check
// 1003).
class EditLabelDialog : public FieldDialog {
    Q_OBJECT
public:
    explicit EditLabelDialog(CDrawing& object, QWidget* parent = nullptr);
};

// Dialog 352 "Edit Text": a free text (edit 1010).
class EditTextDialog : public FieldDialog {
    Q_OBJECT
public:
    explicit EditTextDialog(CText& object, QWidget* parent = nullptr);
};

// Dialog 351 "Subcircuit Edit": the block's name, file and parameters (edits 1000, 1002, 1001, checks
// 1003, 1004, 1005), with the buttons 1016 Browse, 1017 Open, 1018 Close and 1019 Remove Path.
class SubcircuitEditDialog : public FieldDialog {
    Q_OBJECT
public:
    explicit SubcircuitEditDialog(CSubcircuit& object, QWidget* parent = nullptr);
};
