// The program's plot template: a plot opened as the trace-selection dialog opens one.
#include "ShellFixture.h"

#include "CPlotDoc.h"
#include "CPlotView.h"
#include "ClassRegistry.h"

#include <QCoreApplication>

TEST_F(ShellTest, APlotOpensThroughTheTemplateNamedTorvexPlotAndFitsItsWindow)
{
    Start({}, TemplateMakers::Program());
    EXPECT_NE(ClassRegistry::instance().find("CPlotTrace"), nullptr);
    EXPECT_NE(ClassRegistry::instance().find("CPlotComponent"), nullptr);
    DocTemplate* plots = nullptr;
    for (DocTemplate* t : Docs().Templates())
        if (t->GetDocString(DocTemplate::windowTitle) == QStringLiteral("Torvex Plot")) plots = t;
    ASSERT_NE(plots, nullptr);

    auto* doc = dynamic_cast<CPlotDoc*>(plots->OpenDocumentFile(QString()));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->PageRect, (Rect{0, 0, 15840, -12240}));
    CPlotTrace trace;
    trace.Name = QStringLiteral("V(N1)");
    trace.Dt = 1e-9;
    trace.Values = {0, 1, 4, 9, 16};
    trace.PointCount = 5;
    doc->Traces = {trace};
    doc->TraceCount = 1;
    doc->Traces[0].ComputeStats();
    doc->AutoScale();
    QCoreApplication::processEvents();

    auto* view = dynamic_cast<CPlotView*>(Frame().ActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument(), doc);
    EXPECT_EQ(view->ToolMode(), CPlotView::SelectMode);
    const int shown = view->Zoom();
    view->ZoomToFit();
    EXPECT_EQ(view->Zoom(), shown); // fitted to the window as it is shown, not as it was made
    EXPECT_TRUE(ui.messages.isEmpty());
}
