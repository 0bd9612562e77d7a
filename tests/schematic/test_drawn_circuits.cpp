// Circuits kept as schematic files, read as write_netlist reads them, written and run: the netlist
// is the circuit the files draw. The files in data/ are these drawings, placed as the tools place
// them.
#include "CDrawing.h"
#include "NetlistWriter.h"
#include "SchematicTestSupport.h"
#include "SimHarness.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <functional>

namespace {

const QString kData = QStringLiteral(TORVEX_TEST_DATA_DIR);

// The grid point i steps right and j steps down from the frame's top-left corner.
QPoint P(int i, int j)
{
    return QPoint(1080 + 144 * i, -1080 - 144 * j);
}

Placed part(CTorvex2Doc& doc, quint32 type, QPoint at, int orientation, const QString& value = {})
{
    Placed p = place(doc, type, at, orientation);
    p.object->State = 1;
    if (!value.isEmpty()) p.labels.at(1)->Text = value;
    return p;
}

// A label's part renamed, as its dialog would.
void rename(const Placed& p, const QString& name)
{
    p.labels.at(0)->Text = name;
}

void wire(CTorvex2Doc& doc, QPoint a, QPoint b)
{
    auto w = std::make_unique<CDrawing>(TypeWire);
    w->State = 1;
    w->Position = a;
    w->Orientation = a.y() == b.y() ? 1 : 2;
    w->Extent =
        Rect{std::min(a.x(), b.x()), std::max(a.y(), b.y()), std::max(a.x(), b.x()), std::min(a.y(), b.y())};
    const QPoint ends[2] = {{w->Extent.left, w->Extent.top}, {w->Extent.right, w->Extent.bottom}};
    doc.Components().push_back(std::move(w));
    for (int k = 0; k < 2; ++k) {
        auto pin = CDrawing::NewAttachment(TypeTerminal, QString::number(k + 1));
        pin->Position = ends[k];
        doc.Components().push_back(std::move(pin));
    }
}

// V1, DC 10 V, standing at P(4, 4) with its pin 2 on ground five steps below.
Placed source(CTorvex2Doc& doc, const QString& value)
{
    Placed v = part(doc, TypeVoltageSource, P(4, 4), 2, value);
    part(doc, TypeGround, P(4, 9), 2);
    return v;
}

// V1 (DC 10) drives pin 1 of the block in `file`, whose pin 2 is ground.
void drivenBlock(CTorvex2Doc& doc, const char* file)
{
    source(doc, "DC 10");
    wire(doc, P(4, 4), P(10, 4));
    part(doc, TypeSubcircuitInterface, P(10, 4), 1, file);
    part(doc, TypeGround, P(10, 6), 2);
}

// 50 ohms from the port SUB1 to the port SUB2.
void fiftyOhmsBetweenPorts(CTorvex2Doc& doc)
{
    rename(part(doc, TypeBubbleConnector, P(4, 4), 3), "SUB1");
    part(doc, TypeResistor, P(4, 4), 1, "50");
    rename(part(doc, TypeBubbleConnector, P(8, 4), 1), "SUB2");
}

struct Drawing {
    const char* file;
    std::function<void(CTorvex2Doc&)> draw;
};

// clang-format off
const Drawing kDrawings[] = {
    // V1 drives pin 1 of X1, whose pin 2 is ground; inside, 50 ohms from SUB1 to SUB2 with the probe
    // Pmid on SUB2.
    {"probe-on-port.cas", [](CTorvex2Doc& doc) { drivenBlock(doc, "probe-on-port-block.cas"); }},
    {"probe-on-port-block.cas", [](CTorvex2Doc& doc) {
        fiftyOhmsBetweenPorts(doc);
        rename(part(doc, TypeVoltageProbe, P(8, 4), 4), "Pmid");
    }},
    // V1 drives the bubble GLOB, on which the probe P1 stands; inside X1, 50 ohms from GLOB to ground.
    {"probe-on-bubble.cas", [](CTorvex2Doc& doc) {
        source(doc, "DC 10");
        rename(part(doc, TypeBubbleConnector, P(4, 4), 3), "GLOB");
        part(doc, TypeVoltageProbe, P(4, 4), 4);
        part(doc, TypeSubcircuitInterface, P(12, 4), 1, "probe-on-bubble-block.cas");
    }},
    {"probe-on-bubble-block.cas", [](CTorvex2Doc& doc) {
        rename(part(doc, TypeBubbleConnector, P(4, 4), 3), "GLOB");
        part(doc, TypeResistor, P(4, 4), 1, "50");
        part(doc, TypeGround, P(8, 4), 2);
    }},
    // V1 drives pin 1 of X1, whose file is named with its folder on drive C:; a file of the same
    // name lies beside this one, 50 ohms from SUB1 to SUB2.
    {"block-named-elsewhere.cas", [](CTorvex2Doc& doc) { drivenBlock(doc, "C:\\Elsewhere\\sect.cas"); }},
    {"sect.cas", [](CTorvex2Doc& doc) { fiftyOhmsBetweenPorts(doc); }},
    // The wire from V1 ends 30 twips below R1's pin 1: it looks joined and is not.
    {"wire-beside-pin.cas", [](CTorvex2Doc& doc) {
        source(doc, "DC 1");
        wire(doc, P(4, 4), P(10, 4) - QPoint(0, 30));
        part(doc, TypeResistor, P(10, 4), 1, "1k");
        part(doc, TypeGround, P(14, 4), 2);
    }},
};
// clang-format on

// A file's netlist as write_netlist writes it, and the messages that came with it.
struct Written {
    QString netlist;
    QStringList messages;

