// The editing rules of the schematic window, driven through the editor's own handlers with points
// in page twips.
#include "CDrawing.h"
#include "CText.h"
#include "CommandIds.h"
#include "ComponentListCheck.h"
#include "EditorFixture.h"
#include "PartsTestSupport.h"
#include "SchematicClipboard.h"
#include "SchematicSheet.h"

#include <functional>

namespace {
const QPoint kNoStart(0, 0);
// Two corners inside the name label of a resistor at Grid(2, 2), and clear of the resistor itself.
const QPoint kNameLabels[2] = {{1580, -1100}, {1700, -1180}};

std::unique_ptr<CComponent> drawing(quint32 type, const QString& text = {}, QPoint at = {})
{
    auto o = std::make_unique<CDrawing>(type);
    o->Text = text;
    o->Position = at;
    o->State = 1;
    return o;
}

// The archive form of objects made on the spot.
QByteArray payloadOf(std::vector<std::unique_ptr<CComponent>> objects)
{
    std::vector<CComponent*> raw;
    for (auto& o : objects)
        raw.push_back(o.get());
    return clipboard::WriteObjects(raw);
}
} // namespace

TEST_F(EditorTest, PlacingSnapsToTheFrameGridAndStaysInsideTheFrame)
{
    const struct {
        QPoint in;
        bool snap;
        QPoint out;
    } points[] = {
        {{1100, -1100}, true, {1080, -1080}},     {{1160, -1160}, true, {1224, -1224}},
        {{1151, -1151}, true, {1080, -1080}},     {{1152, -1152}, true, {1224, -1224}},
        {{1100, -1100}, false, {1100, -1100}},    {{0, 0}, true, {1080, -1080}},
        {{20000, -20000}, true, {14760, -11160}}, {{20000, 5000}, false, {14760, -1080}},
    };
    for (const auto& p : points)
        EXPECT_EQ(editor.PlacePoint(p.in, p.snap), p.out) << testing::PrintToString(p.in) << p.snap;
    // Drag distances: the nearest step, halves away from zero, the same both ways.
    const qint64 drags[][2] = {{0, 0}, {71, 0}, {72, 144}, {-71, 0}, {-72, -144}, {216, 288}, {-216, -288}};
    for (const auto& d : drags)
        EXPECT_EQ(SchematicEditor::SnapDistance(d[0]), d[1]) << d[0];

    EXPECT_EQ(Place(TypeResistor, {1160, -1160}).Position, QPoint(1224, -1224));
    // A wire's points snap only with Shift held.
    Wire({{1500, -1500}, {1500, -2508}});
    Wire({{1500, -3000}, {1500, -4008}}, MK_SHIFT);
    const std::vector<CComponent*> wires = OfType(TypeWire);
    ASSERT_EQ(wires.size(), 2u);
    EXPECT_EQ(wires[0]->Extent, (Rect{1500, -1500, 1500, -2508}));
    EXPECT_EQ(wires[1]->Extent, (Rect{1512, -2952, 1512, -3960}));
}

