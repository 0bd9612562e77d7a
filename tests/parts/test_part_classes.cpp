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
#include "CVoltageSourceSim.h"
#include "ComponentTypeId.h"
#include "DcRecorder.h"
#include "ElementFactory.h"
#include "PartsTestSupport.h"
#include "SchematicTestSupport.h"
#include "Text.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <typeinfo>

namespace {

// A part row with the fills of its figure (each filled shape with its brush's colour, or the number of
// set bits of its pattern, and a null pen noted) and what the simulator makes of its default netlist
// line: its element and the messages reading it shows ("|" between two).
struct SourceRow {
    PartRow part;
    const char* fills;
    const std::type_info* element;
    const char* readMessages;
};

const char* const kZigzag =
    "Line 0,0 144,0\nLine 144,0 168,72\nLine 168,72 216,-72\nLine 216,-72 264,72\n"
    "Line 264,72 312,-72\nLine 312,-72 360,72\nLine 360,72 408,-72\nLine 408,-72 432,0\n"
    "Line 432,0 576,0";
const std::string kVariableR =
    std::string(kZigzag) + "\nLine 216,-144 504,144\nLine 504,144 432,144\nLine 504,144 504,72";
const char* const kSourceCircle = "Line 0,0 144,0\nEllipse 144,216 576,-216\nLine 576,0 720,0\n";
const std::string kVoltageSource =
    std::string(kSourceCircle) + "Line 238,-50 238,50\nLine 188,0 288,0\nLine 482,-50 482,50";
const std::string kCurrentSource =
    std::string(kSourceCircle) + "Line 238,0 488,0\nLine 488,0 388,75\nLine 488,0 388,-75";
const char* const kPulse = "PULSE 0 1.0 20n 10n 20n 5n 70n";

// clang-format off
const SourceRow kRows[] = {
    {{"CResistor", TypeResistor, "R", 331, "1k", nullptr, "1 2", twoPinExtents(576, 144), {{200, 300}, {200, -100}},
      twoPins(576), kZigzag},
     "", &typeid(CResistorSim), ""},
    {{"CVariableR", TypeVariableResistor, "R", 370, "VARR POWER A=0 B=1 N=1", nullptr, "1 2", twoPinExtents(576, 144),
      {{200, 300}, {200, -100}}, twoPins(576), kVariableR.c_str()},
     "", &typeid(CVariableRSim), ""},
    {{"CSwitch", TypeResistiveSwitch, "S", 338, "TIME 1E6 0.1 10n 1n LIN", nullptr, "1 2", twoPinExtents(432, 144),
      {{100, 300}, {100, -100}}, twoPins(432),
      "Line 0,0 144,0\nEllipse 108,36 180,-36\nLine 144,0 288,100\nEllipse 252,36 324,-36\nLine 288,0 432,0", 1, 0},
     "Ellipse 108,36 180,-36 #008000|Ellipse 252,36 324,-36 #008000", &typeid(CSwitchSim), ""},
    {{"CIdealDiode", TypeIdealDiode, "D", 331, "IDIODE RON=.1m ROFF=10MEG", nullptr, "1 2", twoPinExtents(432, 144),
      {{150, 350}, {140, -150}}, twoPins(432),
      "Line 0,0 144,0\nLine 144,0 144,144\nLine 144,144 288,0\nLine 288,0 144,-144\nLine 144,-144 144,0\n"
      "Line 288,144 288,-144\nLine 288,0 432,0"},
     "", &typeid(CIdealDiodeSim), ""},
    {{"COilSwitch", TypeOilSwitchModel, "R", 331, "OILSW GAP=10 EB1P=2000 EB1N=2000 EB2P=2000 EB2N=50", nullptr, "1 2",
      twoPinExtents(576, 144), {{200, 400}, {200, -200}}, twoPins(576),
      "Line 0,0 144,0\nRectangle 144,144 432,-144\nRectangle 144,50 216,-50\nRectangle 360,50 432,-50\n"
      "Line 144,144 144,-144\nLine 432,144 432,-144\nLine 432,0 576,0"},
     "Rectangle 144,144 432,-144 #ffff00 no pen|Rectangle 144,50 216,-50 #000000|Rectangle 360,50 432,-50 #000000",
     &typeid(CResistorSim),
     "Warning: Unrecognized Character in Netlist.|"
     "Warning:  R1 (OILSW) has no simulation model of its own and runs as a near short circuit."},
    {{"CPlanarDiode", TypePlanarDiodeModel, "R", 349, "PLDIODE EL=1 EW=1 EG=1 CV=2 IM=1 BF=50 TOT=10 AET=1", nullptr,
      "1 2", twoPinExtents(576, 144), {{200, 400}, {200, -200}}, twoPins(576),
      "Line 0,0 144,0\nRectangle 144,144 244,-144\nRectangle 244,144 344,-144\nLine 144,144 144,-144\n"
      "Line 432,144 432,-144\nLine 432,0 576,0"},
     "Rectangle 144,144 244,-144 pattern 16 no pen|Rectangle 244,144 344,-144 pattern 2 no pen",
     &typeid(CResistorSim), "Warning:  R1 (PLDIODE) has no simulation model of its own and runs as a near short circuit."},
    {{"CVoltageSource", TypeVoltageSource, "V", 346, kPulse, nullptr, "1 2", twoPinExtents(720, 216),
      {{250, -130}, {250, -330}}, twoPins(720), kVoltageSource.c_str(), 2},
     "Ellipse 144,216 576,-216 #ffffff", &typeid(CVoltageSourceSim), ""},
    {{"CCurrentSource", TypeCurrentSource, "I", 346, kPulse, nullptr, "1 2", twoPinExtents(720, 216),
      {{200, 450}, {200, -250}}, twoPins(720), kCurrentSource.c_str()},
     "Ellipse 144,216 576,-216 #ffffff", &typeid(CCurrentSourceSim), ""},
    {{"CCurrentProbe", TypeCurrentProbe, "V", 346, "DC 0", nullptr, "1 2",
      {{{0, 368, 432, -288}, {-288, 0, 368, -432}, {-432, 368, 0, -288}, {-288, 432, 368, 0}}}, {{350, 450}},
      twoPins(432),
      "Line 0,0 432,0\nEllipse 166,144 266,-144\nLine 216,144 216,288\nEllipse 176,368 256,288\n"
      "Line 116,-216 404,-216\nLine 404,-216 260,-288\nLine 404,-216 260,-144", 1, -1},
     "Ellipse 166,144 266,-144 #ffffff|Ellipse 176,368 256,288 #ffffff", &typeid(CVoltageSourceSim), ""},
};
// clang-format on

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

QString fills(const RecordingDc& rec)
{
    QStringList out;
    for (const DcEntry& e : rec.Entries()) {
        if (e.kind != DcShape::Rectangle && e.kind != DcShape::Ellipse) continue;
        QString s = e.Describe();
        if (e.brush.style == Brush::Pattern) {
            int bits = 0;
            for (quint8 row : e.brush.rows)
                bits += qPopulationCount(row);
            s += QStringLiteral(" pattern %1").arg(bits);
        } else {
            s += u' ' + e.brush.color.name();
        }
        if (e.pen.style == Pen::Null) s += QStringLiteral(" no pen");
        out << s;
    }
    return out.join(u'|');
}

class PartClasses : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterTestClasses(); }
};

} // namespace

