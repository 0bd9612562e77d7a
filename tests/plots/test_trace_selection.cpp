// The trace selection without its window: trace lists, the selection line and its history, the
// plot it fills and the two exports.
#include "COrliskWave.h"
#include "CPlotDoc.h"
#include "CSimulatorDoc.h"
#include "CommaLocale.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "FakeSchematic.h"
#include "TraceSelection.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <map>

namespace {

// A finished run of 3 steps of 1 ns from 2 ns, offering a few names per group.
struct FakeRun : TraceSource {
    void AddOutputNames(const QString& group, QStringList& list) const override
    {
        if (const auto it = offered.find(group); it != offered.end()) list += it->second;
    }
    QStringList NodeNames() const override { return nodes; }
    int PointCount() const override { return 4; }
    double TimeStep() const override { return 1e-9; }
    double StartTime() const override { return 2e-9; }
    bool GetTraceValues(const QString& name, int n, double* out) const override
    {
        asked << name;
        // A trace is found by what stands up to its ")", as the run does.
        const auto it = traces.find(name.left(name.indexOf(u')') + 1));
        if (it == traces.end() || n != 4) {
            ui().message(QStringLiteral("(run) ") + name);
            return false;
        }
        std::copy(it->second.begin(), it->second.end(), out);
        return true;
    }