    explicit Written(const QString& file)
    {
        ScriptedUiServices ui;
        QString reason;
        const std::unique_ptr<CTorvex2Doc> doc = CTorvex2Doc::OpenDetached(kData + u'/' + file, &reason);
        EXPECT_NE(doc, nullptr) << qPrintable(reason);
        if (doc) netlist = doc->CreateNetlistText().value_or(QString());
        messages = ui.messages;
    }
    QStringList statements() const
    {
        QStringList lines = netlist.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        lines.removeIf([](const QString& line) { return line.startsWith(u'*'); });
        return lines;
    }
};

} // namespace

TEST(DrawnCircuits, TheFilesAreTheirDrawings)
{
    for (const Drawing& d : kDrawings) {
        CTorvex2Doc doc;
        doc.OnNewDocument();
        d.draw(doc);
        QBuffer drawn;
        ASSERT_TRUE(drawn.open(QIODevice::WriteOnly) && doc.Save(drawn));
        QFile kept(kData + u'/' + QString::fromLatin1(d.file));
        if (!kept.open(QIODevice::ReadOnly) || kept.readAll() != drawn.data()) {
            // After a deliberate change of a drawing or of the file format this file replaces it.
            QFile fresh(QDir::current().filePath(QString::fromLatin1(d.file)));
            ASSERT_TRUE(fresh.open(QIODevice::WriteOnly) && fresh.write(drawn.data()) == drawn.data().size());
            ADD_FAILURE() << "data/" << d.file << " is not its drawing, which is in "
                          << qPrintable(fresh.fileName());
        }
    }
}

TEST(DrawnCircuits, AProbeOnABlocksPortOrOnASharedBubbleKeepsTheNetWhole)
{
    const struct {
        const char* file;
        QStringList statements;
        QStringList messages;
    } cases[] = {
        {"probe-on-port.cas",
         {"V1 N1 0 DC 10", "R1_X1 N1 0 50"},
         {"Warning:  These voltage probes stand on ground, which the netlist names 0: Pmid_X1"}},
        {"probe-on-bubble.cas", {"V1 P1 0 DC 10", "R1_X1 P1 0 50"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Written written(QString::fromLatin1(c.file));
        EXPECT_EQ(written.statements(), c.statements);
        EXPECT_EQ(written.messages, c.messages);
        // 10 V across 50 ohms: the source delivers 0.2 A.
        SimHarness h;
        ASSERT_TRUE(h.run(written.netlist, "1ns", "10ns")) << qPrintable(h.problems().join('|'));
        EXPECT_NEAR(h.at("I(V1)", 5e-9), -0.2, 1e-9);
    }
}

TEST(DrawnCircuits, AWireThatEndsBesideAPinIsNamedInOneWarning)
{
    const Written written(QStringLiteral("wire-beside-pin.cas"));
    EXPECT_EQ(written.statements(), (QStringList{"V1 N1 0 DC 1", "R1 N4 0 1K"}));
    EXPECT_EQ(
        written.messages,
        QStringList{
            "Warning:  Nothing connects to these pins, each a node of its own in the netlist: V1 pin 1, "
            "R1 pin 1"});
}
