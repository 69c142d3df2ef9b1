// The project description: what the image tool needs to know beyond the
// compiled objects: the entry routine, the classes (compiled ones and those the
// runtime provides by name) and the project items (menu bar, settings,
// pictures, global instances, other resources). Each top-level section of the
// file has a parser of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DescriptionSyntax.h"
#include "objects/ProjectStreams.h"

namespace imagetool {

// A function or variable of the compiled code, by its C name.
struct SymbolReference {
    std::string name;
    SourceLocation where;
};

// A class of the description, by its name.
struct ClassReference {
    std::string name;
    SourceLocation where;
};

struct ClassMethod {
    std::string name;
    std::optional<SymbolReference> code;  // none in an interface
};

struct ClassHandler {
    std::string name;  // the event or menu item
    SymbolReference code;
    int32_t hookCode = 0;
};

// One entry of the class table, in the order of the description.
struct ClassDescription {
    std::string name;  // Shift-JIS; empty for an anonymous class
    SourceLocation where;
    bool builtin = false;  // provided by the runtime or a plug-in, found by name
    std::optional<ClassReference> superclass;
    int32_t size = 24;
    std::optional<SymbolReference> initialiser;
    std::optional<SymbolReference> finaliser;
    bool isInterface = false;
    std::vector<ClassReference> interfaces;
    std::vector<ClassMethod> methods;
    std::vector<ClassHandler> eventHandlers;
    std::vector<ClassHandler> menuHandlers;
    std::vector<std::optional<SymbolReference>> virtualTable;  // none: a 0 entry
};

// A menu or menu item of the menu bar; its class is named, not numbered.
struct MenuDescription {
    runtime::MenuEntry entry;  // without class index and items
    std::optional<ClassReference> itemClass;
    std::vector<MenuDescription> items;
};

struct ProjectItemDescription {
    enum class Kind { MenuBar, Settings, Picture, GlobalInstance, Resource, Null };
    Kind kind;
    SourceLocation where;
    std::vector<MenuDescription> menus;  // MenuBar
    runtime::SettingsStream settings;    // Settings
    uint32_t resourceWord = 0;           // Picture
    uint32_t width = 0, height = 0;      // Picture
    std::optional<ClassReference> instanceClass;  // GlobalInstance
    std::optional<SymbolReference> variable;      // GlobalInstance
    std::vector<uint32_t> words;  // Resource: the kind, then its words
};

// A plug-in library carried in data1: its file name, and its bytes once the
// tool has read the file (from the plug-in folder).
struct PluginDescription {
    std::string fileName;
    SourceLocation where;
    std::vector<uint8_t> library;
};

// A control of a window layout. A control with event handlers gets an
// anonymous subclass of its class, appended to the class table after the
// classes of the description.
struct ControlDescription {
    ClassReference controlClass;
    std::vector<std::pair<std::string, std::string>> properties;  // name, value text
    std::vector<ClassHandler> eventHandlers;
    int32_t size = 0;  // of the anonymous subclass; 0: its superclass's
    std::optional<int32_t> subclassIndex;  // set once the subclass is in the table
};

struct BindingDescription {
    int32_t sourceControl = 0;
    std::string sourcePart;
    int32_t targetControl = 0;
    std::string targetPart;
    ClassReference binderClass;
    std::string sourcePartText, targetPartText;
};

// A window layout; compiled code refers to it by its symbol.
struct WindowDescription {
    SymbolReference symbol;
    std::optional<ClassReference> windowClass;
    std::vector<std::pair<std::string, std::string>> properties;
    std::vector<ControlDescription> controls;
    std::vector<BindingDescription> bindings;
};

struct ProjectDescription {
    std::string path;
    std::vector<PluginDescription> plugins;  // in the order of the list
    SymbolReference entry;  // the entry routine, called through data1 word 0
    std::vector<ClassDescription> classes;
    std::vector<ProjectItemDescription> items;
    std::vector<WindowDescription> windows;
};

// Throws ToolError "file:line:column: message" for anything it cannot use.
ProjectDescription parseProjectDescription(const std::string& path, std::string_view text);
ProjectDescription loadProjectDescription(const std::string& path);

// The class-table index of a referenced class; fails at the reference when
// the description declares no class of that name.
int32_t classIndexOf(const ProjectDescription& project, const ClassReference& reference);

// The section parsers (ClassSection.cpp, ProjectItemSections.cpp).
void parseClass(const Statement& statement, ProjectDescription& project);
void parseMenuBar(const Statement& statement, ProjectDescription& project);
void parseSettings(const Statement& statement, ProjectDescription& project);
void parsePicture(const Statement& statement, ProjectDescription& project);
void parseGlobalInstance(const Statement& statement, ProjectDescription& project);
void parseResource(const Statement& statement, ProjectDescription& project);
void parseNullItem(const Statement& statement, ProjectDescription& project);
void parsePlugin(const Statement& statement, ProjectDescription& project);

// Reads every plug-in library of the description from `folder`.
void loadPluginLibraries(ProjectDescription& project, const std::string& folder);
void parseWindow(const Statement& statement, ProjectDescription& project);
// Appends the anonymous subclasses of the windows' controls to the class table.
void appendControlSubclasses(ProjectDescription& project);

// Helpers the section parsers share.
void expectArguments(const Statement& statement, size_t count, std::string_view usage);
const Token& expectKind(const Token& token, Token::Kind kind, std::string_view what);
void expectNoBlock(const Statement& statement);
int32_t integerArgument(const Token& token, std::string_view what);

}  // namespace imagetool
