// The structures the image tool lays out from a project description, read
// back the way the runtime reads them: the project table, class descriptors
// and project items, with every address relocated (here to offsets, with both
// bases 0) and the menu bar and settings streams parsed by the runtime's own
// parser.
#include <gtest/gtest.h>

#include <string>

#include "FixtureFiles.h"
#include "ImageBuilder.h"
#include "ToolError.h"
#include "loader/DataRelocation.h"
#include "loader/ImageFormat.h"
#include "objects/ProjectStreams.h"

using namespace imagetool;
using namespace image_test;

namespace {

constexpr std::string_view kProject = R"(entry Entry
class Application builtin
class IThing {
    interface
    method Poke
}
class MyApp {
    super Application
    size 40
    initialiser Entry
    implements IThing
    method Poke Entry
    event Open Entry hook 7
    event Close Entry
    menu FileQuit Entry
    vtable Entry 0
}
class "" {
    super MyApp
}
class QuitMenuItem builtin
nullitem
menubar {
    menu "ファイル" FileMenu {
        item "終了" FileQuit shortcut "Q" class QuitMenuItem
        item "A" A index 0x80000000
        item "B" B index 0x80000010
        item "C" C index 0x80100000
        item "D" D index 3 flag 1 {
            item "ｶﾅ" Inner kind 2 extra1 "x" extra2 "y"
        }
    }
    menu "Other" Other kind 1 {
    }
}
settings {
    header 1 0x01020304 5
    filetype "Audio/X-Alpha5" "" "" "als"
    message 4 "An exception of class %1 was not handled.\rThe application must shut down."
    mdi true "My Application"
}
picture 0x1234 3 2
global MyApp gWords
resource 9 77
)";

// data1 with its addresses turned into offsets (code and data bases 0).
struct Relocated {
    BuiltImage image;
    std::vector<uint8_t> data1;
    uint32_t word(uint32_t offset) const { return image::readU32(data1.data() + offset); }
    std::string constant(uint32_t record) const {
        const uint32_t text = word(record + 4);
        return std::string(reinterpret_cast<const char*>(data1.data() + text + 1), word(record + 8));
    }
};

Relocated build(std::string_view text) {
    Relocated r{buildImage(loadObjects({fixtureObject("strings_image", "Strings.cpp"),
                                        fixtureObject("strings_image", "StringsHelper.cpp")}),
                           parseProjectDescription("t.project", text))};
    r.data1 = r.image.data1;
    EXPECT_TRUE(runtime::loader::relocateData(r.data1, r.image.data2, 0, 0).ok());
    return r;
}

TEST(ProjectStructures, ClassDescriptorsAndTheProjectTable) {
    const Relocated r = build(kProject);
    const uint32_t table = r.word(4);
    ASSERT_EQ(r.word(table), 5u);  // classes
    // Kind 1: the name as a constant {1, text, length, length}, text with length byte and zero.
    const uint32_t application = r.word(table + 4);
    EXPECT_EQ(r.word(application), 1u);
    const uint32_t name = r.word(application + 4);
    EXPECT_EQ(r.word(name), 1u);
    EXPECT_EQ(r.constant(name), "Application");
    EXPECT_EQ(r.data1[r.word(name + 4)], 11);
    EXPECT_EQ(r.data1[r.word(name + 4) + 12], 0);
    // Kind 0, read in order as the runtime does.
    uint32_t p = r.word(table + 12);
    auto next = [&] {
        const uint32_t value = r.word(p);
        p += 4;
        return value;
    };
    const uint32_t entry = r.word(0);
    EXPECT_EQ(next(), 0u);
    EXPECT_EQ(next(), 40u);
    EXPECT_EQ(r.constant(next()), "MyApp");
    EXPECT_EQ(next(), 0u);      // superclass index
    EXPECT_EQ(next(), 1u);      // initialiser and finaliser follow
    EXPECT_EQ(next(), entry);   // initialiser
    EXPECT_EQ(next(), 0u);      // no finaliser
    EXPECT_EQ(next(), 0u);      // not an interface
    EXPECT_EQ(next(), 1u);      // one interface:
    EXPECT_EQ(next(), 1u);      //   IThing
    EXPECT_EQ(next(), 1u);      // one method
    EXPECT_EQ(r.constant(next()), "Poke");
    EXPECT_EQ(next(), entry);
    EXPECT_EQ(next(), 2u);      // two event handlers
    EXPECT_EQ(r.constant(next()), "Open");
    EXPECT_EQ(next(), entry);
    EXPECT_EQ(next(), 7u);
    EXPECT_EQ(r.constant(next()), "Close");
    EXPECT_EQ(next(), entry);
    EXPECT_EQ(next(), 0u);
    EXPECT_EQ(next(), 1u);      // one menu handler
    EXPECT_EQ(r.constant(next()), "FileQuit");
    EXPECT_EQ(next(), entry);
    EXPECT_EQ(next(), 2u);      // virtual table
    EXPECT_EQ(next(), entry);
    EXPECT_EQ(next(), 0u);
    // The interface: methods without code.
    p = r.word(table + 8);
    for (uint32_t expected : {0u, 24u}) EXPECT_EQ(next(), expected);
    EXPECT_EQ(r.constant(next()), "IThing");
    EXPECT_EQ(next(), 0xFFFFFFFFu);
    EXPECT_EQ(next(), 0u);
    EXPECT_EQ(next(), 1u);      // an interface
    EXPECT_EQ(next(), 0u);
    EXPECT_EQ(next(), 1u);
    EXPECT_EQ(r.constant(next()), "Poke");
    EXPECT_EQ(next(), 0u);      // no event handlers: the method took one word
    // The anonymous class has no name.
    EXPECT_EQ(r.word(r.word(table + 16) + 8), 0u);
}

