// The program's plot template: a plot opened as the trace-selection dialog opens one.
#include "ShellFixture.h"

#include "CPlotDoc.h"
#include "CPlotView.h"

#include <QCoreApplication>

TEST_F(ShellTest, APlotOpensThroughTheTemplateNamedTorvexPlotAndFitsItsWindow)
{
    Start({}, TemplateMakers::Program());
    DocTemplate* plots = nullptr;
    for (DocTemplate* t : Docs().Templates())
        if (t->GetDocString(DocTemplate::windowTitle) == QStringLiteral("Torvex Plot")) plots = t;
    ASSERT_NE(plots, nullptr);
    auto* doc = dynamic_cast<CPlotDoc*>(plots->OpenDocumentFile(QString()));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->PageRect, (Rect{0, 0, 15840, -12240}));
    QCoreApplication::processEvents();

    auto* view = dynamic_cast<CPlotView*>(Frame().ActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument(), doc);
    const int shown = view->Zoom();
    view->ZoomToFit();
    EXPECT_EQ(view->Zoom(), shown); // fitted to the window as it is shown, not as it was made
}
