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

Old operator+(Old a, const Old& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The class and type of the first object, then the texts of all.
QString describe(const ComponentList& list)
{
    QStringList texts;
    for (const auto& o : list)
        texts << o->Text;
    return list.empty() ? QString()
                        : QStringLiteral("%1 %2 ")
                                  .arg(QLatin1String(list.front()->RuntimeClass().name))
                                  .arg(list.front()->TypeId) +
                              texts.join(u'|');
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

TEST_F(FirstGenerationImport, EachOldKindBecomesTodaysClassWithItsLabelsAndSavesAsToday)
{
    const QString plain = "OLD|X5|MODEL= 1n  2 3", line = "OLD|X5|TL MODEL= 1n  2 3";
    // clang-format off
    const std::vector<std::pair<Old, QString>> cases = {
        {oldPart(1), "CResistor 510 " + plain},          {oldPart(2), "CDrawing 402 " + plain},
        {oldPart(3), "CDrawing 402 X5|MODEL= 1n  2 3"},  {oldPart(4), "CDrawing 400 " + plain},
        {oldPart(5), "CDrawing 502 " + plain},           {oldPart(6), "CText 501 " + plain},
        {oldPart(7), "CTLineC 574 " + line},             {oldPart(8), "CTransmissionLine 530 " + plain},
        {oldPart(9), "CTLineL 573 " + line},             {oldPart(10), "CDrawing 540 " + plain},
        {oldPart(11), "CVoltageSource 541 " + plain},    {oldPart(12), "CDrawing 550 " + plain},
        {oldPart(13), "CDrawing 560 " + plain},          {oldPart(14), "CCurrentSource 542 " + plain},
        {oldPart(15), "CSwitch 512 " + plain},           {oldPart(16), "CResistor 510 OLD|R_X5|MODEL= 1n  2 3"},
        {oldPart(17), "CTransmissionLine 530 OLD|T_X5|MODEL= 1n  2 3"},
        {oldPart(18), "CCurrentProbe 551 " + plain},     {oldPart(19), "CSubcircuit 561 " + plain},
        {oldPart(20), "CIdealDiode 575 OLD|D_X5|MODEL= 1n  2 3"},
        {oldPart(21), "CDrawing 402 X5|MODEL= 1n  2 3"},
        {oldPart(22), "CVariableC 522 OLD|C5|MODEL= 1n  2 3"},
        {oldPart(23), "CDrawing 402 X5|MODEL= 1n  2 3"},
        {oldPart(24), "CDiode 571 OLD|D5|1N4004|IC=0"},
        {oldPart(25), "CCapacitor 520 OLD|C5|1n  2 3"},  {oldPart(26), "CInductor 521 OLD|L5|1n  2 3"},
        {oldPart(27), "CVariableR 511 OLD|R_X5|MODEL= 1n  2 3"},
        {oldPart(28), "CMOV 572 OLD|R_X5|MODEL= 1n  2 3"},
        {oldPart(29), "COilSwitch 604 OLD|R_X5|MODEL= 1n  2 3"},
        {oldPart(30), "CPlanarDiode 605 OLD|R_X5|PLDIODE EL=1n EW=2 EG=3 CV= IM= BF= TOT= AET="},
        {oldPart(31), "CTransformer 570 " + plain},
        {oldPart(32), "CLossyDielTLX 532 OLD|T_X5|MODEL= 1n  2 3"},
        {oldPart(33), "CLossyDielTL 531 OLD|T_X5|MODEL= 1n  2 3"},
        {oldPart(34), "CLossyTL 606 OLD|T_X5|MODEL= 1n  2 3"},
        {oldPart(99), "CDrawing 402 X5|MODEL= 1n  2 3"},
        // An empty name becomes the letter alone; a value too short to hold the model word empties.
        {oldPart(22, ""), "CVariableC 522 OLD|C|MODEL= 1n  2 3"}, {oldPart(26, "L1", "1n"), "CInductor 521 OLD|L1|"},
        // Labels the file lacks are left out, and nothing else is taken for them.
        {{{24, "OLD"}}, "CDiode 571 OLD"},               {{{16, "OLD"}, {4, "1"}}, "CResistor 510 OLD|1"},
        {{{30, "OLD"}, {2, "P1"}, {1, "R2"}}, "CPlanarDiode 605 OLD|R_P1|R2"},
    };
    // clang-format on
    for (const auto& [old, expected] : cases) {
        CTorvex2Doc doc;
        ASSERT_TRUE(load(doc, oldFile(2, old))) << qPrintable(expected);
        EXPECT_EQ(describe(doc.Components()), expected);
        for (const auto& o : doc.Components())
            EXPECT_EQ(o->State, 1) << qPrintable(expected);
        // Saved, it is today's file, which reads back to the same bytes.
        const QByteArray saved = saveBytes(doc);
        CTorvex2Doc again;
        ASSERT_TRUE(loadBytes(again, saved));
        EXPECT_EQ(std::tuple(saved.left(4), saveBytes(again)), std::tuple(Bytes().i32(5).data, saved));
    }
    // The added initial-condition label is hidden, below and right of its diode.
    CTorvex2Doc doc;
    ASSERT_TRUE(load(doc, oldFile(2, oldPart(24))));
    const CComponent& ic = *doc.Components().back();
    EXPECT_EQ(std::tuple(ic.TypeId, ic.Position, ic.Visible),
              std::tuple(402u, QPoint(1740, -1890), quint8(0)));
}

TEST_F(FirstGenerationImport, SettingsComeFromVersionTwoOnlyAndCountersFromTheConvertedNames)
{
    for (int version : {0, 1, 2}) {
        CTorvex2Doc doc;
        doc.InputPath = "kept";
        ASSERT_TRUE(load(doc, oldFile(version, oldPart(1)))) << version;
        const QStringList settings{doc.TimeStep,    doc.StartTime,  doc.TimeSpan,
                                   doc.ArchiveRoot, doc.Experiment, doc.Shot};
        EXPECT_EQ(settings.join(u','),
                  version == 2 ? "2ns,5ns,300ns,D:\\Shots\\,Exp,12" : "1ns,0ns,100ns,,,");
        EXPECT_EQ(std::tuple(doc.InputPath, doc.InputMode, doc.SchematicFileVersion, doc.PageRect,
                             doc.GridSpacing, doc.ShowGrid, doc.SnapToGrid),
                  std::tuple("kept", "Orlisk", version, Rect{0, 0, 24480, -15840}, 288, true, false));
        // The converted resistor lacks its pins, which the check reports.
        EXPECT_FALSE(CheckComponentList(doc.Components()));
    }
    // The old counters are dropped; each letter's counter starts at the largest number its converted
    // names hold, wherever it stands (R12 before R3, X9 as C9, P7 of a probe; D_D4 and numbers beyond
    // int are no names a new part can repeat).
    Old old = oldPart(1, "R12");
    for (const Old& part : {oldPart(1, "R3"), oldPart(25, "X9"), oldPart(20, "D4"), oldPart(12, "P7"),
                            Old{{2, "R99999999999"}}})
        old.insert(old.end(), part.begin(), part.end());
    CTorvex2Doc doc;
    ASSERT_TRUE(load(doc, oldFile(2, old)));
    std::vector<int> expected(128, 0);
    expected['R'] = 12;
    expected['C'] = 9;
    expected['P'] = 7;
    EXPECT_EQ(doc.DesignatorCounters, expected);
    EXPECT_EQ(ui.messages, QStringList(4, FirstGenerationNotice()));
    // A resistor placed now is no second R12.
    CComponent& placed = *doc.Components().emplace_back(CTorvex2Doc::CreateComponent(TypeResistor));
    placed.CreateAttachments(doc, 0, 0);
    EXPECT_EQ(placed.Text, "R13");
}

TEST_F(FirstGenerationImport, CancelledAndDamagedOldFilesOpenNothing)
{
    const QByteArray good = oldFile(2, oldPart(24));
    std::vector<std::pair<std::string, QByteArray>> cases = {
        {"huge object count", good.left(38) + Bytes().u8s({0xFF, 0xFF, 0, 0, 0, 1}).data},
        {"page without width", Bytes().i32(1).i32(0).i32(0).i32(0).i32(-12240).data + good.mid(20)},
        {"cancelled", good}};
    // Cut anywhere after the version, including inside the run settings.
    for (qsizetype n = 4; n < good.size(); ++n)
        cases.push_back({"cut at " + std::to_string(n), good.left(n)});
    for (const auto& [what, bytes] : cases) {
        CTorvex2Doc doc;
        ui.messages.clear();
        // Cancel at the notice says nothing more.
        EXPECT_FALSE(what == "cancelled" ? loadBytes(doc, bytes) : load(doc, bytes)) << what;
        EXPECT_EQ(ui.messages.size(), what == "cancelled" ? 1 : 2) << what;
        EXPECT_TRUE(ui.messages.last().startsWith(what == "cancelled" ? "You are opening"
                                                                      : "Unexpected file format.\n"));
        EXPECT_EQ(std::tuple(doc.Components().size(), doc.SchematicFileVersion, doc.PageRect, doc.TimeStep),
                  std::tuple(0u, 5, Rect{0, 0, 15840, -12240}, "1ns"))
            << what;
    }
}

TEST_F(FirstGenerationImport, ObjectsLeftOutAreCountedWithTheirCodesAndAFileOfNothingElseIsRefused)
{
    Old manyCodes = oldPart(1);
    for (quint32 code = 100; code < 120; ++code)
        manyCodes.push_back({code, "?"});
    const struct {
        const char* what;
        Old old;
        QString message; // after the notice; empty: none
        size_t objects;  // converted; 0 with a message: refused
    } cases[] = {
        {"all converted", oldPart(1), "", 3},
        {"an empty page", {}, "", 0},
        {"one left out", Old{{21, "?"}} + oldPart(1),
         "1 object of this TORVEX1 schematic could not be converted and is left out (old type code 21).", 3},
        {"codes once each, ascending", oldPart(1) + Old{{40, "?"}, {3, "?"}, {40, "?"}},
         "3 objects of this TORVEX1 schematic could not be converted and are left out (old type codes 3, "
         "40).",
         3},
        {"a damaged file's many codes", manyCodes,
         "20 objects of this TORVEX1 schematic could not be converted and are left out (old type codes 100, "
         "101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, ...).",
         3},
        {"nothing converted", Old{{3, "?"}, {99, "?"}},
         "This TORVEX1 schematic cannot be read: not one of its 2 objects can be converted (old type codes "
         "3, 99).",
         0},
    };
    for (const auto& c : cases) {
        CTorvex2Doc doc;
        ui.messages.clear();
        const bool refused = c.objects == 0 && !c.message.isEmpty();
        EXPECT_EQ(load(doc, oldFile(2, c.old)), !refused) << c.what;
        QStringList expected{FirstGenerationNotice()};
        if (!c.message.isEmpty()) expected << c.message;
        EXPECT_EQ(ui.messages, expected) << c.what;
        EXPECT_EQ(doc.Components().size(), c.objects) << c.what;
        // Refused, the document is as it was: nothing of the file is there to be saved over it.
        if (refused) EXPECT_EQ(std::tuple(doc.SchematicFileVersion, doc.TimeStep), std::tuple(5, "1ns"));
    }
}

// Nothing is asked or said while a netlist is written; a file of which nothing converts is refused.
TEST_F(FirstGenerationImport, ASubcircuitFileReadForTheNetlistConvertsWithoutAWord)
{
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const Old& old) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(oldFile(2, old));
        return file.fileName();
    };
    QString reason;
    const auto some = CTorvex2Doc::OpenDetached(write("some.cas", oldPart(24) + Old{{3, "?"}}), &reason);
    ASSERT_TRUE(some) << qPrintable(reason);
    EXPECT_EQ(some->Components().size(), 4u);
    EXPECT_EQ(CTorvex2Doc::OpenDetached(write("none.cas", Old{{3, "?"}}), &reason), nullptr);
    EXPECT_TRUE(reason.startsWith("This TORVEX1 schematic cannot be read")) << qPrintable(reason);
    EXPECT_TRUE(ui.messages.isEmpty());
}
