#pragma once

#include "FieldDialog.h"

class CDiode;

// Dialog 347 "Diode Parameter Edit": the diode's name and IC texts with their "Visible" checks, the
// value label's check, and the model: a standard part from the list or the fourteen parameters. Its
// controls: edits 1010 name, 1001 IC and the parameter edits 1013 ...; checks 1011, 1024, 1008; radios
// 1005 "Standard Types:", 1006 "Custom:"; combo 1015.
class DiodeDialog : public FieldDialog {
    Q_OBJECT
public:
    explicit DiodeDialog(CDiode& diode, QWidget* parent = nullptr);
};
