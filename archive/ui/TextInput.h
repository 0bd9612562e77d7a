#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;

// A small modal dialog asking for one line of text under a prompt. Set the fields, run it, and
// read Text after OK.
class TextInput : public QDialog {
    Q_OBJECT
public:
    explicit TextInput(QWidget* parent = nullptr);

    QString Text;
    QString Prompt;
    QString Caption;

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_prompt;
    QLineEdit* m_edit;
};
