// The plot window driven as a user drives it: bands, tools, keys, commands and the data viewer.
#include "CPlotDataViewer.h"
#include "CPlotView.h"
#include "CommaLocale.h"
#include "CommandIds.h"
#include "PlotTestSupport.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

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
        view = std::make_unique<CPlotView>();
        doc.AddView(view.get());
        view->resize(800, 600);
        view->show();
        view->OnInitialUpdate();
        // Shown and painted: the window keeps its zoom from now on.
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
    int Mode() { return view->ToolMode(); }
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

TEST_F(PlotView, AShiftBandZoomsTheAxesHoweverThinAndAShiftClickActsOnNothing)
{
    // A click keeps the band mode until Esc; no other press makes a band meanwhile, and no
    // annotation is taken for one.
    const PlotAxes axes = doc.Axes;
    const QPoint at = Client(5000, -5000);
    CPlotComponent& kept = Annotation(Rect{100, -100, 200, -200});
    Drag(at, at, Qt::ShiftModifier);
    EXPECT_EQ(Mode(), CPlotView::ZoomBandMode);
    Drag(at, at + QPoint(100, 100));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Mode(), CPlotView::SelectMode);
    // A band without width or height has no axes inside it: the plot keeps its own.
    for (QPoint to : {at + QPoint(40, 0), at + QPoint(0, 40)}) {
        Drag(at, to, Qt::ShiftModifier);
        EXPECT_EQ(Mode(), CPlotView::SelectMode);
    }
    ASSERT_EQ(doc.Annotations().size(), 1u);
    EXPECT_EQ(std::tuple(doc.Axes, kept.Bounds), std::tuple(axes, Rect{100, -100, 200, -200}));

    // A band shows the axes inside it, a band of two pixels too; a double click scales them back.
    for (QPoint by : {QPoint(2, 2), QPoint(420, 350)}) {
        const QPoint from = Client(3000, -3000), to = from + by;
        const QPoint a = view->ClientToPage(from), b = view->ClientToPage(to);
        PlotAxes expected = doc.Axes;
        ASSERT_TRUE(plot::ZoomAxes(expected, Rect{a.x(), a.y(), b.x(), b.y()}));
        Drag(from, to, Qt::ShiftModifier);
        EXPECT_EQ(std::tuple(doc.Axes, Mode(), doc.Annotations().size()),
                  std::tuple(expected, int(CPlotView::SelectMode), size_t(1)));
        EXPECT_FALSE(plot::XTicks(doc.Axes).empty());
        QTest::mouseDClick(Port(), Qt::LeftButton, {}, from);
        const PlotAxes rescaled = doc.Axes;
        doc.AutoScale();
        EXPECT_EQ(rescaled, doc.Axes);
    }
}

TEST_F(PlotView, TheZoomToolZoomsInAboutAClickOutWithTheMenuAndToADraggedBand)
{
    ASSERT_TRUE(view->OnCmdMsg(ID_Zoom_Tool));
    EXPECT_EQ(Port()->cursor().shape(), Qt::BitmapCursor);
    view->SetZoom(100);
    const QPoint page(8000, -6000);
    const QPoint at = Client(page.x(), page.y());
    QTest::mouseClick(Port(), Qt::LeftButton, {}, at);
    EXPECT_EQ(view->Zoom(), 141);
    const QPoint centre(view->ClientSize().width() / 2, view->ClientSize().height() / 2);
    EXPECT_LE((Client(page.x(), page.y()) - centre).manhattanLength(), 2);
    QTest::mouseClick(Port(), Qt::LeftButton, {}, at);
    EXPECT_EQ(std::tuple(view->Zoom(), Mode()), std::tuple(199, int(CPlotView::ZoomToolMode)));
    QTest::mouseClick(Port(), Qt::RightButton, {}, at);
    EXPECT_EQ(view->Zoom(), 141);
    // However thin, a band is no click: the window zooms to it, as far as it can.
    Drag(at, at + QPoint(1, 2));
    EXPECT_EQ(std::tuple(view->Zoom(), Mode()), std::tuple(1000, int(CPlotView::SelectMode)));
    ASSERT_TRUE(view->OnCmdMsg(ID_Zoom_Tool));
    view->SetZoom(100);
    QTest::mouseClick(Port(), Qt::RightButton, {}, at);
    EXPECT_EQ(view->Zoom(), 71);

    Drag(Client(2000, -2000), Client(4000, -3500));
    EXPECT_GT(view->Zoom(), 300);
    EXPECT_EQ(std::tuple(Mode(), Port()->cursor().shape(), doc.Annotations().size()),
              std::tuple(int(CPlotView::SelectMode), Qt::ArrowCursor, size_t(0)));
}

TEST_F(PlotView, TheWheelScrollsTheZoomedPlotAndWithShiftSideways)
{
    view->SetZoom(400);
    const QPoint start = view->GetDeviceScrollPosition();
    QWheelEvent down(QPointF(50, 50), Port()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Port(), &down);
    const QPoint moved = view->GetDeviceScrollPosition();
    EXPECT_TRUE(moved.x() == start.x() && moved.y() > start.y());
    QWheelEvent sideways(QPointF(50, 50), Port()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                         Qt::NoButton, Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Port(), &sideways);
    EXPECT_TRUE(view->GetDeviceScrollPosition().x() > moved.x() &&
                view->GetDeviceScrollPosition().y() == moved.y());
}

