// The source, probe and resistor-family parts: what the tools make, how they draw and place their
// attachments at every orientation, what the simulator makes of their default values, and their
// files.
#include "CComponentSim.h"
#include "CCurrentSourceSim.h"
#include "CIdealDiodeSim.h"
#include "CResistorSim.h"
#include "CSimulatorDoc.h"
#include "CSwitchSim.h"
#include "CVariableRSim.h"
#include "CVoltageSource.h"
#include "CVoltageSourceSim.h"
#include "ComponentClasses.h"
#include "DcRecorder.h"
#include "ElementFactory.h"
#include "SchematicTestSupport.h"
#include "Text.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <map>
#include <typeinfo>

namespace {

struct AttachmentOffsets {
    QPoint pin2, nameLabel, valueLabel;
};

struct PartRow {
    quint32 type;
    const char* className;
    const char* letter;
    int orientation; // at creation
    const char* defaultValue;
    int valueLabel; // 1 shown, 0 hidden, -1 none
    // Offsets of pin "2", the name label and the value label at the orientation of creation.
    AttachmentOffsets places;
    // At position (0, 0), orientations 1 to 4.
    Rect extents[4];
    // Orientation 1 at (0, 0), with the brush of every filled shape.
    const char* symbol;
    // The simulator's element for the default netlist line, and the messages that reading it shows
    // ("|" between two).
    const std::type_info* element;
    const char* readMessages;
};

constexpr Rect k576[4] = {
    {0, 144, 576, -144}, {-144, 0, 144, -576}, {-576, 144, 0, -144}, {-144, 576, 144, 0}};
constexpr Rect k432[4] = {
    {0, 144, 432, -144}, {-144, 0, 144, -432}, {-432, 144, 0, -144}, {-144, 432, 144, 0}};
constexpr Rect kSource[4] = {
    {0, 216, 720, -216}, {-216, 0, 216, -720}, {-720, 216, 0, -216}, {-216, 720, 216, 0}};
constexpr Rect kProbe[4] = {
    {0, 368, 432, -288}, {-288, 0, 368, -432}, {-432, 368, 0, -288}, {-288, 432, 368, 0}};

const char* const kZigzag = "Line 0,0 144,0|Line 144,0 168,72|Line 168,72 216,-72|Line 216,-72 264,72|"
                            "Line 264,72 312,-72|Line 312,-72 360,72|Line 360,72 408,-72|Line 408,-72 432,0|"
                            "Line 432,0 576,0";

// clang-format off
const PartRow kRows[] = {
    {TypeResistor, "CResistor", "R", 1, "1k", 1, {{576, 0}, {200, 300}, {200, -100}}, {k576[0], k576[1], k576[2], k576[3]},
     kZigzag, &typeid(CResistorSim), ""},
    {TypeVariableResistor, "CVariableR", "R", 1, "VARR POWER A=0 B=1 N=1", 1, {{576, 0}, {200, 300}, {200, -100}},
     {k576[0], k576[1], k576[2], k576[3]},
     "", &typeid(CVariableRSim), ""},
    {TypeResistiveSwitch, "CSwitch", "S", 1, "TIME 1E6 0.1 10n 1n LIN", 0, {{432, 0}, {100, 300}, {100, -100}},
     {k432[0], k432[1], k432[2], k432[3]},
     "Line 0,0 144,0|Ellipse 108,36 180,-36 #008000|Line 144,0 288,100|Ellipse 252,36 324,-36 #008000|Line 288,0 432,0",
     &typeid(CSwitchSim), ""},
    {TypeIdealDiode, "CIdealDiode", "D", 1, "IDIODE RON=.1m ROFF=10MEG", 1, {{432, 0}, {150, 350}, {140, -150}},
     {k432[0], k432[1], k432[2], k432[3]},
     "Line 0,0 144,0|Line 144,0 144,144|Line 144,144 288,0|Line 288,0 144,-144|Line 144,-144 144,0|"
     "Line 288,144 288,-144|Line 288,0 432,0",
     &typeid(CIdealDiodeSim), ""},
    {TypeOilSwitchModel, "COilSwitch", "R", 1, "OILSW GAP=10 EB1P=2000 EB1N=2000 EB2P=2000 EB2N=50", 1,
     {{576, 0}, {200, 400}, {200, -200}}, {k576[0], k576[1], k576[2], k576[3]},
     "Line 0,0 144,0|Rectangle 144,144 432,-144 #ffff00 no pen|Rectangle 144,50 216,-50 #000000|"
     "Rectangle 360,50 432,-50 #000000|Line 144,144 144,-144|Line 432,144 432,-144|Line 432,0 576,0",
     &typeid(CResistorSim),
     "Warning: Unrecognized Character in Netlist.|"
     "Warning:  R1 (OILSW) has no simulation model of its own and runs as a near short circuit."},
    {TypePlanarDiodeModel, "CPlanarDiode", "R", 1, "PLDIODE EL=1 EW=1 EG=1 CV=2 IM=1 BF=50 TOT=10 AET=1", 1,
     {{576, 0}, {200, 400}, {200, -200}}, {k576[0], k576[1], k576[2], k576[3]},
     "Line 0,0 144,0|Rectangle 144,144 244,-144 pattern 16 no pen|Rectangle 244,144 344,-144 pattern 2 no pen|"
     "Line 144,144 144,-144|Line 432,144 432,-144|Line 432,0 576,0",
     &typeid(CResistorSim), "Warning:  R1 (PLDIODE) has no simulation model of its own and runs as a near short circuit."},
    {TypeVoltageSource, "CVoltageSource", "V", 2, "PULSE 0 1.0 20n 10n 20n 5n 70n", 1,
     {{0, -720}, {250, -130}, {250, -330}}, {kSource[0], kSource[1], kSource[2], kSource[3]},
     "Line 0,0 144,0|Ellipse 144,216 576,-216 #ffffff|Line 576,0 720,0|Line 238,-50 238,50|Line 188,0 288,0|"
     "Line 482,-50 482,50",
     &typeid(CVoltageSourceSim), ""},
    {TypeCurrentSource, "CCurrentSource", "I", 1, "PULSE 0 1.0 20n 10n 20n 5n 70n", 1,
     {{720, 0}, {200, 450}, {200, -250}}, {kSource[0], kSource[1], kSource[2], kSource[3]},
     "Line 0,0 144,0|Ellipse 144,216 576,-216 #ffffff|Line 576,0 720,0|Line 238,0 488,0|Line 488,0 388,75|"
     "Line 488,0 388,-75",
     &typeid(CCurrentSourceSim), ""},
    {TypeCurrentProbe, "CCurrentProbe", "V", 1, "DC 0", -1, {{432, 0}, {350, 450}, {}},
     {kProbe[0], kProbe[1], kProbe[2], kProbe[3]},
     "Line 0,0 432,0|Ellipse 166,144 266,-144 #ffffff|Line 216,144 216,288|Ellipse 176,368 256,288 #ffffff|"
     "Line 116,-216 404,-216|Line 404,-216 260,-288|Line 404,-216 260,-144",
     &typeid(CVoltageSourceSim), ""},
};
// clang-format on

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

Rect moved(const Rect& r, QPoint by)
{
    return Rect{r.left + by.x(), r.top + by.y(), r.right + by.x(), r.bottom + by.y()};
}

// The recorder's entries, one a line, with the fill of every filled shape (its colour, or the number
// of set bits of a pattern) and a null pen noted.
QString describe(const RecordingDc& rec)
{
    QStringList out;
    for (const DcEntry& e : rec.Entries()) {
        QString s = e.Describe();
        if (e.kind == DcShape::Rectangle || e.kind == DcShape::Ellipse) {
            if (e.brush.style == Brush::Pattern) {
                int bits = 0;
                for (quint8 row : e.brush.rows)
                    bits += qPopulationCount(row);
                s += QStringLiteral(" pattern %1").arg(bits);
            } else {
                s += u' ' + e.brush.color.name();
            }
            if (e.pen.style == Pen::Null) s += QStringLiteral(" no pen");
        }
        out << s;
    }
    return out.join(u'|');
}

// A new part of the row's type, as the tool makes it, placed at `at` in the document.
CComponent& place(CTorvex2Doc& doc, const PartRow& row, QPoint at)
{
    std::unique_ptr<CComponent> part = CTorvex2Doc::CreateComponent(row.type);
    EXPECT_NE(part, nullptr) << row.className;
    part->Position = at;
    doc.Components().push_back(std::move(part));
    CComponent& placed = *doc.Components().back();
    placed.CreateAttachments(doc, at.x(), at.y());
    placed.State = 1;
    return placed;
}

std::vector<CComponent*> attachmentsOf(CTorvex2Doc& doc, const CComponent& part)
{
    std::vector<CComponent*> out;
    bool found = false;
    for (const auto& object : doc.Components()) {
        if (found) out.push_back(object.get());
        found = found || object.get() == &part;
    }
    return out;
}

class PartClasses : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterTestClasses(); }
};

} // namespace

