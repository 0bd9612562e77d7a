#include "CPlotView.h"

#include "CMemDCA.h"
#include "CPlotDataViewer.h"
#include "CPlotDoc.h"
#include "CommandIds.h"
#include "Ribbon.h"

#include <QCursor>
#include <QMdiSubWindow>
#include <QPixmap>

#include <algorithm>

namespace {
#include "resources/cursors/zoom.xpm"

// Kind of annotation that the press hit test takes with a margin; the program makes none itself.
constexpr qint32 kMarginKind = 5;

const QCursor& zoomCursor()
{
    static const QCursor cursor(QPixmap(zoom_cursor_xpm), 12, 12);
    return cursor;
}
} // namespace

CPlotView::CPlotView() : m_DataViewer(std::make_unique<CPlotDataViewer>())
{
    MapCommand(ID_Zoom_Tool, [this] { OnZoomTool(); });
    MapUpdate(ID_Zoom_Tool, [this](CmdUI& cmdUI) { cmdUI.Enable(Zoom() < kMaxZoom); });
    MapCommand(ID_Zoom_Out, [this] { OnZoomOut(); });
    MapUpdate(ID_Zoom_Out, [this](CmdUI& cmdUI) { cmdUI.Enable(Zoom() > kMinZoom); });
    MapCommand(ID_Zoom_Fit, [this] { OnZoomToFit(); });
    MapCommand(ID_Zoom_ActualSize, [this] { OnZoomActualSize(); });
    MapUpdate(ID_Zoom_ActualSize, [this](CmdUI& cmdUI) {
        cmdUI.Enable();
        cmdUI.SetCheck(Zoom() == 100);
    });
    MapCommand(ID_Parts_First, [this] { OnSelectTool(); });
    MapCommand(ID_ViewPlotData, [this] { OnViewPlotData(); });
}

CPlotView::~CPlotView() = default;

CPlotDoc* CPlotView::GetDocument() const
{
    return dynamic_cast<CPlotDoc*>(View::GetDocument());
}

void CPlotView::OnInitialUpdate()
{
    if (const CPlotDoc* doc = GetDocument()) SetZoomSizes(doc->PageRect);
    SetAnchorMode(AnchorCentre);
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()); frame && frame->mdiArea())
        frame->showMaximized();
    ZoomToFit();
    m_FitUntilPainted = true;
    SetToolMode(SelectMode);
}

void CPlotView::OnActivateView(bool activate)
{
    if (Ribbon* ribbon = Ribbon::Main(); ribbon && activate)
        ribbon->SetActiveCategory(ribbon->FindCategory(QStringLiteral("Home")));
    CZoomView::OnActivateView(activate);
}

// A new window is laid out in its frame after it was made: until it is first painted, the page is
// fitted to each new size.
void CPlotView::resizeEvent(QResizeEvent* event)
{
    CZoomView::resizeEvent(event);
    if (m_FitUntilPainted) ZoomToFit();
}

void CPlotView::paintEvent(QPaintEvent* event)
{
    m_FitUntilPainted = false;
    CZoomView::paintEvent(event);
}

void CPlotView::OnUpdate(View*, int)
{
    Invalidate();
}

void CPlotView::OnDraw(Dc& dc)
{
    CMemDCA mem(dc);
    CPlotDoc* doc = GetDocument();
    if (!doc) return;
    doc->DrawPlot(mem);
    const QRect clip = ToQRect(mem.LPtoDP(mem.GetClipBox()));
    for (const auto& a : doc->Annotations())
        if (ToQRect(mem.LPtoDP(a->Bounds)).adjusted(-1, -1, 1, 1).intersects(clip)) a->Draw(mem);
}

// ---- tools and commands ----

void CPlotView::SetToolMode(int mode)
{
    m_ToolMode = mode;
    switch (mode) {
    case SelectMode:
    case SelectBandMode:
        viewport()->setCursor(Qt::ArrowCursor);
        break;
    case ZoomToolMode:
        viewport()->setCursor(zoomCursor());
        break;
    default:
        break; // the cursor of the mode before
    }
}