TEST(ProjectStructures, ProjectItemsAndTheirStreamsReadBack) {
    const Relocated r = build(kProject);
    const uint32_t table = r.word(4);
    const uint32_t items = table + 4 + 4 * 5;
    ASSERT_EQ(r.word(items), 6u);
    EXPECT_EQ(r.word(items + 4), 0u);  // nullitem
    const uint32_t menu = r.word(items + 8);
    ASSERT_EQ(r.word(menu), 2u);
    auto bar = runtime::parseMenuBarStream({r.data1.data() + menu + 8, r.word(menu + 4)});
    ASSERT_TRUE(bar.has_value());
    ASSERT_EQ(bar->menus.size(), 2u);
    const runtime::MenuEntry& file = bar->menus[0];
    EXPECT_EQ(file.text, "\x83t\x83@\x83""C\x83\x8B");  // ファイル in Shift-JIS
    EXPECT_EQ(file.name, "FileMenu");
    ASSERT_EQ(file.items.size(), 5u);
    EXPECT_EQ(file.items[0].text, "\x8F\x49\x97\xB9");  // 終了
    EXPECT_EQ(file.items[0].shortcut, "Q");
    EXPECT_EQ(file.items[0].classIndex, 4);
    for (int i = 1; i <= 3; ++i) EXPECT_FALSE(file.items[i].index.has_value()) << file.items[i].name;
    EXPECT_EQ(file.items[4].index, 3);
    EXPECT_EQ(file.items[4].flag, 1);
    ASSERT_EQ(file.items[4].items.size(), 1u);
    EXPECT_EQ(file.items[4].items[0].text, "\xB6\xC5");  // half-width katakana, one byte each
    EXPECT_EQ(file.items[4].items[0].kind, 2);
    EXPECT_EQ(file.items[4].items[0].extra2, "y");
    EXPECT_EQ(bar->menus[1].kind, 1);

    const uint32_t settingsItem = r.word(items + 12);
    ASSERT_EQ(r.word(settingsItem), 4u);
    EXPECT_EQ(r.word(settingsItem + 4), 0u);
    auto settings = runtime::parseSettingsStream({r.data1.data() + settingsItem + 12, r.word(settingsItem + 8)});
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->firstByte, 1);
    EXPECT_EQ(settings->word1, 0x01020304u);
    ASSERT_EQ(settings->messages.size(), 5u);
    EXPECT_EQ(settings->messages[4], "An exception of class %1 was not handled.\rThe application must shut down.");
    EXPECT_EQ(settings->fileTypes.at(0).extensions, "als");
    EXPECT_TRUE(settings->mdiFrame);
    EXPECT_EQ(settings->mdiTitle, "My Application");

    const uint32_t picture = r.word(items + 16);
    EXPECT_EQ(r.word(picture), 1u);
    EXPECT_EQ(r.word(picture + 4), 0x1234u);
    EXPECT_EQ(r.word(picture + 8), 16u);
    EXPECT_EQ(r.word(picture + 12), 3u);
    EXPECT_EQ(r.word(picture + 16), 2u);
    EXPECT_EQ(r.word(picture + 20), 16u);  // rows of 6 bytes padded to 8

    const uint32_t global = r.word(items + 20);
    EXPECT_EQ(r.word(global), 5u);
    EXPECT_EQ(r.word(global + 4), 2u);
    // The variable's address: gWords of the fixture, whose first word points at "alpha".
    const uint32_t variable = r.word(global + 8);
    ASSERT_LT(variable + 4, r.data1.size());
    EXPECT_STREQ(reinterpret_cast<const char*>(r.data1.data() + r.word(variable)), "alpha");

    const uint32_t resource = r.word(items + 24);
    EXPECT_EQ(r.word(resource), 9u);
    EXPECT_EQ(r.word(resource + 4), 77u);
}

