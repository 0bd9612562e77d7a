#include "COrliskWave.h"
#include "CSimulatorDoc.h"
#include "CVoltageSourceSim.h"
#include "ElementClass.h"
#include "Paths.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

namespace {

template <class T> T* element(SimHarness& h, int i) {
    return dynamic_cast<T*>(h.doc.Elements().at(size_t(i)).get());
}

} // namespace

TEST(Sources, PulseOfTheSchematicsDefaultText) {
    SimHarness h;
    ASSERT_TRUE(h.run("* t\nV1 N1 0 PULSE 0 1.0 20N 10N 20N 5N 70N\nR1 N1 0 1K\n"))
        << qPrintable(h.problems().join('\n'));
    const struct {
        double t, v;
    } cases[] = {{10e-9, 0}, {25e-9, 0.5}, {32e-9, 1}, {45e-9, 0.5}, {60e-9, 0}, {95e-9, 0.5}};
    for (const auto& c : cases) {
        EXPECT_NEAR(h.at("V(N1)", c.t), c.v, 1e-9) << c.t;
        EXPECT_NEAR(h.at("V(V1)", c.t), c.v, 1e-9) << c.t;
    }
}

TEST(Sources, PulseDefaultsComeFromTheRunSettings) {
    SimHarness h;
    ASSERT_TRUE(h.run("* t\nV1 N1 0 PULSE 0 1\nI1 N1 0 PULSE 0 1 2N\nR1 N1 0 1\n", "2ns", "200ns"));
    for (int i : {0, 1}) {
        const CVoltageSourceSim* v = element<CVoltageSourceSim>(h, 0);
        const PulseShape& p = i == 0 ? v->Waveform.Pulse : element<CCurrentSourceSim>(h, 1)->Waveform.Pulse;
        EXPECT_EQ(p.TD, i == 0 ? 0 : 2e-9);
        EXPECT_DOUBLE_EQ(p.TR, 2e-9);
        EXPECT_DOUBLE_EQ(p.TF, 2e-9);
        EXPECT_DOUBLE_EQ(p.PW, 50e-9);
        EXPECT_DOUBLE_EQ(p.PER, 100e-9);
    }
}

TEST(Sources, RefusedStatements) {
    const QString notEnough = "Invalid Netlist:  Not enough arguments: ";
    const QString unknown = "Netlist Error:  Unknown or invalid voltage source type encountered.";
    const struct {
        QString line, message;
    } cases[] = {
        {"V1", notEnough + "V1"},
        {"V1 N1", notEnough + "V1"},
        {"I1 N1 0", notEnough + "I1"},
        {"V1 N1 0 DC", notEnough + "V1"},
        {"I1 N1 0 ORLISK", notEnough + "I1"},
        {"V1 N1 0 PULSE 0", unknown + "V1"},
        {"I2 N1 0 SIN 0 1 1MEG", unknown + "I2"},
    };
    for (const auto& c : cases) {
        SimHarness h;
        EXPECT_FALSE(h.run("* t\n" + c.line + "\nR1 N1 0 1\n"));
        ASSERT_FALSE(h.problems().isEmpty()) << qPrintable(c.line);
        EXPECT_EQ(h.problems().first(), c.message);
    }
}

TEST(Sources, CurrentSourceDrawsFromTheFirstNode) {
    SimHarness h;
    ASSERT_TRUE(h.run("* t\nI1 N1 N2 DC 2\nR1 N1 0 1\nR2 N2 0 1\n", "1ns", "5ns"));
    for (double t : {0.0, 5e-9}) {
        EXPECT_NEAR(h.at("V(N1)", t), -2, 1e-12);
        EXPECT_NEAR(h.at("V(N2)", t), 2, 1e-12);
        EXPECT_NEAR(h.at("V(I1)", t), -4, 1e-12);
        EXPECT_NEAR(h.at("I(I1)", t), 2, 1e-12); // the current inside, first node to second
    }
}

TEST(Sources, BranchOrdinalsInNetlistOrder) {
    SimHarness h;
    ASSERT_TRUE(
        h.run("* t\nV1 N1 0 DC 1\nI1 N1 N2 DC 1\nV2 N2 0 PULSE 0 1\nR1 N1 0 1\nR2 N2 0 1\n", "1ns", "4ns"));
    EXPECT_EQ(element<CVoltageSourceSim>(h, 0)->Branch[0], 1);
    EXPECT_EQ(element<CCurrentSourceSim>(h, 1)->BranchCount, 0);
    EXPECT_EQ(element<CVoltageSourceSim>(h, 2)->Branch[0], 2);
    EXPECT_EQ(h.doc.ExtraUnknownCount(), 2);
    // V1 feeds 1 A into R1 and 1 A into I1: 2 A leave its + terminal, so 2 A flow inside it from - to +.
    EXPECT_NEAR(h.at("I(V1)", 0), -2, 1e-12);
}

