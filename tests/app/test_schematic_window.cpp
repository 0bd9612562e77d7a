// The program's own schematic template: the blank schematic of start-up, its window, its file from
// the window, and the untouched documents that opening a schematic closes.
#include "ShellFixture.h"

#include "CPlotDoc.h"
#include "CSimulatorDoc.h"
#include "CSimulatorView.h"
#include "CTorvex2Doc.h"
#include "CTorvex2View.h"
#include "PropertyDialogs.h"
#include "QtPropertyDialogs.h"
#include "Ribbon.h"
#include "SchematicTestSupport.h"
#include "ShellDocuments.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

namespace {
// A file of a page of 17 x 11 inches with a grid of 288 twips.
QByteArray pageBFile()
{
    Bytes b;
    b.i32(5).i32(0).i32(0).i32(24480).i32(-15840).i32(288).u16(128).zeros(512).u16(0);
    return b.add(defaultTail()).data;
}

// A document that is always made at the same address, as when a freed document's memory goes to
// the next one.
class SameAddressDoc : public TextDoc {
public:
    static void* operator new(size_t size)
    {
        EXPECT_LE(size, sizeof(storage));
        return storage;
    }
    static void operator delete(void*) {}

private:
    alignas(std::max_align_t) static inline unsigned char storage[sizeof(TextDoc) + 64];
};
} // namespace

class SchematicWindow : public ShellTest {
protected:
    CTorvex2App& StartProgram(const QStringList& arguments = {})
    {
        return Start(arguments, TemplateMakers::Program());
    }
    CTorvex2View* ActiveSchematic() { return dynamic_cast<CTorvex2View*>(Frame().ActiveView()); }
    // Lets the event loop run the work that waits for it.
    static void Settle() { QCoreApplication::processEvents(); }
    bool Enabled(int id) { return Frame().Router().Update(id).IsEnabled(); }
};

TEST_F(SchematicWindow, TheProgramStartsWithABlankSchematicAndOffersBothDocumentTypes)
{
    StartProgram();
    ASSERT_EQ(OpenKinds(), QList<int>{IDR_TORVEX2TYPE});
    CTorvex2View* view = ActiveSchematic();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument()->Title(), QStringLiteral("Schematic1"));
    EXPECT_FALSE(view->GetDocument()->IsModified());
    EXPECT_EQ(Frame().TabBar()->tabText(0), QStringLiteral("Schematic1"));
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Schematic1 - Torvex2"));
    EXPECT_EQ(Frame().GetRibbonBar()->GetActiveCategory(),
              Frame().GetRibbonBar()->FindCategory(QStringLiteral("Schematic")));
    EXPECT_NE(dynamic_cast<QtPropertyDialogs*>(propertyDialogs()), nullptr);

    EXPECT_EQ(Docs().FileNewNames(), (QStringList{"Schematic", "Netlist"}));
    QStringList offered;
    Docs().promptFileName = [&](bool, const QString&, const QStringList& filters) {
        offered = filters;
        return QString();
    };
    Frame().OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(offered, (QStringList{"Torvex Schematic (*.cas)", "Torvex Netlist (*.cir)",
                                    "Torvex Plot (*.plt)", "All Files (*)"}));

    newType = 0;
    Frame().OnCommand(ID_FILE_NEW);
    newType = 1;
    Frame().OnCommand(ID_FILE_NEW);
    EXPECT_EQ(Titles(), (QStringList{"Schematic1", "Schematic2", "Netlist1"}));
    EXPECT_TRUE(ui.messages.isEmpty());

    app.reset();
    EXPECT_EQ(propertyDialogs(), nullptr);
}

