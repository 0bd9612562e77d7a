#include "CTorvex2View.h"

#include "CMemDCA.h"
#include "CTorvex2Doc.h"
#include "CommandIds.h"
#include "ComponentListCheck.h"
#include "ComponentTypeId.h"
#include "DocManager.h"
#include "NetlistDocuments.h"
#include "Ribbon.h"
#include "RibbonComboList.h"
#include "SchematicClipboard.h"
#include "SchematicCursors.h"
#include "SchematicSheet.h"
#include "UiServices.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>

#include <cmath>

namespace {
const QString kSchematicTab = QStringLiteral("Schematic");

QClipboard* systemClipboard()
{
    return QGuiApplication::clipboard();
}

// The main window does not repaint and the wait cursor shows while the netlist is written.
class BusyWindow {
public:
    BusyWindow()
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (m_Window = QApplication::activeWindow(); m_Window) m_Window->setUpdatesEnabled(false);
    }
    ~BusyWindow()
    {
        if (m_Window) m_Window->setUpdatesEnabled(true);
        QApplication::restoreOverrideCursor();
    }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

private:
    QPointer<QWidget> m_Window;
};
} // namespace

CTorvex2View::CTorvex2View() : m_Editor(*this, *this)
{
    MapCommandRange(ID_Parts_First, ID_Parts_Last, [this](int id) {
        m_Editor.OnPartsTool(id);
        UpdateCursor();
    });
    MapUpdateRange(ID_Parts_First, ID_Parts_Last,
                   [this](CmdUI& cmdUI) { cmdUI.SetCheck(cmdUI.ID() == m_Editor.CurrentTool() ? 1 : 0); });
    MapCommandRange(ID_Grid_Show, ID_Grid_SnapOff, [this](int id) { m_Editor.OnGridCommand(id); });
    MapUpdateRange(ID_Grid_Show, ID_Grid_SnapOff, [this](CmdUI& cmdUI) {
        cmdUI.SetCheck(m_Editor.IsGridCommandChecked(cmdUI.ID()) ? 1 : 0);
    });
    MapCommandRange(ID_Zoom_Tool, ID_Zoom_ActualSize, [this](int id) {
        m_FitPending = false;
        m_Editor.OnZoomCommand(id);
        UpdateCursor();
    });
    MapUpdateRange(ID_Zoom_Tool, ID_Zoom_ActualSize, [this](CmdUI& cmdUI) {
        cmdUI.Enable(m_Editor.IsZoomCommandEnabled(cmdUI.ID()));
        cmdUI.SetCheck(m_Editor.IsZoomCommandChecked(cmdUI.ID()) ? 1 : 0);
    });
    MapCommand(ID_EDIT_UNDO, [this] {
        m_Editor.OnEditUndo();
        UpdateCursor();
    });
    MapUpdate(ID_EDIT_UNDO, [this](CmdUI& cmdUI) { cmdUI.Enable(m_Editor.CanUndo()); });
    MapCommand(ID_EDIT_REDO, [this] {
        m_Editor.OnEditRedo();
        UpdateCursor();
    });
    MapUpdate(ID_EDIT_REDO, [this](CmdUI& cmdUI) { cmdUI.Enable(m_Editor.CanRedo()); });
    MapCommand(ID_EDIT_COPY, [this] { OnEditCopy(); });
    MapUpdate(ID_EDIT_COPY, [this](CmdUI& cmdUI) { cmdUI.Enable(m_Editor.CanCopy()); });
    MapCommand(ID_EDIT_CUT, [this] { OnEditCut(); });
    MapUpdate(ID_EDIT_CUT, [this](CmdUI& cmdUI) { cmdUI.Enable(m_Editor.CanCopy()); });
    MapCommand(ID_EDIT_PASTE, [this] { OnEditPaste(); });
    MapUpdate(ID_EDIT_PASTE,
              [](CmdUI& cmdUI) { cmdUI.Enable(clipboard::HasPayload(systemClipboard()->mimeData())); });
    MapCommand(ID_Parts_Netlist, [this] { OnCreateNetlist(); });
    MapCommand(ID_ButtonListComponents, [this] { OnListComponents(); });
    // Without a component list window (a window of its own, tests) the command is off.
    MapUpdate(ID_ButtonListComponents,
              [this](CmdUI& cmdUI) { cmdUI.Enable(GetDocument() && componentListWindow()); });
    // The page commands belong to the document; they reach it through its window.
    MapCommandRange(ID_PageSizeA, ID_PageSizeC, [this](int id) {
        if (CTorvex2Doc* doc = GetDocument()) doc->OnPageSize(id);
    });
    MapUpdateRange(ID_PageSizeA, ID_PageSizeC, [this](CmdUI& cmdUI) {
        const CTorvex2Doc* doc = GetDocument();
        cmdUI.Enable(doc && doc->IsPageSizeEnabled(cmdUI.ID()));
    });
}

