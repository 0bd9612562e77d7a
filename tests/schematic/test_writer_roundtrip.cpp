// Every part class as its tool makes it, wired to ground, written by the netlist writer and read and
// run by the simulator: each line must choose the part's element, and the run must complete.
#include "CComponent.h"
#include "CTorvex2Doc.h"
#include "ComponentTypeId.h"
#include "ElementClass.h"
#include "SimHarness.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <map>

namespace {

struct Expected {
    ElementClass element;
    QStringList warnings = {}; // how each message of the run begins
};

// What the simulator makes of each part's default line; the models without an element of their own
// say so.
const std::map<quint32, Expected>& expectations()
{
    static const std::map<quint32, Expected> rows = {
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
        {TypeMetalOxideVaristor, {ElementClass::Resistor, {"Warning:  R1 (MOV) has no simulation model"}}},
        {TypeLineInductor, {ElementClass::TLineL}},
        {TypeLineCapacitor, {ElementClass::TLineC}},
        {TypeIdealDiode, {ElementClass::IdealDiode}},
        {TypeLossyMitlModel,
         {ElementClass::TransmissionLine,
          {"Warning: Unrecognized Character in Netlist", "Warning: T1 (MITL1) has no model"}}},
        {TypeLosslessMitlModel,
         {ElementClass::TransmissionLine,
          {"Warning: Unrecognized Character in Netlist.", "Warning: T1 (MITL0) has no model"}}},
        {TypeOilSwitchModel,
         {ElementClass::Resistor,
          {"Warning: Unrecognized Character in Netlist.", "Warning:  R1 (OILSW) has no simulation model"}}},
        {TypePlanarDiodeModel, {ElementClass::Resistor, {"Warning:  R1 (PLDIODE) has no simulation model"}}},
        {TypeLossyLineWithResistance, {ElementClass::LossyTL}},
    };
    return rows;
}

// An object placed as its tool places it, with the objects that follow it.
struct Placed {
    CComponent* object = nullptr;
    std::vector<CComponent*> labels;
    std::vector<CComponent*> pins;
};

Placed place(CTorvex2Doc& doc, quint32 type, QPoint at, int orientation = 0)
{
    std::unique_ptr<CComponent> object = CTorvex2Doc::CreateComponent(type);
    if (!object) return {};
    object->Position = at;
    if (orientation) object->Orientation = orientation;
    ComponentList& list = doc.Components();
    list.push_back(std::move(object));
    auto self = std::prev(list.end());
    (*self)->CreateAttachments(doc, at.x(), at.y());
    (*self)->State = 1;
    Placed placed{self->get()};
    for (auto it = std::next(self); it != list.end(); ++it)
        ((*it)->TypeId == TypeTerminal ? placed.pins : placed.labels).push_back(it->get());
    return placed;
}

// Pins 2 and 4 straight to ground, pins 1 and 3 through a resistor ending on the pin from the left.
void wireToGround(CTorvex2Doc& doc, const std::vector<CComponent*>& pins)
{
    std::vector<QPoint> at;
    for (const CComponent* pin : pins)
        at.push_back(pin->Position);
    for (size_t k = 0; k < at.size(); ++k) {
        const QPoint load = at[k] - QPoint(576, 0);
        if (k % 2 == 0) place(doc, TypeResistor, load);
        place(doc, TypeGround, k % 2 == 0 ? load : at[k]);
    }
}

QString statementOf(const QString& netlist, const QString& name)
{
    for (const QString& line : netlist.split(QStringLiteral("\r\n")))
        if (line.startsWith(name + u' ')) return line;
    return {};
}

TEST(NetlistRoundTrip, EveryPartsDefaultChoosesItsElementAndRuns)
{
    int parts = 0;
    for (const ComponentType& type : ComponentTypes()) {
        if (!type.netlistLetter) continue;
        SCOPED_TRACE(type.name);
        const auto row = expectations().find(type.id);
        ASSERT_NE(row, expectations().end()) << "a part type without an expected element";
        ScriptedUiServices ui;
        CTorvex2Doc doc;
        const Placed part = place(doc, type.id, QPoint(2880, -2880));
        const std::vector<CComponent*>& pins = part.pins;
        ASSERT_FALSE(pins.empty());
        const QString name = part.labels.at(0)->Text;
        wireToGround(doc, pins);
        const QString netlist = doc.WriteNetlist({}, {}, {}, {}, {}, {});
        EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join('|'));

        const QString statement = statementOf(netlist, name);
        SCOPED_TRACE(qPrintable(statement));
        const QStringList tokens = statement.toUpper().split(u' ', Qt::SkipEmptyParts);
        EXPECT_EQ(ChooseElementClass(tokens), row->second.element);
        for (size_t k = 0; k < pins.size(); ++k)
            EXPECT_EQ(tokens.value(qsizetype(k) + 1) == "0", k % 2 == 1) << "node of pin " << k + 1;

        SimHarness h;
        EXPECT_TRUE(h.run(netlist));
        const QStringList problems = h.problems();
        ASSERT_EQ(problems.size(), row->second.warnings.size()) << qPrintable(problems.join('|'));
        for (qsizetype i = 0; i < problems.size(); ++i)
            EXPECT_TRUE(problems[i].startsWith(row->second.warnings[i])) << qPrintable(problems[i]);
        ++parts;
    }
    EXPECT_EQ(parts, int(expectations().size()));
}

