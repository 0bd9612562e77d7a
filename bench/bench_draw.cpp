// Painting cost of a zooming view full of primitives.
//
//   frame/ZOOM     the whole window (1600 by 1000) repainted through the off-screen context, the
//                  page at the zoom that fits it (0) or at a fixed percent
//   repaint/SIZE   only a SIZE by SIZE pixel area of the window invalidated, as a rubber band or a
//                  moved part does: the cost follows the area, not the drawing's size
//
// The page holds 10,000 lines, 2,000 circles and 2,000 labels at random places.
#include "CMemDCA.h"
#include "DcPainter.h"
#include "ZoomViewModel.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <random>
#include <vector>

namespace {

const Rect kPage{0, 0, 15840, -12240};
const QSize kWindow(1600, 1000);

struct Scene {
    std::vector<QPoint> lines; // pairs
    std::vector<Rect> circles;
    std::vector<std::pair<QPoint, QString>> labels;

    Scene()
    {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> x(1080, 14760), y(-11160, -1080), d(-400, 400);
        for (int i = 0; i < 10000; ++i) {
            const QPoint a(x(random), y(random));
            lines.push_back(a);
            lines.push_back(a + (i % 2 ? QPoint(d(random), 0) : QPoint(0, d(random))));
        }
        for (int i = 0; i < 2000; ++i) {
            const QPoint c(x(random), y(random));
            circles.push_back(Rect{c.x() - 72, c.y() + 72, c.x() + 72, c.y() - 72});
        }
        for (int i = 0; i < 2000; ++i)
            labels.emplace_back(QPoint(x(random), y(random)), QStringLiteral("R%1").arg(i + 1));
    }

    void Draw(Dc& dc) const
    {
        dc.FillSolidRect(kPage, QColor(255, 255, 255));
        const Pen oldPen = dc.SelectObject(Pen(Pen::Solid, 15, QColor(0, 128, 0)));
        for (size_t i = 0; i < lines.size(); i += 2) {
            dc.MoveTo(lines[i]);
            dc.LineTo(lines[i + 1]);
        }
        for (const Rect& r : circles)
            dc.Ellipse(r);
        dc.SelectObject(Font(200));
        for (const auto& [at, text] : labels)
            dc.TextOut(at.x(), at.y(), text);
        dc.SelectObject(oldPen);
    }
};

const Scene& scene()
{
    static const Scene s;
    return s;
}

struct View : ZoomViewModel {
    explicit View(int zoom)
    {
        AttachWindow(kWindow, QSize(16, 16), 96, 96);
        SetAnchorMode(AnchorCentre);
        SetZoomSizes(kPage);
        if (zoom == 0)
            ZoomToFit();
        else
            SetZoom(zoom);
    }
};

void paint(QImage& window, const View& view, QRect clip)
{
    QPainter painter(&window);
    PainterDc dc(painter, clip, 96, 96);
    view.OnPrepareDC(dc, false);
    CMemDCA mem(dc);
    scene().Draw(mem);
}

void BM_Frame(benchmark::State& state)
{
    const View view(int(state.range(0)));
    QImage window(kWindow, QImage::Format_RGB32);
    for (auto _ : state)
        paint(window, view, window.rect());
    state.counters["zoom"] = view.Zoom();
}
BENCHMARK(BM_Frame)->Name("frame")->Arg(0)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

void BM_Repaint(benchmark::State& state)
{
    const View view(0);
    QImage window(kWindow, QImage::Format_RGB32);
    const int size = int(state.range(0));
    for (auto _ : state)
        paint(window, view, QRect(QPoint(700, 400), QSize(size, size)));
}
BENCHMARK(BM_Repaint)->Name("repaint")->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);

} // namespace
