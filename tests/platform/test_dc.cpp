#include "DcRecorder.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
// A context prepared as a zooming view prepares it: twips, scaled by the zoom, with both origins.
void prepare(Dc& dc, int zoom, QPoint windowOrg = {}, QPoint viewportOrg = {})
{
    dc.SetMapMode(MM_TWIPS);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.ScaleViewportExt(zoom, 100, zoom, 100);
    dc.SetWindowOrg(windowOrg);
    dc.SetViewportOrg(viewportOrg);
}

struct MappingCase {
    int zoom;
    QPoint windowOrg, viewportOrg;
    QPoint logical, device;
};

class DcMappingTest : public ::testing::TestWithParam<MappingCase> {};

TEST_P(DcMappingTest, MapsTwipsToPixelsAndBack)
{
    const MappingCase& c = GetParam();
    RecordingDc dc(96);
    prepare(dc, c.zoom, c.windowOrg, c.viewportOrg);
    EXPECT_EQ(dc.LPtoDP(c.logical), c.device);
    // Back to within one device pixel of the point.
    const QPoint back = dc.DPtoLP(c.device);
    const int pixel = 1440 * 100 / 96 / c.zoom + 1;
    EXPECT_LE(std::abs(back.x() - c.logical.x()), pixel);
    EXPECT_LE(std::abs(back.y() - c.logical.y()), pixel);
}

// 96 dots per inch: 15 twips a pixel at 100 %; y flips; halves round away from zero.
INSTANTIATE_TEST_SUITE_P(
    Zooms, DcMappingTest,
    ::testing::Values(
        MappingCase{100, {}, {}, {1440, -1440}, {96, 96}}, MappingCase{100, {}, {}, {15, 15}, {1, -1}},
        MappingCase{100, {}, {}, {7, -8}, {0, 1}}, MappingCase{50, {}, {}, {15, 15}, {1, -1}},
        MappingCase{50, {}, {}, {-15, -15}, {-1, 1}}, MappingCase{10, {}, {}, {15840, -12240}, {106, 82}},
        MappingCase{141, {}, {}, {1500, -1500}, {141, 141}},
        MappingCase{141, {}, {}, {15840, -12240}, {1489, 1151}}, MappingCase{1000, {}, {}, {1, -1}, {1, 1}},
        MappingCase{1000, {}, {}, {15840, -12240}, {10560, 8160}},
        // the page's top-left at the window origin, scrolled by (30, 40)
        MappingCase{100, {1000, -500}, {-30, -40}, {1000, -500}, {-30, -40}},
        MappingCase{141, {1000, -500}, {-30, -40}, {2500, -2000}, {111, 101}}));

