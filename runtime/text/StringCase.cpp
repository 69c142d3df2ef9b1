#include "text/StringCase.h"

#include <span>

namespace runtime {
namespace {

enum class Case { kUpper, kLower };

StringValue caseChanged(const CharacterTables& tables, const StringValue& s, Case to) {
    if (s.empty()) return {};
    StringValue copy = StringValue::fromBytes(s.view());
    uint8_t* bytes = copy.writableByte(0);
    if (tables.doubleByte()) {
        // Two-byte characters have case too (full-width letters): the code page
        // converts the whole text.
        if (to == Case::kUpper) {
            tables.platform().upperCase(bytes, copy.length());
        } else {
            tables.platform().lowerCase(bytes, copy.length());
        }
    } else {
        for (uint8_t& byte : std::span(bytes, static_cast<size_t>(copy.length()))) {
            byte = to == Case::kUpper ? tables.upper(byte) : tables.lower(byte);
        }
    }
    return copy;
}

}  // namespace

StringValue upperCased(const CharacterTables& tables, const StringValue& s) {
    return caseChanged(tables, s, Case::kUpper);
}

StringValue lowerCased(const CharacterTables& tables, const StringValue& s) {
    return caseChanged(tables, s, Case::kLower);
}

StringValue titleCased(const CharacterTables& tables, const StringValue& s) {
    if (s.empty()) return {};
    StringValue copy = StringValue::fromBytes(s.view());
    uint8_t* bytes = copy.writableByte(0);
    const int32_t length = copy.length();
    bool wordStart = true;
    for (int32_t b = 0; b < length;) {
        const int32_t width = tables.width(bytes[b]);
        if (b + width > length) break;  // a lead byte without its second byte
        const uint16_t type = tables.characterType(bytes + b, width);
        if (type & (kTypeSpace | kTypeBlank)) {
            wordStart = true;
        } else if (wordStart) {
            // Punctuation and digits use up the start of a word as well.
            wordStart = false;
            if (!(type & kTypeUpper)) tables.upperCaseCharacter(bytes + b, width);
        } else if (type & kTypeUpper) {
            tables.lowerCaseCharacter(bytes + b, width);
        }
        b += width;
    }
    return copy;
}

}  // namespace runtime