TEST_F(EditorTest, EveryOperationEndsWithEscapeOrTheRightButtonAndLeavesTheListAsItWas)
{
    Place(TypeResistor, Grid(2, 2));
    const QStringList before = Texts();
    const int snapshots = doc.UndoCount();
    const struct {
        const char* name;
        std::function<void()> start;
        int mode;
        int tool;
    } cases[] = {
        {"placing a part", [&] { editor.OnPartsTool(TypeResistor), Move(Grid(10, 10)); },
         SchematicEditor::Placing, TypeResistor},
        {"placing a wire", [&] { Key(Qt::Key_W), Click(Grid(10, 10)), Move(Grid(14, 10)); },
         SchematicEditor::Placing, TypeWire},
        {"drawing a box", [&] { Down(Grid(20, 20)), Move(Grid(25, 25), MK_LBUTTON); },
         SchematicEditor::Boxing, SchematicEditor::kSelectTool},
        {"zooming to a box",
         [&] { editor.OnZoomCommand(ID_Zoom_Tool), Down(Grid(20, 20)), Move(Grid(25, 25), MK_LBUTTON); },
         SchematicEditor::Zooming, SchematicEditor::kSelectTool},
    };
    for (const auto& c : cases)
        for (const bool rightButton : {false, true}) {
            c.start();
            EXPECT_EQ(editor.EditMode(), c.mode) << c.name;
            EXPECT_EQ(editor.CurrentTool(), c.tool) << c.name;
            // The selection rectangle is the window's, never the document's.
            EXPECT_TRUE(OfType(TypeDragBox).empty()) << c.name;
            if (rightButton && c.mode == SchematicEditor::Zooming) {
                editor.OnRButtonUp(0, Client(Grid(20, 20)));
                EXPECT_EQ(window.Zoom(), 125 * 707 / 1000) << c.name;
                window.SetZoom(125);
            }
            if (rightButton && c.mode != SchematicEditor::Zooming)
                editor.OnRButtonUp(0, Client(Grid(20, 20)));
            else
                Key(Qt::Key_Escape);
            EXPECT_EQ(editor.EditMode(), SchematicEditor::Idle) << c.name;
            EXPECT_EQ(editor.CurrentTool(), SchematicEditor::kSelectTool) << c.name;
            EXPECT_EQ(editor.DragBox(), nullptr) << c.name;
            EXPECT_EQ(Texts(), before) << c.name;
            EXPECT_TRUE(Selected().empty()) << c.name;
        }
    EXPECT_EQ(doc.UndoCount(), snapshots);

    // Idle, the right button does nothing; tools that make no object leave the window idle.
    editor.OnRButtonUp(0, Client(Grid(1, 1)));
    for (int tool : {int(TypeRailgunModel), int(TypeRodpinchModel)}) {
        editor.OnPartsTool(tool);
        EXPECT_EQ(editor.EditMode(), SchematicEditor::Idle);
        EXPECT_EQ(editor.CurrentTool(), SchematicEditor::kSelectTool);
    }
    EXPECT_EQ(Texts(), before);
    EXPECT_EQ(window.Zoom(), 125);
}

TEST_F(EditorTest, WiresJoinPinsAndASplitWireShowsAJunction)
{
    Place(TypeResistor, Grid(2, 2)); // pins at Grid(2, 2) and Grid(6, 2)
    Wire({Grid(6, 2), Grid(12, 2)});
    const auto pinsAt = [&](QPoint p) {
        std::vector<CComponent*> out;
        for (CComponent* pin : OfType(TypeTerminal))
            if (pin->Position == p) out.push_back(pin);
        return out;
    };
    // A plain joint of two ends shows no dot; a free end does.
    ASSERT_EQ(pinsAt(Grid(6, 2)).size(), 2u);
    for (CComponent* pin : pinsAt(Grid(6, 2)))
        EXPECT_EQ(std::pair(pin->Orientation, int(pin->Visible)), std::pair(2, 0));
    EXPECT_EQ(std::pair(pinsAt(Grid(12, 2))[0]->Orientation, int(pinsAt(Grid(12, 2))[0]->Visible)),
              std::pair(1, 1));

    // From below onto the middle of the horizontal wire: it is cut there.
    Wire({Grid(9, 6), {Grid(9, 2).x() + 12, Grid(9, 2).y()}});
    const std::vector<CComponent*> wires = OfType(TypeWire);
    ASSERT_EQ(wires.size(), 3u);
    EXPECT_EQ(wires[0]->Extent, (Rect{Grid(6, 2).x(), Grid(6, 2).y(), Grid(9, 2).x(), Grid(9, 2).y()}));
    EXPECT_EQ(wires[1]->Extent, (Rect{Grid(9, 2).x(), Grid(9, 2).y(), Grid(12, 2).x(), Grid(12, 2).y()}));
    // The crossing wire came straight up from its start.
    EXPECT_EQ(wires[2]->Extent, (Rect{Grid(9, 2).x(), Grid(9, 2).y(), Grid(9, 6).x(), Grid(9, 6).y()}));
    ASSERT_EQ(pinsAt(Grid(9, 2)).size(), 3u);
    for (CComponent* pin : pinsAt(Grid(9, 2)))
        EXPECT_EQ(std::pair(pin->Orientation, int(pin->Visible)), std::pair(3, 1));
    EXPECT_EQ(pinsAt(Grid(12, 2))[0]->Orientation, 1);
    EXPECT_TRUE(CheckComponentList(doc.Components()));

    // Clicking a wire's start again drops the start; the next click starts it anew.
    Key(Qt::Key_W);
    Click(Grid(20, 20));
    Click(Grid(20, 20));
    EXPECT_EQ(editor.PlacedObject()->Position, kNoStart);
    Click(Grid(22, 20));
    Click(Grid(22, 24));
    Key(Qt::Key_Escape);
    EXPECT_EQ(OfType(TypeWire).back()->Extent,
              (Rect{Grid(22, 20).x(), Grid(22, 20).y(), Grid(22, 24).x(), Grid(22, 24).y()}));
}

