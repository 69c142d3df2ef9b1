// The string functions as compiled code calls them, in the single-byte code
// page 1252 and the double-byte code page 932. One table holds every case with
// the code pages it applies to; the same program runs natively over fixed code
// page tables and under Wine over the system's.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "support/EntryCallSupport.h"
#include "text/StringFunctionEntries.h"

namespace {

using namespace std::string_view_literals;
using testing_support::codePageUnderTest;
using testing_support::Owned;
using testing_support::shown;

// Shift-JIS characters of the cases. Several have a second byte that is also
// an ASCII character, which a byte-wise search would wrongly match.
#define HIRA_A "\x82\xA0"      // HIRAGANA LETTER A
#define HIRA_I "\x82\xA2"      // HIRAGANA LETTER I
#define KATA_A "\x83\x41"      // KATAKANA LETTER A: second byte "A"
#define KATA_SO "\x83\x5C"     // KATAKANA LETTER SO: second byte "\"
#define IDEO_SPACE "\x81\x40"  // IDEOGRAPHIC SPACE
#define WIDE_A "\x82\x60"      // FULLWIDTH LATIN CAPITAL LETTER A
#define WIDE_B "\x82\x61"      // FULLWIDTH LATIN CAPITAL LETTER B
#define WIDE_a "\x82\x81"      // FULLWIDTH LATIN SMALL LETTER A
#define WIDE_b "\x82\x82"      // FULLWIDTH LATIN SMALL LETTER B
// Two double-byte characters and "a": 5 bytes, 3 characters under 932.
#define TWO_WIDE_AND_A HIRA_A HIRA_I "a"

enum Pages : unsigned { k932 = 1, k1252 = 2, kBoth = 3 };

struct Row {
    Pages pages;
    const char* routine;
    std::vector<std::string_view> strings;
    std::vector<int32_t> numbers;
    std::variant<std::string_view, int32_t> expected;
};

const Row kRows[] = {
    // Byte slices
    {kBoth, "StringLeft", {"abc"}, {5}, "abc"},
    {kBoth, "StringLeft", {"abc"}, {2}, "ab"},
    {kBoth, "StringLeft", {"abc"}, {0}, ""},
    {kBoth, "StringLeft", {"abc"}, {-2}, ""},
    {kBoth, "StringLeft", {TWO_WIDE_AND_A}, {1}, "\x82"},
    {kBoth, "StringRight", {"abc"}, {2}, "bc"},
    {kBoth, "StringRight", {"abc"}, {0}, ""},
    {kBoth, "StringRight", {"abc"}, {9}, "abc"},
    {kBoth, "StringMid2", {"abc"}, {4}, ""},
    {kBoth, "StringMid2", {"abc"}, {1}, "abc"},
    {kBoth, "StringMid2", {"abc"}, {-3}, "abc"},
    {kBoth, "StringMid2", {"abcdef"}, {3}, "cdef"},
    {kBoth, "StringMid2", {"abc"}, {INT32_MIN}, "abc"},
    {kBoth, "StringMid3", {"abcdef"}, {0, 3}, "ab"},
    {kBoth, "StringMid3", {"abcdef"}, {5, 10}, "ef"},
    {kBoth, "StringMid3", {"abcdef"}, {2, 3}, "bcd"},
    {kBoth, "StringMid3", {"abcdef"}, {-2, 3}, ""},
    {kBoth, "StringMid3", {"abcdef"}, {-1, 4}, "ab"},
    {kBoth, "StringMid3", {"abcdef"}, {2, 0}, ""},
    {kBoth, "StringMid3", {"abcdef"}, {7, 1}, ""},
    {kBoth, "StringMid3", {"abcdef"}, {INT32_MIN, INT32_MAX}, ""},
    {kBoth, "StringMid3", {"abcdef"}, {2, INT32_MAX}, "bcdef"},
    {kBoth, "StringLen", {""}, {}, 0},
    {kBoth, "StringLen", {"a\0b"sv}, {}, 3},
    {kBoth, "StringLen", {TWO_WIDE_AND_A}, {}, 5},
    {kBoth, "StringAsc", {""}, {}, 0},
    {kBoth, "StringAsc", {"\xE9"}, {}, 233},
    {kBoth, "StringAsc", {IDEO_SPACE}, {}, 0x81},
    {kBoth, "StringChr", {}, {0}, "\0"sv},
    {kBoth, "StringChr", {}, {65}, "A"},
    {kBoth, "StringChr", {}, {0x141}, "A"},
    {kBoth, "StringChr", {}, {-1}, "\xFF"},

    // Case
    {kBoth, "StringUCase", {"Hello, World!"}, {}, "HELLO, WORLD!"},
    {kBoth, "StringUCase", {"a\0b"sv}, {}, "A\0B"sv},
    {kBoth, "StringUCase", {""}, {}, ""},
    {k1252, "StringUCase", {"\xE0\xFF\x9A"}, {}, "\xC0\x9F\x8A"},
    {k932, "StringUCase", {WIDE_a WIDE_b "c"}, {}, WIDE_A WIDE_B "C"},
    {k1252, "StringUCase", {WIDE_a WIDE_b "c"}, {}, WIDE_a WIDE_b "C"},
    {kBoth, "StringLCase", {"ABC"}, {}, "abc"},
    {kBoth, "StringLCase", {""}, {}, ""},
    {k1252, "StringLCase", {"\xC0\xDE\x8A"}, {}, "\xE0\xFE\x9A"},
    {k932, "StringLCase", {WIDE_A "B"}, {}, WIDE_a "b"},
    {k1252, "StringLCase", {WIDE_A "B"}, {}, WIDE_A "b"},
    {kBoth, "StringTitleCase", {"hELLO wORLD"}, {}, "Hello World"},
    {kBoth, "StringTitleCase", {"  two  words "}, {}, "  Two  Words "},
    {kBoth, "StringTitleCase", {"1st place"}, {}, "1st Place"},
    {kBoth, "StringTitleCase", {"o'NEIL"}, {}, "O'neil"},
    {kBoth, "StringTitleCase", {"a\tb"}, {}, "A\tB"},
    {kBoth, "StringTitleCase", {""}, {}, ""},
    {kBoth, "StringTitleCase", {"ab\x82"}, {}, "Ab\x82"},
    {k1252, "StringTitleCase", {"\xE9T\xC9"}, {}, "\xC9t\xE9"},
    {k932, "StringTitleCase", {WIDE_a WIDE_B IDEO_SPACE WIDE_a}, {}, WIDE_A WIDE_b IDEO_SPACE WIDE_A},
    {k1252, "StringTitleCase", {WIDE_a WIDE_B IDEO_SPACE WIDE_a}, {}, WIDE_a WIDE_B IDEO_SPACE WIDE_a},
    // A double-byte character uses up the start of the word; under 1252 the
    // same bytes hold a no-break space that starts a new one.
    {k932, "StringTitleCase", {HIRA_A "abc"}, {}, HIRA_A "abc"},
    {k1252, "StringTitleCase", {HIRA_A "abc"}, {}, "\x82\xA0" "Abc"},

    // Search
    {kBoth, "StringInStr", {"Hello", "LL"}, {1}, 3},
    {kBoth, "StringInStr", {"abc", ""}, {3}, 2},
    {kBoth, "StringInStr", {"abc", ""}, {1}, 0},
    {kBoth, "StringInStr", {"abc", ""}, {0}, -1},
    {kBoth, "StringInStr", {"", "a"}, {1}, 0},
    {kBoth, "StringInStr", {"", ""}, {5}, 0},
    {kBoth, "StringInStr", {"abcabc", "abc"}, {2}, 4},
    {kBoth, "StringInStr", {"abcabc", "abc"}, {5}, 0},
    {kBoth, "StringInStr", {"abc", "c"}, {-5}, 3},
    {kBoth, "StringInStr", {"abc", "c"}, {4}, 0},
    {kBoth, "StringInStr", {"ab", "abc"}, {1}, 0},
    {kBoth, "StringInStr", {"a\0b"sv, "B"}, {1}, 3},
    {kBoth, "StringInStr", {"a\0b"sv, "\0"sv}, {1}, 2},
    {kBoth, "StringInStr", {HIRA_A "x", "x"}, {2}, 3},
    {k1252, "StringInStr", {"x\xE9y", "\xC9Y"}, {1}, 2},
    // Under 932 the second byte of a character is never the start of a match.
    {k932, "StringInStr", {KATA_A, "a"}, {1}, 0},
    {k1252, "StringInStr", {KATA_A, "a"}, {1}, 2},
    {k932, "StringInStr", {HIRA_A HIRA_I, "\xA0\x82"}, {1}, 0},
    {k1252, "StringInStr", {HIRA_A HIRA_I, "\xA0\x82"}, {1}, 2},
    {k932, "StringInStr", {KATA_SO KATA_SO "\\", "\\"}, {1}, 5},
    {k1252, "StringInStr", {KATA_SO KATA_SO "\\", "\\"}, {1}, 2},
    // Double-byte letters have case under 932.
    {k932, "StringInStr", {WIDE_a WIDE_b, WIDE_B}, {1}, 3},
    {k1252, "StringInStr", {WIDE_a WIDE_b, WIDE_B}, {1}, 0},
    // Needles with double-byte characters: case-insensitive character by
    // character, never from the second byte of a character (the bytes at
    // offset 1 of WIDE_b "`" are those of WIDE_A), and a malformed character
    // before a match does not move it.
    {k932, "StringInStr", {"x" WIDE_a "y", WIDE_A "Y"}, {1}, 2},
    {k932, "StringInStr", {HIRA_A "a" WIDE_a, "A" WIDE_A}, {1}, 3},
    {k932, "StringInStr", {WIDE_b "`", WIDE_A}, {1}, 0},
    {k1252, "StringInStr", {WIDE_b "`", WIDE_A}, {1}, 2},
    {k932, "StringInStr", {KATA_SO KATA_SO WIDE_a KATA_SO, WIDE_A KATA_SO}, {2}, 5},
    {k932, "StringInStr", {"\x81\x01" "a" WIDE_a, WIDE_A}, {1}, 4},

    // Replacement
    {kBoth, "StringReplace", {"xAx", "a", "b"}, {}, "xbx"},
    {kBoth, "StringReplace", {"abab", "AB", "c"}, {}, "cab"},
    {kBoth, "StringReplace", {"abc", "", "z"}, {}, "abc"},
    {kBoth, "StringReplace", {"abc", "d", "z"}, {}, "abc"},
    {kBoth, "StringReplace", {"", "a", "b"}, {}, ""},
    {kBoth, "StringReplace", {"aXa", "x", ""}, {}, "aa"},
    {k932, "StringReplace", {KATA_A "a", "A", "b"}, {}, KATA_A "b"},
    {k1252, "StringReplace", {KATA_A "a", "A", "b"}, {}, "\x83" "ba"},
    {kBoth, "StringReplaceAll", {"aaa", "a", "aa"}, {}, "aaaaaa"},
    {kBoth, "StringReplaceAll", {"aaa", "aa", "a"}, {}, "aa"},
    {kBoth, "StringReplaceAll", {"aaaa", "aa", "b"}, {}, "bb"},
    {kBoth, "StringReplaceAll", {"a.b.c", ".", ""}, {}, "abc"},
    {kBoth, "StringReplaceAll", {"abc", "", "x"}, {}, "abc"},
    {kBoth, "StringReplaceAll", {"AbAB", "ab", "-"}, {}, "--"},
    {kBoth, "StringReplaceAll", {"abc", "abc", ""}, {}, ""},
    {kBoth, "StringReplaceAll", {"xyz", "Y", "yy"}, {}, "xyyz"},
    {kBoth, "StringReplaceAll", {"", "a", "b"}, {}, ""},
    {k932, "StringReplaceAll", {KATA_SO KATA_SO, "\\", "/"}, {}, KATA_SO KATA_SO},
    {k1252, "StringReplaceAll", {KATA_SO KATA_SO, "\\", "/"}, {}, "\x83/\x83/"},
    {k932, "StringReplaceAll", {HIRA_A HIRA_I, "\xA0\x82", "x"}, {}, HIRA_A HIRA_I},
    {k1252, "StringReplaceAll", {HIRA_A HIRA_I, "\xA0\x82", "x"}, {}, "\x82x\xA2"},

    // Fields
    {kBoth, "StringCountFields", {"", ","}, {}, 0},
    {kBoth, "StringCountFields", {"abc", ""}, {}, 1},
    {kBoth, "StringCountFields", {"abc", ","}, {}, 1},
    {kBoth, "StringCountFields", {"a,,b", ","}, {}, 3},
    {kBoth, "StringCountFields", {"a,b,", ","}, {}, 3},
    {kBoth, "StringCountFields", {"aXbxc", "x"}, {}, 3},
    {kBoth, "StringCountFields", {"aaaa", "aa"}, {}, 3},
    {k932, "StringCountFields", {KATA_SO "\\b", "\\"}, {}, 2},
    {k1252, "StringCountFields", {KATA_SO "\\b", "\\"}, {}, 3},
    {kBoth, "StringNthField", {"a,b,", ","}, {3}, ""},
    {kBoth, "StringNthField", {"a,b", ","}, {0}, ""},
    {kBoth, "StringNthField", {"a,b", ","}, {-1}, ""},
    {kBoth, "StringNthField", {"a,b", ","}, {1}, "a"},
    {kBoth, "StringNthField", {"a,b", ","}, {2}, "b"},
    {kBoth, "StringNthField", {"a,b", ","}, {3}, ""},
    {kBoth, "StringNthField", {"abc", ","}, {1}, "abc"},
    {kBoth, "StringNthField", {"a<>b<>c", "<>"}, {2}, "b"},
    {kBoth, "StringNthField", {"AxBXC", "x"}, {3}, "C"},
    {kBoth, "StringNthField", {"", ","}, {1}, ""},
    {kBoth, "StringNthField", {"abc", ""}, {1}, ""},
    {kBoth, "StringNthField", {"<Name>090", ">"}, {2}, "090"},
    {k932, "StringNthField", {KATA_SO "\\b", "\\"}, {2}, "b"},
    {k1252, "StringNthField", {KATA_SO "\\b", "\\"}, {2}, ""},

    // Trimming
    {kBoth, "runTrim", {" \t "}, {}, ""},
    {kBoth, "runTrim", {"  a b  "}, {}, "a b"},
    {kBoth, "runTrim", {"\r\n\v\fx\t"}, {}, "x"},
    {kBoth, "runTrim", {""}, {}, ""},
    {kBoth, "runLTrim", {"  a "}, {}, "a "},
    {kBoth, "runLTrim", {" \x82"}, {}, "\x82"},
    {kBoth, "runLTrim", {"   "}, {}, ""},
    {kBoth, "runRTrim", {"  a "}, {}, "  a"},
    {kBoth, "runRTrim", {"a \x82"}, {}, "a \x82"},
    {kBoth, "runRTrim", {"   "}, {}, ""},
    {k932, "runTrim", {IDEO_SPACE "a" IDEO_SPACE}, {}, "a"},
    {k1252, "runTrim", {IDEO_SPACE "a" IDEO_SPACE}, {}, IDEO_SPACE "a" IDEO_SPACE},
    {k932, "runRTrim", {"a " IDEO_SPACE " "}, {}, "a"},
    {k932, "runTrim", {"\xA0x\xA0"}, {}, "\xA0x\xA0"},
    {k1252, "runTrim", {"\xA0x\xA0"}, {}, "x"},

    // Characters counted under 932, bytes under 1252
    {k932, "StringDBCSLen", {TWO_WIDE_AND_A}, {}, 3},
    {k1252, "StringDBCSLen", {TWO_WIDE_AND_A}, {}, 5},
    {kBoth, "StringDBCSLen", {""}, {}, 0},
    {kBoth, "StringDBCSLen", {"a\x82"}, {}, 2},
    {k932, "StringDBCSLeft", {TWO_WIDE_AND_A}, {1}, HIRA_A},
    {k1252, "StringDBCSLeft", {TWO_WIDE_AND_A}, {1}, "\x82"},
    {k932, "StringDBCSLeft", {TWO_WIDE_AND_A}, {2}, HIRA_A HIRA_I},
    {kBoth, "StringDBCSLeft", {TWO_WIDE_AND_A}, {0}, ""},
    {kBoth, "StringDBCSLeft", {TWO_WIDE_AND_A}, {9}, TWO_WIDE_AND_A},
    {kBoth, "StringDBCSRight", {TWO_WIDE_AND_A}, {1}, "a"},
    {k932, "StringDBCSRight", {TWO_WIDE_AND_A}, {2}, HIRA_I "a"},
    {k1252, "StringDBCSRight", {TWO_WIDE_AND_A}, {2}, "\xA2" "a"},
    {k932, "StringDBCSRight", {TWO_WIDE_AND_A}, {3}, TWO_WIDE_AND_A},
    {kBoth, "StringDBCSRight", {TWO_WIDE_AND_A}, {0}, ""},
    {k932, "StringDBCSMid2", {TWO_WIDE_AND_A}, {2}, HIRA_I "a"},
    {k1252, "StringDBCSMid2", {TWO_WIDE_AND_A}, {2}, "\xA0" HIRA_I "a"},
    {kBoth, "StringDBCSMid2", {TWO_WIDE_AND_A}, {0}, TWO_WIDE_AND_A},
    {k932, "StringDBCSMid2", {TWO_WIDE_AND_A}, {4}, ""},
    {k932, "StringDBCSMid3", {TWO_WIDE_AND_A}, {2, 2}, HIRA_I "a"},
    {k1252, "StringDBCSMid3", {TWO_WIDE_AND_A}, {2, 2}, "\xA0\x82"},
    {k932, "StringDBCSMid3", {TWO_WIDE_AND_A}, {0, 2}, HIRA_A},
    {k1252, "StringDBCSMid3", {TWO_WIDE_AND_A}, {0, 2}, "\x82"},
    {k932, "StringDBCSMid3", {TWO_WIDE_AND_A}, {3, 5}, "a"},
    {k932, "StringDBCSMid3", {TWO_WIDE_AND_A}, {4, 1}, ""},
    {k932, "StringDBCSMid3", {TWO_WIDE_AND_A}, {2, 0}, ""},
    {k932, "StringDBCSMid3", {TWO_WIDE_AND_A}, {2, INT32_MAX}, HIRA_I "a"},
    {k932, "StringDBCSAsc", {IDEO_SPACE}, {}, 0x8140},
    {k1252, "StringDBCSAsc", {IDEO_SPACE}, {}, 0x81},
    {kBoth, "StringDBCSAsc", {"\x82"}, {}, 0x82},
    {kBoth, "StringDBCSAsc", {""}, {}, 0},
    {kBoth, "StringDBCSAsc", {"A"}, {}, 65},
    {kBoth, "StringDBCSChr", {}, {0x8140}, IDEO_SPACE},
    {kBoth, "StringDBCSChr", {}, {65}, "A"},
    {kBoth, "StringDBCSChr", {}, {0}, "\0"sv},
    {kBoth, "StringDBCSChr", {}, {-1}, "\xFF"},
    {k932, "StringDBCSInStr", {TWO_WIDE_AND_A, "a"}, {1}, 3},
    {k1252, "StringDBCSInStr", {TWO_WIDE_AND_A, "a"}, {1}, 5},
    {k932, "StringDBCSInStr", {TWO_WIDE_AND_A, HIRA_I}, {2}, 2},
    {k1252, "StringDBCSInStr", {TWO_WIDE_AND_A, HIRA_I}, {2}, 3},
    {kBoth, "StringDBCSInStr", {TWO_WIDE_AND_A, HIRA_A}, {3}, 0},
    {k932, "StringDBCSInStr", {HIRA_A HIRA_I, "\xA0\x82"}, {1}, 0},
    {k1252, "StringDBCSInStr", {HIRA_A HIRA_I, "\xA0\x82"}, {1}, 2},
    {k932, "StringDBCSInStr", {WIDE_a WIDE_b, WIDE_B}, {1}, 2},
    // An empty t gives the byte offset before character 3 (4), where no
    // character starts: that counts as all 3 characters.
    {k932, "StringDBCSInStr", {TWO_WIDE_AND_A, ""}, {3}, 3},
    {kBoth, "StringDBCSInStr", {"", "a"}, {1}, 0},
};

using Result = std::variant<std::string, int32_t>;

// The arguments of one row, made into string values that the test owns.
struct Arguments {
    explicit Arguments(const Row& row) : numbers(row.numbers) {
        for (std::string_view s : row.strings) strings.emplace_back(std::make_unique<Owned>(s));
    }
    StringHandle s(size_t i) const { return strings.at(i)->get(); }
    int32_t n(size_t i) const { return numbers.at(i); }