TEST_F(SchematicWindow, ASchematicFileOpensFromTheCommandLine)
{
    const QString path = File(QStringLiteral("large.cas"), pageBFile());
    StartProgram({path});
    CTorvex2View* view = ActiveSchematic();
    ASSERT_NE(view, nullptr);
    CTorvex2Doc* doc = view->GetDocument();
    EXPECT_EQ(doc->PathName(), QFileInfo(path).absoluteFilePath());
    EXPECT_EQ(std::tuple(doc->PageRect, doc->GridSpacing), std::tuple(Rect{0, 0, 24480, -15840}, 288));
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("large.cas - Torvex2"));
    EXPECT_EQ(Titles(), QStringList{"large.cas"});
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(SchematicWindow, OpeningASchematicClosesOnlyUntouchedDocumentsAndOnlyOnceBackInTheEventLoop)
{
    const QString path = File(QStringLiteral("large.cas"), pageBFile());
    struct Case {
        const char* name;
        std::function<void()> prepare;            // after start-up, with Schematic1 open
        std::function<void(Document&)> meanwhile; // after the open, before the loop runs
        QStringList left;
    } cases[] = {
        {"untouched blank schematic", nullptr, nullptr, {"large.cas"}},
        {"modified schematic",
         [this] { Docs().GetOpenDocuments()[0]->SetModifiedFlag(); },
         nullptr,
         {"Schematic1", "large.cas"}},
        {"modified before the loop ran",
         nullptr,
         [](Document& d) { d.SetModifiedFlag(); },
         {"Schematic1", "large.cas"}},
        {"plot",
         [this] { Docs().FindTemplate<CPlotDoc>()->OpenDocumentFile(QString()); },
         nullptr,
         {"large.cas", "Untitled"}},
        {"untouched netlist",
         [this] {
             newType = 1;
             Frame().OnCommand(ID_FILE_NEW);
         },
         nullptr,
         {"large.cas"}},
        {"netlist run before the loop ran",
         [this] {
             newType = 1;
             Frame().OnCommand(ID_FILE_NEW);
         },
         [this](Document&) {
             auto* netlist = dynamic_cast<CSimulatorDoc*>(Docs().GetOpenDocuments().back());
             netlist->Settings().timeSpan = QStringLiteral("2ns");
             netlist->SetNetlistText(QStringLiteral("* r\r\nR1 N1 0 1K\r\n"));
             ASSERT_TRUE(netlist->RunSimulation());
             netlist->SetModifiedFlag(false);
         },
         {"large.cas", "Netlist1"}},
        {"saved as under a modal file prompt",
         nullptr,
         [this](Document& d) {
             // The prompt's own loop runs the noted close; the document must outlive it.
             Docs().promptFileName = [this](bool, const QString&, const QStringList&) {
                 QDialog prompt;
                 prompt.setModal(true);
                 prompt.show();
                 QTest::qWait(3 * ShellDocuments::kBusyPollMs);
                 return dir.filePath(QStringLiteral("saved.cas"));
             };
             EXPECT_TRUE(d.DoSave(QString()));
         },
         {"saved.cas", "large.cas"}},
    };
    for (const Case& c : cases) {
        StartProgram();
        if (c.prepare) c.prepare();
        Document* blank = Docs().GetOpenDocuments()[0];
        nextFile = path;
        Frame().OnCommand(ID_FILE_OPEN);
        ASSERT_NE(ActiveSchematic(), nullptr) << c.name;
        // Not during the open: the open may be running under a command of the closed document.
        EXPECT_TRUE(Docs().GetOpenDocuments().contains(blank)) << c.name;
        if (c.meanwhile) c.meanwhile(*blank);
        Settle();
        EXPECT_EQ(Titles(), c.left) << c.name;
    }
}

TEST_F(SchematicWindow, ARunningNetlistStaysAndTheBlankSchematicClosesAfterTheRun)
{
    const QString path = File(QStringLiteral("large.cas"), pageBFile());
    StartProgram();
    newType = 1;
    Frame().OnCommand(ID_FILE_NEW);
    auto* netlist = dynamic_cast<CSimulatorView*>(Frame().ActiveView());
    ASSERT_NE(netlist, nullptr);
    netlist->setPlainText(QStringLiteral("* divider\nV1 N1 0 DC 10\nR1 N1 0 1K\n"));
    netlist->GetDocument()->SetModifiedFlag(false);
    Frame().GetRibbonBar()->FindEdit(ID_Transient_TimeSpan)->setText(QStringLiteral("300ns"));

    int pumps = 0;
    ui.onPump = [&] {
        QCoreApplication::processEvents();
        if (!netlist->GetDocument()->IsRunning()) return;
        if (++pumps == 1) {
            nextFile = path;
            Frame().OnCommand(ID_FILE_OPEN);
        }
        EXPECT_EQ(Titles(), (QStringList{"Schematic1", "large.cas", "Netlist1"})) << pumps;
    };
    Frame().OnCommand(ID_Transient_Simulate);
    ui.onPump = nullptr;
    EXPECT_GE(pumps, 2);
    EXPECT_TRUE(netlist->GetDocument()->ResultsValid());
    QTRY_COMPARE(Titles(), (QStringList{"large.cas", "Netlist1"}));
}

TEST_F(SchematicWindow, TheWindowShowsTheFramedPageWithItsGridFittedToTheWindow)
{
    StartProgram();
    CTorvex2View* view = ActiveSchematic();
    ASSERT_NE(view, nullptr);
    CTorvex2Doc* doc = view->GetDocument();
    view->resize(640, 400);
    auto pixel = [&](QPoint page) {
        return view->viewport()->grab().toImage().pixelColor(view->PageToClient(page));
    };

    // Fitted: the whole page shows, and it fills the window's height.
    const QPoint corner = view->PageToClient(QPoint(15840, -12240));
    EXPECT_LE(corner.x(), view->viewport()->width());
    EXPECT_NEAR(corner.y(), view->viewport()->height(), 8);
    EXPECT_EQ(view->PageToClient(QPoint(0, 0)), QPoint(0, 0));

    // The frame, a dot at every grid step from its corner, white between them.
    EXPECT_EQ(pixel({1080, -3000}), QColor(Qt::black));
    const QPoint dot(1080 + 5 * 144, -1080 - 7 * 144);
    const QPoint between(1080 + 5 * 144 + 72, -1080 - 7 * 144 - 72);
    EXPECT_EQ(pixel(dot), QColor(Qt::black));
    EXPECT_EQ(pixel(between), QColor(Qt::white));
    Frame().OnCommand(ID_Grid_Hide);
    EXPECT_FALSE(doc->ShowGrid);
    EXPECT_EQ(pixel(dot), QColor(Qt::white));
    Frame().OnCommand(ID_Grid_Show);
    // Points closer than a pixel blacken every pixel they fall on.
    doc->GridSpacing = 10;
    EXPECT_EQ(pixel(between), QColor(Qt::black));
    doc->GridSpacing = 144;

    // The page commands and their states reach the document through its window; the window follows.
    EXPECT_TRUE(Enabled(ID_PageSizeB));
    Frame().OnCommand(ID_PageSizeB);
    EXPECT_EQ(doc->PageRect, (Rect{0, 0, 24480, -15840}));
    EXPECT_FALSE(Enabled(ID_PageSizeB));
    Frame().OnCommand(ID_Zoom_Fit);
    EXPECT_EQ(pixel({1080 + 100 * 144, -1080 - 60 * 144}), QColor(Qt::black));
}

