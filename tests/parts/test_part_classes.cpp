// Every part class: what its tool makes, where its attachments go in every orientation, how it draws,
// what the simulator makes of its values, and a file holding one of each.
#include "../schematic/SchematicTestSupport.h"
#include "CInductor.h"
#include "CTransformer.h"
#include "CTransmissionLine.h"
#include "ComponentClasses.h"
#include "ComponentTypeId.h"
#include "DcRecorder.h"
#include "ElementClass.h"
#include "PartsTestSupport.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <QLineF>

#include <climits>
#include <cmath>
#include <numbers>

namespace {

// Where a figure does not turn by the rule: its Extent and pins in orientations 1 to 4 (no pins: the
// pins turn by the rule).
struct Unturned {
    std::array<Rect, 4> extents;
    std::array<std::vector<QPoint>, 4> pins;
};

// One part class as a table row: what its tool makes, what follows it in the list, where things go and
// what it draws. Offsets are from the part's position, in orientation 1 unless said otherwise.
struct PartRow {
    const char* className;
    quint32 typeId;
    const char* letter;
    int dialogTemplate;
    const char* value; // the default value text
    const char* ic;    // the IC label's text; null: no IC label
    const char* pins;  // the pins' names, in order
    Rect extent;
    std::vector<QPoint> pinsAt;
    std::vector<QPoint> labels;  // name, value and IC labels in the orientation the part starts with
    const char* strokes;         // what the recorder must show of the figure at (0, 0)
    int orientation = 1;         // the orientation a new part starts with
    int valueLabel = 1;          // a new part's value label: 1 shown, 0 hidden, -1 none
    const char* fills = nullptr; // each filled shape's brush (and a null pen) when placed
    const Unturned* unturned = nullptr;

