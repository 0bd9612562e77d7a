#include "CommaLocale.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>

TEST(TextTest, UpperAsciiLeavesEverythingButAsciiLetters)
{
    EXPECT_EQ(text::upperAscii(QStringLiteral("r1 n1 1k\tµé")), QStringLiteral("R1 N1 1K\tµé"));
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
