#include "DcPainter.h"
#include "DcWideLine.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <random>

namespace {

constexpr int kSize = 64;

QImage blank(QImage::Format format = QImage::Format_RGB32)
{
    QImage img(kSize, kSize, format);
    img.fill(Qt::white);
    return img;
}

bool ink(const QImage& img, int x, int y)
{
    return qGray(img.pixel(x, y)) < 128;
}

QImage stroked(const QPolygonF& poly, int width)
{
    QImage img = blank();
    QPainter p(&img);
    p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(poly);
    return img;
}

QImage filled(const QPolygonF& poly, double width, QRect clip = QRect(0, 0, kSize, kSize))
{
    QImage img = blank();
    FillRoundPolyline(PixelRows{img.bits(), img.bytesPerLine(), clip},
                      std::span(poly.constData(), poly.size()), width, 0xFF000000u);
    return img;
}

// Pixels inked in one image and not the other, each of which must lie on the other's edge.
int differences(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 1; y < kSize - 1; ++y)
        for (int x = 1; x < kSize - 1; ++x) {
            if (ink(a, x, y) == ink(b, x, y)) continue;
            ++n;
            bool edge = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    edge |= ink(a, x + dx, y + dy) && ink(b, x + dx, y + dy);
            EXPECT_TRUE(edge) << "at " << x << "," << y;
        }
    return n;
}

int inkCount(const QImage& img, QRect area = QRect(0, 0, kSize, kSize))
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += ink(img, x, y);
    return n;
}

// Random polylines, half of them with points stacked in columns as a thinned trace has them.
std::vector<QPolygonF> polylines()
{
    std::mt19937 rng(7);
    std::vector<QPolygonF> out;
    for (int i = 0; i < 60; ++i) {
        QPolygonF poly;
        if (i % 2) {
            for (int x = 6; x < kSize - 6; x += 1 + int(rng() % 3))
                for (int k = 1 + int(rng() % 4); k > 0; --k)
                    poly << QPointF(x, 6 + int(rng() % (kSize - 12)));
        } else {
            for (int k = 2 + int(rng() % 5); k > 0; --k)
                poly << QPointF(6 + int(rng() % (kSize - 12)), 6 + int(rng() % (kSize - 12)));
        }
        out.push_back(poly);
    }
    return out;
}

TEST(WideLine, CoversThePixelsThePainterStrokesUpToSingleEdgePixels)
{
    const std::vector<QPolygonF> cases = polylines();
    for (int width = 2; width <= 7; ++width) {
        int diff = 0, total = 0;
        for (const QPolygonF& poly : cases) {
            const QImage painter = stroked(poly, width);
            diff += differences(painter, filled(poly, width));
            total += inkCount(painter);
        }
        EXPECT_LT(diff, total / 500) << "width " << width;
    }
}

TEST(WideLine, StraightLinesAreAsWideAsThePenAndEndRound)
{
    for (int width = 2; width <= 6; ++width) {
        const QImage across = filled(QPolygonF{QPointF(10, 20), QPointF(50, 20)}, width);
        const QImage down = filled(QPolygonF{QPointF(20, 10), QPointF(20, 50)}, width);
        EXPECT_EQ(inkCount(across, QRect(30, 0, 1, kSize)), width) << width;
        EXPECT_EQ(inkCount(down, QRect(0, 30, kSize, 1)), width) << width;
        // the ends reach half the width beyond the points, narrower than the line
        EXPECT_EQ(inkCount(across, QRect(0, 0, 10 - width / 2, kSize)), 0) << width;
        if (width > 2) {
            EXPECT_LT(inkCount(across, QRect(10 - width / 2, 0, 1, kSize)), width) << width;
        }
    }
    EXPECT_EQ(inkCount(filled(QPolygonF{QPointF(20, 20), QPointF(20, 20)}, 4)), 0);
}

TEST(WideLine, StaysInsideTheClip)
{
    const QRect clip(20, 15, 17, 23);
    for (const QPolygonF& poly : polylines()) {
        const QImage whole = filled(poly, 5);
        const QImage clipped = filled(poly, 5, clip);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                ASSERT_EQ(ink(clipped, x, y), clip.contains(x, y) && ink(whole, x, y)) << x << "," << y;
    }
}

// The context sets the pixels itself only where the painter would draw the same; elsewhere the
// painter draws, with the same outcome.
TEST(WideLine, ThePainterContextDrawsTheSameWhoeverSetsThePixels)
{
    const QPolygonF poly = polylines()[1];
    std::vector<QPoint> twips;
    for (QPointF p : poly)
        twips.emplace_back(int(p.x()) * 15, int(-p.y()) * 15); // 96 dots per inch
    const auto draw = [&](QImage img, double ratio, bool antialias) {
        img.setDevicePixelRatio(ratio);
        QPainter painter(&img);
        painter.setRenderHint(QPainter::Antialiasing, antialias);
        PainterDc dc(painter, QRect(0, 0, kSize, kSize), 96, 96);
        dc.SetMapMode(MM_TWIPS);
        dc.SelectObject(Pen(Pen::Solid, 45, QColor(0, 0, 255)));
        dc.Polyline(twips);
        painter.end();
        return img;
    };
    const QImage direct = draw(blank(), 1, false);
    EXPECT_EQ(direct.pixelColor(int(poly[0].x()), int(poly[0].y())), QColor(0, 0, 255));
    EXPECT_LT(differences(direct, draw(blank(QImage::Format_RGB888), 1, false)), inkCount(direct) / 100);

    // Smoothed edges are the painter's: pixels between ink and paper.
    const QImage smooth = draw(blank(), 1, true);
    int between = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            between += smooth.pixelColor(x, y).blue() == 255 && smooth.pixelColor(x, y).red() % 255 != 0;
    EXPECT_GT(between, 20);

    // Twice the pixels a point: the line twice as wide.
    QImage sharp(kSize * 2, kSize * 2, QImage::Format_RGB32);
    sharp.fill(Qt::white);
    sharp = draw(sharp, 2, false);
    EXPECT_NEAR(double(inkCount(sharp, sharp.rect())), 4.0 * inkCount(direct), inkCount(direct) * 0.5);
}

} // namespace