    std::vector<std::unique_ptr<Owned>> strings;
    std::vector<int32_t> numbers;
};

Result text(StringHandle result) { return Owned(result).bytes(); }

using Call = std::function<Result(const Arguments&)>;
const std::map<std::string_view, Call> kRoutines = {
    {"StringLeft", [](const Arguments& a) { return text(StringLeft(a.s(0), a.n(0))); }},
    {"StringRight", [](const Arguments& a) { return text(StringRight(a.s(0), a.n(0))); }},
    {"StringMid2", [](const Arguments& a) { return text(StringMid2(a.s(0), a.n(0))); }},
    {"StringMid3", [](const Arguments& a) { return text(StringMid3(a.s(0), a.n(0), a.n(1))); }},
    {"StringLen", [](const Arguments& a) { return Result(StringLen(a.s(0))); }},
    {"StringAsc", [](const Arguments& a) { return Result(StringAsc(a.s(0))); }},
    {"StringChr", [](const Arguments& a) { return text(StringChr(a.n(0))); }},
    {"StringUCase", [](const Arguments& a) { return text(StringUCase(a.s(0))); }},
    {"StringLCase", [](const Arguments& a) { return text(StringLCase(a.s(0))); }},
    {"StringTitleCase", [](const Arguments& a) { return text(StringTitleCase(a.s(0))); }},
    {"StringInStr", [](const Arguments& a) { return Result(StringInStr(a.n(0), a.s(0), a.s(1))); }},
    {"StringReplace", [](const Arguments& a) { return text(StringReplace(a.s(0), a.s(1), a.s(2))); }},
    {"StringReplaceAll", [](const Arguments& a) { return text(StringReplaceAll(a.s(0), a.s(1), a.s(2))); }},
    {"StringCountFields", [](const Arguments& a) { return Result(StringCountFields(a.s(0), a.s(1))); }},
    {"StringNthField", [](const Arguments& a) { return text(StringNthField(a.s(0), a.s(1), a.n(0))); }},
    {"runTrim", [](const Arguments& a) { return text(runTrim(a.s(0))); }},
    {"runLTrim", [](const Arguments& a) { return text(runLTrim(a.s(0))); }},
    {"runRTrim", [](const Arguments& a) { return text(runRTrim(a.s(0))); }},
    {"StringDBCSLen", [](const Arguments& a) { return Result(StringDBCSLen(a.s(0))); }},
    {"StringDBCSLeft", [](const Arguments& a) { return text(StringDBCSLeft(a.s(0), a.n(0))); }},
    {"StringDBCSRight", [](const Arguments& a) { return text(StringDBCSRight(a.s(0), a.n(0))); }},
    {"StringDBCSMid2", [](const Arguments& a) { return text(StringDBCSMid2(a.s(0), a.n(0))); }},
    {"StringDBCSMid3", [](const Arguments& a) { return text(StringDBCSMid3(a.s(0), a.n(0), a.n(1))); }},
    {"StringDBCSAsc", [](const Arguments& a) { return Result(StringDBCSAsc(a.s(0))); }},
    {"StringDBCSChr", [](const Arguments& a) { return text(StringDBCSChr(a.n(0))); }},
    {"StringDBCSInStr", [](const Arguments& a) { return Result(StringDBCSInStr(a.n(0), a.s(0), a.s(1))); }},
};

std::string describe(const Row& row) {
    std::string text = std::string(row.routine) + "(";
    for (std::string_view s : row.strings) text += shown(s) + ", ";
    for (int32_t n : row.numbers) text += std::to_string(n) + ", ";
    return text + ")";
}

Pages pagesUnderTest() {
    switch (codePageUnderTest()) {
        case 932: return k932;
        case 1252: return k1252;
        default: return Pages{0};
    }
}

TEST(StringFunctions, RunInACodePageOfTheTable) { ASSERT_NE(pagesUnderTest(), Pages{0}) << codePageUnderTest(); }

TEST(StringFunctions, TableOfCases) {
    int ran = 0;
    for (const Row& row : kRows) {
        if (!(row.pages & pagesUnderTest())) continue;
        ++ran;
        SCOPED_TRACE(describe(row));
        const auto routine = kRoutines.find(row.routine);
        ASSERT_NE(routine, kRoutines.end());
        const Arguments arguments(row);
        const Result result = routine->second(arguments);
        if (const auto* expected = std::get_if<std::string_view>(&row.expected)) {
            ASSERT_TRUE(std::holds_alternative<std::string>(result));
            EXPECT_EQ(shown(std::get<std::string>(result)), shown(*expected));
        } else {
            ASSERT_TRUE(std::holds_alternative<int32_t>(result));
            EXPECT_EQ(std::get<int32_t>(result), std::get<int32_t>(row.expected));
        }
        // Arguments are borrowed: each call leaves their counts as it found them.
        for (const auto& argument : arguments.strings) EXPECT_EQ(argument->refs(), argument->get() ? 1 : 0);
    }
    EXPECT_GT(ran, 100);
}

// Results that cover the whole argument share it instead of copying.
TEST(StringFunctions, WholeResultsShareTheArgument) {
    Owned s("abc");
    Owned none("x");
    const StringHandle shared[] = {StringLeft(s, 3),   StringRight(s, 7),         StringMid2(s, 1),
                                   StringMid3(s, 1, 3), runTrim(s),               StringReplace(s, none, none),
                                   StringReplaceAll(s, none, none), StringDBCSLeft(s, 5), StringNthField(s, none, 1)};
    for (StringHandle result : shared) EXPECT_EQ(result, s.get());
    EXPECT_EQ(s.refs(), 1 + static_cast<int32_t>(std::size(shared)));
    for (StringHandle result : shared) runtime::unlockString(result);
    EXPECT_EQ(s.refs(), 1);
}

// Case changes always make a copy: the argument is never written.
TEST(StringFunctions, CaseChangesLeaveTheArgumentAlone) {
    Owned s("mixed Case");
    Owned upper(StringUCase(s));
    Owned title(StringTitleCase(s));
    EXPECT_NE(upper.get(), s.get());
    EXPECT_EQ(s.bytes(), "mixed Case");
    EXPECT_EQ(upper.bytes(), "MIXED CASE");
    EXPECT_EQ(title.bytes(), "Mixed Case");
}

}  // namespace
