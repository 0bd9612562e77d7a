#include "ZoomViewModel.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {
// The page a window falls back on when the page it was given has no area: 11 by 8.5 inches.
constexpr qint64 kDefaultPageWidth = 15840;
constexpr qint64 kDefaultPageHeight = 12240;

} // namespace

// ---- zoom ----

void ZoomViewModel::SetZoomSizes(const Rect& page)
{
    m_PercentSteps = true;
    m_PageStepPercent = 25;
    m_LineStepPercent = 5;
    m_PageRect = page;
    m_PageSize[0] = page.Width();
    m_PageSize[1] = std::abs(qint64(page.bottom) - page.top);
    const int oldMode = m_MapMode;
    m_MapMode = MM_TWIPS;
    ComputeDeviceSize();
    if (m_HasWindow) {
        UpdateBars();
        if (oldMode != m_MapMode) Invalidate();
    }
}

int ZoomViewModel::SetZoom(int zoom)
{
    const QPoint anchor = GetAnchorPoint(m_AnchorMode);
    const int old = m_Zoom;
    m_Zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (m_Zoom != old) {
        ComputeDeviceSize();
        if (m_HasWindow) {
            UpdateBars();
            ScrollToAnchor(m_AnchorMode, anchor);
            Invalidate();
        }
    }
    return old;
}

void ZoomViewModel::ZoomToFit()
{
    // The window as if no bars were shown, in twips at 100 %.
    QSize client;
    GetTrueClientSize(client);
    const DcMapping base = BaseMapping();
    const qint64 w = base.LogicalX(client.width()) - base.LogicalX(0);
    const qint64 h = std::abs(base.LogicalY(client.height()) - base.LogicalY(0));
    qint64 pageW = m_PageSize[0], pageH = m_PageSize[1];
    if (pageW <= 0 || pageH <= 0) {
        pageW = kDefaultPageWidth;
        pageH = kDefaultPageHeight;
    }
    const qint64 zx = std::min<qint64>(kMaxZoom, w * 100 / pageW);
    const qint64 zy = std::min<qint64>(kMaxZoom, h * 100 / pageH);
    m_Zoom = int(std::max<qint64>(kMinZoom, std::min(zx, zy) - 1));
    ComputeDeviceSize();
    if (m_HasWindow) {
        UpdateBars();
        Invalidate();
    }
}

void ZoomViewModel::ZoomToRect(const Rect& client)
{
    const DcMapping view = ViewMapping();
    // The page in client pixels, and the part of the rectangle on it.
    const qint64 pl = view.DeviceX(m_PageRect.left), pr = view.DeviceX(m_PageRect.right);
    const qint64 pt = view.DeviceY(m_PageRect.top), pb = view.DeviceY(m_PageRect.bottom);
    const qint64 left = std::max<qint64>(std::min(client.left, client.right), std::min(pl, pr));
    const qint64 right = std::min<qint64>(std::max(client.left, client.right), std::max(pl, pr));
    const qint64 top = std::max<qint64>(std::min(client.top, client.bottom), std::min(pt, pb));
    const qint64 bottom = std::min<qint64>(std::max(client.top, client.bottom), std::max(pt, pb));
    if (right <= left || bottom <= top) return;
    const qint64 lLeft = view.LogicalX(left), lRight = view.LogicalX(right);
    const qint64 lTop = view.LogicalY(top), lBottom = view.LogicalY(bottom);
    const qint64 lw = std::abs(lRight - lLeft), lh = std::abs(lTop - lBottom);
    if (lw == 0 || lh == 0) return;

    // The window as if both bars were shown, in twips at 100 %.
    QSize area = m_Client;
    if (!m_Bar[1]) area.rwidth() -= m_BarSize.width();
    if (!m_Bar[0]) area.rheight() -= m_BarSize.height();
    const DcMapping base = BaseMapping();
    const qint64 cw = base.LogicalX(area.width()) - base.LogicalX(0);
    const qint64 ch = std::abs(base.LogicalY(area.height()) - base.LogicalY(0));
    const qint64 zx = std::min<qint64>(kMaxZoom, cw * 100 / lw);
    const qint64 zy = std::min<qint64>(kMaxZoom, ch * 100 / lh);
    // A band much larger than the window asks for less than 10 %, which it gets; only a zoom
    // the mapping cannot scale by is kept from it.
    m_Zoom = int(std::max<qint64>(kMinMappedZoom, std::min(zx, zy)));
    ComputeDeviceSize();
    if (m_HasWindow) {
        UpdateBars();
        const QPoint anchor = m_AnchorMode == AnchorCentre ? QPoint(SaturateInt((lLeft + lRight) / 2),
                                                                    SaturateInt((lTop + lBottom) / 2))
                                                           : QPoint(SaturateInt(lLeft), SaturateInt(lTop));
        ScrollToAnchor(m_AnchorMode, anchor);
        Invalidate();
    }
}

