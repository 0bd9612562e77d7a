// The schematic window as a widget: its events, cursors, commands and clipboard.
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "CTorvex2View.h"
#include "CmdUI.h"
#include "CommandIds.h"
#include "ComponentListCheck.h"
#include "ComponentTypeId.h"
#include "SchematicClipboard.h"
#include "SchematicSheet.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>

#include <set>

namespace {
// A resistor's symbol colour once placed.
const QColor kPlaced(0, 128, 0);

class SchematicViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.OnNewDocument();
        view = new CTorvex2View;
        doc.AddView(view);
        view->resize(900, 700);
        view->show();
        view->OnInitialUpdate();
        view->Editor().SetCoin([] { return true; });
    }
    void TearDown() override
    {
        QGuiApplication::clipboard()->clear();
        delete view;
    }
    QPoint Client(QPoint page) const { return view->PageToClient(page); }
    // Clicks through the window's own mouse events.
    void Click(QPoint page)
    {
        QTest::mouseMove(view->viewport(), Client(page));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, Client(page));
    }
    void Key(Qt::Key key) { QTest::keyClick(view, key); }
    CmdUI State(int id)
    {
        CmdUI state(id);
        view->OnUpdateCmdUI(state);
        return state;
    }
    int Count(const QImage& image, const QColor& colour)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == colour;
        return n;
    }
    // A resistor at the frame's corner, placed by the window's events.
    void PlaceResistor()
    {
        view->OnCmdMsg(TypeResistor);
        Click({1368, -1368});
        Key(Qt::Key_Escape);
    }

    ScriptedUiServices ui;
    CTorvex2Doc doc;
    CTorvex2View* view = nullptr;
};
} // namespace

TEST_F(SchematicViewTest, TheWindowsEventsPlaceAndTheCursorShowsTheOperation)
{
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::ArrowCursor);
    view->OnCmdMsg(TypeResistor);
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(State(TypeResistor).Check(), 1);
    EXPECT_EQ(State(SchematicEditor::kSelectTool).Check(), 0);
    Click({1368, -1368});
    Key(Qt::Key_Escape);
    EXPECT_EQ(view->viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(doc.Components().size(), 5u);
    EXPECT_EQ(doc.Components().front()->Position, QPoint(1368, -1368));

    // The wire key, the zoom tool: each with its own cursor image.
    Key(Qt::Key_W);
    const QPixmap wire = view->viewport()->cursor().pixmap();
    view->OnCmdMsg(ID_Zoom_Tool);
    const QPixmap zoom = view->viewport()->cursor().pixmap();
    EXPECT_FALSE(wire.isNull() || zoom.isNull());
    EXPECT_NE(wire.toImage(), zoom.toImage());
    Key(Qt::Key_Escape);

    // What the window shows: the placed part in its colour, then selected in the selection colour.
    QImage shown = view->viewport()->grab().toImage();
    EXPECT_GT(Count(shown, kPlaced), 10);
    Click({1656, -1368});
    shown = view->viewport()->grab().toImage();
    EXPECT_EQ(Count(shown, kPlaced), 0);
    EXPECT_GT(Count(shown, QColor(255, 64, 64)), 10);
    Key(Qt::Key_Delete);
    EXPECT_TRUE(doc.Components().empty());
}

TEST_F(SchematicViewTest, CopyOffersTheObjectsAndTheirPicturesAndPasteTakesThemBack)
{
    EXPECT_FALSE(State(ID_EDIT_PASTE).IsEnabled());
    PlaceResistor();
    EXPECT_FALSE(State(ID_EDIT_COPY).IsEnabled());
    Click({1656, -1368});
    EXPECT_TRUE(State(ID_EDIT_COPY).IsEnabled() && State(ID_EDIT_CUT).IsEnabled());
    view->OnEditCopy();

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(clipboard::HasPayload(data));
    QImage picture;
    ASSERT_TRUE(picture.loadFromData(data->data(QStringLiteral("image/png")), "PNG"));
    EXPECT_GT(picture.width(), 20);
    EXPECT_GT(Count(picture, kPlaced), 10);
    const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
    EXPECT_TRUE(svg.startsWith("<?xml"));
    EXPECT_TRUE(svg.contains(">R1</text>"));
    EXPECT_TRUE(svg.contains("<line"));

    EXPECT_TRUE(State(ID_EDIT_PASTE).IsEnabled());
    view->OnEditPaste();
    ASSERT_EQ(doc.Components().size(), 10u);
    EXPECT_EQ((*std::next(doc.Components().begin(), 5))->Text, QStringLiteral("R2"));

    // Another program's data under our format is read like a damaged file.
    auto* foreign = new QMimeData;
    foreign->setData(QString::fromLatin1(clipboard::kMimeType), "\x05\x00 garbage");
    QGuiApplication::clipboard()->setMimeData(foreign);
    view->OnEditPaste();
    EXPECT_EQ(doc.Components().size(), 10u);
    EXPECT_EQ(ui.messages.size(), 1);
}