TEST(NetlistRoundTrip, ABlockOfTheRealClassesRunsWithItsParameters)
{
    // The file: a resistor from the block's pin 1 to its pin 2, valued by a parameter with a default.
    QTemporaryDir dir;
    const QString subPath = QFileInfo(dir.filePath("load.cas")).absoluteFilePath();
    ScriptedUiServices ui;
    {
        CTorvex2Doc sub;
        const Placed r = place(sub, TypeResistor, QPoint(1440, -1440));
        r.labels[1]->Text = QStringLiteral("RLOAD");
        place(sub, TypeBubbleConnector, r.pins[0]->Position).labels[0]->Text = QStringLiteral("sub1");
        place(sub, TypeBubbleConnector, r.pins[1]->Position).labels[0]->Text = QStringLiteral("SUB2");
        place(sub, TypeTextSelectionTool, QPoint(0, 0)).object->Text = QStringLiteral("PARAMS: RLOAD=1MEG");
        QFile file(subPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && sub.Save(file));
    }
    // The schematic: 1 V through 1k into the block, whose pin 2 is ground; the instance's value wins.
    CTorvex2Doc doc;
    const Placed v = place(doc, TypeVoltageSource, QPoint(0, -1440));
    v.labels[1]->Text = QStringLiteral("DC 1");
    place(doc, TypeGround, v.pins[1]->Position);
    const Placed r = place(doc, TypeResistor, v.pins[0]->Position);
    place(doc, TypeVoltageProbe, r.pins[1]->Position);
    const Placed x = place(doc, TypeSubcircuitInterface, r.pins[1]->Position);
    x.labels[1]->Text = subPath;
    x.labels[2]->Text = QStringLiteral("PARAMS: RLOAD=1k");
    place(doc, TypeGround, x.pins[1]->Position);
    const QString netlist = doc.WriteNetlist({}, {}, {}, {}, {}, {});
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join('|'));
    EXPECT_TRUE(netlist.contains("\r\nR1_X1 P1 0 1K\r\n")) << qPrintable(netlist);

    SimHarness h;
    ASSERT_TRUE(h.runClean(netlist)) << qPrintable(netlist);
    EXPECT_NEAR(h.at("V(P1)", 100e-9), 0.5, 1e-6);
}

