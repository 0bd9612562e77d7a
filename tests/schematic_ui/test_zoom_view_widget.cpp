#include "CMemDCA.h"
#include "CZoomView.h"
#include "ChildRun.h"
#include "PrintDefaults.h"
#include "PrintPreviewHost.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>

namespace {
const Rect kPage{0, 0, 15840, -12240};
const QColor kOutside(160, 160, 160);

class TestView : public CZoomView {
public:
    TestView()
    {
        resize(416, 316);
        show();
        SetAnchorMode(AnchorCentre);
        SetZoomSizes(kPage);
    }
    void OnDraw(Dc& dc) override
    {
        printing = dc.IsPrinting();
        inch = dc.LPtoDP(QPoint(1440, -1440)) - dc.LPtoDP(QPoint(0, 0));
        CMemDCA mem(dc);
        mem.FillSolidRect(mem.GetClipBox(), kOutside);
        mem.FillSolidRect(PageRect(), QColor(255, 255, 255));
        mem.Ellipse(1440, -1440, 4320, -4320);
        mem.SelectObject(Font(400));
        mem.TextOut(5000, -2000, QStringLiteral("Torvex"));
    }
    void OnLButtonDown(unsigned flags, QPoint p) override { Log("LDown", flags, p); }
    void OnLButtonUp(unsigned flags, QPoint p) override { Log("LUp", flags, p); }
    void OnLButtonDblClk(unsigned flags, QPoint p) override { Log("LDbl", flags, p); }
    void OnRButtonDown(unsigned flags, QPoint p) override { Log("RDown", flags, p); }
    void OnContextMenu(QPoint p) override { Log("Menu", 0, p); }
    void Log(const char* what, unsigned flags, QPoint p)
    {
        log << QStringLiteral("%1 %2 %3,%4").arg(what).arg(flags).arg(p.x()).arg(p.y());
    }
    using CZoomView::ClientSize;
    bool printing = false;
    QPoint inch;
    QStringList log;
};

TEST(ZoomViewWidget, ScrollBarsAndViewportFollowTheModel)
{
    TestView view; // the page at 100 % is larger than the window
    ASSERT_TRUE(view.HorizontalBarShown() && view.VerticalBarShown());
    EXPECT_TRUE(view.horizontalScrollBar()->isVisible());
    EXPECT_EQ(view.viewport()->size(), view.ClientSize());
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), view.ScrollRange().width());
    EXPECT_EQ(view.verticalScrollBar()->maximum(), view.ScrollRange().height());

    // A page click on a bar moves by a quarter of the window, a line click by a twentieth.
    view.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    const QPoint moved(MulDiv(25, 416, 100), MulDiv(5, 316, 100));
    EXPECT_EQ(view.GetDeviceScrollPosition(), moved);
    EXPECT_EQ(QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()), moved);

    view.ZoomToFit();
    EXPECT_EQ(view.Zoom(), 37);
    EXPECT_FALSE(view.horizontalScrollBar()->isVisible() || view.verticalScrollBar()->isVisible());
    EXPECT_EQ(view.viewport()->size(), QSize(416, 316));
    EXPECT_EQ(view.GetDeviceScrollPosition(), QPoint(0, 0));

    const QImage shown = view.viewport()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(300, 100), QColor(255, 255, 255)); // on the page
    EXPECT_EQ(shown.pixelColor(405, 310), kOutside);
    EXPECT_FALSE(view.printing);
}

TEST(ZoomViewWidget, MouseReachesTheHandlersWithFlagsAndClientPoints)
{
    TestView view;
    QWidget* port = view.viewport();
    QTest::mousePress(port, Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 40));
    QTest::mouseRelease(port, Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 40));
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(7, 8), port->mapToGlobal(QPointF(7, 8)),
                      Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(port, &twice);
    QTest::mouseClick(port, Qt::RightButton, Qt::NoModifier, QPoint(9, 10));
    EXPECT_EQ(view.log,
              (QStringList{"LDown 5 50,40", "LUp 4 50,40", "LDbl 9 7,8", "RDown 2 9,10", "Menu 0 9,10"}));
}

