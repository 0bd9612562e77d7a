// The schematic file: golden bytes, older versions, mended values and damaged files.
#include "Archive.h"
#include "CDrawing.h"
#include "ChildRun.h"
#include "SchematicTestSupport.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <climits>

namespace {

class SchematicFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterTestClasses(); }
};

// Resistor R1 at (1440, -1440) with its name label, value label and two pins, then R2 with the same
// attachments: the object list of the worked tag stream. Classes and objects share one numbering:
// CResistor is 1 and R1 2, CDrawing 3 and its first object 4, R2 8.
QByteArray twoResistorObjects()
{
    Bytes b;
    b.u16(10);
    for (int part = 0; part < 2; ++part) {
        const int x = 1440 + 1440 * part;
        const QString name = QStringLiteral("R%1").arg(part + 1);
        (part ? b.u16(0x8001) : b.tag(3, "CResistor"))
            .record(x, -1440, {x, -1296, x + 576, -1584}, TypeResistor, 1, name, 1);
        (part ? b.u16(0x8003) : b.tag(3, "CDrawing"))
            .record(x + 150, -1140, {0, 0, 0, 0}, TypeLabel, 1, name, 1);
        b.u16(0x8003).record(x + 150, -1590, {0, 0, 0, 0}, TypeLabel, 1, "1k", 1);
        b.u16(0x8003).record(x, -1440, {0, 0, 0, 0}, TypeTerminal, 1, "1", 0);
        b.u16(0x8003).record(x + 576, -1440, {0, 0, 0, 0}, TypeTerminal, 1, "2", 0);
    }
    return b.data;
}

const QByteArray kTwoResistors = fileHead(5).add(twoResistorObjects()).add(defaultTail()).data;

} // namespace

TEST_F(SchematicFile, NewDocumentIsThe646GoldenBytes)
{
    CTorvex2Doc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    Bytes golden;
    golden.i32(5).i32(0).i32(0).i32(15840).i32(-12240).i32(144).u16(128).zeros(512).u16(0).u8s({1, 1});
    golden.str("1ns").str("0ns").str("100ns").str("C:\\Experiments\\").str("").str("").str("").str("Orlisk");
    golden.zeros(8);
    ASSERT_EQ(golden.data.size(), 646);
    EXPECT_EQ(saveBytes(doc).toHex(' '), golden.data.toHex(' '));
}

TEST_F(SchematicFile, WorkedTagStreamByteForByte)
{
    CTorvex2Doc doc;
    ASSERT_TRUE(loadBytes(doc, kTwoResistors));
    const ComponentList& list = doc.Components();
    ASSERT_EQ(list.size(), 10u);
    int i = 0;
    for (const auto& object : list) {
        EXPECT_STREQ(object->RuntimeClass().name, i % 5 ? "CDrawing" : "CResistor") << i;
        // The labels and pins are the program's own drawing objects.
        if (i++ % 5) {
            EXPECT_NE(dynamic_cast<CDrawing*>(object.get()), nullptr) << i;
        }
        EXPECT_EQ(object->State, 1);
    }
    const CComponent& r2 = **std::next(list.begin(), 5);
    EXPECT_EQ(std::tuple(r2.Text, r2.Position, r2.Extent),
              std::tuple(QString("R2"), QPoint(2880, -1440), Rect{2880, -1296, 3456, -1584}));
    EXPECT_EQ((*std::next(list.begin(), 3))->Visible, 0);
    EXPECT_EQ(saveBytes(doc).toHex(' '), kTwoResistors.toHex(' ')); // written back, the same stream
    EXPECT_TRUE(loadBytes(doc, kTwoResistors + "junk"));            // trailing bytes are left unread
}

