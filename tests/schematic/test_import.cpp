// Schematic files of the first generation: their objects converted, their settings taken, and damaged
// ones refused.
#include "CComponent.h"
#include "ComponentListCheck.h"
#include "FirstGeneration.h"
#include "SchematicTestSupport.h"
#include "UiServices.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

struct OldObject {
    quint32 code;
    QString text;
};

// A part of an old code with the text "OLD", followed by its name and value labels.
std::vector<OldObject> oldPart(quint32 code, const QString& name = QStringLiteral("X5"),
                               const QString& value = QStringLiteral("MODEL= 1n  2 3"))
{
    return {{code, "OLD"}, {2, name}, {2, value}};
}

// A first-generation file as its writer made it: 8-bit texts, the old objects stored as the base
// class with its schema of then, and the run settings only from version 2 on.
QByteArray oldFile(int version, const std::vector<OldObject>& objects)
{
    Bytes b;
    b.i32(version).i32(0).i32(0).i32(24480).i32(-15840).i32(288);
    b.u16(3).i32(40).i32(41).i32(42); // old counters
    b.u16(int(objects.size()));
    int x = 1440;
    for (const OldObject& o : objects) {
        (x == 1440 ? b.tag(1, "CComponent") : b.u16(0x8001)).i32(x).i32(-1440);
        b.i32(x).i32(-1296).i32(x + 576).i32(-1584).i32(o.code).i32(2);
        b.u8s({int(o.text.size())}).add(o.text.toLatin1()).u8s({1});
        x += 144;
    }
    b.u8s({1, 0});
    if (version == 2) {
        for (const char* s : {"2ns", "5ns", "300ns", "D:\\Shots\\", "Exp", "12"})
            b.str(QString::fromLatin1(s));
    }
    return b.data;
}

QString describe(const ComponentList& list)
{
    QStringList lines;
    for (const auto& o : list)
        lines << QStringLiteral("%1 %2 %3")
                     .arg(QLatin1String(o->RuntimeClass().name))
                     .arg(o->TypeId)
                     .arg(o->Text);
    return lines.join(QStringLiteral(" | "));
}

class FirstGenerationImport : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterTestClasses(); }
    // Loads with the notice answered OK.
    bool load(CTorvex2Doc& doc, const QByteArray& bytes)
    {
        ui.answers = {UiServices::Answer::Ok};
        return loadBytes(doc, bytes);
    }
    ScriptedUiServices ui;
};

} // namespace

