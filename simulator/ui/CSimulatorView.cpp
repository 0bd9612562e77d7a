#include "CSimulatorView.h"

#include "COrliskBrowse.h"
#include "CSimulatorDoc.h"
#include "CommandIds.h"
#include "InputPath.h"
#include "OrliskArchive.h"
#include "PlotTracesDialog.h"
#include "Ribbon.h"
#include "RibbonComboList.h"
#include "UiServices.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QTextCursor>
#include <QTextDocument>

namespace {

const QString kArchiveMode = QStringLiteral("Orlisk");
const QString kSimulateTab = QStringLiteral("Simulate");

// The run's progress on the ribbon's bar.
class RibbonProgress : public RunProgress {
public:
    explicit RibbonProgress(QProgressBar* bar) : m_Bar(bar) {}
    void SetRange(int lower, int upper) override
    {
        // An empty range would turn the bar into a busy indicator; a run of no steps shows an empty bar.
        if (m_Bar) m_Bar->setRange(lower, upper > lower ? upper : lower + 1);
    }
    void SetPos(int pos) override
    {
        if (m_Bar) m_Bar->setValue(pos);
    }

private:
    QPointer<QProgressBar> m_Bar;
};

// The netlist font: Arial, 18 pixels from the top of the tallest letter to the bottom of the
// lowest, semi-bold. Liberation Sans has Arial's measures and stands in where Arial is missing.
QFont netlistFont()
{
    constexpr double kCellHeight = 18;
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif, QFont::PreferQuality);
    font.setWeight(QFont::Weight(600));
    font.setPixelSize(int(kCellHeight));
    // A pixel size is the em; the 18 pixels are the whole character cell, which is taller.
    const QFontMetricsF metrics(font);
    const double cell = metrics.ascent() + metrics.descent();
    if (cell > kCellHeight) font.setPixelSize(qMax(1, qRound(kCellHeight * kCellHeight / cell)));
    return font;
}

bool hasLineLongerThan(const QString& text, qsizetype longest)
{
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(u'\n', start);
        if ((end < 0 ? text.size() : end) - start > longest) return true;
        if (end < 0) return false;
        start = end + 1;
    }
}

// The text with a break after every `longest` characters of a line.
QString inPieces(const QString& text, qsizetype longest)
{
    QString out;
    out.reserve(text.size() + text.size() / longest + 1);
    for (qsizetype start = 0;;) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) end = text.size();
        for (qsizetype at = start;; at += longest) {
            out += QStringView(text).sliced(at, std::min(longest, end - at));
            if (end - at <= longest) break;
            out += u'\n';
        }
        if (end == text.size()) return out;
        out += u'\n';
        start = end + 1;
    }
}

QComboBox* ribbonCombo(int id)
{
    Ribbon* ribbon = Ribbon::Main();
    return ribbon ? ribbon->FindComboBox(id) : nullptr;
}

// The text of the list's selected item, empty when nothing is selected.
QString selectedItem(int id)
{
    return RibbonComboList(ribbonCombo(id)).SelectedText();
}

// What a list starts a new netlist window with: its selected item, or its first when none is.
QString seedItem(int id)
{
    const RibbonComboList list(ribbonCombo(id));
    return list.CurrentIndex() >= 0 ? list.SelectedText() : list.Items().value(0);
}

} // namespace

