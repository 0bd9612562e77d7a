// What every element family refuses to read, and the traces each element offers.
#include "SimHarness.h"

#include <gtest/gtest.h>

TEST(Statements, RefusedWithTheirMessage)
{
    const QString few = "Invalid Netlist:  Not enough arguments: ",
                  fewer = "Invalid Netlist.  Not enough arguments: ";
    const QString line = "Error:  Invalid Netlist Line:  ",
                  varr = line + "Unrecognized variable resistor type: R1";
    const QString source = "Netlist Error:  Unknown or invalid voltage source type encountered.";
    const std::pair<const char*, QString> cases[] = {
        {"R1 N1 N2", few + "R1"},
        {"S1 N1 0 TIME 1 2 3 4", line + "Not enough arguments: S1"},
        {"S1 N1 0 TIMED 1 2 3 4 EXP", line + "Unrecognized switch type: S1"},
        {"S1 N1 0 TIME 1 2 3 4 SQRT",
         "Warning:  Invalid Switch Parameter: Unknown or invalid switch type encountered.S1"},
        {"D1 N1 0 IDIODE RON=1", line + "Not enough arguments: D1"},
        {"R1 N1 0 VARR POWER", line + "Not enough arguments: R1"},
        {"R1 N1 0 VARR POWER A=1", varr},
        {"R1 N1 0 VARR POWER A=1 B=2", line + "Not enough arguments: R1"},
        {"R1 N1 0 VARR PULSE 1", varr},
        {"R1 N1 0 VARR LOG 1 2 3", varr},
        // Sources count their tokens before reading any.
        {"V1", few + "V1"},
        {"V1 N1", few + "V1"},
        {"I1 N1 0", few + "I1"},
        {"V1 N1 0 DC", few + "V1"},
        {"I1 N1 0 ORLISK", few + "I1"},
        {"V1 N1 0 PULSE 0", source + "V1"},
        {"I2 N1 0 SIN 0 1 1MEG", source + "I2"},
        {"C1 N1 0", few + "C1"},
        {"L1 N1", few + "L1"},
        {"C2 N1 0 VARC FIXED 1N", fewer + "C2"},
        {"C2 N1 0 VARC POLYNOMIAL 1N 0 0 0", fewer + "C2"},
        {"C2 N1 0 VARC STANDARD Z5V 1N 100", fewer + "C2"},
        {"C2 N1 0 VARC LINEAR 1N IC=0", "Invalid Netlist.  Unrecongnized variable cap.: C2"},
        {"C2 N1 0 VARC STANDARD Z5V 1N 0 IC=0", "Invalid Netlist.  Invalid VRATED: C2"},
        {"C2 N1 0 VARC STANDARD HRS 1N -50 IC=0", "Invalid Netlist.  Invalid VRATED: C2"},
        {"C1 N1 0 VARC TL FIXED 10N", fewer + "C1"},
        {"C1 N1 0 VARC TL STANDARD Z5V 1N 100", fewer + "C1"},
        {"C1 N1 0 VARC TL POLYNOMIAL 1N 0 0 0", fewer + "C1"},
        {"C1 N1 0 VARC TL LINEAR 1N IC=0", "Invalid Netlist.  Unrecongnized variable cap.: C1"},
        {"C1 N1 0 VARC TL STANDARD Z5V 1N 0 IC=0", "Invalid Netlist.  Invalid VRATED: C1"},
        {"D1 NA 0", few + "D1"},
        {"D1 NA 0 IS=0", "Invalid Netlist.  Invalid IS: D1"},
        {"D1 NA 0 IS=-1E-14 RS=1", "Invalid Netlist.  Invalid IS: D1"},
        {"D1 NA 0 IS=1E999", "Invalid Netlist.  Invalid IS: D1"},
        {"D1 NA 0 N=0", "Invalid Netlist.  Invalid N: D1"},
        {"D1 NA 0 IS=1P N=-1", "Invalid Netlist.  Invalid N: D1"},
        {"K1 NP 0 NS 0 L1=1U L2=1U", few + "K1"},
        {"K1 NP 0 NS 0 L1=1U L2=1U X", few + "K1"},
        {"K1 NP 0 NS 0 L1=1U K=1 X", few + "K1"},
        {"K1 NP 0 NS 0 L2=1U K=1 X", few + "K1"},
        {"K1 NP 0 NS 0 L1=-1U L2=1U K=0.5", "Invalid Netlist.  Invalid L1: K1"},
        {"K1 NP 0 NS 0 L1=1U L2=-1U K=0.5", "Invalid Netlist.  Invalid L2: K1"},
        {"T1 N1 0 N2 0 50", fewer + "T1"},
        {"T1", fewer + "T1"},
        {"C1 N1 0 TL", fewer + "C1"},
        {"L1 N1 0 TL", fewer + "L1"},
        {"C1 N1 0 TL C=0", "Invalid Netlist.  Invalid C=0: C1"},
        {"L1 N1 0 TL 0NH", "Invalid Netlist.  Invalid L=0: L1"},
        {"T1 N1 0 N2 0 50 1E999", "Invalid Netlist.  Invalid TD: T1"},
        {"T1 N1 0 N2 0 50 -1E999", "Invalid Netlist.  Invalid TD: T1"},
        {"T1 N1 0 N2 0 50 TD=1E300", "Invalid Netlist.  Invalid TD: T1"},
        {"T1 N1 0 N2 0 LOSSYZ Z0=50 TD=5N RHO=2 ER=81", fewer + "T1"},
        {"T1 N1 0 N2 0 LOSSYX Z0=50 Z1=20 TD=5N RHO=2 ER=81", fewer + "T1"},
        {"T1 N1 0 N2 0 LOSSYR Z0=50 TD=5N R=2", fewer + "T1"},
        {"T1 N1 0 N2 0 LOSSYZ Z0=0 TD=5N RHO=2 ER=81 IC=0", "Invalid Netlist.  Invalid Z0: T1"},
        {"T1 N1 0 N2 0 LOSSYZ Z0=-50 TD=5N RHO=2 ER=81 IC=0", "Invalid Netlist.  Invalid Z0: T1"},
        {"T1 N1 0 N2 0 LOSSYX Z0=0 Z1=20 TD=5N RHO=2 ER=81 IC=0", "Invalid Netlist.  Invalid Z0: T1"},
        {"T1 N1 0 N2 0 LOSSYX Z0=50 Z1=0 TD=5N RHO=2 ER=81 IC=0", "Invalid Netlist.  Invalid Z1: T1"},
        {"T1 N1 0 N2 0 LOSSYX Z0=50 Z1=-1 TD=5N RHO=2 ER=81 IC=0", "Invalid Netlist.  Invalid Z1: T1"},
        {"T1 N1 0 N2 0 LOSSYR Z0=0 TD=5N R=2 IC=0", "Invalid Netlist.  Invalid Z0: T1"},
        {"T1 N1 0 N2 0 LOSSYR Z0=1E999 TD=5N R=2 IC=0", "Invalid Netlist.  Invalid Z0: T1"},
        {"T1 N1 0 N2 0 LOSSYR Z0=50 TD=1E999 R=2 IC=0", "Invalid Netlist.  Invalid TD: T1"},
    };
    for (const auto& [statement, message] : cases)
        expectRefused(QString("* refused\nR9 N1 0 1\n%1\nR8 N2 0 1\n").arg(statement), message);
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
    for (const char* unanswered : {"I(T7)", "VL(C1)"})
        EXPECT_TRUE(h.trace(unanswered).empty()) << unanswered;
}
