#include "DcPainter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSet>

namespace {
const QColor kPaper(200, 200, 200);

// A grey 96-dots-per-inch image with a context on it.
struct Canvas {
    explicit Canvas(int w = 100, int h = 100) : image(w, h, QImage::Format_RGB32)
    {
        image.fill(kPaper);
        painter.begin(&image);
        dc = std::make_unique<PainterDc>(painter, image.rect(), 96, 96);
    }
    // Twips scaled by the zoom, the page's (0, 0) at the device point `origin`.
    void Twips(int zoom, QPoint origin = {})
    {
        dc->SetMapMode(MM_TWIPS);
        dc->SetMapMode(MM_ANISOTROPIC);
        dc->ScaleViewportExt(zoom, 100, zoom, 100);
        dc->SetViewportOrg(origin);
    }
    const QImage& Done()
    {
        dc.reset();
        painter.end();
        return image;
    }
    QImage image;
    QPainter painter;
    std::unique_ptr<PainterDc> dc;
};

bool dark(QRgb c)
{
    return qGray(c) < 100;
}

// The box of the dark pixels, and how many dark pixels each of its rows holds.
QRect inkBox(const QImage& img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (dark(img.pixel(x, y))) box |= QRect(x, y, 1, 1);
    return box;
}

int inkInRow(const QImage& img, int y)
{
    int n = 0;
    for (int x = 0; x < img.width(); ++x)
        n += dark(img.pixel(x, y));
    return n;
}

int inkInColumn(const QImage& img, int x, int y0, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        n += dark(img.pixel(x, y));
    return n;
}

struct ArcCase {
    const char* name;
    bool twips;
    Rect box;
    QPoint start, end;
    bool bulgesUp; // on the image
};

class DcArcTest : public ::testing::TestWithParam<ArcCase> {};

TEST_P(DcArcTest, RunsCounterclockwiseOnTheDeviceWhateverTheAxes)
{
    const ArcCase& c = GetParam();
    Canvas canvas;
    if (c.twips)
        canvas.Twips(100, QPoint(2, 2));
    else
        canvas.dc->SetViewportOrg(2, 2);
    canvas.dc->Arc(c.box, c.start, c.end);
    const QImage& img = canvas.Done();
    // The box is 96 pixels square from (2, 2): look near its top and bottom in the middle column.
    EXPECT_EQ(inkInColumn(img, 50, 0, 10) > 0, c.bulgesUp) << c.name;
    EXPECT_EQ(inkInColumn(img, 50, 90, 100) > 0, !c.bulgesUp) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Mappings, DcArcTest,
    ::testing::Values(
        // an inductor's hump on the y-up page: from the right end to the left end
        ArcCase{"twips", true, Rect{0, 0, 1440, -1440}, QPoint(1440, -720), QPoint(0, -720), true},
        ArcCase{"pixels", false, Rect{0, 0, 96, 96}, QPoint(96, 48), QPoint(0, 48), true},
        ArcCase{"pixels, left to right", false, Rect{0, 0, 96, 96}, QPoint(0, 48), QPoint(96, 48), false}),
    [](const auto& info) {
        return std::string(info.param.twips ? "Twips" : "Pixels") + std::to_string(info.index);
    });

TEST(DcPainter, TextStandsUprightBelowItsPointOnItsBackground)
{
    Canvas canvas(120, 80);
    canvas.Twips(100);
    canvas.dc->SelectObject(Font(600)); // a 40-pixel cell
    canvas.dc->SetBkColor(QColor(255, 255, 0));
    canvas.dc->TextOut(150, -150, QStringLiteral("T"));
    const QSize extent = canvas.dc->GetTextExtent(QStringLiteral("T"));
    const QImage& img = canvas.Done();

    EXPECT_NEAR(extent.height(), 600, 30);
    const QRect ink = inkBox(img);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.top(), 10);
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.bottom(), 50);
    // The bar of the T is at the top: an upside-down T has it at the bottom.
    EXPECT_GT(inkInRow(img, ink.top() + 1), 2 * inkInRow(img, ink.bottom() - 1));
    EXPECT_EQ(img.pixelColor(11, 11), QColor(255, 255, 0));
    EXPECT_EQ(img.pixelColor(9, 9), kPaper);
}