TEST_F(PartClasses, ToolsMakeNameAndPlaceEveryClass)
{
    for (const PartRow& row : kRows) {
        SCOPED_TRACE(row.className);
        CTorvex2Doc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        const QPoint at(1440, -2880);
        CComponent& part = place(doc, row, at);
        EXPECT_STREQ(part.RuntimeClass().name, row.className);
        EXPECT_TRUE(part.IsKindOf(*FindComponentClass(row.className)->info));
        EXPECT_EQ(
            std::tuple(part.TypeId, part.Orientation, part.Text, part.GetDefaultValue()),
            std::tuple(row.type, row.orientation, row.letter + QString("1"), QString(row.defaultValue)));

        // Name label, value label (unless the part has none), pins "1" and "2", all placed.
        const std::vector<CComponent*> a = attachmentsOf(doc, part);
        const bool withValue = row.valueLabel >= 0;
        ASSERT_EQ(int(a.size()), part.GetAttachmentCount());
        ASSERT_EQ(int(a.size()), withValue ? 4 : 3);
        const CComponent& name = *a[0];
        const CComponent& pin1 = *a[a.size() - 2];
        const CComponent& pin2 = *a[a.size() - 1];
        EXPECT_EQ(std::tuple(name.TypeId, name.Text, name.Visible, name.Position),
                  std::tuple(quint32(TypeLabel), part.Text, 1, at + row.places.nameLabel));
        if (withValue) {
            const CComponent& value = *a[1];
            EXPECT_EQ(std::tuple(value.TypeId, value.Text, int(value.Visible), value.Position),
                      std::tuple(quint32(TypeLabel), QString(row.defaultValue), row.valueLabel,
                                 at + row.places.valueLabel));
        }
        EXPECT_EQ(std::tuple(pin1.TypeId, pin1.Text, pin1.Position),
                  std::tuple(quint32(TypeTerminal), QString("1"), at));
        EXPECT_EQ(std::tuple(pin2.TypeId, pin2.Text, pin2.Position),
                  std::tuple(quint32(TypeTerminal), QString("2"), at + row.places.pin2));
        for (const CComponent* c : a)
            EXPECT_EQ(std::tuple(c->State, c->Extent, c->GetAttachmentCount()), std::tuple(1, Rect{}, 0));

        // At every orientation the pins sit at the ends of the symbol's leads, on its outline.
        for (int o = 1; o <= 4; ++o) {
            part.Orientation = o;
            part.PlaceAttachments(doc, std::prev(doc.Components().end(), int(a.size()) + 1));
            RecordingDc rec;
            part.Draw(rec);
            EXPECT_EQ(part.Extent, moved(row.extents[o - 1], at)) << o;
            for (const CComponent* pin : {&pin1, &pin2}) {
                bool atLineEnd = false;
                for (const DcEntry& e : rec.OfKind(DcShape::Line))
                    atLineEnd = atLineEnd || e.points[0] == pin->Position || e.points[1] == pin->Position;
                const QPoint p = pin->Position;
                const Rect& x = part.Extent;
                const bool onOutline =
                    (p.x() == x.left || p.x() == x.right || p.y() == x.top || p.y() == x.bottom);
                EXPECT_TRUE(atLineEnd && onOutline) << o << " pin " << qPrintable(pin->Text);
            }
        }
        // Any other orientation moves pin "1" alone.
        const QPoint pin2Before = pin2.Position;
        part.Position = QPoint(0, 0);
        part.Orientation = 7;
        part.PlaceAttachments(doc, std::prev(doc.Components().end(), int(a.size()) + 1));
        EXPECT_EQ(std::tuple(pin1.Position, pin2.Position), std::tuple(QPoint(0, 0), pin2Before));
    }
}

