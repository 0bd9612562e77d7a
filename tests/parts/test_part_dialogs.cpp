// The property dialogs: the drop-down lists' search, value texts read into fields and composed again,
// refusals, editing through the labels, and the Qt windows over the fields.
#include "CDiode.h"
#include "CDrawing.h"
#include "CPlanarDiode.h"
#include "CSubcircuit.h"
#include "CSwitch.h"
#include "CText.h"
#include "CTorvex2Doc.h"
#include "CTransmissionLine.h"
#include "CVariableC.h"
#include "CVariableR.h"
#include "CVoltageSource.h"
#include "ComboSearch.h"
#include "ComponentTypeId.h"
#include "PartsTestSupport.h"
#include "UiServices.h"
#include "ui/ComponentPropertiesDialog.h"
#include "ui/DrawingDialogs.h"
#include "ui/FieldDialog.h"
#include "ui/QtPropertyDialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include <span>

namespace {

QString fields(std::initializer_list<const QString*> list)
{
    QStringList out;
    for (const QString* f : list)
        out << *f;
    return out.join(u'|');
}

// A value text, what the dialog shows of it ("|" between the fields, the choices of its lists and
// buttons first) and the text OK writes back without a change (empty: refused, the text kept).
struct ValueCase {
    const char* value;
    const char* shown;
    const char* written;
};

template <class T>
void checkValueTexts(quint32 type, std::span<const ValueCase> cases, QString (*shown)(const T&))
{
    for (const ValueCase& c : cases) {
        T part(type);
        part.ValueBuffer = QString::fromLatin1(c.value);
        part.OnInitDialog();
        const bool accepted = part.OnOK();
        EXPECT_EQ(shown(part), QString(c.shown)) << c.value;
        EXPECT_EQ(accepted ? part.ValueBuffer : QString(), QString(c.written)) << c.value;
    }
}

} // namespace

TEST(ComboSearch, SearchesAfterTheStartAndWraps)
{
    const QStringList criteria{"TIME", "VOLT", "CUR", "ENERGY"}, laws{"EXP", "LIN", "T0/T", "TANH"}, none;
    const std::tuple<const QStringList&, int, const char*, int> cases[] = {
        {criteria, 0, "TIME", 0}, {criteria, 0, "time", 0},   {criteria, 0, "", 1},
        {criteria, -1, "", 0},    {criteria, 3, "", 0},       {criteria, 0, "E", 3},
        {criteria, 2, "CUR", 2},  {criteria, 0, "TIMER", -1}, {criteria, 9, "V", 1},
        {criteria, 9, "", 0},     {laws, 0, "T", 2},          {laws, 2, "T", 3},
        {laws, 0, "t0/t", 2},     {laws, 1, "LIN", 1},        {none, 0, "", -1}};
    for (const auto& [items, startAfter, prefix, selected] : cases)
        EXPECT_EQ(selectStringPrefix(items, startAfter, prefix), selected)
            << prefix << " after " << startAfter;
}

TEST(PartDialogs, SourceValueTexts)
{
    // kind|DC|V1|V2|TD|TR|TF|PW|PER|waveform
    // clang-format off
    const ValueCase cases[] = {
        {"PULSE 0 1.0 20n 10n 20n 5n 70n", "1|1|0|1.0|20n|10n|20n|5n|70n|Waveform", "PULSE 0 1.0 20n 10n 20n 5n 70n"},
        {"  PULSE   0  1   2n ",           "1|1|0|1|2n|||||Waveform",             "PULSE 0 1 2n    "},
        {"DC 5",                           "0|5|0|1|10n|1n|1n|10n|100n|Waveform", "DC 5"},
        {"-2.5E3",                         "0|-2.5E3|0|1|10n|1n|1n|10n|100n|Waveform", "DC -2.5E3"},
        {"5",                              "0|5|0|1|10n|1n|1n|10n|100n|Waveform", "DC 5"},
        {"SIN 0 1",                        "0|0|0|1|10n|1n|1n|10n|100n|Waveform", "DC 0"},
        {"",                               "0||0|1|10n|1n|1n|10n|100n|Waveform",  "DC "},
        {"orlisk Shot12",                  "2|1|0|1|10n|1n|1n|10n|100n|Shot12",   "ORLISK Shot12"},
    };
    // clang-format on
    checkValueTexts<CVoltageSource>(TypeVoltageSource, cases, [](const CVoltageSource& s) {
        return QString::number(s.SourceKind) + u'|' +
               fields({&s.DCText, &s.V1Text, &s.V2Text, &s.TDText, &s.TRText, &s.TFText, &s.PWText,
                       &s.PERText, &s.WaveformName});
    });
}

