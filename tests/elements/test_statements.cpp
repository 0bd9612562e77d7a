// What every element family refuses to read, and the traces each element offers.
#include "SimHarness.h"

#include <gtest/gtest.h>

TEST(Statements, RefusedWithTheirMessage)
{
    // Every message ends in the element's name; sources count their tokens before reading any.
    const QString few = "Invalid Netlist:  Not enough arguments: ",
                  fewer = "Invalid Netlist.  Not enough arguments: ";
    const QString args = "Error:  Invalid Netlist Line:  Not enough arguments: ";
    const QString varr = "Error:  Invalid Netlist Line:  Unrecognized variable resistor type: ";
    const QString source = "Netlist Error:  Unknown or invalid voltage source type encountered.";
    const QString cap = "Invalid Netlist.  Unrecongnized variable cap.: ";
    const auto bad = [](const char* key) { return QString("Invalid Netlist.  Invalid %1: ").arg(key); };
    // clang-format off
    const std::pair<const char*, QString> cases[] = {
        {"R1 N1 N2", few},                           {"S1 N1 0 TIME 1 2 3 4", args},
        {"S1 N1 0 TIMED 1 2 3 4 EXP", "Error:  Invalid Netlist Line:  Unrecognized switch type: "},
        {"S1 N1 0 TIME 1 2 3 4 SQRT", "Warning:  Invalid Switch Parameter: Unknown or invalid switch type "
                                      "encountered."},
        {"D1 N1 0 IDIODE RON=1", args},              {"R1 N1 0 VARR POWER", args},
        {"R1 N1 0 VARR POWER A=1", varr},            {"R1 N1 0 VARR POWER A=1 B=2", args},
        {"R1 N1 0 VARR PULSE 1", varr},              {"R1 N1 0 VARR LOG 1 2 3", varr},
        {"V1", few},                                 {"V1 N1", few},
        {"I1 N1 0", few},                            {"V1 N1 0 DC", few},
        {"I1 N1 0 ORLISK", few},                     {"V1 N1 0 PULSE 0", source},
        {"I2 N1 0 SIN 0 1 1MEG", source},            {"C1 N1 0", few},
        {"L1 N1", few},                              {"C2 N1 0 VARC FIXED 1N", fewer},
        {"C2 N1 0 VARC POLYNOMIAL 1N 0 0 0", fewer}, {"C2 N1 0 VARC STANDARD Z5V 1N 100", fewer},
        {"C2 N1 0 VARC LINEAR 1N IC=0", cap},        {"C2 N1 0 VARC STANDARD Z5V 1N 0 IC=0", bad("VRATED")},
        {"C2 N1 0 VARC STANDARD HRS 1N 1E999 IC=0", bad("VRATED")},
        {"C1 N1 0 VARC TL FIXED 10N", fewer},        {"C1 N1 0 VARC TL STANDARD Z5V 1N 100", fewer},
        {"C1 N1 0 VARC TL POLYNOMIAL 1N 0 0 0", fewer},
        {"C1 N1 0 VARC TL LINEAR 1N IC=0", cap},
        {"C1 N1 0 VARC TL STANDARD Z5V 1N 0 IC=0", bad("VRATED")},
        {"D1 NA 0", few},                            {"D1 NA 0 IS=0", bad("IS")},
        {"D1 NA 0 IS=-1E-14 RS=1", bad("IS")},       {"D1 NA 0 IS=1E999", bad("IS")},
        {"D1 NA 0 N=0", bad("N")},                   {"D1 NA 0 IS=1P N=-1", bad("N")},
        {"K1 NP 0 NS 0 L1=1U L2=1U", few},           {"K1 NP 0 NS 0 L1=1U L2=1U X", few},
        {"K1 NP 0 NS 0 L1=1U K=1 X", few},           {"K1 NP 0 NS 0 L2=1U K=1 X", few},
        {"K1 NP 0 NS 0 L1=-1U L2=1U K=0.5", bad("L1")}, {"K1 NP 0 NS 0 L1=1U L2=-1U K=0.5", bad("L2")},
        {"T1 N1 0 N2 0 50", fewer},                  {"T1", fewer},
        {"C1 N1 0 TL", fewer},                       {"L1 N1 0 TL", fewer},
        {"C1 N1 0 TL C=0", bad("C=0")},              {"L1 N1 0 TL 0NH", bad("L=0")},
        {"T1 N1 0 N2 0 50 1E999", bad("TD")},        {"T1 N1 0 N2 0 50 -1E999", bad("TD")},
        {"T1 N1 0 N2 0 50 TD=1E300", bad("TD")},     {"T1 N1 0 N2 0 LOSSYZ Z0=50 TD=5N RHO=2 ER=81", fewer},
        {"T1 N1 0 N2 0 LOSSYX Z0=50 Z1=20 TD=5N RHO=2 ER=81", fewer},
        {"T1 N1 0 N2 0 LOSSYR Z0=50 TD=5N R=2", fewer},
        {"T1 N1 0 N2 0 LOSSYZ Z0=0 TD=5N RHO=2 ER=81 IC=0", bad("Z0")},
        {"T1 N1 0 N2 0 LOSSYZ Z0=-50 TD=5N RHO=2 ER=81 IC=0", bad("Z0")},
        {"T1 N1 0 N2 0 LOSSYX Z0=-50 Z1=20 TD=5N RHO=2 ER=81 IC=0", bad("Z0")},
        {"T1 N1 0 N2 0 LOSSYX Z0=0 Z1=0 TD=5N RHO=2 ER=81 IC=0", bad("Z1")},
        {"T1 N1 0 N2 0 LOSSYX Z0=50 Z1=0 TD=5N RHO=0 ER=81 IC=0", bad("Z1")},
        {"T1 N1 0 N2 0 LOSSYX Z0=50 Z1=0 TD=5N RHO=2 ER=0 IC=0", bad("Z1")},
        {"T1 N1 0 N2 0 LOSSYX Z0=50 Z1=-1 TD=5N RHO=2 ER=81 IC=0", bad("Z1")},
        {"T1 N1 0 N2 0 LOSSYR Z0=-1 TD=5N R=2 IC=0", bad("Z0")},
        {"T1 N1 0 N2 0 LOSSYR Z0=1E999 TD=5N R=2 IC=0", bad("Z0")},
        {"T1 N1 0 N2 0 LOSSYR Z0=50 TD=1E999 R=2 IC=0", bad("TD")}};
    // clang-format on
    for (const auto& [statement, message] : cases)
        expectRefused(QString("* refused\nR9 N1 0 1\n%1\nR8 N2 0 1\n").arg(statement),
                      message + QString(statement).section(' ', 0, 0));
}

