#pragma once

#include "View.h"

#include <QPlainTextEdit>
#include <QString>

class CSimulatorDoc;
class Ribbon;

// The window of a netlist document: the netlist text, shown and edited, and every command of the
// ribbon's "Simulate" tab. The tab's controls are copied into the document's run settings as the
// user changes them and once more when a run starts; the document keeps them between commands.
class CSimulatorView : public QPlainTextEdit, public View {
    Q_OBJECT
public:
    CSimulatorView();
    ~CSimulatorView() override;

    QWidget* Widget() override { return this; }
    CSimulatorDoc* GetDocument() const;

    void OnInitialUpdate() override;
    void OnUpdate(View* sender, int hint) override;
    void OnActivateView(bool activate) override;

    // ---- the Simulate tab ----
    void OnStartTimeEdit();
    void OnTimeSpanEdit();
    void OnTimeStepEdit();
    void OnMatrixModeCombo();
    void OnFilePathCombo();
    void OnOrliskRootCombo();
    void OnExperimentCombo();
    void OnShotCombo();
    void OnPathEdit();
    void OnOrliskBrowse();
    void OnTransientSimulate();
    void OnTransientAbort();
    // Opens the trace-selection dialog over the last run's results.
    void OnPlotTraces();

    void OnUpdateTransientSimulate(CmdUI& cmdUI);
    void OnUpdateTransientAbort(CmdUI& cmdUI);
    void OnUpdateOrliskControls(CmdUI& cmdUI);
    void OnUpdatePathEdit(CmdUI& cmdUI);
    void OnUpdatePlotTraces(CmdUI& cmdUI);

    // The current text of the ribbon edit (or the text a drop-down list shows) with the id; empty
    // when the ribbon has no such control.
    static QString GetRibbonEditText(int id);
    // Copies that text into `target`; nothing changes without a ribbon.
    static void GetRibbonEditString(int id, QString& target);

    // The netlist as the window shows it, lines ended by "\n".
    QString NetlistText() const;

private:
    static Ribbon* RibbonBar();
    void ShowSimulateTab() const;
    void ShowDocumentText();
    void OnTextEdited();
    // Copies every control of the tab into the document and composes the run's input folder.
    void ReadControls();
    // Copies the source mode and the folder controls into the document and composes the input folder.
    void ReadInputFolder();

    bool m_ShowingDocument = false; // the text is being replaced by the document's own
};