TEST_F(EditorTest, HoveringHighlightsOnePinOrOneWireAndForgetsThemWhenTheListChanges)
{
    Place(TypeResistor, Grid(2, 2));
    Wire({Grid(6, 2), Grid(12, 2)});
    Key(Qt::Key_W);
    Move(Grid(6, 2)); // two pins there: the first one counts, and the wire's end gives way to it
    ASSERT_NE(editor.HoverPin(), nullptr);
    EXPECT_EQ(editor.HoverPin()->Selected, 1);
    EXPECT_EQ(editor.HoverWire(), nullptr);
    Move(Grid(9, 2));
    EXPECT_EQ(editor.HoverPin(), nullptr);
    ASSERT_NE(editor.HoverWire(), nullptr);
    EXPECT_EQ(editor.HoverWire()->Selected, 1);
    Move(Grid(9, 5));
    EXPECT_EQ(editor.HoverWire(), nullptr);
    EXPECT_TRUE(Selected().empty());

    // Another window of the document undoes the wire while this one hovers over it.
    Move(Grid(9, 2));
    EditorWindowModel other;
    SchematicEditor second(other, other);
    second.SetDocument(&doc);
    second.OnEditUndo();
    editor.OnDocumentChanged();
    EXPECT_EQ(editor.HoverWire(), nullptr);
    EXPECT_EQ(editor.EditMode(), SchematicEditor::Idle);
    Move(Grid(9, 3));
    EXPECT_EQ(OfType(TypeWire).size(), 0u);
}

TEST_F(EditorTest, BoxesClicksAndCtrlSelectPartsWithAttachmentsAndWiresThroughBends)
{
    CComponent& r1 = Place(TypeResistor, Grid(2, 2));
    CComponent& r2 = Place(TypeResistor, Grid(2, 2)); // dropped onto R1's first pin: the same place
    Wire({Grid(6, 2), Grid(10, 2), Grid(10, 6)});     // a bend at Grid(10, 2)
    Wire({Grid(10, 6), Grid(14, 6)});                 // a second chain from the first's end
    Wire({Grid(10, 6), Grid(10, 9)});                 // ...which makes Grid(10, 6) a junction
    Paint();

    // The coin decides which of two parts lying over each other a click takes.
    coins = {true, false, false};
    Click(Grid(4, 2));
    EXPECT_EQ(Selected().front(), &r1);
    EXPECT_EQ(Selected().size(), 5u); // the part and its attachments
    Click({1656, -1800});             // away from both: nothing
    Click(Grid(4, 2));
    EXPECT_EQ(Selected().front(), &r2);

    // Ctrl adds and takes away.
    coins = {true, true};
    Click(Grid(4, 2), MK_CONTROL);
    EXPECT_TRUE(r1.Selected && r2.Selected);
    Click(Grid(4, 2), MK_CONTROL);
    EXPECT_FALSE(r1.Selected);
    EXPECT_EQ(Selected().size(), 5u);

    // A wire takes its pins and the wires joined through plain bends, up to the junction.
    Click(Grid(8, 2));
    const std::vector<CComponent*> wires = OfType(TypeWire);
    EXPECT_TRUE(wires[0]->Selected && wires[1]->Selected);
    EXPECT_FALSE(wires[2]->Selected || wires[3]->Selected);
    EXPECT_EQ(Selected().size(), 6u);

    // A box takes what it meets, with the attachments; without Ctrl it starts afresh.
    Drag(Grid(12, 5), Grid(13, 7));
    const std::vector<CComponent*> pins = OfType(TypeTerminal);
    EXPECT_EQ(Selected(), (std::vector<CComponent*>{wires[2], pins[8], pins[9]}));
    Drag(kNameLabels[0], kNameLabels[1], MK_CONTROL);
    EXPECT_EQ(Selected().size(), 5u);
}

