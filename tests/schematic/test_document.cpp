#include "CSimulatorDoc.h"
#include "CommandIds.h"
#include "ComponentClasses.h"
#include "ComponentListCheck.h"
#include "ElementFactory.h"
#include "FileBytes.h"
#include "OpenDocuments.h"
#include "SchematicTestSupport.h"
#include "SchematicViews.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <climits>
#include <set>

namespace {

class SchematicDocument : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterTestClasses(); }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

class PlainDoc : public Document {
public:
    bool Load(QIODevice&) override { return true; }
    bool Save(QIODevice&) override { return true; }
};

class FakeOpenDocuments : public OpenDocuments {
public:
    FakeOpenDocuments() { CTorvex2Doc::SetOpenDocuments(this); }
    ~FakeOpenDocuments() override { CTorvex2Doc::SetOpenDocuments(nullptr); }
    std::vector<Entry> Entries() const override { return entries; }
    void CloseDocument(Document* d) override
    {
        closed.push_back(d);
        std::erase_if(entries, [d](const Entry& e) { return e.document == d; });
    }
    std::vector<Entry> entries;
    std::vector<Document*> closed;
};

class FakeViews : public SchematicViews {
public:
    void CancelOperation() override { ++cancels; }
    void UpdateAllViews() override { ++updates; }
    int cancels = 0;
    int updates = 0;
};

// Repairs by removing the list's head.
class FakeListWindow : public ComponentListWindow {
public:
    FakeListWindow() { setComponentListWindow(this); }
    ~FakeListWindow() override { setComponentListWindow(nullptr); }
    bool Run(ComponentList& objects) override
    {
        ++runs;
        objects.pop_front();
        return true;
    }
    int runs = 0;
};

// One edit as the view makes it: a change, then a snapshot.
void edit(CTorvex2Doc& doc, int n)
{
    auto label = std::make_unique<CComponent>();
    label->Init(TypeLabel);
    label->Text = QStringLiteral("E%1").arg(n);
    doc.Components().push_back(std::move(label));
    doc.CheckPoint();
}

QString lastText(CTorvex2Doc& doc)
{
    return doc.Components().empty() ? QString() : doc.Components().back()->Text;
}

// Places a part as the view does: at the tail, then its attachments name it.
CComponent& place(CTorvex2Doc& doc, const QString& letter)
{
    doc.Components().push_back(std::make_unique<TestPart>(TypeResistor, letter));
    CComponent& part = *doc.Components().back();
    part.CreateAttachments(doc, 0, 0);
    return part;
}

} // namespace

TEST_F(SchematicDocument, UndoKeepsTwentyEarlierStates)
{
    CTorvex2Doc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_FALSE(doc.CanUndo());
    for (int i = 1; i <= 25; ++i)
        edit(doc, i);
    EXPECT_EQ(doc.UndoCount(), 21);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(doc.CanUndo()) << i;
        doc.Undo();
        EXPECT_EQ(lastText(doc), QStringLiteral("E%1").arg(24 - i));
    }
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.Components().size(), 5u);
    EXPECT_EQ(doc.RedoCount(), 20);
    // The new document's own state has dropped off the list: no state reached is the saved one.
    EXPECT_TRUE(doc.IsModified());
    for (int i = 0; i < 20; ++i)
        doc.Redo();
    EXPECT_EQ(lastText(doc), QStringLiteral("E25"));
    // A new edit after an undo discards what could be redone.
    doc.Undo();
    edit(doc, 99);
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(doc.UndoCount(), 21);
}

