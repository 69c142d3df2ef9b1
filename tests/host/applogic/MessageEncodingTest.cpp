// The message encoders: the two-digit code table in both widths, the kanji
// codes, ISO-2022-JP and hexadecimal text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogicTestSupport.h"
#include "logic/MessageEncoding.h"

namespace {

using namespace logic_test;
using namespace applogic;

std::string bell(const std::string& utf8) { return encode(bellCode, sjis(utf8), bellCodeCapacity(int32_t(sjis(utf8).size()))); }
std::string kanji(const std::string& s) { return encode(kanjiCode, s, kanjiCodeCapacity(int32_t(s.size()))); }
std::string jis(const std::string& s) { return encode(jsjisToJisString, s, jsjisToJisStringCapacity(int32_t(s.size()))); }

// The code table as printed: row digit, then the columns 1 to 9 and 0, each
// cell with every form that produces it (empty: no character).
struct Cell {
    std::vector<std::string> forms;
};
const std::vector<std::vector<Cell>> kTable = {
    {{{"ア", "ァ", "ｱ", "ｧ"}}, {{"イ", "ィ", "ｲ", "ｨ"}}, {{"ウ", "ゥ", "ｳ", "ｩ"}}, {{"エ", "ェ", "ｴ", "ｪ"}}, {{"オ", "ォ", "ｵ", "ｫ"}},
     {{"A", "Ａ"}}, {{"B", "Ｂ"}}, {{"C", "Ｃ"}}, {{"D", "Ｄ"}}, {{"E", "Ｅ"}}},
    {{{"カ", "ｶ"}}, {{"キ", "ｷ"}}, {{"ク", "ｸ"}}, {{"ケ", "ｹ"}}, {{"コ", "ｺ"}},
     {{"F", "Ｆ"}}, {{"G", "Ｇ"}}, {{"H", "Ｈ"}}, {{"I", "Ｉ"}}, {{"J", "Ｊ"}}},
    {{{"サ", "ｻ"}}, {{"シ", "ｼ"}}, {{"ス", "ｽ"}}, {{"セ", "ｾ"}}, {{"ソ", "ｿ"}},
     {{"K", "Ｋ"}}, {{"L", "Ｌ"}}, {{"M", "Ｍ"}}, {{"N", "Ｎ"}}, {{"O", "Ｏ"}}},
    {{{"タ", "ﾀ"}}, {{"チ", "ﾁ"}}, {{"ツ", "ﾂ"}}, {{"テ", "ﾃ"}}, {{"ト", "ﾄ"}},
     {{"P", "Ｐ"}}, {{"Q", "Ｑ"}}, {{"R", "Ｒ"}}, {{"S", "Ｓ"}}, {{"T", "Ｔ"}}},
    {{{"ナ", "ﾅ"}}, {{"ニ", "ﾆ"}}, {{"ヌ", "ﾇ"}}, {{"ネ", "ﾈ"}}, {{"ノ", "ﾉ"}},
     {{"U", "Ｕ"}}, {{"V", "Ｖ"}}, {{"W", "Ｗ"}}, {{"X", "Ｘ"}}, {{"Y", "Ｙ"}}},
    {{{"ハ", "ﾊ"}}, {{"ヒ", "ﾋ"}}, {{"フ", "ﾌ"}}, {{"ヘ", "ﾍ"}}, {{"ホ", "ﾎ"}},
     {{"Z", "Ｚ"}}, {{"?", "？"}}, {{"!", "！"}}, {{"-", "ー", "－", "―", "‐", "ｰ"}}, {{"/", "／"}}},
    {{{"マ", "ﾏ"}}, {{"ミ", "ﾐ"}}, {{"ム", "ﾑ"}}, {{"メ", "ﾒ"}}, {{"モ", "ﾓ"}},
     {{"￥"}}, {{"&", "＆"}}, {{"@", "＠"}}, {{"〓"}}, {{"%", "％"}}},
    {{{"ヤ", "ャ", "ﾔ", "ｬ"}}, {{"(", "（"}}, {{"ユ", "ュ", "ﾕ", "ｭ"}}, {{")", "）"}}, {{"ヨ", "ョ", "ﾖ", "ｮ"}},
     {{"*", "＊"}}, {{"#", "＃"}}, {{" ", "　"}}, {{"▽"}}, {{}}},
    {{{"ラ", "ﾗ"}}, {{"リ", "ﾘ"}}, {{"ル", "ﾙ"}}, {{"レ", "ﾚ"}}, {{"ロ", "ﾛ"}},
     {{"1", "１"}}, {{"2", "２"}}, {{"3", "３"}}, {{"4", "４"}}, {{"5", "５"}}},
    {{{"ワ", "ﾜ"}}, {{"ヲ", "ｦ"}}, {{"ン", "ﾝ"}}, {{"゛", "ﾞ"}}, {{"゜", "ﾟ"}},
     {{"6", "６"}}, {{"7", "７"}}, {{"8", "８"}}, {{"9", "９"}}, {{"0", "０"}}},
};

TEST(BellCode, EveryCellOfTheTableInEveryForm) {
    for (size_t row = 0; row < kTable.size(); ++row) {
        for (size_t column = 0; column < 10; ++column) {
            const std::string code = std::to_string((row + 1) % 10) + std::to_string((column + 1) % 10);
            for (const std::string& form : kTable[row][column].forms) {
                EXPECT_EQ(bell(form), code) << form;
            }
        }
    }
}

TEST(BellCode, VoicedAndSemiVoicedFormsInBothWidths) {
    struct Case {
        const char* text;
        const char* code;
    };
    const Case cases[] = {
        {"ガ", "2104"}, {"ｶﾞ", "2104"}, {"ギグゲゴ", "2204230424042504"}, {"ｷﾞｸﾞｹﾞｺﾞ", "2204230424042504"},
        {"ザジズゼゾ", "31043204330434043504"},
        {"ダヂヅデド", "41044204430444044504"},
        {"ﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞ", "41044204430444044504"},
        {"バビブベボ", "61046204630464046504"},
        {"パ", "6105"}, {"ﾊﾟ", "6105"}, {"ピプペポ", "6205630564056505"},
        {"ﾋﾟﾌﾟﾍﾟﾎﾟ", "6205630564056505"},
        // A mark after a kana that has no voiced form stays a mark of its own.
        {"ｱﾞ", "1104"}, {"ｶﾟ", "2105"}, {"ﾞ", "04"},
    };
    for (const Case& c : cases) EXPECT_EQ(bell(c.text), c.code) << c.text;
}

TEST(BellCode, DropsWhatTheTableLacksAndLineBreaks) {
    struct Case {
        const char* text;
        const char* code;
    };
    const Case cases[] = {
        {"ッ", ""}, {"ｯ", ""}, {"ヮヰヱヴヵヶ", ""}, {"ｳﾞ", ""}, {"abc", ""}, {"あ亜", ""}, {"｡｢｣､･", ""},
        {"ABC", "161718"}, {"E", "10"}, {"0", "00"}, {"ア\r\nイ\nウ\r", "111213"}, {"", ""},
        // Codes 79 and 89 take only their own symbols: a question mark is 67 alone.
        {"?", "67"}, {"A?B", "166717"},
    };
    for (const Case& c : cases) EXPECT_EQ(bell(c.text), c.code) << c.text;
}

TEST(KanjiCode, RowAndCellOfEveryCharacter) {
    struct Case {
        const char* text;
        const char* code;
    };
    const Case cases[] = {
        {"亜", "#1601"}, {"あ", "#0402"}, {"　", "#0101"}, {"熙", "#8406"}, {"腕", "#4751"}, {"弌", "#4801"},
        {"あ\r\n亜", "#0402#1601"},
        // Single-byte characters as their full-width forms.
        {"A", "#0333"}, {"1", "#0317"}, {" ", "#0101"}, {"~", "#0133"},
        {"ｶ", "#0511"}, {"ｶﾞ", "#0512"}, {"ﾊﾟ", "#0549"}, {"ｰ", "#0128"},
        // Characters JIS X 0208 cannot hold become the geta mark.
        {"①", "#0214"}, {"〓", "#0214"}, {"髙", "#0214"}, {"纊", "#0214"},
    };
    for (const Case& c : cases) EXPECT_EQ(kanji(sjis(c.text)), c.code) << c.text;
}

TEST(KanjiCode, BytesWithoutACharacter) {
    EXPECT_EQ(kanji("\t\x7F"), "");                           // no full-width form: dropped
    EXPECT_EQ(kanji(std::string("\x82", 1)), "#0214");        // lead byte at the end
    EXPECT_EQ(kanji("\x82" "1"), "#0214#0317");               // lead byte before a byte that is no trail
    EXPECT_EQ(kanji("\xF0\x40\x85\x40\x81\xAD"), "#0214#0214#0214");  // user area, empty row, gap
}

TEST(JsjisToJis, TheArithmeticOfTheConversion) {
    struct Case {
        int32_t sjis, jis;
    };
    const Case cases[] = {{0x82A0, 0x2422}, {0xE040, 0x5F21}, {0x8140, 0x2121}, {0x889F, 0x3021},
                          {0x9FFC, 0x5E7E}, {0xEAA4, 0x7426}, {0x817E, 0x215F}, {0x8180, 0x2160}};
    for (const Case& c : cases) EXPECT_EQ(jsjisToJis(c.sjis), c.jis) << std::hex << c.sjis;
}

TEST(JsjisToJisString, EscapesAroundDoubleByteRuns) {
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {sjis("aあb"), "a\x1B$B$\"\x1B(Bb"},
        {sjis("aあ"), "a\x1B$B$\"\x1B(B"},
        {sjis("あい"), "\x1B$B$\"$$\x1B(B"},
        {sjis("あ\r\nい"), "\x1B$B$\"\x1B(B\r\n\x1B$B$$\x1B(B"},
        {"", ""},
        {"plain ASCII\r\n", "plain ASCII\r\n"},
        // Half-width katakana widened, marks combined.
        {sjis("ｱｶﾞ"), "\x1B$B%\"%,\x1B(B"},
        // Nothing 8-bit and no stray escape ever goes out.
        {sjis("①"), "\x1B$B\".\x1B(B"},
        {"\xF0\x40x", "\x1B$B\".\x1B(Bx"},
        {"\x80\xA0\xFD", "\x1B$B\".\".\".\x1B(B"},
        {"a\x1B" "b", "a\x1B$B\".\x1B(Bb"},
        {std::string("\x82", 1), "\x1B$B\".\x1B(B"},
        {"\x82" "1", "\x1B$B\".\x1B(B1"},
    };
    for (const Case& c : cases) EXPECT_EQ(jis(c.text), c.expected);
}

