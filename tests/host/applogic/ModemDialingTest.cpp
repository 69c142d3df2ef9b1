// Dial strings, the split of message digits into dial commands, and the
// modem's answers.
#include <gtest/gtest.h>

#include <string>

#include "LogicTestSupport.h"
#include "logic/ModemDialing.h"

namespace {

using namespace logic_test;
using namespace applogic;

TEST(DialString, KeepsDiallingCharactersAndRefusesTheRest) {
    struct Case {
        const char* text;
        const char* expected;  // nullptr: refused
    };
    const Case cases[] = {
        {"03-1234 5678", "0312345678"}, {"0,0570", "0,0570"}, {"*70#123", "*70#123"},
        {"ABCD WPT!@", "ABCDWPT!@"},    {"", ""},             {" - ", ""},
        {"123;ATZ", nullptr},           {"090\r\nATH", nullptr}, {"abc", nullptr},
        {"１２３", nullptr},             {"12E4", nullptr},       {"12+4", nullptr},
    };
    for (const Case& c : cases) {
        const std::string text = c.text;
        std::string buffer(text.size() + 1, '\0');
        const int32_t n = filterDialString(bytes(text), reinterpret_cast<uint8_t*>(buffer.data()), int32_t(text.size()));
        if (c.expected == nullptr) {
            EXPECT_EQ(n, -1) << c.text;
        } else {
            ASSERT_GE(n, 0) << c.text;
            EXPECT_EQ(buffer.substr(0, size_t(n)), c.expected);
        }
    }
}

std::string digitsOf(int32_t count) {
    std::string s;
    for (int32_t i = 0; i < count; ++i) s += char('0' + i % 10);
    return s;
}

std::string commands(const std::string& digits) {
    std::string all;
    for (int32_t i = 0; i < modemBlockCount(int32_t(digits.size())); ++i) {
        all += encode([i](Bytes d, uint8_t* out, int32_t cap) { return modemBlockCommand(d, i, out, cap); }, digits,
                      kDigitsPerBlock + 6);
        all += "|";
    }
    return all;
}

TEST(DialBlocks, CommandsForTheLengthsAroundEachLimit) {
    const std::string d32 = digitsOf(32);
    struct Case {
        int32_t length;
        int32_t blocks;
        std::string commands;
    };
    const Case cases[] = {
        {0, 1, "DT##;\r|"},
        {1, 1, "DT0##;\r|"},
        {29, 1, "DT" + digitsOf(29) + "##;\r|"},
        {30, 2, "DT" + digitsOf(30) + ";\r|DT##;\r|"},
        {31, 2, "DT" + digitsOf(31) + ";\r|DT##;\r|"},
        {32, 2, "DT" + d32 + ";\r|DT##;\r|"},
        {40, 2, "DT" + d32 + ";\r|DT" + digitsOf(40).substr(32) + "##;\r|"},
        {61, 2, "DT" + d32 + ";\r|DT" + digitsOf(61).substr(32) + "##;\r|"},
        {62, 3, "DT" + d32 + ";\r|DT" + digitsOf(62).substr(32) + ";\r|DT##;\r|"},
        {63, 3, "DT" + d32 + ";\r|DT" + digitsOf(63).substr(32) + ";\r|DT##;\r|"},
        {64, 3, "DT" + d32 + ";\r|DT" + digitsOf(64).substr(32) + ";\r|DT##;\r|"},
        {65, 3, "DT" + d32 + ";\r|DT" + digitsOf(64).substr(32) + ";\r|DT4##;\r|"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(modemBlockCount(c.length), c.blocks) << c.length;
        EXPECT_EQ(commands(digitsOf(c.length)), c.commands) << c.length;
    }
}

TEST(DialBlocks, EveryLengthSendsEachDigitOnceAndEndsOnce) {
    for (int32_t length = 0; length <= 300; ++length) {
        const int32_t count = modemBlockCount(length);
        std::string sent;
        for (int32_t i = 0; i < count; ++i) {
            const DialBlock block = modemBlock(length, i);
            EXPECT_EQ(block.last, i == count - 1);
            EXPECT_EQ(block.offset, int32_t(sent.size()));
            if (!block.last) EXPECT_TRUE(block.length == 32 || block.offset + block.length == length) << length;
            if (block.last) EXPECT_LE(block.length, 29) << length;
            sent += digitsOf(length).substr(size_t(block.offset), size_t(block.length));
        }
        EXPECT_EQ(sent, digitsOf(length));
        // The progress maximum of a 40-digit message: (25 + 10 + 10 x 2) x 60.
        if (length == 40) EXPECT_EQ((25 + 10 + 10 * count) * 60, 3300);
    }
}

TEST(ModemAnswers, FailuresOnCompleteLinesOnly) {
    struct Case {
        std::string received;
        ModemAnswer answer;
    };
    const Case cases[] = {
        {"", ModemAnswer::None},
        {"\r\nOK\r\n", ModemAnswer::None},
        {"ATDT0123;\r\r\nOK\r\n\r\nBUSY\r\n", ModemAnswer::Busy},
        {"\r\nNO CARRIER\r\n", ModemAnswer::NoCarrier},
        {"NO DIALTONE\r", ModemAnswer::NoDialtone},
        {"NO DIAL TONE\n", ModemAnswer::NoDialtone},
        {"\r\nNO ANSWER\r\n", ModemAnswer::NoAnswer},
        {"\r\nERROR\r\n", ModemAnswer::Error},
        {"  BUSY \r\n", ModemAnswer::Busy},
        {"\r\nBUSY", ModemAnswer::None},  // not complete yet
        {"\r\nBUS", ModemAnswer::None},
        {"ERRORS\r\nBUSYNESS\r\n", ModemAnswer::None},
    };
    for (const Case& c : cases) EXPECT_EQ(findModemFailure(bytes(c.received)), c.answer) << c.received;
    EXPECT_EQ(str(modemAnswerText(ModemAnswer::NoCarrier)), "NO CARRIER");
    EXPECT_EQ(str(modemAnswerText(ModemAnswer::Busy)), "BUSY");
    EXPECT_EQ(str(modemAnswerText(ModemAnswer::None)), "");
}

}  // namespace

namespace {

using namespace logic_test;
using namespace applogic;

std::string centreCommand(bool tone, bool extension, const std::string& head, const std::string& centre) {
    std::string out(64, '\0');
    const int32_t n = centreDialCommand(tone, extension, bytes(head), bytes(centre), reinterpret_cast<uint8_t*>(out.data()), 64);
    return n < 0 ? "<refused>" : out.substr(0, size_t(n));
}

TEST(DialCommands, CentreAndRecipient) {
    EXPECT_EQ(centreCommand(true, false, "0,", "0000-10-01"), "ATDT00001001;\r");
    EXPECT_EQ(centreCommand(true, true, "0,", "00001001"), "ATX3DT0,00001001;\r");
    EXPECT_EQ(centreCommand(false, false, "0,", "00001001"), "ATDP00001001;\r");
    EXPECT_EQ(centreCommand(false, true, "9W", "00001001"), "ATX3DP9W00001001;\r");
    EXPECT_EQ(centreCommand(true, false, "x;", "00001001"), "ATDT00001001;\r");  // the prefix only counts with an extension
    EXPECT_EQ(centreCommand(true, true, "0;ATH", "00001001"), "<refused>");
    EXPECT_EQ(centreCommand(true, false, "", "0000100A1Z"), "<refused>");
    std::string out(64, '\0');
    int32_t n = recipientDialCommand(bytes("090-1234-5678"), reinterpret_cast<uint8_t*>(out.data()), 64);
    EXPECT_EQ(out.substr(0, size_t(n)), "DT09012345678#;\r");
    EXPECT_EQ(recipientDialCommand(bytes("090;H"), reinterpret_cast<uint8_t*>(out.data()), 64), -1);
    EXPECT_EQ(modemProgressMaximum(modemBlockCount(40)), 3300);
}

}  // namespace
