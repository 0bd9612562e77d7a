// Create Netlist in the program, and the whole road: a circuit drawn in the blank schematic with the
// window's own commands and mouse events, its values edited in the dialogs, the netlist made and
// run, the result checked against the reference, the file saved and read back, and every edit
// undone.
#include "FileBytes.h"
#include "ShellFixture.h"

#include "CInductor.h"
#include "CSimulatorDoc.h"
#include "CSimulatorView.h"
#include "CTorvex2Doc.h"
#include "CTorvex2View.h"
#include "CVoltageSource.h"
#include "ComponentListCheck.h"
#include "ComponentTypeId.h"
#include "PartsTestSupport.h"
#include "Ribbon.h"
#include "SchematicTestSupport.h"
#include "SimHarness.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QRegularExpression>
#include <QTest>

namespace {
// The grid point i steps right and j steps down from the frame's top-left corner.
QPoint G(int i, int j)
{
    return QPoint(1080 + 144 * i, -1080 - 144 * j);
}

// The first node of the element line `name` that is not ground.
QString nodeOf(const QString& netlist, const QString& name)
{
    for (const QString& line : netlist.split(QStringLiteral("\r\n"))) {
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        if (words.size() >= 3 && words[0] == name)
            return words[1] != QLatin1String("0") ? words[1] : words[2];
    }
    return {};
}

// The values of the example's ring, as its parts' dialogs take them: a 1 V step through 10 ohms and
// 1 uH into 1 nF.
bool ringValues(CComponent& part)
{
    if (auto* source = dynamic_cast<CVoltageSource*>(&part)) {
        source->SourceKind = CVoltageSource::KindPulse;
        const QString fields[] = {"0", "1", "0", "0.1N", "0.1N", "1", "2"};
        QString* targets[] = {&source->V1Text, &source->V2Text, &source->TDText, &source->TRText,
                              &source->TFText, &source->PWText, &source->PERText};
        for (int i = 0; i < 7; ++i)
            *targets[i] = fields[i];
        return true;
    }
    const bool inductor = dynamic_cast<CInductor*>(&part);
    part.ValueBuffer = part.TypeId == TypeResistor ? QStringLiteral("10")
                       : inductor                  ? QStringLiteral("1U")
                                                   : QStringLiteral("1N");
    part.ICBuffer = QStringLiteral("IC=0");
    return true;
}
} // namespace

class CreateNetlist : public ShellTest {
protected:
    void StartProgram()
    {
        Start({}, TemplateMakers::Program());
        view = dynamic_cast<CTorvex2View*>(Frame().ActiveView());
        ASSERT_NE(view, nullptr);
        doc = view->GetDocument();
    }
    Ribbon& Bar() { return *Frame().GetRibbonBar(); }
    CSimulatorDoc* Netlist() { return dynamic_cast<CSimulatorDoc*>(Docs().GetOpenDocuments().back()); }

