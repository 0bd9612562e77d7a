#include "Archive.h"
#include "SchematicTestSupport.h"
#include "UiServices.h"

#include <gtest/gtest.h>

namespace {

class SchematicFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterTestClasses(); }
};

// Resistor R1 at (1440, -1440) with its name label, value label and two pins, then R2 with the same
// attachments: the object list of the worked tag stream.
QByteArray twoResistorObjects()
{
    Bytes b;
    b.u16(10);
    for (int part = 0; part < 2; ++part) {
        const int x = 1440 + 1440 * part;
        const QString name = QStringLiteral("R%1").arg(part + 1);
        if (part == 0)
            b.u8s({0xFF, 0xFF, 3, 0, 9, 0}).ascii("CResistor"); // class 1, object 2
        else
            b.u16(0x8001); // class 1 again, object 8
        b.record(x, -1440, {x, -1296, x + 576, -1584}, 510, 1, name, 1);
        if (part == 0)
            b.u8s({0xFF, 0xFF, 3, 0, 8, 0}).ascii("CDrawing"); // class 3, object 4
        else
            b.u16(0x8003);
        b.record(x + 150, -1140, {0, 0, 0, 0}, 402, 1, name, 1);
        b.u16(0x8003).record(x + 150, -1590, {0, 0, 0, 0}, 402, 1, "1k", 1);
        b.u16(0x8003).record(x, -1440, {0, 0, 0, 0}, 400, 1, "1", 0);
        b.u16(0x8003).record(x + 576, -1440, {0, 0, 0, 0}, 400, 1, "2", 0);
    }
    return b.data;
}

QByteArray twoResistorFile()
{
    return fileHead(5).add(twoResistorObjects()).add(defaultTail()).data;
}

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
    const QByteArray file = twoResistorFile();
    CTorvex2Doc doc;
    ASSERT_TRUE(loadBytes(doc, file));
    const ComponentList& list = doc.Components();
    ASSERT_EQ(list.size(), 10u);
    const char* classes[] = {"CResistor", "CDrawing", "CDrawing", "CDrawing", "CDrawing"};
    int i = 0;
    for (const auto& object : list) {
        EXPECT_STREQ(object->RuntimeClass().name, classes[i % 5]) << i;
        EXPECT_EQ(object->State, 1);
        ++i;
    }
    const CComponent& r2 = **std::next(list.begin(), 5);
    EXPECT_EQ(r2.Text, QStringLiteral("R2"));
    EXPECT_EQ(r2.Position, QPoint(2880, -1440));
    EXPECT_EQ(r2.Extent, (Rect{2880, -1296, 3456, -1584}));
    EXPECT_EQ((*std::next(list.begin(), 3))->Visible, 0);
    // Written back, the stream is the same: classes and objects numbered together.
    EXPECT_EQ(saveBytes(doc).toHex(' '), file.toHex(' '));
}

TEST_F(SchematicFile, OlderVersionsKeepWhatTheyLack)
{
    // Version 3 stops after the six run settings; version 4 adds the input path and mode.
    const QByteArray v3 = fileHead(3).u16(0).add(defaultTail(3)).data;
    Bytes v4 = fileHead(4).u16(0).u8s({0, 1});
    for (const char* s : {"2ns", "1ns", "50ns", "D:\\Shots\\", "E7", "12", "D:\\Waves\\", "Path"})
        v4.str(QString::fromLatin1(s));

    CTorvex2Doc doc;
    doc.TraceSelectionHistory = QStringList{"V(N1)"};
    doc.SpareStringLists[1] = QStringList{"x"};
    doc.InputMode.clear();
    ASSERT_TRUE(loadBytes(doc, v3));
    EXPECT_EQ(doc.SchematicFileVersion, 3);
    EXPECT_EQ(doc.InputMode, QStringLiteral("Orlisk"));
    EXPECT_TRUE(doc.InputPath.isEmpty());
    EXPECT_TRUE(doc.TraceSelectionHistory.isEmpty());
    EXPECT_TRUE(doc.SpareStringLists[1].isEmpty());
    EXPECT_EQ(doc.DesignatorCounters.size(), 128u);

    ASSERT_TRUE(loadBytes(doc, v4.data));
    EXPECT_EQ(doc.SchematicFileVersion, 4);
    EXPECT_FALSE(doc.ShowGrid);
    EXPECT_TRUE(doc.SnapToGrid);
    EXPECT_EQ(doc.TimeStep, QStringLiteral("2ns"));
    EXPECT_EQ(doc.ArchiveRoot, QStringLiteral("D:\\Shots\\"));
    EXPECT_EQ(doc.Shot, QStringLiteral("12"));
    EXPECT_EQ(doc.InputPath, QStringLiteral("D:\\Waves\\"));
    EXPECT_EQ(doc.InputMode, QStringLiteral("Path"));
    EXPECT_TRUE(doc.TraceSelectionHistory.isEmpty());

    // A later version is read as version 5 and keeps its number until it is saved.
    Bytes v7 = fileHead(7).u16(0).add(defaultTail().chopped(8)).u16(2).str("V(N1)").str("I(R1)").zeros(6);
    ASSERT_TRUE(loadBytes(doc, v7.data));
    EXPECT_EQ(doc.SchematicFileVersion, 7);
    EXPECT_EQ(doc.TraceSelectionHistory, (QStringList{"V(N1)", "I(R1)"}));
    // The writer always writes the version-5 layout, whatever number it carries.
    EXPECT_EQ(saveBytes(doc), v7.data);
}