    std::map<QString, QStringList> offered = {
        {"Part Voltages", {"V(R2)", "V(L1)", "VL(K1)", "V(C1)"}},
        {"Part Currents", {"I(R2)", "I(L1)"}},
        {"TLine Waves", {"V2L(T1)", "V1L(T1)", "V2R(T1)", "V1R(T1)"}},
    };
    QStringList nodes = {"N2", "OUT", "P1", "NIN", "n5", "N10"};
    std::map<QString, std::vector<double>> traces = {
        {"V(N2)", {0, 1.5, -2.25e-3, 1e12}},
        {"I(L1)", {-1, 0.5, 0, 7}},
        {"V(NIN)", {1, 1, 1, 1}},
    };
    mutable QStringList asked;
};

class TraceSelectionTest : public ::testing::Test {
protected:
    TraceSelection Selection() { return TraceSelection(run, folder.path() + u'/', schematic); }
    QStringList Files() const
    {
        QStringList all;
        QDirIterator it(folder.path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            all << QDir(folder.path()).relativeFilePath(it.next());
        all.sort();
        return all;
    }

    FakeRun run;
    std::shared_ptr<FakeSchematic> schematic = std::make_shared<FakeSchematic>();
    QTemporaryDir folder;
    ScriptedUiServices ui;
};

} // namespace

TEST_F(TraceSelectionTest, TypesAndTheSortedTraceListOfEachType)
{
    EXPECT_EQ(TraceSelection::TraceTypes(),
              QStringList({"Part Voltages", "Part Currents", "Part Impedances", "Source Voltages",
                           "Source Currents", "TLine Voltages", "TLine Currents", "TLine Waves",
                           "TLine Impedances", "Node Voltages", "Orlisk Traces", "Special"}));
    const TraceSelection s = Selection();
    const std::pair<int, QStringList> cases[] = {
        // The nodes whose names begin with N or P join the part voltages; "OUT" and "n5" do not.
        {0, {"V(C1)", "V(L1)", "V(N10)", "V(N2)", "V(NIN)", "V(P1)", "V(R2)", "VL(K1)"}},
        {1, {"I(L1)", "I(R2)"}},
        {7, {"V1L(T1)", "V1R(T1)", "V2L(T1)", "V2R(T1)"}},
        {9, {}},
        {11, {}},
        {12, {}},
    };
    for (const auto& [type, names] : cases)
        EXPECT_EQ(s.TraceNames(type), names) << type;
}

TEST_F(TraceSelectionTest, LinesSplitAtBlanksOnly)
{
    struct Case {
        const char* line;
        QStringList names;
    } cases[] = {
        {"V(N1) I(R1)", {"V(N1)", "I(R1)"}},
        {"  V(N1)   I(R1) ", {"V(N1)", "I(R1)"}},
        {"V(N1)\tI(R1)", {"V(N1)\tI(R1)"}},
        {"   ", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TraceSelection::SplitLine(c.line), c.names) << c.line;
        EXPECT_EQ(TraceSelection::NormalisedLine(c.line), c.names.join(u' ')) << c.line;
    }
    EXPECT_EQ(TraceSelection::AppendTrace(TraceSelection::AppendTrace("", "V(N1)"), "I(R1)"), "V(N1) I(R1)");
}

TEST_F(TraceSelectionTest, HistoryKeepsTenNormalisedLinesNewestFirst)
{
    TraceSelection s = Selection();
    schematic->history = {"V(N9)", "  A   B "}; // a line saved by an older program keeps its blanks
    s.RememberLine("  V(N1)   I(R1) ");
    s.RememberLine("V(N1) I(R1)");
    s.RememberLine("V(N9)");
    EXPECT_EQ(schematic->history, QStringList({"V(N1) I(R1)", "V(N9)", "  A   B "}));
    EXPECT_EQ(schematic->modified, 1);
    EXPECT_EQ(s.HistoryLines(), QStringList({"  A   B ", "V(N1) I(R1)", "V(N9)"}));
    s.RememberLine("   ");
    EXPECT_EQ(schematic->history.size(), 4);

    for (int i = 0; i < 12; ++i)
        s.RememberLine(QStringLiteral("L%1").arg(i));
    EXPECT_EQ(schematic->history,
              QStringList({"L11", "L10", "L9", "L8", "L7", "L6", "L5", "L4", "L3", "L2"}));

    // A closed schematic keeps nothing, and nothing is offered.
    const std::weak_ptr<FakeSchematic> link = schematic;
    schematic.reset();
    TraceSelection orphan(run, QString(), link);
    orphan.RememberLine("V(N2)");
    EXPECT_TRUE(orphan.HistoryLines().isEmpty());
}

TEST_F(TraceSelectionTest, PlotFillsANewPlotUpToTheFirstFailingName)
{
    DocManager docs;
    TraceSelection s = Selection();
    EXPECT_FALSE(s.Plot("V(N2)")); // no plot template
    docs.AddDocTemplate(std::make_unique<DocTemplate>(
        102, QStringLiteral("Torvex Plot"), [] { return std::make_unique<CPlotDoc>(); },
        [] { return static_cast<View*>(nullptr); }));
    EXPECT_FALSE(s.Plot("  "));
    EXPECT_TRUE(docs.GetOpenDocuments().isEmpty());
    EXPECT_TRUE(schematic->history.isEmpty());

    ASSERT_TRUE(s.Plot("V(N2) I(L1) V(X9) V(NIN)"));
    ASSERT_EQ(docs.GetOpenDocuments().size(), 1);
    auto* plot = dynamic_cast<CPlotDoc*>(docs.GetOpenDocuments()[0]);
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(run.asked, QStringList({"V(N2)", "I(L1)", "V(X9)"}));
    EXPECT_EQ(plot->TraceCount, 2);
    const CPlotTrace& v = plot->Traces[0];
    EXPECT_EQ(std::tuple(v.Name, v.ReservedB, v.PointCount, v.Dt, v.T0, v.Values),
              std::tuple(QString("V(N2)"), 1, 4, 1e-9, 2e-9, run.traces["V(N2)"]));
    EXPECT_EQ(std::tuple(v.YMax, v.YMin, v.Scale), std::tuple(1e12, -2.25e-3, 1e11));
    EXPECT_EQ(plot->Traces[1].Name, "I(L1)");
    // Scaled to the traces: their time range, and colours.
    EXPECT_DOUBLE_EQ(plot->Axes.XMin, 2e-9);
    EXPECT_DOUBLE_EQ(plot->Axes.XMax, 5e-9);
    EXPECT_EQ(plot->Axes.TimeUnit, 1e-9);
    EXPECT_EQ(plot->Traces[1].PenColor, CPlotDoc::kPalette[1]);
    EXPECT_EQ(schematic->history, QStringList{"V(N2) I(L1) V(X9) V(NIN)"});
    EXPECT_EQ(ui.messages, QStringList{"(run) V(X9)"});
}

TEST_F(TraceSelectionTest, TextTableBytesInAnyLocale)
{
    const CommaLocale comma;
    QByteArray table;
    ASSERT_TRUE(Selection().TextTable({"V(N2)", "I(L1)"}, table));
    EXPECT_EQ(table, QByteArray("Time     , V(N2), I(L1)\r\n"
                                " 2.0000e-09,  0.0000e+00, -1.0000e+00\r\n"
                                " 3.0000e-09,  1.5000e+00,  5.0000e-01\r\n"
                                " 4.0000e-09, -2.2500e-03,  0.0000e+00\r\n"
                                " 5.0000e-09,  1.0000e+12,  7.0000e+00\r\n"));
}

TEST_F(TraceSelectionTest, SaveToTextFileWritesOnlyWhatEvaluatedAndReportsFailures)
{
    TraceSelection s = Selection();
    const QString good = folder.filePath("t.txt");
    const QString missing = folder.filePath("no/such/folder/t.txt");
    struct Case {
        QStringList chosen; // the file prompt's answer, none: cancelled
        const char* line;
        QStringList messages;
        QStringList files;
    } cases[] = {
        {{}, "V(N2)", {}, {}},
        {{good}, "   ", {}, {}},
        {{good}, "V(N2) V(X9) I(L1)", {"(run) V(X9)", "Can't evaluate V(X9), aborting..."}, {}},
        {{missing}, "V(N2)", {"Can't create file: " + missing}, {}},
        {{good}, "V(NIN)", {"Save to Text File Complete."}, {"t.txt"}},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        ui.fileNames = c.chosen;
        s.SaveToTextFile(c.line);
        EXPECT_EQ(ui.messages, c.messages) << c.line;
        EXPECT_EQ(Files(), c.files) << c.line;
    }
    EXPECT_TRUE(schematic->history.isEmpty());
}

TEST_F(TraceSelectionTest, SaveToOrliskWritesOneWaveformPerName)
{
    TraceSelection s = Selection();
    s.SaveToOrlisk("V(N2)  I(L1)");
    EXPECT_EQ(ui.messages, QStringList{"Save to Orlisk complete"});
    EXPECT_EQ(Files(), QStringList({"I(L1).wvf", "V(N2).wvf"}));
    EXPECT_EQ(schematic->history, QStringList{"V(N2) I(L1)"});

    COrliskWave wave;
    ASSERT_TRUE(wave.Read(folder.filePath("V(N2).wvf")));
    EXPECT_EQ(
        std::tuple(wave.Version, wave.Name, wave.SampleCount, wave.SampleInterval, wave.FirstSampleTime),
        std::tuple(int16_t(3), QString("V(N2)"), 4, 1e-9f, 2e-9f));
    EXPECT_EQ(wave.Samples, (std::vector<float>{0, 0, 1.5f, -2.25e-3f, 1e12f}));
    EXPECT_EQ(std::tuple(wave.MaxValue, wave.MaxIndex, wave.MinValue, wave.MinIndex),
              std::tuple(1e12f, 4, -2.25e-3f, 3));
}

TEST_F(TraceSelectionTest, SaveToOrliskCompletesOnlyWhenEveryFileWasWritten)
{
    const QString native = folder.path() + u'/';
    const QString refused = QStringLiteral("Error:  Orlisk waveform write error, file=") + native;
    struct Case {
        const char* line;
        QStringList messages;
        QStringList files;
    } cases[] = {
        // Names that are no file name of the folder are refused one by one; the others are written.
        {"V(N2)/../../x V(NIN)", {refused + "V(N2)/../../x.wvf"}, {"V(NIN).wvf"}},
        {"V(N2)\\..\\x", {refused + "V(N2)\\..\\x.wvf"}, {}},
        {"V(N2)..x", {refused + "V(N2)..x.wvf"}, {}},
        {"V(N2)\t", {refused + "V(N2)\t.wvf"}, {}},
        {"V(N2):x V(N2)*x V(N2)? V(N2)\"x V(N2)<x V(N2)>x V(N2)|x",
         {refused + "V(N2):x.wvf", refused + "V(N2)*x.wvf", refused + "V(N2)?.wvf", refused + "V(N2)\"x.wvf",
          refused + "V(N2)<x.wvf", refused + "V(N2)>x.wvf", refused + "V(N2)|x.wvf"},
         {}},
        // A name that cannot be evaluated ends the export; the files before it stay.
        {"V(NIN) V(X9) I(L1)", {"(run) V(X9)", "Can't evaluate V(X9), aborting..."}, {"V(NIN).wvf"}},
        {"  ", {}, {}},
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        for (const QString& f : Files())
            QFile::remove(folder.filePath(f));
        Selection().SaveToOrlisk(c.line);
        EXPECT_EQ(ui.messages, c.messages) << c.line;
        EXPECT_EQ(Files(), c.files) << c.line;
    }
    // A folder that does not exist: every write fails and says so.
    ui.messages.clear();
    TraceSelection(run, native + QStringLiteral("gone/"), schematic).SaveToOrlisk("V(NIN)");
    EXPECT_EQ(ui.messages, QStringList{refused + "gone/V(NIN).wvf"});
}
