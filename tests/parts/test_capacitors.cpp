// Capacitors, inductors, varistors, transformers and diodes: the parts, their symbols and their
// dialogs.
#include "CCapacitor.h"
#include "CDiode.h"
#include "CInductor.h"
#include "CTransformer.h"
#include "CTransmissionLine.h"
#include "CVariableC.h"
#include "ComponentTypeId.h"
#include "DcRecorder.h"
#include "PartsTestSupport.h"
#include "UiServices.h"
#include "ui/ComponentPropertiesDialog.h"
#include "ui/DiodeDialog.h"
#include "ui/QtPropertyDialogs.h"
#include "ui/VariableCapacitorDialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <cmath>
#include <numbers>

namespace {

const char* const kCapacitorFigure =
    "Line 0,0 180,0\nLine 180,-144 180,144\nLine 252,144 252,-144\nLine 252,0 432,0";
const std::array<Rect, 4> kCapacitorExtents = twoPinExtents(432, 144);
const std::array<std::vector<QPoint>, 4> kPins432 = twoPins(432);
const std::vector<QPoint> kCapacitorLabels{{150, 350}, {140, -150}, {140, -350}};

// The page point where an arc reaches farthest from its chord: arcs run counterclockwise as the screen
// shows the page, y upward.
QPointF arcApex(const DcEntry& arc)
{
    const QPointF c = QPointF(arc.points[0] + arc.points[1]) / 2;
    const double rx = std::abs(arc.points[1].x() - arc.points[0].x()) / 2.0;
    const double ry = std::abs(arc.points[1].y() - arc.points[0].y()) / 2.0;
    const auto angle = [&](QPoint p) { return std::atan2(p.y() - c.y(), p.x() - c.x()); };
    double sweep =
        std::fmod(angle(arc.points[3]) - angle(arc.points[2]) + 4 * std::numbers::pi, 2 * std::numbers::pi);
    if (sweep == 0) sweep = 2 * std::numbers::pi;
    const double mid = angle(arc.points[2]) + sweep / 2;
    return c + QPointF(rx * std::cos(mid), ry * std::sin(mid));
}

} // namespace

TEST(CapacitorFamily, EachClassAsItsToolMakesIt)
{
    const auto inductorArcs = "Arc 144,100 288,-100 288,0 144,0\nArc 288,100 432,-100 432,0 288,0\n"
                              "Arc 432,100 576,-100 576,0 432,0\nArc 576,100 720,-100 720,0 576,0";
    const std::string inductor = std::string("Line 0,0 144,0\n") + inductorArcs + "\nLine 720,0 864,0";
    const std::string varc =
        std::string(kCapacitorFigure) + "\nLine 72,-144 360,144\nLine 360,144 288,144\nLine 360,144 360,72";
    // clang-format off
    const PartRow rows[] = {
        {"CCapacitor", 520, "C", 329, "1n", "IC=0", "1 2", kCapacitorExtents, kCapacitorLabels, kPins432,
         kCapacitorFigure},
        {"CVariableC", 522, "C", 345, "VARC STANDARD Z5V 10nF 30kV", "IC=0", "1 2", kCapacitorExtents,
         kCapacitorLabels, kPins432, varc.c_str()},
        {"CMOV", 572, "R", 329, "MOV C=2nF VT=100 N=-15", "IC=0", "1 2",
         twoPinExtents(576, 144), kCapacitorLabels, twoPins(576),
         "Polyline 0,0 144,0 168,72 216,-72 264,72 312,-72 360,72 408,-72 432,0 576,0\n"
         "Polyline 72,-144 144,-144 432,144 504,144"},
        {"CInductor", 521, "L", 329, "1nH", "IC=0", "1 2",
         {{{0, 144, 864, 0}, {0, 0, 144, -864}, {-864, 144, 0, -144}, {-144, 864, 0, 0}}},
         {{300, 350}, {300, -100}, {300, -300}},
         twoPins(864), inductor.c_str()},
        {"CTransformer", 570, "K", 329, "L1=100n L2=1u K=.9", "IC=0,0", "1 2 1 2",
         {{{0, 0, 494, -864}, {-864, 0, 0, -494}, {0, 864, 494, 0}, {0, 0, 864, -494}}},
         {{450, 0}, {450, -300}, {450, -670}},
         {{{{0, 0}, {0, -864}, {350, 0}, {350, -864}}, {{0, 0}, {-864, 0}, {0, -350}, {-864, -350}},
           {{0, 0}, {0, 864}, {350, 0}, {350, 864}}, {{0, 0}, {864, 0}, {0, -350}, {864, -350}}}},
         "Line 0,0 0,-144\nArc -100,-144 100,-288 0,-288 0,-144\nArc -100,-288 100,-432 0,-432 0,-288\n"
         "Arc -100,-432 100,-576 0,-576 0,-432\nArc -100,-576 100,-720 0,-720 0,-576\nLine 0,-720 0,-864\n"
         "Line 144,-864 144,0\nLine 180,0 180,-864\nLine 350,0 350,-144\nArc 250,-144 450,-288 350,-144 350,-288\n"
         "Arc 250,-288 450,-432 350,-288 350,-432\nArc 250,-432 450,-576 350,-432 350,-576\n"
         "Arc 250,-576 450,-720 350,-576 350,-720\nLine 350,-720 350,-864"},
        {"CDiode", 571, "D", 347, "1N4004", "IC=0", "1 2", kCapacitorExtents, {{200, 300}, {200, -150}, {200, -350}},
         kPins432, "Line 0,0 144,0\nLine 144,0 144,144\nLine 144,144 288,0\nLine 288,0 144,-144\n"
                   "Line 144,-144 144,0\nLine 288,144 288,-144\n"
                   "Line 288,0 432,0"},
    };
    // clang-format on
    checkFamily(rows);
}