// The circuit of examples/rlc.cir as a schematic, its nodes named by voltage probes: a 1 V step
// through 10 ohms and 1 uH into 1 nF (the ring at PIN, P1, P2), and 1 nF charged to 5 V discharging
// through 1k (P5). Its run settings are those of the reference run.
void drawRlc(CTorvex2Doc& doc)
{
    const auto part = [&](quint32 type, QPoint at, int orientation, const char* value,
                          const char* ic = nullptr) {
        const Placed p = place(doc, type, at, orientation);
        p.labels[1]->Text = QString::fromLatin1(value);
        if (ic) p.labels[2]->Text = QString::fromLatin1(ic);
        return p;
    };
    const auto probe = [&](const char* name, QPoint at) {
        place(doc, TypeVoltageProbe, at).labels[0]->Text = QString::fromLatin1(name);
    };
    const Placed v = part(TypeVoltageSource, QPoint(1440, -2880), 2, "PULSE 0 1 0 0.1N 0.1N 1 2");
    place(doc, TypeGround, v.pins[1]->Position);
    const Placed r = part(TypeResistor, v.pins[0]->Position, 1, "10");
    const Placed l = part(TypeInductor, r.pins[1]->Position, 1, "1U", "IC=0");
    const Placed c = part(TypeCapacitor, l.pins[1]->Position, 2, "1N", "IC=0");
    place(doc, TypeGround, c.pins[1]->Position);
    const Placed c2 = part(TypeCapacitor, QPoint(5040, -2880), 2, "1N", "IC=5");
    place(doc, TypeGround, c2.pins[1]->Position);
    const Placed r2 = part(TypeResistor, c2.pins[0]->Position, 1, "1K");
    place(doc, TypeGround, r2.pins[1]->Position);
    probe("PIN", v.pins[0]->Position);
    probe("P1", r.pins[1]->Position);
    probe("P2", l.pins[1]->Position);
    probe("P5", c2.pins[0]->Position);
    doc.TimeStep = QStringLiteral("0.1ns");
    doc.TimeSpan = QStringLiteral("400ns");
}

TEST(NetlistRoundTrip, TheExampleSchematicIsTheExampleNetlistsCircuit)
{
    ScriptedUiServices ui;
    CTorvex2Doc doc;
    drawRlc(doc);
    QBuffer drawn;
    ASSERT_TRUE(drawn.open(QIODevice::WriteOnly) && doc.Save(drawn));
    const QString examplePath = QStringLiteral(TORVEX_EXAMPLES_DIR "/rlc.cas");
    QFile example(examplePath);
    if (!example.open(QIODevice::ReadOnly) || example.readAll() != drawn.data()) {
        // After a deliberate change of the drawing or the file format, the new file replaces the old.
        QFile fresh(QDir::current().filePath("rlc.cas"));
        ASSERT_TRUE(fresh.open(QIODevice::WriteOnly) && fresh.write(drawn.data()) == drawn.data().size());
        FAIL() << "examples/rlc.cas is not the schematic this test draws; the drawing is in "
               << qPrintable(fresh.fileName());
    }

    QString reason;
    const std::unique_ptr<CTorvex2Doc> opened = CTorvex2Doc::OpenDetached(examplePath, &reason);
    ASSERT_NE(opened, nullptr) << qPrintable(reason);
    const std::optional<QString> netlist = opened->CreateNetlistText();
    ASSERT_TRUE(netlist.has_value());
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join('|'));
    EXPECT_TRUE(
        netlist->startsWith("* TORVEX Generated Netlist of " + QFileInfo(examplePath).absoluteFilePath()));

    // The reference values of the netlist's run, read from the probes' nodes.
    ReferenceCase rc = loadReference("rlc");
    rc.netlist = *netlist;
    for (auto& point : rc.points)
        point.trace.replace(QStringLiteral("(N"), QStringLiteral("(P"));
    EXPECT_EQ(QStringList({opened->TimeStep, opened->TimeSpan}), QStringList({rc.step, rc.span}));
    SimHarness h;
    runReference(h, rc, QStringLiteral("Auto"));
}

} // namespace
