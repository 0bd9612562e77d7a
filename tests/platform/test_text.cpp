#include "CommaLocale.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>

TEST(TextTest, UpperAsciiLeavesEverythingButAsciiLetters)
{
    EXPECT_EQ(text::upperAscii(QStringLiteral("r1 n1 1k\tµé")), QStringLiteral("R1 N1 1K\tµé"));
}

TEST(TextTest, UpperMapsEveryCharacterToItsCapitalOfTheSameLength)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"r1 né 0 1k\tµ", u"R1 NÉ 0 1K\tΜ"},
        {u"ÿ ǆ σς", u"Ÿ Ǆ ΣΣ"},
        // No capital of the same length, or none of its own: unchanged.
        {u"ß ŉ ﬁ", u"ß ŉ ﬁ"},
        // Whatever the locale, i is I and the dotless ı is I too.
        {u"iı", u"II"},
        // A letter outside the first plane keeps its pair; a lone half of a pair stays as it is.
        {u"\U00010428x", u"\U00010400X"},
        {u"\xD801"
         u"a"
         u"\xDC28",
         u"\xD801"
         u"A"
         u"\xDC28"},
        {u"", u""},
    };
    for (const auto& [in, out] : cases) {
        const QString lower = QStringView(in).toString(), upper = text::upper(lower);
        EXPECT_EQ(upper, QStringView(out).toString()) << lower.toStdString();
        EXPECT_EQ(upper.size(), lower.size()) << lower.toStdString();
    }
}

TEST(TextTest, ParseDoubleReadsLikeTheRuntime)
{
    struct Case {
        const char* in;
        double value;
        int consumed;
    } cases[] = {
        {"  12.5", 12.5, 6}, {"-3", -3, 2},      {"+.5", 0.5, 3}, {"5.", 5, 2},
        {"1E-9", 1e-9, 4},   {"1e3x", 1000, 3},  {"1E", 1, 1},    {"1e+", 1, 1},
        {"X10", 0, 0},       {"", 0, 0},         {"-", 0, 0},     {".", 0, 0},
        {"\t7", 7, 2},       {"1.5E3", 1500, 5}, {"0x10", 0, 1},  {"1,5", 1, 1},
    };
    for (const Case& c : cases) {
        int used = -1;
        EXPECT_DOUBLE_EQ(text::parseDouble(QString::fromUtf8(c.in), &used), c.value) << c.in;
        EXPECT_EQ(used, c.consumed) << c.in;
    }
}

TEST(TextTest, NumbersIgnoreTheUserLocale)
{
    const CommaLocale comma;
    char plain[8];
    std::snprintf(plain, sizeof plain, "%.1f", 2.5);
    EXPECT_STREQ(plain, comma.Active() ? "2,5" : "2.5"); // what the run-time does by itself
    EXPECT_DOUBLE_EQ(text::parseDouble(QStringLiteral("2.5")), 2.5);
    EXPECT_EQ(text::format("%.1f % #.4e", 2.5, -1e-9), QStringLiteral("2.5 -1.0000e-09"));
}

TEST(TextTest, Windows1252RoundTripsItsOwnCharacters)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(text::toAnsi(text::fromAnsi(all)), all);
    EXPECT_EQ(text::fromAnsi("\x80\x99\xE9"), QString::fromUtf8("€™é"));
    EXPECT_EQ(text::toAnsi(QString::fromUtf8("Ω€")), QByteArray("?\x80"));
}

namespace {

QByteArray utf16(const QString& s, bool bigEndian)
{
    QByteArray b;
    for (QChar c : s) {
        const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
        b += bigEndian ? hi : lo;
        b += bigEndian ? lo : hi;
    }
    return b;
}

} // namespace

// Every encoding a netlist comes in, with and without a byte-order mark, and every kind of line end:
// the bytes alone decide, and the text always holds "\n".
TEST(TextTest, DecodeLetsTheBytesDecideTheEncodingAndUnifiesLineEnds)
{
    const struct {
        const char* what;
        QString text;
        QString decoded;
    } texts[] = {
        {"CR LF", "* rlc\r\nR1 N1 0 1\r\n", "* rlc\nR1 N1 0 1\n"},
        {"LF", "* rlc\nR1 N1 0 1", "* rlc\nR1 N1 0 1"},
        {"CR alone", "* rlc\rR1 N1 0 1\r", "* rlc\nR1 N1 0 1\n"},
        {"CR CR LF and mixed", "* a\r\r\nb\n\rc\r\n", "* a\n\nb\n\nc\n"},
        {"beyond ASCII", QString::fromUtf8("* \u00b5s \u0416\u0416\u0416 \u2126\r\nR1 N1 0 1k\r\n"),
         QString::fromUtf8("* \u00b5s \u0416\u0416\u0416 \u2126\nR1 N1 0 1k\n")},
        {"empty", "", ""},
    };
    const struct {
        const char* what;
        std::function<QByteArray(const QString&)> encode;
    } encodings[] = {
        {"UTF-16LE", [](const QString& s) { return utf16(s, false); }},
        {"UTF-16LE with mark", [](const QString& s) { return "\xFF\xFE" + utf16(s, false); }},
        {"UTF-16BE with mark", [](const QString& s) { return "\xFE\xFF" + utf16(s, true); }},
        {"UTF-16BE", [](const QString& s) { return utf16(s, true); }},
        {"UTF-8", [](const QString& s) { return s.toUtf8(); }},
        {"UTF-8 with mark", [](const QString& s) { return "\xEF\xBB\xBF" + s.toUtf8(); }},
    };
    for (const auto& e : encodings)
        for (const auto& t : texts)
            EXPECT_EQ(text::decode(e.encode(t.text)), t.decoded) << e.what << ", " << t.what;

    // An odd last byte of UTF-16 is no character.
    EXPECT_EQ(text::decode(utf16("* a\r\n", false) + 'x'), "* a\n");
    // A stray zero byte does not make a long UTF-8 text UTF-16.
    EXPECT_EQ(text::decode(QByteArray("* a netlist of many words") + '\0' + "\r\n"),
              QString("* a netlist of many words") + QChar(0) + "\n");
    // Nor do many after a UTF-8 mark, which decides before the bytes are counted.
    EXPECT_EQ(text::decode(QByteArray("\xEF\xBB\xBF* a\0b\0c\0d\0\r\n", 15)),
              QString("* a") + QChar(0) + "b" + QChar(0) + "c" + QChar(0) + "d" + QChar(0) + "\n");
}
