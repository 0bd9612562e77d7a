// The program's plot template: a plot opened as the trace-selection dialog opens one.
#include "ShellFixture.h"

#include "CPlotDataViewer.h"
#include "CPlotDoc.h"
#include "CPlotView.h"
#include "Ribbon.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QCoreApplication>

TEST_F(ShellTest, APlotOpensThroughThePlotTemplateFittedWithTheHomeTabWhoseButtonsReachIt)
{
    Start({}, TemplateMakers::Program());
    Ribbon* ribbon = Frame().GetRibbonBar();
    ribbon->SetActiveCategory(ribbon->FindCategory(QStringLiteral("Simulate")));
    DocTemplate* plots = Docs().FindTemplate<CPlotDoc>();
    ASSERT_NE(plots, nullptr);
    auto* doc = dynamic_cast<CPlotDoc*>(plots->OpenDocumentFile(QString()));
    ASSERT_NE(doc, nullptr);
    QCoreApplication::processEvents();
    auto* view = dynamic_cast<CPlotView*>(Frame().ActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument(), doc);
    const int shown = view->Zoom();
    view->ZoomToFit();
    EXPECT_EQ(view->Zoom(), shown); // fitted to the window as it is shown, not as it was made
    RibbonCategory* home = ribbon->FindCategory(QStringLiteral("Home"));
    EXPECT_EQ(ribbon->GetActiveCategory(), home);

    const auto click = [&](int id) {
        Frame().OnIdleUpdate();
        QAbstractButton* button = ribbon->FindButton(id);
        ASSERT_TRUE(button && home->isAncestorOf(button)) << id;
        ASSERT_TRUE(button->isEnabled()) << id;
        button->click();
    };
    click(ID_Zoom_Tool);
    EXPECT_EQ(view->ToolMode(), CPlotView::ZoomToolMode);
    click(ID_Parts_First);
    EXPECT_EQ(view->ToolMode(), CPlotView::SelectMode);
    click(ID_Zoom_ActualSize);
    EXPECT_EQ(view->Zoom(), 100);
    click(ID_ViewPlotData);
    EXPECT_TRUE(view->DataViewer().isVisible());
    EXPECT_EQ(view->DataViewer().Document(), view->GetDocument());
    // A window of its own that stays above the program's.
    EXPECT_TRUE(view->DataViewer().isWindow());
    EXPECT_EQ(view->DataViewer().parentWidget(), &Frame());
    view->DataViewer().hide();
}

TEST_F(ShellTest, ASavedPlotOpensAgainFromFileOpenAndFromTheCommandLine)
{
    Start({}, TemplateMakers::Program());
    auto* plot = dynamic_cast<CPlotDoc*>(Docs().FindTemplate<CPlotDoc>()->OpenDocumentFile(QString()));
    ASSERT_NE(plot, nullptr);
    plot->TraceCount = 1;
    plot->Traces.resize(1);
    CPlotTrace& trace = plot->Traces[0];
    trace.Name = QStringLiteral("V(N1)");
    trace.PointCount = 3;
    trace.Dt = 1e-9;
    trace.Values = {0.5, 2.0, -1.5};
    trace.ComputeStats();
    plot->AutoScale();
    const auto bytes = [](CPlotDoc& doc) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        doc.Save(buffer);
        return buffer.data().mid(4); // after the word that tells a loaded plot
    };
    const QByteArray shown = bytes(*plot);

    const QString path = dir.filePath(QStringLiteral("traces.plt"));
    QStringList prompts;
    Docs().promptFileName = [&](bool open, const QString& suggested, const QStringList& filters) {
        prompts << QStringLiteral("%1|%2|%3").arg(open ? "open" : "save", suggested, filters.join(u';'));
        return path;
    };
    ASSERT_TRUE(Frame().OnCommand(ID_FILE_SAVE));
    EXPECT_EQ(prompts.value(0), QStringLiteral("save|Untitled.plt|Torvex Plot (*.plt);All Files (*)"));
    Frame().OnCommand(ID_FILE_CLOSE);
    ASSERT_EQ(Docs().GetOpenDocuments().size(), 1); // the blank schematic

    Frame().OnCommand(ID_FILE_OPEN);
    auto* reopened = dynamic_cast<CPlotDoc*>(Frame().ActiveView()->GetDocument());
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(bytes(*reopened), shown);
    EXPECT_EQ(reopened->Title(), QStringLiteral("traces.plt"));

    Start({path}, TemplateMakers::Program());
    EXPECT_EQ(OpenKinds(), QList<int>{IDR_PLOT});
    ASSERT_NE(dynamic_cast<CPlotDoc*>(Frame().ActiveView()->GetDocument()), nullptr);
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.messages.join(u'\n'));
}