TEST_F(EditorTest, RotatingTurnsPartsWithTheirAttachmentsButNotDroppedWires)
{
    CComponent& r = Place(TypeResistor, Grid(5, 5));
    Wire({Grid(20, 5), Grid(24, 5)});
    std::vector<QPoint> before;
    for (const auto& o : doc.Components())
        before.push_back(o->Position);
    Drag(Grid(0, 0), Grid(30, 10)); // everything
    const int snapshots = doc.UndoCount();
    Key(Qt::Key_R);
    EXPECT_EQ(r.Orientation, 2);
    EXPECT_EQ(At(4).Position, Grid(5, 9)); // pin "2" below
    EXPECT_EQ(OfType(TypeWire)[0]->Orientation, 1);
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_R);
    EXPECT_EQ(r.Orientation, 1);
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(At(i).Position, before[i]) << i;
    EXPECT_EQ(doc.UndoCount(), std::min(snapshots + 4, 21));

    // While placing only the object being placed turns, without a snapshot.
    Key(Qt::Key_W);
    Click(Grid(20, 15));
    Move(Grid(24, 15));
    EXPECT_EQ(editor.PlacedObject()->Orientation, 1);
    Key(Qt::Key_R);
    EXPECT_EQ(editor.PlacedObject()->Orientation, 2);
    EXPECT_EQ(r.Orientation, 1);
    EXPECT_EQ(doc.UndoCount(), std::min(snapshots + 4, 21));
}

TEST_F(EditorTest, DeleteRemovesWholePartsAndALabelAloneStays)
{
    Place(TypeResistor, Grid(2, 2));
    Place(TypeResistor, Grid(2, 8));
    Paint();
    const int snapshots = doc.UndoCount();
    Drag(kNameLabels[0], kNameLabels[1]); // R1's name label only
    Key(Qt::Key_Delete);
    EXPECT_EQ(doc.Components().size(), 10u);
    EXPECT_EQ(doc.UndoCount(), snapshots);

    Click(Grid(4, 2));
    Key(Qt::Key_Delete);
    EXPECT_EQ(Texts(), (QStringList{"R2", "R2", "1k", "1", "2"}));
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
}

