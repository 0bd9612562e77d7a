#include "CMemDCA.h"
#include "DcPainter.h"
#include "DcRecorder.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {
const QColor kOld(200, 200, 200);

void scene(Dc& dc)
{
    dc.FillSolidRect(Rect{-100000, 100000, 100000, -100000}, QColor(255, 255, 255));
    dc.SelectObject(Pen(Pen::Solid, 15, QColor(0, 128, 0)));
    dc.MoveTo(0, -300);
    dc.LineTo(2900, -1500);
    dc.Ellipse(600, -200, 1500, -1100);
    dc.Arc(1500, -200, 2400, -1100, 2400, -650, 1500, -650);
    dc.SelectObject(Font(200));
    dc.TextOut(300, -1200, QStringLiteral("R1 10k"));
}

void twips(Dc& dc, int zoom)
{
    dc.SetMapMode(MM_TWIPS);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.ScaleViewportExt(zoom, 100, zoom, 100);
    dc.SetViewportOrg(5, 3);
}

QImage canvas(qreal ratio)
{
    QImage img((QSizeF(200, 120) * ratio).toSize(), QImage::Format_RGB32);
    img.setDevicePixelRatio(ratio);
    img.fill(kOld);
    return img;
}

class MemDcTest : public ::testing::TestWithParam<qreal> {};

TEST_P(MemDcTest, CopiesTheClipAreaPixelForPixelAsDirectPaintingWouldAndLeavesTheRest)
{
    const qreal ratio = GetParam();
    const QRect clip(30, 20, 100, 60);
    QImage direct = canvas(ratio), buffered = canvas(ratio);
    {
        QPainter p(&direct);
        PainterDc dc(p, QRect(0, 0, 200, 120), 96, 96);
        twips(dc, 141);
        scene(dc);
    }
    QSize bitmap;
    {
        QPainter p(&buffered);
        PainterDc dc(p, clip, 96, 96);
        twips(dc, 141);
        CMemDCA mem(dc);
        ASSERT_TRUE(mem.IsMemory());
        scene(mem);
        bitmap = mem.Bitmap().size();
    }
    EXPECT_EQ(bitmap, clip.size() * ratio);
    const QRect inside(clip.topLeft() * ratio, clip.size() * ratio);
    int differing = 0, touchedOutside = 0;
    for (int y = 0; y < buffered.height(); ++y)
        for (int x = 0; x < buffered.width(); ++x) {
            if (inside.contains(x, y))
                differing += buffered.pixel(x, y) != direct.pixel(x, y);
            else
                touchedOutside += buffered.pixelColor(x, y) != kOld;
        }
    // A diagonal line cut by the clip may step a pixel elsewhere; a shifted copy would differ all
    // along every line and letter.
    EXPECT_LE(differing, 3);
    EXPECT_EQ(touchedOutside, 0);
}

INSTANTIATE_TEST_SUITE_P(PixelRatios, MemDcTest, ::testing::Values(1.0, 2.0));

TEST(MemDc, PrintersAndRecordersAreDrawnOnDirectly)
{
    QImage page = canvas(1);
    {
        QPainter p(&page);
        PainterDc printer(p, QRect(0, 0, 200, 120), 96, 96, true);
        twips(printer, 100);
        CMemDCA mem(printer);
        EXPECT_FALSE(mem.IsMemory());
        EXPECT_TRUE(mem.Bitmap().isNull());
        EXPECT_TRUE(mem.IsPrinting());
        scene(mem);
    }
    EXPECT_EQ(page.pixelColor(100, 100), QColor(255, 255, 255));

    RecordingDc rec;
    rec.SetDeviceClip(QRect(0, 0, 96, 48));
    {
        CMemDCA mem(rec);
        EXPECT_FALSE(mem.IsMemory());
        mem.TextOut(1440, -720, QStringLiteral("A1"));
    }
    EXPECT_EQ(rec.Describe(), "Fill 0,0 1440,-720 #ffffff\nText 1440,-720 \"A1\"");
}
} // namespace
