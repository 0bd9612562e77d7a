// The trace selection without its window: trace lists, the selection line and its history, the
// plot it fills and the two exports.
#include "CPlotDoc.h"
#include "ChildRun.h"
#include "CommaLocale.h"
#include "DocManager.h"
#include "DocTemplate.h"
#include "FakeSchematic.h"
#include "TraceSelection.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>

namespace {

// A run of 3 steps of 1 ns from 2 ns.
struct FakeRun : TraceSource {
    void AddOutputNames(const QString& group, QStringList& list) const override
    {
        if (group == "Part Voltages") list << QStringList{"V(R2)", "VL(K1)", "V(C1)"};
        if (group == "TLine Waves") list << QStringList{"V2L(T1)", "V1L(T1)", "V2R(T1)", "V1R(T1)"};
    }
    QStringList NodeNames() const override { return {"N2", "OUT", "P1", "NIN", "n5", "N10"}; }
    int PointCount() const override { return 4; }
    double TimeStep() const override { return 1e-9; }
    double StartTime() const override { return 2e-9; }
    bool GetTraceValues(const QString& name, int n, double* out) const override
    {
        asked << name;
        // Found by what stands up to the ")", as in a run.
        const auto it = traces.find(name.left(name.indexOf(u')') + 1));
        if (it == traces.end()) {
            ui().message("(run) " + name);
            return false;
        }
        std::copy(it->second.begin(), it->second.begin() + n, out);
        return true;
    }
    std::map<QString, std::vector<double>> traces = {{"V(N2)", {0, 1.5, -2.25e-3, 1e12}},
                                                     {"I(L1)", {-1, 0.5, 0, 7}}};
    mutable QStringList asked;
};

class TraceSelectionTest : public ::testing::Test {
protected:
    TraceSelection Selection() { return TraceSelection(run, dir.path() + u'/', schematic); }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files); }

    FakeRun run;
    std::shared_ptr<FakeSchematic> schematic = std::make_shared<FakeSchematic>();
    QTemporaryDir dir;
    ScriptedUiServices ui;
};

} // namespace

TEST_F(TraceSelectionTest, TraceListsBySortedTypeWithTheNodesAmongThePartVoltages)
{
    const TraceSelection s = Selection();
    // Nodes named N... or P... join; "OUT" and "n5" do not.
    EXPECT_EQ(s.TraceNames(0),
              QStringList({"V(C1)", "V(N10)", "V(N2)", "V(NIN)", "V(P1)", "V(R2)", "VL(K1)"}));
    EXPECT_EQ(s.TraceNames(7), QStringList({"V1L(T1)", "V1R(T1)", "V2L(T1)", "V2R(T1)"}));
    EXPECT_EQ(s.TraceNames(9), QStringList());
}

TEST_F(TraceSelectionTest, LinesSplitAtBlanksOnly)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"  V(N1)   I(R1) ", {"V(N1)", "I(R1)"}}, {"V(N1)\tI(R1)", {"V(N1)\tI(R1)"}}, {"   ", {}}};
    for (const auto& [line, names] : cases)
        EXPECT_EQ(std::tuple(TraceSelection::SplitLine(line), TraceSelection::NormalisedLine(line)),
                  std::tuple(names, names.join(u' ')))
            << line;
}

TEST_F(TraceSelectionTest, HistoryKeepsTenNormalisedLinesNewestFirst)
{
    TraceSelection s = Selection();
    schematic->history = {"V(N9)", "  A   B "}; // as an older program saved it
    for (const char* line : {"  V(N1)   I(R1) ", "V(N1) I(R1)", "V(N9)", " "})
        s.RememberLine(line);
    EXPECT_EQ(schematic->history, QStringList({"V(N1) I(R1)", "V(N9)", "  A   B "}));
    EXPECT_EQ(schematic->modified, 1);
    EXPECT_EQ(s.HistoryLines(), QStringList({"  A   B ", "V(N1) I(R1)", "V(N9)"}));

    for (int i = 0; i < 12; ++i)
        s.RememberLine(QStringLiteral("L%1").arg(i));
    EXPECT_EQ(schematic->history,
              QStringList({"L11", "L10", "L9", "L8", "L7", "L6", "L5", "L4", "L3", "L2"}));

    schematic.reset(); // a closed schematic: nothing offered, nothing kept
    s.RememberLine("V(N2)");
    EXPECT_TRUE(s.HistoryLines().isEmpty());
}

TEST_F(TraceSelectionTest, PlotFillsANewPlotUpToTheFirstFailingName)
{
    DocManager docs;
    TraceSelection s = Selection();
    EXPECT_FALSE(s.Plot("V(N2)")); // no plot template
    docs.AddDocTemplate(std::make_unique<DocTemplate>(
        102, "Torvex Plot", [] { return std::make_unique<CPlotDoc>(); }, [] { return nullptr; }));
    EXPECT_FALSE(s.Plot("  "));
    EXPECT_TRUE(docs.GetOpenDocuments().isEmpty() && schematic->history.isEmpty());

    ASSERT_TRUE(s.Plot("I(L1) V(N2) V(X9) V(N2)"));
    auto* plot = dynamic_cast<CPlotDoc*>(docs.GetOpenDocuments().value(0));
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(run.asked, QStringList({"I(L1)", "V(N2)", "V(X9)"}));
    EXPECT_EQ(plot->TraceCount, 2);
    const CPlotTrace& v = plot->Traces[1];
    EXPECT_EQ(std::tuple(v.Name, v.ReservedB, v.PointCount, v.Dt, v.T0, v.Values, v.Scale),
              std::tuple(QString("V(N2)"), 1, 4, 1e-9, 2e-9, run.traces["V(N2)"], 1e11));
    EXPECT_EQ(std::tuple(plot->Axes.TimeUnit, plot->Axes.YMin, plot->Traces[1].PenColor),
              std::tuple(1e-9, -2.0, CPlotDoc::kPalette[1]));
    EXPECT_EQ(schematic->history, QStringList{"I(L1) V(N2) V(X9) V(N2)"});
}