    Rect ExtentAt(int o) const { return unturned ? unturned->extents[size_t(o - 1)] : turned(o, extent); }
    QPoint PinAt(int o, size_t i) const
    {
        return unturned && !unturned->pins[0].empty() ? unturned->pins[size_t(o - 1)][i]
                                                      : turned(o, pinsAt[i]);
    }
};

// Where a lead can end: the ends of lines and polylines.
bool atLeadEnd(const RecordingDc& dc, QPoint p)
{
    for (const DcEntry& e : dc.Entries())
        if ((e.kind == DcShape::Line || e.kind == DcShape::Polyline) && !e.points.empty() &&
            (e.points.front() == p || e.points.back() == p))
            return true;
    return false;
}

bool onOutline(const Rect& x, QPoint p)
{
    return p.x() == x.left || p.x() == x.right || p.y() == x.top || p.y() == x.bottom;
}

// Each filled shape's brush colour (or the number of set bits of its pattern), and a null pen.
QString fills(const RecordingDc& rec)
{
    QStringList out;
    for (const DcEntry& e : rec.Entries()) {
        if (e.kind != DcShape::Rectangle && e.kind != DcShape::Ellipse) continue;
        int bits = 0;
        for (quint8 row : e.brush.rows)
            bits += qPopulationCount(row);
        QString s =
            e.brush.style == Brush::Pattern ? QStringLiteral("pattern %1").arg(bits) : e.brush.color.name();
        out << s + (e.pen.style == Pen::Null ? " no pen" : "");
    }
    return out.join(u'|');
}

const Rect k432{0, 144, 432, -144}, k576{0, 144, 576, -144}, kSource{0, 216, 720, -216},
    kLine{0, 144, 1008, -298};
const std::vector<QPoint> kPins432{{0, 0}, {432, 0}}, kPins576{{0, 0}, {576, 0}}, kPins720{{0, 0}, {720, 0}},
    kPins864{{0, 0}, {864, 0}}, kFourPins{{0, 0}, {0, -288}, {1008, 0}, {1008, -288}};
const std::vector<QPoint> kCapLabels{{150, 350}, {140, -150}, {140, -350}},
    kLineLabels{{290, 95}, {190, -205}, {190, -575}}, kResistorLabels{{200, 300}, {200, -100}},
    kInductorLabels{{300, 350}, {300, -100}, {300, -300}};
const char* const kPlates = "Line 180,-144 180,144\nLine 252,144 252,-144";
const char* const kDiode =
    "Line 144,144 288,0\nLine 288,0 144,-144\nLine 144,-144 144,0\nLine 288,144 288,-144";
const char* const kLineBody = "Rectangle 144,144 864,-144";
const char* const kPulse = "PULSE 0 1.0 20n 10n 20n 5n 70n";
// The humps bulge up, right, down and left; the line-built inductor's outline covers that side in
// orientations 1, 2 and 4 only. The transformer mirrors its figure in orientations 3 and 4.
const Unturned kInductor{{{{0, 144, 864, 0}, {0, 0, 144, -864}, {-864, 144, 0, -144}, {-144, 864, 0, 0}}},
                         {}};
const Unturned kLineInductor{{{{0, 144, 864, 0}, {0, 0, 144, -864}, {-864, 144, 0, 0}, {-144, 864, 0, 0}}},
                             {}};
const Unturned kTransformer{{{{0, 0, 494, -864}, {-864, 0, 0, -494}, {0, 864, 494, 0}, {0, 0, 864, -494}}},
                            {{{{0, 0}, {0, -864}, {350, 0}, {350, -864}},
                              {{0, 0}, {-864, 0}, {0, -350}, {-864, -350}},
                              {{0, 0}, {0, 864}, {350, 0}, {350, 864}},
                              {{0, 0}, {864, 0}, {0, -350}, {864, -350}}}}};

// clang-format off
const PartRow kRows[] = {
    {"CCapacitor", TypeCapacitor, "C", 329, "1n", "IC=0", "1 2", k432, kPins432, kCapLabels, kPlates},
    {"CVariableC", TypeVariableCapacitor, "C", 345, "VARC STANDARD Z5V 10nF 30kV", "IC=0", "1 2", k432, kPins432,
     kCapLabels, "Line 72,-144 360,144\nLine 360,144 288,144\nLine 360,144 360,72"},
    {"CMOV", TypeMetalOxideVaristor, "R", 329, "MOV C=2nF VT=100 N=-15", "IC=0", "1 2", k576, kPins576, kCapLabels,
     "Polyline 72,-144 144,-144 432,144 504,144"},
    {"CInductor", TypeInductor, "L", 329, "1nH", "IC=0", "1 2", {}, kPins864, kInductorLabels,
     "Arc 144,100 288,-100 288,0 144,0", 1, 1, nullptr, &kInductor},
    {"CTransformer", TypeIdealTransformer, "K", 329, "L1=100n L2=1u K=.9", "IC=0,0", "1 2 1 2", {}, {},
     {{450, 0}, {450, -300}, {450, -670}}, "Line 144,-864 144,0\nLine 180,0 180,-864", 1, 1, nullptr, &kTransformer},
    {"CDiode", TypeDiode, "D", 347, "1N4004", "IC=0", "1 2", k432, kPins432, {{200, 300}, {200, -150}, {200, -350}}, kDiode},
    {"CTransmissionLine", TypeTransmissionLine, "T", 329, "Z0=1, TD=1n", "IC=0", "1 2 3 4", kLine, kFourPins,
     kLineLabels, kLineBody, 1, 1, "#ffffff|#ffffff|#ffffff"},
    {"CLossyDielTL", TypeLossyTransmissionLine, "T", 329, "LOSSYZ Z0=1 TD=1n RHO=2 ER=81", "IC=0", "1 2 3 4", kLine,
     kFourPins, kLineLabels, kLineBody, 1, 1, "#00ffff|#00ffff|#00ffff"},
    {"CLossyDielTLX", TypeLossyLineTransformer, "T", 329, "LOSSYX Z0=1 Z1=1 TD=1n RHO=2 ER=81", "IC=0", "1 2 3 4", kLine,
     kFourPins, kLineLabels, "Polygon 144,-144 144,144 864,72 864,-72", 1, 1, "#00ffff|#00ffff"},
    {"CLossyTL", TypeLossyLineWithResistance, "T", 329, "LOSSYR Z0=1 TD=1n R=1", "IC=0", "1 2 3 4", kLine, kFourPins,
     kLineLabels, kLineBody},
    {"CMITL0", TypeLosslessMitlModel, "T", 329, "MITL0, Z0=30 TD=1n", "IC=0", "1 2 3 4", kLine, kFourPins,
     kLineLabels, kLineBody},
    {"CMITL1", TypeLossyMitlModel, "T", 329, "MITL1, RI=10mm RO=20mm TD=1n EB=30MEG TOT=10n", "IC=0", "1 2 3 4", kLine,
     kFourPins, kLineLabels, kLineBody},
    {"CTLineC", TypeLineCapacitor, "C", 329, "TL C=1nF", "IC=0", "1 2", k432, kPins432, kCapLabels, kPlates},
    {"CTLineL", TypeLineInductor, "L", 329, "TL L=1nH", "IC=0", "1 2", {}, kPins864, kInductorLabels,
     "Arc 144,100 288,-100 288,0 144,0", 1, 1, nullptr, &kLineInductor},
    {"CResistor", TypeResistor, "R", 331, "1k", nullptr, "1 2", k576, kPins576, kResistorLabels,
     "Line 144,0 168,72\nLine 168,72 216,-72"},
    {"CVariableR", TypeVariableResistor, "R", 370, "VARR POWER A=0 B=1 N=1", nullptr, "1 2", k576, kPins576,
     kResistorLabels, "Line 216,-144 504,144\nLine 504,144 432,144\nLine 504,144 504,72"},
    {"CSwitch", TypeResistiveSwitch, "S", 338, "TIME 1E6 0.1 10n 1n LIN", nullptr, "1 2", k432, kPins432,
     {{100, 300}, {100, -100}}, "Line 144,0 288,100", 1, 0, "#008000|#008000"},
    {"CIdealDiode", TypeIdealDiode, "D", 331, "IDIODE RON=.1m ROFF=10MEG", nullptr, "1 2", k432, kPins432,
     {{150, 350}, {140, -150}}, kDiode},
    {"COilSwitch", TypeOilSwitchModel, "R", 331, "OILSW GAP=10 EB1P=2000 EB1N=2000 EB2P=2000 EB2N=50", nullptr, "1 2",
     k576, kPins576, {{200, 400}, {200, -200}}, "Line 144,144 144,-144\nLine 432,144 432,-144", 1, 1,
     "#ffff00 no pen|#000000|#000000"},
    {"CPlanarDiode", TypePlanarDiodeModel, "R", 349, "PLDIODE EL=1 EW=1 EG=1 CV=2 IM=1 BF=50 TOT=10 AET=1", nullptr,
     "1 2", k576, kPins576, {{200, 400}, {200, -200}}, "Line 144,144 144,-144\nLine 432,144 432,-144", 1, 1,
     "pattern 16 no pen|pattern 2 no pen"},
    {"CVoltageSource", TypeVoltageSource, "V", 346, kPulse, nullptr, "1 2", kSource, kPins720, {{250, -130}, {250, -330}},
     "Line 238,-50 238,50\nLine 188,0 288,0\nLine 482,-50 482,50", 2, 1, "#ffffff"},
    {"CCurrentSource", TypeCurrentSource, "I", 346, kPulse, nullptr, "1 2", kSource, kPins720, {{200, 450}, {200, -250}},
     "Line 238,0 488,0\nLine 488,0 388,75\nLine 488,0 388,-75", 1, 1, "#ffffff"},
    {"CCurrentProbe", TypeCurrentProbe, "V", 346, "DC 0", nullptr, "1 2", {0, 368, 432, -288}, kPins432, {{350, 450}},
     "Line 116,-216 404,-216\nLine 404,-216 260,-288\nLine 404,-216 260,-144", 1, -1, "#ffffff|#ffffff"},
    {"CSubcircuit", TypeSubcircuitInterface, "X", 351, "", "PARAMS:", "1 2 3 4", {0, 144, 1008, -442}, kFourPins,
     {{290, 383}, {310, 583}, {310, 783}}, "Rectangle 144,144 864,-432"},
};
// clang-format on

const PartRow& rowOf(quint32 type)
{
    return *std::find_if(std::begin(kRows), std::end(kRows),
                         [type](const PartRow& r) { return r.typeId == type; });
}

QString drawn(quint32 type, int orientation)
{
    std::unique_ptr<CComponent> part = CTorvex2Doc::CreateComponent(type);
    part->Orientation = orientation;
    RecordingDc dc;
    part->Draw(dc);
    return dc.Describe();
}

// The page point where an arc reaches farthest from its chord: arcs run counterclockwise as the screen
// shows the page, y upward.
QPointF arcApex(const DcEntry& arc)
{
    const QPointF c = QPointF(arc.points[0] + arc.points[1]) / 2;
    const QPointF r = QPointF(arc.points[1] - arc.points[0]) / 2;
    const auto angle = [&](QPoint p) { return std::atan2(p.y() - c.y(), p.x() - c.x()); };
    double sweep =
        std::fmod(angle(arc.points[3]) - angle(arc.points[2]) + 4 * std::numbers::pi, 2 * std::numbers::pi);
    if (sweep == 0) sweep = 2 * std::numbers::pi;
    const double mid = angle(arc.points[2]) + sweep / 2;
    return c + QPointF(std::abs(r.x()) * std::cos(mid), std::abs(r.y()) * std::sin(mid));
}

// Checks a row against the class the program has under its name: construction, attachments and
// naming, placement in every orientation with the pins at the ends of the figure's leads, Extent,
// figure and colours.
void checkPartRow(const PartRow& row)
{
    SCOPED_TRACE(row.className);
    const ComponentClass* cls = FindComponentClass(row.className);
    ASSERT_TRUE(cls && cls->make);
    std::unique_ptr<CComponent> made = cls->make(row.typeId);
    EXPECT_STREQ(made->RuntimeClass().name, row.className);
    EXPECT_EQ(std::tuple(made->TypeId, made->Text, made->State, made->Orientation, made->DialogTemplate(),
                         made->GetDefaultValue()),
              std::tuple(row.typeId, QString(row.letter), 0, row.orientation, row.dialogTemplate,
                         QString(row.value)));

    PartsHost host;
    host.counters[char16_t(row.letter[0])] = 6;
    const QPoint at(1440, -2880);
    CComponent& part = placePart(host, std::move(made), at);
    const std::vector<CComponent*> after = objectsAfter(host, part);
    // Name label, value label (unless the part has none), IC label (where it has one), then the pins.
    QStringList texts{QString(row.letter) + "7"};
    std::vector<int> visible{1};
    if (row.valueLabel >= 0) texts << row.value, visible.push_back(row.valueLabel);
    if (row.ic) texts << row.ic, visible.push_back(0);
    const size_t labels = visible.size();
    texts << QString(row.pins).split(' ');
    ASSERT_EQ(int(after.size()), part.GetAttachmentCount());
    ASSERT_EQ(qsizetype(after.size()), texts.size());
    EXPECT_EQ(part.Text, texts[0]);
    for (size_t i = 0; i < after.size(); ++i) {
        const CComponent& a = *after[i];
        EXPECT_EQ(
            std::tuple(QString(a.RuntimeClass().name), a.TypeId, a.Text, a.State, int(a.Visible), a.Extent),
            std::tuple(QString("CDrawing"), i < labels ? TypeLabel : TypeTerminal, texts[qsizetype(i)], 1,
                       i < labels ? visible[i] : 1, Rect{}))
            << i;
    }

    for (int o = 1; o <= 4; ++o) {
        turnPart(host, part, o);
        RecordingDc dc;
        part.Draw(dc);
        EXPECT_EQ(part.Extent, moved(row.ExtentAt(o), at)) << "orientation " << o;
        for (size_t i = labels; i < after.size(); ++i) {
            const QPoint pin = after[i]->Position;
            EXPECT_EQ(pin, at + row.PinAt(o, i - labels)) << "orientation " << o << " pin " << i - labels + 1;
            EXPECT_TRUE(atLeadEnd(dc, pin) && onOutline(part.Extent, pin)) << "orientation " << o;
        }
    }
    turnPart(host, part, row.orientation);
    for (size_t i = 0; i < labels; ++i)
        EXPECT_EQ(after[i]->Position - at, row.labels[i]) << i;
    // An orientation without a figure (from a damaged file) moves pin 1 alone, and draws safely.
    part.Position = QPoint(0, 0);
    turnPart(host, part, 5);
    EXPECT_EQ(after[labels]->Position, QPoint(0, 0));
    EXPECT_EQ(after[labels + 1]->Position, at + row.PinAt(row.orientation, 1));
    for (int o : {0, 5, -1}) {
        RecordingDc dc;
        part.Orientation = o;
        part.Draw(dc);
    }

    // The figure of a part being placed: grey, solid, 15 twips wide; the pen and brush are put back.
    const std::unique_ptr<CComponent> fresh = cls->make(row.typeId);
    fresh->Orientation = 1;
    RecordingDc dc;
    const Pen pen = dc.GetCurrentPen();
    const Brush brush = dc.GetCurrentBrush();
    fresh->Draw(dc);
    EXPECT_TRUE(dc.Describe().contains(row.strokes)) << qPrintable(dc.Describe());
    ASSERT_FALSE(dc.Entries().empty());
    EXPECT_EQ(dc.Entries()[0].pen, (Pen(Pen::Solid, 15, QColor(128, 128, 128))));
    EXPECT_EQ(std::tuple(dc.GetCurrentPen(), dc.GetCurrentBrush()), std::tuple(pen, brush));
    // Placed dark green, light red when selected.
    for (const auto& [selected, colour] : {std::pair(0, QColor(0, 128, 0)), {1, QColor(255, 64, 64)}}) {
        fresh->State = 1;
        fresh->Selected = quint8(selected);
        dc.Clear();
        fresh->Draw(dc);
        for (const DcEntry& e : dc.OfKind(DcShape::Line))
            EXPECT_EQ(e.pen, Pen(Pen::Solid, 15, colour)) << selected;
        if (row.fills && !selected) {
            EXPECT_EQ(fills(dc), row.fills);
        }
    }
}

} // namespace