namespace {

// An archive folder whose names differ in case from what the netlist asks for, reached through C:.
struct OrliskTest : ::testing::Test {
    QTemporaryDir tmp;
    QString shot;

    void SetUp() override {
        const QString ini = tmp.filePath("drives.ini");
        QSettings(ini, QSettings::IniFormat).setValue("DriveMap/C", tmp.filePath("c"));
        paths::setDriveMapFile(ini);
        shot = tmp.filePath("c/Experiments/e1/Shots/shot7");
        QDir().mkpath(shot);
    }
    void TearDown() override { paths::setDriveMapFile({}); }

    void run(SimHarness& h, const QString& netlist, bool ok = true) {
        h.doc.Settings().path = "C:\\EXPERIMENTS\\E1\\SHOTS\\SHOT7\\";
        EXPECT_EQ(h.run("* t\n" + netlist, "5ns", "60ns"), ok) << qPrintable(h.problems().join('\n'));
    }
};

} // namespace

TEST_F(OrliskTest, SourcesFollowAWaveformFromTheArchive) {
    COrliskWave w; // 1, 3, 2 at 10, 20, 30 ns
    w.Version = 3;
    w.SampleInterval = 10e-9f;
    w.FirstSampleTime = 10e-9f;
    w.SetSamples({1, 3, 2});
    ASSERT_TRUE(w.Write(shot + "/trace.wvf"));

    SimHarness h;
    run(h, "V1 N1 0 ORLISK TRACE\nR1 N1 0 1\nI1 N2 0 ORLISK TRACE\nR2 N2 0 1\n");
    EXPECT_EQ(element<CVoltageSourceSim>(h, 0)->Waveform.WaveformPath,
              "C:\\EXPERIMENTS\\E1\\SHOTS\\SHOT7\\TRACE.wvf");
    const struct {
        double t, v;
    } cases[] = {{0, 0}, {5e-9, 0}, {10e-9, 1}, {15e-9, 2}, {25e-9, 2.5}, {30e-9, 2}, {60e-9, 2}};
    for (const auto& c : cases) {
        EXPECT_NEAR(h.at("V(N1)", c.t), c.v, 1e-6) << c.t;
        EXPECT_NEAR(h.at("V(N2)", c.t), -c.v, 1e-6) << c.t;
        EXPECT_NEAR(h.at("I(I1)", c.t), c.v, 1e-6) << c.t;
    }
}

TEST_F(OrliskTest, MissingOrDamagedWaveformFailsTheRun) {
    SimHarness missing;
    run(missing, "V1 N1 0 ORLISK NONE\nR1 N1 0 1\n", false);
    ASSERT_FALSE(missing.problems().isEmpty());
    EXPECT_EQ(missing.problems().first(),
              "Error:  Orlisk waveform input error, file=C:\\EXPERIMENTS\\E1\\SHOTS\\SHOT7\\NONE.wvf");

    QFile old(shot + "/Old.WVF");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray::fromHex("0200"));
    old.close();
    SimHarness damaged;
    run(damaged, "I1 N1 0 ORLISK OLD\nR1 N1 0 1\n", false);
    ASSERT_GE(damaged.problems().size(), 2);
    EXPECT_EQ(damaged.problems()[0], "Don't know how to handle old Orlisk waveform: " + shot + "/Old.WVF");
    EXPECT_EQ(damaged.problems()[1],
              "Error:  Orlisk waveform input error, file=C:\\EXPERIMENTS\\E1\\SHOTS\\SHOT7\\OLD.wvf");
}