TEST_F(FirstGenerationImport, EachOldKindBecomesTodaysClassWithItsLabels)
{
    const QString labels = QStringLiteral(" | CDrawing 402 X5 | CDrawing 402 MODEL= 1n  2 3");
    struct Case {
        std::vector<OldObject> old;
        QString expected;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {oldPart(1),  "CResistor 510 OLD" + labels},
        {oldPart(2),  "CDrawing 402 OLD" + labels},
        {oldPart(3),  labels.mid(3)},
        {oldPart(4),  "CDrawing 400 OLD" + labels},
        {oldPart(5),  "CDrawing 502 OLD" + labels},
        {oldPart(6),  "CText 501 OLD" + labels},
        {oldPart(7),  "CTLineC 574 OLD | CDrawing 402 X5 | CDrawing 402 TL MODEL= 1n  2 3"},
        {oldPart(8),  "CTransmissionLine 530 OLD" + labels},
        {oldPart(9),  "CTLineL 573 OLD | CDrawing 402 X5 | CDrawing 402 TL MODEL= 1n  2 3"},
        {oldPart(10), "CDrawing 540 OLD" + labels},
        {oldPart(11), "CVoltageSource 541 OLD" + labels},
        {oldPart(12), "CDrawing 550 OLD" + labels},
        {oldPart(13), "CDrawing 560 OLD" + labels},
        {oldPart(14), "CCurrentSource 542 OLD" + labels},
        {oldPart(15), "CSwitch 512 OLD" + labels},
        {oldPart(16), "CResistor 510 OLD | CDrawing 402 R_X5 | CDrawing 402 MODEL= 1n  2 3"},
        {oldPart(17), "CTransmissionLine 530 OLD | CDrawing 402 T_X5 | CDrawing 402 MODEL= 1n  2 3"},
        {oldPart(18), "CCurrentProbe 551 OLD" + labels},
        {oldPart(19), "CSubcircuit 561 OLD" + labels},
        {oldPart(20), "CIdealDiode 575 OLD | CDrawing 402 D_X5 | CDrawing 402 MODEL= 1n  2 3"},
        {oldPart(21), labels.mid(3)},
        {oldPart(22), "CVariableC 522 OLD | CDrawing 402 C5 | CDrawing 402 MODEL= 1n  2 3"},
        {oldPart(23), labels.mid(3)},
        {oldPart(24), "CDiode 571 OLD | CDrawing 402 D5 | CDrawing 402 1N4004 | CDrawing 402 IC=0"},
        {oldPart(25), "CCapacitor 520 OLD | CDrawing 402 C5 | CDrawing 402 1n  2 3"},
        {oldPart(26), "CInductor 521 OLD | CDrawing 402 L5 | CDrawing 402 1n  2 3"},
        {oldPart(27), "CVariableR 511 OLD | CDrawing 402 R_X5 | CDrawing 402 MODEL= 1n  2 3"},
        {oldPart(28), "CMOV 572 OLD | CDrawing 402 R_X5 | CDrawing 402 MODEL= 1n  2 3"},
        {oldPart(29), "COilSwitch 604 OLD | CDrawing 402 R_X5 | CDrawing 402 MODEL= 1n  2 3"},
        {oldPart(30), "CPlanarDiode 605 OLD | CDrawing 402 R_X5 | "
                      "CDrawing 402 PLDIODE EL=1n EW=2 EG=3 CV= IM= BF= TOT= AET="},
        {oldPart(31), "CTransformer 570 OLD" + labels},
        {oldPart(32), "CLossyDielTLX 532 OLD | CDrawing 402 T_X5 | CDrawing 402 MODEL= 1n  2 3"},
        {oldPart(33), "CLossyDielTL 531 OLD | CDrawing 402 T_X5 | CDrawing 402 MODEL= 1n  2 3"},
        {oldPart(34), "CLossyTL 606 OLD | CDrawing 402 T_X5 | CDrawing 402 MODEL= 1n  2 3"},
        {oldPart(99), labels.mid(3)},
        // An empty name becomes the letter alone; a value too short to hold the model word empties.
        {oldPart(22, ""), "CVariableC 522 OLD | CDrawing 402 C | CDrawing 402 MODEL= 1n  2 3"},
        {oldPart(26, "L1", "1n"), "CInductor 521 OLD | CDrawing 402 L1 | CDrawing 402 "},
        // Labels the file lacks are left out, and nothing else is taken for them.
        {{{24, "OLD"}}, "CDiode 571 OLD"},
        {{{16, "OLD"}, {4, "1"}, {4, "2"}}, "CResistor 510 OLD | CDrawing 400 1 | CDrawing 400 2"},
        {{{30, "OLD"}, {2, "P1"}, {1, "R2"}}, "CPlanarDiode 605 OLD | CDrawing 402 R_P1 | CResistor 510 R2"},
    };
    // clang-format on
    for (const Case& c : cases) {
        CTorvex2Doc doc;
        ASSERT_TRUE(load(doc, oldFile(2, c.old))) << qPrintable(c.expected);
        EXPECT_EQ(describe(doc.Components()), c.expected);
        for (const auto& o : doc.Components())
            EXPECT_EQ(o->State, 1) << qPrintable(c.expected);
    }
    // The added initial-condition label is hidden, below and right of its diode.
    CTorvex2Doc doc;
    ASSERT_TRUE(load(doc, oldFile(2, oldPart(24))));
    const CComponent& ic = *doc.Components().back();
    EXPECT_EQ(std::tuple(ic.Position, ic.Visible), std::tuple(QPoint(1740, -1890), quint8(0)));
}

TEST_F(FirstGenerationImport, SettingsComeFromVersionTwoOnlyAndTheOldCountersAreDropped)
{
    for (int version : {0, 1, 2}) {
        CTorvex2Doc doc;
        doc.InputPath = QStringLiteral("kept");
        ASSERT_TRUE(load(doc, oldFile(version, oldPart(1)))) << version;
        EXPECT_EQ(ui.messages, QStringList{FirstGenerationNotice()});
        ui.messages.clear();
        const QStringList settings{doc.TimeStep,    doc.StartTime,  doc.TimeSpan,
                                   doc.ArchiveRoot, doc.Experiment, doc.Shot};
        const QStringList expected = version == 2
                                         ? QStringList{"2ns", "5ns", "300ns", "D:\\Shots\\", "Exp", "12"}
                                         : QStringList{"1ns", "0ns", "100ns", "", "", ""};
        EXPECT_EQ(settings, expected);
        EXPECT_EQ(std::tuple(doc.InputPath, doc.InputMode), std::tuple(QString("kept"), QString("Orlisk")));
        EXPECT_EQ(
            std::tuple(doc.SchematicFileVersion, doc.PageRect, doc.GridSpacing, doc.ShowGrid, doc.SnapToGrid),
            std::tuple(version, Rect{0, 0, 24480, -15840}, 288, true, false));
        // The old counters are gone; the name label X5 sets its letter's.
        std::vector<int> counters(128, 0);
        counters['X'] = 5;
        EXPECT_EQ(doc.DesignatorCounters, counters);
        // The converted resistor lacks its pins, which the check reports.
        EXPECT_FALSE(CheckComponentList(doc.Components()));
    }
}

