// The netlist reader: tokens, values, nodes and dispatch (its lines are checked with the long runs).
#include "CComponentSim.h"
#include "CSimulatorDoc.h"
#include "ElementClass.h"
#include "UiServices.h"

#include <gtest/gtest.h>

namespace {

// An element that records its tokens and numbers its nodes like a two-terminal element.
struct TokenRecorder : CComponentSim {
    using CComponentSim::CComponentSim;
    bool Parse(const QStringList& tokens) override
    {
        Name = tokens.value(0);
        seen = tokens;
        if (tokens.size() > 1) Nodes[0] = m_pDoc->GetNodeIndex(tokens[1]);
        if (tokens.size() > 2) Nodes[1] = m_pDoc->GetNodeIndex(tokens[2]);
        return !Name.startsWith(QLatin1String("RBAD"));
    }
    QStringList seen;
};

struct Parsed {
    ScriptedUiServices ui;
    CSimulatorDoc doc;
    std::vector<QStringList> tokens;
    explicit Parsed(const QString& text)
    {
        doc.SetElementFactory(
            [this](ElementClass, CSimulatorDoc* d) { return std::make_unique<TokenRecorder>(d); });
        doc.SetNetlistText(text);
    }
    bool parse()
    {
        if (!doc.ReadNetlistLines() || !doc.ParseNetlistStatements()) return false;
        for (const auto& e : doc.Elements())
            tokens.push_back(static_cast<TokenRecorder&>(*e).seen);
        return true;
    }
};

} // namespace

TEST(ReaderTest, ValuesWithScaleSuffixes)
{
    ScriptedUiServices ui;
    CSimulatorDoc doc;
    const QString odd = "Warning: Unrecognized Character in Netlist";
    // clang-format off
    const std::tuple<const char*, double, QString> cases[] = {
        {"1NF", 1e-9, ""},     {"1F", 1e-15, ""},      {"2MIL", 50.8, ""},       {"3MEG", 3e6, ""},
        {"3M", 3e-3, ""},      {"1E-9", 1e-9, ""},     {"1.5E3K", 1.5e6, ""},    {"10NF", 1e-8, ""},
        {"1MEGOHM", 1e6, ""},  {"5KV", 5000, ""},      {"2T", 2e12, ""},         {"4G", 4e9, ""},
        {"7U", 7e-6, ""},      {"8P", 8e-12, ""},      {"9A", 9, ""},            {"9H", 9, ""},
        {"9V", 9, ""},         {"MOV", 0, ""},         {"PLDIODE", 0, ""},       {"", 0, ""},
        {"-2.5", -2.5, ""},    {"10X", 10, odd + "."}, {"X10K", 0, odd},         {"OILSW", 0, odd + "."},
        {"Z0=30", 0, odd + "."}, {"RI=10MM", 0, odd},  {"1.0.5", 1.0, odd + "."}};
    // clang-format on
    for (const auto& [text, value, warning] : cases) {
        ui.messages.clear();
        EXPECT_DOUBLE_EQ(doc.ParseValue(QString::fromLatin1(text)), value) << text;
        EXPECT_EQ(ui.messages, warning.isEmpty() ? QStringList() : QStringList{warning}) << text;
    }
}

TEST(ReaderTest, TokensSplitOnBlanksOnlyAndNodesAreNumberedInOrderOfFirstUse)
{
    Parsed p("* t\nR1   NB NA  5\nR2\tNA NA 0 7\nR3 00 NC 1\n");
    ASSERT_TRUE(p.parse());
    EXPECT_EQ(p.tokens[0], (QStringList{"R1", "NB", "NA", "5"}));
    EXPECT_EQ(p.tokens[1], (QStringList{"R2\tNA", "NA", "0", "7"}));
    EXPECT_EQ(p.doc.NodeNames(), (QStringList{"0", "NB", "NA", "00", "NC"}));
    EXPECT_EQ(p.doc.NodeCount(), 4);
    EXPECT_EQ(p.doc.FindNodeIndex("NA"), 2);
    EXPECT_EQ(p.doc.FindNodeIndex("0"), -1);
    EXPECT_EQ(p.doc.FindNodeIndex("NX"), -1);
    EXPECT_EQ(p.doc.GetNodeIndex("0"), 0);
}

TEST(ReaderTest, DispatchByLetterAndKeyword)
{
    using E = ElementClass;
    // Keywords compare whole: "TLX" is not "TL".
    // clang-format off
    const std::pair<const char*, E> cases[] = {
        {"C1 A B TL 1N", E::TLineC},            {"C1 A B VARC TL FIXED", E::VariableC},
        {"C1 A B VARC FIXED 1N", E::VarC},      {"C1 A B VARC", E::VarC},
        {"C1 A B 1N", E::Capacitor},            {"C1 A", E::Capacitor},
        {"D1 A B IDIODE RON=1", E::IdealDiode}, {"D1 A B RPDIODE", E::NoModel},
        {"D1 A B PBDIODE", E::NoModel},         {"D1 A B 1N4004", E::Diode},
        {"D1 A B", E::Diode},                   {"I1 A B DC 1", E::CurrentSource},
        {"K1 A B C D", E::Transformer},         {"L1 A B TL 1U", E::TLineL},
        {"L1 A B 1U", E::Inductor},             {"R1 A B VARR POWER", E::VariableR},
        {"R1 A B 1K", E::Resistor},             {"R1 A", E::Resistor},
        {"S1 A B TIME", E::Switch},             {"T1 A B C D LOSSYX", E::LossyDielTLX},
        {"T1 A B C D LOSSYZ", E::LossyDielTL},  {"T1 A B C D LOSSYR", E::LossyTL},
        {"T1 A B RAILGUN1 1 2 3 4 5 6", E::NoModel}, {"T1 A B RAILGUN1 1 2 3 4 5", E::TransmissionLine},
        {"T1 A B C D MITL0 Z0=30", E::TransmissionLine}, {"V1 A B DC 1", E::VoltageSource},
        {"X1 A B", E::Unrecognized},            {"Q1 A B C", E::Unrecognized},
        {"C1 A B TLX 1N", E::Capacitor}};
    // clang-format on
    for (const auto& [line, cls] : cases)
        EXPECT_EQ(ChooseElementClass(QString::fromLatin1(line).split(' ')), cls) << line;
}

TEST(ReaderTest, AFailedStatementStopsParsingAndKeepsNoElementOfItsOwn)
{
    for (const char* line :
         {"X1 N1 N2 5", "D1 N1 N2 RPDIODE", "T1 N1 N2 RAILGUN1 1 2 3 4 5 6", "RBAD N1 0 5"}) {
        Parsed p(QStringLiteral("* t\nR1 N1 0 5\n") + QLatin1String(line) + "\nR2 N1 0 5\n");
        EXPECT_FALSE(p.parse()) << line;
        const bool refused = QString(line).startsWith("RBAD"); // the element itself refuses
        EXPECT_EQ(p.ui.messages,
                  refused ? QStringList()
                          : QStringList{QStringLiteral("Netlist Error:  Unrecognized Statement: ") + line});
        // The element of the statement before stays until the run deletes them all.
        ASSERT_EQ(p.doc.Elements().size(), 1u);
        EXPECT_EQ(p.doc.Elements()[0]->Name, QStringLiteral("R1"));
        p.doc.DeleteElements();
        EXPECT_TRUE(p.doc.Elements().empty());
    }
}