namespace {

// A decoupled four-terminal element for partition tests: R across each port, and port 2 driven by
// port 1's voltage of the previous step through R (a one-step delay line without reflections).
class DelayCoupler : public CComponentSim {
public:
    explicit DelayCoupler(CSimulatorDoc* doc) : CComponentSim(doc) {
        TerminalCount = 4;
        Decoupled = true;
    }
    bool Parse(const QStringList& t) override {
        Name = t[0];
        for (int i = 0; i < 4; ++i)
            Nodes[i] = m_pDoc->GetNodeIndex(t[1 + i]);
        return true;
    }
    void BindMatrix(double** A, double* rhs) override {
        for (int p = 0; p < 2; ++p)
            m_Port[p].bind(A, rhs, Nodes[2 * p], Nodes[2 * p + 1]);
    }
    void BindMatrixPartition(double** A, double* rhs, const IndexMap& map, int partition) override {
        for (int p = 0; p < 2; ++p) {
            const int a = map(Nodes[2 * p]), b = map(Nodes[2 * p + 1]);
            if (a == 0 && b == 0) continue;
            m_Mapped[p].bind(A, rhs, a, b);
            m_PortPartition[p] = partition;
        }
    }
    void Stamp(bool rhsOnly, int k) override {
        for (int p = 0; p < 2; ++p)
            m_Port[p].stamp(rhsOnly, p == 1 ? drive(k) : 0);
    }
    void StampPartition(bool rhsOnly, int k, int partition) override {
        for (int p = 0; p < 2; ++p)
            if (m_PortPartition[p] == partition) m_Mapped[p].stamp(rhsOnly, p == 1 ? drive(k) : 0);
    }

private:
    static constexpr double G = 1.0 / 50;
    double drive(int k) const { return G * (m_pDoc->V(Nodes[0], k - 1) - m_pDoc->V(Nodes[1], k - 1)); }
    struct Port {
        ConductanceEntries g;
        CurrentEntries i;
        void bind(double** A, double* rhs, int a, int b) {
            g.bind(A, a, b);
            i.bind(rhs, a, b);
        }
        void stamp(bool rhsOnly, double current) const {
            if (!rhsOnly) g.add(G);
            i.inject(current);
        }
    };
    Port m_Port[2], m_Mapped[2];
    int m_PortPartition[2] = {0, 0};
};

} // namespace

TEST(Sources, PartitionedRunMatchesTheFullOne) {
    // Three sub-circuits joined only by couplers; the sources' netlist order differs from the
    // partitions' order, so the branch rows of partitions 2 and 3 are not the first ones.
    const QString netlist = "* three sub-circuits\n"
                            "R5 N6 N7 10\n"
                            "V3 N7 0 DC -1\n"
                            "I3 N6 0 PULSE 0 0.02 3N 2N 2N 5N 20N\n"
                            "T2 N4 0 N6 0\n"
                            "V1 N1 0 PULSE 0 1 2N 1N 1N 4N 15N\n"
                            "R1 N1 N2 50\n"
                            "T1 N2 0 N3 0\n"
                            "R2 N3 N4 25\n"
                            "I1 N4 0 DC 0.01\n"
                            "V2 N5 0 DC 2\n"
                            "R3 N5 N3 100\n";
    const QStringList traces = {"V(N1)", "V(N2)", "V(N3)", "V(N4)", "V(N5)", "V(N6)",
                                "V(N7)", "I(V1)", "I(V2)", "I(V3)", "I(I1)", "I(I3)"};
    std::map<QString, std::vector<double>> results[2];
    int partitions[2] = {0, 0};
    int i = 0;
    for (const char* mode : {"None", "Maximal"}) {
        SimHarness h;
        h.doc.SetElementFactory([](ElementClass cls, CSimulatorDoc* doc) -> std::unique_ptr<CComponentSim> {
            if (cls == ElementClass::TransmissionLine) return std::make_unique<DelayCoupler>(doc);
            return CreateElement(cls, doc);
        });
        ASSERT_TRUE(h.run(netlist, "1ns", "40ns", mode)) << qPrintable(h.problems().join('\n'));
        partitions[i] = h.doc.PartitionCount();
        for (const QString& t : traces)
            results[i][t] = h.trace(t);
        ++i;
    }
    EXPECT_EQ(partitions[1], 3);
    for (const QString& t : traces) {
        const auto &a = results[0][t], &b = results[1][t];
        ASSERT_EQ(a.size(), 41u) << qPrintable(t);
        ASSERT_EQ(b.size(), a.size()) << qPrintable(t);
        double largest = 0;
        for (size_t k = 0; k < a.size(); ++k) {
            EXPECT_NEAR(b[k], a[k], 1e-9) << qPrintable(t) << " column " << k;
            largest = std::max(largest, std::abs(a[k]));
        }
        EXPECT_GT(largest, 1e-3) << qPrintable(t); // every trace carries a signal
    }
}
