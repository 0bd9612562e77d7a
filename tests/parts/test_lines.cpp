// Transmission lines and the line-built capacitor and inductor; every part of the capacitor and line
// families in the simulator and in a file.
#include "../schematic/SchematicTestSupport.h"
#include "CTransmissionLine.h"
#include "ComponentClasses.h"
#include "ComponentTypeId.h"
#include "DcRecorder.h"
#include "ElementClass.h"
#include "PartsTestSupport.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const std::array<Rect, 4> kLineExtents{
    {{0, 144, 1008, -298}, {-298, 0, 144, -1008}, {-1008, 144, 0, -298}, {-298, 1008, 144, 0}}};
const std::array<std::vector<QPoint>, 4> kLinePins{{{{0, 0}, {0, -288}, {1008, 0}, {1008, -288}},
                                                    {{0, 0}, {-288, 0}, {0, -1008}, {-288, -1008}},
                                                    {{0, 0}, {0, -288}, {-1008, 0}, {-1008, -288}},
                                                    {{0, 0}, {-288, 0}, {0, 1008}, {-288, 1008}}}};
const std::vector<QPoint> kLineLabels{{290, 95}, {190, -205}, {190, -575}};
const char* const kLineFigure = "Line 1008,0 864,0\nEllipse 792,144 936,-144\nRectangle 144,144 864,-144\n"
                                "Line 864,144 144,144\nEllipse 72,144 216,-144\nLine 144,0 0,0\n"
                                "Line 0,-288 144,-288\nLine 144,-288 144,-144\nLine 144,-144 864,-144\n"
                                "Line 864,-144 864,-288\nLine 864,-288 1008,-288";

PartRow lineRow(const char* cls, quint32 type, const char* value, const char* figure = kLineFigure)
{
    return {cls, type, "T", 329, value, "IC=0", "1 2 3 4", kLineExtents, kLineLabels, kLinePins, figure};
}

} // namespace

TEST(TransmissionLines, EachClassAsItsToolMakesIt)
{
    const PartRow rows[] = {
        lineRow("CTransmissionLine", 530, "Z0=1, TD=1n"),
        lineRow("CLossyDielTL", 531, "LOSSYZ Z0=1 TD=1n RHO=2 ER=81"),
        lineRow("CLossyDielTLX", 532, "LOSSYX Z0=1 Z1=1 TD=1n RHO=2 ER=81",
                "Line 1008,0 864,0\nEllipse 828,72 900,-72\nPolygon 144,-144 144,144 864,72 864,-72\n"
                "Line 864,72 144,144\nEllipse 72,144 216,-144\nLine 144,0 0,0\n"
                "Line 0,-288 144,-288\nLine 144,-288 144,-144\nLine 144,-144 864,-72\n"
                "Line 864,-72 864,-288\nLine 864,-288 1008,-288"),
        lineRow("CLossyTL", 606, "LOSSYR Z0=1 TD=1n R=1"),
        lineRow("CMITL0", 602, "MITL0, Z0=30 TD=1n"),
        lineRow("CMITL1", 601, "MITL1, RI=10mm RO=20mm TD=1n EB=30MEG TOT=10n"),
        {"CTLineC",
         574,
         "C",
         329,
         "TL C=1nF",
         "IC=0",
         "1 2",
         twoPinExtents(432, 144),
         {{150, 350}, {140, -150}, {140, -350}},
         twoPins(432),
         "Line 0,0 180,0\nLine 180,-144 180,144\nLine 252,144 252,-144\nLine 252,0 432,0"},
        {"CTLineL",
         573,
         "L",
         329,
         "TL L=1nH",
         "IC=0",
         "1 2",
         {{{0, 144, 864, 0}, {0, 0, 144, -864}, {-864, 144, 0, 0}, {-144, 864, 0, 0}}},
         {{300, 350}, {300, -100}, {300, -300}},
         twoPins(864),
         "Line 0,0 144,0\nArc 144,100 288,-100 288,0 144,0\nArc 288,100 432,-100 432,0 288,0\n"
         "Arc 432,100 576,-100 576,0 432,0\nArc 576,100 720,-100 720,0 576,0\nLine 720,0 864,0"},
    };
    checkFamily(rows);
}

