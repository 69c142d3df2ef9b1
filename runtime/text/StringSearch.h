// The text search under the string functions (searching, fields, replacing):
// case-insensitive, and in double-byte mode matching only where a character
// starts, counting characters from the offset where the search begins.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "text/CharacterTables.h"

namespace runtime {

class TextSearch {
public:
    // Searches `needle` (not empty) in `haystack`; both must outlive the search.
    TextSearch(const CharacterTables& tables, std::string_view haystack, std::string_view needle);

    // The 0-based offset of the first match that starts at or after `from`,
    // or -1. Successive calls may reuse the work of earlier ones.
    int32_t find(int32_t from);

private:
    // A first needle byte with more case forms than this is found by a plain walk.
    static constexpr size_t kMostScannedForms = 4;

    int32_t findCandidate(size_t from);
    bool matchesAt(size_t offset) const;
    bool matchesByCaseTableAt(size_t offset) const;
    bool matchesByCharactersAt(size_t offset) const;
    int32_t findDoubleByte(size_t from);
    int32_t findOnCharacterStarts(size_t from);
    int32_t findInUpperCased(size_t from);
    bool startsCharacter(std::string_view text, size_t offset, size_t walkStart) const;
    void foldFrom(size_t from);
    void foldThrough(size_t end);

    const CharacterTables& tables_;
    std::string_view haystack_;
    std::string foldedNeedle_;
    // Candidates are the places of the bytes that may begin a match: the case
    // forms of the first needle byte, or in double-byte mode the lead bytes
    // whose characters upper-case to the needle's first character. The next
    // place of each form at or after formsFrom_ is kept across calls that
    // move forward; with too many forms, formMask_ marks them for a plain walk.
    std::span<const uint8_t> firstForms_;
    std::array<bool, 256> formMask_{};
    std::array<size_t, kMostScannedForms> nextForm_{};
    size_t formsFrom_ = SIZE_MAX;
    // Double-byte mode. When upper-casing keeps every character where it
    // starts, a search from a character boundary runs in the text as it is:
    // a needle of one-byte characters is matched through the one-byte case
    // table, one with two-byte characters character by character through the
    // code page's upper-case forms. Else the haystack is upper-cased into a
    // copy, in pieces that begin and end on character boundaries as the
    // search advances.
    bool oneByteNeedle_ = false;
    bool onCharacterStarts_ = false;
    bool matchByCharacters_ = false;
    const TwoByteUpperCase* twoByteUpper_ = nullptr;
    std::string folded_;
    size_t foldedBegin_ = 0;
    size_t foldedEnd_ = 0;
    size_t nextPiece_ = 4096;
};

// The search of StringInStr: t in s from the 1-based byte position i, giving a
// 1-based byte position or 0. An empty t gives i - 1.
int32_t findText(const CharacterTables& tables, int32_t i, std::string_view s, std::string_view t);

}  // namespace runtime
