// The schematic window as a widget: its events, cursors, commands and clipboard.
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "CTorvex2View.h"
#include "CmdUI.h"
#include "CommandIds.h"
#include "ComponentListCheck.h"
#include "ComponentTypeId.h"
#include "SchematicClipboard.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTest>

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