TEST(PartClasses, EachClassAsItsToolMakesIt)
{
    for (const PartRow& row : kRows)
        checkPartRow(row);
}

TEST(PartClasses, FiguresThatDoNotTurnByTheRule)
{
    // The varistor's bar keeps its slant upright, and the variable resistor's arrow has its own second
    // orientation.
    const std::tuple<quint32, int, const char*> cases[] = {
        {TypeMetalOxideVaristor, 2, "Polyline 144,-576 144,-504 -144,-216 -144,-144"},
        {TypeMetalOxideVaristor, 3, "Polyline -72,-144 -144,-144 -432,144 -504,144"},
        {TypeMetalOxideVaristor, 4, "Polyline -144,144 -144,216 144,504 144,576"},
        {TypeVariableResistor, 2,
         "Line 120,-476 -168,-188\nLine -168,-188 -96,-188\nLine -168,-188 -168,-260"},
        {TypeVariableResistor, 4, "Line -144,216 144,504\nLine 144,504 144,432\nLine 144,504 72,504"}};
    for (const auto& [type, orientation, figure] : cases)
        EXPECT_TRUE(drawn(type, orientation).endsWith(figure)) << type << " " << orientation;
}

TEST(PartClasses, HumpsBulgeUpRightDownLeftAndTheWindingsTowardsTheCore)
{
    const QPointF bulge[] = {{0, 1}, {1, 0}, {0, -1}, {-1, 0}};
    for (int o = 1; o <= 4; ++o) {
        CInductor inductor(TypeInductor);
        CTLineL lineInductor(TypeLineInductor);
        CTransformer transformer(TypeIdealTransformer);
        for (CComponent* part : std::initializer_list<CComponent*>{&inductor, &lineInductor, &transformer}) {
            SCOPED_TRACE(testing::Message() << part->RuntimeClass().name << " orientation " << o);
            part->Orientation = o;
            RecordingDc dc;
            part->Draw(dc);
            const std::vector<DcEntry> arcs = dc.OfKind(DcShape::Arc);
            ASSERT_EQ(arcs.size(), part == &transformer ? 8u : 4u);
            const Rect& e = part->Extent;
            const QPointF core((e.left + e.right) / 2.0, (e.top + e.bottom) / 2.0);
            for (const DcEntry& arc : arcs) {
                const QPointF apex = arcApex(arc), chord = QPointF(arc.points[0] + arc.points[1]) / 2;
                if (part == &transformer) {
                    EXPECT_LT(QLineF(apex, core).length(), QLineF(chord, core).length());
                    continue;
                }
                // Each hump runs from its end farther from pin 1 to the nearer one.
                EXPECT_GT(QLineF(QPointF(), arc.points[2]).length(),
                          QLineF(QPointF(), arc.points[3]).length());
                EXPECT_EQ((apex - chord) / 100, bulge[o - 1]);
            }
        }
    }
}

