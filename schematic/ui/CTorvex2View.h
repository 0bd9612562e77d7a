#pragma once

#include "SchematicViews.h"
#include "View.h"

#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <memory>

class CTorvex2Doc;

// The window of a schematic document. For now it shows the drawing sheet only: the page scaled to
// fit the window, its frame and, when the document shows it, the grid. Objects and editing come
// with the editing view.
class CTorvex2View : public QWidget, public View, public SchematicViews {
    Q_OBJECT
public:
    // Space left around the page, in pixels.
    static constexpr int kMargin = 8;
    // The frame lies this far inside the page edges, in twips.
    static constexpr int kFrameInset = 1080;
    // Grid dots closer than this, in pixels, would merge into a grey area: they are not drawn.
    static constexpr double kMinGridPixels = 3.0;

    CTorvex2View();
    ~CTorvex2View() override;

    QWidget* Widget() override { return this; }
    CTorvex2Doc* GetDocument() const;

    void OnInitialUpdate() override;
    void OnUpdate(View* sender, int hint) override;
    void OnActivateView(bool activate) override;

    // SchematicViews
    void CancelOperation() override;
    void UpdateAllViews() override;

    // Pixels per twip at which the page fits the window; 0 without a document.
    double Scale() const;
    // A point of the page (twips, y upward) in widget pixels.
    QPointF ToWidget(double x, double y) const;
    // The page in widget pixels.
    QRectF PageArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The document's views learn about each other through the one this view installs.
    void InstallInDocument();
    void LeaveDocument();

    CTorvex2Doc* m_Installed = nullptr;
    // Expires with the installed document.
    std::weak_ptr<const void> m_InstalledAlive;
};
