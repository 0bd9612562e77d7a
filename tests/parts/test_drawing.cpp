// Pins, labels, wires, grounds, probes, bubbles and the drag box.
#include "../schematic/SchematicTestSupport.h"
#include "CDrawing.h"
#include "ComponentTypeId.h"
#include "DcRecorder.h"
#include "PartsTestSupport.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QColor kGreen(0, 128, 0), kGrey(128, 128, 128), kRed(255, 64, 64), kBlack(0, 0, 0), kBlue(0, 0, 255);

CDrawing& placed(PartsHost& host, quint32 type, QPoint at, int orientation)
{
    auto& object = host.add(std::make_unique<CDrawing>(type));
    object.Position = at;
    object.Orientation = orientation;
    return object;
}

struct Recorded {
    QString text;
    std::vector<DcEntry> entries;
};
Recorded drawn(CComponent& object)
{
    RecordingDc dc;
    object.Draw(dc);
    return {dc.Describe(), dc.Entries()};
}

} // namespace

TEST(Drawing, GroundsProbesAndBubbles)
{
    // The orientation a new symbol starts with, its box and its strokes at orientation 1 from the point,
    // its name and where the name label goes for the start (a ground has none, only its pin).
    // clang-format off
    const std::tuple<quint32, int, Rect, const char*, QString, QPoint> rows[] = {
        {TypeGround, 2, {0, 144, 288, -144},
         "Line 0,0 144,0\nLine 144,-144 144,144\nLine 194,94 194,-94\nLine 244,-44 244,44", "", {}},
        {TypeVoltageProbe, 4, {0, 72, 360, -72}, "Line 0,0 288,40\nLine 288,-40 0,0\nEllipse 216,72 360,-72", "P5",
         {150, 500}},
        {TypeBubbleConnector, 1, {0, 50, 244, -50}, "Line 0,0 144,0\nEllipse 144,50 244,-50", "A1", {200, 300}},
    };
    // clang-format on
    const QPoint at(1440, -1440);
    for (const auto& [type, start, extent, strokes, name, labelAt] : rows) {
        for (int o = 1; o <= 4; ++o) {
            CDrawing d(type);
            d.Position = at;
            d.Orientation = o;
            const Recorded dc = drawn(d);
            EXPECT_EQ(d.Extent, moved(turned(o, extent), at)) << type << " orientation " << o;
            for (const DcEntry& entry : dc.entries) // the strokes turned with the box
                for (const QPoint& p : entry.points)
                    EXPECT_TRUE(p.x() >= d.Extent.left && p.x() <= d.Extent.right && p.y() <= d.Extent.top &&
                                p.y() >= d.Extent.bottom)
                        << type << " orientation " << o;
        }
        CDrawing d(type);
        d.Orientation = 1;
        EXPECT_EQ(drawn(d).text, strokes) << type;

        PartsHost host;
        host.counters['P'] = 4;
        CComponent& part = placePart(host, std::make_unique<CDrawing>(type), at);
        EXPECT_EQ(part.Orientation, start);
        ASSERT_EQ(host.list.size(), name.isEmpty() ? 2u : 3u) << type;
        const CComponent& pin = *host.list.back();
        EXPECT_EQ(std::tuple(pin.TypeId, pin.Text, pin.State, pin.Visible, pin.Position),
                  std::tuple(quint32(TypeTerminal), QString("1"), 1, 1, at));
        if (name.isEmpty()) continue;
        const CComponent& label = host.at(1);
        EXPECT_EQ(
            std::tuple(part.Text, label.Text, label.TypeId, label.Visible, label.Extent, label.Position),
            std::tuple(name, name, quint32(TypeLabel), 1, Rect{}, at + labelAt));
    }
    // The probe's circle is white whatever brush was selected, and the brush is given back.
    CDrawing probe(TypeVoltageProbe);
    RecordingDc dc;
    dc.SelectObject(Brush::BlackBrush());
    probe.Draw(dc);
    EXPECT_EQ(dc.OfKind(DcShape::Ellipse)[0].brush, Brush::WhiteBrush());
    EXPECT_EQ(dc.GetCurrentBrush(), Brush::BlackBrush());
    // A broken group moves nothing.
    PartsHost host;
    CDrawing& broken = placed(host, TypeVoltageProbe, at, 1);
    placed(host, TypeTerminal, QPoint(7, 7), 1);
    broken.PlaceAttachments(host, host.list.begin());
    EXPECT_EQ(host.at(1).Position, QPoint(7, 7));
}

