#include "ShellFixture.h"

#include "CommandIds.h"
#include "ComponentTypeId.h"
#include "QtUiServices.h"
#include "RecentFileList.h"
#include "Ribbon.h"
#include "WindowsDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QProgressBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace {
// Lets the event loop run until it waits for more events, as it does between user actions.
void idle()
{
    QEventLoop loop;
    QTimer::singleShot(30, &loop, &QEventLoop::quit);
    loop.exec();
}

TextDoc* activeDoc(CMainFrame& frame)
{
    View* view = frame.ActiveView();
    return view ? dynamic_cast<TextDoc*>(view->GetDocument()) : nullptr;
}
} // namespace

TEST_F(ShellTest, CommandsGoToTheActiveViewThenItsDocumentFrameMainFrameAndApplication)
{
    Start();
    CChildFrame* child = Frame().ActiveChildFrame();
    ASSERT_NE(child, nullptr);
    auto* view = dynamic_cast<TextView*>(child->GetView());
    TextDoc* doc = activeDoc(Frame());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Frame().Router().CurrentRoute(),
              (QList<CommandTarget*>{view, doc, child, &Frame(), app.get()}));

    EXPECT_TRUE(Frame().OnCommand(ID_TEST_VIEW_AND_DOC));
    EXPECT_TRUE(Frame().OnCommand(ID_TEST_DOC));
    EXPECT_FALSE(Frame().OnCommand(ID_Transient_OldSimulator)); // nobody
    EXPECT_EQ(view->log, QStringList{"view"});
    EXPECT_EQ(doc->log, QStringList{"doc"});

    EXPECT_TRUE(Frame().Router().Update(ID_TEST_DOC).IsEnabled());
    EXPECT_FALSE(Frame().Router().Update(ID_TEST_DISABLED).IsEnabled());
}

TEST_F(ShellTest, RibbonElementsWithoutAHandlerAreDisabledWhenTheLoopGoesIdle)
{
    Start();
    Ribbon* ribbon = Frame().GetRibbonBar();
    idle();
    // Nobody handles these yet: the ribbon shows them disabled.
    for (int id : {int(ID_Transient_OldSimulator), int(ID_PathBrowse), int(ID_Transient_Simulate),
                   int(TypePartSelectionTool), int(ID_Parts_R)})
        EXPECT_FALSE(ribbon->FindByID(id)->parentWidget()->isEnabled() && ribbon->FindByID(id)->isEnabled())
            << id;
    EXPECT_FALSE(ribbon->FindEdit(ID_Transient_TimeStep)->isEnabled());
    EXPECT_FALSE(ribbon->FindComboBox(IDC_MatrixModeCombo)->isEnabled());
    EXPECT_TRUE(ribbon->FindProgressBar(ID_Transient_Progress)->isEnabled());
    // Handled by the application, the main frame, the document and the child frame.
    for (int id : {int(ID_WINDOW_MANAGER), int(ID_FILE_PRINT_PREVIEW)})
        EXPECT_TRUE(ribbon->FindByID(id)->isEnabled()) << id;
    EXPECT_TRUE(ribbon->FindAction(ID_FILE_NEW)->isEnabled());
    EXPECT_TRUE(ribbon->FindAction(ID_FILE_SAVE)->isEnabled());

    // Without a document its commands go with it, at the next idle moment.
    Docs().CloseAllDocuments();
    idle();
    EXPECT_FALSE(ribbon->FindAction(ID_FILE_SAVE)->isEnabled());
    EXPECT_FALSE(ribbon->FindButton(ID_FILE_PRINT_PREVIEW)->isEnabled());
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Torvex2"));
}

TEST_F(ShellTest, RibbonControlsSendTheirCommands)
{
    Start();
    Ribbon* ribbon = Frame().GetRibbonBar();
    QList<int> sent;
    QObject::connect(ribbon, &Ribbon::commandTriggered, [&](int id) { sent << id; });
    ribbon->FindButton(ID_Parts_R)->setEnabled(true); // nobody handles it: the click goes nowhere
    ribbon->FindButton(ID_Parts_R)->click();
    ribbon->FindEdit(ID_Transient_TimeStep)->textEdited(QStringLiteral("2ns"));
    ribbon->FindComboBox(IDC_MatrixModeCombo)->activated(2);
    ribbon->FindAction(ID_FILE_OPEN)->trigger();
    EXPECT_EQ(sent, (QList<int>{ID_Parts_R, ID_Transient_TimeStep, IDC_MatrixModeCombo, ID_FILE_OPEN}));
    EXPECT_FALSE(ribbon->FindButton(ID_Parts_R)->isChecked()); // only update handlers check tools
}

