#include "ProjectDescription.h"

#include <map>

#include "CoffObject.h"

namespace imagetool {
namespace {

void expectArguments(const Statement& statement, size_t count, std::string_view usage) {
    if (statement.arguments.size() != count) {
        const SourceLocation& where =
            statement.arguments.size() > count ? statement.arguments[count].where : statement.keyword.where;
        failAt(where, "expected '" + std::string(usage) + "'");
    }
    if (statement.hasBlock) failAt(statement.keyword.where, "'" + statement.keyword.text + "' takes no block");
}

const Token& expectKind(const Token& token, Token::Kind kind, std::string_view what) {
    if (token.kind != kind) {
        failAt(token.where, std::string(what) + " must be " + std::string(describe(kind)) + ", not " +
                                std::string(describe(token.kind)));
    }
    return token;
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
};

// The top-level sections. Each may appear once.
constexpr Section kSections[] = {
    {"entry", parseEntry, true},
};

std::string knownSections() {
    std::string list;
    for (const Section& section : kSections) list += (list.empty() ? "" : ", ") + std::string(section.keyword);
    return list;
}

}  // namespace

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
        if (auto [it, first] = seen.emplace(section->keyword, statement.keyword.where); !first) {
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
    return project;
}

ProjectDescription loadProjectDescription(const std::string& path) {
    const std::vector<uint8_t> bytes = readWholeFile(path);
    return parseProjectDescription(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace imagetool
