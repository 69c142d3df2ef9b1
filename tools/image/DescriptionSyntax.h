// The generic syntax of project descriptions: line-based statements, each a
// keyword with arguments (words, "strings", integers) and an optional block of
// nested statements in braces. Every token keeps its file, line and column, so
// that the section parsers built on top can point at what they reject.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace imagetool {

struct SourceLocation {
    std::string file;
    uint32_t line = 1;
    uint32_t column = 1;

    // "file:line:column"
    std::string text() const;
};

struct Token {
    enum class Kind { Word, String, Integer };
    Kind kind;
    std::string text;     // a word, or the bytes of a string after its escapes
    int64_t integer = 0;  // for Integer
    SourceLocation where;
};

struct Statement {
    Token keyword;
    std::vector<Token> arguments;
    bool hasBlock = false;
    std::vector<Statement> block;  // the nested statements when hasBlock
};

struct DescriptionFile {
    std::string path;
    std::vector<Statement> statements;
    SourceLocation end;  // just past the last character
};

// Throws ToolError "file:line:column: message" at the first syntax error.
DescriptionFile parseDescriptionSyntax(const std::string& path, std::string_view text);

[[noreturn]] void failAt(const SourceLocation& where, const std::string& message);

// "a word", "a string", "an integer": for messages.
std::string_view describe(Token::Kind kind);

}  // namespace imagetool
