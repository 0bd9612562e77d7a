#include "ChildRun.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "Document.h"
#include "FileBytes.h"
#include "RecentFileList.h"
#include "Settings.h"
#include "UiServices.h"
#include "View.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>

namespace {

// A document holding its file's bytes; it can be made to fail its reads or writes, or to be busy.
class BytesDoc : public Document {
public:
    bool Load(QIODevice& in) override
    {
        bytes = in.readAll();
        return !bytes.startsWith("bad");
    }
    bool Save(QIODevice& out) override { return !failSave && out.write(bytes) == bytes.size(); }
    bool IsBusy() const override { return busy; }
    void DeleteContents() override { bytes.clear(); }

    QByteArray bytes;
    bool failSave = false;
    bool busy = false;
};

struct CountingView : View {
    QWidget* Widget() override { return nullptr; }
    void OnUpdate(View*, int hint) override { updates << hint; }
    QList<int> updates;
};

std::unique_ptr<DocTemplate> makeTemplate(int id, const char* strings)
{
    return std::make_unique<DocTemplate>(
        id, QString::fromLatin1(strings), [] { return std::make_unique<BytesDoc>(); }, nullptr);
}

// The templates' resource ids.
enum : int { kSchematicId = 130, kNetlistId = 101, kPlotId = 102 };
const char* kSchematic =
    "\nSchematic\nSchematic\nTorvex Schematic (*.cas)\n.cas\nTorvex.Document\nTorvex.Document";
const char* kNetlist = "\nNetlist\nNetlist\nTorvex Netlist (*.cir)\n.cir\nTorvex.Document\nTorvex.Document";
const char* kPlot = "Torvex Plot\n\n\nTorvex Plot (*.plt)\n.plt";

class DocumentsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, Settings::Organisation, Settings::Application)
            .clear();
        manager.AddDocTemplate(makeTemplate(kSchematicId, kSchematic));
        manager.AddDocTemplate(makeTemplate(kNetlistId, kNetlist));
        manager.AddDocTemplate(makeTemplate(kPlotId, kPlot));
        manager.promptFileName = [this](bool open, const QString& suggested, const QStringList& filters) {
            prompts << QStringLiteral("%1|%2|%3").arg(open ? "open" : "save", suggested, filters.join(';'));
            return nextFile;
        };
    }
    QString file(const QString& name, const QByteArray& content = "data")
    {
        return writeFile(dir.filePath(name), content);
    }
    DocTemplate* templ(int i) const { return manager.Templates()[i]; }

    QTemporaryDir dir;
    ScriptedUiServices ui;
    DocManager manager;
    QStringList prompts;
    QString nextFile;
};

} // namespace

TEST_F(DocumentsTest, TemplateStringsAndTheListsTheyFeed)
{
    EXPECT_EQ(templ(0)->GetDocString(DocTemplate::windowTitle), QString());
    EXPECT_EQ(templ(1)->GetDocString(DocTemplate::regFileTypeName), QStringLiteral("Torvex.Document"));
    EXPECT_EQ(templ(2)->GetDocString(DocTemplate::windowTitle), QStringLiteral("Torvex Plot"));
    EXPECT_EQ(manager.FileNewNames(), (QStringList{"Schematic", "Netlist"}));
    EXPECT_EQ(manager.OpenFilters(),
              (QStringList{"Torvex Schematic (*.cas)", "Torvex Netlist (*.cir)", "Torvex Plot (*.plt)"}));

    manager.OnFileOpen(); // cancelled in the prompt
    EXPECT_EQ(prompts, (QStringList{"open||Torvex Schematic (*.cas);Torvex Netlist (*.cir);Torvex Plot "
                                    "(*.plt);All Files (*)"}));
}

TEST_F(DocumentsTest, OpenChoosesTheTemplateByExtensionAndActivatesAnOpenFile)
{
    struct Case {
        const char* name;
        int resource;
    } cases[] = {{"a.cas", kSchematicId}, {"b.cir", kNetlistId},   {"C.CIR", kNetlistId},  {"p.plt", kPlotId},
                 {"d.txt", kSchematicId}, {"w.wvf", kSchematicId}, {"noext", kSchematicId}};
    for (const Case& c : cases) {
        Document* doc = manager.OpenDocumentFile(file(QString::fromLatin1(c.name)));
        ASSERT_NE(doc, nullptr) << c.name;
        EXPECT_EQ(doc->Template()->ResourceId(), c.resource) << c.name;
        EXPECT_EQ(doc->Title(), QString::fromLatin1(c.name));
        EXPECT_FALSE(doc->IsModified());
    }
    EXPECT_EQ(manager.GetOpenDocuments().size(), 7);

    // The same file by another spelling of its path is the open document.
    Document* first = manager.GetOpenDocuments()[0];
    Document* again = manager.OpenDocumentFile(dir.path() + QStringLiteral("/./sub/../b.cir"));
    EXPECT_EQ(again->PathName(), QDir(dir.path()).filePath(QStringLiteral("b.cir")));
    EXPECT_EQ(manager.GetOpenDocuments().size(), 7);
    EXPECT_NE(again, first);
}