TEST_F(SchematicFile, OlderVersionsKeepWhatTheyLack)
{
    // Version 3 stops after the six run settings; version 4 adds the input path and mode.
    CTorvex2Doc doc;
    doc.TraceSelectionHistory = QStringList{"V(N1)"};
    doc.SpareStringLists[1] = QStringList{"x"};
    doc.InputMode.clear();
    ASSERT_TRUE(loadBytes(doc, fileHead(3).u16(0).add(defaultTail(3)).data));
    EXPECT_EQ(
        std::tuple(doc.SchematicFileVersion, doc.InputMode, doc.InputPath, doc.DesignatorCounters.size()),
        std::tuple(3, QString("Orlisk"), QString(), size_t(128)));
    EXPECT_TRUE(doc.TraceSelectionHistory.isEmpty() && doc.SpareStringLists[1].isEmpty());
    // Whatever was read, the full layout is written, and stamped as such.
    const QByteArray current = fileHead(5).u16(0).add(defaultTail()).data;
    EXPECT_EQ(saveBytes(doc).toHex(' '), current.toHex(' '));
    QByteArray serialized;
    {
        Archive out(&serialized);
        doc.Serialize(out);
    }
    EXPECT_EQ(serialized, current);
    EXPECT_EQ(doc.SchematicFileVersion, 3); // still a file of the older program until saved

    Bytes v4 = fileHead(4).u16(0).u8s({0, 1});
    for (const char* s : {"2ns", "1ns", "50ns", "D:\\Shots\\", "E7", "12", "D:\\Waves\\", "Path"})
        v4.str(QString::fromLatin1(s));
    ASSERT_TRUE(loadBytes(doc, v4.data));
    EXPECT_EQ(std::tuple(doc.SchematicFileVersion, doc.ShowGrid, doc.SnapToGrid), std::tuple(4, false, true));
    EXPECT_EQ(QStringList({doc.TimeStep, doc.ArchiveRoot, doc.Shot, doc.InputPath, doc.InputMode}),
              QStringList({"2ns", "D:\\Shots\\", "12", "D:\\Waves\\", "Path"}));
    EXPECT_TRUE(doc.TraceSelectionHistory.isEmpty());
    CTorvex2Doc reread;
    ASSERT_TRUE(loadBytes(reread, saveBytes(doc)));
    EXPECT_EQ(QStringList({reread.TimeStep, reread.Shot, reread.InputPath, reread.InputMode}),
              QStringList({"2ns", "12", "D:\\Waves\\", "Path"}));
    EXPECT_EQ(std::tuple(reread.SchematicFileVersion, reread.ShowGrid), std::tuple(5, false));
}

TEST_F(SchematicFile, ValuesThatWouldHangTheViewsAreMended)
{
    // (grid, counters) as stored, then as loaded; a grid of 0 or less is 144, the counters at least 128.
    const std::tuple<int, int, int, size_t> cases[] = {{0, 128, 144, 128},
                                                       {-144, 128, 144, 128},
                                                       {72, 10, 72, 128},
                                                       {144, 0, 144, 128},
                                                       {144, 200, 144, 200}};
    for (const auto& [grid, counters, expectedGrid, expectedCounters] : cases) {
        Bytes file = fileHead(5, counters, grid);
        if (counters >= 66) file.data[24 + 2 + 4 * 65] = 7; // counter of 'A'
        file.u16(0).add(defaultTail());
        CTorvex2Doc doc;
        ScriptedUiServices ui;
        ASSERT_TRUE(loadBytes(doc, file.data)) << grid << " " << counters;
        EXPECT_EQ(std::tuple(doc.GridSpacing, doc.DesignatorCounters.size()),
                  std::tuple(expectedGrid, expectedCounters));
        EXPECT_EQ(doc.NextDesignatorNumber(QChar(u'Z')), 1);
        EXPECT_EQ(doc.DesignatorCounters[65], counters >= 66 ? 7 : 0);
        EXPECT_TRUE(ui.messages.isEmpty());
    }
}

