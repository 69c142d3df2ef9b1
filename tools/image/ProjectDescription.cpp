#include "ProjectDescription.h"

#include <map>

#include "CoffObject.h"
#include "ToolError.h"

namespace imagetool {

void expectNoBlock(const Statement& statement) {
    if (statement.hasBlock) failAt(statement.keyword.where, "'" + statement.keyword.text + "' takes no block");
}

void expectArguments(const Statement& statement, size_t count, std::string_view usage) {
    if (statement.arguments.size() != count) {
        const SourceLocation& where =
            statement.arguments.size() > count ? statement.arguments[count].where : statement.keyword.where;
        failAt(where, "expected '" + std::string(usage) + "'");
    }
    expectNoBlock(statement);
}

const Token& expectKind(const Token& token, Token::Kind kind, std::string_view what) {
    if (token.kind != kind) {
        failAt(token.where, std::string(what) + " must be " + std::string(describe(kind)) + ", not " +
                                std::string(describe(token.kind)));
    }
    return token;
}

int32_t integerArgument(const Token& token, std::string_view what) {
    expectKind(token, Token::Kind::Integer, what);
    if (token.integer < INT32_MIN) failAt(token.where, "number out of range");
    // Values up to 0xFFFFFFFF stand for their 32-bit pattern.
    return static_cast<int32_t>(static_cast<uint32_t>(token.integer));
}

int32_t classIndexOf(const ProjectDescription& project, const ClassReference& reference) {
    for (size_t i = 0; i < project.classes.size(); ++i) {
        if (project.classes[i].name == reference.name) return static_cast<int32_t>(i);
    }
    failAt(reference.where, "no class " + reference.name + " is declared (declare it with 'class " + reference.name +
                                " builtin' or 'class " + reference.name + " { ... }')");
}

namespace {

void checkMenuClasses(const ProjectDescription& project, const std::vector<MenuDescription>& menus) {
    for (const MenuDescription& menu : menus) {
        if (menu.itemClass) classIndexOf(project, *menu.itemClass);
        checkMenuClasses(project, menu.items);
    }
}

// Every class a statement names must be declared; an interface must come
// before the classes that implement it (they refer to its table entry).
void checkClassReferences(const ProjectDescription& project) {
    for (size_t i = 0; i < project.classes.size(); ++i) {
        const ClassDescription& cls = project.classes[i];
        if (cls.superclass) classIndexOf(project, *cls.superclass);
        for (const ClassReference& iface : cls.interfaces) {
            if (static_cast<size_t>(classIndexOf(project, iface)) >= i) {
                failAt(iface.where, "the interface " + iface.name + " must be declared before the classes that implement it");
            }
        }
    }
    for (const ProjectItemDescription& item : project.items) {
        if (item.instanceClass) classIndexOf(project, *item.instanceClass);
        checkMenuClasses(project, item.menus);
    }
    for (const WindowDescription& window : project.windows) {
        classIndexOf(project, *window.windowClass);
        for (const ControlDescription& control : window.controls) classIndexOf(project, control.controlClass);
        for (const BindingDescription& binding : window.bindings) classIndexOf(project, binding.binderClass);
    }
}

// entry <function>: the application's entry routine (extern "C", no arguments).
void parseEntry(const Statement& statement, ProjectDescription& project) {
    expectArguments(statement, 1, "entry <function name>");
    const Token& name = expectKind(statement.arguments[0], Token::Kind::Word, "the entry routine");
    project.entry = {name.text, name.where};
}

struct Section {
    std::string_view keyword;
    void (*parse)(const Statement&, ProjectDescription&);
    bool required;
    bool repeatable;
};

// The top-level sections, in any order. Classes and project items keep the
// order in which they stand: it is the order of the class table and of the
// project items.
constexpr Section kSections[] = {
    {"entry", parseEntry, true, false},
    {"class", parseClass, false, true},
    {"menubar", parseMenuBar, false, false},
    {"settings", parseSettings, false, false},
    {"picture", parsePicture, false, true},
    {"global", parseGlobalInstance, false, true},
    {"resource", parseResource, false, true},
    {"nullitem", parseNullItem, false, true},
    {"plugin", parsePlugin, false, true},
    {"window", parseWindow, false, true},
};

std::string knownSections() {
    std::string list;
    for (const Section& section : kSections) list += (list.empty() ? "" : ", ") + std::string(section.keyword);
    return list;
}

}  // namespace

// plugin "<file name>": a plug-in library embedded in data1 under that name.
void parsePlugin(const Statement& statement, ProjectDescription& project) {
    expectArguments(statement, 1, "plugin \"<file name>\"");
    const Token& name = expectKind(statement.arguments[0], Token::Kind::String, "the plug-in file name");
    if (name.text.empty() || name.text.size() > 255 || name.text.find_first_of("\\/:") != std::string::npos) {
        failAt(name.where, "a plug-in file name is 1 to 255 bytes without a folder");
    }
    for (const PluginDescription& plugin : project.plugins) {
        if (plugin.fileName == name.text) failAt(name.where, "the plug-in " + name.text + " is given twice");
    }
    project.plugins.push_back({name.text, name.where, {}});
}

void loadPluginLibraries(ProjectDescription& project, const std::string& folder) {
    for (PluginDescription& plugin : project.plugins) {
        const std::string path = (folder.empty() ? std::string(".") : folder) + "/" + plugin.fileName;
        try {
            plugin.library = readWholeFile(path);
        } catch (const ToolError& error) {
            failAt(plugin.where, "the plug-in library cannot be read: " + std::string(error.what()));
        }
        if (plugin.library.empty()) failAt(plugin.where, "the plug-in library " + path + " is empty");
    }
}

ProjectDescription parseProjectDescription(const std::string& path, std::string_view text) {
    const DescriptionFile file = parseDescriptionSyntax(path, text);
    ProjectDescription project;
    project.path = path;
    std::map<std::string_view, SourceLocation> seen;
    for (const Statement& statement : file.statements) {
        const Section* section = nullptr;
        for (const Section& candidate : kSections) {
            if (candidate.keyword == statement.keyword.text) section = &candidate;
        }
        if (!section) {
            failAt(statement.keyword.where,
                   "unknown section '" + statement.keyword.text + "' (known: " + knownSections() + ")");
        }
        if (auto [it, first] = seen.emplace(section->keyword, statement.keyword.where); !first && !section->repeatable) {
            failAt(statement.keyword.where,
                   "'" + statement.keyword.text + "' is given twice (first at " + it->second.text() + ")");
        }
        section->parse(statement, project);
    }
    for (const Section& section : kSections) {
        if (section.required && !seen.contains(section.keyword)) {
            failAt(file.end, "the description has no '" + std::string(section.keyword) + "' section");
        }
    }
    appendControlSubclasses(project);
    checkClassReferences(project);
    return project;
}

ProjectDescription loadProjectDescription(const std::string& path) {
    const std::vector<uint8_t> bytes = readWholeFile(path);
    return parseProjectDescription(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace imagetool
