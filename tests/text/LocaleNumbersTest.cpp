// Number conversions in a user locale whose decimal separator is a comma and
// whose thousands separator is a full stop. The test runner starts this
// program in such a locale.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/EntryCallSupport.h"
#include "text/NumberEntries.h"

namespace {

using testing_support::Owned;

TEST(CommaDecimalLocale, TheLocaleHasACommaDecimalSeparator) {
    char decimal[4] = {};
    char thousands[4] = {};
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof decimal), 0);
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousands, sizeof thousands), 0);
    ASSERT_STREQ(decimal, ",");
    ASSERT_STREQ(thousands, ".");
}

TEST(CommaDecimalLocale, LocaleFormsUseTheSeparators) {
    EXPECT_EQ(Owned(runCStr(1.5)).bytes(), "1,5");
    EXPECT_EQ(Owned(runCStr(-1234567)).bytes(), "-1,2345670e+06");
    EXPECT_EQ(Owned(runCStr(42)).bytes(), "42");
    EXPECT_EQ(runCDbl(Owned("1.234,5")), 1234.5);
    EXPECT_EQ(runCDbl(Owned("-0,25")), -0.25);
    EXPECT_EQ(runCDbl(Owned("1,5e3")), 1500);
}

TEST(CommaDecimalLocale, StringValAndStringStrStayWithTheFullStop) {
    EXPECT_EQ(StringVal(Owned("1,5")), 1);
    EXPECT_EQ(StringVal(Owned("2.75")), 2.75);
    EXPECT_EQ(Owned(StringStr(1.5)).bytes(), "1.5");
}

TEST(CommaDecimalLocale, PicturesUseTheSeparators) {
    const struct {
        double x;
        const char* picture;
        const char* expected;
    } cases[] = {
        {1234567.891, "#,##0.00", "1.234.567,89"},
        {0.5, "#.##", "0,5"},
        {0.5, "0.00%", "50,00%"},
        {12345.678, "Scientific", "1,234567E+04"},
        {-1234.5, "#,##0.00;(#,##0.00)", "(1.234,50)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Owned(StringFormat(c.x, Owned(c.picture))).bytes(), c.expected) << c.picture;
    }
}

}  // namespace
