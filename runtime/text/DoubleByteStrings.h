// The character-counting twins of the byte string functions. In double-byte
// mode a character is a lead byte with the byte after it, or any other single
// byte (a lead byte that ends the text is a character of its own); positions
// are 1-based character numbers. In single-byte mode every function is its
// byte twin.
#pragma once

#include <cstdint>
#include <string_view>

#include "text/CharacterTables.h"
#include "text/StringValue.h"

namespace runtime {

// The position rules, over the bytes of s: the 1-based byte position where
// character k starts, or where its last byte is. Both are 0 for k at most 0 or
// an empty s, and beyond the last byte when s has fewer than k characters.
int64_t characterStart(const CharacterTables& tables, std::string_view s, int64_t k);
int64_t characterEnd(const CharacterTables& tables, std::string_view s, int64_t k);
// The number of characters of s.
int32_t characterCount(const CharacterTables& tables, std::string_view s);
// The number of the character that starts at byte position `position`, or the
// number of characters of s when none starts there.
int32_t characterNumberAt(const CharacterTables& tables, std::string_view s, int32_t position);

StringValue leftCharacters(const CharacterTables& tables, const StringValue& s, int32_t n);
StringValue rightCharacters(const CharacterTables& tables, const StringValue& s, int32_t n);
StringValue middleCharactersFrom(const CharacterTables& tables, const StringValue& s, int32_t i);
StringValue middleCharacters(const CharacterTables& tables, const StringValue& s, int32_t i, int32_t n);
int32_t lengthInCharacters(const CharacterTables& tables, const StringValue& s);
// The code of the first character: lead byte * 256 + second byte for a
// two-byte character, else the byte; 0 for the empty string.
int32_t firstCharacterCode(const CharacterTables& tables, const StringValue& s);
// The character of code n: one byte below 256, else two bytes (high, low).
StringValue characterString(int32_t n);
// The character number where t occurs in s, searching from character i; 0
// when absent.
int32_t findCharacters(const CharacterTables& tables, int32_t i, const StringValue& s, const StringValue& t);

}  // namespace runtime