TEST_F(SchematicFile, ValuesThatWouldHangTheViewsAreMended)
{
    const struct {
        int grid;
        int counters;
        int expectedGrid;
        size_t expectedCounters;
    } cases[] = {{0, 128, 144, 128},
                 {-144, 128, 144, 128},
                 {72, 10, 72, 128},
                 {144, 0, 144, 128},
                 {144, 200, 144, 200}};
    for (const auto& c : cases) {
        Bytes file = fileHead(5, c.counters, c.grid);
        if (c.counters >= 66) file.data[24 + 2 + 4 * 65] = 7; // counter of 'A'
        file.u16(0).add(defaultTail());
        CTorvex2Doc doc;
        ScriptedUiServices ui;
        ASSERT_TRUE(loadBytes(doc, file.data)) << c.grid << " " << c.counters;
        EXPECT_EQ(doc.GridSpacing, c.expectedGrid);
        EXPECT_EQ(doc.DesignatorCounters.size(), c.expectedCounters);
        EXPECT_EQ(doc.NextDesignatorNumber(QChar(u'Z')), 1);
        if (c.counters >= 66) {
            EXPECT_EQ(doc.DesignatorCounters[65], 7);
        }
        EXPECT_TRUE(ui.messages.isEmpty());
    }
}

TEST_F(SchematicFile, DamagedFilesAreRefusedCleanly)
{
    const QByteArray good = twoResistorFile();
    const qsizetype objectsAt = 24 + 2 + 512;
    const qsizetype tailAt = good.size() - defaultTail().size();
    const auto replaceObjects = [&](const QByteArray& objects) {
        return good.left(objectsAt) + objects + good.mid(tailAt);
    };
    const auto oneObject = [](const QByteArray& tag) {
        return Bytes().u16(1).add(tag).record(0, 0, {0, 0, 0, 0}, 402, 1, "x", 1).data;
    };
    const struct {
        const char* what;
        QByteArray file;
    } cases[] = {
        {"empty file", QByteArray()},
        {"page cut short", good.left(12)},
        {"page without width", Bytes().i32(5).i32(0).i32(0).i32(0).i32(-12240).data + good.mid(20)},
        {"page without height", Bytes().i32(5).i32(0).i32(0).i32(15840).i32(0).data + good.mid(20)},
        {"page upside down", Bytes().i32(5).i32(0).i32(-12240).i32(15840).i32(0).data + good.mid(20)},
        {"page wider than int",
         Bytes().i32(5).i32(-0x7FFFFFFF).i32(0).i32(0x7FFFFFFF).i32(-1).data + good.mid(20)},
        {"huge counter count",
         good.left(24) + Bytes().u8s({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}).data + good.mid(26)},
        {"huge object count", replaceObjects(Bytes().u8s({0xFF, 0xFF, 0, 0, 0, 1}).data)},
        {"null object", replaceObjects(Bytes().u16(1).u16(0).data)},
        {"object stored twice",
         replaceObjects(Bytes().u16(2).add(twoResistorObjects().mid(2, 6 + 9 + 41)).u16(2).data)},
        {"class reference to nothing", replaceObjects(oneObject(Bytes().u16(0x8001).data))},
        {"unknown class",
         replaceObjects(oneObject(Bytes().u8s({0xFF, 0xFF, 3, 0, 7, 0}).ascii("CWidget").data))},
        {"plot class",
         replaceObjects(Bytes().u16(1).u8s({0xFF, 0xFF, 1, 0, 10, 0}).ascii("CPlotTrace").data)},
        {"resistor of another schema",
         replaceObjects(oneObject(Bytes().u8s({0xFF, 0xFF, 2, 0, 9, 0}).ascii("CResistor").data))},
        {"huge text", replaceObjects(Bytes()
                                         .u16(1)
                                         .u8s({0xFF, 0xFF, 3, 0, 10, 0})
                                         .ascii("CComponent")
                                         .zeros(32)
                                         .u8s({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F})
                                         .data)},
        {"huge list", good.left(good.size() - 8) + Bytes().u8s({0xFF, 0xFF, 0, 0, 0, 0x40}).data},
        {"version 2", Bytes().i32(2).data + good.mid(4)},
        {"version 0", Bytes().i32(0).data + good.mid(4)},
        {"negative version", Bytes().i32(-1).data + good.mid(4)},
    };
    for (const auto& c : cases) {
        CTorvex2Doc doc;
        ScriptedUiServices ui;
        EXPECT_FALSE(loadBytes(doc, c.file)) << c.what;
        EXPECT_TRUE(doc.Components().empty()) << c.what;
        ASSERT_EQ(ui.messages.size(), 1) << c.what;
        if (QByteArrayView(c.what).startsWith("version") || QByteArrayView(c.what).startsWith("negative")) {
            EXPECT_TRUE(ui.messages[0].contains("TORVEX1")) << c.what;
        } else {
            EXPECT_TRUE(ui.messages[0].startsWith("Unexpected file format.\n"))
                << c.what << ": " << ui.messages[0].toStdString();
        }
        // The document keeps its state: a damaged file changes nothing it held.
        EXPECT_EQ(doc.DesignatorCounters.size(), 128u);
        EXPECT_EQ(doc.PageRect, (Rect{0, 0, 15840, -12240}));
    }
}

TEST_F(SchematicFile, EveryTruncationIsRefused)
{
    const QByteArray good = twoResistorFile();
    for (qsizetype n = 0; n < good.size(); ++n) {
        CTorvex2Doc doc;
        ScriptedUiServices ui;
        ASSERT_FALSE(loadBytes(doc, good.left(n))) << n;
        ASSERT_TRUE(doc.Components().empty()) << n;
        ASSERT_EQ(ui.messages.size(), 1) << n;
    }
    // Trailing bytes are left unread.
    CTorvex2Doc doc;
    EXPECT_TRUE(loadBytes(doc, good + "junk"));
}
