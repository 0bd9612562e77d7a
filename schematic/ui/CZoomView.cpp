#include "CZoomView.h"

#include "CommandIds.h"
#include "DcPainter.h"
#include "PrintPreviewHost.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPagedPaintDevice>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace {
unsigned mouseFlags(const QMouseEvent* event)
{
    unsigned flags = 0;
    const Qt::MouseButtons buttons = event->buttons();
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (event->modifiers() & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (event->modifiers() & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

QPoint clientPoint(const QMouseEvent* event)
{
    return event->position().toPoint();
}
} // namespace

CZoomView::CZoomView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    // The view paints every pixel of what it repaints.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button held reach the view too.
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { OnBarAction(Qt::Horizontal, action); });
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { OnBarAction(Qt::Vertical, action); });
    AttachWindow(viewport()->size(), BarSizes(), logicalDpiX(), logicalDpiY());

    MapCommand(ID_FILE_PRINT, [this] { OnFilePrint(false); });
    MapCommand(ID_FILE_PRINT_DIRECT, [this] { OnFilePrint(true); });
    MapCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
}

CZoomView::~CZoomView() = default;

QSize CZoomView::BarSizes() const
{
    return QSize(verticalScrollBar()->sizeHint().width(), horizontalScrollBar()->sizeHint().height());
}

// ---- printing ----

bool CZoomView::PrintPage(QPagedPaintDevice& printer)
{
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    {
        PainterDc dc(painter, true);
        OnPrepareDC(dc, true);
        OnDraw(dc);
    }
    return painter.end();
}

bool CZoomView::OnFilePrint(bool direct)
{
    return viewprint::Print(
        this, [this](QPagedPaintDevice& printer) { return PrintPage(printer); }, direct);
}

void CZoomView::OnFilePrintPreview()
{
    viewprint::Preview(this, [this](QPagedPaintDevice& printer) { return PrintPage(printer); });
}

bool CZoomView::PrintToPdf(const QString& path)
{
    return viewprint::PrintToPdf(path, [this](QPagedPaintDevice& printer) { return PrintPage(printer); });
}

// ---- the model's window ----

void CZoomView::Invalidate()
{
    viewport()->update();
}

void CZoomView::ScrollWindow(int dx, int dy)
{
    viewport()->scroll(dx, dy);
}

void CZoomView::BarsChanged()
{
    // Showing a bar resizes the window, which may bring the bars in line again from in here.
    const bool syncing = std::exchange(m_Syncing, true);
    const QSize range = ScrollRange(), client = ClientSize();
    const QPoint position = GetDeviceScrollPosition();
    QScrollBar* bars[2] = {horizontalScrollBar(), verticalScrollBar()};
    const bool shown[2] = {HorizontalBarShown(), VerticalBarShown()};
    const int ranges[2] = {range.width(), range.height()};
    const int lines[2] = {LineStep().width(), LineStep().height()};
    const int pages[2] = {client.width(), client.height()};
    const int values[2] = {position.x(), position.y()};
    for (int axis = 0; axis < 2; ++axis) {
        bars[axis]->setRange(0, ranges[axis]);
        bars[axis]->setSingleStep(std::max(lines[axis], 1));
        // The thumb shows the window's share of the page; a page request still moves by the page step.
        bars[axis]->setPageStep(std::max(pages[axis], 1));
        bars[axis]->setValue(values[axis]);
    }
    setHorizontalScrollBarPolicy(shown[0] ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(shown[1] ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    m_Syncing = syncing;
}

void CZoomView::OnBarAction(Qt::Orientation orientation, int action)
{
    int code;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        code = SB_LINEDOWN;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        code = SB_LINEUP;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = SB_PAGEDOWN;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = SB_PAGEUP;
        break;
    case QAbstractSlider::SliderToMinimum:
        code = SB_TOP;
        break;
    case QAbstractSlider::SliderToMaximum:
        code = SB_BOTTOM;
        break;
    default:
        return; // dragging the thumb and the wheel move the bar themselves
    }
    // The bar has taken its own step already; the view's steps replace it before it is applied.
    const bool horizontal = orientation == Qt::Horizontal;
    const QPoint to =
        ScrollTarget(horizontal ? (0xFF00u | unsigned(code)) : ((unsigned(code) << 8) | 0xFFu), 0);
    QScrollBar* bar = horizontal ? horizontalScrollBar() : verticalScrollBar();
    bar->setSliderPosition(std::clamp(horizontal ? to.x() : to.y(), bar->minimum(), bar->maximum()));
}

void CZoomView::scrollContentsBy(int dx, int dy)
{
    if (m_Syncing) return;
    // A bar moved by the user: the model follows and moves the contents.
    const QPoint now(horizontalScrollBar()->value(), verticalScrollBar()->value());
    OnScrollBy(now - GetDeviceScrollPosition());
}

void CZoomView::InvalidatePage(const Rect& page, int inflatePixels)
{
    InvalidateClient(
        ToQRect(PageToClient(page)).adjusted(-inflatePixels, -inflatePixels, inflatePixels, inflatePixels));
}

void CZoomView::InvalidateClient(const QRect& client)
{
    viewport()->update(client);
}

// ---- painting and size ----

void CZoomView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    PainterDc dc(painter, event->rect(), logicalDpiX(), logicalDpiY());
    OnPrepareDC(dc, false);
    OnDraw(dc);
}

void CZoomView::resizeEvent(QResizeEvent*)
{
    OnSize(viewport()->size());
}

// ---- input ----

void CZoomView::OnRButtonUp(unsigned, QPoint point)
{
    OnContextMenu(point);
}

void CZoomView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(mouseFlags(event), clientPoint(event));
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(mouseFlags(event), clientPoint(event));
}

void CZoomView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(mouseFlags(event), clientPoint(event));
    else if (event->button() == Qt::RightButton)
        OnRButtonUp(mouseFlags(event), clientPoint(event));
}

void CZoomView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDblClk(mouseFlags(event), clientPoint(event));
    else if (event->button() == Qt::RightButton)
        OnRButtonDblClk(mouseFlags(event), clientPoint(event));
}

void CZoomView::mouseMoveEvent(QMouseEvent* event)
{
    OnMouseMove(mouseFlags(event), clientPoint(event));
}

void CZoomView::contextMenuEvent(QContextMenuEvent* event)
{
    // The mouse's request comes with the right button's release; only the keyboard's comes here.
    if (event->reason() == QContextMenuEvent::Keyboard) OnContextMenu(event->pos());
    event->accept();
}

void CZoomView::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat()) OnKeyUp(event->key(), event->modifiers());
    QAbstractScrollArea::keyReleaseEvent(event);
}

void CZoomView::wheelEvent(QWheelEvent* event)
{
    // The view's own steps, not the bars': the bars may be hidden, and Shift turns the wheel sideways.
    OnMouseWheel(event->angleDelta(), event->modifiers() & Qt::ShiftModifier,
                 QApplication::wheelScrollLines());
    event->accept();
}