CTorvex2View::~CTorvex2View()
{
    LeaveDocument();
}

CTorvex2Doc* CTorvex2View::GetDocument() const
{
    return dynamic_cast<CTorvex2Doc*>(View::GetDocument());
}

// ---- life of the window ----

void CTorvex2View::OnInitialUpdate()
{
    InstallInDocument();
    CTorvex2Doc* doc = GetDocument();
    m_Editor.SetDocument(doc);
    if (doc) {
        m_Page = doc->PageRect;
        SetZoomSizes(m_Page);
    }
    SetAnchorMode(AnchorCentre);
    ZoomToFit();
    m_FitPending = true;
    OnActivateView(true);
    m_Editor.UpdateJunctions();
    UpdateCursor();
}

void CTorvex2View::OnUpdate(View*, int)
{
    CTorvex2Doc* doc = GetDocument();
    if (doc && !(doc->PageRect == m_Page)) {
        m_Page = doc->PageRect;
        SetZoomSizes(m_Page);
    }
    m_Editor.OnDocumentChanged();
    UpdateCursor();
    viewport()->update();
}

void CTorvex2View::OnActivateView(bool activate)
{
    if (Ribbon* ribbon = Ribbon::Main(); ribbon && activate)
        ribbon->SetActiveCategory(ribbon->FindCategory(kSchematicTab));
    View::OnActivateView(activate);
}

void CTorvex2View::CancelOperation()
{
    m_Editor.CancelOperation();
    UpdateCursor();
}

void CTorvex2View::UpdateAllViews()
{
    if (m_Installed) m_Installed->UpdateAllViews(nullptr);
}

void CTorvex2View::InstallInDocument()
{
    CTorvex2Doc* doc = GetDocument();
    if (!doc || doc == m_Installed) return;
    LeaveDocument();
    doc->SetViews(this);
    m_Installed = doc;
    m_InstalledAlive = doc->Liveness();
}

// The document may outlive this window (another window of it stays open) or be gone already (its
// windows are destroyed after it); only a living document hears of the change.
void CTorvex2View::LeaveDocument()
{
    CTorvex2Doc* doc = m_Installed;
    m_Installed = nullptr;
    m_Editor.SetDocument(nullptr);
    if (!doc || m_InstalledAlive.expired()) return;
    m_InstalledAlive.reset();
    CTorvex2View* next = nullptr;
    for (View* view : doc->Views())
        if (auto* other = dynamic_cast<CTorvex2View*>(view); other && other != this) {
            next = other;
            break;
        }
    doc->SetViews(next);
    if (next) {
        next->m_Installed = doc;
        next->m_InstalledAlive = doc->Liveness();
    }
}

// ---- painting ----

void CTorvex2View::OnDraw(Dc& dc)
{
    CMemDCA mem(dc);
    m_Editor.Draw(mem);
}

void CTorvex2View::resizeEvent(QResizeEvent* event)
{
    CZoomView::resizeEvent(event);
    if (m_FitPending) ZoomToFit();
}

void CTorvex2View::Repaint()
{
    viewport()->update();
}

void CTorvex2View::RepaintPage(const Rect& page)
{
    // Wide enough for the symbols' pens and the pins' dots at any zoom.
    const int pen = int(std::ceil(15.0 * Zoom() / 100.0 * logicalDpiX() / 1440.0));
    InvalidatePage(page, pen + 6);
}

void CTorvex2View::DocumentChanged()
{
    if (CTorvex2Doc* doc = GetDocument()) doc->UpdateAllViews(this);
}

void CTorvex2View::UpdateCursor()
{
    int id = 0;
    if (m_Editor.EditMode() == SchematicEditor::Placing)
        id = m_Editor.CurrentTool() == TypeWire ? cursors::IDC_Wire : cursors::IDC_Place;
    else if (m_Editor.EditMode() == SchematicEditor::Zooming)
        id = cursors::IDC_Zoom;
    viewport()->setCursor(cursors::Get(id));
}

// ---- input ----

void CTorvex2View::OnLButtonDown(unsigned flags, QPoint point)
{
    m_FitPending = false;
    m_Editor.OnLButtonDown(flags, point);
    UpdateCursor();
}

void CTorvex2View::OnLButtonUp(unsigned flags, QPoint point)
{
    m_Editor.OnLButtonUp(flags, point);
    UpdateCursor();
}

void CTorvex2View::OnLButtonDblClk(unsigned flags, QPoint point)
{
    m_Editor.OnLButtonDblClk(flags, point);
    UpdateCursor();
}

