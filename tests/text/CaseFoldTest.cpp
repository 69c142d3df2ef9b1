// The fixed upper-case table and the runtime's internal comparisons.
#include <gtest/gtest.h>

#include "text/CaseFold.h"

using namespace runtime;

namespace {

TEST(CaseFold, TableMapsOnlyTheListedBytes) {
    int changed = 0;
    for (int c = 0; c < 256; ++c) changed += kUpperCaseFold[c] != c;
    EXPECT_EQ(changed, 26 + 30);
    EXPECT_EQ(foldCase('a'), 'A');
    EXPECT_EQ(foldCase('z'), 'Z');
    EXPECT_EQ(foldCase('Z'), 'Z');
    EXPECT_EQ(foldCase('{'), '{');
    EXPECT_EQ(foldCase(0x87), 0xE7);
    EXPECT_EQ(foldCase(0x8A), 0x80);
    EXPECT_EQ(foldCase(0x9F), 0x86);
    EXPECT_EQ(foldCase(0xD8), 0xD9);
    EXPECT_EQ(foldCase(0xF5), 0x49);
    EXPECT_EQ(foldCase(0xE0), 0xE0);  // no Latin-1 folding
}

TEST(CaseFold, CountedComparison) {
    struct Case {
        std::string_view a, b;
        int expected;
    } cases[] = {
        {"Scientific", "SCIENTIFIC", 0}, {"abc", "abd", -1}, {"abd", "ABC", 1}, {"ab", "abc", -1},
        {"abc", "ab", 1},                {"", "", 0},        {"", "a", -1},     {{"a\0b", 3}, {"A\0B", 3}, 0},
        {"\x87", "\xE7", 0},             {"a", "\xE0", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(foldedCompare(c.a, c.b), c.expected) << c.a << " / " << c.b;
}

TEST(CaseFold, ZeroTerminatedComparisonStopsAtZero) {
    EXPECT_EQ(foldedCompareCString("fixed", "FIXED"), 0);
    EXPECT_EQ(foldedCompareCString("fix", "fixed"), -1);
    EXPECT_EQ(foldedCompareCString("fixed", "fix"), 1);
    EXPECT_EQ(foldedCompareCString("", ""), 0);
}

}  // namespace