TEST_F(FirstGenerationImport, CountersStartAboveTheConvertedNames)
{
    std::vector<OldObject> old = oldPart(1, "R12", "1k");
    for (const auto& part : {oldPart(25, "X9", "CAPVAL=1n"), oldPart(20, "D4"), oldPart(12, "P7", "")})
        old.insert(old.end(), part.begin(), part.end());
    old.push_back({2, "R99999999999"});
    CTorvex2Doc doc;
    ASSERT_TRUE(load(doc, oldFile(2, old)));
    std::vector<int> expected(128, 0);
    expected['R'] = 12;
    expected['C'] = 9;
    expected['P'] = 7;
    EXPECT_EQ(doc.DesignatorCounters, expected);
    // The next resistor placed does not repeat R12.
    doc.Components().push_back(CTorvex2Doc::CreateComponent(TypeResistor));
    doc.Components().back()->CreateAttachments(doc, 0, 0);
    EXPECT_EQ(doc.Components().back()->Text, "2");
    EXPECT_EQ(std::next(doc.Components().rbegin(), 4)->get()->Text, "R13");
}

TEST_F(FirstGenerationImport, ConvertedDocumentSavesAsVersionFiveAndReopensByteForByte)
{
    std::vector<OldObject> old;
    for (quint32 code = 1; code <= 35; ++code) {
        const std::vector<OldObject> part = oldPart(code);
        old.insert(old.end(), part.begin(), part.end());
        old.push_back({4, "1"});
        old.push_back({4, "2"});
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("old.cas"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(oldFile(2, old));
    }
    CTorvex2Doc doc;
    ui.answers = {UiServices::Answer::Ok, UiServices::Answer::No};
    ASSERT_TRUE(doc.OnOpenDocument(file));
    // The converted parts lack pins and labels of today's classes.
    EXPECT_EQ(ui.messages, (QStringList{FirstGenerationNotice(), CTorvex2Doc::RepairOffer()}));
    // Undo keeps the old version: the save still asks.
    doc.CheckPoint();
    doc.Undo();
    EXPECT_EQ(doc.SchematicFileVersion, 2);
    ui.messages.clear();
    ui.answers = {UiServices::Answer::Ok};
    ASSERT_TRUE(doc.OnSaveDocument(file));
    EXPECT_EQ(ui.messages, QStringList{CTorvex2Doc::ConvertedFileNotice()});
    EXPECT_EQ(doc.SchematicFileVersion, 5);

    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray saved = f.readAll();
    EXPECT_EQ(saved.left(4), Bytes().i32(5).data);
    CTorvex2Doc again;
    ASSERT_TRUE(loadBytes(again, saved));
    EXPECT_EQ(describe(again.Components()), describe(doc.Components()));
    EXPECT_EQ(saveBytes(again), saved);
}

TEST_F(FirstGenerationImport, CancelAtTheNoticeOpensNothingAndSaysNothingMore)
{
    CTorvex2Doc doc;
    EXPECT_FALSE(loadBytes(doc, oldFile(2, oldPart(1))));
    EXPECT_EQ(ui.messages, QStringList{FirstGenerationNotice()});
    EXPECT_TRUE(doc.Components().empty());
}

TEST_F(FirstGenerationImport, DamagedOldFilesAreRefusedCleanly)
{
    const QByteArray good = oldFile(2, oldPart(24));
    std::vector<std::pair<std::string, QByteArray>> cases = {
        {"huge object count", good.left(38) + Bytes().u8s({0xFF, 0xFF, 0, 0, 0, 1}).data},
        {"page without width", Bytes().i32(1).i32(0).i32(0).i32(0).i32(-12240).data + good.mid(20)},
    };
    // Cut anywhere after the version, including inside the run settings of version 2.
    for (qsizetype n = 4; n < good.size(); ++n)
        cases.push_back({"cut at " + std::to_string(n), good.left(n)});
    for (const auto& [what, bytes] : cases) {
        CTorvex2Doc doc;
        ui.messages.clear();
        EXPECT_FALSE(load(doc, bytes)) << what;
        ASSERT_EQ(ui.messages.size(), 2) << what;
        EXPECT_TRUE(ui.messages[1].startsWith("Unexpected file format.\n")) << what;
        EXPECT_TRUE(doc.Components().empty()) << what;
        EXPECT_EQ(std::tuple(doc.SchematicFileVersion, doc.PageRect, doc.TimeStep),
                  std::tuple(5, Rect{0, 0, 15840, -12240}, QString("1ns")))
            << what;
    }
}