TEST_F(SchematicFile, DamagedFilesAreRefusedCleanly)
{
    const QByteArray good = kTwoResistors;
    const qsizetype objectsAt = 24 + 2 + 512, tailAt = good.size() - defaultTail().size();
    const auto objects = [&](const Bytes& b) { return good.left(objectsAt) + b.data + good.mid(tailAt); };
    const auto one = [&](Bytes tag) {
        return objects(Bytes().u16(1).add(tag.record(0, 0, {0, 0, 0, 0}, TypeLabel, 1, "x", 1).data));
    };
    const auto page = [&](int l, int t, int r, int b) {
        return Bytes().i32(5).i32(l).i32(t).i32(r).i32(b).data + good.mid(20);
    };
    const QByteArray hugeText =
        Bytes().u8s({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}).data;
    // clang-format off
    std::vector<std::pair<std::string, QByteArray>> cases = {
        {"page without width", page(0, 0, 0, -12240)},      {"page without height", page(0, 0, 15840, 0)},
        {"page upside down", page(0, -12240, 15840, 0)},
        {"page wider than int", page(-0x7FFFFFFF, 0, 0x7FFFFFFF, -1)},
        {"huge counter count", good.left(24) + QByteArray::fromHex("ffffffffff0f") + good.mid(26)},
        {"huge object count", objects(Bytes().u8s({0xFF, 0xFF, 0, 0, 0, 1}))},
        {"null object", objects(Bytes().u16(1).u16(0))},
        {"object stored twice", objects(Bytes().u16(2).add(twoResistorObjects().mid(2, 6 + 9 + 41)).u16(2))},
        {"class reference to nothing", one(Bytes().u16(0x8001))},
        {"unknown class", one(Bytes().tag(3, "CWidget"))},
        {"plot class", objects(Bytes().u16(1).tag(1, "CPlotTrace"))},
        {"resistor of another schema", one(Bytes().tag(2, "CResistor"))},
        {"huge text", objects(Bytes().u16(1).tag(3, "CComponent").zeros(32).add(hugeText))},
        {"huge list", good.left(good.size() - 8) + Bytes().u8s({0xFF, 0xFF, 0, 0, 0, 0x40}).data},
        {"newer file version 6", Bytes().i32(6).data + good.mid(4)},
        {"newer file version 1000", Bytes().i32(1000).data + good.mid(4)},
        {"no schematic: version 1001", Bytes().i32(1001).data + good.mid(4)},
        {"no schematic: version 2^31-1", Bytes().i32(0x7FFFFFFF).data + good.mid(4)},
        {"no schematic: version -1", Bytes().i32(-1).data + good.mid(4)},
        {"no schematic: version -2^31", Bytes().i32(INT_MIN).data + good.mid(4)},
        {"no schematic: a waveform", QByteArray::fromHex("030005005628")},
        {"no schematic: a netlist", QByteArray("* netlist\r\nR1 N1 0 1\r\n")}};
    // clang-format on
    for (qsizetype n = 0; n < good.size(); ++n)
        cases.push_back({"cut at " + std::to_string(n), good.left(n)});
    for (const auto& [what, file] : cases) {
        CTorvex2Doc doc;
        ScriptedUiServices ui;
        EXPECT_FALSE(loadBytes(doc, file)) << what;
        EXPECT_TRUE(doc.Components().empty()) << what;
        ASSERT_EQ(ui.messages.size(), 1) << what;
        EXPECT_TRUE(ui.messages[0].startsWith("Unexpected file format.\n"))
            << what << ": " << qPrintable(ui.messages[0]);
        // Read as the last version it would lose what a newer program added on the next save.
        EXPECT_EQ(ui.messages[0].contains("written by a newer version"), what.starts_with("newer")) << what;
        if (what.starts_with("no schematic"))
            EXPECT_TRUE(ui.messages[0].endsWith("is not a schematic.")) << what;
        // The document keeps its state: a damaged file changes nothing it held.
        EXPECT_EQ(doc.DesignatorCounters.size(), 128u);
        EXPECT_EQ(doc.PageRect, (Rect{0, 0, 15840, -12240}));
    }
}

// Small enough to sit in a write buffer until the very end, where a full disk used to show first.
TEST_F(SchematicFile, SavingOntoAFullDiskKeepsTheOldFileAndSaysWhy)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("full.cas");
    CTorvex2Doc doc;
    ASSERT_TRUE(loadBytes(doc, kTwoResistors));
    doc.SetModifiedFlag(true);
    const OverwriteOutcome full =
        OverwriteOnFullDisk(file, 600, [&] { return doc.OnSaveDocument(file) || !doc.IsModified(); });
    ASSERT_TRUE(full.finished);
    EXPECT_FALSE(full.succeeded);
    EXPECT_EQ(full.messages, QStringList{"Cannot save the file " + file + ".\nFile too large."});
    EXPECT_EQ(full.after, "old");
}
