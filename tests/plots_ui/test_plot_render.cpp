// A plot painted into an image, as a window, a printer or a PDF file shows it.
#include "DcPainter.h"
#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>

namespace {

// The page at 96 dots per inch: 15 twips a pixel, the plot area from (96, 96) to (864, 672), the
// legend's lines beyond x = 883.
QImage render(CPlotDoc& doc)
{
    QImage image(1056, 816, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PainterDc dc(painter, image.rect(), 96, 96);
    dc.SetMapMode(MM_TWIPS);
    doc.DrawPlot(dc);
    return image;
}

bool inColumn(const QImage& image, int x, int fromY, int toY, QColor colour)
{
    for (int y = fromY; y <= toY; ++y)
        if (image.pixelColor(x, y) == colour) return true;
    return false;
}

TEST(PlotRender, FrameAndTracesInTheirColoursClippedToThePlotArea)
{
    std::vector<double> wave(2001);
    for (size_t k = 0; k < wave.size(); ++k)
        wave[k] = std::sin(double(k) * 0.01) * 3;
    CPlotDoc doc;
    setTraces(doc, {makeTrace(0, 1e-9, wave), makeTrace(0, 2e-6, {-2, 2})});
    doc.AutoScale(); // values from -4 to 4
    const QImage fit = render(doc);
    const QColor blue(0, 0, 200), green(0, 0xAA, 0);
    EXPECT_EQ(fit.pixelColor(96, 96), QColor(0, 0, 0));
    EXPECT_EQ(fit.pixelColor(480, 672), QColor(0, 0, 0));
    EXPECT_TRUE(inColumn(fit, 300, 96, 672, blue));
    EXPECT_TRUE(inColumn(fit, 480, 382, 386, green)); // crossing 0 in the middle
    EXPECT_FALSE(inColumn(fit, 480, 96, 380, green));

    doc.ZoomToRect(Rect{5000, -4000, 8000, -7000}); // both traces now reach beyond the frame
    const QImage zoomed = render(doc);
    int inside = 0;
    for (int y = 0; y < zoomed.height(); ++y)
        for (int x = 0; x < 880; ++x) {
            const QColor c = zoomed.pixelColor(x, y);
            if (c != blue && c != green) continue;
            ASSERT_TRUE(x >= 96 && x < 864 && y >= 96 && y < 672) << x << "," << y;
            ++inside;
        }
    EXPECT_GT(inside, 1000);
    EXPECT_EQ(zoomed.pixelColor(900, 163), blue); // the legend beyond the clip of the traces
}

} // namespace
