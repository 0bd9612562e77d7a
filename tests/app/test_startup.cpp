#include "ShellFixture.h"

#include "Looks.h"
#include "PrintDefaults.h"
#include "RecentFileList.h"
#include "Ribbon.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>

TEST_F(ShellTest, TemplatesJoinInTheirOrderAndAPlainStartGivesABlankSchematic)
{
    Start();
    QList<int> order;
    for (DocTemplate* t : Docs().Templates())
        order << t->ResourceId();
    EXPECT_EQ(order, (QList<int>{IDR_TORVEX2TYPE, IDR_NETLIST, IDR_PLOT}));
    EXPECT_EQ(OpenKinds(), QList<int>{IDR_TORVEX2TYPE});
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ShellTest, TemplatesThatHaveNotLandedAreSkipped)
{
    TemplateMakers makers = testMakers();
    makers.schematic = nullptr;
    makers.plot = [] { return std::unique_ptr<DocTemplate>(); };
    Start({}, makers);
    ASSERT_EQ(Docs().Templates().size(), 1);
    EXPECT_EQ(Docs().Templates()[0]->ResourceId(), IDR_NETLIST);
    EXPECT_TRUE(Docs().GetOpenDocuments().isEmpty());

    Start({}, TemplateMakers{});
    EXPECT_TRUE(Docs().Templates().isEmpty());
    EXPECT_TRUE(Frame().isVisible());
}

TEST_F(ShellTest, ACommandLineFileOpensWithTheTemplateOfItsExtension)
{
    struct Case {
        const char* name;
        QList<int> kinds;
    } cases[] = {
        {"circuit.cas", {IDR_TORVEX2TYPE}}, {"netlist.cir", {IDR_NETLIST}},
        {"NETLIST.CIR", {IDR_NETLIST}},     {"traces.plt", {IDR_PLOT}},
        {"notes.txt", {IDR_TORVEX2TYPE}},   {"V(N1).wvf", {IDR_TORVEX2TYPE}},
    };
    for (const Case& c : cases) {
        const QString path = File(QString::fromLatin1(c.name));
        Start({QStringLiteral("-style=fusion"), path});
        EXPECT_EQ(OpenKinds(), c.kinds) << c.name;
        ASSERT_EQ(Docs().GetOpenDocuments().size(), 1);
        EXPECT_EQ(Docs().GetOpenDocuments()[0]->PathName(), QFileInfo(path).absoluteFilePath());
        EXPECT_EQ(Docs().RecentFiles()->Files().front(), QFileInfo(path).absoluteFilePath());
        EXPECT_EQ(Docs().Templates().size(), 3);
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ShellTest, ACommandLineFileThatCannotBeOpenedLeavesTheProgramRunningWithABlankDocument)
{
    Start({dir.filePath(QStringLiteral("gone.cir"))});
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith(QStringLiteral("Cannot open the file ")))
        << ui.messages[0].toStdString();
    EXPECT_EQ(OpenKinds(), QList<int>{IDR_TORVEX2TYPE});
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_TRUE(Docs().RecentFiles()->Files().isEmpty());
}

TEST_F(ShellTest, RecentFilesSurviveARestartAndOpenFromTheApplicationMenu)
{
    const QString a = File(QStringLiteral("a.cas")), b = File(QStringLiteral("b.cir"));
    Start();
    ASSERT_NE(app->OpenDocumentFile(a), nullptr);
    ASSERT_NE(app->OpenDocumentFile(b), nullptr);

    Start();
    EXPECT_EQ(Docs().RecentFiles()->Files(), (QStringList{b, a}));
    Frame().OnIdleUpdate();
    QAction* first = Frame().GetRibbonBar()->FindAction(ID_FILE_MRU_FILE1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(), QStringLiteral("&1 b.cir"));
    EXPECT_TRUE(first->isEnabled());
    EXPECT_EQ(Frame().GetRibbonBar()->FindAction(ID_FILE_MRU_FILE1 + 2), nullptr);

    first->trigger();
    EXPECT_EQ(OpenKinds(), (QList<int>{IDR_TORVEX2TYPE, IDR_NETLIST}));
    // Choosing an open file again activates it instead of opening it twice.
    Frame().GetRibbonBar()->FindAction(ID_FILE_MRU_FILE1)->trigger();
    EXPECT_EQ(Docs().GetOpenDocuments().size(), 2);
}

TEST_F(ShellTest, TheLookDefaultsToVisualStudio2005AndAChosenStyleIsStored)
{
    Start();
    EXPECT_EQ(app->m_nAppLook, unsigned(ID_VIEW_APPLOOK_VS_2005));
    Frame().OnIdleUpdate();
    Ribbon* ribbon = Frame().GetRibbonBar();
    EXPECT_FALSE(ribbon->FindAction(ID_VIEW_APPLOOK_OFF_2007_BLUE)->isChecked());
    EXPECT_EQ(ribbon->FindAction(ID_VIEW_APPLOOK_VS_2005), nullptr); // offered by the stored value only

    ribbon->FindAction(ID_VIEW_APPLOOK_OFF_2007_BLACK)->trigger();
    EXPECT_EQ(app->m_nAppLook, unsigned(ID_VIEW_APPLOOK_OFF_2007_BLACK));
    EXPECT_TRUE(ribbon->FindAction(ID_VIEW_APPLOOK_OFF_2007_BLACK)->isChecked());
    EXPECT_FALSE(ribbon->FindAction(ID_VIEW_APPLOOK_OFF_2007_BLUE)->isChecked());
    EXPECT_EQ(app->GetInt(QStringLiteral("ApplicationLook"), 0), ID_VIEW_APPLOOK_OFF_2007_BLACK);
    EXPECT_LT(QApplication::palette().color(QPalette::Window).lightness(), 110);

    Start();
    EXPECT_EQ(app->m_nAppLook, unsigned(ID_VIEW_APPLOOK_OFF_2007_BLACK));
    Frame().OnIdleUpdate();
    EXPECT_TRUE(Frame().GetRibbonBar()->FindAction(ID_VIEW_APPLOOK_OFF_2007_BLACK)->isChecked());
}

TEST_F(ShellTest, EveryStoredLookGivesTheWindowAStyle)
{
    for (int id = ID_VIEW_APPLOOK_WIN_2000; id <= ID_VIEW_APPLOOK_OFF_2007_AQUA + 1; ++id) {
        QSettings(QSettings::IniFormat, QSettings::UserScope, Settings::Organisation, Settings::Application)
            .setValue(QStringLiteral("Workspace/ApplicationLook"), id);
        Start();
        EXPECT_EQ(app->m_nAppLook, unsigned(id));
    }
    // An unknown id keeps the last Office 2007 colours.
    EXPECT_EQ(QApplication::palette().color(QPalette::Window),
              looks::Palette(ID_VIEW_APPLOOK_OFF_2007_AQUA).color(QPalette::Window));
}

TEST_F(ShellTest, PrintingStartsInLandscapeWithRoomForTheWholeSheet)
{
    Start();
    const QPageLayout& layout = PrintDefaults::PageLayout();
    EXPECT_EQ(layout.orientation(), QPageLayout::Landscape);
    // The schematic's zone border, 680 twips inside the edge of its 11 by 8.5 inch page.
    const QRectF printable = layout.paintRect(QPageLayout::Inch);
    EXPECT_GE(printable.width(), (15840 - 680) / 1440.0);
    EXPECT_GE(printable.height(), (12240 - 680) / 1440.0);
}
