// The drop-down lists' prefix search, whose order decides what a value text selects.
#include "ComboSearch.h"

#include <gtest/gtest.h>

TEST(ComboSearch, SearchesAfterTheStartAndWraps)
{
    const QStringList criteria{"TIME", "VOLT", "CUR", "ENERGY"};
    const QStringList laws{"EXP", "LIN", "T0/T", "TANH"};
    struct Case {
        const QStringList& items;
        int startAfter;
        const char* prefix;
        int selected;
    };
    // clang-format off
    const Case cases[] = {
        {criteria, 0, "TIME", 0},  {criteria, 0, "time", 0}, {criteria, 0, "Ti", 0},
        {criteria, 0, "", 1},      {criteria, -1, "", 0},    {criteria, 3, "", 0},
        {criteria, 0, "E", 3},     {criteria, 2, "CUR", 2},  {criteria, 0, "TIMER", -1},
        {criteria, 0, "X", -1},    {criteria, 9, "V", 1},    {criteria, 9, "", 0},
        {laws, 0, "T", 2},         {laws, 2, "T", 3},        {laws, 0, "TA", 3},
        {laws, 0, "t0/t", 2},      {laws, 0, "", 1},         {laws, 1, "LIN", 1}};
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(selectStringPrefix(c.items, c.startAfter, c.prefix), c.selected)
            << c.prefix << " after " << c.startAfter;
    EXPECT_EQ(selectStringPrefix({}, 0, ""), -1);
    EXPECT_EQ(selectStringPrefix({}, -1, "A"), -1);
}