TEST(PartClasses, NamesShareTheLetterCounters)
{
    // The probe shares the voltage sources' counter; the oil switch and the planar diode count with the
    // resistors.
    CTorvex2Doc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    QStringList names;
    for (quint32 type :
         {TypeVoltageSource, TypeVoltageSource, TypeCurrentSource, TypeCurrentProbe, TypeResistor,
          TypeOilSwitchModel, TypePlanarDiodeModel, TypeVariableResistor, TypeIdealDiode})
        names << placePart(doc, CTorvex2Doc::CreateComponent(type), {0, 0}).Text;
    EXPECT_EQ(names, QStringList({"V1", "V2", "I1", "V3", "R1", "R2", "R3", "R4", "D1"}));
}

TEST(PartClasses, AttachmentsOnlyFollowTheirPartAndStayOnThePage)
{
    for (const quint32 type : {TypeVoltageSource, TypeCapacitor, TypeBubbleConnector}) {
        SCOPED_TRACE(type);
        CTorvex2Doc doc;
        ASSERT_TRUE(doc.OnNewDocument());
        // A part that is not the tail of the list gets nothing and takes no number.
        std::unique_ptr<CComponent> made = CTorvex2Doc::CreateComponent(type);
        CComponent& part = *made;
        doc.Components().push_back(std::move(made));
        placePart(doc, CTorvex2Doc::CreateComponent(TypeResistor));
        const size_t before = doc.Components().size();
        const std::vector<int> counters = doc.DesignatorCounters;
        part.CreateAttachments(doc, 0, 0);
        EXPECT_EQ(std::tuple(doc.Components().size(), doc.DesignatorCounters), std::tuple(before, counters));

        // Without a number left for its letter the part keeps its letter, and so does its name label.
        const QChar letter = part.Text.at(0);
        doc.DesignatorCounters[letter.unicode()] = INT_MAX;
        CComponent& last = placePart(doc, CTorvex2Doc::CreateComponent(type), {INT_MAX - 100, INT_MIN + 100});
        EXPECT_EQ(std::tuple(last.Text, objectsAfter(doc, last)[0]->Text),
                  std::tuple(QString(letter), QString(letter)));
        // Turned at the edge of the coordinates, its attachments stop there.
        for (int o = 1; o <= 4; ++o) {
            turnPart(doc, last, o);
            for (const CComponent* a : objectsAfter(doc, last))
                EXPECT_TRUE(a->Position.x() >= INT_MAX - 1100 && a->Position.y() <= INT_MIN + 1100) << o;
        }
    }
}