TEST(TransmissionLines, OutlineInThePartColourBodyInItsOwn)
{
    // A selected lossy line: red outline, cyan body; a placed plain line: green outline, white body.
    const QColor red(255, 64, 64), green(0, 128, 0), cyan(0, 255, 255), white(255, 255, 255);
    for (const auto& [selected, outline, body] :
         {std::tuple(true, red, cyan), std::tuple(false, green, white)}) {
        std::unique_ptr<CComponent> line = selected
                                               ? std::unique_ptr<CComponent>(new CLossyDielTL(531u))
                                               : std::unique_ptr<CComponent>(new CTransmissionLine(530u));
        line->State = 1;
        line->Selected = selected;
        RecordingDc dc;
        line->Draw(dc);
        for (const DcEntry& e : dc.Entries()) {
            const bool isBody = e.kind == DcShape::Rectangle;
            EXPECT_EQ(e.pen, Pen(Pen::Solid, 15, isBody ? body : outline)) << qPrintable(e.Describe());
            if (e.kind == DcShape::Rectangle || e.kind == DcShape::Ellipse) {
                EXPECT_EQ(e.brush, Brush(body)) << qPrintable(e.Describe());
            }
        }
        EXPECT_EQ(std::tuple(dc.GetCurrentPen(), dc.GetCurrentBrush()), std::tuple(Pen(), Brush()));
    }
}

TEST(PartValues, EveryDefaultTextAndEveryComposedTextIsReadByItsElement)
{
    struct Case {
        quint32 type;
        QString value; // empty: the part's default
        ElementClass element;
        QStringList warnings = {}; // how each message of the run begins
    };
    // The models the simulator reads as something else say so.
    const QStringList mitl0 = {"Warning: Unrecognized Character in Netlist.",
                               "Warning: T1 (MITL0) has no model"};
    const QStringList mitl1 = {"Warning: Unrecognized Character in Netlist",
                               "Warning: T1 (MITL1) has no model"};
    const std::vector<Case> cases = {
        {TypeCapacitor, {}, ElementClass::Capacitor},
        {TypeVariableCapacitor, {}, ElementClass::VarC},
        {TypeMetalOxideVaristor, {}, ElementClass::Resistor, {"Warning:  R1 (MOV) has no simulation model"}},
        {TypeInductor, {}, ElementClass::Inductor},
        {TypeIdealTransformer, {}, ElementClass::Transformer},
        {TypeDiode, {}, ElementClass::Diode},
        {TypeTransmissionLine, {}, ElementClass::TransmissionLine},
        {TypeLossyTransmissionLine, {}, ElementClass::LossyDielTL},
        {TypeLossyLineTransformer, {}, ElementClass::LossyDielTLX},
        {TypeLossyLineWithResistance, {}, ElementClass::LossyTL},
        {TypeLosslessMitlModel, {}, ElementClass::TransmissionLine, mitl0},
        {TypeLossyMitlModel, {}, ElementClass::TransmissionLine, mitl1},
        {TypeLineCapacitor, {}, ElementClass::TLineC},
        {TypeLineInductor, {}, ElementClass::TLineL},
        // What the dialogs compose.
        {TypeVariableCapacitor, "VARC TL STANDARD HRS 10nF 30kV", ElementClass::VariableC},
        {TypeVariableCapacitor, "VARC TL FIXED 10nF", ElementClass::VariableC},
        {TypeVariableCapacitor, "VARC TL POLYNOMIAL 10n -1e-11 +5e-12 -2e-13", ElementClass::VariableC},
        {TypeVariableCapacitor, "VARC FIXED 10nF", ElementClass::VarC},
        {TypeVariableCapacitor, "VARC POLYNOMIAL 10n -1e-11 +5e-12 -2e-13", ElementClass::VarC},
        {TypeDiode, "1N4001", ElementClass::Diode},
        {TypeDiode, "IS=1E-14", ElementClass::Diode},
        {TypeDiode, "IS=1 RS=2 N=3 XTI=4 EG=5 CJO=6 M=7 VJ=8 FC=9 TT=10 ISR=11 NR=12 BV=13 IBV=14",
         ElementClass::Diode},
    };
    for (const Case& c : cases) {
        // The statement the netlist writer makes of the part as placed: four-terminal parts lose the
        // commas of their value but keep those of their IC text.
        PartsHost host;
        const ComponentType* type = FindComponentType(c.type);
        const ComponentClass* cls = FindComponentClass(type->className);
        ASSERT_TRUE(cls && cls->make) << c.type;
        CComponent& part = placePart(host, cls->make(c.type));
        const std::vector<CComponent*> after = objectsAfter(host, part);
        const bool fourTerminal = after.size() == 7;
        QString value = c.value.isEmpty() ? after[1]->Text : c.value;
        if (fourTerminal) value.remove(',');
        const QString statement = QChar(type->netlistLetter) + QStringLiteral("1") +
                                  (fourTerminal ? " N1 0 N2 0 " : " N1 0 ") + value + " " + after[2]->Text;
        SCOPED_TRACE(qPrintable(statement));
        EXPECT_EQ(ChooseElementClass(statement.toUpper().split(' ')), c.element);
        SimHarness h;
        EXPECT_TRUE(h.run("* t\r\n" + statement + "\r\n", "1ns", "10ns"));
        const QStringList problems = h.problems();
        ASSERT_EQ(problems.size(), c.warnings.size()) << qPrintable(problems.join('|'));
        for (qsizetype i = 0; i < problems.size(); ++i)
            EXPECT_TRUE(problems[i].startsWith(c.warnings[i])) << qPrintable(problems[i]);
    }
}