TEST_F(SchematicViewTest, ListComponentsWaitsForItsWindowAndARepairIsAnEdit)
{
    PlaceResistor();
    EXPECT_FALSE(State(ID_ButtonListComponents).IsEnabled());
    struct Window : ComponentListWindow {
        // The repair removes the last object.
        bool Run(ComponentList& objects) override
        {
            ++runs;
            objects.pop_back();
            return true;
        }
        int runs = 0;
    } window;
    setComponentListWindow(&window);
    EXPECT_TRUE(State(ID_ButtonListComponents).IsEnabled());
    view->OnCmdMsg(TypeResistor); // the window comes only after the placing ends
    const int snapshots = doc.UndoCount();
    doc.SetModifiedFlag(false);
    view->OnCmdMsg(ID_ButtonListComponents);
    setComponentListWindow(nullptr);
    EXPECT_EQ(window.runs, 1);
    EXPECT_EQ(view->Editor().EditMode(), SchematicEditor::Idle);
    EXPECT_EQ(doc.Components().size(), 4u);
    // A repair is an edit: it can be undone and saved.
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
}

namespace {
// Grid checks run over a blank page: inside the frame only grid points are drawn.
class SchematicGridTest : public SchematicViewTest {
protected:
    // Every pixel strictly inside the frame lines that the window shows is black exactly when a grid
    // point falls on it; the number of such pixels.
    int CheckGrid(const char* name)
    {
        const QImage shown = view->viewport()->grab().toImage();
        const Rect frame = sheet::Frame(doc.PageRect);
        std::set<int> columns, rows;
        for (qint64 x = frame.left; x <= frame.right; x += doc.GridSpacing)
            columns.insert(Client(QPoint(int(x), frame.top)).x());
        for (qint64 y = frame.top; y >= frame.bottom; y -= doc.GridSpacing)
            rows.insert(Client(QPoint(frame.left, int(y))).y());
        const QPoint from = Client(QPoint(frame.left, frame.top)) + QPoint(1, 1);
        const QPoint to = Client(QPoint(frame.right, frame.bottom));
        int dots = 0, wrong = 0;
        for (int y = std::max(from.y(), 0); y < std::min(to.y(), shown.height()); ++y)
            for (int x = std::max(from.x(), 0); x < std::min(to.x(), shown.width()); ++x) {
                const bool dot = columns.count(x) && rows.count(y);
                dots += dot;
                wrong += (shown.pixel(x, y) == qRgb(0, 0, 0)) != dot;
            }
        EXPECT_EQ(wrong, 0) << name << " at " << view->Zoom() << " %";
        return dots;
    }
    // The zoom tool's band from one client point to another, as the mouse draws it.
    void Band(QPoint from, QPoint to)
    {
        view->OnCmdMsg(ID_Zoom_Tool);
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(view->viewport(), to);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
    }
    // The zoom at which the page fills the window as if both bars were shown.
    int FillingZoom() const
    {
        const int barWidth = view->verticalScrollBar()->sizeHint().width();
        const int barHeight = view->horizontalScrollBar()->sizeHint().height();
        const QSize client = view->viewport()->size();
        const int w = client.width() - (view->verticalScrollBar()->isVisible() ? 0 : barWidth);
        const int h = client.height() - (view->horizontalScrollBar()->isVisible() ? 0 : barHeight);
        return std::max(1, std::min(w * 100 / 1056, h * 100 / 816));
    }
};
} // namespace

TEST_F(SchematicGridTest, EveryGridPointInsideTheFrameIsABlackPixelAtEveryZoom)
{
    // 144 twips are 0.96 pixels at 10 %, 2.98 at 31 % and 3.17 at 33 %.
    const struct {
        int zoom, dots;
    } cases[] = {{1000, -1},
                 {100, -1}, // part of the page
                 // the whole page: 94 by 69 points inside the frame, each on a pixel of its own until they
                 // come closer than a pixel at 10 %, where they fall on 90 columns and 66 rows
                 {33, 6486},
                 {31, 6486},
                 {20, 6486},
                 {10, 5940}};
    view->OnCmdMsg(ID_Zoom_ActualSize); // the window no longer fits the page to its size
    for (const auto& c : cases) {
        view->SetZoom(c.zoom);
        ASSERT_EQ(view->Zoom(), c.zoom);
        const int dots = CheckGrid("set");
        if (c.dots >= 0) EXPECT_EQ(dots, c.dots) << c.zoom;
    }
}

TEST_F(SchematicGridTest, ABandOverThePageInASmallWindowZoomsBelowTenPercentWithItsGrid)
{
    // The page is 106 pixels wide at 10 %: a band over all of it in a smaller window fills the
    // window at a smaller zoom, and a window narrower than its bars still gets a zoom that maps.
    view->OnCmdMsg(ID_Zoom_ActualSize);
    for (const QSize size : {QSize(90, 80), QSize(60, 50), QSize(12, 12)}) {
        view->SetZoom(100);
        view->resize(size);
        QCoreApplication::processEvents();
        const int zoom = FillingZoom();
        Band(view->PageToClient(QPoint(-200, 200)), view->PageToClient(QPoint(16000, -12400)));
        EXPECT_EQ(view->Zoom(), zoom) << size.width();
        EXPECT_LT(zoom, 10);
        CheckGrid("band");
        // Points map there and back within the pixel they fall in.
        const QPoint at(7200, -5040);
        EXPECT_NEAR(view->ClientToPage(view->PageToClient(at)).x(), at.x(), 1500 / zoom + 1);
    }
    EXPECT_EQ(view->Zoom(), ZoomViewModel::kMinMappedZoom);
}