TEST(CapacitorFamily, TheVaristorBarKeepsItsSlantUpright)
{
    const std::pair<int, const char*> cases[] = {{2, "Polyline 144,-576 144,-504 -144,-216 -144,-144"},
                                                 {3, "Polyline -72,-144 -144,-144 -432,144 -504,144"},
                                                 {4, "Polyline -144,144 -144,216 144,504 144,576"}};
    for (const auto& [orientation, bar] : cases) {
        CMOV mov(TypeMetalOxideVaristor);
        mov.Orientation = orientation;
        RecordingDc dc;
        mov.Draw(dc);
        ASSERT_EQ(dc.Count(DcShape::Polyline), 2);
        EXPECT_EQ(dc.OfKind(DcShape::Polyline)[1].Describe(), bar) << orientation;
    }
}

TEST(CapacitorFamily, HumpsBulgeUpRightDownLeftAndTheWindingsTowardsTheCore)
{
    const QPointF bulge[] = {{0, 1}, {1, 0}, {0, -1}, {-1, 0}};
    for (int o = 1; o <= 4; ++o) {
        CInductor inductor(TypeInductor);
        CTLineL lineInductor(TypeLineInductor);
        CTransformer transformer(TypeIdealTransformer);
        for (CComponent* part : {static_cast<CComponent*>(&inductor), static_cast<CComponent*>(&lineInductor),
                                 static_cast<CComponent*>(&transformer)}) {
            SCOPED_TRACE(testing::Message() << part->RuntimeClass().name << " orientation " << o);
            part->Orientation = o;
            RecordingDc dc;
            part->Draw(dc);
            const std::vector<DcEntry> arcs = dc.OfKind(DcShape::Arc);
            ASSERT_EQ(arcs.size(), part == &transformer ? 8u : 4u);
            const Rect& e = part->Extent;
            const QPointF core((e.left + e.right) / 2.0, (e.top + e.bottom) / 2.0);
            for (const DcEntry& arc : arcs) {
                const QPointF apex = arcApex(arc);
                const QPointF chord = QPointF(arc.points[0] + arc.points[1]) / 2;
                if (part == &transformer) {
                    EXPECT_LT(QLineF(apex, core).length(), QLineF(chord, core).length());
                    continue;
                }
                // Each hump runs from its end farther from pin 1 to the nearer one.
                EXPECT_GT(QLineF(QPointF(), arc.points[2]).length(),
                          QLineF(QPointF(), arc.points[3]).length());
                EXPECT_EQ((apex - chord) / 100, bulge[o - 1]);
            }
        }
    }
}