TEST_F(DocumentsTest, AFileThatCannotBeReadLeavesNoDocumentAndNoRecentEntry)
{
    Settings settings;
    manager.SetRecentFileList(std::make_unique<RecentFileList>(settings, 10));
    EXPECT_EQ(manager.OpenDocumentFile(dir.filePath(QStringLiteral("missing.cas"))), nullptr);
    EXPECT_EQ(manager.OpenDocumentFile(file(QStringLiteral("broken.cas"), "bad bytes")), nullptr);
    EXPECT_TRUE(manager.GetOpenDocuments().isEmpty());
    EXPECT_TRUE(manager.RecentFiles()->Files().isEmpty());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith(QStringLiteral("Cannot open the file ")))
        << ui.messages[0].toStdString();
}

TEST_F(DocumentsTest, FileNewOffersTheNamedTemplatesAndNumbersUntitledDocuments)
{
    QList<QStringList> offered;
    int choice = 1;
    manager.chooseNewType = [&](const QStringList& names) {
        offered << names;
        return choice;
    };
    manager.OnFileNew();
    manager.OnFileNew();
    choice = 0;
    manager.OnFileNew();
    choice = -1;
    manager.OnFileNew(); // cancelled
    ASSERT_EQ(offered.size(), 4);
    EXPECT_EQ(offered[0], (QStringList{"Schematic", "Netlist"}));
    QStringList titles;
    for (Document* d : manager.GetOpenDocuments())
        titles << d->Title();
    EXPECT_EQ(titles, (QStringList{"Schematic1", "Netlist1", "Netlist2"}));

    const std::unique_ptr<DocTemplate> plots = makeTemplate(kPlotId, kPlot);
    // A template that names no document calls each new one "Untitled", without a number.
    EXPECT_EQ(plots->OpenDocumentFile({})->Title(), QStringLiteral("Untitled"));
    EXPECT_EQ(plots->OpenDocumentFile({})->Title(), QStringLiteral("Untitled"));

    // With one template there is nothing to choose.
    DocManager single;
    single.AddDocTemplate(makeTemplate(kSchematicId, kSchematic));
    single.chooseNewType = manager.chooseNewType; // records what it offers
    single.OnFileNew();
    ASSERT_EQ(single.GetOpenDocuments().size(), 1);
    EXPECT_EQ(single.GetOpenDocuments()[0]->Title(), QStringLiteral("Schematic1"));
    EXPECT_EQ(offered.size(), 4);
}

TEST_F(DocumentsTest, QuittingIsRefusedWhileADocumentIsBusyThenModifiedOnesAreOffered)
{
    auto* busy = static_cast<BytesDoc*>(manager.OpenDocumentFile(file(QStringLiteral("run.cir"))));
    auto* edited = static_cast<BytesDoc*>(manager.OpenDocumentFile(file(QStringLiteral("x.cas"))));
    busy->busy = true;
    edited->SetModifiedFlag();
    EXPECT_FALSE(manager.SaveAllModified());
    EXPECT_EQ(ui.messages, (QStringList{busy->BusyMessage()}));
    EXPECT_FALSE(busy->CanCloseFrame());

    busy->busy = false;
    ui.messages.clear();
    ui.answers = {UiServices::Answer::Cancel};
    EXPECT_FALSE(manager.SaveAllModified());
    EXPECT_EQ(ui.messages,
              (QStringList{"Save changes to " + QDir::toNativeSeparators(edited->PathName()) + "?"}));
    ui.answers = {UiServices::Answer::No};
    EXPECT_TRUE(manager.SaveAllModified());
    ui.answers = {UiServices::Answer::Yes};
    edited->bytes = "new";
    EXPECT_TRUE(manager.SaveAllModified());
    EXPECT_FALSE(edited->IsModified());
    QFile saved(edited->PathName());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("new"));
}