TEST(Encoders, NeverWritePastTheBuffer) {
    const std::string text = sjis("アイウ亜あ");
    EXPECT_EQ(encode(bellCode, text, 3), "<overflow>");
    EXPECT_EQ(encode(kanjiCode, text, 9), "<overflow>");
    EXPECT_EQ(encode(jsjisToJisString, text, 10), "<overflow>");
    EXPECT_EQ(encode(stringToHexString, text, 5), "<overflow>");
    EXPECT_EQ(encode(kanjiCode, text, 25), "#0502#0504#0506#1601#0402");
}

TEST(StringToHexString, TwoUpperCaseDigitsPerByte) {
    const std::string all = [] {
        std::string s;
        for (int b = 0; b < 256; ++b) s += char(b);
        return s;
    }();
    const std::string hex = encode(stringToHexString, all, 512);
    ASSERT_EQ(hex.size(), 512u);
    for (int b = 0; b < 256; ++b) {
        char expected[3];
        snprintf(expected, sizeof expected, "%02X", b);
        EXPECT_EQ(hex.substr(2 * b, 2), expected);
    }
    EXPECT_EQ(encode(stringToHexString, "A", 2), "41");
}

TEST(LineEnds, CrlfAndTheTextUnchanged) {
    EXPECT_EQ(str(win32Crlf()), "\r\n");
    EXPECT_EQ(encode(texKaigyo, "a\rb\r\nc\n", 7), "a\rb\r\nc\n");
}

}  // namespace
