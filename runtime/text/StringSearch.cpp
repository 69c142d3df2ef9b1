#include "text/StringSearch.h"

#include <algorithm>
#include <cstring>

namespace runtime {
namespace {

constexpr size_t kNotFound = SIZE_MAX;
constexpr size_t kLargestPiece = size_t{1} << 20;

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
    const size_t length = foldedNeedle_.size();
    if (!tables.doubleByte()) {
        for (uint8_t& byte : std::span(bytes, length)) byte = tables.upper(byte);
        firstForms_ = tables.bytesFoldingTo(bytes[0]);
    } else {
        oneByteNeedle_ = std::none_of(needle.begin(), needle.end(),
                                      [&](char c) { return tables.isLeadByte(static_cast<uint8_t>(c)); });
        tables.upperCaseCharacters(bytes, bytes, length);
        // A needle that is one lead byte alone is left to the upper-cased copy.
        const bool loneLeadByte = length == 1 && tables.isLeadByte(bytes[0]);
        if (tables.upperCaseKeepsCharacterStarts() && !loneLeadByte) {
            onCharacterStarts_ = true;
            if (oneByteNeedle_) {
                firstForms_ = tables.bytesFoldingTo(bytes[0]);
            } else {
                twoByteUpper_ = &tables.twoByteUpperCase();
                matchByCharacters_ = true;
                firstForms_ = tables.isLeadByte(bytes[0]) ? twoByteUpper_->leadsFoldingTo(bytes[0])
                                                          : tables.bytesFoldingTo(bytes[0]);
            }
        }
    }
    if (firstForms_.size() > kMostScannedForms) {
        for (uint8_t form : firstForms_) formMask_[form] = true;
    }
}

int32_t TextSearch::find(int32_t from) {
    if (from < 0) from = 0;
    const size_t start = static_cast<size_t>(from);
    if (start >= haystack_.size() || haystack_.size() - start < foldedNeedle_.size()) return -1;
    return tables_.doubleByte() ? findDoubleByte(start) : findCandidate(start);
}

bool TextSearch::matchesAt(size_t offset) const {
    return matchByCharacters_ ? matchesByCharactersAt(offset) : matchesByCaseTableAt(offset);
}

// The first byte is known to be a case form of the needle's first byte.
bool TextSearch::matchesByCaseTableAt(size_t offset) const {
    for (size_t k = 1; k < foldedNeedle_.size(); ++k) {
        if (tables_.upper(byteAt(haystack_, offset + k)) != byteAt(foldedNeedle_, k)) return false;
    }
    return true;
}

// Upper-cases the haystack's characters from `offset` (a character start) one
// at a time and compares them with the needle; a two-byte character that the
// needle's end cuts in half is compared by its first byte.
bool TextSearch::matchesByCharactersAt(size_t offset) const {
    const size_t length = foldedNeedle_.size();
    size_t k = 0;
    while (k < length) {
        const size_t at = offset + k;
        const uint8_t byte = byteAt(haystack_, at);
        if (tables_.isLeadByte(byte) && at + 1 < haystack_.size()) {
            const std::array<uint8_t, 2> upper = twoByteUpper_->upper(byte, byteAt(haystack_, at + 1));
            if (upper[0] != byteAt(foldedNeedle_, k)) return false;
            if (k + 1 < length && upper[1] != byteAt(foldedNeedle_, k + 1)) return false;
            k += 2;
        } else {
            if (tables_.upper(byte) != byteAt(foldedNeedle_, k)) return false;
            ++k;
        }
    }
    return true;
}

// Candidates are the places of the needle's first forms; each form is looked
// for with memchr and its next place kept until passed.
int32_t TextSearch::findCandidate(size_t from) {
    const size_t end = haystack_.size() - foldedNeedle_.size() + 1;  // past the last possible start
    const std::span<const uint8_t> forms = firstForms_;
    if (forms.size() > kMostScannedForms) {
        for (size_t p = from; p < end; ++p) {
            if (formMask_[byteAt(haystack_, p)] && matchesAt(p)) return static_cast<int32_t>(p);
        }
        return -1;
    }
    // Places found by an earlier call from no later offset stay valid.
    const bool reuse = formsFrom_ <= from;
    for (size_t k = 0; k < forms.size(); ++k) {
        if (!reuse || (nextForm_[k] != kNotFound && nextForm_[k] < from)) {
            nextForm_[k] = findByte(haystack_, from, end, forms[k]);
        }
    }
    formsFrom_ = from;
    for (;;) {
        const size_t candidate = forms.empty() ? kNotFound : *std::min_element(nextForm_.begin(), nextForm_.begin() + forms.size());
        if (candidate == kNotFound) return -1;
        formsFrom_ = candidate;
        if (matchesAt(candidate)) return static_cast<int32_t>(candidate);
        for (size_t k = 0; k < forms.size(); ++k) {
            if (nextForm_[k] == candidate) nextForm_[k] = findByte(haystack_, candidate + 1, end, forms[k]);
        }
        formsFrom_ = candidate + 1;
    }
}

// Whether the byte at `offset` of `text` starts a character when characters
// are counted from `walkStart`. A byte that is not a lead byte always ends a
// character, so only the run of lead bytes right before `offset` decides: they
// pair up, and an odd run leaves `offset` as the second byte of a character.
bool TextSearch::startsCharacter(std::string_view text, size_t offset, size_t walkStart) const {
    size_t runStart = offset;
    while (runStart > walkStart && tables_.isLeadByte(byteAt(text, runStart - 1))) --runStart;
    return (offset - runStart) % 2 == 0;
}

// Starts the upper-cased copy at a character boundary at or before `from`,
// unless it already covers `from`.
void TextSearch::foldFrom(size_t from) {
    if (folded_.empty()) folded_.resize(haystack_.size());
    if (from >= foldedBegin_ && from <= foldedEnd_) return;
    size_t begin = from;
    while (begin > 0 && tables_.isLeadByte(byteAt(haystack_, begin - 1))) --begin;
    foldedBegin_ = foldedEnd_ = begin;
}

// Upper-cases the haystack up to at least `end`. Every piece begins and ends
// right after a byte that is not a lead byte (or at an end of the haystack):
// such places start a character however the text before them is read.
void TextSearch::foldThrough(size_t end) {
    end = std::min(end, haystack_.size());
    if (end <= foldedEnd_) return;
    while (end < haystack_.size() && tables_.isLeadByte(byteAt(haystack_, end - 1))) ++end;
    tables_.upperCaseCharacters(reinterpret_cast<const uint8_t*>(haystack_.data() + foldedEnd_),
                                reinterpret_cast<uint8_t*>(folded_.data() + foldedEnd_), end - foldedEnd_);
    foldedEnd_ = end;
}

// From a character boundary, characters are walked in the text as it is when
// upper-casing keeps one-byte characters one byte long and every two-byte
// character starting with a lead byte: the walk then meets the same
// characters as in the upper-cased text. From inside a character the walk
// reads the second byte as upper-cased.
int32_t TextSearch::findDoubleByte(size_t from) {
    if (onCharacterStarts_ && startsCharacter(haystack_, from, 0)) return findOnCharacterStarts(from);
    return findInUpperCased(from);
}

int32_t TextSearch::findOnCharacterStarts(size_t from) {
    size_t walkStart = from;  // a known character start
    for (int32_t candidate = findCandidate(from); candidate >= 0; candidate = findCandidate(walkStart)) {
        const auto at = static_cast<size_t>(candidate);
        if (startsCharacter(haystack_, at, walkStart)) return candidate;
        // The candidate is the second byte of a character: the next byte starts one.
        walkStart = at + 1;
    }
    return -1;
}

int32_t TextSearch::findInUpperCased(size_t from) {
    const size_t length = haystack_.size();
    const size_t needle = foldedNeedle_.size();
    foldFrom(from);
    size_t walkStart = from;  // a known character start
    size_t p = from;
    while (length - p >= needle) {
        foldThrough(p + needle + nextPiece_);
        nextPiece_ = std::min(nextPiece_ * 2, kLargestPiece);
        const size_t hit = std::string_view(folded_).substr(p, foldedEnd_ - p).find(foldedNeedle_);
        if (hit == std::string_view::npos) {
            if (foldedEnd_ == length) return -1;
            // A match may still start in the last needle - 1 bytes of this piece.
            p = std::max(p, foldedEnd_ - needle + 1);
            continue;
        }
        const size_t candidate = p + hit;
        if (startsCharacter(folded_, candidate, walkStart)) return static_cast<int32_t>(candidate);
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