TEST(PartDialogs, PulseWithAGapIsRefusedNamingTheField)
{
    // An empty field followed by a filled one would shift every later value; empty fields at the end
    // are left to the simulator's defaults. Other kinds do not look at the pulse fields.
    // field emptied, the fields after it too, the field named
    const std::tuple<int, bool, const char*> cases[] = {
        {3, false, "TR"}, {0, false, "V1"}, {6, false, nullptr}, {2, true, nullptr}};
    for (const auto& [emptied, laterEmptied, refused] : cases) {
        ScriptedUiServices ui;
        CVoltageSource s(TypeVoltageSource);
        QString* f[] = {&s.V1Text, &s.V2Text, &s.TDText, &s.TRText, &s.TFText, &s.PWText, &s.PERText};
        s.SourceKind = CVoltageSource::KindPulse;
        s.ValueBuffer = "PULSE 0 1.0 20n 10n 20n 5n 70n";
        for (int i = emptied; i < 7; ++i)
            if (i == emptied || laterEmptied) f[i]->clear();
        EXPECT_EQ(s.OnOK(), refused == nullptr) << emptied;
        EXPECT_EQ(ui.messages.size(), refused ? 1 : 0);
        if (refused) {
            EXPECT_TRUE(ui.messages[0].contains(QStringLiteral(" %1 ").arg(refused)))
                << qPrintable(ui.messages[0]);
            EXPECT_EQ(s.ValueBuffer, "PULSE 0 1.0 20n 10n 20n 5n 70n");
        }
    }
    // A DC source keeps whatever its pulse fields hold; the variable resistor's pulse is checked too.
    ScriptedUiServices ui;
    CVoltageSource s(TypeVoltageSource);
    s.TRText.clear();
    EXPECT_TRUE(s.OnOK());
    CVariableR r(TypeVariableResistor);
    r.LawChoice = CVariableR::LawPulse;
    r.R2Text.clear();
    EXPECT_FALSE(r.OnOK());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains(" R2 "));
}

TEST(PartDialogs, VariableResistorValueTexts)
{
    // law|A|B|N|R1|R2|TD|TR|TF|PW|PER|waveform
    // clang-format off
    const ValueCase cases[] = {
        {"VARR POWER A=0 B=1 N=1", "0|A=0|B=1|N=1|1|10|10n|1n|1n|10n|100n|Waveform", "VARR POWER A=0 B=1 N=1"},
        {"VARR SQUARE 3 4",        "0|3|4||1|10|10n|1n|1n|10n|100n|Waveform",       "VARR POWER 3 4 "},
        {"varr pulse 2 20 5n",     "1|1|1|1|2|20|5n|||||Waveform",                  "VARR PULSE 2 20 5n    "},
        {"VARR ORLISK Rwave",      "2|1|1|1|1|10|10n|1n|1n|10n|100n|Rwave",         "VARR ORLISK Rwave"},
    };
    // clang-format on
    checkValueTexts<CVariableR>(TypeVariableResistor, cases, [](const CVariableR& r) {
        return QString::number(r.LawChoice) + u'|' +
               fields({&r.AText, &r.BText, &r.NText, &r.R1Text, &r.R2Text, &r.TDText, &r.TRText, &r.TFText,
                       &r.PWText, &r.PERText, &r.WaveformName});
    });
    // However a variable resistor is made, the fields of the laws its text does not name are the same.
    CVariableR tool(TypeVariableResistor), file, converted(static_cast<const CComponent&>(tool));
    for (CVariableR* r : {&file, &converted})
        EXPECT_EQ(fields({&r->AText, &r->R1Text, &r->R2Text, &r->TDText, &r->PERText, &r->WaveformName}),
                  fields({&tool.AText, &tool.R1Text, &tool.R2Text, &tool.TDText, &tool.PERText,
                          &tool.WaveformName}));
}

