// The plot window driven as a user drives it: bands, tools, keys, commands, printing and the data
// viewer.
#include "CPlotDataViewer.h"
#include "CPlotView.h"
#include "CommandIds.h"
#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <string>

namespace {

class PlotView : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.OnNewDocument();
        setTraces(doc, {makeTrace(0, 1e-9, {0, 2, -1, 3, 1}), makeTrace(1e-9, 1e-9, {5, 7})});
        doc.Traces[0].Name = QStringLiteral("V(N1)");
        doc.Traces[1].Name = QStringLiteral("I(R1)");
        doc.AutoScale();
        doc.SetModifiedFlag(false);
        view = std::make_unique<CPlotView>();
        doc.AddView(view.get());
        view->resize(800, 600);
        view->show();
        view->OnInitialUpdate();
        // Shown and painted: the window has its size and keeps its zoom from now on.
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        QCoreApplication::processEvents();
    }

    QWidget* Port() { return view->viewport(); }
    QPoint Client(int x, int y) { return view->PageToClient(QPoint(x, y)); }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = {})
    {
        QTest::mousePress(Port(), Qt::LeftButton, keys, from);
        QTest::mouseMove(Port(), to);
        QTest::mouseRelease(Port(), Qt::LeftButton, keys, to);
    }
    void Key(Qt::Key key) { QTest::keyClick(view.get(), key); }
    CmdUI Update(int id)
    {
        CmdUI cmdUI(id);
        view->OnUpdateCmdUI(cmdUI);
        return cmdUI;
    }
    CPlotComponent& Annotation(const Rect& bounds)
    {
        CPlotComponent* a = doc.AddComponent();
        a->Kind = CPlotComponent::kDottedFrame;
        a->Bounds = bounds;
        return *a;
    }

    CPlotDoc doc;
    std::unique_ptr<CPlotView> view;
};

TEST_F(PlotView, ShiftDragShowsTheAxesInsideTheBand)
{
    const QPoint from = Client(3000, -3000), to = Client(9000, -8000);
    PlotAxes expected = doc.Axes;
    const QPoint a = view->ClientToPage(from), b = view->ClientToPage(to);
    ASSERT_TRUE(plot::ZoomAxes(expected, Rect{a.x(), a.y(), b.x(), b.y()}));

    Drag(from, to, Qt::ShiftModifier);
    EXPECT_EQ(doc.Axes, expected);
    EXPECT_EQ(view->ToolMode(), CPlotView::SelectMode);
    EXPECT_TRUE(doc.Annotations().empty());
    EXPECT_TRUE(doc.IsModified()); // every band marks the plot

    // A double click scales the axes to the traces again.
    QTest::mouseDClick(Port(), Qt::LeftButton, {}, from);
    PlotAxes fitted = doc.Axes;
    doc.AutoScale();
    EXPECT_EQ(fitted, doc.Axes);
    EXPECT_NE(fitted, expected);
}

TEST_F(PlotView, AShiftClickOrABandUnderThreePixelsKeepsTheBandModeUntilTheToolIsLeft)
{
    const PlotAxes axes = doc.Axes;
    const QPoint at = Client(5000, -5000);
    for (QPoint to : {at, at + QPoint(40, 2), at + QPoint(2, 40)}) {
        Drag(at, to, Qt::ShiftModifier);
        EXPECT_EQ(doc.Axes, axes);
        EXPECT_EQ(view->ToolMode(), CPlotView::ZoomBandMode);
        EXPECT_TRUE(doc.Annotations().empty());
        Key(Qt::Key_Escape);
        EXPECT_EQ(view->ToolMode(), CPlotView::SelectMode);
    }

    // In the band mode a press makes no band, and a leftover annotation is never taken for one.
    CPlotComponent& kept = Annotation(Rect{100, -100, 200, -200});
    Drag(at, at, Qt::ShiftModifier);
    Drag(at, at + QPoint(100, 100));
    EXPECT_EQ(doc.Axes, axes);
    ASSERT_EQ(doc.Annotations().size(), 1u);
    EXPECT_EQ(kept.Bounds, (Rect{100, -100, 200, -200}));
    QTest::mouseClick(Port(), Qt::RightButton, {}, at); // the context menu leaves the tool
    EXPECT_EQ(view->ToolMode(), CPlotView::SelectMode);
}

