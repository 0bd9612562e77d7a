// The columns of accepted steps that the results table holds back from its rows: every reader sees
// them while they are held, and the run leaves the table that writing each column at once leaves.
#include "SimHarness.h"
#include "TestElements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>

namespace {

// Reads its two unknowns as elements may (K lines: K1 A B [STOP]): at every iteration the columns of
// the last ten accepted steps, once its step is accepted that step's column too. After column STOP it
// asks the run to stop.
struct ColumnReader : TwoNodeElement {
    explicit ColumnReader(CSimulatorDoc* doc) : TwoNodeElement(doc) {}
    bool ParseRest(const QStringList& rest) override
    {
        stopAfter = rest.value(0).toInt();
        return true;
    }
    void BeginStep(int k) override { read(k - 1); }
    void EndStep(int k) override
    {
        read(k);
        if (k == stopAfter) m_pDoc->RequestStop();
    }
    void read(int last)
    {
        for (const int x : {Nodes[0], Nodes[1]})
            for (int c = std::max(0, last - 9); c <= last; ++c) {
                reads.push_back({x, c, m_pDoc->V(x, c)});
                held += m_pDoc->ColumnHeld(c);
            }
    }
    struct Read {
        int x, column;
        double value;
        bool operator==(const Read&) const = default;
    };
    std::vector<Read> reads;
    int held = 0; // reads of a held column
    int stopAfter = 0;
};

CSimulatorDoc::ElementFactory readerFactory()
{
    return [](ElementClass cls, CSimulatorDoc* doc) -> std::unique_ptr<CComponentSim> {
        if (cls == ElementClass::Transformer) return std::make_unique<ColumnReader>(doc);
        return CreateElement(cls, doc);
    };
}

// A diode that iterates every step; a variable capacitor, which reads its last voltage through the
// rows it keeps; a line, whose delay starts the run at column 3, in the middle of a cache line of
// columns; an ideal diode, which reads four columns back; and a reader on each side of the line.
QString circuit(int stopAfter)
{
    return QString("*\nV1 N1 0 PULSE 0 5 0 3N 3N 20N 60N\nR1 N1 N2 10\nD1 N2 N3 IS=1E-14 RS=0.5\nR2 N3 0 50\n"
                   "C1 N3 0 VARC POLYNOMIAL 1N 0.1N 0 0 IC=0\nT1 N3 0 N4 0 50 3N\nR3 N4 0 100\n"
                   "D2 N4 N5 IDIODE RON=1 ROFF=1MEG\nR4 N5 0 20\nC2 N5 0 100P\nL1 N5 N6 10N\nR5 N6 0 5\n"
                   "K1 N2 N3\nK2 N4 N5 %1\n")
        .arg(stopAfter);
}

struct HeldRun {
    SimHarness h;
    HeldRun(const QString& netlist, const QString& mode, bool hold)
    {
        h.doc.SetElementFactory(readerFactory());
        h.doc.SetHoldColumns(hold);
        EXPECT_TRUE(h.run(netlist, "1ns", "100ns", mode)) << qPrintable(h.problems().join('|'));
    }
    const ColumnReader& reader(const char* name) { return *findElement<ColumnReader>(h.doc, name); }
};

bool same(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

void expectSameTables(const CSimulatorDoc& got, const CSimulatorDoc& want, const QString& what)
{
    const int rows = want.NodeCount() + want.ExtraUnknownCount() + 1;
    ASSERT_EQ(got.NodeCount() + got.ExtraUnknownCount() + 1, rows) << qPrintable(what);
    ASSERT_EQ(got.Results().PointCount(), want.Results().PointCount()) << qPrintable(what);
    for (int x = 0; x < rows; ++x)
        for (int k = 0; k < want.ResultColumns(); ++k)
            ASSERT_TRUE(same(got.ResultRow(x)[k], want.ResultRow(x)[k]))
                << qPrintable(what) << " row " << x << " column " << k << ": " << got.ResultRow(x)[k]
                << " vs " << want.ResultRow(x)[k];
}

// Every read gave what the completed table holds.
void expectReadsOfTheTable(const CSimulatorDoc& doc, const ColumnReader& reader, const QString& what)
{
    for (const ColumnReader::Read& r : reader.reads)
        ASSERT_TRUE(same(r.value, doc.ResultRow(r.x)[r.column]))
            << qPrintable(what) << " " << qPrintable(reader.Name) << " row " << r.x << " column " << r.column
            << ": read " << r.value << ", table " << doc.ResultRow(r.x)[r.column];
}

} // namespace

TEST(HeldColumnsTest, EveryReaderSeesTheHeldColumnsAndTheTableIsTheOneWrittenAtOnce)
{
    // With the separate ladder the circuit is large enough for a reduced set: Auto then takes it, and
    // Maximal solves it beside the partitions. A stopped run ends in the middle of a line of columns.
    const struct {
        const char* what;
        bool ladder;
        int stopAfter;
    } cases[] = {{"small", false, 0}, {"large", true, 0}, {"stopped", true, 61}};
    const char* const traces[] = {"I(C1)",  "Q(C1)",  "C(C1)", "I(D1)", "I(D2)",
                                  "IL(T1)", "IR(T1)", "I(L1)", "I(C2)"};
    for (const auto& c : cases)
        for (const char* mode : kMatrixModes) {
            const QString netlist = circuit(c.stopAfter) + (c.ladder ? separateLadder(30) : QString());
            const QString what = QString("%1 %2").arg(c.what, mode);
            HeldRun held(netlist, mode, true), direct(netlist, mode, false);
            if (c.stopAfter)
                EXPECT_EQ(held.h.doc.Results().PointCount(), c.stopAfter - 3 + 1) << qPrintable(what);
            expectSameTables(held.h.doc, direct.h.doc, what);
            for (const char* trace : traces) {
                const std::vector<double> got = held.h.trace(trace), want = direct.h.trace(trace);
                ASSERT_FALSE(want.empty()) << trace;
                ASSERT_TRUE(std::equal(got.begin(), got.end(), want.begin(), want.end(), same))
                    << qPrintable(what) << " " << trace;
            }
            for (const char* name : {"K1", "K2"}) {
                EXPECT_EQ(held.reader(name).reads, direct.reader(name).reads)
                    << qPrintable(what) << " " << name;
                expectReadsOfTheTable(held.h.doc, held.reader(name), what);
                EXPECT_EQ(direct.reader(name).held, 0) << qPrintable(what);
            }
            // Only the reduced system alone stores as it solves: every other mode holds columns back.
            const bool minimal = QString(mode) == "Minimal" || (c.ladder && QString(mode) == "Auto");
            EXPECT_EQ(held.reader("K1").held > 0, !minimal) << qPrintable(what);
        }
}
