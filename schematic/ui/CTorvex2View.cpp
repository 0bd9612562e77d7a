#include "CTorvex2View.h"

#include "CTorvex2Doc.h"
#include "CommandIds.h"
#include "Ribbon.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace {
const QString kSchematicTab = QStringLiteral("Schematic");
const QColor kBackground(160, 160, 160);

qint64 pageHeight(const Rect& page)
{
    return qint64(page.top) - page.bottom;
}
} // namespace

CTorvex2View::CTorvex2View()
{
    setAttribute(Qt::WA_OpaquePaintEvent); // the paint covers every pixel
    setMinimumSize(kMargin * 4, kMargin * 4);
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

void CTorvex2View::OnInitialUpdate()
{
    InstallInDocument();
    View::OnInitialUpdate();
    OnActivateView(true);
}

void CTorvex2View::OnUpdate(View*, int)
{
    update();
}

void CTorvex2View::OnActivateView(bool activate)
{
    if (Ribbon* ribbon = Ribbon::Main(); ribbon && activate)
        ribbon->SetActiveCategory(ribbon->FindCategory(kSchematicTab));
    View::OnActivateView(activate);
}

// Nothing is placed or dragged in this window, so there is no operation to end.
void CTorvex2View::CancelOperation() {}

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

// ---- the sheet ----

double CTorvex2View::Scale() const
{
    const CTorvex2Doc* doc = GetDocument();
    if (!doc) return 0;
    const qint64 w = doc->PageRect.Width(), h = pageHeight(doc->PageRect);
    if (w <= 0 || h <= 0) return 0;
    const double room =
        std::min(double(width() - 2 * kMargin) / double(w), double(height() - 2 * kMargin) / double(h));
    return std::max(room, 0.0);
}

QPointF CTorvex2View::ToWidget(double x, double y) const
{
    const CTorvex2Doc* doc = GetDocument();
    if (!doc) return {};
    const Rect& page = doc->PageRect;
    const double s = Scale();
    const double left = (width() - double(page.Width()) * s) / 2;
    const double top = (height() - double(pageHeight(page)) * s) / 2;
    return {left + (x - page.left) * s, top + (page.top - y) * s};
}

QRectF CTorvex2View::PageArea() const
{
    const CTorvex2Doc* doc = GetDocument();
    if (!doc) return {};
    const Rect& page = doc->PageRect;
    return QRectF(ToWidget(page.left, page.top), ToWidget(page.right, page.bottom));
}

void CTorvex2View::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), kBackground);
    const CTorvex2Doc* doc = GetDocument();
    const double s = Scale();
    if (!doc || s <= 0) return;
    painter.fillRect(PageArea(), Qt::white);

    const Rect& page = doc->PageRect;
    const qint64 left = qint64(page.left) + kFrameInset, right = qint64(page.right) - kFrameInset;
    const qint64 top = qint64(page.top) - kFrameInset, bottom = qint64(page.bottom) + kFrameInset;
    if (right <= left || top <= bottom) return;

    painter.setPen(QPen(Qt::black, 0));
    const QPointF corners[] = {ToWidget(left, top), ToWidget(right, top), ToWidget(right, bottom),
                               ToWidget(left, bottom), ToWidget(left, top)};
    painter.drawPolyline(corners, 5);

    const qint64 step = doc->GridSpacing;
    if (!doc->ShowGrid || step <= 0 || double(step) * s < kMinGridPixels) return;
    // Only the rows and columns that the repaint touches.
    const QRect clip = event->rect().adjusted(-1, -1, 1, 1);
    QPolygon row;
    for (qint64 y = top; y >= bottom; y -= step) {
        const int py = qRound(ToWidget(left, y).y());
        if (py < clip.top()) continue;
        if (py > clip.bottom()) break;
        row.clear();
        for (qint64 x = left; x <= right; x += step) {
            const int px = qRound(ToWidget(x, y).x());
            if (px > clip.right()) break;
            if (px >= clip.left()) row << QPoint(px, py);
        }
        painter.drawPoints(row);
    }
}
