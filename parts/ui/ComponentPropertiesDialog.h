#pragma once

#include <QDialog>

class CComponent;
class QCheckBox;
class QLineEdit;

// Dialog 329 "Edit Component Properties": the name, value and IC texts of a part, each with its
// "Visible" check. It opens with the object's buffers and writes them back on OK.
class ComponentPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    explicit ComponentPropertiesDialog(CComponent& object, QWidget* parent = nullptr);

    // The controls by their dialog ids (1000 name, 1002 value, 1001 IC; checks 1003, 1004, 1005).
    QLineEdit* Edit(int id) const;
    QCheckBox* Check(int id) const;

    void accept() override;

private:
    CComponent& m_object;
    QLineEdit* m_name;
    QLineEdit* m_value;
    QLineEdit* m_ic;
    QCheckBox* m_nameVisible;
    QCheckBox* m_valueVisible;
    QCheckBox* m_icVisible;
};