TEST_F(SchematicDocument, UndoRestoresExactlyWhatItStored)
{
    // Every list is replaced, not appended to; a converted first-generation document keeps its
    // version; a version-3 document gets back the fields that its file lacks.
    for (int version : {1, 3, 5}) {
        CTorvex2Doc doc;
        ScriptedUiServices ui;
        doc.SchematicFileVersion = version;
        doc.TraceSelectionHistory = QStringList{"V(N1)", "V(N2)"};
        doc.SpareStringLists[2] = QStringList{"kept"};
        doc.DesignatorCounters['R'] = 4;
        doc.InputMode = QStringLiteral("Path");
        doc.CheckPoint();
        doc.TraceSelectionHistory.prepend("I(R1)");
        doc.DesignatorCounters['R'] = 5;
        doc.InputMode = QStringLiteral("Orlisk");
        edit(doc, 1);
        doc.Undo();
        EXPECT_TRUE(ui.messages.isEmpty()) << version;
        EXPECT_EQ(std::tuple(doc.SchematicFileVersion, doc.TraceSelectionHistory, doc.SpareStringLists[2],
                             doc.DesignatorCounters['R'], doc.DesignatorCounters.size(), doc.InputMode),
                  std::tuple(version, QStringList{"V(N1)", "V(N2)"}, QStringList{"kept"}, 4, size_t(128),
                             QStringLiteral("Path")));
        EXPECT_TRUE(doc.Components().empty());
    }
}

TEST_F(SchematicDocument, PartsAreNamedFromTheirLetterCounter)
{
    CTorvex2Doc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(place(doc, "R").Text, QStringLiteral("R1"));
    EXPECT_EQ(doc.Components().back()->Text, QStringLiteral("R1")); // the name label
    EXPECT_EQ(place(doc, "R").Text, QStringLiteral("R2"));
    EXPECT_EQ(place(doc, "C").Text, QStringLiteral("C1"));
    // Deleting R2 with its label does not give its number back.
    auto r2 = std::next(doc.Components().begin(), 2);
    doc.Components().erase(r2, std::next(r2, 2));
    EXPECT_EQ(place(doc, "R").Text, QStringLiteral("R3"));

    // A letter without a counter, or a counter at its end, leaves the object as it is.
    const auto before = doc.DesignatorCounters;
    EXPECT_EQ(place(doc, QStringLiteral("\u00b5")).Text, QStringLiteral("\u00b5"));
    EXPECT_TRUE(doc.Components().back()->Text.isEmpty());
    doc.DesignatorCounters['Q'] = INT_MAX;
    EXPECT_EQ(place(doc, "Q").Text, QStringLiteral("Q"));
    doc.DesignatorCounters['Q'] = before['Q'];
    EXPECT_EQ(doc.DesignatorCounters, before);
}

TEST_F(SchematicDocument, EveryTypeMakesAnObjectOfItsClassAndEveryClassIsReadFromFiles)
{
    // Classes that no type names: the base, and the lines that take the type of the line they replace.
    std::set<QByteArray> named = {"CComponent", "CVariableTL", "CVariableZ"};
    for (const ComponentType& type : ComponentTypes()) {
        ScriptedUiServices ui;
        const std::unique_ptr<CComponent> object = CTorvex2Doc::CreateComponent(type.id);
        EXPECT_TRUE(ui.messages.isEmpty()) << type.id;
        // The models without a part of their own make nothing.
        if (!type.className) {
            EXPECT_EQ(object, nullptr) << type.id;
            continue;
        }
        named.insert(type.className);
        ASSERT_NE(object, nullptr) << type.id;
        EXPECT_STREQ(object->RuntimeClass().name, type.className) << type.id;
        EXPECT_EQ(object->TypeId, type.id);
        if (type.counterLetter) EXPECT_EQ(object->Text, QString(QChar(type.counterLetter))) << type.id;
    }
    // An id that is no type makes a drawing object of it.
    EXPECT_EQ(CTorvex2Doc::CreateComponent(12345)->TypeId, 12345u);

    for (const ComponentClass& cls : ComponentClasses())
        EXPECT_TRUE(named.contains(cls.info->name)) << cls.info->name;
    RegisterComponentClasses(ClassRegistry::instance());
    for (const QByteArray& name : named)
        EXPECT_NE(ClassRegistry::instance().find(name), nullptr) << name.constData() << " is missing";
}

TEST_F(SchematicDocument, PageSizeCommands)
{
    CTorvex2Doc doc;
    FakeViews views;
    doc.SetViews(&views);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(!doc.IsPageSizeEnabled(ID_PageSizeA) && doc.IsPageSizeEnabled(ID_PageSizeB));
    doc.OnPageSize(ID_PageSizeB);
    EXPECT_EQ(doc.PageRect, (Rect{0, 0, 24480, -15840}));
    EXPECT_EQ(std::tuple(doc.IsModified(), views.updates, doc.UndoCount()), std::tuple(true, 1, 1));
    EXPECT_TRUE(doc.IsPageSizeEnabled(ID_PageSizeA) && !doc.IsPageSizeEnabled(ID_PageSizeB));
    doc.OnPageSize(ID_PageSizeC);
    EXPECT_EQ(doc.PageRect, (Rect{0, 0, 31680, -24480}));
    EXPECT_FALSE(doc.IsPageSizeEnabled(ID_PlotTraces));
}

