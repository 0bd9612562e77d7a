#pragma once

#include "FieldDialog.h"

// Dialog 329 "Edit Component Properties": the name, value and IC texts of a part, each with its
// "Visible" check (edits 1000 name, 1002 value, 1001 IC; checks 1003, 1004, 1005). It opens with the
// object's buffers and writes them back on OK.
class ComponentPropertiesDialog : public FieldDialog {
    Q_OBJECT
public:
    explicit ComponentPropertiesDialog(CComponent& object, QWidget* parent = nullptr);
};