TEST_F(PlotView, ZoomToolClicksZoomInAboutThePointAndTheMenuZoomsOut)
{
    ASSERT_TRUE(view->OnCmdMsg(ID_Zoom_Tool));
    EXPECT_EQ(view->ToolMode(), CPlotView::ZoomToolMode);
    EXPECT_EQ(Port()->cursor().shape(), Qt::BitmapCursor);
    view->SetZoom(100);

    const QPoint page(8000, -6000);
    const QPoint at = Client(page.x(), page.y());
    QTest::mouseClick(Port(), Qt::LeftButton, {}, at);
    EXPECT_EQ(view->Zoom(), 141);
    EXPECT_EQ(view->ToolMode(), CPlotView::ZoomToolMode);
    const QPoint centre(view->ClientSize().width() / 2, view->ClientSize().height() / 2);
    EXPECT_LE((Client(page.x(), page.y()) - centre).manhattanLength(), 2);
    Drag(at, at + QPoint(1, 2)); // too small for a band: a click
    EXPECT_EQ(view->Zoom(), 199);

    QTest::mouseClick(Port(), Qt::RightButton, {}, at);
    EXPECT_EQ(view->Zoom(), 141);
    view->SetZoom(100);
    QTest::mouseClick(Port(), Qt::RightButton, {}, at);
    EXPECT_EQ(view->Zoom(), 71);

    // A drag zooms the window to the band and leaves the tool.
    Drag(Client(2000, -2000), Client(4000, -3500));
    EXPECT_GT(view->Zoom(), 300);
    EXPECT_EQ(view->ToolMode(), CPlotView::SelectMode);
    EXPECT_EQ(Port()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(doc.Annotations().empty());
}

TEST_F(PlotView, ZoomCommandsAndTheirLimits)
{
    const struct {
        int zoom;
        bool toolEnabled, outEnabled, actualChecked;
    } kCases[] = {{1000, false, true, false},
                  {999, true, true, false},
                  {100, true, true, true},
                  {11, true, true, false},
                  {10, true, false, false}};
    for (const auto& c : kCases) {
        view->SetZoom(c.zoom);
        EXPECT_EQ(Update(ID_Zoom_Tool).IsEnabled(), c.toolEnabled) << c.zoom;
        EXPECT_EQ(Update(ID_Zoom_Out).IsEnabled(), c.outEnabled) << c.zoom;
        EXPECT_EQ(Update(ID_Zoom_ActualSize).Check(), c.actualChecked ? 1 : 0) << c.zoom;
    }
    view->OnCmdMsg(ID_Zoom_Out);
    EXPECT_EQ(view->Zoom(), 10);
    view->OnCmdMsg(ID_Zoom_ActualSize);
    EXPECT_EQ(view->Zoom(), 100);
    view->OnCmdMsg(ID_Zoom_Out);
    EXPECT_EQ(view->Zoom(), 71);
    view->OnCmdMsg(ID_Zoom_Fit);
    const int fit = view->Zoom();
    view->SetZoom(300);
    QTest::mouseDClick(Port(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(view->Zoom(), fit);
}

TEST_F(PlotView, DeleteRemovesTheHighlightedLastAnnotationAndAlwaysTakesASnapshot)
{
    const int snapshots = doc.UndoCount();
    Key(Qt::Key_Delete); // nothing to delete
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
    EXPECT_TRUE(doc.IsModified());

    Annotation(Rect{2000, -2000, 3000, -3000});
    CPlotComponent& last = Annotation(Rect{6000, -6000, 7000, -7000});
    Key(Qt::Key_Delete);
    EXPECT_EQ(doc.Annotations().size(), 2u);

    // A selection band over the last one highlights it alone; the band itself is gone.
    Drag(Client(5500, -5500), Client(6500, -6500));
    ASSERT_EQ(doc.Annotations().size(), 2u);
    EXPECT_TRUE(last.Highlighted);
    EXPECT_FALSE(doc.Annotations().front()->Highlighted);
    view->OnCmdMsg(ID_Zoom_Tool);
    Key(Qt::Key_Delete); // only the select tool deletes
    EXPECT_EQ(doc.Annotations().size(), 2u);
    view->OnCmdMsg(ID_Parts_First);
    Drag(Client(5500, -5500), Client(6500, -6500));
    const int before = doc.UndoCount();
    Key(Qt::Key_Delete);
    EXPECT_EQ(doc.Annotations().size(), 1u);
    EXPECT_EQ(doc.UndoCount(), before + 1);
}

TEST_F(PlotView, HighlightedAnnotationsMoveWhileTheButtonIsDown)
{
    CPlotComponent& a = Annotation(Rect{6000, -6000, 7000, -7000});
    a.Highlighted = 1;
    doc.SetModifiedFlag(false);
    const QPoint from = Client(6500, -6500);
    QTest::mousePress(Port(), Qt::LeftButton, {}, from);
    QTest::mouseMove(Port(), from + QPoint(30, 0));
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, from + QPoint(30, 0));
    const Rect moved = a.Bounds;
    EXPECT_GT(moved.left, 6000);
    EXPECT_EQ(moved.right - moved.left, 1000);
    EXPECT_TRUE(doc.IsModified());
    QTest::mouseMove(Port(), from + QPoint(90, 40)); // the move ended with the release
    EXPECT_EQ(a.Bounds, moved);
}

TEST_F(PlotView, LeavingTheToolDropsTheBandInProgress)
{
    QTest::mousePress(Port(), Qt::LeftButton, {}, Client(3000, -3000));
    QTest::mouseMove(Port(), Client(5000, -5000));
    ASSERT_EQ(doc.Annotations().size(), 1u);
    Key(Qt::Key_Escape);
    EXPECT_TRUE(doc.Annotations().empty());
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, Client(5000, -5000));
    EXPECT_TRUE(doc.Annotations().empty());
    EXPECT_EQ(view->ToolMode(), CPlotView::SelectMode);
}

TEST_F(PlotView, PrintsToPdf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plot.pdf"));
    ASSERT_TRUE(view->PrintToPdf(path));
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_GT(pdf.size(), 2000);
}

TEST_F(PlotView, DataViewerListsEveryTraceAtTheTypedTimeInTheCLocale)
{
    ASSERT_TRUE(view->OnCmdMsg(ID_ViewPlotData));
    CPlotDataViewer& viewer = view->DataViewer();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Dialog"));

    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // where it exists, a comma locale
    const struct {
        const char* typed;
        const char* listing;
    } kCases[] = {
        {"1.5e-9", "Time= 1.500000e-09 \r\nV(N1)\r\n -1.000000e+00 \r\nI(R1)\r\n 7.000000e+00 \r\n"},
        {" -1", "Time= -1.000000e+00 \r\nV(N1)\r\n 0.000000e+00 \r\nI(R1)\r\n 5.000000e+00 \r\n"},
        {"1ns", "Time= 1.000000e+00 \r\nV(N1)\r\n 0.000000e+00 \r\nI(R1)\r\n 0.000000e+00 \r\n"},
        {"abc", "Time= 0.000000e+00 \r\nV(N1)\r\n 0.000000e+00 \r\nI(R1)\r\n 5.000000e+00 \r\n"},
    };
    for (const auto& c : kCases) {
        viewer.TimeEdit()->setText(QString::fromLatin1(c.typed));
        QTest::mouseClick(viewer.ShowDataButton(), Qt::LeftButton);
        EXPECT_EQ(viewer.OutputText, QString::fromLatin1(c.listing)) << c.typed;
        EXPECT_EQ(viewer.ListingEdit()->toPlainText().split(QLatin1Char('\n')).size(), 6);
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