TEST_F(PartClasses, EachClassAsItsToolMakesIt)
{
    for (const SourceRow& row : kRows) {
        checkPartRow(row.part);
        // The fills of a placed part.
        std::unique_ptr<CComponent> part = CTorvex2Doc::CreateComponent(row.part.typeId);
        part->Orientation = 1;
        part->State = 1;
        RecordingDc rec;
        part->Draw(rec);
        EXPECT_EQ(fills(rec), row.fills) << row.part.className;
    }
}

TEST_F(PartClasses, VariableResistorArrowHasItsOwnSecondOrientation)
{
    // The arrow of orientation 2 is not the first orientation's turned a quarter.
    const std::pair<int, const char*> arrows[] = {
        {1, "Line 216,-144 504,144\nLine 504,144 432,144\nLine 504,144 504,72"},
        {2, "Line 120,-476 -168,-188\nLine -168,-188 -96,-188\nLine -168,-188 -168,-260"},
        {3, "Line -216,-144 -504,144\nLine -504,144 -432,144\nLine -504,144 -504,72"},
        {4, "Line -144,216 144,504\nLine 144,504 144,432\nLine 144,504 72,504"}};
    for (const auto& [orientation, arrow] : arrows) {
        std::unique_ptr<CComponent> r = CTorvex2Doc::CreateComponent(TypeVariableResistor);
        r->Orientation = orientation;
        RecordingDc rec;
        r->Draw(rec);
        EXPECT_TRUE(rec.Describe().endsWith(arrow)) << orientation;
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
    for (quint32 type : types)
        names << placePart(doc, CTorvex2Doc::CreateComponent(type), {0, 0}).Text;
    EXPECT_EQ(names, QStringList({"V1", "V2", "I1", "V3", "R1", "R2", "R3", "R4", "D1", "S1"}));
}

TEST_F(PartClasses, AttachmentsOnlyFollowTheirPartAndStayOnThePage)
{
    for (const quint32 type :
         {quint32(TypeVoltageSource), quint32(TypeCapacitor), quint32(TypeBubbleConnector)}) {
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

TEST_F(PartClasses, SimulatorReadsEveryDefaultValue)
{
    for (const SourceRow& row : kRows) {
        ScriptedUiServices ui;
        CSimulatorDoc sim;
        sim.SetElementFactory(CreateElement);
        const QString line = row.part.letter + QString("1 N1 0 ") + text::upperAscii(row.part.value);
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
    for (const SourceRow& source : kRows) {
        const PartRow& row = source.part;
        const QPoint at(1440 + 1440 * (slot % 5), -1440 - 1440 * (slot / 5));
        ++slot;
        CComponent& part = placePart(doc, CTorvex2Doc::CreateComponent(row.typeId), at);
        RecordingDc rec;
        part.Draw(rec);
        const QString name = row.letter + QString::number(++counters[row.letter[0]]);
        const int o = row.orientation;
        object(row.className, at, moved(row.extents[o - 1], at), row.typeId, o, name, 1);
        object("CDrawing", at + row.labels[0], {}, TypeLabel, 1, name, 1);
        if (row.valueLabel >= 0)
            object("CDrawing", at + row.labels[1], {}, TypeLabel, 1, row.value, row.valueLabel);
        object("CDrawing", at, {}, TypeTerminal, 1, "1", 1);
        object("CDrawing", at + row.pinsAt[o - 1][1], {}, TypeTerminal, 1, "2", 1);
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
    for (const SourceRow& row : kRows) {
        EXPECT_STREQ((*it)->RuntimeClass().name, row.part.className);
        std::advance(it, (*it)->GetAttachmentCount() + 1);
    }
    EXPECT_EQ(hex(saveBytes(loaded)), hex(file.data));
}
