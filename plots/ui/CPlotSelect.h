#pragma once

#include "TraceSelection.h"

#include <QDialog>
#include <QString>

#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class RunSettingsReceiver;

// "Select Traces to Plot or Save": the user picks a trace type, double-clicks trace names into the
// selection line (or types it, or takes an earlier line from the history), then plots the traces in
// a new plot window (which closes the dialog), or writes them as .wvf files into the run's input
// folder or as a text table.
class CPlotSelect : public QDialog {
    Q_OBJECT
public:
    // The source and the schematic's history are read while the dialog lives.
    CPlotSelect(const TraceSource& source, const QString& archivePath,
                std::weak_ptr<RunSettingsReceiver> schematic, QWidget* parent = nullptr);

    // The controls' handlers, as the user reaches them through the lists and buttons.
    void OnSelchangeTypeList();
    void OnDblclkTraceList();
    void OnPlot();
    void OnSaveToTextFile();
    void OnSaveToOrlisk();

    // The text of the selection box.
    QString SelectionLine() const;

    QListWidget* TypeList() const { return m_Types; }
    QListWidget* TraceList() const { return m_Traces; }
    QComboBox* SelectionCombo() const { return m_Selection; }
    QLabel* PathText() const { return m_PathText; }
    QPushButton* PlotButton() const { return m_Plot; }
    QPushButton* SaveToTextButton() const { return m_SaveText; }
    QPushButton* SaveToOrliskButton() const { return m_SaveOrlisk; }

private:
    // Fills the types, the traces of the first type and the history.
    void OnInitDialog();

    TraceSelection m_Model;
    QListWidget* m_Types;
    QListWidget* m_Traces;
    QComboBox* m_Selection;
    QLabel* m_PathText;
    QPushButton* m_Plot;
    QPushButton* m_SaveText;
    QPushButton* m_SaveOrlisk;
};