TEST(Drawing, ColoursFollowStateAndSelection)
{
    // (state, selected) -> symbol pen, label text
    const std::tuple<int, int, QColor, QColor> cases[] = {
        {0, 0, kGrey, kGrey}, {1, 0, kGreen, kBlack}, {1, 1, kRed, kRed}, {0, 1, kRed, kRed}};
    for (const auto& [state, selected, pen, text] : cases) {
        for (quint32 type : {TypeGround, TypeVoltageProbe, TypeBubbleConnector, TypeLabel}) {
            CDrawing d(type);
            d.Text = "R1";
            d.State = quint8(state);
            d.Selected = quint8(selected);
            const DcEntry e = drawn(d).entries.at(0);
            if (type == TypeLabel)
                EXPECT_EQ(std::tuple(e.textColor, e.bkColor, e.font),
                          std::tuple(text, QColor(Qt::white), Font(200)));
            else
                EXPECT_EQ(e.pen, Pen(Pen::Solid, 15, pen)) << type;
        }
    }
}

TEST(Drawing, PinDots)
{
    // At 96 dots per inch a pixel is 15 twips: the dot spans 3 pixels each way, 4 when selected.
    const struct {
        int state, ends, visible, selected;
        const char* drawing; // the shape and its box
        QColor pen, brush;
        int half;
    } cases[] = {{1, 1, 1, 0, "Rectangle 1395,-1395 1485,-1485", kBlue, Qt::white, 45},
                 {1, 3, 1, 0, "Ellipse 1395,-1395 1485,-1485", kBlue, Qt::black, 45},
                 {1, 2, 0, 0, "", {}, {}, 45},
                 {1, 1, 1, 1, "Rectangle 1380,-1380 1500,-1500", kRed, Qt::black, 60},
                 {0, 1, 1, 0, "", {}, {}, 0}};
    for (const auto& c : cases) {
        CDrawing pin(TypeTerminal);
        pin.State = quint8(c.state);
        pin.Position = QPoint(1440, -1440);
        pin.Orientation = c.ends;
        pin.Visible = quint8(c.visible);
        pin.Selected = quint8(c.selected);
        const Recorded dc = drawn(pin);
        EXPECT_EQ(dc.text, c.drawing) << c.ends;
        if (c.half) {
            EXPECT_EQ(pin.Extent, (Rect{1440 - c.half, -1440 + c.half, 1440 + c.half, -1440 - c.half}));
        }
        if (*c.drawing) {
            EXPECT_EQ(std::tuple(dc.entries[0].pen.color, dc.entries[0].brush.color),
                      std::tuple(c.pen, c.brush));
        }
    }
}

TEST(Drawing, LabelsSplitAtTheFirstCommaUnlessInitialConditions)
{
    const std::tuple<const char*, const char*, Rect> cases[] = {
        {"MITL0, Z0=30 TD=1n",
         "Text 100,-100 \"MITL0\"\nText 100,-300 \"Z0=30 TD=1n\"",
         {100, -100, 1200, -500}},
        {"IC=0,0", "Text 100,-100 \"IC=0,0\"", {100, -100, 700, -300}},
        {"a , b, c", "Text 100,-100 \"a\"\nText 100,-300 \"b, c\"", {100, -100, 500, -500}},
        {"R1", "Text 100,-100 \"R1\"", {100, -100, 300, -300}},
    };
    for (const auto& [text, drawing, extent] : cases) {
        CDrawing label(TypeLabel);
        label.Text = text;
        label.Position = QPoint(100, -100);
        EXPECT_EQ(drawn(label).text, drawing);
        EXPECT_EQ(label.Extent, extent) << text;
    }
    CDrawing hidden(TypeLabel);
    hidden.Text = "R1";
    hidden.Visible = 0;
    EXPECT_EQ(drawn(hidden).text, "");
    EXPECT_EQ(hidden.Extent, (Rect{0, 0, 576, -144})); // untouched
}