TEST(PartDialogs, DiodeValueTexts)
{
    // OK without a change writes `composed`; a text of parameters in any order and case comes back in
    // the dialog's order, and a part name that begins no item of the list is kept.
    const std::tuple<const char*, int, const char*> cases[] = {
        {"1N4004", DiodeFields::Standard, "1N4004"},
        {"1N4001", DiodeFields::Standard, "1N4001"},
        {"1n4004", DiodeFields::Standard, "1N4004"},
        {"1N", DiodeFields::Standard, "1N4001"},
        {"", DiodeFields::Standard, "1N4001"},
        {"BAS16", DiodeFields::Standard, "BAS16"},
        {"IS=2E-12 BV=100 FOO=3", DiodeFields::Custom, "IS=2E-12 BV=100"},
        {"RS=1 IS=2E-12", DiodeFields::Custom, "IS=2E-12 RS=1"},
        {"is=3e-9 n=1.7 Cjo=2p", DiodeFields::Custom, "IS=3e-9 N=1.7 CJO=2p"},
        {"IS=", DiodeFields::Custom, "IS=1E-14"},
        {"IBV=14 BV=13 NR=12 ISR=11 TT=10 FC=9 VJ=8 M=7 CJO=6 EG=5 XTI=4 N=3 RS=2 IS=1", DiodeFields::Custom,
         "IS=1 RS=2 N=3 XTI=4 EG=5 CJO=6 M=7 VJ=8 FC=9 TT=10 ISR=11 NR=12 BV=13 IBV=14"},
    };
    for (const auto& [value, kind, composed] : cases) {
        DiodeFields f;
        f.ReadValue(value);
        EXPECT_EQ(f.kind, kind) << value;
        EXPECT_EQ(f.Compose(), QString(composed)) << value;
    }
    // "Custom:" with every field empty.
    DiodeFields f;
    f.ReadValue("1N4001");
    f.kind = DiodeFields::Custom;
    f.parameters = {};
    EXPECT_EQ(f.Compose(), "IS=1E-14");
    EXPECT_EQ(f.parameters[0], "1E-14");
}

TEST(PartDialogs, VariableCapacitorValueTexts)
{
    using F = VariableCapacitorFields;
    const std::tuple<const char*, int, bool, const char*> cases[] = {
        {"VARC STANDARD Z5V 10nF 30kV", F::Standard, false, "VARC STANDARD Z5V 10nF 30kV"},
        {"VARC TL STANDARD HRS 1n 5k", F::Standard, true, "VARC TL STANDARD HRS 1n 5k"},
        {"VARC STANDARD Z5V", F::Standard, false, "VARC STANDARD Z5V 10nF 30kV"},
        {"VARC STANDARD z 2n", F::Standard, false, "VARC STANDARD Z5V 2n 30kV"},
        {"VARC FIXED 5n", F::Fixed, false, "VARC FIXED 5n"},
        {"varc tl fixed 5n", F::Fixed, true, "VARC TL FIXED 5n"},
        {"VARC FIXED", F::Fixed, false, "VARC FIXED 10nF"},
        {"VARC TL POLYNOMIAL  1n 2p  3p 4p  ", F::Polynomial, true, "VARC TL POLYNOMIAL 1n 2p  3p 4p"},
        // No law named: the default text's law.
        {"VARC", F::Standard, false, "VARC STANDARD HRS 10nF 30kV"},
        {"VARC TL LINEAR 5n", F::Standard, true, "VARC TL STANDARD HRS 10nF 30kV"},
        {"", F::Standard, false, "VARC STANDARD HRS 10nF 30kV"},
    };
    for (const auto& [value, law, line, composed] : cases) {
        const F f = F::FromValue(value);
        EXPECT_EQ(std::tuple(f.law, f.line), std::tuple(law, line)) << value;
        EXPECT_EQ(f.Compose(), QString(composed)) << value;
    }
    F f;
    f.line = true;
    EXPECT_EQ(f.Compose(), "VARC TL STANDARD HRS 10nF 30kV");
}

