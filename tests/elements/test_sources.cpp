// Voltage and current sources: the pulse, the branch unknowns, waveforms from the archive, partitions.
#include "COrliskWave.h"
#include "CVoltageSourceSim.h"
#include "Paths.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

TEST(Sources, PulseShapeAndItsDefaultsFromTheRunSettings)
{
    SimHarness h;
    ASSERT_TRUE(h.runClean("* t\nV1 N1 0 PULSE 0 1.0 20N 10N 20N 5N 70N\nR1 N1 0 1K\n"));
    for (const auto& [t, v] :
         {std::pair{10e-9, 0.0}, {25e-9, 0.5}, {32e-9, 1.0}, {45e-9, 0.5}, {60e-9, 0.0}, {95e-9, 0.5}}) {
        EXPECT_NEAR(h.at("V(N1)", t), v, 1e-9) << t;
        EXPECT_NEAR(h.at("V(V1)", t), v, 1e-9) << t;
    }
    SimHarness d;
    ASSERT_TRUE(d.runClean("* t\nV1 N1 0 PULSE 0 1\nI1 N1 0 PULSE 0 1 2N\nR1 N1 0 1\n", "2ns", "200ns"));
    const PulseShape& v = findElement<CVoltageSourceSim>(d.doc, "V1")->Waveform.Pulse;
    const PulseShape& i = findElement<CCurrentSourceSim>(d.doc, "I1")->Waveform.Pulse;
    for (const PulseShape* p : {&v, &i}) {
        EXPECT_EQ(p->TD, p == &v ? 0 : 2e-9);
        EXPECT_DOUBLE_EQ(p->TR, 2e-9);
        EXPECT_DOUBLE_EQ(p->TF, 2e-9);
        EXPECT_DOUBLE_EQ(p->PW, 50e-9);
        EXPECT_DOUBLE_EQ(p->PER, 100e-9);
    }
}

TEST(Sources, CurrentDirectionsAndBranchOrdinals)
{
    SimHarness h;
    ASSERT_TRUE(h.runClean("* t\nI1 N1 N2 DC 2\nR1 N1 0 1\nR2 N2 0 1\n", "1ns", "5ns"));
    for (double t : {0.0, 5e-9}) {
        EXPECT_NEAR(h.at("V(N1)", t), -2, 1e-12);
        EXPECT_NEAR(h.at("V(N2)", t), 2, 1e-12);
        EXPECT_NEAR(h.at("V(I1)", t), -4, 1e-12);
        EXPECT_NEAR(h.at("I(I1)", t), 2, 1e-12); // the current inside, first node to second
    }
    SimHarness b;
    ASSERT_TRUE(b.runClean("* t\nV1 N1 0 DC 1\nI1 N1 N2 DC 1\nV2 N2 0 PULSE 0 1\nR1 N1 0 1\nR2 N2 0 1\n",
                           "1ns", "4ns"));
    EXPECT_EQ(findElement<CVoltageSourceSim>(b.doc, "V1")->Branch[0], 1);
    EXPECT_EQ(findElement<CCurrentSourceSim>(b.doc, "I1")->BranchCount, 0);
    EXPECT_EQ(findElement<CVoltageSourceSim>(b.doc, "V2")->Branch[0], 2);
    EXPECT_EQ(b.doc.ExtraUnknownCount(), 2);
    // V1 feeds 1 A into R1 and 1 A into I1: 2 A flow inside it from - to +.
    EXPECT_NEAR(b.at("I(V1)", 0), -2, 1e-12);
}

TEST(Sources, PartitionedRunMatchesTheFullOne)
{
    // Three sub-circuits joined by lines; the sources' netlist order differs from the partitions', so
    // the branch rows of partitions 2 and 3 are not the first ones, and every source must stamp into
    // its own partition only.
    const QString netlist =
        "* three sub-circuits\nR5 N6 N7 10\nV3 N7 0 DC -1\nI3 N6 0 PULSE 0 0.02 3N 2N 2N 5N 20N\n"
        "T2 N4 0 N6 0 50 1N\nV1 N1 0 PULSE 0 1 2N 1N 1N 4N 15N\nR1 N1 N2 50\n"
        "T1 N2 0 N3 0 50 1N\nR2 N3 N4 25\nI1 N4 0 DC 0.01\nV2 N5 0 DC 2\nR3 N5 N3 100\n";
    const std::initializer_list<const char*> traces = {"V(N1)", "V(N2)", "V(N3)", "V(N4)", "V(N5)", "V(N6)",
                                                       "V(N7)", "I(V1)", "I(V2)", "I(V3)", "I(I1)", "I(I3)"};
    expectModesAgree(netlist, traces, "1ns", "40ns", {"Maximal"}, 1e-9, 0);
    SimHarness h;
    ASSERT_TRUE(h.run(netlist, "1ns", "40ns", "Maximal"));
    EXPECT_EQ(h.doc.PartitionCount(), 3);
    for (const char* t : traces) { // every trace carries a signal
        const auto v = h.trace(t);
        const auto [low, high] = std::minmax_element(v.begin(), v.end());
        EXPECT_GT(std::max(-*low, *high), 1e-3) << t;
    }
}

