// The part classes as their tools make them, written by the netlist writer, then read and run by the
// simulator.
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "ComponentTypeId.h"
#include "EditorFixture.h"
#include "ElementClass.h"
#include "SchematicTestSupport.h"
#include "SimHarness.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>

#include <map>

namespace {

TEST(NetlistRoundTrip, EveryPartsDefaultChoosesItsElementAndRuns)
{
    struct Expected {
        ElementClass element;
        QStringList warnings = {}; // how each message of the run begins
    };
    const QString noModel = QStringLiteral(") has no simulation model");
    const std::map<quint32, Expected> expected = {
        {TypeResistor, {ElementClass::Resistor}},
        {TypeVariableResistor, {ElementClass::VariableR}},
        {TypeResistiveSwitch, {ElementClass::Switch}},
        {TypeCapacitor, {ElementClass::Capacitor}},
        {TypeInductor, {ElementClass::Inductor}},
        {TypeVariableCapacitor, {ElementClass::VarC}},
        {TypeTransmissionLine, {ElementClass::TransmissionLine}},
        {TypeLossyTransmissionLine, {ElementClass::LossyDielTL}},
        {TypeLossyLineTransformer, {ElementClass::LossyDielTLX}},
        {TypeVoltageSource, {ElementClass::VoltageSource}},
        {TypeCurrentSource, {ElementClass::CurrentSource}},
        {TypeCurrentProbe, {ElementClass::VoltageSource}},
        {TypeIdealTransformer, {ElementClass::Transformer}},
        {TypeDiode, {ElementClass::Diode}},
        {TypeMetalOxideVaristor, {ElementClass::Resistor, {"Warning:  R1 (MOV" + noModel}}},
        {TypeLineInductor, {ElementClass::TLineL}},
        {TypeLineCapacitor, {ElementClass::TLineC}},
        {TypeIdealDiode, {ElementClass::IdealDiode}},
        {TypeLossyMitlModel,
         {ElementClass::TransmissionLine,
          {"Warning: Unrecognized Character in Netlist", "Warning:  T1 (MITL1) has no simulation model"}}},
        {TypeLosslessMitlModel,
         {ElementClass::TransmissionLine,
          {"Warning: Unrecognized Character in Netlist.", "Warning:  T1 (MITL0) has no simulation model"}}},
        {TypeOilSwitchModel,
         {ElementClass::Resistor,
          {"Warning: Unrecognized Character in Netlist.", "Warning:  R1 (OILSW" + noModel}}},
        {TypePlanarDiodeModel, {ElementClass::Resistor, {"Warning:  R1 (PLDIODE" + noModel}}},
        {TypeLossyLineWithResistance, {ElementClass::LossyTL}},
    };
    size_t parts = 0;
    for (const ComponentType& type : ComponentTypes()) {
        if (!type.netlistLetter) continue;
        SCOPED_TRACE(type.name);
        const auto row = expected.find(type.id);
        ASSERT_NE(row, expected.end()) << "a part type without an expected element";
        ++parts;
        // Pins 2 and 4 straight to ground, pins 1 and 3 through a resistor coming from the left.
        ScriptedUiServices ui;
        CTorvex2Doc doc;
        const Placed part = place(doc, type.id, QPoint(2880, -2880));
        for (size_t k = 0; k < part.pins.size(); ++k) {
            const QPoint pin = part.pins[k]->Position, load = pin - QPoint(576, 0);
            if (k % 2 == 0) place(doc, TypeResistor, load);
            place(doc, TypeGround, k % 2 == 0 ? load : pin);
        }
        const QString netlist = doc.WriteNetlist({}, {}, {}, {}, {}, {});
        EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join('|'));

        const QStringList lines = netlist.split("\r\n");
        const QString name = part.labels.at(0)->Text;
        const qsizetype at = lines.indexOf(QRegularExpression("^" + name + " .*"));
        SCOPED_TRACE(qPrintable(lines.value(at)));
        const QStringList tokens = lines.value(at).toUpper().split(u' ', Qt::SkipEmptyParts);
        EXPECT_EQ(ChooseElementClass(tokens), row->second.element);
        for (size_t k = 0; k < part.pins.size(); ++k)
            EXPECT_EQ(tokens.value(qsizetype(k) + 1) == "0", k % 2 == 1) << "the node of pin " << k + 1;

        SimHarness h;
        EXPECT_TRUE(h.run(netlist));
        const QStringList problems = h.problems();
        ASSERT_EQ(problems.size(), row->second.warnings.size()) << qPrintable(problems.join('|'));
        for (qsizetype i = 0; i < problems.size(); ++i)
            EXPECT_TRUE(problems[i].startsWith(row->second.warnings[i])) << qPrintable(problems[i]);
    }
    EXPECT_EQ(parts, expected.size());
}