TEST_F(ShellTest, TheSchematicTabHoldsTheToolOfEveryTypeThatHasOne)
{
    Start();
    Ribbon* ribbon = Frame().GetRibbonBar();
    for (int id = ID_Parts_First; id <= ID_Parts_Last; ++id) {
        const ComponentType* type = FindComponentType(id);
        const char* label = type ? type->ribbonLabel : nullptr;
        QAbstractButton* tool = ribbon->FindButton(id);
        ASSERT_EQ(tool != nullptr, label != nullptr) << id;
        if (tool) {
            EXPECT_EQ(tool->text(), QString::fromUtf8(label)) << id;
        }
    }
}

TEST_F(ShellTest, APumpInsideLongWorkBringsCommandStatesUpToDate)
{
    Start();
    Frame().OnIdleUpdate();
    QAbstractButton* stop = Frame().GetRibbonBar()->FindButton(ID_Transient_Abort);
    EXPECT_FALSE(stop->isEnabled());
    activeDoc(Frame())->busy = true; // a run has started and pumps every 100 steps
    QtUiServices services(QStringLiteral("Torvex2"));
    services.pump();
    EXPECT_TRUE(stop->isEnabled());
    stop->click();
    EXPECT_EQ(dynamic_cast<TextView*>(Frame().ActiveView())->log, QStringList{"stop"});
}

TEST_F(ShellTest, QuittingOrClosingAWindowIsRefusedWhileADocumentIsBusy)
{
    Start();
    TextDoc* doc = activeDoc(Frame());
    doc->busy = true;
    EXPECT_FALSE(Frame().close());
    EXPECT_EQ(ui.messages, QStringList{doc->BusyMessage()});
    EXPECT_FALSE(Frame().ActiveChildFrame()->close());
    Frame().OnCommand(ID_FILE_CLOSE);
    EXPECT_EQ(ui.messages.size(), 3);
    EXPECT_EQ(Docs().GetOpenDocuments(), QList<Document*>{doc});
    EXPECT_TRUE(Frame().isVisible());

    doc->busy = false;
    EXPECT_TRUE(Frame().close());
    EXPECT_TRUE(Docs().GetOpenDocuments().isEmpty());
}

TEST_F(ShellTest, ClosingAModifiedDocumentAsksFirst)
{
    Start();
    TextDoc* doc = activeDoc(Frame());
    doc->SetModifiedFlag();
    ui.answers = {UiServices::Answer::Cancel};
    EXPECT_FALSE(Frame().ActiveChildFrame()->close());
    EXPECT_EQ(ui.messages, QStringList{"Save changes to Schematic1?"});
    ui.answers = {UiServices::Answer::No};
    EXPECT_TRUE(Frame().ActiveChildFrame()->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Docs().GetOpenDocuments().isEmpty());
    EXPECT_TRUE(Frame().MdiArea()->subWindowList().isEmpty());
}

TEST_F(ShellTest, PrintPreviewAgainClosesThePreviewAndPrintPrintsFromIt)
{
    Start();
    CChildFrame* child = Frame().ActiveChildFrame();
    auto* view = dynamic_cast<TextView*>(child->GetView());
    Frame().OnCommand(ID_FILE_PRINT_PREVIEW);
    ASSERT_TRUE(child->InPrintPreview());
    auto* preview = child->findChild<QPrintPreviewDialog*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->size(), Frame().size());
    EXPECT_EQ(Frame().Router().CurrentRoute().first(), child); // the preview stands for the view
    EXPECT_EQ(Frame().Router().Update(ID_FILE_PRINT_PREVIEW).Check(), 1);

    Frame().OnCommand(ID_FILE_PRINT_PREVIEW);
    idle();
    EXPECT_FALSE(child->InPrintPreview());
    EXPECT_EQ(view->printed, 0);
    EXPECT_EQ(Frame().Router().Update(ID_FILE_PRINT_PREVIEW).Check(), 0);

    Frame().OnCommand(ID_FILE_PRINT_PREVIEW);
    ASSERT_TRUE(child->InPrintPreview());
    Frame().OnCommand(ID_FILE_PRINT_DIRECT);
    idle();
    EXPECT_FALSE(child->InPrintPreview());
    EXPECT_EQ(view->printed, 1);

    // Outside the preview the view prints by itself.
    Frame().OnCommand(ID_FILE_PRINT);
    EXPECT_EQ(view->printed, 2);
}

TEST_F(ShellTest, DocumentsShowAsTabsWithACloseButtonOnTheActiveTabOnly)
{
    Start();
    app->OpenDocumentFile(File(QStringLiteral("two.cir")));
    app->OpenDocumentFile(File(QStringLiteral("three.cas")));
    EXPECT_EQ(Frame().MdiArea()->viewMode(), QMdiArea::TabbedView);
    QTabBar* bar = Frame().TabBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->count(), 3);
    EXPECT_EQ(bar->tabText(2), QStringLiteral("three.cas"));
    auto closeButtons = [&] {
        QList<int> tabs;
        for (int i = 0; i < bar->count(); ++i)
            if (bar->tabButton(i, QTabBar::RightSide)) tabs << i;
        return tabs;
    };
    EXPECT_EQ(closeButtons(), QList<int>{2});
    bar->setCurrentIndex(0);
    EXPECT_EQ(closeButtons(), QList<int>{0});
    EXPECT_EQ(Frame().ActiveView()->GetDocument()->Title(), QStringLiteral("Schematic1"));

    auto* close = qobject_cast<QAbstractButton*>(bar->tabButton(0, QTabBar::RightSide));
    close->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(bar->count(), 2);
    EXPECT_EQ(closeButtons().size(), 1);
    EXPECT_EQ(OpenKinds(), (QList<int>{IDR_TORVEX2TYPE, IDR_NETLIST}));
}