TEST_F(PlotView, ZoomCommandsAndTheirLimits)
{
    // zoom -> Zoom Tool and Zoom Out enabled, Actual Size checked
    const std::tuple<int, bool, bool, int> cases[] = {{1000, false, true, 0},
                                                      {999, true, true, 0},
                                                      {100, true, true, 1},
                                                      {11, true, true, 0},
                                                      {10, true, false, 0}};
    for (const auto& [zoom, tool, out, actual] : cases) {
        view->SetZoom(zoom);
        CmdUI toolUI(ID_Zoom_Tool), outUI(ID_Zoom_Out), actualUI(ID_Zoom_ActualSize);
        for (CmdUI* ui : {&toolUI, &outUI, &actualUI})
            view->OnUpdateCmdUI(*ui);
        EXPECT_EQ(std::tuple(toolUI.IsEnabled(), outUI.IsEnabled(), actualUI.Check()),
                  std::tuple(tool, out, actual))
            << zoom;
    }
    view->OnCmdMsg(ID_Zoom_Fit);
    const int fit = view->Zoom();
    view->OnCmdMsg(ID_Zoom_Out);
    QTest::mouseDClick(Port(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(view->Zoom(), fit);
}

TEST_F(PlotView, DeleteRemovesTheHighlightedLastAnnotationAndAlwaysTakesASnapshot)
{
    int snapshots = doc.UndoCount();
    Key(Qt::Key_Delete); // nothing to delete
    EXPECT_EQ(doc.UndoCount(), ++snapshots);
    EXPECT_TRUE(doc.IsModified());

    Annotation(Rect{2000, -2000, 3000, -3000});
    CPlotComponent& last = Annotation(Rect{6000, -6000, 7000, -7000});
    Drag(Client(5500, -5500), Client(6500, -6500)); // a selection band over the last one
    EXPECT_TRUE(last.Highlighted && !doc.Annotations().front()->Highlighted);
    Key(Qt::Key_Delete);
    EXPECT_EQ(std::tuple(doc.Annotations().size(), doc.UndoCount()), std::tuple(size_t(1), ++snapshots));
}

TEST_F(PlotView, EscDropsTheBandInProgressAndAMoveEndsWithTheButton)
{
    QTest::mousePress(Port(), Qt::LeftButton, {}, Client(3000, -3000));
    QTest::mouseMove(Port(), Client(5000, -5000));
    ASSERT_EQ(doc.Annotations().size(), 1u);
    Key(Qt::Key_Escape);
    EXPECT_TRUE(doc.Annotations().empty());
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, Client(5000, -5000));

    CPlotComponent& a = Annotation(Rect{6000, -6000, 7000, -7000});
    a.Highlighted = 1;
    doc.SetModifiedFlag(false);
    const QPoint from = Client(6500, -6500);
    Drag(from, from + QPoint(30, 0));
    const Rect moved = a.Bounds;
    EXPECT_TRUE(moved.left > 6000 && moved.right - moved.left == 1000 && doc.IsModified());
    QTest::mouseMove(Port(), from + QPoint(90, 40));
    EXPECT_EQ(a.Bounds, moved);
}

TEST_F(PlotView, TheDataViewerReadsTheTimeAsTheNetlistWritesValuesAndSaysWhenItIsNone)
{
    ScriptedUiServices ui;
    ASSERT_TRUE(view->OnCmdMsg(ID_ViewPlotData));
    CPlotDataViewer& viewer = view->DataViewer();
    EXPECT_TRUE(viewer.isVisible());
    const CommaLocale comma;
    const QString at2ns = "Time= 2.000000e-09 \r\nV(N1)\r\n -1.000000e+00 \r\nI(R1)\r\n 7.000000e+00 \r\n";
    const struct {
        const char* typed;
        QString listing; // empty: refused, the listing stays
    } kCases[] = {
        {"2n", at2ns},
        {"2ns", at2ns},
        {" 2NS ", at2ns},
        {"2e-9", at2ns},
        {"0.000000002", at2ns},
        {"1.5e-9", "Time= 1.500000e-09 \r\nV(N1)\r\n -1.000000e+00 \r\nI(R1)\r\n 7.000000e+00 \r\n"},
        {"-1", "Time= -1.000000e+00 \r\nV(N1)\r\n 0.000000e+00 \r\nI(R1)\r\n 5.000000e+00 \r\n"},
        {"1", "Time= 1.000000e+00 \r\nV(N1)\r\n 0.000000e+00 \r\nI(R1)\r\n 0.000000e+00 \r\n"},
        {"abc", {}},
        {"", {}},
        {"n", {}},
        {"2x", {}},
        {"2 n", {}},
        {"1e999", {}},
    };
    QString listed;
    for (const auto& c : kCases) {
        ui.messages.clear();
        viewer.TimeEdit()->setText(QString::fromLatin1(c.typed));
        QTest::mouseClick(viewer.ShowDataButton(), Qt::LeftButton);
        if (!c.listing.isEmpty()) listed = c.listing;
        const QStringList said = c.listing.isEmpty()
                                     ? QStringList("The time must be a number, such as 42n or 4.2e-8: " +
                                                   QString::fromLatin1(c.typed))
                                     : QStringList();
        EXPECT_EQ(std::tuple(viewer.OutputText, ui.messages), std::tuple(listed, said)) << c.typed;
    }
}

} // namespace