TEST(PartDialogs, SwitchValueTexts)
{
    // The lists search from their second item and wrap; an empty word selects the second item; a word
    // no item matches is written back as it stood.
    // criterion|time dependence|initial R|final R|critical value|time constant
    // clang-format off
    const ValueCase cases[] = {
        {"TIME 1E6 0.1 10n 1n LIN", "0|1|1E6|0.1|10n|1n", "TIME 1E6 0.1 10n 1n LIN"},
        {"volt 5 1 2k 3n exp",      "1|0|5|1|2k|3n",      "VOLT 5 1 2k 3n EXP"},
        {"T 1 2 3 4 T",             "0|2|1|2|3|4",        "TIME 1 2 3 4 T0/T"},
        {"",                        "1|1||||",            "VOLT     LIN"},
        {"SPARK 1 2 3 4 SQRT",      "-1|-1|1|2|3|4",      "SPARK 1 2 3 4 SQRT"},
    };
    // clang-format on
    checkValueTexts<CSwitch>(TypeResistiveSwitch, cases, [](const CSwitch& s) {
        return QStringLiteral("%1|%2|").arg(s.CriterionCombo).arg(s.TimeDependenceCombo) +
               fields({&s.InitialResistanceText, &s.FinalResistanceText, &s.CriticalValueText,
                       &s.TimeConstantText});
    });
    // Picking an item replaces the unmatched word.
    CSwitch s(TypeResistiveSwitch);
    s.ValueBuffer = "SPARK 1 2 3 4 SQRT";
    s.OnInitDialog();
    s.CriterionCombo = 2;
    s.OnOK();
    EXPECT_EQ(s.ValueBuffer, "CUR 1 2 3 4 SQRT");
}

TEST(PartDialogs, PlanarDiodeValueTexts)
{
    // Keys in any case and any order; words without "=" and unknown keys are skipped, and fields the
    // text does not name keep what they held. EL|EW|EG|CV|IM|BF|TOT|AET
    const ValueCase cases[] = {
        {"pldiode el=2 Ew=3 eG=4 cv=5 im=6 bf=7 tot=8 aet=9", "2|3|4|5|6|7|8|9",
         "PLDIODE EL=2 EW=3 EG=4 CV=5 IM=6 BF=7 TOT=8 AET=9"},
        {"PLDIODE AET=1 EL=5 XX=3 EG TOTAL=2", "5|||||||1", "PLDIODE EL=5 EW= EG= CV= IM= BF= TOT= AET=1"},
        {"EL=1=2 BF=", "1=2|||||||", "PLDIODE EL=1=2 EW= EG= CV= IM= BF= TOT= AET="},
    };
    checkValueTexts<CPlanarDiode>(TypePlanarDiodeModel, cases, [](const CPlanarDiode& d) {
        return fields(
            {&d.ELText, &d.EWText, &d.EGText, &d.CVText, &d.IMText, &d.BFText, &d.TOTText, &d.AETText});
    });
}

TEST(PartDialogs, DiodeValueTexts)
{
    // A text of parameters in any order and case comes back in the dialog's order, and a part name
    // that begins no item of the list is kept. Standard (0) or custom (1)
    // clang-format off
    const ValueCase cases[] = {
        {"1N4004", "0", "1N4004"}, {"1n4004", "0", "1N4004"}, {"1N", "0", "1N4001"}, {"", "0", "1N4001"},
        {"BAS16", "0", "BAS16"},   {"IS=", "1", "IS=1E-14"},
        {"IS=2E-12 BV=100 FOO=3", "1", "IS=2E-12 BV=100"},
        {"is=3e-9 n=1.7 Cjo=2p", "1", "IS=3e-9 N=1.7 CJO=2p"},
        {"IBV=14 BV=13 NR=12 ISR=11 TT=10 FC=9 VJ=8 M=7 CJO=6 EG=5 XTI=4 N=3 RS=2 IS=1", "1",
         "IS=1 RS=2 N=3 XTI=4 EG=5 CJO=6 M=7 VJ=8 FC=9 TT=10 ISR=11 NR=12 BV=13 IBV=14"},
    };
    // clang-format on
    checkValueTexts<CDiode>(TypeDiode, cases, [](const CDiode& d) { return QString::number(d.Fields.kind); });
}