TEST_F(SchematicDocument, SavingAConvertedSchematicAsksFirstAndAFailedSaveKeepsTheOldFile)
{
    const QString file = path("converted.cas");
    CTorvex2Doc doc;
    FakeViews views;
    doc.SetViews(&views);
    ASSERT_TRUE(doc.OnNewDocument());
    doc.SchematicFileVersion = 2;
    {
        ScriptedUiServices ui;
        ui.answers = {UiServices::Answer::Cancel};
        EXPECT_FALSE(doc.OnSaveDocument(file));
        EXPECT_EQ(ui.messages, QStringList{CTorvex2Doc::ConvertedFileNotice()});
        EXPECT_FALSE(QFile::exists(file));
        EXPECT_EQ(doc.SchematicFileVersion, 2);
        EXPECT_EQ(views.cancels, 0);
    }
    {
        ScriptedUiServices ui;
        ui.answers = {UiServices::Answer::Ok};
        doc.SetModifiedFlag(true);
        EXPECT_TRUE(doc.OnSaveDocument(file));
        EXPECT_EQ(doc.SchematicFileVersion, 5);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(views.cancels, 1);
        EXPECT_EQ(fileBytes(file).left(4), QByteArray("\x05\0\0\0", 4));
    }
    {
        ScriptedUiServices ui; // saving again asks nothing
        EXPECT_TRUE(doc.OnSaveDocument(file));
        EXPECT_TRUE(ui.messages.isEmpty());
    }

    class FailingDoc : public CTorvex2Doc {
    public:
        bool Save(QIODevice& out) override { return out.write("partial") < 0; }
    };
    const QByteArray saved = fileBytes(file);
    FailingDoc failing;
    ASSERT_TRUE(failing.OnNewDocument());
    failing.SchematicFileVersion = 1;
    ScriptedUiServices ui;
    ui.answers = {UiServices::Answer::Ok};
    EXPECT_FALSE(failing.OnSaveDocument(file));
    EXPECT_EQ(failing.SchematicFileVersion, 1); // so the question comes again next time
    EXPECT_EQ(ui.messages.size(), 2);           // the question, then the failure
    EXPECT_EQ(fileBytes(file), saved);
}

TEST_F(SchematicDocument, OpeningChecksTheListTakesASnapshotAndClosesAnUntouchedNetlist)
{
    using enum UiServices::Answer;
    // A part and its label; broken, the label comes first.
    for (const auto& [broken, answer, repairs, modified] :
         {std::tuple{false, No, 0, false}, {true, No, 0, false}, {true, Yes, 1, true}}) {
        const QString file = path(broken ? "broken.cas" : "whole.cas");
        {
            CTorvex2Doc doc;
            ASSERT_TRUE(doc.OnNewDocument());
            place(doc, "R");
            if (broken)
                doc.Components().splice(doc.Components().begin(), doc.Components(),
                                        std::prev(doc.Components().end()));
            ASSERT_TRUE(doc.OnSaveDocument(file));
        }
        FakeListWindow window;
        ScriptedUiServices ui;
        ui.answers = {answer};
        CTorvex2Doc doc;
        CSimulatorDoc netlist; // opening a file closes an untouched netlist
        FakeOpenDocuments docs;
        docs.entries = {{&netlist, OpenDocuments::Kind::Netlist}, {&doc, OpenDocuments::Kind::Schematic}};
        ASSERT_TRUE(doc.OnOpenDocument(file));
        EXPECT_EQ(docs.closed, std::vector<Document*>{&netlist});
        // A repaired document differs from its file.
        EXPECT_EQ(std::tuple(window.runs, doc.UndoCount(), doc.IsModified(), doc.Components().size()),
                  std::tuple(repairs, 1, modified, size_t(2 - repairs)));
        EXPECT_EQ(ui.messages, broken ? QStringList{CTorvex2Doc::RepairOffer()} : QStringList());
        EXPECT_EQ(doc.DesignatorCounters['R'], 1);
    }
}

