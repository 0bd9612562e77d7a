#pragma once

#include "MouseFlags.h"
#include "View.h"
#include "ZoomViewModel.h"

#include <QAbstractScrollArea>

class QPagedPaintDevice;

// The base of the drawing views: a window onto a page in twips, zoomed and scrolled by the
// ZoomViewModel rules, painted flicker-free, printed on one sheet at true size. A view gives its
// page with SetZoomSizes (usually in OnInitialUpdate), draws it in OnDraw and handles the mouse in
// the On... handlers, whose points are client pixels: ClientToPage turns them into page twips.
class CZoomView : public QAbstractScrollArea, public View, public ZoomViewModel {
    Q_OBJECT
public:
    explicit CZoomView(QWidget* parent = nullptr);
    ~CZoomView() override;

    QWidget* Widget() override { return this; }

    // Draws the page in twips; the context is mapped for the screen (zoomed and scrolled) or, when
    // it is printing, at true size. On the screen every pixel of the clip area must be painted
    // (a CMemDCA around the drawing does that).
    virtual void OnDraw(Dc& dc) = 0;

    // ---- printing ----
    // The print dialog (none when direct), then the page on the chosen printer.
    bool OnFilePrint(bool direct = false);
    // The preview in the view's frame.
    void OnFilePrintPreview();
    // The page as a PDF file at the given path; false, after a message, when it was not written.
    bool PrintToPdf(const QString& path);
    // Draws the page on one sheet of the printer; false when the printer did not take it.
    bool PrintPage(QPagedPaintDevice& printer);

protected:
    // ---- window hooks of the model ----
    void Invalidate() override;
    void ScrollWindow(int dx, int dy) override;
    void BarsChanged() override;

    // Repaints the part of the window that shows a page rectangle, enlarged by some pixels.
    void InvalidatePage(const Rect& page, int inflatePixels = 0);
    void InvalidateClient(const QRect& client);

    // ---- input; points in client pixels, flags from MouseFlag ----
    virtual void OnLButtonDown(unsigned flags, QPoint point) {}
    virtual void OnLButtonUp(unsigned flags, QPoint point) {}
    virtual void OnLButtonDblClk(unsigned flags, QPoint point) {}
    virtual void OnRButtonDown(unsigned flags, QPoint point) {}
    // By default a context-menu request, which follows a right-button release.
    virtual void OnRButtonUp(unsigned flags, QPoint point);
    virtual void OnRButtonDblClk(unsigned flags, QPoint point) {}
    virtual void OnMouseMove(unsigned flags, QPoint point) {}
    // From the right button or the keyboard; the point is in client pixels.
    virtual void OnContextMenu(QPoint point) {}
    // A key released (auto-repeats do not count); key is a Qt::Key.
    virtual void OnKeyUp(int key, Qt::KeyboardModifiers modifiers) {}

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void OnBarAction(Qt::Orientation orientation, int action);
    QSize BarSizes() const;

    // Set while the bars are brought in line with the model, whose own scrolling is done.
    bool m_Syncing = false;
};