TEST_F(EditorTest, TheExampleSchematicIsTheExampleNetlistsCircuit)
{
    // examples/rlc.cir drawn in the editor with its nodes named by probes: a 1 V step through 10 ohms
    // and 1 uH into 1 nF (PIN, P1, P2), and 1 nF charged to 5 V discharging through 1k (P5); the
    // reference run's settings. Wires keep the parts apart, so that no label covers another.
    const auto part = [&](int tool, QPoint at, bool turned, const char* value, const char* ic = "") {
        editor.OnPartsTool(tool);
        if (turned) Key(Qt::Key_R);
        const size_t index = doc.Components().size() - 1;
        Click(at);
        Key(Qt::Key_Escape);
        At(index + 2).Text = value;
        if (*ic) At(index + 3).Text = ic;
    };
    part(TypeVoltageSource, Grid(4, 14), false, "PULSE 0 1 0 0.1N 0.1N 1 2");
    part(TypeResistor, Grid(8, 6), false, "10");
    part(TypeInductor, Grid(16, 6), false, "1U", "IC=0");
    part(TypeCapacitor, Grid(28, 6), true, "1N", "IC=0");
    part(TypeCapacitor, Grid(38, 6), true, "1N", "IC=5");
    part(TypeResistor, Grid(44, 6), true, "1K");
    for (QPoint end : {Grid(4, 19), Grid(28, 9), Grid(38, 9), Grid(44, 10)})
        Place(TypeGround, end);
    Wire({Grid(4, 14), Grid(4, 6), Grid(8, 6)});
    Wire({Grid(12, 6), Grid(16, 6)});
    Wire({Grid(22, 6), Grid(28, 6)});
    Wire({Grid(38, 6), Grid(44, 6)});
    const std::pair<const char*, QPoint> probes[] = {
        {"PIN", Grid(4, 6)}, {"P1", Grid(12, 6)}, {"P2", Grid(28, 6)}, {"P5", Grid(38, 6)}};
    for (const auto& [label, at] : probes) {
        const size_t index = doc.Components().size() - 1;
        Place(TypeVoltageProbe, at);
        At(index + 2).Text = label;
    }
    doc.TimeStep = QStringLiteral("0.1ns");
    doc.TimeSpan = QStringLiteral("400ns");

    QBuffer drawn;
    ASSERT_TRUE(drawn.open(QIODevice::WriteOnly) && doc.Save(drawn));
    const QString examplePath = QStringLiteral(TORVEX_EXAMPLES_DIR "/rlc.cas");
    QFile example(examplePath);
    if (!example.open(QIODevice::ReadOnly) || example.readAll() != drawn.data()) {
        // After a deliberate change of the drawing or of the file format this file replaces the example.
        QFile fresh(QDir::current().filePath("rlc.cas"));
        ASSERT_TRUE(fresh.open(QIODevice::WriteOnly) && fresh.write(drawn.data()) == drawn.data().size());
        FAIL() << "examples/rlc.cas is not this drawing, which is in " << qPrintable(fresh.fileName());
    }
    // Its netlist runs to the reference values, read at the probes.
    ReferenceCase rc = loadReference("rlc");
    rc.netlist = doc.CreateNetlistText().value_or(QString());
    for (auto& point : rc.points)
        point.trace.replace("(N", "(P");
    SimHarness h;
    runReference(h, rc, QStringLiteral("Auto"));
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join('|'));
}

} // namespace
