// The project description: its generic syntax (statements, arguments, blocks,
// with a place for every token) and the sections, with file, line and column
// in every error.
#include <gtest/gtest.h>

#include "DescriptionSyntax.h"
#include "ProjectDescription.h"
#include "ToolError.h"

using namespace imagetool;

namespace {

std::string errorOf(std::string_view text) {
    try {
        parseProjectDescription("p.project", text);
    } catch (const ToolError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(ProjectDescription, ReadsTheEntryRoutine) {
    const ProjectDescription project =
        parseProjectDescription("app.project", "# The application\r\n\n  entry   AppEntry   # its entry\r\n");
    EXPECT_EQ(project.entry.name, "AppEntry");
    EXPECT_EQ(project.entry.where.text(), "app.project:3:11");
}

TEST(ProjectDescription, ReportsEveryErrorWithItsPlace) {
    struct Case {
        std::string_view text;
        std::string_view message;
    };
    const Case cases[] = {
        {"", "p.project:1:1: the description has no 'entry' section"},
        {"# only a comment\n\n", "p.project:3:1: the description has no 'entry' section"},
        {"entry Entry\nentry Other\n", "p.project:2:1: 'entry' is given twice (first at p.project:1:1)"},
        {"entree Entry\n", "p.project:1:1: unknown section 'entree' (known: entry, class, menubar, settings, picture, global, resource, nullitem, plugin, window)"},
        {"entry E\nwindow W {\n}\n", "p.project:2:1: the window W names no class"},
        {"entry E\nwindow W\n", "p.project:2:1: expected 'window <layout symbol> { ... }'"},
        {"entry E\nclass Window builtin\nwindow W {\n class Window\n button X\n}\n",
         "p.project:5:2: unknown window statement 'button' (known: class, property, control, binding)"},
        {"entry E\nclass Window builtin\nwindow W {\n class Window\n control Canvas array 2 1 {\n }\n}\n",
         "p.project:5:23: expected 0 <= first <= last"},
        {"entry E\nclass Window builtin\nwindow W {\n class Window\n control Nowhere {\n  event Open F\n }\n}\n",
         "p.project:5:10: no class Nowhere is declared (declare it with 'class Nowhere builtin' or 'class Nowhere { ... }')"},
        {"entry E\nclass Window builtin\nwindow W {\n class Window\n control Missing {\n }\n}\n",
         "p.project:5:10: no class Missing is declared (declare it with 'class Missing builtin' or 'class Missing { ... }')"},
        {"entry E\nplugin \"a\\\\b.dll\"\n", "p.project:2:8: a plug-in file name is 1 to 255 bytes without a folder"},
        {"entry E\nplugin \"a.dll\"\nplugin \"a.dll\"\n", "p.project:3:8: the plug-in a.dll is given twice"},
        {"entry E\nplugin velmap1\n", "p.project:2:8: the plug-in file name must be a string, not a word"},
        {"entry\n", "p.project:1:1: expected 'entry <function name>'"},
        {"entry A B\n", "p.project:1:9: expected 'entry <function name>'"},
        {"entry \"Entry\"\n", "p.project:1:7: the entry routine must be a word, not a string"},
        {"entry 12\n", "p.project:1:7: the entry routine must be a word, not an integer"},
        {"entry Entry {\n}\n", "p.project:1:1: 'entry' takes no block"},
        {"entry Entry }\n", "p.project:1:13: expected the end of the line at the end of a statement"},
        {"}\n", "p.project:1:1: '}' without a block to close"},
        {"{\n", "p.project:1:1: '{' must follow a statement on its line"},
        {"entry Entry\nsection {\n  item 1\n", "p.project:2:9: this block is not closed"},
        {"entry Entry\nsection {x\n}\n", "p.project:2:10: expected the end of the line after '{'"},
        {"entry Entry\nsection {\n} more\n", "p.project:3:3: expected the end of the line after '}'"},
        {"entry \"unterminated\n", "p.project:1:7: this string is not closed on its line"},
        {"entry \"a\\q\"\n", "p.project:1:9: unknown escape \\q"},
        {"entry \"\\x4\"\n", "p.project:1:8: \\x needs two hexadecimal digits"},
        {"entry Entry @\n", "p.project:1:13: unexpected character '@'"},
        {"# 送信\nentry \"送信\" 送\n", "p.project:2:12: unexpected character '\\xE9'"},
        {"entry 0x\n", "p.project:1:7: malformed number"},
        {"entry 12ab\n", "p.project:1:7: malformed number"},
        {"entry 99999999999\n", "p.project:1:7: number out of range"},
        {"\tentry\tEntry\tEntry\n", "p.project:1:14: expected 'entry <function name>'"},
    };
    for (const Case& c : cases) EXPECT_EQ(errorOf(c.text), c.message) << c.text;
}

TEST(ProjectDescription, WindowLayoutsWithArraysAndHandlerSubclasses) {
    const ProjectDescription project = parseProjectDescription("w.project", R"(entry E
class Window builtin
class PushButton builtin
window MainLayout {
    class Window
    property Title "窓"
    property Width 240
    property Visible True
    control PushButton array 0 1 {
        property Name Digit
        property Index 7
        event Action Digit_Action
    }
    control PushButton {
        property Name "Plain"
    }
    binding 0 "value" 2 "text" PushButton "" "t"
}
)");
    ASSERT_EQ(project.windows.size(), 1u);
    const WindowDescription& w = project.windows[0];
    EXPECT_EQ(w.symbol.name, "MainLayout");
    ASSERT_EQ(w.properties.size(), 3u);
    EXPECT_EQ(w.properties[0].second, "\x91\x8B");  // Shift-JIS
    EXPECT_EQ(w.properties[1].second, "240");
    EXPECT_EQ(w.properties[2].second, "True");
    ASSERT_EQ(w.controls.size(), 3u);
    // Each member of the array has its own index, replacing any written one,
    // and its own anonymous subclass after the described classes.
    EXPECT_EQ(w.controls[0].properties.back(), (std::pair<std::string, std::string>{"Index", "0"}));
    EXPECT_EQ(w.controls[1].properties.back(), (std::pair<std::string, std::string>{"Index", "1"}));
    EXPECT_EQ(w.controls[0].subclassIndex, 2);
    EXPECT_EQ(w.controls[1].subclassIndex, 3);
    EXPECT_FALSE(w.controls[2].subclassIndex.has_value());
    ASSERT_EQ(project.classes.size(), 4u);
    EXPECT_TRUE(project.classes[2].name.empty());
    EXPECT_EQ(project.classes[2].superclass->name, "PushButton");
    ASSERT_EQ(w.bindings.size(), 1u);
    EXPECT_EQ(w.bindings[0].targetControl, 2);
    EXPECT_EQ(w.bindings[0].targetPartText, "t");
}

TEST(DescriptionSyntax, ReadsNestedBlocksWithTheirArguments) {
    const DescriptionFile file = parseDescriptionSyntax("n.project",
                                                        "class My_App {\n"
                                                        "    super Application\n"
                                                        "    event Open \"on\\x41pp\\tOpen\" -7 0x1F\n"
                                                        "    menu {\n"
                                                        "        item \"終了\"\n"
                                                        "    }\n"
                                                        "}\n"
                                                        "entry Entry");
    ASSERT_EQ(file.statements.size(), 2u);
    const Statement& cls = file.statements[0];
    EXPECT_EQ(cls.keyword.text, "class");
    ASSERT_EQ(cls.arguments.size(), 1u);
    EXPECT_EQ(cls.arguments[0].text, "My_App");
    ASSERT_TRUE(cls.hasBlock);
    ASSERT_EQ(cls.block.size(), 3u);
    const Statement& event = cls.block[1];
    ASSERT_EQ(event.arguments.size(), 4u);
    EXPECT_EQ(event.arguments[0].kind, Token::Kind::Word);
    EXPECT_EQ(event.arguments[1].kind, Token::Kind::String);
    EXPECT_EQ(event.arguments[1].text, "onApp\tOpen");
    EXPECT_EQ(event.arguments[2].integer, -7);
    EXPECT_EQ(event.arguments[3].integer, 0x1F);
    EXPECT_EQ(event.arguments[3].where.text(), "n.project:3:36");
    const Statement& menu = cls.block[2];
    ASSERT_TRUE(menu.hasBlock);
    ASSERT_EQ(menu.block.size(), 1u);
    EXPECT_EQ(menu.block[0].arguments[0].text, "終了");
    EXPECT_FALSE(file.statements[1].hasBlock);
    EXPECT_EQ(file.end.text(), "n.project:8:12");
}

}  // namespace
