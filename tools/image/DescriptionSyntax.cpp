#include "DescriptionSyntax.h"

#include <optional>

#include "ToolError.h"

namespace imagetool {
namespace {

bool isWordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isWordChar(char c) { return isWordStart(c) || (c >= '0' && c <= '9'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// What the lexer hands the statement parser: tokens, line ends, braces, the end.
struct Lexeme {
    enum class Kind { Token, LineEnd, Open, Close, End };
    Kind kind;
    Token token;
    SourceLocation where;
};

class Lexer {
public:
    Lexer(const std::string& path, std::string_view text) : text_(text) { at_.file = path; }

    Lexeme next() {
        skipBlanksAndComments();
        const SourceLocation where = at_;
        if (done()) return {Lexeme::Kind::End, {}, where};
        const char c = peek();
        if (c == '\n') {
            advance();
            return {Lexeme::Kind::LineEnd, {}, where};
        }
        if (c == '{' || c == '}') {
            advance();
            return {c == '{' ? Lexeme::Kind::Open : Lexeme::Kind::Close, {}, where};
        }
        if (c == '"') return {Lexeme::Kind::Token, readString(where), where};
        if (isDigit(c) || (c == '-' && isDigit(peek(1)))) return {Lexeme::Kind::Token, readInteger(where), where};
        if (isWordStart(c)) return {Lexeme::Kind::Token, readWord(where), where};
        failAt(where, std::string("unexpected character '") + printable(c) + "'");
    }

private:
    bool done() const { return position_ >= text_.size(); }
    char peek(size_t ahead = 0) const { return position_ + ahead < text_.size() ? text_[position_ + ahead] : '\0'; }

    void advance() {
        const char c = text_[position_++];
        if (c == '\n') {
            ++at_.line;
            at_.column = 1;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++at_.column;  // columns count characters: UTF-8 continuation bytes add none
        }
    }

    void skipBlanksAndComments() {
        while (!done()) {
            const char c = peek();
            if (c == ' ' || c == '\t' || c == '\r') {
                advance();
            } else if (c == '#') {
                while (!done() && peek() != '\n') advance();
            } else {
                return;
            }
        }
    }

    static std::string printable(char c) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
            static const char digits[] = "0123456789ABCDEF";
            return std::string("\\x") + digits[(c >> 4) & 0xF] + digits[c & 0xF];
        }
        return std::string(1, c);
    }

    Token readWord(const SourceLocation& where) {
        std::string word;
        while (!done() && isWordChar(peek())) {
            word += peek();
            advance();
        }
        return {Token::Kind::Word, word, 0, where};
    }

    Token readInteger(const SourceLocation& where) {
        const size_t start = position_;
        const bool negative = peek() == '-';
        if (negative) advance();
        int base = 10;
        if (peek() == '0' && (peek(1) == 'x' || peek(1) == 'X')) {
            base = 16;
            advance();
            advance();
        }
        std::string digits;
        while (!done() && isWordChar(peek())) {
            digits += peek();
            advance();
        }
        uint64_t magnitude = 0;
        for (char d : digits) {
            const int v = hexValue(d);
            if (v < 0 || v >= base) failAt(where, "malformed number");
            magnitude = magnitude * base + v;
            if (magnitude > 0xFFFFFFFFu) failAt(where, "number out of range");
        }
        if (digits.empty()) failAt(where, "malformed number");
        const int64_t value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
        return {Token::Kind::Integer, std::string(text_.substr(start, position_ - start)), value, where};
    }

    Token readString(const SourceLocation& where) {
        advance();  // the opening quote
        std::string bytes;
        for (;;) {
            if (done() || peek() == '\n') failAt(where, "this string is not closed on its line");
            const SourceLocation charAt = at_;
            const char c = peek();
            advance();
            if (c == '"') break;
            if (c != '\\') {
                bytes += c;
                continue;
            }
            bytes += readEscape(charAt);
        }
        return {Token::Kind::String, bytes, 0, where};
    }

    char readEscape(const SourceLocation& where) {
        const char e = peek();
        if (done() || e == '\n') failAt(where, "this string is not closed on its line");
        advance();
        switch (e) {
        case '"': return '"';
        case '\\': return '\\';
        case 'n': return '\n';
        case 'r': return '\r';
        case 't': return '\t';
        case 'x': {
            const int high = hexValue(peek());
            const int low = high < 0 ? -1 : hexValue(peek(1));
            if (low < 0) failAt(where, "\\x needs two hexadecimal digits");
            advance();
            advance();
            return static_cast<char>(high * 16 + low);
        }
        default: failAt(where, std::string("unknown escape \\") + printable(e));
        }
    }

    std::string_view text_;
    size_t position_ = 0;
    SourceLocation at_;
};

class StatementParser {
public:
    StatementParser(const std::string& path, std::string_view text) : lexer_(path, text) { take(); }

    DescriptionFile parseFile(const std::string& path) {
        DescriptionFile file;
        file.path = path;
        file.statements = parseStatements(nullptr);
        file.end = current_.where;
        return file;
    }

private:
    void take() { current_ = lexer_.next(); }

    // Statements up to the end of the file, or up to the "}" that closes the
    // block opened at `open`.
    std::vector<Statement> parseStatements(const SourceLocation* open) {
        std::vector<Statement> statements;
        for (;;) {
            switch (current_.kind) {
            case Lexeme::Kind::LineEnd: take(); continue;
            case Lexeme::Kind::End:
                if (open) failAt(*open, "this block is not closed");
                return statements;
            case Lexeme::Kind::Close:
                if (!open) failAt(current_.where, "'}' without a block to close");
                take();
                expectLineEnd("after '}'");
                return statements;
            case Lexeme::Kind::Open: failAt(current_.where, "'{' must follow a statement on its line");
            case Lexeme::Kind::Token: statements.push_back(parseStatement()); break;
            }
        }
    }

    Statement parseStatement() {
        Statement statement;
        statement.keyword = current_.token;
        if (statement.keyword.kind != Token::Kind::Word) failAt(current_.where, "a statement starts with a keyword");
        take();
        while (current_.kind == Lexeme::Kind::Token) {
            statement.arguments.push_back(current_.token);
            take();
        }
        if (current_.kind == Lexeme::Kind::Open) {
            const SourceLocation open = current_.where;
            take();
            expectLineEnd("after '{'");
            statement.hasBlock = true;
            statement.block = parseStatements(&open);
            return statement;
        }
        expectLineEnd("at the end of a statement");
        return statement;
    }

    void expectLineEnd(const char* where) {
        if (current_.kind == Lexeme::Kind::LineEnd) {
            take();
            return;
        }
        if (current_.kind == Lexeme::Kind::End) return;
        failAt(current_.where, std::string("expected the end of the line ") + where);
    }

    Lexer lexer_;
    Lexeme current_;
};

}  // namespace

std::string SourceLocation::text() const { return file + ":" + std::to_string(line) + ":" + std::to_string(column); }

void failAt(const SourceLocation& where, const std::string& message) { throw ToolError(where.text() + ": " + message); }

std::string_view describe(Token::Kind kind) {
    switch (kind) {
    case Token::Kind::Word: return "a word";
    case Token::Kind::String: return "a string";
    case Token::Kind::Integer: return "an integer";
    }
    return "a token";
}

DescriptionFile parseDescriptionSyntax(const std::string& path, std::string_view text) {
    StatementParser parser(path, text);
    return parser.parseFile(path);
}

}  // namespace imagetool