TEST(Drawing, WiresWhileDrawnAndOnceDropped)
{
    // Start (1000, -1000) and the box it spans with the pointer: the first leg solid, then dotted.
    // clang-format off
    const std::tuple<int, int, Rect, const char*> cases[] = {
        {0, 1, {1000, -1000, 1500, -1300}, "Line 1000,-1000 1500,-1000\nLine 1500,-1300 1500,-1000"},
        {0, 2, {1000, -1000, 1500, -1300}, "Line 1000,-1000 1000,-1300\nLine 1500,-1300 1000,-1300"},
        {0, 3, {500, -1000, 1000, -1300}, "Line 1000,-1000 500,-1000\nLine 500,-1300 500,-1000"},
        {0, 4, {1000, -700, 1500, -1000}, "Line 1000,-1000 1000,-700\nLine 1500,-700 1000,-700"},
        {1, 1, {1000, -1000, 1500, -1000}, "Line 1000,-1000 1500,-1000"},
    };
    // clang-format on
    for (const auto& [state, orientation, box, drawing] : cases) {
        CDrawing wire(TypeWire);
        wire.State = quint8(state);
        wire.Position = QPoint(1000, -1000);
        wire.Extent = box;
        wire.Orientation = orientation;
        const Recorded dc = drawn(wire);
        EXPECT_EQ(dc.text, drawing) << orientation;
        if (dc.entries.size() == 2) {
            EXPECT_EQ(dc.entries[1].pen, Pen(Pen::Dot, 15, kBlack));
        }
        wire.Position = QPoint(0, 0); // no start yet
        EXPECT_EQ(drawn(wire).text, "");
    }
}

TEST(Drawing, DroppingAWireFixesItsDirection)
{
    // Start (1440, -1440); drop point; orientation the pointer moves left; then the result and where the
    // next wire starts.
    const std::tuple<QPoint, int, int, Rect, QPoint> cases[] = {
        {{2000, -1440}, 3, 1, {1440, -1440, 2000, -1440}, {2000, -1440}}, // right
        {{1000, -1440}, 1, 1, {1000, -1440, 1440, -1440}, {1000, -1440}}, // left: pin 1 at the drop point
        {{1440, -2000}, 4, 2, {1440, -1440, 1440, -2000}, {1440, -2000}}, // down
        {{1440, -1000}, 2, 2, {1440, -1000, 1440, -1440}, {1440, -1000}}, // up
        {{2000, -1800}, 2, 2, {1440, -1440, 1440, -1800}, {1440, -1800}}, // off both lines: the first leg
        {{2000, -1800}, 0, 1, {1440, -1440, 2000, -1440}, {2000, -1440}}, // no move yet: the longer axis
        {{1600, -2000}, 0, 2, {1440, -1440, 1440, -2000}, {1440, -2000}},
        {{1000, -1800}, 0, 1, {1000, -1440, 1440, -1440}, {1000, -1440}},
    };
    for (const auto& [drop, before, after, extent, nextStart] : cases) {
        PartsHost host;
        CDrawing& wire = placed(host, TypeWire, QPoint(1440, -1440), before);
        wire.State = 1;
        size_t listAtSnapshot = 0;
        host.onRecordEdit = [&] { listAtSnapshot = host.list.size(); };
        wire.CreateAttachments(host, drop.x(), drop.y());
        EXPECT_EQ(std::tuple(wire.Orientation, wire.Extent), std::tuple(after, extent)) << drop.x();
        ASSERT_EQ(host.list.size(), 4u);
        EXPECT_EQ(listAtSnapshot, 3u); // the snapshot holds the wire and its pins, not the next wire
        const CComponent &pin1 = host.at(1), &pin2 = host.at(2), &next = host.at(3);
        EXPECT_EQ(std::tuple(pin1.TypeId, pin1.Text, pin1.State, pin1.Position, pin2.Text, pin2.Position),
                  std::tuple(quint32(TypeTerminal), QString("1"), 1, QPoint(extent.left, extent.top),
                             QString("2"), QPoint(extent.right, extent.bottom)));
        EXPECT_EQ(std::tuple(next.TypeId, next.Orientation, next.State, next.Position, next.Extent),
                  std::tuple(quint32(TypeWire), 0, 0, nextStart, extent));
    }
}