// A notch of the wheel over the window, as the window system delivers it.
void turnWheel(QWidget* port, QPoint angle, Qt::KeyboardModifiers keys = {})
{
    QWheelEvent wheel(QPointF(50, 50), port->mapToGlobal(QPointF(50, 50)), QPoint(), angle, Qt::NoButton,
                      keys, Qt::NoScrollPhase, false);
    QApplication::sendEvent(port, &wheel);
}

TEST(ZoomViewWidget, TheWheelScrollsDownAndWithShiftSideways)
{
    TestView view;
    const int lines = QApplication::wheelScrollLines();
    const QPoint step(std::min(lines * view.LineStep().width(), view.PageStep().width()),
                      std::min(lines * view.LineStep().height(), view.PageStep().height()));
    turnWheel(view.viewport(), QPoint(0, -120));
    EXPECT_EQ(view.GetDeviceScrollPosition(), QPoint(0, step.y()));
    turnWheel(view.viewport(), QPoint(0, -120), Qt::ShiftModifier);
    EXPECT_EQ(view.GetDeviceScrollPosition(), step);
    EXPECT_EQ(QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()), step);
}

TEST(ZoomViewWidget, PrintsThePageAtTrueSizeWhateverTheZoomAndScroll)
{
    TestView view;
    view.SetZoom(300);
    view.OnScrollBy(QPoint(200, 100));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("view.pdf"));
    ASSERT_TRUE(view.PrintToPdf(path));
    EXPECT_TRUE(view.printing);
    EXPECT_EQ(view.inch, QPoint(1200, 1200)); // one inch at the printer's resolution
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_GT(pdf.size(), 1000);
}

// Nothing that was not printed is reported as printed: a full disk under a PDF file, and a printer
// that cannot start.
TEST(ZoomViewWidget, AFailedPrintSaysSoAndKeepsAnOlderFile)
{
    TestView view;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("view.pdf"));
    ScriptedUiServices ui;
    const OverwriteOutcome full = OverwriteOnFullDisk(path, 1000, [&] { return view.PrintToPdf(path); });
    ASSERT_TRUE(full.finished);
    EXPECT_FALSE(full.succeeded);
    EXPECT_EQ(full.messages, QStringList{"Cannot save the file " + path + ".\nFile too large."});
    EXPECT_EQ(full.after, "old");

    // No printer of that name: Quick Print has nowhere to go.
    const QString before = PrintDefaults::PrinterName();
    PrintDefaults::PrinterName() = QStringLiteral("Torvex test: no such printer");
    EXPECT_FALSE(view.OnFilePrint(true));
    PrintDefaults::PrinterName() = before;
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith("Nothing was printed")) << ui.messages[0].toStdString();
}

// A frame that keeps the preview's pages for the test to hand to a preview widget of its own.
class PreviewFrame : public QWidget, public PrintPreviewHost {
public:
    void ShowPrintPreview(std::function<void(QPrinter&)> paint) override { pages = std::move(paint); }
    bool InPrintPreview() const override { return bool(pages); }
    void ClosePrintPreview() override { pages = nullptr; }
    std::function<void(QPrinter&)> pages;
};

// The preview's own Print button hands the preview's printer over for real: a PDF file is written as
// every file is, and a printer that does not take the page is told of.
TEST(ZoomViewWidget, ThePreviewsPrintButtonPrintsAsPrintDoes)
{
    PreviewFrame frame;
    TestView view;
    view.setParent(&frame);
    frame.show();
    view.OnFilePrintPreview();
    ASSERT_TRUE(frame.InPrintPreview());
    ScriptedUiServices ui;
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewWidget preview(&printer);
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                     [&frame](QPrinter* p) { frame.pages(*p); });
    preview.updatePreview();
    EXPECT_EQ(preview.pageCount(), 1);
    EXPECT_TRUE(view.printing);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("preview.pdf"));
    printer.setOutputFileName(pdf);
    preview.print();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join(" | ").toStdString();

    printer.setOutputFileName(QString());
    printer.setPrinterName(QStringLiteral("Torvex test: no such printer"));
    preview.print();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith("Nothing was printed")) << ui.messages[0].toStdString();
}
} // namespace
