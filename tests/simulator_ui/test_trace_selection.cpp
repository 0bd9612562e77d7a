// From a run to its traces: Plot Traces and the dialog that follows a run, and the whole road from
// a netlist file through the dialog to a plot, waveform files and a text table.
#include "NetlistFixture.h"

#include "COrliskWave.h"
#include "CPlotDoc.h"
#include "CPlotSelect.h"
#include "FakeSchematic.h"
#include "ListClicks.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>

#include <cstdio>

namespace {

template <class List> QStringList Texts(const List* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->model()->index(i, 0).data().toString();
    return texts;
}

QString Format(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return QString::fromLatin1(buffer);
}

} // namespace

TEST_F(NetlistTest, PlotTracesFollowsEverySuccessfulRunWithTheTabsFolderAndTheSchematic)
{
    Start();
    CSimulatorDoc* doc = Doc(NewNetlist());
    EXPECT_FALSE(Enabled(ID_PlotTraces));
    Choose(IDC_FilePathCombo, QStringLiteral("Path"));
    Edit(ID_PathEdit)->setText(QStringLiteral("D:\\Waves"));
    Simulate();
    // Plot Traces reads the folder again, and reaches the schematic the netlist was made from.
    const auto schematic = std::make_shared<FakeSchematic>();
    doc->SetLinkedSchematic(schematic);
    Edit(ID_PathEdit)->setText(QStringLiteral("D:\\Other"));
    EXPECT_TRUE(Enabled(ID_PlotTraces));
    Frame().OnCommand(ID_PlotTraces);
    ASSERT_EQ(plotTraces.requests.size(), 2u);
    const auto& [first, second] = std::tie(plotTraces.requests[0], plotTraces.requests[1]);
    EXPECT_EQ(std::tuple(first.doc, first.archivePath, first.schematic.expired()),
              std::tuple(doc, QStringLiteral("D:\\Waves\\"), true));
    EXPECT_EQ(second.archivePath, QStringLiteral("D:\\Other\\"));
    EXPECT_EQ(second.schematic.lock().get(), schematic.get());
}

TEST_F(NetlistTest, TheWholeRoadFromANetlistFileToAPlotWaveformsAndATable)
{
    experiment(QStringLiteral("c/Experiments"), QStringLiteral("E1"), {QStringLiteral("1")});
    const QString table = tmp.filePath(QStringLiteral("rlc.txt"));
    Start();
    nextFile = QStringLiteral(TORVEX_EXAMPLES_DIR "/rlc.cir");
    Frame().OnCommand(ID_FILE_OPEN);
    CSimulatorDoc* doc = Doc(ActiveNetlist());
    ASSERT_NE(doc, nullptr);
    const auto schematic = std::make_shared<FakeSchematic>();
    schematic->history = {QStringLiteral("V(N1)"), QStringLiteral("I(L1) V(C1)")};
    doc->SetLinkedSchematic(schematic);

    plotTraces.onRun = [&](CSimulatorDoc& run, const QString& folder, std::weak_ptr<RunSettingsReceiver> link,
                           QWidget* owner) {
        const SimulatorTraceSource source(run.Results());
        CPlotSelect dialog(source, folder, std::move(link), owner);
        dialog.show();
        EXPECT_EQ(Texts(dialog.TraceList()), QStringList({"V(C1)", "V(C3)", "V(L1)", "V(N1)", "V(N2)",
                                                          "V(N5)", "V(NIN)", "V(R1)", "V(R3)"}));
        EXPECT_EQ(dialog.PathText()->text(), QStringLiteral("C:\\Experiments\\E1\\Shots\\Shot1\\"));
        EXPECT_EQ(std::tuple(Texts(dialog.SelectionCombo()), dialog.SelectionLine()),
                  std::tuple(QStringList({"I(L1) V(C1)", "V(N1)"}), QString()));
        DoubleClickItem(dialog.TraceList(), QStringLiteral("V(N2)"));
        dialog.TypeList()->setCurrentRow(1);
        DoubleClickItem(dialog.TraceList(), QStringLiteral("I(L1)"));
        EXPECT_EQ(dialog.SelectionLine(), QStringLiteral("V(N2) I(L1)"));
        QTest::mouseClick(dialog.SaveToOrliskButton(), Qt::LeftButton);
        ui.fileNames = QStringList{table};
        QTest::mouseClick(dialog.SaveToTextButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        QTest::mouseClick(dialog.PlotButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    };
    Simulate();
    ASSERT_EQ(plotTraces.requests.size(), 1u);
    ASSERT_EQ(ui.messages.size(), 3);
    EXPECT_EQ(ui.messages.mid(1), QStringList({"Save to Orlisk complete", "Save to Text File Complete."}));
    EXPECT_EQ(schematic->history, QStringList({"V(N2) I(L1)", "V(N1)", "I(L1) V(C1)"}));

    // The run's own values of the two traces.
    const ResultsTable& results = doc->Results();
    const int n = results.PointCount();
    ASSERT_EQ(n, 101);
    const double* v = results.Values(doc->FindNodeIndex(QStringLiteral("N2")));
    const std::vector<double> vN2(v, v + n);
    std::vector<double> iL1(static_cast<size_t>(n));
    ASSERT_TRUE(doc->GetTraceValues(QStringLiteral("I(L1)"), n, iL1.data()));
    const std::pair<QString, const std::vector<double>*> traces[] = {{"V(N2)", &vN2}, {"I(L1)", &iL1}};

    CPlotDoc* plot = nullptr;
    for (Document* d : Docs().GetOpenDocuments())
        if (auto* p = dynamic_cast<CPlotDoc*>(d)) plot = p;
    ASSERT_NE(plot, nullptr);
    ASSERT_EQ(plot->TraceCount, 2);
    EXPECT_EQ(std::tuple(plot->Axes.XMin, plot->Axes.TimeUnit, plot->Traces[1].PenColor),
              std::tuple(0.0, 1e-9, CPlotDoc::kPalette[1]));
    for (size_t i = 0; i < 2; ++i) {
        const auto& [name, values] = traces[i];
        EXPECT_EQ(std::tie(plot->Traces[i].Name, plot->Traces[i].Values), std::tie(name, *values));
        COrliskWave wave;
        ASSERT_TRUE(wave.Read(tmp.filePath(QStringLiteral("c/Experiments/E1/Shots/Shot1/") + name + ".wvf")));
        ASSERT_EQ(std::tuple(wave.Name, wave.SampleCount), std::tuple(name, n));
        for (int k = 0; k < n; ++k)
            EXPECT_EQ(wave.Samples[size_t(k + 1)], float((*values)[size_t(k)])) << k;
    }

    QString expected = QStringLiteral("Time     , V(N2), I(L1)\r\n");
    for (int k = 0; k < n; ++k)
        expected += Format("% #.4e", results.Time(k)) + Format(", % #.4e", vN2[size_t(k)]) +
                    Format(", % #.4e", iL1[size_t(k)]) + QStringLiteral("\r\n");
    QFile file(table);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), expected.toLatin1());
}
