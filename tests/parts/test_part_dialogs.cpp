// The property dialogs of the sources and the resistor family: a value text read into the fields
// and composed again, refusals, and the Qt windows over the fields.
#include "CCurrentProbe.h"
#include "CPlanarDiode.h"
#include "CResistor.h"
#include "CSwitch.h"
#include "CTorvex2Doc.h"
#include "CVariableR.h"
#include "CVoltageSource.h"
#include "ComponentTypeId.h"
#include "PartsTestSupport.h"
#include "UiServices.h"
#include "ui/FieldDialog.h"
#include "ui/QtPropertyDialogs.h"

#include <gtest/gtest.h>

#include <span>

namespace {

QString fields(std::initializer_list<const QString*> list)
{
    QStringList out;
    for (const QString* f : list)
        out << *f;
    return out.join(u'|');
}

// Opens the dialog's fields on `value`, presses OK without a change; the fields shown and the text
// written (empty: refused).
template <class T> QString roundTrip(T& part, const char* value)
{
    part.ValueBuffer = QString::fromLatin1(value);
    part.OnInitDialog();
    const QString before = part.ValueBuffer;
    if (!part.OnOK()) {
        EXPECT_EQ(part.ValueBuffer, before);
        return {};
    }
    return part.ValueBuffer;
}

// A value text, what the dialog shows of it ("|" between the fields, the choices of its lists and
// buttons first) and the text OK writes back without a change.
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
        const QString written = roundTrip(part, c.value);
        EXPECT_EQ(shown(part), QString(c.shown)) << c.value;
        EXPECT_EQ(written, QString(c.written)) << c.value;
    }
}

} // namespace

TEST(PartDialogs, SourceValueTexts)
{
    // kind|DC|V1|V2|TD|TR|TF|PW|PER|waveform
    // clang-format off
    const ValueCase cases[] = {
        {"PULSE 0 1.0 20n 10n 20n 5n 70n", "1|1|0|1.0|20n|10n|20n|5n|70n|Waveform", "PULSE 0 1.0 20n 10n 20n 5n 70n"},
        {"pulse 0 5",                      "1|1|0|5||||||Waveform",               "PULSE 0 5     "},
        {"  PULSE   0  1   2n ",           "1|1|0|1|2n|||||Waveform",             "PULSE 0 1 2n    "},
        {"DC 5",                           "0|5|0|1|10n|1n|1n|10n|100n|Waveform", "DC 5"},
        {"5",                              "0|5|0|1|10n|1n|1n|10n|100n|Waveform", "DC 5"},
        {"-2.5E3",                         "0|-2.5E3|0|1|10n|1n|1n|10n|100n|Waveform", "DC -2.5E3"},
        {".5k",                            "0|.5k|0|1|10n|1n|1n|10n|100n|Waveform", "DC .5k"},
        {"SIN 0 1",                        "0|0|0|1|10n|1n|1n|10n|100n|Waveform", "DC 0"},
        {"",                               "0||0|1|10n|1n|1n|10n|100n|Waveform",  "DC "},
        {"ORLISK Shot12",                  "2|1|0|1|10n|1n|1n|10n|100n|Shot12",   "ORLISK Shot12"},
        {"orlisk",                         "2|1|0|1|10n|1n|1n|10n|100n|",         "ORLISK "},
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
    struct Case {
        int emptied; // index of the field emptied, then the fields after it as listed
        bool laterEmptied;
        const char* refusedField;
    };
    const Case cases[] = {
        {3, false, "TR"}, {0, false, "V1"}, {6, false, nullptr}, {2, true, nullptr}, {1, false, "V2"}};
    for (const Case& c : cases) {
        ScriptedUiServices ui;
        CVoltageSource s(TypeVoltageSource);
        QString* f[] = {&s.V1Text, &s.V2Text, &s.TDText, &s.TRText, &s.TFText, &s.PWText, &s.PERText};
        s.SourceKind = CVoltageSource::KindPulse;
        s.ValueBuffer = "PULSE 0 1.0 20n 10n 20n 5n 70n";
        for (int i = c.emptied; i < 7; ++i)
            if (i == c.emptied || c.laterEmptied) f[i]->clear();
        EXPECT_EQ(s.OnOK(), c.refusedField == nullptr) << c.emptied;
        if (c.refusedField) {
            ASSERT_EQ(ui.messages.size(), 1);
            EXPECT_TRUE(ui.messages[0].contains(QStringLiteral(" %1 ").arg(c.refusedField)))
                << qPrintable(ui.messages[0]);
            EXPECT_EQ(s.ValueBuffer, "PULSE 0 1.0 20n 10n 20n 5n 70n");
        } else {
            EXPECT_TRUE(ui.messages.isEmpty());
        }
    }
    // A DC source keeps whatever its pulse fields hold.
    ScriptedUiServices ui;
    CVoltageSource s(TypeVoltageSource);
    s.TRText.clear();
    EXPECT_TRUE(s.OnOK());
    EXPECT_EQ(s.ValueBuffer, "DC 1");

    // The variable resistor's pulse the same way.
    CVariableR r(TypeVariableResistor);
    r.LawChoice = CVariableR::LawPulse;
    r.R2Text.clear();
    EXPECT_FALSE(r.OnOK());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains(" R2 "));
    r.TDText.clear(), r.TRText.clear(), r.TFText.clear(), r.PWText.clear(), r.PERText.clear();
    EXPECT_TRUE(r.OnOK());
    EXPECT_EQ(r.ValueBuffer, "VARR PULSE 1      ");
}

