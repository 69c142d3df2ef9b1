#include "text/StringTrim.h"

namespace runtime {
namespace {

// Double-byte mode: whether the character of `width` bytes at `bytes` is white
// space. A lead byte without its second byte never is.
bool isWhiteCharacter(const CharacterTables& tables, const uint8_t* bytes, int32_t width) {
    return (tables.characterType(bytes, width) & kTypeSpace) != 0;
}

// The byte offset of the first character that is not white space.
int32_t leadingWhiteEnd(const CharacterTables& tables, const StringValue& s) {
    const uint8_t* bytes = s.bytes();
    const int32_t length = s.length();
    int32_t b = 0;
    if (!tables.doubleByte()) {
        while (b < length && tables.isWhiteByte(bytes[b])) ++b;
        return b;
    }
    while (b < length) {
        const int32_t width = tables.width(bytes[b]);
        if (b + width > length || !isWhiteCharacter(tables, bytes + b, width)) break;
        b += width;
    }
    return b;
}

// The byte offset just past the last character that is not white space.
int32_t trailingWhiteStart(const CharacterTables& tables, const StringValue& s) {
    const uint8_t* bytes = s.bytes();
    const int32_t length = s.length();
    if (!tables.doubleByte()) {
        int32_t end = length;
        while (end > 0 && tables.isWhiteByte(bytes[end - 1])) --end;
        return end;
    }
    // Characters can only be told apart from the start.
    int32_t end = 0;
    for (int32_t b = 0; b < length;) {
        const int32_t width = b + 1 < length ? tables.width(bytes[b]) : 1;
        const bool truncated = width == 1 && tables.isLeadByte(bytes[b]);
        if (truncated || !isWhiteCharacter(tables, bytes + b, width)) end = b + width;
        b += width;
    }
    return end;
}

}  // namespace

StringValue trimmedLeft(const CharacterTables& tables, const StringValue& s) {
    return s.tail(leadingWhiteEnd(tables, s));
}

StringValue trimmedRight(const CharacterTables& tables, const StringValue& s) {
    return s.left(trailingWhiteStart(tables, s));
}

StringValue trimmed(const CharacterTables& tables, const StringValue& s) {
    const StringValue left = trimmedLeft(tables, s);
    return trimmedRight(tables, left);
}

}  // namespace runtime
