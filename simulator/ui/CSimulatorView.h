#pragma once

#include "View.h"

#include <QPlainTextEdit>
#include <QString>
#include <QTimer>

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

    // The netlist as the window shows it, lines ended by "\n". While a large netlist is still coming
    // into the window, or when the window shows long lines in pieces, the document's text.
    QString NetlistText() const;
    // A large netlist comes into the window a step at a time, so that the window answers meanwhile;
    // the window is read-only until all of it is there.
    bool IsFilling() const { return m_FillTimer.isActive(); }
    // A netlist of more characters comes into the window in steps of about kStepMilliseconds each,
    // a piece of kFillPiece characters at a time.
    static constexpr qsizetype kFillAtOnce = 64 * 1024;
    static constexpr qsizetype kFillPiece = 16 * 1024;
    static constexpr int kStepMilliseconds = 20;
    // A netlist with a longer line is shown with its long lines in pieces, and the window stays
    // read-only: the layout of one line costs time in its length at every change (about 8 ms a key at
    // 10,000 characters, 30 ms at 50,000), so a line this long still edits at the speed of typing.
    static constexpr qsizetype kLongestShownLine = 10000;
    // The characters of one piece. A painting draws every glyph of each line it shows, however far
    // beyond the window's edge: a window full of pieces of 10,000 characters took 90 ms to paint,
    // which held every step of filling it, where pieces of 1,000 take a tenth of that.
    static constexpr qsizetype kShownPiece = 1000;

private:
    static Ribbon* RibbonBar();
    void ShowSimulateTab() const;
    void ShowDocumentText();
    void FillStep();
    void OnTextEdited();
    // Copies every control of the tab into the document and composes the run's input folder.
    void ReadControls();
    // Copies the source mode and the folder controls into the document and composes the input folder.
    void ReadInputFolder();

    bool m_ShowingDocument = false; // the text is being replaced by the document's own
    // The document's text while the window does not hold it as it is (null otherwise), and what the
    // window is being filled with.
    QString m_Standing;
    QString m_Filling;
    qsizetype m_Filled = 0;
    bool m_Pieces = false;
    QTimer m_FillTimer;
};
