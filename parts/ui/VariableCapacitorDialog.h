#pragma once

#include "FieldDialog.h"

class CVariableC;

// Dialog 345 "Variable Capacitor": the name and IC texts with their "Visible" checks, the value
// label's check, the capacitance law (fixed, polynomial or a standard dielectric curve) with its
// values, and whether the capacitor is built as a line stub. Its controls: edits 1010 name, 1012 IC,
// 1016 fixed value, 1019 polynomial, 1017 "Zero Value:", 1018 "Voltage Rating:"; checks 1011, 1014,
// 1013 and 1024 "Treat as transmission-line"; radios 1005 "Fixed", 1007 "Polynomial", 1006
// "Standard:"; combo 1015.
class VariableCapacitorDialog : public FieldDialog {
    Q_OBJECT
public:
    explicit VariableCapacitorDialog(CVariableC& capacitor, QWidget* parent = nullptr);
};