TEST(PartClasses, FiguresAtTheEdgeOfThePageStayOnIt)
{
    // A file may place a part anywhere: its figure is held within the coordinates a page can have.
    for (const PartRow& row : kRows) {
        for (const QPoint at : {QPoint(INT_MAX - 100, INT_MIN + 100), QPoint(INT_MIN + 100, INT_MAX - 100)}) {
            for (int o = 1; o <= 4; ++o) {
                std::unique_ptr<CComponent> part = CTorvex2Doc::CreateComponent(row.typeId);
                part->Position = at;
                part->Orientation = o;
                RecordingDc dc;
                part->Draw(dc);
                const Rect& e = part->Extent;
                EXPECT_TRUE(e.left <= e.right && e.bottom <= e.top) << row.className << " " << o;
            }
        }
    }
}

TEST(PartClasses, SimulatorReadsEveryDefaultAndComposedValue)
{
    // The statement the netlist writer makes of the part as placed (four-terminal parts lose the commas
    // of their value but keep those of their IC text), its element, and how each message of the run
    // begins: the models the simulator reads as something else say so.
    using E = ElementClass;
    const char* const kUnrecognised = "Warning: Unrecognized Character in Netlist";
    // clang-format off
    const std::tuple<quint32, const char*, ElementClass, QStringList> cases[] = {
        {TypeCapacitor, nullptr, E::Capacitor, {}},           {TypeVariableCapacitor, nullptr, E::VarC, {}},
        {TypeInductor, nullptr, E::Inductor, {}},             {TypeIdealTransformer, nullptr, E::Transformer, {}},
        {TypeDiode, nullptr, E::Diode, {}},                   {TypeTransmissionLine, nullptr, E::TransmissionLine, {}},
        {TypeLossyTransmissionLine, nullptr, E::LossyDielTL, {}}, {TypeLossyLineTransformer, nullptr, E::LossyDielTLX, {}},
        {TypeLossyLineWithResistance, nullptr, E::LossyTL, {}}, {TypeLineCapacitor, nullptr, E::TLineC, {}},
        {TypeLineInductor, nullptr, E::TLineL, {}},           {TypeResistor, nullptr, E::Resistor, {}},
        {TypeVariableResistor, nullptr, E::VariableR, {}},    {TypeResistiveSwitch, nullptr, E::Switch, {}},
        {TypeIdealDiode, nullptr, E::IdealDiode, {}},         {TypeVoltageSource, nullptr, E::VoltageSource, {}},
        {TypeCurrentSource, nullptr, E::CurrentSource, {}},   {TypeCurrentProbe, nullptr, E::VoltageSource, {}},
        {TypeMetalOxideVaristor, nullptr, E::Resistor, {"Warning:  R1 (MOV) has no simulation model"}},
        {TypeLosslessMitlModel, nullptr, E::TransmissionLine, {kUnrecognised, "Warning:  T1 (MITL0) has no simulation model"}},
        {TypeLossyMitlModel, nullptr, E::TransmissionLine, {kUnrecognised, "Warning:  T1 (MITL1) has no simulation model"}},
        {TypeOilSwitchModel, nullptr, E::Resistor, {kUnrecognised, "Warning:  R1 (OILSW) has no simulation model of its own"}},
        {TypePlanarDiodeModel, nullptr, E::Resistor, {"Warning:  R1 (PLDIODE) has no simulation model of its own"}},
        // What the dialogs compose.
        {TypeVariableCapacitor, "VARC TL STANDARD HRS 10nF 30kV", E::VariableC, {}},
        {TypeVariableCapacitor, "VARC TL FIXED 10nF", E::VariableC, {}},
        {TypeVariableCapacitor, "VARC TL POLYNOMIAL 10n -1e-11 +5e-12 -2e-13", E::VariableC, {}},
        {TypeVariableCapacitor, "VARC FIXED 10nF", E::VarC, {}},
        {TypeVariableCapacitor, "VARC POLYNOMIAL 10n -1e-11 +5e-12 -2e-13", E::VarC, {}},
        {TypeDiode, "1N4001", E::Diode, {}},
        {TypeDiode, "IS=1 RS=2 N=3 XTI=4 EG=5 CJO=6 M=7 VJ=8 FC=9 TT=10 ISR=11 NR=12 BV=13 IBV=14", E::Diode, {}},
        {TypeVoltageSource, "DC 5", E::VoltageSource, {}},
        {TypeVariableResistor, "VARR PULSE 1 10 10n 1n 1n 10n 100n", E::VariableR, {}},
        {TypeResistiveSwitch, "VOLT 5 1 2k 3n EXP", E::Switch, {}},
    };
    // clang-format on
    for (const auto& [type, composed, element, warnings] : cases) {
        const PartRow& row = rowOf(type);
        const bool fourTerminal = QString(row.pins).size() > 3;
        QString value = composed ? composed : row.value;
        if (fourTerminal) value.remove(',');
        const QString statement = QChar(FindComponentType(type)->netlistLetter) + QStringLiteral("1") +
                                  (fourTerminal ? " N1 0 N2 0 " : " N1 0 ") + value +
                                  (row.ic ? QStringLiteral(" ") + row.ic : QString());
        SCOPED_TRACE(qPrintable(statement));
        EXPECT_EQ(ChooseElementClass(statement.toUpper().split(' ')), element);
        SimHarness h;
        EXPECT_TRUE(h.run("* t\r\n" + statement + "\r\nRLOAD N1 0 1k\r\n", "1ns", "10ns"));
        const QStringList problems = h.problems();
        ASSERT_EQ(problems.size(), warnings.size()) << qPrintable(problems.join('|'));
        for (qsizetype i = 0; i < problems.size(); ++i)
            EXPECT_TRUE(problems[i].startsWith(warnings[i])) << qPrintable(problems[i]);
    }
}