void CTorvex2View::OnMouseMove(unsigned flags, QPoint point)
{
    m_Editor.OnMouseMove(flags, point);
}

void CTorvex2View::OnContextMenu(QPoint point)
{
    m_FitPending = false;
    m_Editor.OnRButtonUp(0, point);
    UpdateCursor();
}

void CTorvex2View::OnKeyUp(int key, Qt::KeyboardModifiers)
{
    m_Editor.OnKeyUp(key);
    UpdateCursor();
}

// ---- the clipboard ----

void CTorvex2View::CopySelectionToClipboard(bool keepSelection)
{
    const QByteArray payload = m_Editor.CopySelection(keepSelection);
    if (payload.isEmpty()) return;
    systemClipboard()->setMimeData(clipboard::MakeMimeData(payload, Zoom()));
}

void CTorvex2View::OnEditCopy()
{
    if (m_Editor.CanCopy()) CopySelectionToClipboard(false);
}

void CTorvex2View::OnEditCut()
{
    if (!m_Editor.CanCopy()) return;
    CopySelectionToClipboard(true);
    m_Editor.DeleteSelection();
}

void CTorvex2View::OnEditPaste()
{
    m_Editor.Paste(clipboard::Payload(systemClipboard()->mimeData()));
    UpdateCursor();
}

// ---- the component list and the netlist ----

void CTorvex2View::RunRepair(CTorvex2Doc& doc)
{
    // The window must not hold on to objects the repair may delete, nor leave a half-placed part.
    m_Editor.CancelOperation();
    const bool repaired = RunComponentListDialog(doc);
    m_Editor.OnDocumentChanged();
    if (!repaired) return;
    doc.SetModifiedFlag(true);
    doc.CheckPoint();
    m_Editor.UpdateJunctions();
    doc.UpdateAllViews(this);
}

void CTorvex2View::OnListComponents()
{
    if (CTorvex2Doc* doc = GetDocument()) RunRepair(*doc);
    UpdateCursor();
}

bool CTorvex2View::ListReadyForNetlist(CTorvex2Doc& doc)
{
    if (CheckComponentList(doc.Components())) return true;
    if (componentListWindow() &&
        ui().question(NetlistRepairOffer(), UiServices::Buttons::YesNo) == UiServices::Answer::Yes) {
        RunRepair(doc);
        if (CheckComponentList(doc.Components())) return true;
    }
    ui().message(NetlistRefused());
    return false;
}

void CTorvex2View::SetRibbonEditText(int id, const QString& text)
{
    if (Ribbon* ribbon = Ribbon::Main())
        if (QLineEdit* edit = ribbon->FindEdit(id)) edit->setText(text);
}

void CTorvex2View::CopyRunSettingsToRibbon(const CTorvex2Doc& doc)
{
    SetRibbonEditText(ID_Transient_StartTime, doc.StartTime);
    SetRibbonEditText(ID_Transient_TimeStep, doc.TimeStep);
    SetRibbonEditText(ID_Transient_TimeSpan, doc.TimeSpan);
    Ribbon* ribbon = Ribbon::Main();
    if (!ribbon) return;
    // The lists keep one item per choice: a choice they hold is selected, a new one added.
    RibbonComboList(ribbon->FindComboBox(IDC_OrliskRootCombo)).SelectOrAdd(doc.ArchiveRoot);
    RibbonComboList(ribbon->FindComboBox(IDC_Value)).SelectOrAdd(doc.Experiment);
    RibbonComboList(ribbon->FindComboBox(IDC_OrliskShotCombo)).SelectOrAdd(doc.Shot);
    RibbonComboList mode(ribbon->FindComboBox(IDC_FilePathCombo));
    if (const int index = int(mode.Items().indexOf(doc.InputMode)); index >= 0) mode.Select(index);
    SetRibbonEditText(ID_PathEdit, doc.InputPath);
}

void CTorvex2View::OnCreateNetlist()
{
    CTorvex2Doc* doc = GetDocument();
    if (!doc) return;
    m_Editor.CancelOperation();
    UpdateCursor();
    if (!ListReadyForNetlist(*doc)) return;
    std::optional<QString> text;
    {
        CTorvex2Doc::BusyScope busy(*doc);
        BusyWindow wait;
        text = doc->CreateNetlistText();
    }
    if (!text) return;
    // The writer names the nodes on the pins and may set the input path.
    viewport()->update();
    CopyRunSettingsToRibbon(*doc);

    if (DocManager* manager = DocManager::Instance())
        netlist_documents::OpenNew(*manager, *text, doc->RunSettingsLink());
}
