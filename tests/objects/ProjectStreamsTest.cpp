// The serialised streams of the image: varints, the menu bar and the settings.
// Runs natively and under Wine.
#include <gtest/gtest.h>

#include <vector>

#include "objects/DataStream.h"
#include "objects/DataStreamWriter.h"
#include "objects/ProjectStreams.h"

using namespace runtime;

namespace {

int32_t readVarint(std::vector<uint8_t> bytes, bool* failed = nullptr) {
    DataStream in(bytes);
    const int32_t value = in.readVarint();
    if (failed) *failed = in.failed();
    return value;
}

TEST(DataStream, VarintEncodings) {
    struct Case {
        std::vector<uint8_t> bytes;
        int32_t value;
    } cases[] = {
        {{0x00}, 0},
        {{0x3F}, 63},
        {{0x89, 0x01}, 73},
        {{0x41}, -1},
        {{0xC9, 0x01}, -73},
        {{0x80, 0x80, 0x80, 0x80, 0x10}, static_cast<int32_t>(0x80000000u)},
        // The sign bit on 0x80000000 is not applied.
        {{0xC0, 0x80, 0x80, 0x80, 0x10}, static_cast<int32_t>(0x80000000u)},
        {{0x90, 0x80, 0x80, 0x80, 0x10}, static_cast<int32_t>(0x80000010u)},
        {{0x80, 0x80, 0x80, 0x81, 0x10}, static_cast<int32_t>(0x80100000u)},
        {{0xBF, 0xFF, 0xFF, 0xFF, 0x0F}, 0x7FFFFFFF},
    };
    for (const Case& c : cases) {
        bool failed = true;
        EXPECT_EQ(readVarint(c.bytes, &failed), c.value);
        EXPECT_FALSE(failed);
        DataStreamWriter out;
        out.writeVarint(c.value);
        EXPECT_EQ(readVarint(out.bytes()), c.value);
    }
}

TEST(DataStream, ReadingPastTheEndFailsSafely) {
    bool failed = false;
    readVarint({0x80}, &failed);  // continuation without a following byte
    EXPECT_TRUE(failed);
    std::vector<uint8_t> shortString{0x05, 'a', 'b'};
    DataStream in(shortString);
    EXPECT_EQ(in.readString(), "");
    EXPECT_TRUE(in.failed());
    std::vector<uint8_t> negativeCount{0x41, 'x'};
    DataStream neg(negativeCount);
    EXPECT_EQ(neg.readString(), "");  // a count of 0 or less is the empty string
    EXPECT_FALSE(neg.failed());
    std::vector<uint8_t> word{0x12, 0x34, 0x56, 0x78};
    DataStream w(word);
    EXPECT_EQ(w.readWord(), 0x12345678u);  // big-endian
}

MenuBarStream sampleMenuBar() {
    MenuBarStream bar;
    MenuEntry file{.kind = 0, .text = "\x83t\x83@\x83""C\x83\x8B", .name = "FileMenu"};
    file.items.push_back({.text = "Quit", .name = "FileQuit", .shortcut = "Q", .classIndex = 7});
    MenuEntry edit{.text = "Edit", .name = "EditMenu"};
    edit.items.push_back({.text = "Undo", .name = "EditUndo", .shortcut = "Z", .classIndex = 6});
    edit.items.push_back({.text = "-", .name = "Sep", .index = 0, .classIndex = 6});
    MenuEntry more{.text = "More", .name = "More", .classIndex = 6};
    more.items.push_back({.text = "Inner", .name = "Inner", .index = 3, .flag = 1, .classIndex = 6});
    edit.items.push_back(more);
    edit.items.push_back({.kind = 2, .text = "placeholder"});
    bar.menus = {file, edit, {.kind = 1, .text = "Apple", .items = {{.text = "About", .name = "AboutMe"}}}};
    return bar;
}

void expectSameItems(const std::vector<MenuEntry>& a, const std::vector<MenuEntry>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(a[i].name);
        EXPECT_EQ(a[i].kind, b[i].kind);
        EXPECT_EQ(a[i].text, b[i].text);
        EXPECT_EQ(a[i].name, b[i].name);
        EXPECT_EQ(a[i].index, b[i].index);
        EXPECT_EQ(a[i].shortcut, b[i].shortcut);
        EXPECT_EQ(a[i].flag, b[i].flag);
        EXPECT_EQ(a[i].classIndex, b[i].classIndex);
        expectSameItems(a[i].items, b[i].items);
    }
}

TEST(ProjectStreams, MenuBarRoundTrip) {
    const MenuBarStream bar = sampleMenuBar();
    auto parsed = parseMenuBarStream(encodeMenuBarStream(bar));
    ASSERT_TRUE(parsed.has_value());
    expectSameItems(parsed->menus, bar.menus);
}

