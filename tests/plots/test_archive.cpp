#include "PlotTestSupport.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A plot of one trace and one annotation as the framework stores it.
QByteArray handMade(quint16 schema = 2, const char* annotationClass = "CPlotComponent", char flag = 2,
                    qint32 pageRight = 15840)
{
    Bytes b;
    b.i32({0, 0, 0, pageRight, -12240}).text("").text("").text("").i32({1});
    b.f64({1e-9}).i32({5}).f64({0, 5e-8, 0}).i32({1}).f64({-1, 9, 0});
    b.u16({1}).i32({1, 1}).text("V(N1)").text("").i32({3}).f64({1, 0.5, 2, 0.8, 0.2, 0.1, 4.5});
    b.i32({0xC80000, 36, 0, 0xC80000, 0, 0}).u16({3}).f64({0.2, 0.5, 0.8});
    b.u16({1, 0xFFFF, schema, quint16(qstrlen(annotationClass))}).data.append(annotationClass);
    b.i32({100, -200, 100, -200, 300, -400, 3, 0}).text("").data.append(flag);
    return b.data;
}

TEST(PlotArchive, ReadsTheFrameworkLayout)
{
    ScriptedUiServices ui;
    CPlotDoc doc;
    ASSERT_TRUE(loadBytes(doc, handMade()));
    EXPECT_EQ(doc.ArchiveWord, 1);
    EXPECT_EQ(doc.Axes, (PlotAxes{1e-9, 5, 0, 5e-8, 0, 0, -1, 9, 1}));
    const CPlotTrace& t = doc.Traces.at(0);
    // The second of the two stored intervals counts.
    EXPECT_EQ(std::tuple(t.Name, t.Dt, t.T0, t.Values),
              std::tuple(QString("V(N1)"), 2.0, 0.5, std::vector{0.2, 0.5, 0.8}));
    const CPlotComponent& a = *doc.Annotations().front();
    // Only a stored 1 sets the flag.
    EXPECT_EQ(std::tuple(a.Bounds, a.Kind, a.Visible, a.Flag),
              std::tuple(Rect{100, -200, 300, -400}, CPlotComponent::kDottedFrame, 1, false));
    ASSERT_TRUE(loadBytes(doc, handMade(2, "CPlotComponent", 1)));
    EXPECT_TRUE(doc.Annotations().front()->Flag);
    EXPECT_TRUE(ui.messages.isEmpty());

    for (const QByteArray& bad :
         {handMade(3), handMade(2, "CPlotTrace"), handMade(2, "CPlotComponent", 0, 0)}) {
        EXPECT_FALSE(loadBytes(doc, bad));
        EXPECT_TRUE(ui.messages.last().startsWith("Unexpected file format.\n"));
    }
}

void fill(CPlotDoc& doc, std::vector<double> samples)
{
    doc.OnNewDocument();
    setTraces(doc, {makeTrace(0, 1e-9, std::move(samples)), makeTrace(1e-6, 2e-9, {1, -1})});
    doc.Traces[1].Name = QString::fromUtf8("I(R\u00b51)");
    doc.Texts[1] = "spare";
    doc.AutoScale();
    CPlotComponent* a = doc.AddComponent();
    a->Bounds = Rect{2000, -3000, 4000, -5000};
    a->Text = "note";
    a->Flag = true;
    a->Highlighted = 1;
}

TEST(PlotArchive, RoundTripWithLongSampleCount)
{
    std::vector<double> many(0xFFFF);
    for (size_t k = 0; k < many.size(); ++k)
        many[k] = std::sin(k * 1e-3);
    CPlotDoc doc;
    fill(doc, many);
    const QByteArray bytes = saveBytes(doc);
    EXPECT_TRUE(bytes.contains(QByteArray::fromHex("ffffffff0000"))); // 65535 itself past the escape
    CPlotDoc back;
    ASSERT_TRUE(loadBytes(back, bytes));
    EXPECT_EQ(back.Traces[0].Values, many);
    EXPECT_EQ(back.Annotations().front()->Highlighted, 0);
    EXPECT_EQ(saveBytes(back).mid(4), bytes.mid(4)); // all but the archive word

    // A count beyond the data is refused before anything is allocated for it.
    QByteArray huge = bytes;
    huge.replace(QByteArray::fromHex("ffffffff0000"), QByteArray::fromHex("ffffffffff7f"));
    ScriptedUiServices ui;
    EXPECT_FALSE(loadBytes(back, huge));
    EXPECT_EQ(back.Traces[0].Values, many);
}

TEST(PlotArchive, EveryTruncationIsRefusedAndChangesNothing)
{
    CPlotDoc source, doc;
    fill(source, {1, 2, 3});
    fill(doc, {4, 5});
    const QByteArray bytes = saveBytes(source);
    const QByteArray before = saveBytes(doc);
    ScriptedUiServices ui;
    for (qsizetype n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(loadBytes(doc, bytes.left(n))) << n;
    EXPECT_EQ(ui.messages.size(), bytes.size());
    EXPECT_EQ(saveBytes(doc), before);
}

TEST(PlotArchive, CountsBeyondTheArraysAreClamped)
{
    const qint32 kCases[][4] = {{5, 100, 1, 3}, {-2, -1, 0, 0}, {1, 2, 1, 2}}; // stored, then read
    for (const auto& c : kCases) {
        CPlotDoc doc, back;
        setTraces(doc, {makeTrace(0, 1, {1, 2, 3})});
        doc.TraceCount = c[0];
        doc.Traces[0].PointCount = c[1];
        ASSERT_TRUE(loadBytes(back, saveBytes(doc)));
        EXPECT_EQ(std::tuple(back.TraceCount, back.Traces[0].PointCount), std::tuple(c[2], c[3]));
    }
}

TEST(PlotUndo, SnapshotsRestoreAxesAndAnnotations)
{
    CPlotDoc doc;
    fill(doc, {1, 2, 3});
    doc.CheckPoint();
    const PlotAxes fitted = doc.Axes;
    doc.AddComponent();
    doc.ZoomToRect(Rect{1440, -1440, 7200, -5760});
    const PlotAxes zoomed = doc.Axes;
    doc.CheckPoint();
    doc.Undo();
    EXPECT_EQ(std::tuple(doc.Axes, doc.Annotations().size(), doc.Traces[0].Values),
              std::tuple(fitted, size_t(1), std::vector<double>{1, 2, 3}));
    doc.Redo();
    EXPECT_EQ(std::tuple(doc.Axes, doc.Annotations().size()), std::tuple(zoomed, size_t(2)));
}

} // namespace