TEST_F(ShellTest, TheWindowsDialogListsAndClosesTheOpenWindows)
{
    Start();
    app->OpenDocumentFile(File(QStringLiteral("w.cir")));
    WindowsDialog dialog(Frame().MdiArea(), &Frame());
    ASSERT_EQ(dialog.List()->count(), 2);
    EXPECT_EQ(dialog.List()->item(0)->text(), QStringLiteral("w.cir"));
    EXPECT_EQ(dialog.List()->item(1)->text(), QStringLiteral("Schematic1"));
    dialog.List()->clearSelection();
    dialog.List()->item(1)->setSelected(true);
    dialog.CloseSelected();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(OpenKinds(), QList<int>{IDR_NETLIST});
}

TEST_F(ShellTest, DroppedFilesOpen)
{
    Start();
    const auto drop = [](QObject* target, const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &dropped);
    };
    const QString a = File(QStringLiteral("dropped.cir")), b = File(QStringLiteral("dropped.cas"));
    drop(&Frame(),
         {QUrl::fromLocalFile(a), QUrl(QStringLiteral("https://example.org/x.cas")), QUrl::fromLocalFile(b)});
    EXPECT_EQ(OpenKinds(), (QList<int>{IDR_TORVEX2TYPE, IDR_TORVEX2TYPE, IDR_NETLIST}));
    EXPECT_EQ(Frame().ActiveView()->GetDocument()->PathName(), b);

    // Dropped on a document window, files open too instead of landing in its text.
    auto* view = dynamic_cast<TextView*>(Frame().ActiveView());
    drop(view->viewport(), {QUrl::fromLocalFile(File(QStringLiteral("third.cas")))});
    EXPECT_EQ(Docs().GetOpenDocuments().size(), 4);
    EXPECT_EQ(view->toPlainText(), QStringLiteral("text"));
}

TEST_F(ShellTest, HelpWithoutAnInstalledHelp)
{
    Start();
    for (int id : {ID_HELP_FINDER, ID_HELP, ID_CONTEXT_HELP, ID_DEFAULT_HELP})
        EXPECT_TRUE(Frame().OnCommand(id));
    EXPECT_EQ(ui.messages, QStringList(4, QStringLiteral("Help is not installed.")));
}

TEST_F(ShellTest, FileNewOffersTheDocumentTypesAndSaveAsRenamesTheTab)
{
    Start();
    newType = 1;
    EXPECT_TRUE(Frame().OnCommand(ID_FILE_NEW));
    ASSERT_EQ(OpenKinds(), (QList<int>{IDR_TORVEX2TYPE, IDR_NETLIST}));
    EXPECT_EQ(Frame().ActiveView()->GetDocument()->Title(), QStringLiteral("Netlist1"));
    newType = -1;
    EXPECT_TRUE(Frame().OnCommand(ID_FILE_NEW)); // cancelled
    EXPECT_EQ(Docs().GetOpenDocuments().size(), 2);

    nextFile = dir.filePath(QStringLiteral("saved.cir"));
    EXPECT_TRUE(Frame().OnCommand(ID_FILE_SAVE_AS));
    EXPECT_TRUE(QFile::exists(nextFile));
    EXPECT_EQ(Frame().TabBar()->tabText(1), QStringLiteral("saved.cir"));
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("saved.cir - Torvex2"));
    EXPECT_EQ(Docs().RecentFiles()->Files(), QStringList{nextFile});
}

TEST_F(ShellTest, TheFileKeysSaveOpenANewDocumentAndOpenAFile)
{
    Start();
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    const auto press = [&](QKeySequence::StandardKey key) {
        QTest::keySequence(Frame().ActiveView()->Widget(), QKeySequence(key));
    };
    nextFile = dir.filePath(QStringLiteral("saved.cas"));
    press(QKeySequence::Save);
    EXPECT_TRUE(QFile::exists(nextFile));
    newType = 1;
    press(QKeySequence::New);
    EXPECT_EQ(OpenKinds(), (QList<int>{IDR_TORVEX2TYPE, IDR_NETLIST}));
    nextFile = File(QStringLiteral("opened.cir"));
    press(QKeySequence::Open);
    EXPECT_EQ(OpenKinds(), (QList<int>{IDR_TORVEX2TYPE, IDR_NETLIST, IDR_NETLIST}));
    EXPECT_EQ(Frame().ActiveView()->GetDocument()->PathName(), nextFile);
}