CSimulatorView::CSimulatorView()
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    m_FillTimer.setInterval(0);
    connect(&m_FillTimer, &QTimer::timeout, this, [this] { FillStep(); });
    connect(this, &QPlainTextEdit::textChanged, this, [this] { OnTextEdited(); });

    MapCommand(ID_Transient_StartTime, [this] { OnStartTimeEdit(); });
    MapCommand(ID_Transient_TimeSpan, [this] { OnTimeSpanEdit(); });
    MapCommand(ID_Transient_TimeStep, [this] { OnTimeStepEdit(); });
    MapCommand(ID_Transient_Simulate, [this] { OnTransientSimulate(); });
    MapUpdate(ID_Transient_Simulate, [this](CmdUI& cmdUI) { OnUpdateTransientSimulate(cmdUI); });
    MapCommand(ID_Transient_Abort, [this] { OnTransientAbort(); });
    MapUpdate(ID_Transient_Abort, [this](CmdUI& cmdUI) { OnUpdateTransientAbort(cmdUI); });
    MapCommand(IDC_MatrixModeCombo, [this] { OnMatrixModeCombo(); });
    MapCommand(IDC_FilePathCombo, [this] { OnFilePathCombo(); });
    MapCommand(IDC_OrliskRootCombo, [this] { OnOrliskRootCombo(); });
    MapCommand(IDC_Value, [this] { OnExperimentCombo(); });
    MapCommand(IDC_OrliskShotCombo, [this] { OnShotCombo(); });
    MapCommand(IDC_SC, [this] { OnOrliskBrowse(); });
    for (int id : {IDC_OrliskRootCombo, IDC_Value, IDC_OrliskShotCombo, IDC_SC})
        MapUpdate(id, [this](CmdUI& cmdUI) { OnUpdateOrliskControls(cmdUI); });
    MapCommand(ID_PathEdit, [this] { OnPathEdit(); });
    MapUpdate(ID_PathEdit, [this](CmdUI& cmdUI) { OnUpdatePathEdit(cmdUI); });
    // The edit commands of a text window.
    MapCommand(ID_EDIT_CUT, [this] { cut(); });
    MapUpdate(ID_EDIT_CUT, [this](CmdUI& cmdUI) { cmdUI.Enable(textCursor().hasSelection()); });
    MapCommand(ID_EDIT_COPY, [this] { copy(); });
    MapUpdate(ID_EDIT_COPY, [this](CmdUI& cmdUI) { cmdUI.Enable(textCursor().hasSelection()); });
    MapCommand(ID_EDIT_PASTE, [this] { paste(); });
    MapUpdate(ID_EDIT_PASTE, [this](CmdUI& cmdUI) { cmdUI.Enable(canPaste()); });
    MapCommand(ID_EDIT_UNDO, [this] { undo(); });
    MapUpdate(ID_EDIT_UNDO, [this](CmdUI& cmdUI) { cmdUI.Enable(document()->isUndoAvailable()); });
    MapCommand(ID_EDIT_REDO, [this] { redo(); });
    MapUpdate(ID_EDIT_REDO, [this](CmdUI& cmdUI) { cmdUI.Enable(document()->isRedoAvailable()); });
    MapCommand(ID_PlotTraces, [this] { OnPlotTraces(); });
    MapUpdate(ID_PlotTraces, [this](CmdUI& cmdUI) { OnUpdatePlotTraces(cmdUI); });
}

CSimulatorView::~CSimulatorView() = default;

CSimulatorDoc* CSimulatorView::GetDocument() const
{
    return dynamic_cast<CSimulatorDoc*>(View::GetDocument());
}

Ribbon* CSimulatorView::RibbonBar()
{
    return Ribbon::Main();
}

QString CSimulatorView::GetRibbonEditText(int id)
{
    Ribbon* ribbon = RibbonBar();
    if (!ribbon) return {};
    if (QLineEdit* edit = ribbon->FindEdit(id)) return edit->text();
    if (QComboBox* combo = ribbon->FindComboBox(id)) return combo->currentText();
    return {};
}

void CSimulatorView::GetRibbonEditString(int id, QString& target)
{
    if (RibbonBar()) target = GetRibbonEditText(id);
}

void CSimulatorView::ShowSimulateTab() const
{
    if (Ribbon* ribbon = RibbonBar()) ribbon->SetActiveCategory(ribbon->FindCategory(kSimulateTab));
}

// ---------------------------------------------------------------------------------------------
// The text

