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
    // Command ids of the "Simulate" tab; stored ribbon layouts use these numbers.
    enum Command : int {
        IDC_MatrixModeCombo = 1033,
        IDC_FilePathCombo = 1034,
        IDC_Value = 1035, // the experiment list
        IDC_OrliskRootCombo = 1036,
        IDC_OrliskShotCombo = 1037,
        IDC_SC = 1039, // "Orlisk Browse"
        ID_Transient_StartTime = 32818,
        ID_Transient_TimeStep = 32820,
        ID_Transient_TimeSpan = 32822,
        ID_Transient_OldSimulator = 32825,
        ID_Transient_Simulate = 32826,
        ID_Transient_Progress = 32828,
        ID_Transient_Abort = 32830,
        ID_PathBrowse = 32834,
        ID_PathEdit = 32835,
        ID_PlotTraces = 32837,
    };

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

    void OnUpdateTransientSimulate(CmdUI& cmdUI);
    void OnUpdateTransientAbort(CmdUI& cmdUI);
    void OnUpdateOrliskControls(CmdUI& cmdUI);
    void OnUpdatePathEdit(CmdUI& cmdUI);

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

    bool m_ShowingDocument = false; // the text is being replaced by the document's own
};
