#include "text/StringSearch.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace runtime {
namespace {

constexpr size_t kNotFound = static_cast<size_t>(-1);
constexpr size_t kLargestPiece = size_t{1} << 20;
// A first byte with more case forms than this is found by a plain walk.
constexpr size_t kMostScannedForms = 4;

uint8_t byteAt(std::string_view text, size_t i) { return static_cast<uint8_t>(text[i]); }

// The offset of the first `byte` in text[from, end), or kNotFound.
size_t findByte(std::string_view text, size_t from, size_t end, uint8_t byte) {
    if (from >= end) return kNotFound;
    const void* hit = std::memchr(text.data() + from, byte, end - from);
    return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) : kNotFound;
}

}  // namespace

TextSearch::TextSearch(const CharacterTables& tables, std::string_view haystack, std::string_view needle)
    : tables_(tables), haystack_(haystack), foldedNeedle_(needle) {
    auto* bytes = reinterpret_cast<uint8_t*>(foldedNeedle_.data());
    if (tables.doubleByte()) {
        tables.platform().upperCase(bytes, static_cast<int32_t>(foldedNeedle_.size()));
    } else {
        for (uint8_t& byte : std::span(bytes, foldedNeedle_.size())) byte = tables.upper(byte);
    }
}

int32_t TextSearch::find(int32_t from) {
    if (from < 0) from = 0;
    const size_t start = static_cast<size_t>(from);
    if (start >= haystack_.size() || haystack_.size() - start < foldedNeedle_.size()) return -1;
    return tables_.doubleByte() ? findDoubleByte(start) : findSingleByte(start);
}

bool TextSearch::matchesSingleByteAt(size_t offset) const {
    for (size_t k = 1; k < foldedNeedle_.size(); ++k) {
        if (tables_.upper(byteAt(haystack_, offset + k)) != byteAt(foldedNeedle_, k)) return false;
    }
    return true;
}

// Candidates are the places of the first needle byte in any of its case forms;
// each form is looked for with memchr and its next place kept until passed.
int32_t TextSearch::findSingleByte(size_t from) const {
    const size_t end = haystack_.size() - foldedNeedle_.size() + 1;  // past the last possible start
    const auto forms = tables_.bytesFoldingTo(byteAt(foldedNeedle_, 0));
    if (forms.size() > kMostScannedForms) {
        const uint8_t first = byteAt(foldedNeedle_, 0);
        for (size_t p = from; p < end; ++p) {
            if (tables_.upper(byteAt(haystack_, p)) == first && matchesSingleByteAt(p)) return static_cast<int32_t>(p);
        }
        return -1;
    }
    std::array<size_t, kMostScannedForms> next{};
    for (size_t k = 0; k < forms.size(); ++k) next[k] = findByte(haystack_, from, end, forms[k]);
    for (;;) {
        const size_t candidate = *std::min_element(next.begin(), next.begin() + forms.size());
        if (candidate == kNotFound) return -1;
        if (matchesSingleByteAt(candidate)) return static_cast<int32_t>(candidate);
        for (size_t k = 0; k < forms.size(); ++k) {
            if (next[k] == candidate) next[k] = findByte(haystack_, candidate + 1, end, forms[k]);
        }
    }
}

// Whether the byte at `offset` starts a character when characters are counted
// from `walkStart`. A byte that is not a lead byte always ends a character, so
// only the run of lead bytes right before `offset` decides: they pair up, and
// an odd run leaves `offset` as the second byte of a character.
bool TextSearch::startsCharacter(size_t offset, size_t walkStart) const {
    size_t runStart = offset;
    while (runStart > walkStart && tables_.isLeadByte(byteAt(folded_, runStart - 1))) --runStart;
    return (offset - runStart) % 2 == 0;
}

// Upper-cases the haystack up to at least `end`. The code page's upper-casing
// reads whole characters, so every piece begins and ends right after a byte
// that is not a lead byte (or at an end of the haystack): such places start a
// character however the text before them is read.
void TextSearch::foldThrough(size_t end) {
    end = std::min(end, haystack_.size());
    if (end <= foldedEnd_) return;
    while (end < haystack_.size() && tables_.isLeadByte(byteAt(haystack_, end - 1))) ++end;
    if (folded_.empty()) folded_.resize(haystack_.size());
    std::memcpy(folded_.data() + foldedEnd_, haystack_.data() + foldedEnd_, end - foldedEnd_);
    tables_.platform().upperCase(reinterpret_cast<uint8_t*>(folded_.data() + foldedEnd_),
                                 static_cast<int32_t>(end - foldedEnd_));
    foldedEnd_ = end;
}

int32_t TextSearch::findDoubleByte(size_t from) {
    if (from < foldedBegin_ || from > foldedEnd_) {
        size_t begin = from;
        while (begin > 0 && tables_.isLeadByte(byteAt(haystack_, begin - 1))) --begin;
        foldedBegin_ = foldedEnd_ = begin;
    }
    const size_t length = haystack_.size();
    const size_t needle = foldedNeedle_.size();
    size_t walkStart = from;  // a known character start
    size_t p = from;
    while (length - p >= needle) {
        foldThrough(p + needle + nextPiece_);
        nextPiece_ = std::min(nextPiece_ * 2, kLargestPiece);
        const std::string_view window(folded_.data() + p, foldedEnd_ - p);
        const size_t hit = window.find(foldedNeedle_);
        if (hit == std::string_view::npos) {
            if (foldedEnd_ == length) return -1;
            // A match may still start in the last needle - 1 bytes of this piece.
            p = std::max(p, foldedEnd_ - needle + 1);
            continue;
        }
        const size_t candidate = p + hit;
        if (startsCharacter(candidate, walkStart)) return static_cast<int32_t>(candidate);
        // The candidate is the second byte of a character: the next byte starts one.
        walkStart = p = candidate + 1;
    }
    return -1;
}

int32_t findText(const CharacterTables& tables, int32_t i, std::string_view s, std::string_view t) {
    if (s.empty()) return 0;
    // i - 1 as the 32-bit arithmetic of compiled code gives it.
    const auto start = static_cast<int32_t>(static_cast<uint32_t>(i) - 1u);
    if (t.empty()) return start;
    TextSearch search(tables, s, t);
    return search.find(std::max(start, 0)) + 1;
}

}  // namespace runtime