namespace {

// An archive folder whose names differ in case from what the netlist asks for, reached through C:.
struct OrliskTest : ::testing::Test {
    QTemporaryDir tmp;
    QString shot = tmp.filePath("c/Experiments/e1/Shots/shot7");

    void SetUp() override
    {
        const QString ini = tmp.filePath("drives.ini");
        QSettings(ini, QSettings::IniFormat).setValue("DriveMap/C", tmp.filePath("c"));
        paths::setDriveMapFile(ini);
        QDir().mkpath(shot);
    }
    void TearDown() override { paths::setDriveMapFile({}); }
    bool run(SimHarness& h, const QString& netlist)
    {
        h.doc.Settings().path = "C:\\EXPERIMENTS\\E1\\SHOTS\\SHOT7\\";
        return h.run("* t\n" + netlist, "5ns", "60ns");
    }
};

} // namespace

TEST_F(OrliskTest, SourcesFollowAWaveformFromTheArchive)
{
    COrliskWave w; // 1, 3, 2 at 10, 20, 30 ns
    w.Version = 3;
    w.SampleInterval = w.FirstSampleTime = 10e-9f;
    w.SetSamples({1, 3, 2});
    ASSERT_TRUE(w.Write(shot + "/trace.wvf"));
    SimHarness h;
    ASSERT_TRUE(run(h, "V1 N1 0 ORLISK TRACE\nR1 N1 0 1\nI1 N2 0 ORLISK TRACE\nR2 N2 0 1\n"));
    EXPECT_EQ(findElement<CVoltageSourceSim>(h.doc, "V1")->Waveform.WaveformPath,
              "C:\\EXPERIMENTS\\E1\\SHOTS\\SHOT7\\TRACE.wvf");
    for (const auto& [t, v] : {std::pair{0.0, 0.0},
                               {5e-9, 0.0},
                               {10e-9, 1.0},
                               {15e-9, 2.0},
                               {25e-9, 2.5},
                               {30e-9, 2.0},
                               {60e-9, 2.0}}) {
        EXPECT_NEAR(h.at("V(N1)", t), v, 1e-6) << t;
        EXPECT_NEAR(h.at("V(N2)", t), -v, 1e-6) << t;
        EXPECT_NEAR(h.at("I(I1)", t), v, 1e-6) << t;
    }
}

TEST_F(OrliskTest, MissingWaveformIsNamedOnceARefusedOneAgainAfterTheReader)
{
    // A file that cannot be opened or is damaged is named once, where it was looked for on this machine
    // (with the reason where there is one). An old version gets the reader's message, then the
    // statement's input error.
    const QString input = "Error:  Orlisk waveform input error, file=";
    const auto write = [&](const char* name, const char* hex) {
        QFile file(shot + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) &&
                    file.write(QByteArray::fromHex(hex)) == qint64(qstrlen(hex) / 2));
    };
    write("Old.WVF", "0200");
    write("cut.wvf", "030005"); // a version 3 file that ends inside its name
    const std::pair<const char*, QStringList> cases[] = {
        {"V1 N1 0 ORLISK NONE", {input + shot + "/NONE.wvf\nNo such file or directory."}},
        {"I1 N1 0 ORLISK OLD",
         {"Don't know how to handle old Orlisk waveform: " + shot + "/Old.WVF", input + shot + "/Old.WVF"}},
        {"R2 N1 0 VARR ORLISK OLD",
         {"Don't know how to handle old Orlisk waveform: " + shot + "/Old.WVF", input + shot + "/Old.WVF"}},
        {"V1 N1 0 ORLISK CUT", {input + shot + "/cut.wvf"}},
    };
    for (const auto& [statement, messages] : cases) {
        SimHarness h;
        EXPECT_FALSE(run(h, QString(statement) + "\nR1 N1 0 1\n")) << statement;
        EXPECT_EQ(h.problems(), messages + QStringList{"Error.  ProcessNetlist Failure."}) << statement;
    }
}