TEST_F(SchematicWindow, ThePageButtonsOfTheSchematicTabChangeTheSavedPage)
{
    StartProgram();
    CTorvex2Doc* doc = ActiveSchematic()->GetDocument();
    Ribbon& bar = *Frame().GetRibbonBar();
    const struct {
        int id;
        const char* text;
        Rect page;
    } sizes[] = {{ID_PageSizeC, "Set Page Size C", {0, 0, 31680, -24480}},
                 {ID_PageSizeB, "Set Page Size B", {0, 0, 24480, -15840}},
                 {ID_PageSizeA, "Set Page Size A", {0, 0, 15840, -12240}}};
    for (const auto& size : sizes) {
        QAbstractButton* button = bar.FindButton(size.id);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(bar.FindCategory(QStringLiteral("Schematic"))->isAncestorOf(button));
        EXPECT_EQ(button->text(), QString::fromLatin1(size.text));
        Frame().OnIdleUpdate();
        ASSERT_TRUE(button->isEnabled()) << size.text;
        QTest::mouseClick(button, Qt::LeftButton);
        Frame().OnIdleUpdate();
        // The page has that size now, so its command is the one that is not offered.
        EXPECT_FALSE(button->isEnabled()) << size.text;
        EXPECT_TRUE(doc->IsModified());

        nextFile = dir.filePath(QStringLiteral("page.cas"));
        Frame().OnCommand(ID_FILE_SAVE_AS);
        CTorvex2Doc reopened;
        ASSERT_TRUE(reopened.OnOpenDocument(nextFile));
        EXPECT_EQ(reopened.PageRect, size.page) << size.text;
    }
}

TEST_F(SchematicWindow, TheCloseWaitsWhileAnOpenOrSaveIsOnTheStack)
{
    const QString path = File(QStringLiteral("large.cas"), pageBFile());
    StartProgram();
    nextFile = path;
    Frame().OnCommand(ID_FILE_OPEN);
    {
        // As while the opened file's repair question is up.
        CTorvex2Doc::BusyScope busy(*ActiveSchematic()->GetDocument());
        Settle();
        EXPECT_EQ(Titles(), (QStringList{"Schematic1", "large.cas"}));
    }
    QTRY_COMPARE(Titles(), QStringList{"large.cas"});
}

TEST(ShellDocuments, ANotedDocumentClosedMeanwhileSparesTheNextAtItsAddress)
{
    DocManager manager;
    manager.AddDocTemplate(std::make_unique<DocTemplate>(
        IDR_TORVEX2TYPE, QString::fromLatin1(strings::SchematicTemplate),
        [] { return std::unique_ptr<Document>(new SameAddressDoc); }, [] { return nullptr; }));
    DocTemplate* docs = manager.Templates()[0];
    ShellDocuments shell(manager);
    Document* noted = docs->OpenDocumentFile(QString());
    ASSERT_NE(noted, nullptr);
    shell.CloseDocument(noted);
    manager.CloseDocument(noted);
    Document* next = docs->OpenDocumentFile(QString());
    ASSERT_EQ(next, noted);
    QTest::qWait(20);
    EXPECT_EQ(manager.GetOpenDocuments(), QList<Document*>{next});
}

TEST_F(SchematicWindow, WindowsOfTheDocumentHandOverWhenOneCloses)
{
    StartProgram();
    CTorvex2View* first = ActiveSchematic();
    CTorvex2Doc* doc = first->GetDocument();
    auto another = [&] {
        auto* view = static_cast<CTorvex2View*>(doc->Template()->CreateView(*doc));
        view->OnInitialUpdate(); // the newest window is the one the document knows
        return view;
    };
    // What the frame of a closed window of a document with several does.
    auto close = [&](CTorvex2View* view) {
        doc->RemoveView(view);
        delete view;
    };
    CTorvex2View* second = another();
    CTorvex2View* third = another();
    close(second);
    doc->OnPageSize(ID_PageSizeB);
    close(third);
    doc->OnPageSize(ID_PageSizeC); // reaches the first window
    EXPECT_EQ(doc->Views(), QList<View*>{first});
    EXPECT_EQ(doc->PageRect, (Rect{0, 0, 31680, -24480}));
}