TEST(Drawing, WireDirectionTowardsThePointer)
{
    // Start (0, 0): pointer, orientation so far, the direction.
    const std::tuple<QPoint, int, int> cases[] = {
        {{500, 100}, 0, 1},  {{-500, 100}, 0, 3}, {{100, 500}, 0, 4}, {{100, -500}, 0, 2},
        {{300, 300}, 0, 4},  {{300, -300}, 0, 2}, {{500, 9}, 2, 1},   {{9, -500}, 1, 2},
        {{500, -500}, 3, 1}, {{500, 500}, 2, 4},  {{500, 100}, 4, 4}, {{0, 0}, 3, 3},
    };
    for (const auto& [pointer, before, after] : cases)
        EXPECT_EQ(CDrawing::WireDirection(QPoint(0, 0), pointer, before), after)
            << pointer.x() << "," << pointer.y();
}

TEST(Drawing, EditingAProbeOrBubbleLabel)
{
    // A bubble's label is a node name and takes anything; a probe's keeps its letter.
    // type, typed, visible, OK -> changed, text, shown, notices
    const std::tuple<quint32, const char*, int, bool, bool, const char*, int, int> cases[] = {
        {TypeVoltageProbe, "OUT", 1, true, false, "P1", 1, 1},
        {TypeVoltageProbe, "P7", 1, true, true, "P7", 1, 0},
        {TypeVoltageProbe, "P1", 0, true, true, "P1", 0, 0},
        {TypeBubbleConnector, "SUB1", 1, true, true, "SUB1", 1, 0},
        {TypeBubbleConnector, "X", 0, false, false, "A1", 1, 0},
    };
    for (const auto& [type, typed, visible, accept, changed, text, shown, notices] : cases) {
        PartsHost host;
        CComponent& d = placePart(host, std::make_unique<CDrawing>(type));
        ScriptedUiServices ui;
        ScriptedDialogs dialogs;
        dialogs.script = [&](CComponent& object) {
            auto& o = dynamic_cast<CDrawing&>(object);
            EXPECT_EQ(std::tuple(o.LabelBuffer, o.LabelVisibleCheck), std::tuple(host.at(1).Text, 1));
            o.LabelBuffer = typed;
            o.LabelVisibleCheck = visible;
            return accept;
        };
        EXPECT_EQ(d.EditProperties(host), changed) << typed;
        EXPECT_EQ(std::tuple(host.at(1).Text, int(host.at(1).Visible), ui.messages.size()),
                  std::tuple(QString(text), shown, qsizetype(notices)))
            << typed;
    }
    // Nothing else has a dialog.
    for (quint32 type : {TypeTerminal, TypeDragBox, TypeLabel, TypeWire, TypeGround}) {
        PartsHost host;
        ScriptedDialogs dialogs;
        CDrawing& d = placed(host, type, QPoint(1440, -1440), 1);
        host.add(std::make_unique<CDrawing>(TypeLabel));
        EXPECT_FALSE(d.EditProperties(host));
        EXPECT_EQ(dialogs.runs, 0);
    }
}

TEST(Drawing, HoverHighlightAndDragBox)
{
    for (int ends : {1, 2, 3}) {
        CDrawing pin(TypeTerminal);
        pin.Orientation = ends;
        pin.HighlightPin();
        EXPECT_EQ(std::tuple(pin.Selected, pin.Visible), std::tuple(1, 1));
        pin.EndPinHighlight();
        EXPECT_EQ(std::tuple(pin.Selected, pin.Visible), std::tuple(0, ends != 2 ? 1 : 0)) << ends;
    }
    CDrawing box(TypeDragBox);
    box.Extent = Rect{10, -10, 100, -200};
    const Recorded dc = drawn(box);
    EXPECT_EQ(dc.text,
              "Line 10,-10 100,-10\nLine 100,-10 100,-200\nLine 100,-200 10,-200\nLine 10,-200 10,-10");
    EXPECT_EQ(dc.entries[0].pen, Pen(Pen::Dot, 0, kGrey));
}

