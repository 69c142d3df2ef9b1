#include "text/DoubleByteStrings.h"

#include <algorithm>

#include "text/ByteStrings.h"
#include "text/StringSearch.h"

namespace runtime {
namespace {

int32_t clampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

int64_t characterStart(const CharacterTables& tables, std::string_view s, int64_t k) {
    if (k <= 0 || s.empty()) return 0;
    int64_t character = 1;
    for (size_t b = 0; b < s.size(); b += tables.widthAt(s, b), ++character) {
        if (character == k) return static_cast<int64_t>(b) + 1;
    }
    return static_cast<int64_t>(s.size()) + 1;
}

int64_t characterEnd(const CharacterTables& tables, std::string_view s, int64_t k) {
    if (k <= 0 || s.empty()) return 0;
    int64_t character = 1;
    for (size_t b = 0; b < s.size(); ++character) {
        b += tables.widthAt(s, b);
        if (character == k) return static_cast<int64_t>(b);
    }
    return static_cast<int64_t>(s.size()) + 1;
}

int32_t characterCount(const CharacterTables& tables, std::string_view s) {
    int32_t count = 0;
    for (size_t b = 0; b < s.size(); b += tables.widthAt(s, b)) ++count;
    return count;
}

int32_t characterNumberAt(const CharacterTables& tables, std::string_view s, int32_t position) {
    int32_t count = 0;
    for (size_t b = 0; b < s.size(); b += tables.widthAt(s, b)) {
        ++count;
        if (static_cast<int64_t>(b) + 1 == position) return count;
    }
    return count;
}

StringValue leftCharacters(const CharacterTables& tables, const StringValue& s, int32_t n) {
    if (!tables.doubleByte()) return s.left(n);
    return s.left(clampToInt32(characterEnd(tables, s.view(), n)));
}

StringValue rightCharacters(const CharacterTables& tables, const StringValue& s, int32_t n) {
    if (!tables.doubleByte()) return s.right(n);
    const int32_t count = characterCount(tables, s.view());
    if (n >= count) return s;
    if (n <= 0) return {};
    const int64_t start = characterStart(tables, s.view(), count - n + 1);
    return s.right(clampToInt32(s.length() - start + 1));
}

StringValue middleCharactersFrom(const CharacterTables& tables, const StringValue& s, int32_t i) {
    if (!tables.doubleByte()) return middleFrom(s, i);
    return middleFrom(s, clampToInt32(characterStart(tables, s.view(), i)));
}

StringValue middleCharacters(const CharacterTables& tables, const StringValue& s, int32_t i, int32_t n) {
    if (!tables.doubleByte()) return middle(s, i, n);
    const int64_t start = characterStart(tables, s.view(), i);
    const int64_t end = characterEnd(tables, s.view(), int64_t{i} + n - 1);
    return middle(s, clampToInt32(start), clampToInt32(end - start + 1));
}

int32_t lengthInCharacters(const CharacterTables& tables, const StringValue& s) {
    if (!tables.doubleByte()) return s.length();
    return characterCount(tables, s.view());
}

int32_t firstCharacterCode(const CharacterTables& tables, const StringValue& s) {
    if (!tables.doubleByte()) return firstByte(s);
    if (s.empty()) return 0;
    const uint8_t* bytes = s.bytes();
    if (s.length() >= 2 && tables.isLeadByte(bytes[0])) return bytes[0] * 256 + bytes[1];
    return bytes[0];
}

StringValue characterString(int32_t n) {
    if (n < 256) return byteString(n);
    const uint8_t bytes[2] = {static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)};
    return StringValue::fromBytes(bytes, 2);
}

int32_t findCharacters(const CharacterTables& tables, int32_t i, const StringValue& s, const StringValue& t) {
    if (!tables.doubleByte()) return findText(tables, i, s.view(), t.view());
    const int32_t start = clampToInt32(characterStart(tables, s.view(), i));
    const int32_t position = findText(tables, start, s.view(), t.view());
    return position == 0 ? 0 : characterNumberAt(tables, s.view(), position);
}

}  // namespace runtime