TEST(ProjectStreams, MenuIndexValuesThatMeanNone) {
    for (uint32_t none : {0x80000000u, 0x80000010u, 0x80100000u}) {
        DataStreamWriter out;
        out.writeVarint(1);  // one menu
        out.writeVarint(0);
        out.writeString("M");
        out.writeString("Menu");
        out.writeVarint(static_cast<int32_t>(none));
        for (int i = 0; i < 3; ++i) out.writeString("");
        out.writeByte(0);
        out.writeByte(0);
        out.writeVarint(0);
        out.writeVarint(0);  // no items
        auto parsed = parseMenuBarStream(out.bytes());
        ASSERT_TRUE(parsed.has_value());
        EXPECT_FALSE(parsed->menus.at(0).index.has_value()) << std::hex << none;
    }
    EXPECT_FALSE(isNoMenuIndex(0));
    EXPECT_FALSE(isNoMenuIndex(static_cast<int32_t>(0x80000001u)));
}

TEST(ProjectStreams, SettingsRoundTrip) {
    SettingsStream settings;
    settings.firstByte = 7;
    settings.word1 = 0x01020304;
    settings.word2 = 0xA0B0C0D0;
    settings.fileTypes = {{"Audio/X-Alpha5", "", "", "als"}, {"text/tab-separated-values", "XCEL", "TEXT", ""}};
    settings.messages = {"", "", "", "", "An exception of class %1 was not handled.\rThe application must shut down."};
    settings.mdiFrame = true;
    settings.mdiTitle = "My Application";
    auto parsed = parseSettingsStream(encodeSettingsStream(settings));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->firstByte, 7);
    EXPECT_EQ(parsed->word1, 0x01020304u);
    EXPECT_EQ(parsed->word2, 0xA0B0C0D0u);
    ASSERT_EQ(parsed->fileTypes.size(), 2u);
    EXPECT_EQ(parsed->fileTypes[1].creator, "XCEL");
    EXPECT_EQ(parsed->fileTypes[0].extensions, "als");
    EXPECT_EQ(parsed->messages, settings.messages);
    EXPECT_TRUE(parsed->mdiFrame);
    EXPECT_EQ(parsed->mdiTitle, "My Application");
}

TEST(ProjectStreams, MessageTableKeepsTwelveEntries) {
    SettingsStream settings;
    for (int i = 0; i < 14; ++i) settings.messages.push_back("m" + std::to_string(i));
    settings.mdiTitle = "after";
    auto parsed = parseSettingsStream(encodeSettingsStream(settings));
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->messages.size(), kMaxMessages);
    EXPECT_EQ(parsed->messages.back(), "m11");
    EXPECT_EQ(parsed->mdiTitle, "after");  // the entries beyond 12 were read past
}

TEST(ProjectStreams, EveryTruncationIsRefused) {
    const std::vector<uint8_t> menu = encodeMenuBarStream(sampleMenuBar());
    for (size_t n = 0; n < menu.size(); ++n) {
        EXPECT_FALSE(parseMenuBarStream({menu.data(), n}).has_value()) << n;
    }
    SettingsStream settings;
    settings.fileTypes = {{"a", "b", "c", "d"}};
    settings.messages = {"x"};
    settings.mdiTitle = "t";
    const std::vector<uint8_t> bytes = encodeSettingsStream(settings);
    for (size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_FALSE(parseSettingsStream({bytes.data(), n}).has_value()) << n;
    }
}

TEST(ProjectStreams, HugeCountsAndDeepNestingAreRefused) {
    DataStreamWriter huge;
    huge.writeVarint(0x7FFFFFFF);
    EXPECT_FALSE(parseMenuBarStream(huge.bytes()).has_value());
    // A chain of submenus deeper than any menu bar has.
    DataStreamWriter deep;
    deep.writeVarint(1);
    auto writeRecord = [&](bool submenu) {
        deep.writeVarint(0);
        deep.writeString("m");
        deep.writeString("");
        deep.writeVarint(static_cast<int32_t>(0x80000000u));
        for (int i = 0; i < 3; ++i) deep.writeString("");
        deep.writeByte(0);
        deep.writeByte(submenu ? 1 : 0);
        deep.writeVarint(0);
    };
    writeRecord(false);
    for (int depth = 0; depth < 100; ++depth) {
        deep.writeVarint(1);
        writeRecord(true);
    }
    deep.writeVarint(0);
    EXPECT_FALSE(parseMenuBarStream(deep.bytes()).has_value());
}

}  // namespace
