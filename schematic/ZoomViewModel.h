#pragma once

#include "Dc.h"
#include "Rect.h"

#include <QPoint>
#include <QSize>

// Scroll-bar request codes.
enum ScrollCode {
    SB_LINEUP = 0,
    SB_LINEDOWN = 1,
    SB_PAGEUP = 2,
    SB_PAGEDOWN = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_BOTTOM = 7,
    SB_ENDSCROLL = 8,
};

// The zoom and scroll bookkeeping of a zooming view, apart from any widget: a page in twips, a zoom
// percent, the device size of the page at that zoom, and the classic scroll-view rules for which
// bars are shown, their ranges and positions. The window reports its client size and bar sizes;
// the model answers through the three window hooks. Device sizes and positions are 64-bit
// internally, so a page of any size a file can hold maps without overflow.
class ZoomViewModel {
public:
    static constexpr int kMinZoom = 10;
    static constexpr int kMaxZoom = 1000;
    // The smallest zoom the view's coordinates hold: the mapping scales the page by zoom/100, and a
    // zero factor collapses it to a point (nothing maps back) while a negative one turns it over.
    static constexpr int kMinMappedZoom = 1;
    enum Anchor { AnchorTopLeft = 1, AnchorCentre = 3 };

    ZoomViewModel() = default;
    virtual ~ZoomViewModel() = default;

    // ---- zoom ----
    // Takes the page (twips, y upward) and starts the page and line steps at 25 % and 5 % of the
    // window.
    void SetZoomSizes(const Rect& page);
    // Zooms to the percent, kept within 10..1000, keeping the anchor point in place; returns the
    // previous percent.
    int SetZoom(int zoom);
    // The largest zoom, less one, at which the whole page fits the window (bars not counted).
    void ZoomToFit();
    // Zooms so that a rectangle of the window (client pixels, left < right, top < bottom) fills
    // it, without the limits of SetZoom: a band larger than the window zooms below 10 % (not below
    // kMinMappedZoom). A rectangle that misses the page or has no width or height on it in twips
    // changes nothing.
    void ZoomToRect(const Rect& client);
    int Zoom() const { return m_Zoom; }
    int AnchorMode() const { return m_AnchorMode; }
    void SetAnchorMode(int mode) { m_AnchorMode = mode; }
    const Rect& PageRect() const { return m_PageRect; }
    // The page in device pixels at the current zoom.
    qint64 DeviceWidth() const { return m_DeviceSize[0]; }
    qint64 DeviceHeight() const { return m_DeviceSize[1]; }
    QSize PageStep() const { return m_PageStep; }
    QSize LineStep() const { return m_LineStep; }

    // ---- mapping ----
    // Twips, free to be scaled; neither zoom nor origins.
    void PrepareDC(Dc& dc) const;
    // The full mapping for drawing: zoomed, the page's top-left at the window origin, scrolled.
    // Printing maps at 100 % with the viewport origin at (0, 0), so paper shows true size.
    void OnPrepareDC(Dc& dc, bool printing) const;
    // The screen mapping that OnPrepareDC gives, for converting without a context.
    DcMapping ViewMapping() const;
    QPoint ClientToPage(QPoint client) const;
    QPoint PageToClient(QPoint page) const;
    Rect PageToClient(const Rect& page) const;

    // ---- anchor ----
    // The page point under the anchor position (0: the stored anchor mode).
    QPoint GetAnchorPoint(int mode = 0) const;
    // Scrolls the page point to the anchor position, as far as the bars allow.
    void ScrollToAnchor(int mode, QPoint page);

    // ---- scroll bars ----
    QPoint GetDeviceScrollPosition() const { return m_Position; }
    void UpdateBars();
    // code: horizontal request in the low byte, vertical in the high byte (0xFF: that axis stays);
    // true when anything moved.
    bool OnScroll(unsigned code, int pos, bool doScroll = true);
    // Where OnScroll would move to, before the bars' limits.
    QPoint ScrollTarget(unsigned code, int pos) const;
    bool OnScrollBy(QPoint delta, bool doScroll = true);
    // The wheel turned by `angle` (eighths of a degree, 120 a notch, positive away from the user):
    // each notch scrolls `lines` line steps up or down, or sideways when `sideways` (Shift held) or
    // the wheel itself turns sideways, never more than a page step at once; true when anything moved.
    bool OnMouseWheel(QPoint angle, bool sideways, int lines);
    void OnHScroll(int code, int pos) { OnScroll(0xFF00u | unsigned(code & 0xFF), pos); }
    void OnVScroll(int code, int pos) { OnScroll((unsigned(code & 0xFF) << 8) | 0xFFu, pos); }

    // ---- the window ----
    // Client size without the bars shown, the bars' thickness (the vertical bar's width, the
    // horizontal bar's height) and the screen's dots per inch.
    void AttachWindow(QSize client, QSize barSizes, int dpiX, int dpiY);
    void OnSize(QSize client);
    QSize ClientSize() const { return m_Client; }
    bool HorizontalBarShown() const { return m_Bar[0]; }
    bool VerticalBarShown() const { return m_Bar[1]; }
    // The bars' ranges 0..max; 0 for a hidden bar.
    QSize ScrollRange() const { return QSize(m_Range[0], m_Range[1]); }

protected:
    // Repaint the whole window.
    virtual void Invalidate() {}
    // The window's contents move by (dx, dy) pixels.
    virtual void ScrollWindow(int dx, int dy) {}
    // Repaint what is invalid now.
    virtual void UpdateWindow() {}
    // Shown bars, ranges or positions changed.
    virtual void BarsChanged() {}

private:
    struct BarState {
        bool need[2];
        qint64 range[2];
        QPoint move;
    };
    void ComputeDeviceSize();
    // The client area with the shown bars counted in; false when it cannot hold the bars.
    bool GetTrueClientSize(QSize& size) const;
    BarState GetScrollBarState(QSize trueClient) const;
    // The screen mapping of PrepareDC: twips, free to be scaled, no origins.
    DcMapping BaseMapping() const;
    // The mapping of PrepareDC, scaled by the zoom, with the page's top-left at the window origin.
    DcMapping ZoomedMapping() const;
    QPoint ScrollTo(QPoint position);

    // The page and zoom.
    int m_MapMode = 0;
    qint64 m_PageSize[2] = {0, 0};
    Rect m_PageRect;
    qint64 m_DeviceSize[2] = {0, 0};
    QSize m_PageStep;
    QSize m_LineStep;
    bool m_InUpdate = false;
    int m_Zoom = 100;
    int m_PageStepPercent = 0;
    int m_LineStepPercent = 0;
    bool m_PercentSteps = false;
    int m_AnchorMode = AnchorTopLeft;

    // The window.
    bool m_HasWindow = false;
    int m_Dpi[2] = {96, 96};
    QSize m_Client;
    QSize m_BarSize;
    bool m_Bar[2] = {false, false};
    int m_Range[2] = {0, 0};
    QPoint m_Position;
};