TEST_F(SchematicDocument, CloseUntouchedDocumentsSparesBusyAndResultHoldingOnes)
{
    using Kind = OpenDocuments::Kind;
    CTorvex2Doc self, blank, named, modified, writing;
    CSimulatorDoc netlist, withResults, running;
    PlainDoc plot, other;
    named.SetPathName(path("named.cas"));
    modified.SetModifiedFlag(true);
    CTorvex2Doc::BusyScope busy(writing);
    withResults.SetElementFactory(CreateElement);
    withResults.Settings().timeSpan = "2ns";
    withResults.SetNetlistText("* r\r\nR1 N1 0 1K\r\n");
    {
        ScriptedUiServices ui;
        ASSERT_TRUE(withResults.RunSimulation());
    }
    FakeOpenDocuments docs;
    docs.entries = {{&self, Kind::Schematic},      {&blank, Kind::Schematic},   {&named, Kind::Schematic},
                    {&modified, Kind::Schematic},  {&writing, Kind::Schematic}, {&netlist, Kind::Netlist},
                    {&withResults, Kind::Netlist}, {&running, Kind::Netlist},   {&plot, Kind::Plot},
                    {&other, Kind::Other}};
    // The walk happens while `running` is in the middle of its run, as when a file is opened from a
    // message that the run lets through.
    running.SetElementFactory(CreateElement);
    running.Settings().timeSpan = "400ns";
    running.SetNetlistText("* r\r\nR1 N1 0 1K\r\n");
    ScriptedUiServices ui;
    bool walked = false;
    ui.onPump = [&] {
        if (walked) return;
        walked = true;
        self.CloseUntouchedDocuments();
    };
    running.RunSimulation();
    ASSERT_TRUE(walked);
    EXPECT_EQ(docs.closed, (std::vector<Document*>{&blank, &netlist, &other}));
}

TEST_F(SchematicDocument, RunsSendTheirSettingsBackThroughAWeakLink)
{
    auto doc = std::make_unique<CTorvex2Doc>();
    ASSERT_TRUE(doc->OnNewDocument());
    CSimulatorDoc netlist;
    netlist.SetLinkedSchematic(doc->RunSettingsLink());
    RunSettings& s = netlist.Settings();
    s = {"2ns", "1ns", "30ns", "Auto", "D:\\Root\\", "E1", "7", "Path", "D:\\Waves\\"};
    const auto fields = [&] {
        return QStringList{doc->TimeStep,  doc->StartTime,   doc->TimeSpan,   doc->InputMode,
                           doc->InputPath, doc->ArchiveRoot, doc->Experiment, doc->Shot};
    };
    // Outside archive mode only the time settings and the path come back.
    doc->RunSettingsLink().lock()->ReceiveRunSettings(s, false);
    EXPECT_EQ(fields(),
              QStringList({"2ns", "1ns", "30ns", "Path", "D:\\Waves\\", "C:\\Experiments\\", "", ""}));
    // A run in archive mode through the netlist document itself.
    s.sourceMode = "Orlisk";
    s.timeSpan = "4ns";
    netlist.SetElementFactory(CreateElement);
    netlist.SetNetlistText("* run\r\nR1 N1 0 1K\r\n");
    ScriptedUiServices ui;
    ASSERT_TRUE(netlist.RunSimulation());
    EXPECT_EQ(fields(), QStringList({"2ns", "1ns", "4ns", "Orlisk", "D:\\Waves\\", "D:\\Root\\", "E1", "7"}));
    // The same link reaches the saved trace-selection lines, and a line saved there marks the
    // schematic modified.
    doc->SetModifiedFlag(false);
    EXPECT_EQ(netlist.LinkedSchematic().lock()->TraceSelectionHistory(), &doc->TraceSelectionHistory);
    netlist.LinkedSchematic().lock()->SetModified();
    EXPECT_TRUE(doc->IsModified());
    // A closed schematic simply expires; the run goes on without it.
    doc.reset();
    EXPECT_FALSE(netlist.HasLinkedSchematic());
    EXPECT_TRUE(netlist.RunSimulation());
}
