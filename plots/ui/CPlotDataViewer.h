#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class CPlotDoc;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The plot's values at one time, as a list: the user types a time and asks for the data, and every
// trace's name is listed with the value of its first sample at or after that time. Modeless; OK and
// Cancel only hide it.
class CPlotDataViewer : public QDialog {
    Q_OBJECT
public:
    CPlotDataViewer();
    ~CPlotDataViewer() override;

    // The plot listed from now on.
    void SetDocument(CPlotDoc* doc);
    CPlotDoc* Document() const;

    // The listing at the typed time: "Time= " and the time, then each trace's name and its value,
    // each on a line of its own. A time that is no number is said so, and the listing stays.
    void OnShowData();
    // The time as the netlist writes values ("42n", "42ns", "4.2e-8"), blanks around it ignored;
    // false for a text that is no such number.
    static bool ReadTime(const QString& typed, double& t);

    // Moves the texts between the members and the controls: from the controls when `save` is set.
    void UpdateData(bool save);

    QString TimeText;
    QString OutputText; // lines end in CR LF

    QLineEdit* TimeEdit() const { return m_TimeEdit; }
    QPushButton* ShowDataButton() const { return m_ShowData; }

private:
    QLineEdit* m_TimeEdit;
    QPlainTextEdit* m_ListingEdit;
    QPushButton* m_ShowData;
    CPlotDoc* m_Doc = nullptr;
    std::weak_ptr<const void> m_DocAlive;
};