void ZoomViewModel::ComputeDeviceSize()
{
    DcMapping m = BaseMapping();
    m.ScaleViewportExt(m_Zoom, 100, m_Zoom, 100);
    m_DeviceSize[0] = std::abs(m.DeviceX(m_PageSize[0]));
    m_DeviceSize[1] = std::abs(m.DeviceY(m_PageSize[1]));
}

// ---- mapping ----

void ZoomViewModel::PrepareDC(Dc& dc) const
{
    if (m_MapMode) dc.SetMapMode(m_MapMode);
    dc.SetMapMode(MM_ANISOTROPIC);
}

void ZoomViewModel::OnPrepareDC(Dc& dc, bool printing) const
{
    PrepareDC(dc);
    if (printing) {
        dc.SetViewportOrg(0, 0);
        return;
    }
    dc.ScaleViewportExt(m_Zoom, 100, m_Zoom, 100);
    dc.SetWindowOrg(m_PageRect.left, m_PageRect.top);
    dc.SetViewportOrg(-m_Position);
}

DcMapping ZoomViewModel::BaseMapping() const
{
    DcMapping m;
    if (m_MapMode) m.SetMode(m_MapMode, m_Dpi[0], m_Dpi[1]);
    m.SetMode(MM_ANISOTROPIC, m_Dpi[0], m_Dpi[1]);
    return m;
}

DcMapping ZoomViewModel::ZoomedMapping() const
{
    DcMapping m = BaseMapping();
    m.ScaleViewportExt(m_Zoom, 100, m_Zoom, 100);
    m.SetWindowOrg(QPoint(m_PageRect.left, m_PageRect.top));
    return m;
}

DcMapping ZoomViewModel::ViewMapping() const
{
    DcMapping m = ZoomedMapping();
    m.SetViewportOrg(-m_Position);
    return m;
}

QPoint ZoomViewModel::ClientToPage(QPoint client) const
{
    const DcMapping m = ViewMapping();
    return QPoint(SaturateInt(m.LogicalX(client.x())), SaturateInt(m.LogicalY(client.y())));
}

QPoint ZoomViewModel::PageToClient(QPoint page) const
{
    const DcMapping m = ViewMapping();
    return QPoint(SaturateInt(m.DeviceX(page.x())), SaturateInt(m.DeviceY(page.y())));
}

Rect ZoomViewModel::PageToClient(const Rect& page) const
{
    const QPoint a = PageToClient(QPoint(page.left, page.top)),
                 b = PageToClient(QPoint(page.right, page.bottom));
    return Rect{a.x(), a.y(), b.x(), b.y()};
}

// ---- anchor ----

QPoint ZoomViewModel::GetAnchorPoint(int mode) const
{
    if (mode == 0) mode = m_AnchorMode;
    qint64 x = m_Position.x(), y = m_Position.y();
    if (mode == AnchorCentre) {
        if (m_Bar[1])
            y += m_Client.height() / 2;
        else
            y = m_DeviceSize[1] / 2;
        if (m_Bar[0])
            x += m_Client.width() / 2;
        else
            x = m_DeviceSize[0] / 2;
    }
    const DcMapping m = ZoomedMapping();
    return QPoint(SaturateInt(m.LogicalX(x)), SaturateInt(m.LogicalY(y)));
}

void ZoomViewModel::ScrollToAnchor(int mode, QPoint page)
{
    if (mode == 0) mode = m_AnchorMode;
    const DcMapping m = ZoomedMapping();
    qint64 x = m.DeviceX(page.x()), y = m.DeviceY(page.y());
    if (mode == AnchorCentre) {
        y -= m_Client.height() / 2;
        x -= m_Client.width() / 2;
    }
    ScrollTo(QPoint(int(std::clamp<qint64>(x, 0, m_Range[0])), int(std::clamp<qint64>(y, 0, m_Range[1]))));
    BarsChanged();
}

QPoint ZoomViewModel::ScrollTo(QPoint position)
{
    const QPoint old = m_Position;
    m_Position = position;
    if (old != position) ScrollWindow(old.x() - position.x(), old.y() - position.y());
    return old;
}

// ---- scroll bars ----

void ZoomViewModel::AttachWindow(QSize client, QSize barSizes, int dpiX, int dpiY)
{
    m_HasWindow = true;
    m_Client = client;
    m_BarSize = barSizes;
    m_Dpi[0] = std::max(dpiX, 1);
    m_Dpi[1] = std::max(dpiY, 1);
    ComputeDeviceSize();
}

void ZoomViewModel::OnSize(QSize client)
{
    m_Client = client;
    UpdateBars();
}

bool ZoomViewModel::GetTrueClientSize(QSize& size) const
{
    size = m_Client;
    if (m_Bar[1]) size.rwidth() += m_BarSize.width();
    if (m_Bar[0]) size.rheight() += m_BarSize.height();
    return size.width() > m_BarSize.width() && size.height() > m_BarSize.height();
}

