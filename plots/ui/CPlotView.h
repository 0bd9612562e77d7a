#pragma once

#include "CZoomView.h"

#include <QPoint>
#include <QRect>

#include <memory>

class CPlotComponent;
class CPlotDataViewer;
class CPlotDoc;

// The window of a plot: the plot's page, zoomed and scrolled. A left drag draws a dotted band:
// with the select tool it highlights the annotations it meets, with Shift held it shows the axes'
// part inside it, with the zoom tool it zooms the window to it (a click zooms in about the point).
// A double click scales the axes to the traces again, a right double click fits the page to the
// window. The data viewer lists the traces' values at a typed time.
class CPlotView : public CZoomView {
    Q_OBJECT
public:
    // What the left button does.
    enum ToolMode {
        SelectMode = 0,
        SelectBandMode = 2,
        ZoomToolMode = 3,
        ZoomBandMode = 5,
    };

    CPlotView();
    ~CPlotView() override;

    CPlotDoc* GetDocument() const;
    int ToolMode() const { return m_ToolMode; }
    CPlotDataViewer& DataViewer() const { return *m_DataViewer; }

    void OnInitialUpdate() override;
    // Shows the ribbon's Home tab, which holds the plot's tools.
    void OnActivateView(bool activate) override;
    void OnUpdate(View* sender, int hint) override;
    void OnDraw(Dc& dc) override;

    // ---- commands ----
    void OnZoomTool();
    void OnZoomOut();
    void OnZoomToFit();
    void OnZoomActualSize();
    // Back to the select tool: a band in progress is dropped and nothing stays highlighted.
    void OnSelectTool();
    void OnViewPlotData();

protected:
    void OnLButtonDown(unsigned flags, QPoint point) override;
    void OnMouseMove(unsigned flags, QPoint point) override;
    void OnLButtonUp(unsigned flags, QPoint point) override;
    void OnLButtonDblClk(unsigned flags, QPoint point) override;
    void OnRButtonDblClk(unsigned flags, QPoint point) override;
    void OnContextMenu(QPoint point) override;
    void OnKeyUp(int key, Qt::KeyboardModifiers modifiers) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SetToolMode(int mode);
    // A page rectangle in client pixels, as a rectangle of the window.
    QRect ClientRect(const Rect& page) const;
    void InvalidateAround(const Rect& page, int pixels);

    // The band of the current press: made at the press, spanned to the mouse, removed at the
    // release or when the tool is left. Only this band is ever acted on.
    void BeginBand(QPoint page);
    CPlotComponent* Band() const;
    void SpanBand(CPlotComponent& band, QPoint page);
    void DropBand();
    // The band is a click when the mouse came up where it went down.
    static bool IsClick(const CPlotComponent& band, QPoint page);

    void EndBandZoomAxes(CPlotComponent& band, QPoint page);
    void EndBandZoomTool(CPlotComponent& band, QPoint page);
    void EndBandSelect(CPlotComponent& band, unsigned flags);
    void MoveHighlighted(QPoint page);

    int m_ToolMode = SelectMode;
    CPlotComponent* m_Band = nullptr;
    // Moving the highlighted annotations: from a press on one of them to the release.
    bool m_Moving = false;
    bool m_Moved = false;
    QPoint m_MoveFrom;
    bool m_FitUntilPainted = false;
    std::unique_ptr<CPlotDataViewer> m_DataViewer;
};
