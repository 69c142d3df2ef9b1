// The address book's lines, the import's fields, the recipient menu rows and
// the temporary name of a safe save.
#include <gtest/gtest.h>

#include <string>

#include "LogicTestSupport.h"
#include "logic/AddressBookText.h"
#include "logic/SaveReplacement.h"

namespace {

using namespace logic_test;
using namespace applogic;

struct Fields {
    std::string name, number, centre;
};

Fields fieldsOf(const AddressEntry& e) { return {str(e.name), str(e.number), str(e.centre)}; }

TEST(AddressBookFile, LinesSplitIntoThreeFieldsWithMissingOnesEmpty) {
    // "ソ" ends in the byte 0x5C and "表" too: neither may split or end a field.
    const std::string so = sjis("ソ表");
    ASSERT_EQ(so[1], '\x5C');
    struct Case {
        std::string line;
        Fields expected;
    };
    const Case cases[] = {
        {"Taro\t09012345678\t00001011", {"Taro", "09012345678", "00001011"}},
        {"Taro\t0901\t", {"Taro", "0901", ""}},
        {"Taro\t0901", {"Taro", "0901", ""}},
        {"Taro", {"Taro", "", ""}},
        {"\t0901\t0000", {"", "0901", "0000"}},
        {"a\tb\tc\td\te", {"a", "b", "c"}},
        {"a\tb\tc\r", {"a", "b", "c"}},
        {"a\tb\tc\r\n", {"a", "b", "c"}},
        {so + "\t0901\t", {so, "0901", ""}},
        {"", {"", "", ""}},
    };
    for (const Case& c : cases) {
        const Fields f = fieldsOf(addressEntryFromLine(bytes(c.line)));
        EXPECT_EQ(f.name, c.expected.name) << c.line;
        EXPECT_EQ(f.number, c.expected.number) << c.line;
        EXPECT_EQ(f.centre, c.expected.centre) << c.line;
    }
}

TEST(AddressBookFile, ImportTakesFieldsTwoAndFourAndNoCentre) {
    struct Case {
        std::string line;
        Fields expected;
    };
    const Case cases[] = {
        {"1\tHanako\tx\t0701111\ty", {"Hanako", "0701111", ""}},
        {"1\tHanako\tx", {"Hanako", "", ""}},
        {"no tabs at all, a comma, separated, file", {"", "", ""}},
        {"1\t" + sjis("花子") + "\t\t0702222\r", {sjis("花子"), "0702222", ""}},
    };
    for (const Case& c : cases) {
        const Fields f = fieldsOf(importedEntryFromLine(bytes(c.line)));
        EXPECT_EQ(f.name, c.expected.name) << c.line;
        EXPECT_EQ(f.number, c.expected.number) << c.line;
        EXPECT_EQ(f.centre, "") << c.line;
    }
    EXPECT_TRUE(isEmptyEntry(importedEntryFromLine(bytes("no tabs at all"))));
    EXPECT_FALSE(isEmptyEntry(importedEntryFromLine(bytes("1\tHanako"))));
    EXPECT_FALSE(isEmptyEntry(addressEntryFromLine(bytes("\t\t00001001"))));
}

TEST(AddressBookFile, EmptyLinesHoldNoEntry) {
    for (const char* empty : {"", "\r", " ", "\t\t", " \t \r\n"}) EXPECT_TRUE(isEmptyEntryLine(bytes(empty))) << empty;
    for (const char* entry : {"a", "\t0901", "\t\t0000"}) EXPECT_FALSE(isEmptyEntryLine(bytes(entry))) << entry;
}

TEST(AddressBookFile, WrittenLinesKeepThreeFieldsWhateverTheCellsHold) {
    const std::string so = sjis("ソ");
    struct Case {
        Fields entry;
        std::string line;
    };
    const Case cases[] = {
        {{"Taro", "0901", "0000"}, "Taro\t0901\t0000"},
        {{"Taro", "0901", ""}, "Taro\t0901\t"},
        {{"", "", ""}, "\t\t"},
        {{"Ta\tro", "09\r01", "00\n00"}, "Ta ro\t09 01\t00 00"},
        {{so + "\t", "1", "2"}, so + " \t1\t2"},
    };
    for (const Case& c : cases) {
        const AddressEntry e{bytes(c.entry.name), bytes(c.entry.number), bytes(c.entry.centre)};
        const int32_t length = addressLineLength(e);
        std::string buffer(size_t(length) + 4, '#');
        ASSERT_EQ(addressLine(e, reinterpret_cast<uint8_t*>(buffer.data()), length), length);
        EXPECT_EQ(buffer.substr(0, size_t(length)), c.line);
        EXPECT_EQ(buffer.substr(size_t(length)), "####");
        // What is written reads back as the same (cleaned) entry.
        const Fields back = fieldsOf(addressEntryFromLine(bytes(c.line)));
        EXPECT_EQ(back.number.size(), c.entry.number.size());
        EXPECT_EQ(back.name.size(), c.entry.name.size());
        EXPECT_EQ(addressLine(e, reinterpret_cast<uint8_t*>(buffer.data()), length - 1), -1);
    }
    EXPECT_TRUE(cellNeedsCleaning(bytes("a\tb")));
    EXPECT_TRUE(cellNeedsCleaning(bytes("a\n")));
    EXPECT_FALSE(cellNeedsCleaning(bytes(so + "b")));
}

TEST(RecipientMenu, RowsAndTheNumberAfterTheLastMark) {
    std::string buffer(64, '\0');
    auto row = [&](const std::string& name, const std::string& number) {
        const int32_t n = recipientMenuRow(bytes(name), bytes(number), reinterpret_cast<uint8_t*>(buffer.data()), 64);
        return n < 0 ? std::string("<overflow>") : buffer.substr(0, size_t(n));
    };
    EXPECT_EQ(row("Taro", "0901"), "<Taro>0901");
    EXPECT_EQ(row("", ""), "<>");
    EXPECT_EQ(row(std::string(70, 'x'), "1"), "<overflow>");
    EXPECT_EQ(recipientMenuRowLength(bytes("Taro"), bytes("0901")), 10);

    struct Case {
        std::string row, number;
    };
    const Case cases[] = {
        {"<Taro>0901", "0901"}, {"<A>B>0902", "0902"}, {"<Taro>", ""}, {"0903", "0903"},
        {"<" + sjis("ソ表") + ">0904", "0904"},
    };
    for (const Case& c : cases) EXPECT_EQ(str(numberOfMenuRow(bytes(c.row))), c.number) << c.row;
}

TEST(RecipientMenu, SelectionMovesWithinTheListOnly) {
    struct Case {
        int32_t selected, rows, below, above;
    };
    const Case cases[] = {
        {0, 3, 1, 0}, {1, 3, 2, 0}, {2, 3, 2, 1}, {-1, 3, -1, -1}, {0, 1, 0, 0}, {-1, 0, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rowBelow(c.selected, c.rows), c.below) << c.selected << '/' << c.rows;
        EXPECT_EQ(rowAbove(c.selected, c.rows), c.above) << c.selected << '/' << c.rows;
    }
}

TEST(AddressBookFile, NamesAreTheJapaneseOnes) {
    EXPECT_EQ(std::string(kAddressBookFileName), sjis("PokC電話帳"));
    EXPECT_EQ(std::string(kNewEntryName), sjis("新規名前"));
}

TEST(SafeSave, TemporaryNameSitsBesideTheFile) {
    std::string buffer(64, '\0');
    const std::string name = sjis("すたきば初期設定");
    const int32_t n = temporarySaveName(bytes(name), reinterpret_cast<uint8_t*>(buffer.data()), 64);
    EXPECT_EQ(buffer.substr(0, size_t(n)), name + ".new");
    EXPECT_EQ(temporarySaveName(bytes(name), reinterpret_cast<uint8_t*>(buffer.data()), int32_t(name.size()) + 3), -1);

    WrittenLength written(2);
    written.line(3);
    written.line(0);
    EXPECT_EQ(written.total(), 7);
    for (int i = 0; i < 3; ++i) written.line(INT32_MAX);
    EXPECT_EQ(written.total(), -1);
}

}  // namespace