TEST(PartDialogs, EditingChangesOnlyTheLabels)
{
    ScriptedUiServices ui;
    ScriptedDialogs dialogs;
    PartsHost host;
    CComponent& diode = placePart(host, std::make_unique<CDiode>(TypeDiode));
    CComponent& cap = placePart(host, std::make_unique<CCapacitor>(TypeCapacitor));

    dialogs.script = [](CComponent& object) {
        auto& d = dynamic_cast<CDiode&>(object);
        EXPECT_EQ(std::tuple(d.Fields.kind, d.Fields.parts.value(d.Fields.part)),
                  std::tuple(int(DiodeFields::Standard), QString("1N4004")));
        d.Fields.kind = DiodeFields::Custom;
        d.Fields.parameters[12] = "400"; // BV
        d.NameBuffer = "X1";
        return true;
    };
    EXPECT_TRUE(diode.EditProperties(host));
    EXPECT_EQ(objectsAfter(host, diode)[1]->Text, "IS=1E-14 BV=400");
    EXPECT_EQ(objectsAfter(host, diode)[0]->Text, "D1");
    EXPECT_EQ(ui.messages, QStringList{CComponent::FirstLetterNotice()});

    dialogs.script = [](CComponent& object) {
        object.NameBuffer = "C7";
        return true;
    };
    EXPECT_TRUE(cap.EditProperties(host));
    EXPECT_EQ(std::tuple(objectsAfter(host, cap)[0]->Text, cap.Text),
              std::tuple(QString("C7"), QString("C1")));
}

TEST(PartDialogs, WidgetsShowAndComposeTheFields)
{
    QtPropertyDialogs dialogs;

    CDiode diode(TypeDiode);
    diode.NameBuffer = "D1", diode.ValueBuffer = "1N4004", diode.ICBuffer = "IC=0";
    diode.NameVisibleCheck = 1, diode.ValueVisibleCheck = 1, diode.ICVisibleCheck = 0;
    diode.OnInitDialog();
    std::unique_ptr<QDialog> d = dialogs.Create(diode);
    auto* dd = qobject_cast<DiodeDialog*>(d.get());
    ASSERT_TRUE(dd);
    EXPECT_EQ(std::tuple(dd->Parts()->currentText(), dd->Radio(1005)->isChecked(), dd->Edit(1010)->text(),
                         dd->Edit(1013)->text(), dd->Check(1008)->isChecked()),
              std::tuple(QString("1N4004"), true, QString("D1"), QString("1E-14"), false));
    dd->Radio(1006)->setChecked(true);
    dd->Edit(1013)->clear();
    dd->Edit(1025)->setText("400");
    dd->Check(1008)->setChecked(true);
    dd->accept();
    EXPECT_EQ(dd->result(), QDialog::Accepted);
    EXPECT_EQ(std::tuple(diode.ValueBuffer, diode.ICVisibleCheck), std::tuple(QString("IS=1E-14 BV=400"), 1));

    CVariableC varc(TypeVariableCapacitor);
    varc.ValueBuffer = varc.GetDefaultValue();
    varc.OnInitDialog();
    d = dialogs.Create(varc);
    auto* vd = qobject_cast<VariableCapacitorDialog*>(d.get());
    ASSERT_TRUE(vd);
    EXPECT_EQ(std::tuple(vd->Dielectrics()->currentText(), vd->Radio(1006)->isChecked(),
                         vd->Edit(1017)->text(), vd->Edit(1018)->text(), vd->Check(1024)->isChecked()),
              std::tuple(QString("Z5V"), true, QString("10nF"), QString("30kV"), false));
    vd->Radio(1005)->setChecked(true);
    vd->Edit(1016)->setText("5n");
    vd->Check(1024)->setChecked(true);
    vd->accept();
    EXPECT_EQ(varc.ValueBuffer, "VARC TL FIXED 5n");

    // The lines that only files hold edit through the common dialog.
    CVariableZ line;
    d = dialogs.Create(line);
    EXPECT_TRUE(qobject_cast<ComponentPropertiesDialog*>(d.get()));
}
