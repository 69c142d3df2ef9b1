// What the lines of the preferences file mean when read back, including
// damaged files; and the colour of the length display.
#include <gtest/gtest.h>

#include <string>

#include "LogicTestSupport.h"
#include "logic/LengthDisplay.h"
#include "logic/Preferences.h"

namespace {

using namespace logic_test;
using namespace applogic;

TEST(PreferenceLines, FlagsAndLineTypeRoundTripAndOnlyExactWordsCount) {
    EXPECT_EQ(str(flagText(true)), "True");
    EXPECT_EQ(str(flagText(false)), "False");
    EXPECT_TRUE(flagFromLine(flagText(true)));
    EXPECT_FALSE(flagFromLine(flagText(false)));
    for (const char* other : {"", "true", "TRUE", "True ", "1", "Tru"}) EXPECT_FALSE(flagFromLine(bytes(other))) << other;

    EXPECT_EQ(str(lineTypeText(true)), "Tone");
    EXPECT_EQ(str(lineTypeText(false)), "Pulse");
    EXPECT_EQ(lineTypeFromLine(bytes("Tone")), LineTypeChoice::Tone);
    EXPECT_EQ(lineTypeFromLine(bytes("Pulse")), LineTypeChoice::Pulse);
    for (const char* other : {"", "tone", "PULSE", "Tone\r", "0"})
        EXPECT_EQ(lineTypeFromLine(bytes(other)), LineTypeChoice::Unchanged) << other;
}

TEST(PreferenceLines, IntegersAreReadLikeTheTruncatingConversionAndGarbageIsRefused) {
    struct Case {
        const char* line;
        bool ok;
        int32_t value;
    };
    const Case cases[] = {
        {"0", true, 0},           {"154", true, 154},     {"-12", true, -12},         {"+7", true, 7},
        {" 42 ", true, 42},       {"3.9", true, 3},       {"-3.9", true, -3},         {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},                 {"2147483648", false, 99},  {"99999999999999", false, 99},
        {"", false, 99},          {" ", false, 99},       {"abc", false, 99},         {"12abc", false, 99},
        {"-", false, 99},         {".5", false, 99},      {"1 2", false, 99},         {"\x82\x50", false, 99},
    };
    for (const Case& c : cases) {
        int32_t value = 99;
        EXPECT_EQ(integerFromLine(bytes(c.line), value), c.ok) << '"' << c.line << '"';
        EXPECT_EQ(value, c.value) << '"' << c.line << '"';
    }
}

TEST(PreferenceLines, SerialRowFallsBackToTheFirstPort) {
    EXPECT_EQ(serialRowFromLine(bytes("2"), 4), 2);
    EXPECT_EQ(serialRowFromLine(bytes("3"), 4), 3);
    for (const char* bad : {"4", "-1", "", "COM2", "1e3"}) EXPECT_EQ(serialRowFromLine(bytes(bad), 4), 0) << bad;
    EXPECT_EQ(serialRowFromLine(bytes("0"), 0), 0);
}

TEST(PreferenceLines, WindowPositionsOffEveryScreenAreNotRestored) {
    EXPECT_TRUE(isUsableWindowCoordinate(0));
    EXPECT_TRUE(isUsableWindowCoordinate(-20));
    EXPECT_TRUE(isUsableWindowCoordinate(1900));
    EXPECT_FALSE(isUsableWindowCoordinate(-32000));  // where a minimised window reports itself
    EXPECT_FALSE(isUsableWindowCoordinate(100000));
}

TEST(PreferenceLines, TheFileNameIsTheJapaneseName) {
    EXPECT_EQ(std::string(kPreferencesFileName), sjis("すたきば初期設定"));
    EXPECT_EQ(kPreferenceLineCount, int32_t(PreferenceLine::ManualSending) + 1);
}

TEST(LengthDisplay, BlueUntilTheLimitOfTheChosenEncoding) {
    struct Case {
        int32_t count;
        bool kanji;
        int32_t colour;
    };
    const Case cases[] = {
        {0, true, 0x0000FF},   {105, true, 0x0000FF},  {106, true, 0xFF0000},  {400, true, 0xFF0000},
        {106, false, 0x0000FF}, {209, false, 0x0000FF}, {210, false, 0xFF00FF}, {0, false, 0x0000FF},
    };
    for (const Case& c : cases) EXPECT_EQ(lengthColour(c.count, c.kanji), c.colour) << c.count << ' ' << c.kanji;
}

}  // namespace
