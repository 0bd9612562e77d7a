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