    // The window's own events, at points of the page.
    QPoint Client(QPoint page) { return view->PageToClient(page); }
    // The pointer moves only when it changes place: it comes in from one pixel aside.
    void Move(QPoint page)
    {
        QTest::mouseMove(view->viewport(), Client(page) + QPoint(1, 0));
        QTest::mouseMove(view->viewport(), Client(page));
    }
    void Click(QPoint page, QPoint pixels = {})
    {
        const QPoint client = Client(page) + pixels;
        QTest::mouseMove(view->viewport(), client + QPoint(1, 0));
        QTest::mouseMove(view->viewport(), client);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, client);
    }
    // As the window system delivers one: press, release, double click, release.
    void DoubleClick(QPoint page)
    {
        Click(page);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, Client(page));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, Client(page));
    }
    void Key(Qt::Key key) { QTest::keyClick(view, key); }
    void Type(int id, const QString& text)
    {
        QLineEdit* edit = Bar().FindEdit(id);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // The ring's netlist run for 400 ns in steps of 0.1 ns from the Simulate tab: the capacitor's
    // voltage is the reference simulator's.
    void RunRingAgainstTheReference(CSimulatorDoc& netlist)
    {
        const QString text = netlist.NetlistText();
        Type(ID_Transient_TimeStep, QStringLiteral("0.1ns"));
        Type(ID_Transient_TimeSpan, QStringLiteral("400ns"));
        Frame().OnIdleUpdate();
        QTest::mouseClick(Bar().FindButton(ID_Transient_Simulate), Qt::LeftButton);
        ASSERT_TRUE(netlist.ResultsValid()) << ui.messages.join(u'\n').toStdString();
        const QString node = nodeOf(text, QStringLiteral("C1"));
        const ReferenceCase rlc = loadReference(QStringLiteral("rlc"));
        std::vector<double> v(size_t(netlist.StepCount() + 1));
        ASSERT_TRUE(netlist.GetTraceValues(QStringLiteral("V(%1)").arg(node), int(v.size()), v.data()));
        int checked = 0;
        for (const ReferenceCase::Point& p : rlc.points) {
            if (p.trace != QLatin1String("V(N2)")) continue;
            const size_t k = size_t(std::lround(p.time / netlist.TimeStep()));
            EXPECT_NEAR(v[k], p.value, p.tolerance) << p.time;
            ++checked;
        }
        EXPECT_EQ(checked, 5);
    }

    CTorvex2View* view = nullptr;
    CTorvex2Doc* doc = nullptr;
};