TEST_F(DocumentsTest, SaveAsPromptsRenamesAndKeepsTheOldFileWhenTheSaveFails)
{
    Settings settings;
    manager.SetRecentFileList(std::make_unique<RecentFileList>(settings, 10));
    manager.chooseNewType = [](const QStringList&) { return 1; };
    manager.OnFileNew();
    auto* doc = static_cast<BytesDoc*>(manager.GetOpenDocuments()[0]);
    doc->bytes = "netlist";
    doc->SetModifiedFlag();

    EXPECT_FALSE(doc->DoFileSave()); // prompt cancelled
    EXPECT_EQ(prompts.last(), QStringLiteral("save|Netlist1.cir|Torvex Netlist (*.cir);All Files (*)"));
    nextFile = dir.filePath(QStringLiteral("saved.cir"));
    EXPECT_TRUE(doc->DoFileSave());
    EXPECT_EQ(doc->PathName(), nextFile);
    EXPECT_EQ(doc->Title(), QStringLiteral("saved.cir"));
    EXPECT_EQ(manager.RecentFiles()->Files(), QStringList{nextFile});

    doc->bytes = "changed";
    doc->failSave = true;
    EXPECT_FALSE(doc->DoFileSave());
    QFile kept(nextFile);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("netlist"));
}

TEST_F(DocumentsTest, ViewsFollowTheirDocument)
{
    Document* doc = manager.OpenDocumentFile(file(QStringLiteral("v.cas")));
    auto a = std::make_unique<CountingView>();
    auto b = std::make_unique<CountingView>();
    doc->AddView(a.get());
    doc->AddView(b.get());
    doc->AddView(a.get());
    EXPECT_EQ(doc->Views().size(), 2);
    doc->UpdateAllViews(a.get(), 7);
    EXPECT_TRUE(a->updates.isEmpty());
    EXPECT_EQ(b->updates, QList<int>{7});
    b.reset();
    EXPECT_EQ(doc->Views().size(), 1);
    manager.CloseDocument(doc);
    EXPECT_EQ(a->GetDocument(), nullptr);
    EXPECT_TRUE(manager.GetOpenDocuments().isEmpty());
}

TEST_F(DocumentsTest, RecentFilesAreKeptNewestFirstAcrossARestart)
{
    QStringList paths;
    for (int i = 0; i < 12; ++i)
        paths << file(QStringLiteral("f%1.cas").arg(i));
    {
        Settings settings;
        RecentFileList list(settings, 10);
        for (const QString& p : paths)
            list.Add(p);
        list.Add(paths[5]); // moves to the top
        EXPECT_EQ(list.Files().size(), 10);
        EXPECT_EQ(list.Files().front(), paths[5]);
        EXPECT_EQ(list.Files()[1], paths[11]);
        EXPECT_FALSE(list.Files().contains(paths[1]));
    }
    Settings settings;
    manager.SetRecentFileList(std::make_unique<RecentFileList>(settings, 10));
    const QStringList kept = manager.RecentFiles()->Files();
    ASSERT_EQ(kept.size(), 10);
    EXPECT_EQ(kept.front(), paths[5]);

    // A recent file that has gone leaves the list when chosen.
    QFile::remove(kept[1]);
    EXPECT_EQ(manager.OpenRecentFile(1), nullptr);
    EXPECT_EQ(manager.RecentFiles()->Files().size(), 9);
    EXPECT_FALSE(manager.RecentFiles()->Files().contains(kept[1]));
    EXPECT_NE(manager.OpenRecentFile(0), nullptr);
    EXPECT_EQ(manager.RecentFiles()->Files().front(), paths[5]);
    EXPECT_EQ(RecentFileList(settings, 10).Files(), manager.RecentFiles()->Files());
}

TEST_F(DocumentsTest, ASettingsFileTheDiskCannotTakeWholeStaysAsItWas)
{
    const QString ini = Settings::FileName();
    {
        Settings settings;
        settings.WriteProfileString(QStringLiteral("DriveMap"), QStringLiteral("D"),
                                    QStringLiteral("/mnt/data"));
        ASSERT_TRUE(settings.Flush());
    }
    const QByteArray old = fileBytes(ini);
    ASSERT_FALSE(old.isEmpty());
    // Room for the old file but not for the new one, then room for neither.
    for (const qint64 room : {old.size() + 100, qint64(0)}) {
        const ChildOutcome full = RunOnFullDisk(room, [] {
            Settings settings;
            for (int i = 1; i <= 10; ++i)
                settings.WriteProfileString(QStringLiteral("Recent File List"),
                                            QStringLiteral("File%1").arg(i), QString(400, u'x'));
            return !settings.Flush();
        });
        EXPECT_TRUE(full.finished && full.succeeded) << room;
        EXPECT_EQ(fileBytes(ini), old) << room;
        EXPECT_EQ(QDir(QFileInfo(ini).path()).entryList(QDir::Files), QStringList{QFileInfo(ini).fileName()});
    }
    // With room, the same write reads back.
    Settings settings;
    settings.WriteProfileString(QStringLiteral("Recent File List"), QStringLiteral("File1"),
                                QString(400, u'x'));
    EXPECT_TRUE(settings.Flush());
    EXPECT_EQ(settings.GetProfileString(QStringLiteral("DriveMap"), QStringLiteral("D")),
              QStringLiteral("/mnt/data"));
}
