// The project items, in the order they stand in the description:
//
// menubar {
//     menu "<text>" <Name> [options] {
//         item "<text>" <Name> [options] [{ ...submenu items... }]
//     }
// }
//   options: shortcut "<key>"  index <n>  class <Class>  flag <n>  kind <n>
//            extra1 "<text>"  extra2 "<text>"
// settings {
//     header <byte> <word> <word>
//     filetype "<name>" "<creator>" "<type>" "<extensions>"
//     message <index 0-11> "<text>"
//     mdi true|false "<frame title>"
// }
// picture <resource word> <width> <height>    a 16-bit picture, all pixels 0
// global <Class> <variable>                   an instance stored in a global
// resource <kind> <word>...                   any other item, as raw words
// nullitem                                    an empty slot of the item table
#include "ProjectDescription.h"
#include "TextEncoding.h"

namespace imagetool {
namespace {

std::string textOf(const Token& token, std::string_view what) {
    return shiftJisText(expectKind(token, Token::Kind::String, what));
}

std::string nameOf(const Token& token) {
    if (token.kind == Token::Kind::String) return shiftJisText(token);
    return expectKind(token, Token::Kind::Word, "the name").text;
}

ProjectItemDescription& newItem(ProjectDescription& project, ProjectItemDescription::Kind kind,
                                const Statement& statement) {
    project.items.push_back({kind, statement.keyword.where});
    return project.items.back();
}

// The options after the text and name of a menu or item, in pairs.
void parseMenuOptions(const Statement& s, size_t first, MenuDescription& menu) {
    for (size_t i = first; i < s.arguments.size(); i += 2) {
        const Token& option = s.arguments[i];
        if (i + 1 >= s.arguments.size()) failAt(option.where, "the option '" + option.text + "' needs a value");
        const Token& value = s.arguments[i + 1];
        runtime::MenuEntry& entry = menu.entry;
        if (option.text == "shortcut") entry.shortcut = textOf(value, "the shortcut");
        else if (option.text == "index") entry.index = integerArgument(value, "the index");
        else if (option.text == "class") menu.itemClass = ClassReference{nameOf(value), value.where};
        else if (option.text == "flag") entry.flag = static_cast<uint8_t>(integerArgument(value, "the flag"));
        else if (option.text == "kind") entry.kind = integerArgument(value, "the kind");
        else if (option.text == "extra1") entry.extra1 = textOf(value, "the text");
        else if (option.text == "extra2") entry.extra2 = textOf(value, "the text");
        else failAt(option.where, "unknown menu option '" + option.text + "' (known: shortcut, index, class, flag, kind, extra1, extra2)");
    }
}

MenuDescription parseMenuEntry(const Statement& s, std::string_view keyword, int depth) {
    if (s.keyword.text != keyword) failAt(s.keyword.where, "expected '" + std::string(keyword) + "'");
    if (s.arguments.size() < 2) failAt(s.keyword.where, "expected '" + std::string(keyword) + " \"<text>\" <name> [options]'");
    if (depth > 8) failAt(s.keyword.where, "submenus nest too deep");
    MenuDescription menu;
    menu.entry.text = textOf(s.arguments[0], "the menu text");
    menu.entry.name = nameOf(s.arguments[1]);
    parseMenuOptions(s, 2, menu);
    for (const Statement& item : s.block) menu.items.push_back(parseMenuEntry(item, "item", depth + 1));
    menu.entry.hasSubmenu = s.hasBlock && keyword == "item";
    return menu;
}

}  // namespace

void parseMenuBar(const Statement& statement, ProjectDescription& project) {
    if (!statement.arguments.empty()) failAt(statement.arguments[0].where, "expected 'menubar {'");
    ProjectItemDescription& item = newItem(project, ProjectItemDescription::Kind::MenuBar, statement);
    for (const Statement& menu : statement.block) item.menus.push_back(parseMenuEntry(menu, "menu", 0));
}

void parseSettings(const Statement& statement, ProjectDescription& project) {
    if (!statement.arguments.empty()) failAt(statement.arguments[0].where, "expected 'settings {'");
    ProjectItemDescription& item = newItem(project, ProjectItemDescription::Kind::Settings, statement);
    runtime::SettingsStream& settings = item.settings;
    for (const Statement& s : statement.block) {
        const std::string& keyword = s.keyword.text;
        if (keyword == "header") {
            expectArguments(s, 3, "header <byte> <word> <word>");
            settings.firstByte = static_cast<uint8_t>(integerArgument(s.arguments[0], "the byte"));
            settings.word1 = static_cast<uint32_t>(integerArgument(s.arguments[1], "the word"));
            settings.word2 = static_cast<uint32_t>(integerArgument(s.arguments[2], "the word"));
        } else if (keyword == "filetype") {
            expectArguments(s, 4, "filetype \"<name>\" \"<creator>\" \"<type>\" \"<extensions>\"");
            settings.fileTypes.push_back({textOf(s.arguments[0], "the name"), textOf(s.arguments[1], "the creator"),
                                          textOf(s.arguments[2], "the type"), textOf(s.arguments[3], "the extensions")});
        } else if (keyword == "message") {
            expectArguments(s, 2, "message <index> \"<text>\"");
            const int32_t index = integerArgument(s.arguments[0], "the message index");
            if (index < 0 || index >= static_cast<int32_t>(runtime::kMaxMessages)) {
                failAt(s.arguments[0].where, "the message table has entries 0 to 11");
            }
            if (settings.messages.size() <= static_cast<size_t>(index)) settings.messages.resize(static_cast<size_t>(index) + 1);
            settings.messages[static_cast<size_t>(index)] = textOf(s.arguments[1], "the message");
        } else if (keyword == "mdi") {
            expectArguments(s, 2, "mdi true|false \"<title>\"");
            const Token& flag = s.arguments[0];
            if (flag.kind != Token::Kind::Word || (flag.text != "true" && flag.text != "false")) {
                failAt(flag.where, "expected true or false");
            }
            settings.mdiFrame = flag.text == "true";
            settings.mdiTitle = textOf(s.arguments[1], "the title");
        } else {
            failAt(s.keyword.where, "unknown settings statement '" + keyword + "' (known: header, filetype, message, mdi)");
        }
    }
}

void parsePicture(const Statement& statement, ProjectDescription& project) {
    expectArguments(statement, 3, "picture <resource word> <width> <height>");
    ProjectItemDescription& item = newItem(project, ProjectItemDescription::Kind::Picture, statement);
    item.resourceWord = static_cast<uint32_t>(integerArgument(statement.arguments[0], "the resource word"));
    const int32_t width = integerArgument(statement.arguments[1], "the width");
    const int32_t height = integerArgument(statement.arguments[2], "the height");
    if (width < 1 || width > 4096) failAt(statement.arguments[1].where, "the width must be 1 to 4096");
    if (height < 1 || height > 4096) failAt(statement.arguments[2].where, "the height must be 1 to 4096");
    item.width = static_cast<uint32_t>(width);
    item.height = static_cast<uint32_t>(height);
}

void parseGlobalInstance(const Statement& statement, ProjectDescription& project) {
    expectArguments(statement, 2, "global <class> <variable>");
    ProjectItemDescription& item = newItem(project, ProjectItemDescription::Kind::GlobalInstance, statement);
    item.instanceClass = ClassReference{nameOf(statement.arguments[0]), statement.arguments[0].where};
    const Token& variable = expectKind(statement.arguments[1], Token::Kind::Word, "the variable");
    item.variable = SymbolReference{variable.text, variable.where};
}

void parseResource(const Statement& statement, ProjectDescription& project) {
    if (statement.arguments.empty()) expectArguments(statement, 1, "resource <kind> <word>...");
    expectNoBlock(statement);
    ProjectItemDescription& item = newItem(project, ProjectItemDescription::Kind::Resource, statement);
    for (const Token& word : statement.arguments) {
        item.words.push_back(static_cast<uint32_t>(integerArgument(word, "a word")));
    }
}

void parseNullItem(const Statement& statement, ProjectDescription& project) {
    expectArguments(statement, 0, "nullitem");
    newItem(project, ProjectItemDescription::Kind::Null, statement);
}

}  // namespace imagetool