TEST(PartClasses, FileWithEveryClassSavesByteForByte)
{
    // One part of every class placed by its tool at its own spot; the file written must be exactly the
    // hand-built bytes. The classes no tool places are stored too, and reading and writing the file
    // again gives the same bytes: a class's first object names it, later ones refer to its number, and
    // classes and objects share one running count.
    CTorvex2Doc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    std::map<QString, int> classIndex;
    int nextIndex = 1, count = 0;
    Bytes objects;
    const auto object = [&](const char* cls, QPoint at, const Rect& extent, quint32 type, int orientation,
                            const QString& text, int visible) {
        if (classIndex.contains(cls)) {
            objects.u16(0x8000 | classIndex[cls]);
        } else {
            objects.tag(3, cls);
            classIndex[cls] = nextIndex++;
        }
        ++nextIndex, ++count;
        objects.record(at.x(), at.y(), {extent.left, extent.top, extent.right, extent.bottom}, type,
                       orientation, text, visible);
    };
    const auto group = [&](const PartRow& row, QPoint at, const QString& name) {
        const int o = row.orientation;
        object(row.className, at, moved(row.ExtentAt(o), at), row.typeId, o, name, 1);
        std::vector<std::pair<QString, int>> labels{{name, 1}};
        if (row.valueLabel >= 0) labels.emplace_back(row.value, row.valueLabel);
        if (row.ic) labels.emplace_back(row.ic, 0);
        for (size_t i = 0; i < labels.size(); ++i)
            object("CDrawing", at + row.labels[i], {}, TypeLabel, 1, labels[i].first, labels[i].second);
        const QStringList pins = QString(row.pins).split(' ');
        for (qsizetype i = 0; i < pins.size(); ++i)
            object("CDrawing", at + row.PinAt(o, size_t(i)), {}, TypeTerminal, 1, pins[i], 1);
    };
    std::map<char, int> counters;
    int slot = 0;
    for (const PartRow& row : kRows) {
        const QPoint at(1440 + 1440 * (slot % 5), -1440 - 1440 * (slot / 5));
        ++slot;
        CComponent& part = placePart(doc, CTorvex2Doc::CreateComponent(row.typeId), at);
        RecordingDc rec;
        part.Draw(rec);
        group(row, at, row.letter + QString::number(++counters[row.letter[0]]));
    }
    Bytes head;
    head.i32(5).i32(0).i32(0).i32(15840).i32(-12240).i32(144).u16(128);
    for (int c = 0; c < 128; ++c)
        head.i32(counters.contains(char(c)) ? counters[char(c)] : 0);
    const auto file = [&] { return Bytes(head).u16(count).add(objects.data).add(defaultTail()).data; };
    EXPECT_EQ(saveBytes(doc).toHex(' '), file().toHex(' '));

    PartRow stored = rowOf(TypeTransmissionLine);
    for (const char* cls : {"CVariableTL", "CVariableZ"}) {
        stored.className = cls;
        group(stored, QPoint(1440 * ++slot, -8640), "T9");
    }
    CTorvex2Doc loaded;
    ASSERT_TRUE(loadBytes(loaded, file()));
    auto it = loaded.Components().begin();
    for (const PartRow& row : kRows) {
        EXPECT_STREQ((*it)->RuntimeClass().name, row.className);
        std::advance(it, (*it)->GetAttachmentCount() + 1);
    }
    EXPECT_EQ(saveBytes(loaded).toHex(' '), file().toHex(' '));
}