TEST(PartDialogs, VariableCapacitorValueTexts)
{
    // Fixed (0), polynomial (1) or standard (2)|as a line; no law named: the default text's law.
    // clang-format off
    const ValueCase cases[] = {
        {"VARC TL STANDARD HRS 1n 5k", "2|1", "VARC TL STANDARD HRS 1n 5k"},
        {"VARC STANDARD z 2n",         "2|0", "VARC STANDARD Z5V 2n 30kV"},
        {"varc tl fixed 5n",           "0|1", "VARC TL FIXED 5n"},
        {"VARC FIXED",                 "0|0", "VARC FIXED 10nF"},
        {"VARC TL POLYNOMIAL  1n 2p  3p 4p  ", "1|1", "VARC TL POLYNOMIAL 1n 2p  3p 4p"},
        {"VARC TL LINEAR 5n",          "2|1", "VARC TL STANDARD HRS 10nF 30kV"},
        {"",                           "2|0", "VARC STANDARD HRS 10nF 30kV"},
    };
    // clang-format on
    checkValueTexts<CVariableC>(TypeVariableCapacitor, cases, [](const CVariableC& c) {
        return QStringLiteral("%1|%2").arg(c.Fields.law).arg(int(c.Fields.line));
    });
}

TEST(PartDialogs, WindowsExchangeTheFields)
{
    // Each template's window over a new part named X1, its name and value shown: the name shows, the
    // edits and clicks are handed to the part, which composes its value text; then the flags (name,
    // value, IC shown).
    using Flags = std::tuple<int, int, int>;
    struct Case {
        quint32 type;
        int nameEdit;
        std::vector<std::pair<int, const char*>> typed;
        std::vector<int> clicked;
        const char* composed;
        Flags flags;
    };
    // clang-format off
    const Case cases[] = {
        {TypeCapacitor, 1000, {{1002, "2n"}}, {1005}, "2n", {1, 1, 1}},
        {TypeResistor, 1000, {{1002, "2k"}}, {1004}, "2k", {1, 0, 0}},
        {TypeVoltageSource, 1010, {{1014, "5"}}, {1024}, "PULSE 0 5 20n 10n 20n 5n 70n", {1, 0, 0}},
        {TypeVariableResistor, 1010, {{1016, "N=2"}}, {1011}, "VARR POWER A=0 B=1 N=2", {0, 1, 0}},
        {TypeResistiveSwitch, 1000, {{1043, "20n"}}, {1010}, "TIME 1E6 0.1 20n 1n LIN", {1, 0, 0}},
        {TypePlanarDiodeModel, 1010, {{1064, "3"}}, {}, "PLDIODE EL=1 EW=1 EG=1 CV=2 IM=1 BF=50 TOT=10 AET=3", {1, 1, 0}},
        {TypeDiode, 1010, {{1013, ""}, {1025, "400"}}, {1006, 1008}, "IS=1E-14 BV=400", {1, 1, 1}},
        {TypeVariableCapacitor, 1010, {{1016, "5n"}}, {1005, 1024, 1013}, "VARC TL FIXED 5n", {1, 1, 1}},
    };
    // clang-format on
    QtPropertyDialogs dialogs;
    for (const Case& c : cases) {
        std::unique_ptr<CComponent> part = CTorvex2Doc::CreateComponent(c.type);
        part->NameBuffer = "X1";
        part->ValueBuffer = part->GetDefaultValue();
        part->NameVisibleCheck = part->ValueVisibleCheck = 1;
        part->OnInitDialog();
        std::unique_ptr<QDialog> window = dialogs.Create(*part);
        auto* d = dynamic_cast<FieldDialog*>(window.get());
        ASSERT_NE(d, nullptr) << c.type;
        EXPECT_EQ(d->Edit(c.nameEdit)->text(), "X1") << c.type;
        for (const auto& [id, text] : c.typed)
            d->Edit(id)->setText(text);
        for (int id : c.clicked)
            d->Button(id)->click();
        d->accept();
        EXPECT_EQ(d->result(), QDialog::Accepted) << c.type;
        EXPECT_EQ(part->ValueBuffer, QString(c.composed)) << c.type;
        EXPECT_EQ(std::tuple(part->NameVisibleCheck, part->ValueVisibleCheck, part->ICVisibleCheck), c.flags)
            << c.type;
    }
    // A refused pulse keeps the window open.
    ScriptedUiServices ui;
    CVoltageSource s(TypeVoltageSource);
    s.ValueBuffer = s.GetDefaultValue();
    s.OnInitDialog();
    std::unique_ptr<QDialog> window = dialogs.Create(s);
    auto* d = dynamic_cast<FieldDialog*>(window.get());
    ASSERT_NE(d, nullptr);
    d->Edit(1017)->clear();
    d->accept();
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_EQ(ui.messages.size(), 1);
    d->Radio(1005)->setChecked(true);
    d->accept();
    EXPECT_EQ(std::tuple(d->result(), s.ValueBuffer), std::tuple(int(QDialog::Accepted), QString("DC 1")));

    // The lines that only files hold edit through the common dialog; a template nobody registered has
    // no dialog.
    CVariableZ line;
    EXPECT_TRUE(qobject_cast<ComponentPropertiesDialog*>(dialogs.Create(line).get()));
    CComponent other(345);
    EXPECT_FALSE(dialogs.Create(other) || dialogs.Run(other));
}