void CPlotView::OnSelectTool()
{
    DropBand();
    m_Moving = false;
    if (CPlotDoc* doc = GetDocument())
        for (const auto& a : doc->Annotations())
            a->Highlighted = 0;
    SetToolMode(SelectMode);
    Invalidate();
}

void CPlotView::OnZoomTool()
{
    OnSelectTool();
    SetToolMode(ZoomToolMode);
}

void CPlotView::OnZoomOut()
{
    SetZoom(MulDiv(707, Zoom(), 1000));
}

void CPlotView::OnZoomToFit()
{
    ZoomToFit();
}

void CPlotView::OnZoomActualSize()
{
    SetZoom(100);
}

void CPlotView::OnViewPlotData()
{
    m_DataViewer->SetDocument(GetDocument());
    // Owned by the program's window, the viewer stays above it rather than behind it once the
    // plot is clicked; it remains a window of its own.
    if (m_DataViewer->parentWidget() != window())
        m_DataViewer->setParent(window(), m_DataViewer->windowFlags());
    m_DataViewer->show();
    m_DataViewer->raise();
}

// ---- bands ----

QRect CPlotView::ClientRect(const Rect& page) const
{
    return ToQRect(PageToClient(page));
}

void CPlotView::InvalidateAround(const Rect& page, int pixels)
{
    InvalidateClient(ClientRect(page).adjusted(-pixels, -pixels, pixels, pixels));
}

void CPlotView::BeginBand(QPoint page)
{
    DropBand();
    CPlotComponent* band = GetDocument()->AddComponent();
    band->Kind = CPlotComponent::kDottedFrame;
    band->Anchor = page;
    band->Bounds = Rect{page.x(), page.y(), page.x(), page.y()};
    m_Band = band;
}

CPlotComponent* CPlotView::Band() const
{
    const CPlotDoc* doc = GetDocument();
    if (!m_Band || !doc) return nullptr;
    for (const auto& a : doc->Annotations())
        if (a.get() == m_Band) return m_Band;
    return nullptr;
}

void CPlotView::SpanBand(CPlotComponent& band, QPoint page)
{
    const Rect old = band.Bounds;
    band.Bounds = Rect{std::min(band.Anchor.x(), page.x()), std::max(band.Anchor.y(), page.y()),
                       std::max(band.Anchor.x(), page.x()), std::min(band.Anchor.y(), page.y())};
    InvalidateClient(ClientRect(old).united(ClientRect(band.Bounds)).adjusted(-2, -2, 2, 2));
}

void CPlotView::DropBand()
{
    CPlotComponent* band = Band();
    m_Band = nullptr;
    if (!band) return;
    InvalidateAround(band->Bounds, 2);
    GetDocument()->Annotations().remove_if([band](const auto& a) { return a.get() == band; });
}

bool CPlotView::IsClick(const CPlotComponent& band, QPoint page)
{
    return page == band.Anchor;
}

// ---- the mouse ----

void CPlotView::OnLButtonDown(unsigned flags, QPoint point)
{
    CPlotDoc* doc = GetDocument();
    if (!doc) return;
    const QPoint page = ClientToPage(point);
    if (m_ToolMode == ZoomToolMode) {
        BeginBand(page);
    } else if (m_ToolMode == SelectMode) {
        if (flags & MK_SHIFT) {
            SetToolMode(ZoomBandMode);
            BeginBand(page);
            return;
        }
        for (const auto& a : doc->Annotations()) {
            QRect r = ClientRect(a->Bounds);
            if (a->Kind == kMarginKind) r.adjust(-3, -3, 3, 3);
            if (!r.contains(point)) continue;
            if (a->Highlighted && !(flags & MK_CONTROL)) {
                m_Moving = true;
                m_Moved = false;
                m_MoveFrom = page;
            }
            return;
        }
        SetToolMode(SelectBandMode);
        BeginBand(page);
    }
}