std::string errorOf(std::string_view text) {
    try {
        build(text);
    } catch (const ToolError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(ProjectStructures, RefusesWhatItCannotLayOut) {
    struct Case {
        std::string_view text, message;
    } cases[] = {
        {"entry Entry\nclass A {\n  event Open Missing\n}\n", "t.project:3:14: the function Missing is not defined by the objects"},
        {"entry Entry\nclass A {\n  super B\n}\n", "t.project:3:9: no class B is declared (declare it with 'class B builtin' or 'class B { ... }')"},
        {"entry Entry\nclass A {\n  implements I\n}\nclass I {\n  interface\n}\n", "t.project:3:14: the interface I must be declared before the classes that implement it"},
        {"entry Entry\nclass A builtin\nclass A builtin\n", "t.project:3:7: the class A is declared twice (first at t.project:2:7)"},
        {"entry Entry\nclass A {\n  method M\n}\n", "t.project:2:1: the method M of A needs a function"},
        {"entry Entry\nclass I {\n  interface\n  method M Entry\n}\n", "t.project:4:12: a method of an interface has no function"},
        {"entry Entry\nclass A {\n  colour red\n}\n", "t.project:3:3: unknown class statement 'colour' (known: super, size, initialiser, finaliser, interface, implements, method, event, menu, vtable)"},
        {"entry Entry\nclass A {\n  size 8\n}\n", "t.project:3:8: a class holds at least the 16-byte object header"},
        {"entry Entry\nclass A\n", "t.project:2:1: a compiled class needs a block: class <name> { ... }"},
        {"entry Entry\nmenubar {\n  item \"x\" X\n}\n", "t.project:3:3: expected 'menu'"},
        {"entry Entry\nmenubar {\n  menu \"x\" X {\n    item \"y\" Y class Nope\n  }\n}\n", "t.project:4:22: no class Nope is declared (declare it with 'class Nope builtin' or 'class Nope { ... }')"},
        {"entry Entry\nmenubar {\n  menu \"x\" X colour 1\n}\n", "t.project:3:14: unknown menu option 'colour' (known: shortcut, index, class, flag, kind, extra1, extra2)"},
        {"entry Entry\nmenubar {\n  menu \"x\" X shortcut\n}\n", "t.project:3:14: the option 'shortcut' needs a value"},
        {"entry Entry\nsettings {\n  message 12 \"x\"\n}\n", "t.project:3:11: the message table has entries 0 to 11"},
        {"entry Entry\nsettings {\n  mdi maybe \"t\"\n}\n", "t.project:3:7: expected true or false"},
        {"entry Entry\nsettings {\n  message 1 \"\xE2\x82\xAC\"\n}\n", "t.project:3:13: byte 0 of this text is not UTF-8 or has no Shift-JIS form"},
        {"entry Entry\nglobal A Entry\nclass A builtin\n", "t.project:2:10: the variable Entry is not data"},
        {"entry Entry\nglobal A gNothing\nclass A builtin\n", "t.project:2:10: the variable gNothing is not defined by the objects"},
        {"entry Entry\npicture 1 0 5\n", "t.project:2:11: the width must be 1 to 4096"},
        {"entry Entry\nmenubar {\n}\nmenubar {\n}\n", "t.project:4:1: 'menubar' is given twice (first at t.project:2:1)"},
    };
    for (const Case& c : cases) EXPECT_EQ(errorOf(c.text), c.message) << c.text;
}

}  // namespace
