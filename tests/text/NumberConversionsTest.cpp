// Number conversion and formatting as compiled code calls them, in a locale
// whose decimal separator is "." and thousands separator ",". The same program
// runs natively over fixed tables and under Wine in both code pages.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "support/EntryCallSupport.h"
#include "text/NumberEntries.h"

namespace {

using namespace std::string_view_literals;
using testing_support::codePageUnderTest;
using testing_support::Owned;
using testing_support::shown;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(NumberConversions, StringValReadsRadixAndDecimalForms) {
    const struct {
        std::string_view text;
        double expected;
    } cases[] = {
        {"  12.5abc", 12.5},
        {"&h1F", 31},
        {"&H1f", 31},
        {"&hG", 16},  // every letter counts in base 16, G as 16
        {"&hz", 35},
        {"&B102", 2},  // the "2" is skipped
        {"&b1 0 1", 5},
        {"&o777", 511},
        {"&O78", 7},
        {"&X12", 0},
        {"&", 0},
        {"&h", 0},
        {"&HFFFFFFFF", -1},
        {"&H7FFFFFFF", 2147483647},
        {"&H100000001", 1},
        {"&h1\0F"sv, 31},  // the radix forms read every byte, zeros skipped
        {"", 0},
        {"abc", 0},
        {"-1.5e3", -1500},
        {"+.5", 0.5},
        {"5.", 5},
        {"1e", 1},
        {"1e+", 1},
        {"2E-2x", 0.02},
        {".e5", 0},
        {"-", 0},
        {"100ergs", 100},
        {"\t\n\v 7", 7},
        {"1.5\0" "9"sv, 1.5},  // decimal text ends at the first zero byte
        {"0x10", 0},
        {"inf", 0},
        {"nan", 0},
        {"1,5", 1},
        {"1e400", kInfinity},
        {"-1e400", -kInfinity},
        {"1e-400", 0},
        {"0.1", 0.1},
        {"123456789012345678901234567890", 1.2345678901234568e29},
    };
    for (const auto& c : cases) {
        Owned text(c.text);
        EXPECT_EQ(StringVal(text), c.expected) << shown(c.text);
        EXPECT_EQ(text.refs(), text.get() ? 1 : 0);
    }
}

TEST(NumberConversions, StringStrWritesFixedOrExponentialText) {
    const struct {
        double x;
        std::string_view expected;
    } cases[] = {
        {100, "100"},
        {0.5, "0.5"},
        {-2.25, "-2.25"},
        {1000000, "1000000"},
        {1234567, "1.2345670e+06"},
        {-1234567, "-1.2345670e+06"},
        {0.000001, "1.0000000e-06"},
        {-0.0, "0"},
        {0, "0"},
        {0.00001, "0.00001"},
        {1000000.5, "1.0000005e+06"},
        {1.0 / 3, "0.3333333"},
        {123456.123456789, "123456.1234568"},
        {0.1, "0.1"},
        {1e100, "1.0000000e+100"},
        {1e-300, "1.0000000e-300"},
        {kInfinity, "inf"},
        {-kInfinity, "-inf"},
        {kNaN, "nan"},
    };
    for (const auto& c : cases) {
        Owned text(StringStr(c.x));
        EXPECT_EQ(shown(text.bytes()), shown(c.expected)) << c.x;
    }
}

enum Pages : unsigned { k932 = 1, k1252 = 2, kBoth = 3 };

TEST(NumberConversions, StringFormatPictures) {
#define KATA_SO "\x83\x5C"  // KATAKANA LETTER SO: second byte "\"
    const struct {
        Pages pages;
        double x;
        std::string_view format;
        std::string_view expected;
    } cases[] = {
        {kBoth, -5, "#", "5"},
        {kBoth, -5, "-#", "-5"},
        {kBoth, -5, "#;(#)", "(5)"},
        {kBoth, 0, "#;(#)", "0"},
        {kBoth, -0.5, "0.0;(0.0)", "(0.5)"},
        {kBoth, -1234.5, "#,##0.00;(#,##0.00)", "(1,234.50)"},
        {kBoth, 0, "#;-#;nil", ""},  // letters print nothing unless escaped
        {kBoth, 0, "#;-#;\\z", "z"},
        {kBoth, 0, "#;-#;zero", "e+00"},  // its "e" is an exponent mark
        {kBoth, -0.0, "#;-#;zero", "e+00"},
        {kBoth, -0.0, "0", "0"},
        {kBoth, 0.5, "#.##", "0.5"},
        {kBoth, 0.5, "0.00%", "50.00%"},
        {kBoth, 0.05, "#%", "5%"},
        {kBoth, 1234, "#", "1234"},
        {kBoth, 7, "000", "007"},
        {kBoth, 123.456, "#.#", "123.5"},
        {kBoth, 1.5, "0.0.0", "1.50"},  // a second point prints nothing
        {kBoth, 2.5, "#", "2"},         // ties round to even
        {kBoth, 1234.6, "#,##0", "1,235"},
        {kBoth, 1234567, "#,###", "1,234,567"},
        {kBoth, 1, "#,###", "1"},
        {kBoth, 1234, "0,000,000", "0,001,234"},
        {kBoth, 1234567.891, "#,##0.00", "1,234,567.89"},
        {kBoth, 3, "\\#0", "#3"},
        {kBoth, 5, "$#", "5"},
        {kBoth, 5, "\\$#", "$5"},
        {kBoth, 5, "#\\", "5"},
        {kBoth, 12, "+#", "+12"},
        {kBoth, -12, "+#", "-12"},
        {kBoth, 0, "+#", "0"},
        {kBoth, 5, "", ""},
        {kBoth, 12345.678, "Scientific", "1.234567E+04"},  // the 7th decimal is cut, not rounded
        {kBoth, 12345.678, "SCIENTIFIC", "1.234567E+04"},
        {kBoth, -12345.678, "Scientific", "-1.234567E+04"},
        {kBoth, 0, "Scientific", "0.000000E+00"},
        {kBoth, 0.000123456789, "Scientific", "1.234567E-04"},
        {kBoth, 1.5, "0.0e", "1.5e+00"},
        {kBoth, 1.5, "0.0e-", "1.5e00"},
        {kBoth, 0.015, "0.0e-", "1.5e-02"},
        {kBoth, 1.5, "0.0E+", "1.5E+00"},
        // Placeholders after the exponent print the digits that follow.
        {kBoth, 12345, "0.0E+00", "1.2E+0434"},
        {kBoth, 41, "0000", "0041"},
        // Under 932 an escape takes a whole double-byte character, and the
        // second byte of a character is never read as a picture character.
        {k932, 5, "\\" KATA_SO "#", KATA_SO "5"},
        {k1252, 5, "\\" KATA_SO "#", "\x83#"},
        {k932, 5, KATA_SO "#", "5"},
        {k1252, 5, KATA_SO "#", "#"},
    };
#undef KATA_SO
    const Pages page = codePageUnderTest() == 932 ? k932 : k1252;
    for (const auto& c : cases) {
        if (!(c.pages & page)) continue;
        Owned format(c.format);
        Owned text(StringFormat(c.x, format));
        EXPECT_EQ(shown(text.bytes()), shown(c.expected)) << c.x << " " << shown(c.format);
        EXPECT_EQ(format.refs(), format.get() ? 1 : 0);
    }
}

// Numbers whose text outgrows any fixed buffer are written in full.
TEST(NumberConversions, StringFormatWritesLongNumbersWhole) {
    Owned picture("#");
    Owned huge(StringFormat(1e300, picture));
    EXPECT_EQ(huge.bytes().size(), 301u);
    EXPECT_EQ(huge.bytes().substr(0, 20), "10000000000000000525");
    Owned places(std::string(400, '0'));
    Owned padded(StringFormat(42, places));
    EXPECT_EQ(padded.bytes(), std::string(398, '0') + "42");
    // 200,000 fraction places before an exponent: the digits of 1 are all zeros.
    Owned manyPlaces("0." + std::string(200000, '0') + "e");
    Owned scientific(StringFormat(1, manyPlaces));
    EXPECT_EQ(scientific.bytes(), "1." + std::string(200000, '0') + "e+00");
}

TEST(NumberConversions, LocaleFormsWithAFullStop) {
    Owned grouped("1,234.5");
    EXPECT_EQ(runCDbl(grouped), 1234.5);
    Owned radix("&h1F");
    EXPECT_EQ(runCDbl(radix), 31);
    EXPECT_EQ(runCDbl(nullptr), 0);
    EXPECT_EQ(Owned(runCStr(1.5)).bytes(), "1.5");
    EXPECT_EQ(Owned(runCStr(-0.25)).bytes(), "-0.25");
    EXPECT_EQ(Owned(runCStr(1234567)).bytes(), "1.2345670e+06");
    EXPECT_EQ(Owned(runCStr(100)).bytes(), "100");
}

TEST(NumberConversions, HexadecimalAndOctalText) {
    const struct {
        uint32_t value;
        std::string_view hex, octal;
    } cases[] = {
        {0, "0", "0"},
        {8, "8", "10"},
        {255, "FF", "377"},
        {0xABCDEF, "ABCDEF", "52746757"},
        {0xFFFFFFFF, "FFFFFFFF", "37777777777"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Owned(RuntimeHex(c.value)).bytes(), c.hex) << c.value;
        EXPECT_EQ(Owned(RuntimeOct(c.value)).bytes(), c.octal) << c.value;
    }
}

TEST(NumberConversions, FloatingPointToInteger) {
    const struct {
        double x;
        int32_t expected;
    } cases[] = {
        {-2.7, -2},
        {2.7, 2},
        {-0.5, 0},
        {2147483647.9, 2147483647},
        {-2147483648.9, INT32_MIN},
        {2147483648.0, INT32_MIN},
        {-2147483649.0, INT32_MIN},
        {1e10, INT32_MIN},
        {kInfinity, INT32_MIN},
        {-kInfinity, INT32_MIN},
        {kNaN, INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(FPToInt(c.x), c.expected) << c.x;
    // The conversion leaves the rounding of later arithmetic as it was.
    volatile double x = 2.7;
    EXPECT_EQ(std::nearbyint(x), 3.0);
    EXPECT_EQ(IntToFP(-5), -5.0);
    EXPECT_EQ(IntToFP(INT32_MIN), -2147483648.0);
    EXPECT_EQ(IntToFP(INT32_MAX), 2147483647.0);
}

}  // namespace
