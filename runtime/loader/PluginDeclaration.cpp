#include "loader/PluginDeclaration.h"

#include <cctype>

#include "text/CaseFold.h"

namespace runtime::plugins {
namespace {

bool isNameByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return std::isalnum(b) || c == '_' || b >= 0x80;
}

// Reads a declaration left to right; every method returns false on text that
// does not follow the grammar.
class DeclarationReader {
public:
    DeclarationReader(std::string_view text, const ClassNameTest& isClass) : text_(cutComment(text)), isClass_(isClass) {}

    DeclarationResult read(std::string_view original) {
        DeclarationResult result;
        const auto invalid = [&](std::string_view prefix) {
            result.message = std::string(prefix) + std::string(original);
            return result;
        };
        Declaration& d = result.declaration;
        if (!word(d.name)) return invalid("Invalid plugin method format: ");
        skipSpace();
        if (accept('(') && !parameters(d.parameters)) return invalid("Invalid plugin method format: ");
        skipSpace();
        if (at_ < text_.size()) {
            std::string keyword;
            if (!word(keyword) || !foldedEquals(keyword, "As")) return invalid("Invalid plugin method format: ");
            if (!word(d.resultType)) return invalid("Invalid plugin method format: ");
            if (!knownType(d.resultType)) return invalid("Invalid return type: ");
            skipSpace();
            if (at_ < text_.size()) return invalid("Invalid plugin method format: ");
        }
        result.ok = true;
        return result;
    }

private:
    static std::string_view cutComment(std::string_view text) {
        for (size_t i = 0; i < text.size(); ++i) {
            if (text.substr(i, 2) == "//") return text.substr(0, i);
            const bool wordStart = i == 0 || !isNameByte(text[i - 1]);
            const bool wordEnd = i + 3 >= text.size() || !isNameByte(text[i + 3]);
            if (wordStart && wordEnd && foldedEquals(text.substr(i, 3), "Rem")) return text.substr(0, i);
        }
        return text;
    }

    void skipSpace() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) ++at_;
    }

    bool accept(char c) {
        skipSpace();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool word(std::string& out) {
        skipSpace();
        const size_t start = at_;
        while (at_ < text_.size() && isNameByte(text_[at_])) ++at_;
        out.assign(text_.substr(start, at_ - start));
        return !out.empty();
    }

    bool knownType(std::string_view type) const { return isBasicTypeName(type) || (isClass_ && isClass_(type)); }

    bool parameters(std::vector<DeclaredParameter>& out) {
        if (accept(')')) return true;
        do {
            DeclaredParameter p;
            std::string first, keyword;
            if (!word(first)) return false;
            if (foldedEquals(first, "ByRef") || foldedEquals(first, "ByVal")) {
                p.byRef = foldedEquals(first, "ByRef");
                if (!word(p.name)) return false;
            } else {
                p.name = first;
            }
            if (!word(keyword) || !foldedEquals(keyword, "As")) return false;
            if (!word(p.type) || !knownType(p.type)) return false;
            out.push_back(std::move(p));
        } while (accept(','));
        return accept(')');
    }

    std::string_view text_;
    const ClassNameTest& isClass_;
    size_t at_ = 0;
};

}  // namespace

bool isBasicTypeName(std::string_view typeName) {
    for (std::string_view basic : {"Integer", "String", "Single", "Double", "Boolean", "Color"}) {
        if (foldedEquals(typeName, basic)) return true;
    }
    return false;
}

std::string Declaration::parameterText() const {
    std::string text;
    for (const DeclaredParameter& p : parameters) {
        if (!text.empty()) text += ", ";
        text += p.name + " As " + p.type;
    }
    return text;
}

DeclarationResult parseDeclaration(std::string_view text, const ClassNameTest& isClass) {
    return DeclarationReader(text, isClass).read(text);
}

}  // namespace runtime::plugins