TEST(PartDialogs, LabelTextAndBlockWindows)
{
    QtPropertyDialogs dialogs;
    CDrawing bubble(TypeBubbleConnector);
    bubble.LabelBuffer = "A1";
    bubble.LabelVisibleCheck = 1;
    auto label = dialogs.Create(bubble);
    auto* d311 = qobject_cast<EditLabelDialog*>(label.get());
    ASSERT_TRUE(d311);
    EXPECT_EQ(d311->Edit(1000)->text(), "A1");
    d311->Edit(1000)->setText("SUB2");
    d311->Check(1003)->setChecked(false);
    d311->accept();
    EXPECT_EQ(std::tuple(bubble.LabelBuffer, bubble.LabelVisibleCheck), std::tuple(QString("SUB2"), 0));

    CText text(TypeTextSelectionTool);
    text.Text = "note";
    text.OnInitDialog();
    auto edit = dialogs.Create(text);
    auto* d352 = qobject_cast<EditTextDialog*>(edit.get());
    ASSERT_TRUE(d352);
    EXPECT_EQ(d352->Edit(1010)->text(), "note");
    d352->Edit(1010)->setText("PARAMS: A=1");
    d352->accept();
    EXPECT_EQ(text.Text, "PARAMS: A=1");

    CSubcircuit block(TypeSubcircuitInterface);
    block.ValueBuffer = "C:\\Work\\stage.cas";
    block.ICVisibleCheck = 1;
    block.OnInitDialog();
    auto sub = dialogs.Create(block);
    auto* d351 = qobject_cast<SubcircuitEditDialog*>(sub.get());
    ASSERT_TRUE(d351);
    EXPECT_EQ(std::tuple(d351->Edit(1002)->text(), d351->Check(1005)->isChecked()),
              std::tuple(QString("C:\\Work\\stage.cas"), true));
    d351->Button(1019)->click();
    EXPECT_EQ(d351->Edit(1002)->text(), "stage.cas");
    ScriptedUiServices ui;
    ui.fileNames = {"/data/amp.cas"};
    d351->Button(1016)->click();
    d351->Button(1017)->click(); // no document to open from
    EXPECT_EQ(ui.messages, QStringList{CSubcircuit::OpenFailedMessage("/data/amp.cas")});
    d351->Edit(1000)->setText("X9");
    d351->accept();
    EXPECT_EQ(std::tuple(block.NameBuffer, block.ValueBuffer, block.ICVisibleCheck),
              std::tuple(QString("X9"), QString("/data/amp.cas"), 1));
}