TEST(Drawing, FileWithEveryTypeOpensSavesAndDraws)
{
    // A wire with its pins, a ground, a probe and a bubble with theirs, a drag box, a text and a
    // sub-circuit block, as stored: the first object of a class names it, the others refer to it
    // (the drawing objects to class 1). Every extent is what drawing gives.
    Bytes objects;
    objects.u16(21).tag(3, "CDrawing").record(1440, -1440, {1440, -1440, 2880, -1440}, TypeWire, 1, "", 1);
    // A pin's dot: 3 pixels of 15 twips each way around the pixel its point falls in.
    const auto pin = [&](int x, int y, int ends) {
        const int cx = int(std::lround(x / 15.0)) * 15, cy = int(std::lround(y / 15.0)) * 15;
        objects.u16(0x8001).record(x, y, {cx - 45, cy + 45, cx + 45, cy - 45}, TypeTerminal, ends, "1", 1);
    };
    const auto label = [&](int x, int y, const QString& text, int visible) {
        const Rect box = visible ? Rect{x, y, x + 100 * int(text.size()), y - 200} : Rect{};
        objects.u16(0x8001).record(x, y, {box.left, box.top, box.right, box.bottom}, TypeLabel, 1, text,
                                   visible);
    };
    pin(1440, -1440, 1);
    pin(2880, -1440, 2);
    objects.u16(0x8001).record(2880, -1440, {2736, -1440, 3024, -1728}, TypeGround, 2, "", 1);
    pin(2880, -1440, 2);
    objects.u16(0x8001).record(1440, -1440, {1368, -1080, 1512, -1440}, TypeVoltageProbe, 4, "P1", 1);
    label(1590, -940, "P1", 1);
    pin(1440, -1440, 3);
    objects.u16(0x8001).record(4320, -1440, {4320, -1390, 4564, -1490}, TypeBubbleConnector, 1, "A1", 1);
    label(4520, -1140, "SUB1", 0);
    pin(4320, -1440, 1);
    objects.u16(0x8001).record(0, 0, {10, -10, 100, -200}, TypeDragBox, 1, "", 1);
    objects.tag(3, "CText")
        .record(720, -720, {720, -720, 2020, -920}, TypeTextSelectionTool, 1, "params: rl=50", 1);
    objects.tag(3, "CSubcircuit")
        .record(5760, -2880, {5760, -2736, 6768, -3322}, TypeSubcircuitInterface, 1, "X1", 1);
    label(6050, -2497, "X1", 1);
    label(6070, -2297, "sub.cas", 1);
    label(6070, -2097, "PARAMS:", 0);
    for (const QPoint p :
         {QPoint(5760, -2880), QPoint(5760, -3168), QPoint(6768, -2880), QPoint(6768, -3168)})
        pin(p.x(), p.y(), 1);
    const QByteArray file = fileHead(5).add(objects.data).add(defaultTail()).data;

    CTorvex2Doc doc;
    ASSERT_TRUE(loadBytes(doc, file));
    ASSERT_EQ(doc.Components().size(), 21u);
    RecordingDc dc;
    int drawnObjects = 0;
    for (const auto& object : doc.Components()) {
        EXPECT_STREQ(object->RuntimeClass().name, FindComponentType(object->TypeId)->className);
        const size_t before = dc.Entries().size();
        object->Draw(dc);
        drawnObjects += dc.Entries().size() > before;
    }
    EXPECT_EQ(drawnObjects, 19); // all but the hidden labels
    EXPECT_EQ(QString(saveBytes(doc).toHex(' ')), QString(file.toHex(' ')));
}