TEST_F(EditorTest, CopyTakesWholeGroupsAndPasteRenamesOnlyNamedObjects)
{
    Place(TypeResistor, Grid(2, 2));
    CComponent& bubble = Place(TypeBubbleConnector, Grid(10, 2));
    Wire({Grid(6, 2), Grid(10, 2)});
    Place(TypeGround, Grid(2, 2));
    std::next(doc.Components().begin(), 6)->get()->Text = QStringLiteral("VOUT"); // the bubble's label
    Paint();
    ASSERT_EQ(bubble.Text, QStringLiteral("A1"));

    Drag(Grid(0, 0), Grid(14, 6));
    // A label taken out of the selection still goes with its part.
    Click(kNameLabels[0], MK_CONTROL);
    EXPECT_EQ(At(1).Selected, 0);
    const QByteArray copied = editor.CopySelection(false);
    EXPECT_TRUE(Selected().empty());
    const size_t count = doc.Components().size();
    const int snapshots = doc.UndoCount();
    doc.SetModifiedFlag(false);

    ASSERT_TRUE(editor.Paste(copied));
    EXPECT_EQ(doc.Components().size(), 2 * count);
    const QStringList texts = Texts();
    EXPECT_EQ(texts.mid(int(count)),
              (QStringList{"R2", "R2", "1k", "1", "2", "A2", "A2", "1", "", "1", "2", "", "1"}));
    EXPECT_EQ(Selected().size(), count);
    EXPECT_EQ(At(count).Position, Grid(2, 2) + QPoint(144, -144));
    EXPECT_EQ(At(count + 8).Extent, (Rect{Grid(6, 2).x() + 144, Grid(6, 2).y() - 144, Grid(10, 2).x() + 144,
                                          Grid(10, 2).y() - 144}));
    // A paste is an edit: a snapshot and the modified flag.
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
    editor.OnEditUndo();
    EXPECT_EQ(doc.Components().size(), count);

    // A label selected alone copies nothing; a paste while placing ends the placing first.
    Paint();
    Drag(kNameLabels[0], kNameLabels[1]);
    EXPECT_TRUE(editor.CopySelection(false).isEmpty());
    editor.OnPartsTool(TypeResistor);
    ASSERT_TRUE(editor.Paste(copied));
    EXPECT_EQ(editor.EditMode(), SchematicEditor::Idle);
    EXPECT_TRUE(CheckComponentList(doc.Components()));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(EditorTest, MalformedClipboardDataIsRefusedOrItsBrokenGroupsDropped)
{
    auto resistor = [] {
        auto r = CTorvex2Doc::CreateComponent(TypeResistor);
        r->Text = QStringLiteral("R1");
        r->State = 1;
        return r;
    };
    auto group = [&](std::initializer_list<quint32> attachments) {
        std::vector<std::unique_ptr<CComponent>> v;
        v.push_back(resistor());
        for (quint32 t : attachments)
            v.push_back(drawing(t, QStringLiteral("x")));
        return v;
    };
    auto withGround = [&](std::vector<std::unique_ptr<CComponent>> v) {
        v.push_back(drawing(TypeGround));
        v.push_back(drawing(TypeTerminal, QStringLiteral("1")));
        return payloadOf(std::move(v));
    };
    auto alone = [] {
        std::vector<std::unique_ptr<CComponent>> v;
        v.push_back(drawing(TypeTerminal, QStringLiteral("1")));
        return v;
    };
    const QByteArray whole = withGround(group({TypeLabel, TypeLabel, TypeTerminal, TypeTerminal}));
    QByteArray hugeCount("\xFF\xFF\xFF\xFF\xFF\x7F", 6);
    const struct {
        const char* name;
        QByteArray payload;
        size_t added; // objects
        bool message;
    } cases[] = {
        {"intact", whole, 7, false},
        {"no data", {}, 0, false},
        {"empty list", QByteArray("\0\0", 2), 0, false},
        {"not an archive", "not an archive at all", 0, true},
        {"cut short", whole.left(whole.size() - 3), 0, true},
        {"a count beyond the data", hugeCount, 0, true},
        {"a class nobody has", QByteArray("\1\0\xFF\xFF\3\0\7\0CNobody", 15) + QByteArray(40, '\0'), 0, true},
        {"a part without its pins", withGround(group({TypeLabel, TypeLabel})), 2, false},
        {"pins before labels", withGround(group({TypeTerminal, TypeLabel, TypeLabel, TypeTerminal})), 2,
         false},
        {"a pin alone", withGround(alone()), 2, false},
    };
    for (const auto& c : cases) {
        doc.DeleteContents();
        ui.messages.clear();
        const bool pasted = editor.Paste(c.payload);
        EXPECT_EQ(pasted, c.added > 0) << c.name;
        EXPECT_EQ(doc.Components().size(), c.added) << c.name;
        EXPECT_EQ(!ui.messages.isEmpty(), c.message) << c.name;
        EXPECT_TRUE(CheckComponentList(doc.Components())) << c.name;
    }
}

TEST_F(EditorTest, DragMoveFollowsEitherAxisInGridStepsAndCatchesUp)
{
    CComponent& r = Place(TypeResistor, Grid(2, 2));
    Paint();
    Click(Grid(4, 2));
    const struct {
        bool snap;
        unsigned flags;
        QPoint by;
        QPoint moved;
    } cases[] = {
        {true, 0, {0, -144}, {0, -144}},      // straight down
        {true, 0, {96, 0}, {144, 0}},         // to the nearest step
        {true, 0, {60, 0}, {0, 0}},           // not yet
        {false, 0, {96, -12}, {96, -12}},     // as the pointer goes
        {false, MK_SHIFT, {96, 0}, {144, 0}}, // Shift steps by the grid
    };
    for (const auto& c : cases) {
        doc.SnapToGrid = c.snap;
        const QPoint before = r.Position;
        const QPoint grab = r.Position + QPoint(288, 0);
        Drag(grab, grab + c.by, c.flags);
        EXPECT_EQ(r.Position - before, c.moved) << testing::PrintToString(c.by);
        EXPECT_EQ(At(4).Position, r.Position + QPoint(576, 0)) << testing::PrintToString(c.by);
    }
    // What a step leaves behind is caught up by the next.
    doc.SnapToGrid = true;
    const QPoint before = r.Position;
    const QPoint grab = r.Position + QPoint(288, 0);
    Move(grab);
    Down(grab);
    Move(grab + QPoint(60, 0), MK_LBUTTON);
    EXPECT_EQ(r.Position, before);
    Move(grab + QPoint(120, 0), MK_LBUTTON);
    Up(grab + QPoint(120, 0));
    EXPECT_EQ(r.Position, before + QPoint(144, 0));

    // A click on the selection that does not move takes no snapshot.
    const int snapshots = doc.UndoCount();
    Click(r.Position + QPoint(288, 0));
    EXPECT_EQ(doc.UndoCount(), snapshots);
}

TEST_F(EditorTest, ADoubleClickOnALabelEditsItsPartAsOneEdit)
{
    CComponent& r = Place(TypeResistor, Grid(2, 2));
    Paint();
    ScriptedDialogs dialogs;
    dialogs.script = [](CComponent& o) {
        o.ValueBuffer = QStringLiteral("10");
        return true;
    };
    const int snapshots = doc.UndoCount();
    doc.SetModifiedFlag(false);
    editor.OnLButtonDblClk(0, Client(Grid(2, 3) + QPoint(250, 0))); // on the value label
    EXPECT_EQ(dialogs.runs, 1);
    EXPECT_EQ(At(2).Text, QStringLiteral("10"));
    EXPECT_TRUE(r.Selected);
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
    EXPECT_TRUE(doc.IsModified());

    editor.OnLButtonDblClk(0, Client(Grid(20, 20)));
    EXPECT_EQ(dialogs.runs, 1);
}

TEST_F(EditorTest, UndoAndRedoRestoreTheListAndItsModifiedFlag)
{
    Place(TypeResistor, Grid(2, 2));
    Place(TypeResistor, Grid(2, 8));
    editor.OnPartsTool(TypeResistor); // being placed: no part of any snapshot
    EXPECT_TRUE(editor.CanUndo());
    editor.OnEditUndo();
    EXPECT_EQ(Texts(), (QStringList{"R1", "R1", "1k", "1", "2"}));
    EXPECT_EQ(editor.CurrentTool(), 0);
    EXPECT_TRUE(doc.IsModified());
    editor.OnEditUndo();
    EXPECT_TRUE(doc.Components().empty());
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_FALSE(doc.IsModified()); // back to the new document
    editor.OnEditRedo();
    editor.OnEditRedo();
    EXPECT_EQ(doc.Components().size(), 10u);
    EXPECT_FALSE(editor.CanRedo());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GE(window.changes, 4);
}

TEST_F(EditorTest, ZoomCommandsKeepToTheZoomRange)
{
    const struct {
        int zoom;
        bool in, out, actual;
    } cases[] = {{10, true, false, false}, {100, true, true, true}, {1000, false, true, false}};
    for (const auto& c : cases) {
        window.SetZoom(c.zoom);
        EXPECT_EQ(editor.IsZoomCommandEnabled(ID_Zoom_Tool), c.in) << c.zoom;
        EXPECT_EQ(editor.IsZoomCommandEnabled(ID_Zoom_Out), c.out) << c.zoom;
        EXPECT_TRUE(editor.IsZoomCommandEnabled(ID_Zoom_Fit));
        EXPECT_EQ(editor.IsZoomCommandChecked(ID_Zoom_ActualSize), c.actual) << c.zoom;
    }
    window.SetZoom(100);
    editor.OnZoomCommand(ID_Zoom_Out);
    EXPECT_EQ(window.Zoom(), 70);
    editor.OnZoomCommand(ID_Zoom_ActualSize);
    EXPECT_EQ(window.Zoom(), 100);
    // The zoom tool: a click zooms in around the point, a box zooms to the box and ends the tool.
    editor.OnZoomCommand(ID_Zoom_Tool);
    Click(Grid(50, 30));
    EXPECT_EQ(window.Zoom(), 141);
    EXPECT_EQ(editor.EditMode(), SchematicEditor::Zooming);
    Drag(Grid(50, 30), Grid(56, 34));
    EXPECT_GT(window.Zoom(), 141);
    EXPECT_EQ(editor.EditMode(), SchematicEditor::Idle);
}

TEST_F(EditorTest, ARepaintDrawsWhatMeetsItsAreaLabelsIncluded)
{
    Place(TypeResistor, Grid(2, 2));
    RecordingDc whole;
    window.OnPrepareDC(whole, false);
    editor.Draw(whole);
    QStringList texts;
    for (const DcEntry& e : whole.OfKind(DcShape::Text))
        texts << e.text;
    // The zone border's numbers and letters on both sides, then the part's labels.
    EXPECT_EQ(texts.size(), 34);
    EXPECT_EQ(texts.mid(0, 4), (QStringList{"1", "1", "A", "A"}));
    EXPECT_EQ(texts.mid(32), (QStringList{"R1", "1k"}));

    // A repaint of the top of the name label only: the label is drawn, its part is not.
    RecordingDc part;
    window.OnPrepareDC(part, false);
    const QPoint a = part.LPtoDP(QPoint(1568, -1100)), b = part.LPtoDP(QPoint(1700, -1190));
    part.SetDeviceClip(QRect(a, b));
    editor.Draw(part);
    ASSERT_EQ(part.Count(DcShape::Text), 1);
    EXPECT_EQ(part.OfKind(DcShape::Text)[0].text, QStringLiteral("R1"));
    for (const DcEntry& e : part.Entries())
        EXPECT_NE(e.pen.color, QColor(0, 128, 0)) << e.Describe().toStdString();
}

TEST_F(EditorTest, ATextAsksForItsWordsOnceAndTheNextRepeatsThem)
{
    ScriptedDialogs dialogs;
    dialogs.script = [](CComponent& o) {
        static_cast<CText&>(o).TextBuffer = QStringLiteral("PARAMS: RL=50");
        return true;
    };
    editor.OnPartsTool(TypeTextSelectionTool);
    EXPECT_EQ(dialogs.runs, 1);
    Click(Grid(3, 3));
    // The next text follows the pointer with the same words, without asking.
    EXPECT_EQ(dialogs.runs, 1);
    ASSERT_NE(editor.PlacedObject(), nullptr);
    EXPECT_EQ(editor.PlacedObject()->Text, QStringLiteral("PARAMS: RL=50"));
    Click(Grid(3, 6));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Texts(), (QStringList{"PARAMS: RL=50", "PARAMS: RL=50"}));

    // A text is cut (copied with the selection kept, then deleted) and pasted without a new name; it
    // still takes a number of its first letter, as a part would.
    Paint();
    Click(Grid(3, 3) + QPoint(100, -100));
    const QByteArray copied = editor.CopySelection(true);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Texts(), QStringList{"PARAMS: RL=50"});
    ASSERT_TRUE(editor.Paste(copied));
    EXPECT_EQ(Texts(), (QStringList{"PARAMS: RL=50", "PARAMS: RL=50"}));
    EXPECT_EQ(doc.DesignatorCounters.at('P'), 1);
}