TEST_F(TraceSelectionTest, TextTableInTheCLocaleWhateverTheUsersLocale)
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

TEST_F(TraceSelectionTest, SaveToTextFileWritesAWholeTableOrSaysWhyNot)
{
    const QString missing = dir.filePath("no/t.txt");
    const struct {
        QStringList chosen;
        const char* line;
        QStringList messages;
    } cases[] = {
        {{}, "V(N2)", {}}, // the file prompt cancelled
        {{dir.filePath("t.txt")}, "  ", {}},
        {{dir.filePath("t.txt")}, "V(N2) V(X9)", {"(run) V(X9)", "Can't evaluate V(X9), aborting..."}},
        {{missing}, "V(N2)", {"Can't create file: " + missing + "\nNo such file or directory."}},
    };
    for (const auto& c : cases) {
        ui.messages.clear();
        ui.fileNames = c.chosen;
        Selection().SaveToTextFile(c.line);
        EXPECT_EQ(ui.messages, c.messages) << c.line;
        EXPECT_EQ(Files(), QStringList()) << c.line;
    }
    ui.fileNames = QStringList{dir.filePath("t.txt")};
    Selection().SaveToTextFile("V(N2)");
    EXPECT_EQ(ui.messages.last(), "Save to Text File Complete.");
    EXPECT_EQ(Files(), QStringList{"t.txt"});
}

TEST_F(TraceSelectionTest, SaveToOrliskCompletesOnlyWhenEveryFileWasWritten)
{
    const QString refused = "Error:  Orlisk waveform write error, file=" + dir.path() + u'/';
    // Names that are no file name in the folder are refused one by one.
    QString unsafe;
    QStringList refusals;
    for (const char* name : {"V(N2)/../x", "V(N2)\\..\\x", "V(N2)..x", "V(N2)\t", "V(N2):x", "V(N2)*x",
                             "V(N2)?x", "V(N2)\"x", "V(N2)<x", "V(N2)>x", "V(N2)|x"}) {
        unsafe += QString(name) + u' ';
        refusals << refused + name + ".wvf";
    }
    const std::tuple<QString, QStringList, QStringList> cases[] = {
        {"V(N2) I(L1)", {"Save to Orlisk complete"}, {"I(L1).wvf", "V(N2).wvf"}},
        {unsafe + "I(L1)", refusals, {"I(L1).wvf"}},
        // A name that cannot be evaluated ends the export; the files before it stay.
        {"I(L1) V(X9) V(N2)", {"(run) V(X9)", "Can't evaluate V(X9), aborting..."}, {"I(L1).wvf"}},
    };
    for (const auto& [line, messages, files] : cases) {
        ui.messages.clear();
        for (const QString& f : Files())
            QFile::remove(dir.filePath(f));
        Selection().SaveToOrlisk(line);
        EXPECT_EQ(ui.messages, messages) << line.toStdString();
        EXPECT_EQ(Files(), files) << line.toStdString();
    }
    ui.messages.clear();
    TraceSelection(run, dir.path() + "/gone/", schematic).SaveToOrlisk("V(N2)");
    EXPECT_EQ(ui.messages, QStringList{refused + "gone/V(N2).wvf\nNo such file or directory."});
}

// A full disk: both exports keep the files as they were, say why, and report no completion.
TEST_F(TraceSelectionTest, ExportsOnAFullDiskKeepTheOldFilesAndSayWhy)
{
    const auto put = [this](const QString& name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::WriteOnly) && f.write("old") == 3;
    };
    ASSERT_TRUE(put("t.txt") && put("V(N2).wvf"));
    const ChildOutcome table = RunOnFullDisk(60, [this] {
        ui.fileNames = QStringList{dir.filePath("t.txt")};
        Selection().SaveToTextFile("V(N2) I(L1)");
        return true;
    });
    const ChildOutcome waves = RunOnFullDisk(60, [this] {
        Selection().SaveToOrlisk("V(N2)");
        return true;
    });
    ASSERT_TRUE(table.finished && waves.finished);
    EXPECT_EQ(table.messages,
              QStringList{"Can't create file: " + dir.filePath("t.txt") + "\nFile too large."});
    EXPECT_EQ(waves.messages, QStringList{"Error:  Orlisk waveform write error, file=" +
                                          dir.filePath("V(N2).wvf") + "\nFile too large."});
    for (const QString& name : {"t.txt", "V(N2).wvf"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "old") << name.toStdString();
    }
}