TEST_F(CreateNetlist, AnEmptySchematicGivesTheHeaderAndItsRunSettingsReachTheSimulateTab)
{
    StartProgram();
    doc->TimeStep = QStringLiteral("2ns");
    doc->TimeSpan = QStringLiteral("50ns");
    doc->InputMode = QStringLiteral("Path");
    doc->InputPath = QStringLiteral("D:\\Waves\\");
    QComboBox* roots = Bar().FindComboBox(IDC_OrliskRootCombo);
    for (int i = 0; i < 2; ++i) {
        Frame().MdiArea()->setActiveSubWindow(Frame().ChildFrames().front());
        Frame().OnCommand(ID_Parts_Netlist);
        CSimulatorDoc* netlist = Netlist();
        ASSERT_NE(netlist, nullptr);
        EXPECT_EQ(netlist->NetlistText(), QStringLiteral("* TORVEX Generated Netlist of Unsaved File\r\n"));
        EXPECT_TRUE(netlist->HasLinkedSchematic());
        EXPECT_EQ(Bar().FindEdit(ID_Transient_TimeStep)->text(), QStringLiteral("2ns"));
        EXPECT_EQ(Bar().FindEdit(ID_Transient_TimeSpan)->text(), QStringLiteral("50ns"));
        EXPECT_EQ(Bar().FindEdit(ID_PathEdit)->text(), QStringLiteral("D:\\Waves\\"));
        EXPECT_EQ(Bar().FindComboBox(IDC_FilePathCombo)->currentText(), QStringLiteral("Path"));
        // The lists keep one item per choice, however often the netlist is made.
        EXPECT_EQ(roots->currentText(), doc->ArchiveRoot);
        for (int id : {IDC_OrliskRootCombo, IDC_Value, IDC_OrliskShotCombo}) {
            QStringList items;
            for (int k = 0; k < Bar().FindComboBox(id)->count(); ++k)
                items << Bar().FindComboBox(id)->itemText(k);
            EXPECT_EQ(items.removeDuplicates(), 0) << id;
        }
    }
    EXPECT_EQ(Titles(), (QStringList{"Schematic1", "Netlist1", "Netlist2"}));
    // The link is weak: the netlist outlives its schematic.
    CSimulatorDoc* netlist = Netlist();
    Docs().CloseDocument(doc);
    EXPECT_FALSE(netlist->HasLinkedSchematic());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(CreateNetlist, ABrokenListIsRefusedOrRepairedFirst)
{
    StartProgram();
    struct Repair : ComponentListWindow {
        bool Run(ComponentList& objects) override
        {
            objects.clear();
            return true;
        }
    } repair;
    ComponentListWindow* window = componentListWindow();
    setComponentListWindow(&repair);
    // A resistor without its pins, left as a file that failed its check would leave it.
    doc->Components().push_back(CTorvex2Doc::CreateComponent(TypeResistor));
    const qsizetype documents = Docs().GetOpenDocuments().size();
    ui.answers = {UiServices::Answer::No};
    Frame().OnCommand(ID_Parts_Netlist);
    EXPECT_EQ(ui.messages, (QStringList{CTorvex2View::NetlistRepairOffer(), CTorvex2View::NetlistRefused()}));
    EXPECT_EQ(Docs().GetOpenDocuments().size(), documents);

    ui.messages.clear();
    ui.answers = {UiServices::Answer::Yes};
    Frame().OnCommand(ID_Parts_Netlist);
    setComponentListWindow(window);
    EXPECT_EQ(ui.messages, QStringList{CTorvex2View::NetlistRepairOffer()});
    EXPECT_EQ(Docs().GetOpenDocuments().size(), documents + 1);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(CreateNetlist, TheWholeRoadFromABlankPageToTheRunAndBack)
{
    StartProgram();
    ScriptedDialogs dialogs;
    dialogs.script = ringValues;

    // The ring of the example: V1 standing from G(4, 4) down to G(4, 9), R1 and L1 in a row from its
    // top, C1 turned upright, wires to the bottom line, which the ground holds at 0.
    Frame().OnCommand(TypeVoltageSource);
    Click(G(4, 4));
    Frame().OnCommand(TypeResistor);
    Click(G(4, 4)); // onto V1's pin "1"
    Frame().OnCommand(TypeInductor);
    Click(G(8, 4));
    Frame().OnCommand(TypeCapacitor);
    Move(G(14, 6));
    Key(Qt::Key_R);
    Click(G(14, 6));
    Frame().OnCommand(TypeWire);
    Click(G(14, 4));
    Click(G(14, 6));
    Click(G(14, 9));
    Click(G(4, 9));
    Frame().OnCommand(TypeGround);
    Click(G(4, 9));
    Key(Qt::Key_Escape);
    // Source and resistor with four attachments, inductor and capacitor with five, two wires, a ground.
    ASSERT_EQ(doc->Components().size(), 5u + 5 + 6 + 6 + 2 * 3 + 2);

    // The values, each in its part's dialog.
    const QPoint bodies[] = {G(4, 4) + QPoint(0, -360), G(6, 4), G(11, 4) + QPoint(0, 60),
                             G(14, 6) + QPoint(0, -216)};
    for (QPoint body : bodies)
        DoubleClick(body);
    EXPECT_EQ(dialogs.runs, 4);
    for (const auto& o : doc->Components())
        if (o->TypeId == TypeTerminal) EXPECT_GE(o->Orientation, 2) << "no pin is left unconnected";
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join(u'\n').toStdString();

    // Create Netlist, then Start on the Simulate tab.
    Frame().OnCommand(ID_Parts_Netlist);
    CSimulatorDoc* netlist = Netlist();
    ASSERT_NE(netlist, nullptr);
    const QString text = netlist->NetlistText();
    {
        // The ring of the example, whatever the writer calls its nodes.
        const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 5) << text.toStdString();
        const QRegularExpression ring(
            QStringLiteral("V1 (\\w+) 0 PULSE 0 1 0 0.1N 0.1N 1 2\\nR1 \\1 (\\w+) 10\\n"
                           "L1 \\2 (\\w+) 1U IC=0\\nC1 \\3 0 1N IC=0"));
        EXPECT_TRUE(ring.match(lines.mid(1).join(u'\n')).hasMatch()) << text.toStdString();
        RunRingAgainstTheReference(*netlist);
        // The trace selection opened by itself over the results, tied to the schematic.
        ASSERT_EQ(plotTraces.requests.size(), 1u);
        EXPECT_EQ(plotTraces.requests[0].doc, netlist);
        EXPECT_FALSE(plotTraces.requests[0].schematic.expired());
        // The run's settings went back into the schematic.
        EXPECT_EQ(doc->TimeStep, QStringLiteral("0.1ns"));
    }

    // Save, read the file back into a document of its own, and save that again: the same bytes.
    Frame().MdiArea()->setActiveSubWindow(Frame().ChildFrames().front());
    nextFile = dir.filePath(QStringLiteral("rlc.cas"));
    Frame().OnCommand(ID_FILE_SAVE);
    const QByteArray saved = fileBytes(nextFile);
    ASSERT_FALSE(saved.isEmpty());
    CTorvex2Doc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(nextFile));
    EXPECT_EQ(saveBytes(reopened).toHex(' '), saved.toHex(' '));

    // Every edit undone by the Undo key: the empty page.
    Frame().MdiArea()->setActiveSubWindow(Frame().ChildFrames().front());
    Frame().activateWindow();
    int undone = 0;
    while (Frame().Router().Update(ID_EDIT_UNDO).IsEnabled() && undone < 100) {
        QTest::keySequence(view, QKeySequence::Undo);
        ++undone;
    }
    EXPECT_EQ(undone, 11);
    EXPECT_TRUE(doc->Components().empty());
}