ZoomViewModel::BarState ZoomViewModel::GetScrollBarState(QSize trueClient) const
{
    BarState s;
    s.range[0] = m_DeviceSize[0] - trueClient.width();
    s.range[1] = m_DeviceSize[1] - trueClient.height();
    s.move = m_Position;
    s.need[0] = s.range[0] > 0;
    if (!s.need[0])
        s.move.rx() = 0;
    else
        s.range[1] += m_BarSize.height(); // the bar takes room from the client
    s.need[1] = s.range[1] > 0;
    if (!s.need[1])
        s.move.ry() = 0;
    else
        s.range[0] += m_BarSize.width();
    // The vertical bar may have made the page wider than what is left of the window.
    if (s.need[1] && !s.need[0] && s.range[0] > 0) {
        s.need[0] = true;
        s.range[1] += m_BarSize.height();
    }
    if (s.range[0] > 0 && s.move.x() >= s.range[0]) s.move.rx() = SaturateInt(s.range[0]);
    if (s.range[1] > 0 && s.move.y() >= s.range[1]) s.move.ry() = SaturateInt(s.range[1]);
    return s;
}

void ZoomViewModel::UpdateBars()
{
    // Showing or hiding a bar resizes the window, which calls here again.
    if (m_InUpdate) return;
    m_InUpdate = true;
    QSize client;
    if (!GetTrueClientSize(client)) {
        if (m_Client.width() > 0 && m_Client.height() > 0) {
            m_Bar[0] = m_Bar[1] = false;
            m_Range[0] = m_Range[1] = 0;
            m_Client = client;
            BarsChanged();
        }
        m_InUpdate = false;
        return;
    }
    if (m_PercentSteps) {
        m_PageStep = QSize(MulDiv(m_PageStepPercent, client.width(), 100),
                           MulDiv(m_PageStepPercent, client.height(), 100));
        m_LineStep = QSize(MulDiv(m_LineStepPercent, client.width(), 100),
                           MulDiv(m_LineStepPercent, client.height(), 100));
    }
    const BarState s = GetScrollBarState(client);
    ScrollTo(s.move);
    for (int axis = 0; axis < 2; ++axis) {
        m_Bar[axis] = s.need[axis];
        m_Range[axis] = s.need[axis] ? SaturateInt(std::max<qint64>(s.range[axis], 0)) : 0;
    }
    m_Client = QSize(client.width() - (m_Bar[1] ? m_BarSize.width() : 0),
                     client.height() - (m_Bar[0] ? m_BarSize.height() : 0));
    BarsChanged();
    m_InUpdate = false;
}

QPoint ZoomViewModel::ScrollTarget(unsigned code, int pos) const
{
    const auto step = [pos](unsigned request, qint64 current, int line, int page) -> qint64 {
        switch (request) {
        case SB_TOP:
            return 0;
        case SB_BOTTOM:
            return INT_MAX;
        case SB_LINEUP:
            return current - line;
        case SB_LINEDOWN:
            return current + line;
        case SB_PAGEUP:
            return current - page;
        case SB_PAGEDOWN:
            return current + page;
        case SB_THUMBTRACK:
            return pos;
        default:
            return current;
        }
    };
    return QPoint(
        SaturateInt(step(code & 0xFF, m_Position.x(), m_LineStep.width(), m_PageStep.width())),
        SaturateInt(step((code >> 8) & 0xFF, m_Position.y(), m_LineStep.height(), m_PageStep.height())));
}

bool ZoomViewModel::OnScroll(unsigned code, int pos, bool doScroll)
{
    const QPoint to = ScrollTarget(code, pos);
    const bool moved = OnScrollBy(
        QPoint(SaturateInt(qint64(to.x()) - m_Position.x()), SaturateInt(qint64(to.y()) - m_Position.y())),
        doScroll);
    if (moved && doScroll) UpdateWindow();
    return moved;
}

bool ZoomViewModel::OnMouseWheel(QPoint angle, bool sideways, int lines)
{
    qint64 across = angle.x(), down = angle.y();
    if (sideways && across == 0) std::swap(across, down);
    const auto amount = [lines](qint64 turn, int line, int page) {
        const qint64 pixels = -turn * lines * line / 120;
        return int(std::clamp<qint64>(pixels, -page, page));
    };
    const bool moved = OnScrollBy(QPoint(amount(across, m_LineStep.width(), m_PageStep.width()),
                                         amount(down, m_LineStep.height(), m_PageStep.height())));
    if (moved) UpdateWindow();
    return moved;
}

bool ZoomViewModel::OnScrollBy(QPoint delta, bool doScroll)
{
    // An axis without a bar does not move.
    const qint64 dx = m_Bar[0] ? delta.x() : 0, dy = m_Bar[1] ? delta.y() : 0;
    const int x = int(std::clamp<qint64>(m_Position.x() + dx, 0, m_Range[0]));
    const int y = int(std::clamp<qint64>(m_Position.y() + dy, 0, m_Range[1]));
    if (x == m_Position.x() && y == m_Position.y()) return false;
    if (doScroll) {
        ScrollTo(QPoint(x, y));
        BarsChanged();
    }
    return true;
}
