// The text search under the string functions (searching, fields, replacing):
// case-insensitive, and in double-byte mode matching only where a character
// starts, counting characters from the offset where the search begins.
#pragma once

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
    int32_t findSingleByte(size_t from) const;
    bool matchesSingleByteAt(size_t offset) const;
    int32_t findDoubleByte(size_t from);
    bool startsCharacter(size_t offset, size_t walkStart) const;
    void foldThrough(size_t end);

    const CharacterTables& tables_;
    std::string_view haystack_;
    std::string foldedNeedle_;
    // Double-byte mode: the haystack upper-cased by the code page, filled in
    // pieces that begin and end on character boundaries as the search advances.
    std::string folded_;
    size_t foldedBegin_ = 0;
    size_t foldedEnd_ = 0;
    size_t nextPiece_ = 4096;
};

// The search of StringInStr: t in s from the 1-based byte position i, giving a
// 1-based byte position or 0. An empty t gives i - 1.
int32_t findText(const CharacterTables& tables, int32_t i, std::string_view s, std::string_view t);

}  // namespace runtime