TEST_F(PartClasses, SymbolsAndColours)
{
    for (const PartRow& row : kRows) {
        SCOPED_TRACE(row.className);
        std::unique_ptr<CComponent> part = CTorvex2Doc::CreateComponent(row.type);
        part->Orientation = 1;
        part->State = 1;
        RecordingDc rec;
        const Pen before = rec.GetCurrentPen();
        const Brush brushBefore = rec.GetCurrentBrush();
        part->Draw(rec);
        const QString expected = *row.symbol ? QString(row.symbol) : QString(kZigzag);
        if (row.type != TypeVariableResistor)
            EXPECT_EQ(describe(rec), expected);
        else
            EXPECT_TRUE(describe(rec).startsWith(expected));
        // Pens and brushes are put back.
        EXPECT_EQ(std::tuple(rec.GetCurrentPen(), rec.GetCurrentBrush()), std::tuple(before, brushBefore));
        // Placed green, grey while placing, light red when selected; 15 twips wide.
        for (const auto& [state, selected, colour] : {std::tuple(1, 0, QColor(0, 128, 0)),
                                                      {0, 0, QColor(128, 128, 128)},
                                                      {1, 1, QColor(255, 64, 64)}}) {
            part->State = quint8(state);
            part->Selected = quint8(selected);
            rec.Clear();
            part->Draw(rec);
            for (const DcEntry& e : rec.OfKind(DcShape::Line))
                EXPECT_EQ(e.pen, Pen(Pen::Solid, 15, colour)) << state << selected;
        }
    }
}