TEST(PartDialogs, VariableResistorValueTexts)
{
    // law|A|B|N|R1|R2|TD|TR|TF|PW|PER|waveform
    // clang-format off
    const ValueCase cases[] = {
        {"VARR POWER A=0 B=1 N=1", "0|A=0|B=1|N=1|1|10|10n|1n|1n|10n|100n|Waveform", "VARR POWER A=0 B=1 N=1"},
        {"VARR POWER 1 2",         "0|1|2||1|10|10n|1n|1n|10n|100n|Waveform",       "VARR POWER 1 2 "},
        {"VARR SQUARE 3 4 5",      "0|3|4|5|1|10|10n|1n|1n|10n|100n|Waveform",      "VARR POWER 3 4 5"},
        {"VARR",                   "0||||1|10|10n|1n|1n|10n|100n|Waveform",         "VARR POWER   "},
        {"VARR PULSE 1 100",       "1|1|1|1|1|100||||||Waveform",                   "VARR PULSE 1 100     "},
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
        {"TIME 1E6 0.1 10n 1n LIN",   "0|1|1E6|0.1|10n|1n", "TIME 1E6 0.1 10n 1n LIN"},
        {"volt 5 1 2k 3n exp",        "1|0|5|1|2k|3n",      "VOLT 5 1 2k 3n EXP"},
        {"T 1 2 3 4 T",               "0|2|1|2|3|4",        "TIME 1 2 3 4 T0/T"},
        {"ENERGY   1 2 3 4 TANH",     "3|3|1|2|3|4",        "ENERGY 1 2 3 4 TANH"},
        {"CUR 1 2 3 4",               "2|1|1|2|3|4",        "CUR 1 2 3 4 LIN"},
        {"",                          "1|1||||",            "VOLT     LIN"},
        {"SPARK 1 2 3 4 SQRT",        "-1|-1|1|2|3|4",      "SPARK 1 2 3 4 SQRT"},
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
    // clang-format off
    const ValueCase cases[] = {
        {"PLDIODE EL=1 EW=1 EG=1 CV=2 IM=1 BF=50 TOT=10 AET=1", "1|1|1|2|1|50|10|1",
         "PLDIODE EL=1 EW=1 EG=1 CV=2 IM=1 BF=50 TOT=10 AET=1"},
        {"pldiode el=2 Ew=3 eG=4 cv=5 im=6 bf=7 tot=8 aet=9", "2|3|4|5|6|7|8|9",
         "PLDIODE EL=2 EW=3 EG=4 CV=5 IM=6 BF=7 TOT=8 AET=9"},
        {"PLDIODE AET=1 EL=5 XX=3 EG TOTAL=2", "5|||||||1", "PLDIODE EL=5 EW= EG= CV= IM= BF= TOT= AET=1"},
        {"EL=1=2 BF=", "1=2|||||||", "PLDIODE EL=1=2 EW= EG= CV= IM= BF= TOT= AET="},
    };
    // clang-format on
    checkValueTexts<CPlanarDiode>(TypePlanarDiodeModel, cases, [](const CPlanarDiode& d) {
        return fields(
            {&d.ELText, &d.EWText, &d.EGText, &d.CVText, &d.IMText, &d.BFText, &d.TOTText, &d.AETText});
    });
}

TEST(PartDialogs, EditingThroughTheLabels)
{
    // A source placed in a document: its dialog opens on the labels, and OK writes the composed text
    // and the flags back; a new first letter is refused with the notice, the rest still taken.
    PartsHost host;
    auto& v = host.add(std::make_unique<CVoltageSource>(TypeVoltageSource));
    v.CreateAttachments(host, 0, 0);
    CComponent& name = host.at(1);
    CComponent& value = host.at(2);
    ScriptedUiServices ui;
    ScriptedDialogs dialogs;
    dialogs.script = [](CComponent& object) {
        auto& s = dynamic_cast<CVoltageSource&>(object);
        EXPECT_EQ(std::tuple(s.DialogName, s.SourceKind, s.V1Text, s.PERText, s.DialogValueVisible),
                  std::tuple(QString("V1"), 1, QString("0"), QString("70n"), 1));
        s.SourceKind = CVoltageSource::KindDC;
        s.DialogName = "R1";
        s.DialogValueVisible = 0;
        return true;
    };
    EXPECT_TRUE(v.EditProperties(host));
    EXPECT_EQ(std::tuple(name.Text, value.Text, value.Visible),
              std::tuple(QString("V1"), QString("DC 1"), 0));
    EXPECT_EQ(ui.messages, QStringList{CComponent::FirstLetterNotice()});

    // The probe has no dialog.
    PartsHost probeHost;
    auto& probe = probeHost.add(std::make_unique<CCurrentProbe>(TypeCurrentProbe));
    probe.CreateAttachments(probeHost, 0, 0);
    EXPECT_FALSE(probe.EditProperties(probeHost));
    EXPECT_EQ(dialogs.runs, 1);
}

TEST(PartDialogs, WindowsExchangeTheFields)
{
    // Each template's window over a new part: every control the dialog names is there, the fields
    // show, and OK hands the edited controls to the part, which composes its value text.
    struct Case {
        quint32 type;
        std::vector<int> controls; // the name's edit first, the checks last
        int editId;
        const char* typed;
        const char* composed;
    };
    // clang-format off
    const Case cases[] = {
        {TypeResistor, {1000, 1002, 1003, 1004}, 1002, "2k", "2k"},
        {TypeVoltageSource, {1010, 1012, 1013, 1014, 1021, 1017, 1018, 1019, 1022, 1023, 1005, 1006, 1007, 1011, 1024},
         1014, "5", "PULSE 0 5 20n 10n 20n 5n 70n"},
        {TypeVariableResistor, {1010, 1012, 1015, 1016, 1013, 1014, 1021, 1017, 1018, 1019, 1022, 1023, 1005, 1006,
         1007, 1011, 1024}, 1016, "N=2", "VARR POWER A=0 B=1 N=2"},
        {TypeResistiveSwitch, {1000, 1041, 1042, 1043, 1044, 1002, 1039, 1040, 1009, 1010}, 1043, "20n",
         "TIME 1E6 0.1 20n 1n LIN"},
        {TypePlanarDiodeModel, {1010, 1013, 1014, 1021, 1017, 1018, 1063, 1062, 1064, 1011, 1024}, 1064, "3",
         "PLDIODE EL=1 EW=1 EG=1 CV=2 IM=1 BF=50 TOT=10 AET=3"},
    };
    // clang-format on
    QtPropertyDialogs dialogs;
    for (const Case& c : cases) {
        std::unique_ptr<CComponent> part = CTorvex2Doc::CreateComponent(c.type);
        part->NameBuffer = part->Text + "1";
        part->ValueBuffer = part->GetDefaultValue();
        part->NameVisibleCheck = part->ValueVisibleCheck = 1;
        part->OnInitDialog();
        std::unique_ptr<QDialog> window = dialogs.Create(*part);
        auto* d = dynamic_cast<FieldDialog*>(window.get());
        ASSERT_NE(d, nullptr) << c.type;
        for (int id : c.controls)
            EXPECT_NE(d->Control(id), nullptr) << c.type << " control " << id;
        EXPECT_TRUE(d->Check(c.controls.end()[-1])->isChecked() &&
                    d->Check(c.controls.end()[-2])->isChecked());
        EXPECT_EQ(d->Edit(c.controls.front())->text(), part->Text + "1") << c.type;
        d->Edit(c.editId)->setText(c.typed);
        d->accept();
        EXPECT_EQ(d->result(), QDialog::Accepted) << c.type;
        EXPECT_EQ(part->ValueBuffer, QString(c.composed)) << c.type;
    }
    // A refused pulse keeps the window open.
    ScriptedUiServices ui;
    CVoltageSource s(TypeVoltageSource);
    s.ValueBuffer = s.GetDefaultValue();
    s.OnInitDialog();
    std::unique_ptr<QDialog> window = dialogs.Create(s);
    auto* d = dynamic_cast<FieldDialog*>(window.get());
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->Radio(1006)->isChecked());
    d->Edit(1017)->clear();
    d->accept();
    EXPECT_NE(d->result(), QDialog::Accepted);
    EXPECT_EQ(ui.messages.size(), 1);
    d->Radio(1005)->setChecked(true);
    d->accept();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(s.ValueBuffer, "DC 1");
}
