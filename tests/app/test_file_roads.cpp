// Whole roads that start from files: a schematic whose sub-circuit block holds half of the circuit,
// opened, turned into a netlist and run to the reference values; and a first-generation file opened,
// converted, saved and opened again.
#include "FileBytes.h"
#include "ShellFixture.h"

#include "CSimulatorDoc.h"
#include "CTorvex2Doc.h"
#include "FirstGeneration.h"
#include "Ribbon.h"
#include "SchematicTestSupport.h"
#include "SimHarness.h"

#include <QAbstractButton>
#include <QMdiArea>
#include <QTest>

#include <cmath>

namespace {

// The grid point i steps right and j steps down from the frame's top-left corner.
QPoint G(int i, int j)
{
    return QPoint(1080 + 144 * i, -1080 - 144 * j);
}

bool saveAs(CTorvex2Doc& doc, const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && doc.Save(file);
}

class FileRoads : public ShellTest {
protected:
    void StartProgram() { Start({}, TemplateMakers::Program()); }
    // Opens a file through File Open; the document that holds it.
    CTorvex2Doc* Open(const QString& path)
    {
        nextFile = path;
        Frame().OnCommand(ID_FILE_OPEN);
        for (Document* d : Docs().GetOpenDocuments())
            if (d->PathName() == path) return dynamic_cast<CTorvex2Doc*>(d);
        return nullptr;
    }
};

} // namespace

TEST_F(FileRoads, ABlockOfTheCircuitRunsToTheReferenceValues)
{
    // The ring of examples/rlc.cir with its inductor and capacitor in a block file: the bubble SUB1
    // is the block's pin 1, the probe P2 names the capacitor's node, and the inductor takes its value
    // from the instance's parameter, which beats the file's own.
    {
        CTorvex2Doc lc;
        lc.OnNewDocument();
        place(lc, TypeTextSelectionTool, G(0, 0)).object->Text = QStringLiteral("PARAMS: LV=2U");
        const Placed port = place(lc, TypeBubbleConnector, G(4, 4));
        port.labels[0]->Text = QStringLiteral("SUB1");
        const Placed l1 = place(lc, TypeInductor, G(4, 4));
        l1.labels[1]->Text = QStringLiteral("LV");
        const Placed c1 = place(lc, TypeCapacitor, l1.pins[1]->Position, 2);
        c1.labels[1]->Text = QStringLiteral("1N");
        place(lc, TypeVoltageProbe, l1.pins[1]->Position).labels[0]->Text = QStringLiteral("P2");
        place(lc, TypeGround, c1.pins[1]->Position);
        ASSERT_TRUE(saveAs(lc, dir.filePath(QStringLiteral("lc.cas"))));
    }
    {
        CTorvex2Doc top;
        top.OnNewDocument();
        const Placed v1 = place(top, TypeVoltageSource, G(4, 8));
        v1.labels[1]->Text = QStringLiteral("PULSE 0 1 0 0.1N 0.1N 1 2");
        place(top, TypeGround, v1.pins[1]->Position);
        const Placed r1 = place(top, TypeResistor, v1.pins[0]->Position);
        r1.labels[1]->Text = QStringLiteral("10");
        const Placed x1 = place(top, TypeSubcircuitInterface, r1.pins[1]->Position);
        x1.labels[1]->Text = QStringLiteral("lc.cas");
        x1.labels[2]->Text = QStringLiteral("PARAMS: LV=1U");
        top.TimeStep = QStringLiteral("0.1ns");
        top.TimeSpan = QStringLiteral("400ns");
        ASSERT_TRUE(saveAs(top, dir.filePath(QStringLiteral("top.cas"))));
    }

    StartProgram();
    ASSERT_NE(Open(dir.filePath(QStringLiteral("top.cas"))), nullptr);
    Frame().OnCommand(ID_Parts_Netlist);
    auto* netlist = dynamic_cast<CSimulatorDoc*>(Docs().GetOpenDocuments().back());
    ASSERT_NE(netlist, nullptr);
    EXPECT_TRUE(netlist->NetlistText().contains(QStringLiteral("\r\nL1_X1 N3 P2_X1 1U IC=0\r\n")))
        << qPrintable(netlist->NetlistText());
    Frame().OnIdleUpdate();
    QTest::mouseClick(Frame().GetRibbonBar()->FindButton(ID_Transient_Simulate), Qt::LeftButton);
    ASSERT_TRUE(netlist->ResultsValid()) << qPrintable(ui.messages.join(u'\n'));

    std::vector<double> v(size_t(netlist->StepCount() + 1));
    ASSERT_TRUE(netlist->GetTraceValues(QStringLiteral("V(P2_X1)"), int(v.size()), v.data()));
    int checked = 0;
    for (const ReferenceCase::Point& p : loadReference(QStringLiteral("rlc")).points) {
        if (p.trace != QLatin1String("V(N2)")) continue;
        EXPECT_NEAR(v[size_t(std::lround(p.time / netlist->TimeStep()))], p.value, p.tolerance) << p.time;
        ++checked;
    }
    EXPECT_EQ(checked, 5);
}

TEST_F(FileRoads, AFirstGenerationFileIsConvertedSavedAndOpensAsToday)
{
    // An old resistor with its name, value and two pins, and an old text.
    Old old = oldPart(1, "R12", "1k");
    old.insert(old.end(), {{4, "1"}, {4, "2"}, {6, "a note"}});
    const QString path = writeFile(dir.filePath(QStringLiteral("old.cas")), oldFile(2, old));

    StartProgram();
    ui.answers = {UiServices::Answer::Ok};
    CTorvex2Doc* doc = Open(path);
    ASSERT_NE(doc, nullptr) << qPrintable(ui.messages.join(u'\n'));
    EXPECT_EQ(ui.messages, QStringList{FirstGenerationNotice()});
    const auto texts = [](CTorvex2Doc& d) {
        QStringList out;
        for (const auto& o : d.Components())
            out << QString::fromLatin1(o->RuntimeClass().name) + u' ' + o->Text;
        return out;
    };
    const QStringList converted = {"CResistor OLD", "CDrawing R12", "CDrawing 1k",
                                   "CDrawing 1",    "CDrawing 2",   "CText a note"};
    EXPECT_EQ(texts(*doc), converted);
    EXPECT_EQ(doc->SchematicFileVersion, 2);

    // Saving asks before the old program loses the file, and writes today's layout.
    ui.messages.clear();
    ui.answers = {UiServices::Answer::Ok};
    Frame().OnCommand(ID_FILE_SAVE);
    EXPECT_EQ(ui.messages, QStringList{CTorvex2Doc::ConvertedFileNotice()});
    const QByteArray saved = fileBytes(path);
    ASSERT_EQ(saved.left(4), QByteArray("\x05\x00\x00\x00", 4));
    EXPECT_EQ(doc->SchematicFileVersion, CTorvex2Doc::kFileVersion);

    // Opened again, it is a file of today: no question, the same objects, the same bytes.
    Docs().CloseDocument(doc);
    ui.messages.clear();
    CTorvex2Doc* again = Open(path);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join(u'\n'));
    EXPECT_EQ(texts(*again), converted);
    EXPECT_EQ(saveBytes(*again), saved);
}