void CPlotView::OnMouseMove(unsigned flags, QPoint point)
{
    const QPoint page = ClientToPage(point);
    if (m_Moving && m_ToolMode == SelectMode) {
        // A release the view never saw ends the move too.
        if (flags & MK_LBUTTON)
            MoveHighlighted(page);
        else
            m_Moving = false;
        return;
    }
    if (m_ToolMode != SelectBandMode && m_ToolMode != ZoomToolMode && m_ToolMode != ZoomBandMode) return;
    if (CPlotComponent* band = Band()) SpanBand(*band, page);
}

void CPlotView::MoveHighlighted(QPoint page)
{
    const QPoint by = page - m_MoveFrom;
    m_MoveFrom = page;
    if (by.isNull()) return;
    for (const auto& a : GetDocument()->Annotations()) {
        if (!a->Highlighted) continue;
        InvalidateAround(a->Bounds, 2);
        a->Anchor += by;
        a->Bounds = Rect{a->Bounds.left + by.x(), a->Bounds.top + by.y(), a->Bounds.right + by.x(),
                         a->Bounds.bottom + by.y()};
        InvalidateAround(a->Bounds, 2);
        m_Moved = true;
    }
}

void CPlotView::OnLButtonUp(unsigned flags, QPoint point)
{
    const QPoint page = ClientToPage(point);
    if (std::exchange(m_Moving, false)) {
        MoveHighlighted(page);
        if (m_Moved) GetDocument()->SetModifiedFlag(true);
        return;
    }
    CPlotComponent* band = Band();
    if (!band) return;
    SpanBand(*band, page);
    switch (m_ToolMode) {
    case ZoomBandMode:
        EndBandZoomAxes(*band, page);
        break;
    case ZoomToolMode:
        EndBandZoomTool(*band, page);
        break;
    case SelectBandMode:
        EndBandSelect(*band, flags);
        break;
    default:
        break;
    }
    DropBand();
    Invalidate();
}

void CPlotView::EndBandZoomAxes(CPlotComponent& band, QPoint page)
{
    if (IsClick(band, page)) return; // the mode stays until the tool is left
    // However thin, a band shows the axes inside it; one without width or height has no axes
    // inside, and the plot keeps its own.
    GetDocument()->ZoomToRect(band.Bounds);
    SetToolMode(SelectMode);
}

void CPlotView::EndBandZoomTool(CPlotComponent& band, QPoint page)
{
    if (IsClick(band, page)) {
        SetZoom(MulDiv(1000, Zoom(), 707));
        ScrollToAnchor(AnchorCentre, band.Anchor);
        return;
    }
    ZoomToRect(PageToClient(band.Bounds));
    SetToolMode(SelectMode);
}

void CPlotView::EndBandSelect(CPlotComponent& band, unsigned flags)
{
    SetToolMode(SelectMode);
    const QRect swept = ClientRect(band.Bounds);
    for (const auto& a : GetDocument()->Annotations()) {
        if (a.get() == &band) continue;
        if (!(flags & MK_CONTROL)) a->Highlighted = 0;
        if (ClientRect(a->Bounds).adjusted(-1, -1, 1, 1).intersects(swept)) a->Highlighted = 1;
    }
}

void CPlotView::OnLButtonDblClk(unsigned, QPoint)
{
    if (m_ToolMode != SelectMode) {
        OnSelectTool();
        return;
    }
    if (CPlotDoc* doc = GetDocument()) doc->AutoScale();
    Invalidate();
}

void CPlotView::OnRButtonDblClk(unsigned, QPoint)
{
    ZoomToFit();
}

void CPlotView::OnContextMenu(QPoint)
{
    if (m_ToolMode == ZoomToolMode)
        OnZoomOut();
    else
        OnSelectTool();
}

void CPlotView::OnKeyUp(int key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_Escape) {
        OnSelectTool();
        return;
    }
    if (key != Qt::Key_Delete || m_ToolMode != SelectMode) return;
    CPlotDoc* doc = GetDocument();
    if (!doc) return;
    PlotComponentList& list = doc->Annotations();
    if (!list.empty() && list.back()->Highlighted) list.pop_back();
    Invalidate();
    doc->CheckPoint();
    doc->SetModifiedFlag(true);
}