TEST_F(CreateNetlist, ARingWiredFromBendsOffTheGridToPointsBesideThePinsIsTheRingThatRuns)
{
    StartProgram();
    ScriptedDialogs dialogs;
    dialogs.script = ringValues;
    // V1 standing at G(4, 8), R1 and L1 in a row above it, C1 upright at G(26, 8), all apart.
    const auto part = [&](int tool, QPoint at, bool turned) {
        Frame().OnCommand(tool);
        Move(at);
        if (turned) Key(Qt::Key_R);
        Click(at);
    };
    part(TypeVoltageSource, G(4, 8), false); // a source stands upright from the start
    part(TypeResistor, G(8, 4), false);
    part(TypeInductor, G(16, 4), false);
    part(TypeCapacitor, G(26, 8), true);
    Frame().OnCommand(TypeGround);
    Click(G(4, 13));
    Click(G(26, 11));
    Key(Qt::Key_Escape);

    // Every wire is dropped two pixels beside the pin it ends on, and the bends are wherever the
    // pointer was, off the grid.
    const QPoint beside(2, -2), offGrid(37, -53);
    Frame().OnCommand(TypeWire);
    Click(G(4, 8), beside);   // from V1's pin 1, up
    Click(G(4, 4) + offGrid); // a bend off the grid
    Click(G(8, 4), beside);   // across to R1's pin 1
    Key(Qt::Key_W);
    Click(G(12, 4), beside); // R1's pin 2
    Click(G(16, 4), beside); // L1's pin 1
    Key(Qt::Key_W);
    Click(G(22, 4), beside);   // L1's pin 2, across
    Click(G(26, 4) + offGrid); // a bend off the grid
    Click(G(26, 8), beside);   // down to C1's pin 1
    Key(Qt::Key_Escape);
    for (const auto& o : doc->Components()) {
        if (o->TypeId == TypeTerminal) EXPECT_EQ(o->Orientation, 2) << "every pin meets one other end";
        if (o->TypeId == TypeWire)
            EXPECT_TRUE(o->Extent.left == o->Extent.right || o->Extent.top == o->Extent.bottom);
    }

    for (QPoint body :
         {G(4, 8) + QPoint(0, -360), G(10, 4), G(19, 4) + QPoint(0, 60), G(26, 8) + QPoint(0, -216)})
        DoubleClick(body);
    EXPECT_EQ(dialogs.runs, 4);
    Frame().OnCommand(ID_Parts_Netlist);
    CSimulatorDoc* netlist = Netlist();
    ASSERT_NE(netlist, nullptr);
    // No pin is left on a node of its own, so no warning.
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join(u'\n').toStdString();
    RunRingAgainstTheReference(*netlist);
}
