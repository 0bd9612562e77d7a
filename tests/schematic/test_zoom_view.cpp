#include "DcRecorder.h"
#include "ZoomViewModel.h"

#include <gtest/gtest.h>

namespace {
// The landscape page both documents use: 1056 by 816 pixels at 100 % and 96 dots per inch.
const Rect kPage{0, 0, 15840, -12240};
constexpr int kBar = 16;

// A window of a given size (bars included) that counts what the model asks of it.
struct Window : ZoomViewModel {
    explicit Window(QSize size, const Rect& page = kPage, int anchor = AnchorCentre)
    {
        AttachWindow(size, QSize(kBar, kBar), 96, 96);
        SetAnchorMode(anchor);
        SetZoomSizes(page);
        invalidated = 0;
        scrolled = {};
    }
    void Invalidate() override { ++invalidated; }
    void ScrollWindow(int dx, int dy) override { scrolled += QPoint(dx, dy); }
    int invalidated = 0;
    QPoint scrolled;
};

// A page of the given size in pixels at 100 %.
Rect pageOfPixels(int w, int h)
{
    return Rect{0, 0, w * 15, -h * 15};
}

TEST(ZoomView, SetZoomKeepsTheZoomInItsRangeAndReturnsThePrevious)
{
    const struct {
        int set, stored;
        bool repaint;
    } cases[] = {{5, 10, true}, {5000, 1000, true}, {141, 141, true}, {100, 100, false}};
    for (const auto& c : cases) {
        Window w(QSize(416, 316));
        EXPECT_EQ(w.SetZoom(c.set), 100);
        EXPECT_EQ(w.Zoom(), c.stored) << c.set;
        EXPECT_EQ(w.invalidated > 0, c.repaint) << c.set;
    }
}

TEST(ZoomView, ZoomToFitGivesTheLargestZoomLessOneAtWhichThePageFits)
{
    const struct {
        QSize window;
        Rect page;
        int zoom;
    } cases[] = {
        {{1056, 816}, kPage, 99},
        {{50, 40}, kPage, 10},
        {{20000, 20000}, kPage, 999},
        {{1056, 1000}, kPage, 99},
        // a page without area stands for the default page instead of a division by zero
        {{1056, 816}, Rect{0, 0, 0, 0}, 99},
        {{1056, 816}, Rect{100, 0, 0, -500}, 99},
        // billions of twips
        {{1056, 816}, Rect{-2'000'000'000, 2'000'000'000, 2'000'000'000, -2'000'000'000}, 10},
    };
    for (const auto& c : cases) {
        Window w(c.window, c.page);
        w.SetZoom(300); // bars shown: the fit counts the window without them
        w.ZoomToFit();
        EXPECT_EQ(w.Zoom(), c.zoom) << c.window.width() << "x" << c.window.height();
        EXPECT_GT(w.invalidated, 0);
    }
}

TEST(ZoomView, ZoomToRectFillsTheWindowWithTheBandNeitherLessOneNorRaisedToTen)
{
    const struct {
        const char* name;
        QSize window;
        Rect band;
        int zoom;
    } cases[] = {
        // the window as if both bars were shown: 1040 by 800
        {"half the page, no minus one", {1056, 816}, Rect{0, 0, 528, 408}, 196},
        {"cut by the page's right edge", {1056, 816}, Rect{1000, 0, 2000, 816}, 98},
        // 34 by 24 pixels for the page's 15840 by 12240 twips: not raised to 10
        {"the page in a tiny window", {50, 40}, Rect{0, 0, 1056, 816}, 2},
        {"the band reaching out of the window", {50, 40}, Rect{-500, -500, 5000, 5000}, 2},
        // a window narrower than its bars has no room at all; the mapping still needs a zoom
        {"no room in the window", {10, 10}, Rect{0, 0, 1056, 816}, ZoomViewModel::kMinMappedZoom},
        {"two pixels wide", {1056, 816}, Rect{10, 10, 12, 300}, 275},
        {"one pixel high", {1056, 816}, Rect{10, 10, 400, 11}, 266},
        {"no width", {1056, 816}, Rect{10, 10, 10, 300}, 100},
        {"off the page", {1056, 816}, Rect{1100, 0, 1200, 100}, 100},
    };
    for (const auto& c : cases) {
        Window w(c.window);
        w.ZoomToRect(c.band);
        EXPECT_EQ(w.Zoom(), c.zoom) << c.name;
    }
    // The smallest zoom still maps both ways: the page is some pixels wide and its points come back.
    Window tiny(QSize(10, 10));
    tiny.ZoomToRect(Rect{0, 0, 1056, 816});
    EXPECT_EQ(tiny.DeviceWidth(), 11);
    EXPECT_NEAR(tiny.ClientToPage(tiny.PageToClient(QPoint(7000, -5000))).x(), 7000, 1500 * 100 / 96);
    // The band's centre comes to the window's centre.
    Window w(QSize(1056, 816));
    w.ZoomToRect(Rect{100, 100, 300, 250});
    EXPECT_EQ(w.Zoom(), 520);
    EXPECT_NEAR(w.GetAnchorPoint().x(), 3000, 5);
    EXPECT_NEAR(w.GetAnchorPoint().y(), -2625, 5);
}

TEST(ZoomView, SetZoomKeepsThePointAtTheWindowsCentreInPlace)
{
    for (const int zoom : {141, 200, 70, 50, 1000}) {
        Window w(QSize(416, 316));
        ASSERT_TRUE(w.OnScrollBy(QPoint(300, 200)));
        const QPoint before = w.GetAnchorPoint();
        w.SetZoom(zoom);
        const QPoint after = w.GetAnchorPoint();
        const int pixel = 1500 / zoom + 1;
        EXPECT_NEAR(after.x(), before.x(), pixel) << zoom;
        EXPECT_NEAR(after.y(), before.y(), pixel) << zoom;
    }
}

TEST(ZoomView, ScrollRequestsMoveByLinesPagesAndThumbWithinTheRange)
{
    // 416 by 316 with both bars: steps of 5 % and 25 % of that, ranges 656 and 516.
    const struct {
        const char* name;
        bool vertical;
        int code, pos;
        QPoint to;
    } cases[] = {
        {"line down", true, SB_LINEDOWN, 0, {100, 116}},
        {"line up", true, SB_LINEUP, 0, {100, 84}},
        {"page right", false, SB_PAGEDOWN, 0, {204, 100}},
        {"page left", false, SB_PAGEUP, 0, {0, 100}},
        {"thumb track", true, SB_THUMBTRACK, 250, {100, 250}},
        {"thumb released", true, SB_THUMBPOSITION, 250, {100, 100}},
        {"top", false, SB_TOP, 0, {0, 100}},
        {"bottom", true, SB_BOTTOM, 0, {100, 516}},
        {"right end", false, SB_BOTTOM, 0, {656, 100}},
        {"end of scroll", false, SB_ENDSCROLL, 0, {100, 100}},
    };
    for (const auto& c : cases) {
        Window w(QSize(416, 316));
        ASSERT_EQ(w.ScrollRange(), QSize(656, 516));
        ASSERT_EQ(w.LineStep(), QSize(21, 16));
        ASSERT_EQ(w.PageStep(), QSize(104, 79));
        w.OnScrollBy(QPoint(100, 100));
        w.scrolled = {};
        if (c.vertical)
            w.OnVScroll(c.code, c.pos);
        else
            w.OnHScroll(c.code, c.pos);
        EXPECT_EQ(w.GetDeviceScrollPosition(), c.to) << c.name;
        EXPECT_EQ(w.scrolled, QPoint(100, 100) - c.to) << c.name;
    }
    Window fits(QSize(1200, 1000));
    EXPECT_FALSE(fits.HorizontalBarShown() || fits.VerticalBarShown());
    EXPECT_FALSE(fits.OnScroll((SB_BOTTOM << 8) | SB_BOTTOM, 0));
}

TEST(ZoomView, TheWheelScrollsLinesANotchAtMostAPageAndSidewaysWithShift)
{
    // Lines of 21 by 16 pixels, pages of 104 by 79; three lines a notch.
    const struct {
        const char* name;
        QPoint angle;
        bool shift;
        int lines;
        QPoint to;
    } cases[] = {
        {"a notch towards the user", {0, -120}, false, 3, {100, 148}},
        {"a notch away", {0, 120}, false, 3, {100, 52}},
        {"half a notch", {0, -60}, false, 3, {100, 124}},
        {"two notches at once, no more than a page", {0, -240}, false, 3, {100, 179}},
        {"ten lines a notch, no more than a page", {0, -120}, false, 10, {100, 179}},
        {"with Shift, sideways", {0, -120}, true, 3, {163, 100}},
        {"a wheel that turns sideways", {-120, 0}, false, 3, {163, 100}},
    };
    for (const auto& c : cases) {
        Window w(QSize(416, 316));
        w.OnScrollBy(QPoint(100, 100));
        EXPECT_TRUE(w.OnMouseWheel(c.angle, c.shift, c.lines)) << c.name;
        EXPECT_EQ(w.GetDeviceScrollPosition(), c.to) << c.name;
    }
    // Nowhere to go: a page that fits, or the end of the range.
    Window fits(QSize(1200, 1000));
    EXPECT_FALSE(fits.OnMouseWheel({0, -120}, false, 3));
    Window top(QSize(416, 316));
    EXPECT_FALSE(top.OnMouseWheel({0, 120}, false, 3));
}

TEST(ZoomView, BarsAppearWhenThePageOutgrowsTheWindow)
{
    const struct {
        QSize page; // pixels
        bool h, v;
        QSize range, client;
    } cases[] = {
        {{1000, 500}, true, false, {200, 0}, {800, 584}},
        {{790, 590}, false, false, {0, 0}, {800, 600}},
        // the vertical bar leaves too little width: the horizontal one comes too
        {{790, 700}, true, true, {6, 116}, {784, 584}},
        {{1000, 700}, true, true, {216, 116}, {784, 584}},
    };
    for (const auto& c : cases) {
        Window w(QSize(800, 600), pageOfPixels(c.page.width(), c.page.height()));
        EXPECT_EQ(w.HorizontalBarShown(), c.h) << c.page.width() << "x" << c.page.height();
        EXPECT_EQ(w.VerticalBarShown(), c.v) << c.page.width() << "x" << c.page.height();
        EXPECT_EQ(w.ScrollRange(), c.range) << c.page.width() << "x" << c.page.height();
        EXPECT_EQ(w.ClientSize(), c.client) << c.page.width() << "x" << c.page.height();
    }
}

TEST(ZoomView, GrowingWindowsPullThePositionBackAndTooSmallOnesHideTheBars)
{
    Window w(QSize(416, 316));
    w.OnScroll((SB_BOTTOM << 8) | SB_BOTTOM, 0);
    EXPECT_EQ(w.GetDeviceScrollPosition(), QPoint(656, 516));
    w.OnSize(QSize(900, 600)); // now 916 by 616 with the bars
    EXPECT_EQ(w.ScrollRange(), QSize(156, 216));
    EXPECT_EQ(w.GetDeviceScrollPosition(), QPoint(156, 216));
    w.OnSize(QSize(1100, 900));
    EXPECT_FALSE(w.HorizontalBarShown() || w.VerticalBarShown());
    EXPECT_EQ(w.GetDeviceScrollPosition(), QPoint(0, 0));

    Window narrow(QSize(800, 600), pageOfPixels(1000, 500)); // the horizontal bar only
    narrow.OnSize(QSize(10, 5));
    EXPECT_FALSE(narrow.HorizontalBarShown() || narrow.VerticalBarShown());
    EXPECT_EQ(narrow.ClientSize(), QSize(10, 21));
}

TEST(ZoomView, ScreenMappingIsZoomedAndScrolledPrintingIsTrueSize)
{
    Window w(QSize(416, 316), Rect{0, 0, 15840, -12240});
    w.SetAnchorMode(ZoomViewModel::AnchorTopLeft);
    w.SetZoom(141);
    w.OnScrollBy(QPoint(30, 40));
    RecordingDc screen;
    w.OnPrepareDC(screen, false);
    EXPECT_EQ(screen.LPtoDP(QPoint(0, 0)), QPoint(-30, -40));
    EXPECT_EQ(screen.LPtoDP(QPoint(1500, -1500)), QPoint(111, 101));
    EXPECT_EQ(w.PageToClient(QPoint(1500, -1500)), QPoint(111, 101));
    EXPECT_EQ(w.ClientToPage(QPoint(111, 101)), QPoint(1500, -1500));

    RecordingDc paper(600, true);
    w.OnPrepareDC(paper, true);
    EXPECT_EQ(paper.LPtoDP(QPoint(1440, -1440)), QPoint(600, 600));
}

TEST(ZoomView, PagesOfBillionsOfTwipsKeepTheirDeviceSizeIn64Bits)
{
    Window w(QSize(416, 316), Rect{-2'000'000'000, 2'000'000'000, 2'000'000'000, -2'000'000'000});
    w.SetZoom(1000);
    EXPECT_EQ(w.DeviceWidth(), 2'666'666'667);
    EXPECT_EQ(w.ScrollRange().width(), INT_MAX);
    w.OnScroll(SB_BOTTOM | 0xFF00, 0);
    EXPECT_EQ(w.GetDeviceScrollPosition().x(), INT_MAX);
}
} // namespace