TEST(DcPainter, ShapesFillWithTheSelectedBrushWhiteAtFirst)
{
    Canvas canvas;
    Dc& dc = *canvas.dc;
    dc.Rectangle(0, 0, 30, 30);
    dc.SelectObject(Brush::NullBrush());
    dc.Ellipse(40, 0, 70, 30);
    dc.SelectObject(Brush::PatternBrush({0xF0, 0xF0, 0xF0, 0xF0, 0x0F, 0x0F, 0x0F, 0x0F}, QColor(0, 0, 255),
                                        QColor(255, 255, 255)));
    dc.SelectObject(Pen::NullPen());
    dc.Rectangle(0, 40, 40, 80);
    const QImage& img = canvas.Done();

    EXPECT_EQ(img.pixelColor(15, 15), QColor(255, 255, 255));
    EXPECT_TRUE(dark(img.pixel(0, 15))); // the outline
    EXPECT_EQ(img.pixelColor(55, 15), kPaper);
    QSet<QRgb> pattern;
    for (int y = 42; y < 78; ++y)
        for (int x = 2; x < 38; ++x)
            pattern.insert(img.pixel(x, y));
    EXPECT_EQ(pattern, (QSet<QRgb>{qRgb(0, 0, 255), qRgb(255, 255, 255)}));
}

TEST(DcPainter, PenWidthsAreLogicalWithOnePixelAtLeast)
{
    const struct {
        int zoom, width, pixels;
    } cases[] = {{100, 15, 1}, {100, 0, 1}, {1000, 15, 10}, {1000, 0, 1}, {500, 36, 12}};
    for (const auto& c : cases) {
        Canvas canvas;
        canvas.Twips(c.zoom, QPoint(0, 50));
        canvas.dc->SelectObject(Pen(Pen::Solid, c.width, QColor(0, 0, 0)));
        canvas.dc->MoveTo(0, 0);
        canvas.dc->LineTo(14400, 0);
        EXPECT_EQ(inkInColumn(canvas.Done(), 50, 0, 100), c.pixels) << c.zoom << " " << c.width;
    }
}

TEST(DcPainter, TextExtentsKeepTheirProportionsAtEveryZoom)
{
    const QString text = QStringLiteral("Time (ns) 0 5 10");
    Canvas canvas;
    canvas.Twips(100);
    canvas.dc->SelectObject(Font(200));
    const QSize at100 = canvas.dc->GetTextExtent(text);
    canvas.Twips(400);
    const QSize at400 = canvas.dc->GetTextExtent(text);
    EXPECT_NEAR(at100.height(), 200, 20);
    EXPECT_NEAR(at400.height(), 200, 10);
    EXPECT_NEAR(at400.width(), at100.width(), at100.width() * 0.05);
    // about half a cell a character in Arial's metrics
    EXPECT_NEAR(at100.width(), 100 * text.size(), 25 * text.size());
}

TEST(DcPainter, ClipLimitsPaintingUntilRestored)
{
    Canvas canvas;
    Dc& dc = *canvas.dc;
    dc.SaveDC();
    dc.IntersectClipRect(Rect{10, 10, 20, 20});
    dc.FillSolidRect(Rect{0, 0, 100, 100}, QColor(0, 0, 0));
    dc.RestoreDC(-1);
    dc.FillSolidRect(Rect{50, 50, 60, 60}, QColor(0, 0, 0));
    const QImage& img = canvas.Done();
    EXPECT_EQ(inkBox(img), QRect(10, 10, 50, 50));
    EXPECT_EQ(img.pixelColor(25, 15), kPaper);
    EXPECT_EQ(img.pixelColor(19, 19), QColor(0, 0, 0));
    EXPECT_EQ(img.pixelColor(20, 20), kPaper);
}
} // namespace