TEST_F(PartClasses, VariableResistorArrowHasItsOwnSecondOrientation)
{
    // The arrow of orientation 2 is not the first orientation's turned a quarter.
    const std::pair<int, const char*> arrows[] = {
        {1, "Line 216,-144 504,144|Line 504,144 432,144|Line 504,144 504,72"},
        {2, "Line 120,-476 -168,-188|Line -168,-188 -96,-188|Line -168,-188 -168,-260"},
        {3, "Line -216,-144 -504,144|Line -504,144 -432,144|Line -504,144 -504,72"},
        {4, "Line -144,216 144,504|Line 144,504 144,432|Line 144,504 72,504"}};
    for (const auto& [orientation, arrow] : arrows) {
        std::unique_ptr<CComponent> r = CTorvex2Doc::CreateComponent(TypeVariableResistor);
        r->Orientation = orientation;
        RecordingDc rec;
        r->Draw(rec);
        EXPECT_TRUE(describe(rec).endsWith(arrow)) << orientation;
        EXPECT_EQ(rec.Count(DcShape::Line), 9 + 3) << orientation;
    }
}

TEST_F(PartClasses, NamesShareTheLetterCounters)
{
    // Two voltage sources and a current source, then a probe: the probe shares the V counter. The
    // oil switch and the planar diode count with the resistors.
    CTorvex2Doc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    const quint32 types[] = {TypeVoltageSource,    TypeVoltageSource,    TypeCurrentSource,
                             TypeCurrentProbe,     TypeResistor,         TypeOilSwitchModel,
                             TypePlanarDiodeModel, TypeVariableResistor, TypeIdealDiode,
                             TypeResistiveSwitch};
    QStringList names;
    for (quint32 type : types) {
        const auto row = std::find_if(std::begin(kRows), std::end(kRows),
                                      [&](const PartRow& r) { return r.type == type; });
        names << place(doc, *row, {0, 0}).Text;
    }
    EXPECT_EQ(names, QStringList({"V1", "V2", "I1", "V3", "R1", "R2", "R3", "R4", "D1", "S1"}));
}