TEST(PartFiles, AFileHoldingEveryClassOpensAndSavesUnchanged)
{
    // Each part with its labels and pins as stored: a class's first object names it, later ones refer
    // to its number; classes and objects share one running count. The stored-only lines hold the
    // types of the lines they stand for.
    struct Part {
        const char* cls;
        quint32 type;
        const char* name;
        const char* value;
        int pins;
    };
    const Part parts[] = {
        {"CCapacitor", 520, "C1", "1n", 2},
        {"CVariableC", 522, "C2", "VARC TL FIXED 5n", 2},
        {"CMOV", 572, "R1", "MOV C=2nF VT=100 N=-15", 2},
        {"CInductor", 521, "L1", "1nH", 2},
        {"CTransformer", 570, "K1", "L1=100n L2=1u K=.9", 4},
        {"CDiode", 571, "D1", "IS=1E-14 BV=400", 2},
        {"CTransmissionLine", 530, "T1", "Z0=50, TD=2n", 4},
        {"CLossyDielTL", 531, "T2", "LOSSYZ Z0=1 TD=1n RHO=2 ER=81", 4},
        {"CLossyDielTLX", 532, "T3", "LOSSYX Z0=1 Z1=1 TD=1n RHO=2 ER=81", 4},
        {"CLossyTL", 606, "T4", "LOSSYR Z0=1 TD=1n R=1", 4},
        {"CMITL0", 602, "T5", "MITL0, Z0=30 TD=1n", 4},
        {"CMITL1", 601, "T6", "MITL1, RI=10mm RO=20mm TD=1n EB=30MEG TOT=10n", 4},
        {"CTLineC", 574, "C3", "TL C=1nF", 2},
        {"CTLineL", 573, "L2", "TL L=1nH", 2},
        {"CVariableTL", 531, "T7", "LOSSYZ Z0=2 TD=1n RHO=2 ER=81", 4},
        {"CVariableZ", 530, "T8", "Z0=1, TD=1n", 4},
    };
    Bytes objects;
    int count = 0;
    for (const Part& p : parts)
        count += 4 + p.pins;
    objects.u16(count);
    std::map<std::string, int> classNumbers;
    int next = 1;
    const auto object = [&](const char* cls) -> Bytes& {
        const auto known = classNumbers.find(cls);
        if (known != classNumbers.end()) {
            objects.u16(0x8000 | known->second);
        } else {
            objects.tag(3, cls);
            classNumbers[cls] = next++;
        }
        ++next;
        return objects;
    };
    int x = 1440;
    for (const Part& p : parts) {
        object(p.cls).record(x, -1440, {x, -1296, x + 432, -1584}, p.type, 2, p.name, 1);
        object("CDrawing").record(x + 150, -1090, {0, 0, 0, 0}, TypeLabel, 1, p.name, 1);
        object("CDrawing").record(x + 140, -1590, {0, 0, 0, 0}, TypeLabel, 1, p.value, 0);
        object("CDrawing").record(x + 140, -1790, {0, 0, 0, 0}, TypeLabel, 1, "IC=5", 1);
        for (int pin = 1; pin <= p.pins; ++pin)
            object("CDrawing")
                .record(x + 100 * pin, -1440, {0, 0, 0, 0}, TypeTerminal, 1, QString::number(pin), 1);
        x += 1440;
    }
    const QByteArray file = fileHead(5).add(objects.data).add(defaultTail()).data;

    ScriptedUiServices ui;
    CTorvex2Doc doc;
    ASSERT_TRUE(loadBytes(doc, file));
    ASSERT_EQ(doc.Components().size(), size_t(count));
    // The class names written back are the ones read, so each object came back as its own class.
    EXPECT_EQ(saveBytes(doc).toHex(' '), file.toHex(' '));
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join('|'));
}