TEST(Statements, OutputNamesByGroupAndEveryNameAnswers)
{
    SimHarness h;
    ASSERT_TRUE(h.runClean("* names\nV1 N1 0 DC 1\nR1 N1 0 1\nS1 N1 0 TIME 1 2 3 4 EXP\n"
                           "D1 N1 0 IDIODE RON=1 ROFF=2\nR2 N1 0 VARR POWER 1 2 3\nC1 N1 N2 1N\n"
                           "C2 N2 0 VARC FIXED 1N IC=0\nC3 N1 0 VARC TL FIXED 1N IC=0\nT7 N1 0 N3 0 50 1N\n"
                           "R3 N3 0 50\n",
                           "1ns", "2ns"));
    const std::pair<const char*, QStringList> groups[] = {
        {"Part Voltages", {"V(R1)", "V(S1)", "V(D1)", "V(R2)", "V(C1)", "V(C2)", "V(R3)"}},
        {"Part Currents", {"I(R1)", "I(S1)", "I(D1)", "I(R2)", "I(C1)", "I(C2)", "I(R3)"}},
        {"Part Impedances", {"R(S1)", "R(D1)", "R(R2)"}},
        {"Special", {"C(C2)", "Q(C2)", "Z(C3)", "C(C3)", "Q(C3)"}},
        {"TLine Voltages", {"VL(C3)", "VR(C3)", "VL(T7)", "VR(T7)"}},
        {"TLine Currents", {"IL(C3)", "IR(C3)", "IL(T7)", "IR(T7)"}},
        {"TLine Waves",
         {"V2L(C3)", "V1L(C3)", "V2R(C3)", "V1R(C3)", "V2L(T7)", "V1L(T7)", "V2R(T7)", "V1R(T7)"}},
    };
    for (const auto& [group, names] : groups) {
        QStringList offered;
        for (const auto& e : h.doc.Elements())
            e->AddOutputNames(group, offered);
        EXPECT_EQ(offered, names) << group;
        for (const QString& name : offered)
            EXPECT_FALSE(h.trace(name).empty()) << qPrintable(name);
    }
    for (const char* port : {"L", "R"}) { // the arriving and the departing wave add up to the port voltage
        const auto v = h.trace(QString("V%1(T7)").arg(port)), v1 = h.trace(QString("V1%1(T7)").arg(port));
        const auto v2 = h.trace(QString("V2%1(T7)").arg(port));
        for (size_t j = 0; j < v.size(); ++j)
            EXPECT_DOUBLE_EQ(v1[j] + v2[j], v[j]) << port << j;
    }
    for (const char* unanswered : {"I(T7)", "VL(C1)"})
        EXPECT_TRUE(h.trace(unanswered).empty()) << unanswered;
}