TEST_F(PartClasses, SimulatorReadsEveryDefaultValue)
{
    for (const PartRow& row : kRows) {
        ScriptedUiServices ui;
        CSimulatorDoc sim;
        sim.SetElementFactory(CreateElement);
        const QString line = row.letter + QString("1 N1 0 ") + text::upperAscii(row.defaultValue);
        sim.SetNetlistText("* t\r\n" + line + "\r\n");
        ASSERT_TRUE(sim.ReadNetlistLines()) << qPrintable(line);
        EXPECT_TRUE(sim.ParseNetlistStatements()) << qPrintable(line);
        ASSERT_EQ(sim.Elements().size(), 1u) << qPrintable(line);
        const CComponentSim& element = *sim.Elements().front();
        EXPECT_EQ(typeid(element), *row.element) << qPrintable(line);
        EXPECT_EQ(ui.messages.join(u'|'), QString(row.readMessages)) << qPrintable(line);
    }
}

TEST_F(PartClasses, FileWithEveryClassSavesByteForByte)
{
    // One part of every class placed by its tool at its own spot; the file written must be exactly
    // the hand-built bytes, and reading them back and writing again must give the same bytes.
    CTorvex2Doc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    std::map<QString, int> classIndex; // class name → its number in the tag stream
    int nextIndex = 1;
    Bytes objects;
    objects.u16(0); // the count, filled in below
    int count = 0;
    const auto object = [&](const char* cls, QPoint at, const Rect& extent, quint32 type, int orientation,
                            const QString& text, int visible) {
        if (classIndex.contains(cls)) {
            objects.u16(0x8000 | classIndex[cls]);
        } else {
            objects.tag(3, cls);
            classIndex[cls] = nextIndex++;
        }
        ++nextIndex;
        ++count;
        objects.record(at.x(), at.y(), {extent.left, extent.top, extent.right, extent.bottom}, type,
                       orientation, text, visible);
    };
    std::map<char, int> counters;
    int slot = 0;
    for (const PartRow& row : kRows) {
        const QPoint at(1440 + 1440 * (slot % 5), -1440 - 1440 * (slot / 5));
        ++slot;
        CComponent& part = place(doc, row, at);
        RecordingDc rec;
        part.Draw(rec);
        const QString name = row.letter + QString::number(++counters[row.letter[0]]);
        object(row.className, at, moved(row.extents[row.orientation - 1], at), row.type, row.orientation,
               name, 1);
        object("CDrawing", at + row.places.nameLabel, {}, TypeLabel, 1, name, 1);
        if (row.valueLabel >= 0)
            object("CDrawing", at + row.places.valueLabel, {}, TypeLabel, 1, row.defaultValue,
                   row.valueLabel);
        object("CDrawing", at, {}, TypeTerminal, 1, "1", 1);
        object("CDrawing", at + row.places.pin2, {}, TypeTerminal, 1, "2", 1);
    }
    objects.data[0] = char(count);
    Bytes file;
    file.i32(5).i32(0).i32(0).i32(15840).i32(-12240).i32(144).u16(128);
    for (int c = 0; c < 128; ++c)
        file.i32(counters.contains(char(c)) ? counters[char(c)] : 0);
    file.add(objects.data).add(defaultTail());

    EXPECT_EQ(hex(saveBytes(doc)), hex(file.data));
    CTorvex2Doc loaded;
    ASSERT_TRUE(loadBytes(loaded, file.data));
    auto it = loaded.Components().begin();
    for (const PartRow& row : kRows) {
        EXPECT_STREQ((*it)->RuntimeClass().name, row.className);
        std::advance(it, (*it)->GetAttachmentCount() + 1);
    }
    EXPECT_EQ(hex(saveBytes(loaded)), hex(file.data));
}
