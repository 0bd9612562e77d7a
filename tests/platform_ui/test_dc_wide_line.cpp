#include "DcPainter.h"
#include "DcWideLine.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <random>

namespace {

constexpr int kSize = 64;

QImage paper(double ratio = 1, QImage::Format format = QImage::Format_RGB32)
{
    QImage img(QSize(kSize, kSize) * ratio, format);
    img.fill(Qt::white);
    img.setDevicePixelRatio(ratio);
    return img;
}

// The pixels inked in either image (with `clip`, in `a` or in `b` within the clip) and those inked
// in one only.
std::pair<int, int> compare(const QImage& a, const QImage& b, QRect clip = {0, 0, kSize, kSize})
{
    int inked = 0, differ = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const bool p = qGray(a.pixel(x, y)) < 128, q = qGray(b.pixel(x, y)) < 128;
            const bool r = clip.contains(x, y) && p;
            inked += p || q;
            differ += r != q;
        }
    return {inked, differ};
}

// Random polylines, every second one with points stacked in columns as a thinned trace has them,
// and one without length, which leaves no mark.
std::vector<QPolygonF> polylines()
{
    std::mt19937 rng(7);
    const auto at = [&] { return 6 + int(rng() % (kSize - 12)); };
    std::vector<QPolygonF> out{{QPointF(20, 20), QPointF(20, 20)}};
    for (int i = 0; i < 60; ++i) {
        QPolygonF poly;
        if (i % 2) {
            for (int x = 6; x < kSize - 6; x += 1 + int(rng() % 3))
                for (int k = 1 + int(rng() % 4); k > 0; --k)
                    poly << QPointF(x, at());
        } else {
            for (int k = 2 + int(rng() % 5); k > 0; --k)
                poly << QPointF(at(), at());
        }
        out.push_back(poly);
    }
    return out;
}

TEST(WideLine, SetsThePixelsThePainterStrokesUpToEdgePixelsAndOnlyInsideTheClip)
{
    const QRect clip(20, 15, 17, 23);
    for (int width = 2; width <= 7; ++width) {
        int inked = 0, differ = 0;
        for (const QPolygonF& poly : polylines()) {
            QImage stroked = paper(), whole = paper(), clipped = paper();
            QPainter p(&stroked);
            p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(poly);
            p.end();
            const std::span points(poly.constData(), poly.size());
            FillRoundPolyline(PixelRows{whole.bits(), whole.bytesPerLine(), whole.rect()}, points, width,
                              0xFF000000u);
            FillRoundPolyline(PixelRows{clipped.bits(), clipped.bytesPerLine(), clip}, points, width,
                              0xFF000000u);
            const auto [n, d] = compare(stroked, whole);
            inked += n;
            differ += d;
            ASSERT_EQ(compare(whole, clipped, clip).second, 0) << width;
        }
        EXPECT_LT(differ, inked / 500) << "width " << width;
    }
}

// The context sets the pixels itself only where the painter would set the same: not with smoothed
// edges, and with twice the pixels a point, twice as wide.
TEST(WideLine, ThePainterContextDrawsAsThePainterWouldWhoeverSetsThePixels)
{
    const QPolygonF poly = polylines()[2];
    std::vector<QPoint> twips;
    for (QPointF p : poly)
        twips.emplace_back(int(p.x()) * 15, int(-p.y()) * 15); // 96 dots per inch
    const auto draw = [&](QImage img, bool antialias = false) {
        QPainter painter(&img);
        painter.setRenderHint(QPainter::Antialiasing, antialias);
        PainterDc dc(painter, QRect(0, 0, kSize, kSize), 96, 96);
        dc.SetMapMode(MM_TWIPS);
        dc.SelectObject(Pen(Pen::Solid, 45, QColor(0, 0, 255)));
        dc.Polyline(twips);
        return img;
    };
    const QImage direct = draw(paper());
    EXPECT_EQ(direct.pixelColor(int(poly[0].x()), int(poly[0].y())), QColor(0, 0, 255));
    const auto [inked, differ] = compare(direct, draw(paper(1, QImage::Format_RGB888)));
    EXPECT_LT(differ, inked / 100);
    EXPECT_NEAR(compare(direct, direct).first * 4, compare(draw(paper(2)), paper(2)).first, inked);

    const QImage smooth = draw(paper(), true);
    int between = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            between += smooth.pixelColor(x, y).blue() == 255 && smooth.pixelColor(x, y).red() % 255 != 0;
    EXPECT_GT(between, 20);
}

} // namespace