QString CSimulatorView::NetlistText() const
{
    if (!m_Standing.isNull()) return m_Standing;
    // The raw text keeps every character as typed (the plain text would turn non-breaking blanks
    // into blanks); only the line breaks become the document's "\n".
    QString text = document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

void CSimulatorView::ShowDocumentText()
{
    CSimulatorDoc* doc = GetDocument();
    if (!doc || doc->NetlistText() == NetlistText()) return;
    const QString& text = doc->NetlistText();
    m_FillTimer.stop();
    m_Pieces = hasLineLongerThan(text, kLongestShownLine);
    m_ShowingDocument = true;
    if (text.size() <= kFillAtOnce && !m_Pieces) {
        m_Standing = QString();
        setReadOnly(false);
        setPlainText(text);
        document()->setModified(doc->IsModified());
        m_ShowingDocument = false;
        return;
    }
    // The steps go into the undo history, which starts again when the window holds everything.
    setUndoRedoEnabled(false);
    setReadOnly(true);
    clear();
    m_ShowingDocument = false;
    m_Standing = text;
    m_Filling = m_Pieces ? inPieces(text, kShownPiece) : text;
    m_Filled = 0;
    m_FillTimer.start();
    if (m_Pieces)
        ui().message(QStringLiteral("This netlist has lines longer than %1 characters. The window shows them "
                                    "in pieces and cannot change the netlist.")
                         .arg(kLongestShownLine));
}

void CSimulatorView::FillStep()
{
    QElapsedTimer step;
    step.start();
    m_ShowingDocument = true;
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    do {
        const qsizetype n = std::min(kFillPiece, m_Filling.size() - m_Filled);
        end.insertText(m_Filling.mid(m_Filled, n));
        // The window's own cursor was carried along by the first piece; it belongs at the start.
        if (m_Filled == 0) setTextCursor(QTextCursor(document()));
        m_Filled += n;
    } while (m_Filled < m_Filling.size() && step.elapsed() < kStepMilliseconds);
    m_ShowingDocument = false;
    if (m_Filled < m_Filling.size()) return;
    m_FillTimer.stop();
    m_Filling = QString();
    setUndoRedoEnabled(true);
    if (CSimulatorDoc* doc = GetDocument()) document()->setModified(doc->IsModified());
    if (m_Pieces) return;
    m_Standing = QString();
    setReadOnly(false);
}

void CSimulatorView::OnTextEdited()
{
    CSimulatorDoc* doc = GetDocument();
    if (m_ShowingDocument || !doc) return;
    QString text = NetlistText();
    if (text == doc->NetlistText()) return; // a change of looks, not of text
    doc->SetNetlistText(text);
    // The text's own undo history knows whether this is the saved text again.
    doc->SetModifiedFlag(document()->isModified());
}

void CSimulatorView::OnUpdate(View*, int hint)
{
    if (hint == CSimulatorDoc::kSavedHint) {
        document()->setModified(false);
        return;
    }
    ShowDocumentText();
}

// ---------------------------------------------------------------------------------------------
// Set-up and activation

void CSimulatorView::OnInitialUpdate()
{
    setFont(netlistFont());
    View::OnInitialUpdate();
    ShowSimulateTab();

    CSimulatorDoc* doc = GetDocument();
    if (!doc || !RibbonBar()) return;
    RunSettings& s = doc->Settings();
    GetRibbonEditString(ID_Transient_StartTime, s.startTime);
    GetRibbonEditString(ID_Transient_TimeStep, s.timeStep);
    GetRibbonEditString(ID_Transient_TimeSpan, s.timeSpan);
    OnMatrixModeCombo();

    // The lists start from what they show (Create Netlist has just selected the schematic's saved
    // archive choice there), not from their first items.
    RibbonComboList roots(ribbonCombo(IDC_OrliskRootCombo));
    RibbonComboList experiments(ribbonCombo(IDC_Value));
    RibbonComboList shots(ribbonCombo(IDC_OrliskShotCombo));
    s.archiveRoot = seedItem(IDC_OrliskRootCombo);
    orlisk::FillOrliskRootCombo(roots, s.archiveRoot);
    s.experiment = seedItem(IDC_Value);
    orlisk::FillOrliskExperimentCombo(experiments, s.archiveRoot, s.experiment);
    s.shot = seedItem(IDC_OrliskShotCombo);
    orlisk::FillOrliskShotCombo(shots, s.archiveRoot + s.experiment, s.shot);
    s.sourceMode = selectedItem(IDC_FilePathCombo);
}

void CSimulatorView::OnActivateView(bool activate)
{
    if (activate) ShowSimulateTab();
    View::OnActivateView(activate);
}

// ---------------------------------------------------------------------------------------------
// The tab's edits and lists

void CSimulatorView::OnStartTimeEdit()
{
    if (CSimulatorDoc* doc = GetDocument())
        GetRibbonEditString(ID_Transient_StartTime, doc->Settings().startTime);
}

void CSimulatorView::OnTimeSpanEdit()
{
    if (CSimulatorDoc* doc = GetDocument())
        GetRibbonEditString(ID_Transient_TimeSpan, doc->Settings().timeSpan);
}

void CSimulatorView::OnTimeStepEdit()
{
    if (CSimulatorDoc* doc = GetDocument())
        GetRibbonEditString(ID_Transient_TimeStep, doc->Settings().timeStep);
}

void CSimulatorView::OnMatrixModeCombo()
{
    if (CSimulatorDoc* doc = GetDocument())
        GetRibbonEditString(IDC_MatrixModeCombo, doc->Settings().matrixMode);
}

void CSimulatorView::OnFilePathCombo()
{
    if (CSimulatorDoc* doc = GetDocument(); doc && RibbonBar())
        doc->Settings().sourceMode = selectedItem(IDC_FilePathCombo);
}

void CSimulatorView::OnOrliskRootCombo()
{
    CSimulatorDoc* doc = GetDocument();
    if (!doc || !RibbonBar()) return;
    RunSettings& s = doc->Settings();
    s.archiveRoot = selectedItem(IDC_OrliskRootCombo);
    RibbonComboList experiments(ribbonCombo(IDC_Value));
    orlisk::FillOrliskExperimentCombo(experiments, s.archiveRoot, s.experiment);
    RibbonComboList shots(ribbonCombo(IDC_OrliskShotCombo));
    orlisk::FillOrliskShotCombo(shots, s.archiveRoot + s.experiment, s.shot);
}

void CSimulatorView::OnExperimentCombo()
{
    CSimulatorDoc* doc = GetDocument();
    if (!doc || !RibbonBar()) return;
    RunSettings& s = doc->Settings();
    s.experiment = selectedItem(IDC_Value);
    RibbonComboList shots(ribbonCombo(IDC_OrliskShotCombo));
    orlisk::FillOrliskShotCombo(shots, s.archiveRoot + s.experiment, s.shot);
}

void CSimulatorView::OnShotCombo()
{
    if (CSimulatorDoc* doc = GetDocument(); doc && RibbonBar())
        doc->Settings().shot = selectedItem(IDC_OrliskShotCombo);
}

void CSimulatorView::OnPathEdit()
{
    if (CSimulatorDoc* doc = GetDocument(); doc && RibbonBar())
        doc->Settings().path = WithFolderEnd(GetRibbonEditText(ID_PathEdit));
}

void CSimulatorView::OnOrliskBrowse()
{
    CSimulatorDoc* doc = GetDocument();
    if (!doc || !RibbonBar()) return;
    RibbonComboList roots(ribbonCombo(IDC_OrliskRootCombo));
    RibbonComboList experiments(ribbonCombo(IDC_Value));
    RibbonComboList shots(ribbonCombo(IDC_OrliskShotCombo));
    COrliskBrowse browser(roots, experiments, shots, window());
    if (browser.exec() != QDialog::Accepted) return;

    RunSettings& s = doc->Settings();
    s.archiveRoot = browser.Root;
    s.experiment = browser.Experiment;
    s.shot = browser.Shot;
    // Start Simulation reads the lists again, so they must show the choice too: a root found in
    // the browser joins the list, and the lists are refilled for it.
    roots.SelectOrAdd(s.archiveRoot);
    QString shown = s.experiment;
    orlisk::FillOrliskExperimentCombo(experiments, s.archiveRoot, shown);
    if (shown != s.experiment) experiments.SelectOrAdd(s.experiment);
    shown = s.shot;
    orlisk::FillOrliskShotCombo(shots, s.archiveRoot + s.experiment, shown);
    if (shown != s.shot) shots.SelectOrAdd(s.shot);
}

// ---------------------------------------------------------------------------------------------
// The run

void CSimulatorView::ReadControls()
{
    CSimulatorDoc* doc = GetDocument();
    if (!doc || !RibbonBar()) return;
    OnStartTimeEdit();
    OnTimeSpanEdit();
    OnTimeStepEdit();
    OnMatrixModeCombo();
    ReadInputFolder();
}

void CSimulatorView::ReadInputFolder()
{
    CSimulatorDoc* doc = GetDocument();
    if (!doc || !RibbonBar()) return;
    OnFilePathCombo();
    OnPathEdit();
    RunSettings& s = doc->Settings();
    if (s.sourceMode == kArchiveMode) {
        OnOrliskRootCombo();
        OnExperimentCombo();
        OnShotCombo();
    }
    s.path =
        ComposeInputPath(s.sourceMode, s.archiveRoot, s.experiment, s.shot, GetRibbonEditText(ID_PathEdit));
}

void CSimulatorView::OnTransientSimulate()
{
    CSimulatorDoc* doc = GetDocument();
    if (!doc) return;
    // A run pumps the window's events: Start in any netlist window would nest a second run in it
    // and change the settings of the run in progress.
    if (CSimulatorDoc::AnyRunInProgress()) {
        ui().message(QStringLiteral("Simulation already in progress!"));
        return;
    }
    doc->SetNetlistText(NetlistText());
    ReadControls();
    Ribbon* ribbon = RibbonBar();
    RibbonProgress progress(ribbon ? ribbon->FindProgressBar(ID_Transient_Progress) : nullptr);
    // Setting up a large run takes a while before the steps start: the bar no longer shows the run
    // before meanwhile.
    progress.SetPos(0);
    if (doc->RunSimulation(&progress)) OnPlotTraces();
}

void CSimulatorView::OnPlotTraces()
{
    CSimulatorDoc* doc = GetDocument();
    if (!doc || !doc->ResultsValid()) return;
    // The exports write where the tab points now, which may differ from the folder of the run.
    ReadInputFolder();
    if (PlotTracesDialog* dialog = plotTracesDialog())
        dialog->Run(*doc, doc->Settings().path, doc->LinkedSchematic(), window());
}

void CSimulatorView::OnTransientAbort()
{
    if (CSimulatorDoc* doc = GetDocument()) doc->RequestStop();
}

void CSimulatorView::OnUpdateTransientSimulate(CmdUI& cmdUI)
{
    cmdUI.Enable(!CSimulatorDoc::AnyRunInProgress());
}

void CSimulatorView::OnUpdateTransientAbort(CmdUI& cmdUI)
{
    const CSimulatorDoc* doc = GetDocument();
    cmdUI.Enable(doc && doc->IsRunning());
}

void CSimulatorView::OnUpdatePlotTraces(CmdUI& cmdUI)
{
    const CSimulatorDoc* doc = GetDocument();
    cmdUI.Enable(doc && doc->ResultsValid());
}

void CSimulatorView::OnUpdateOrliskControls(CmdUI& cmdUI)
{
    const CSimulatorDoc* doc = GetDocument();
    cmdUI.Enable(doc && doc->Settings().sourceMode == kArchiveMode);
}

void CSimulatorView::OnUpdatePathEdit(CmdUI& cmdUI)
{
    const CSimulatorDoc* doc = GetDocument();
    cmdUI.Enable(doc && doc->Settings().sourceMode != kArchiveMode);
}
