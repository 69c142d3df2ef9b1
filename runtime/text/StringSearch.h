// The text search under the string functions (searching, fields, replacing):
// case-insensitive, and in double-byte mode matching only where a character
// starts, counting characters from the offset where the search begins.
#pragma once

#include <array>
#include <cstdint>
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

    int32_t findByCaseTable(size_t from);
    bool matchesByCaseTableAt(size_t offset) const;
    int32_t findDoubleByte(size_t from);
    int32_t findOneByteCharacters(size_t from);
    int32_t findInUpperCased(size_t from);
    bool startsCharacter(std::string_view text, size_t offset, size_t walkStart) const;
    void foldFrom(size_t from);
    void foldThrough(size_t end);

    const CharacterTables& tables_;
    std::string_view haystack_;
    std::string foldedNeedle_;
    // Matching through the one-byte case table: the next place of each case
    // form of the first needle byte at or after formsFrom_, kept across calls
    // that move forward.
    std::array<size_t, kMostScannedForms> nextForm_{};
    size_t formsFrom_ = SIZE_MAX;
    // Double-byte mode: a needle of one-byte characters is matched through the
    // one-byte case table, as in single-byte mode, when the search starts on a
    // character boundary. Else the haystack is upper-cased by the code page,
    // in pieces that begin and end on character boundaries as the search
    // advances.
    bool oneByteNeedle_ = false;
    std::string folded_;
    size_t foldedBegin_ = 0;
    size_t foldedEnd_ = 0;
    size_t nextPiece_ = 4096;
};

// The search of StringInStr: t in s from the 1-based byte position i, giving a
// 1-based byte position or 0. An empty t gives i - 1.
int32_t findText(const CharacterTables& tables, int32_t i, std::string_view s, std::string_view t);

}  // namespace runtime