TEST(DcMapping, PagesOfBillionsOfTwipsMapWithoutOverflow)
{
    DcMapping m;
    m.SetMode(MM_TWIPS, 96, 96);
    m.SetMode(MM_ANISOTROPIC, 96, 96);
    ASSERT_TRUE(m.ScaleViewportExt(1000, 100, 1000, 100));
    EXPECT_EQ(m.DeviceX(2'000'000'000), 1'333'333'333);
    EXPECT_EQ(m.DeviceY(-2'000'000'000), 1'333'333'333);
    m.SetWindowOrg(QPoint(INT_MIN, INT_MAX));
    EXPECT_EQ(m.DeviceX(INT_MAX), 2'863'311'530); // (2^32 − 1) × 2/3
    EXPECT_EQ(m.LogicalX(2'863'311'530), INT_MAX);

    RecordingDc dc;
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.ScaleViewportExt(1000, 100, 1000, 100);
    dc.SetWindowOrg(INT_MIN, 0);
    EXPECT_EQ(dc.LPtoDP(QPoint(INT_MAX, 0)).x(), INT_MAX); // clamped, not wrapped
}

TEST(DcMapping, ScalingOnlyInTheFreeModeAndNeverByZero)
{
    DcMapping m;
    m.SetMode(MM_TWIPS, 96, 96);
    EXPECT_FALSE(m.ScaleViewportExt(2, 1, 2, 1));
    m.SetMode(MM_ANISOTROPIC, 96, 96);
    const DcMapping before = m;
    EXPECT_FALSE(m.ScaleViewportExt(0, 100, 0, 100));
    EXPECT_FALSE(m.ScaleViewportExt(100, 0, 100, 0));
    EXPECT_EQ(m, before);
    // Zooming in and out again comes back exactly.
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(m.ScaleViewportExt(1000, 707, 1000, 707));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(m.ScaleViewportExt(707, 1000, 707, 1000));
    EXPECT_EQ(m, before);
    m.SetMode(MM_TEXT, 96, 96);
    EXPECT_EQ(m.DeviceX(123), 123);
    EXPECT_EQ(m.DeviceY(-7), -7);
}

TEST(DcMapping, MulDivRoundsHalvesAwayFromZeroAndRefusesWhatCannotBe)
{
    const struct {
        int a, b, c, result;
    } cases[] = {{707, 100, 1000, 71}, {1000, 100, 707, 141},    {5, 1, 2, 3},  {-5, 1, 2, -3},
                 {5, -1, 2, -3},       {INT_MAX, 2, 2, INT_MAX}, {1, 1, 0, -1}, {INT_MAX, 2, 1, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << " " << c.b << " " << c.c;
}

TEST(DcMapping, ColorRefsAreRedInTheLowByte)
{
    EXPECT_EQ(FromColorRef(0xC80000), QColor(0, 0, 200));
    EXPECT_EQ(ToColorRef(QColor(0, 170, 0)), 0x00AA00u);
    EXPECT_EQ(ToColorRef(QColor(255, 64, 64)), 0x4040FFu);
}

TEST(RecordingDc, KeepsShapesInLogicalUnitsWithTheObjectsInEffect)
{
    RecordingDc dc;
    // What a fresh context draws with: black pen, white brush, opaque white text background.
    dc.Rectangle(0, 0, 10, -10);
    const Pen green(Pen::Solid, 15, QColor(0, 128, 0));
    const Pen oldPen = dc.SelectObject(green);
    dc.MoveTo(0, 0);
    dc.LineTo(144, 0);
    dc.LineTo(168, 72);
    dc.Polyline({QPoint(0, 0), QPoint(1, 1), QPoint(2, 0)});
    dc.SelectObject(Brush::NullBrush());
    dc.Arc(144, 100, 288, -100, 288, 0, 144, 0);
    dc.SelectObject(Font(200));
    dc.SetTextColor(QColor(128, 128, 128));
    dc.TextOut(200, 300, QStringLiteral("R1"));
    dc.SetPixel(5, 6, QColor(0, 0, 0));
    dc.SelectObject(oldPen);
    dc.FillSolidRect(Rect{0, 0, 1440, -1440}, QColor(255, 255, 255));

    EXPECT_EQ(dc.Describe(), "Rectangle 0,0 10,-10\n"
                             "Line 0,0 144,0\n"
                             "Line 144,0 168,72\n"
                             "Polyline 0,0 1,1 2,0\n"
                             "Arc 144,100 288,-100 288,0 144,0\n"
                             "Text 200,300 \"R1\"\n"
                             "Pixel 5,6 #000000\n"
                             "Fill 0,0 1440,-1440 #ffffff");
    const std::vector<DcEntry>& e = dc.Entries();
    EXPECT_EQ(e[0].pen, Pen());
    EXPECT_EQ(e[0].brush, Brush::WhiteBrush());
    EXPECT_EQ(e[0].bkMode, BkMode::Opaque);
    EXPECT_EQ(e[1].pen, green);
    EXPECT_EQ(e[4].brush.style, Brush::Null);
    EXPECT_EQ(e[4].Box(), (Rect{144, 100, 288, -100}));
    EXPECT_EQ(e[5].font, Font(200));
    EXPECT_EQ(e[5].textColor, QColor(128, 128, 128));
    EXPECT_EQ(e[5].bkColor, QColor(255, 255, 255));
    EXPECT_EQ(e[7].pen, Pen());
    EXPECT_EQ(dc.Count(DcShape::Line), 2);
    EXPECT_EQ(dc.OfKind(DcShape::Text)[0].text, "R1");
    EXPECT_EQ(dc.GetCurrentPosition(), QPoint(168, 72));
    // The recorder's own metrics: half a cell per character.
    EXPECT_EQ(dc.GetTextExtent(QStringLiteral("R12")), QSize(300, 200));
}

TEST(RecordingDc, SavedStatesComeBackByLevelOrCountedFromTheLast)
{
    RecordingDc dc;
    const Pen red(Pen::Solid, 15, QColor(255, 0, 0)), blue(Pen::Solid, 15, QColor(0, 0, 255));
    EXPECT_EQ(dc.SaveDC(), 1);
    dc.SelectObject(red);
    dc.SetWindowOrg(100, 100);
    EXPECT_EQ(dc.SaveDC(), 2);
    dc.SelectObject(blue);
    dc.IntersectClipRect(Rect{0, 0, 1440, -1440});
    {
        DcSaver saver(dc);
        dc.SelectObject(Pen::NullPen());
    }
    EXPECT_EQ(dc.GetCurrentPen(), blue);
    EXPECT_TRUE(dc.RestoreDC(-1));
    EXPECT_EQ(dc.GetCurrentPen(), red);
    EXPECT_GT(dc.GetClipBox().right, 1'000'000); // the clip came back too
    EXPECT_TRUE(dc.RestoreDC(1));
    EXPECT_EQ(dc.GetCurrentPen(), Pen());
    EXPECT_EQ(dc.GetWindowOrg(), QPoint(0, 0));
    EXPECT_FALSE(dc.RestoreDC(1));
    EXPECT_FALSE(dc.RestoreDC(-1));
}

TEST(RecordingDc, ClipBoxIsTheDeviceAreaInLogicalUnits)
{
    RecordingDc dc;
    prepare(dc, 100, QPoint(0, 0), QPoint(-96, 0)); // scrolled one inch to the right
    dc.SetDeviceClip(QRect(0, 0, 96, 48));
    EXPECT_EQ(dc.GetClipBox(), (Rect{1440, 0, 2880, -720}));
    EXPECT_TRUE(dc.RectVisible(Rect{0, 0, 1500, -100}));
    EXPECT_FALSE(dc.RectVisible(Rect{0, 0, 1400, -100}));
    EXPECT_TRUE(dc.PtVisible(QPoint(1440, 0)));
    EXPECT_FALSE(dc.PtVisible(QPoint(2880, 0))); // right edge excluded
    dc.SaveDC();
    dc.IntersectClipRect(Rect{2000, 100, 4000, -360});
    EXPECT_EQ(dc.GetClipBox(), (Rect{1995, 0, 2880, -360}));
    EXPECT_FALSE(dc.PtVisible(QPoint(1500, -10)));
    dc.RestoreDC(-1);
    EXPECT_TRUE(dc.PtVisible(QPoint(1500, -10)));
}
} // namespace
