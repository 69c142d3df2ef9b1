#include "strings/KejStrings.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

namespace kej {
namespace {

class HeapMemory final : public WorkMemory {
public:
    char* allocate(size_t size) override { return static_cast<char*>(std::malloc(size)); }
    char* resize(char* block, size_t size) override { return static_cast<char*>(std::realloc(block, size)); }
    void release(char* block) override { std::free(block); }
};

bool isAsciiLetter(uint8_t b) { return (b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A); }
uint8_t asciiUpper(uint8_t b) { return (b >= 0x61 && b <= 0x7A) ? static_cast<uint8_t>(b - 0x20) : b; }
uint8_t asciiLower(uint8_t b) { return (b >= 0x41 && b <= 0x5A) ? static_cast<uint8_t>(b + 0x20) : b; }
uint8_t byteAt(std::string_view text, size_t at) { return static_cast<uint8_t>(text[at]); }

bool folds(MatchClass cls) {
    return cls == MatchClass::FoldedOnBoundaries || cls == MatchClass::FoldedConfirmedByLetters;
}

// Mode 1 lasts for one call of the field and replace methods.
class CallScope {
public:
    explicit CallScope(KejState& state) : state_(state) { state_.error = kNoError; }
    ~CallScope() {
        if (state_.mode == 1) state_.mode = 0;
    }

private:
    KejState& state_;
};

// Upper-cases the single-byte ASCII letters of `bytes`, leaving both bytes of
// every double-byte character alone.
void foldSingleByteLetters(char* bytes, size_t length) {
    const std::string_view view(bytes, length);
    for (size_t at = 0; at < length;) {
        const size_t step = characterLength(view, at);
        if (step == 1) bytes[at] = static_cast<char>(asciiUpper(static_cast<uint8_t>(bytes[at])));
        at += step;
    }
}

// Finds the accepted occurrences of a pattern in a text, left to right and
// never overlapping: a Boyer-Moore-Horspool search for candidates, and for the
// boundary classes a character walker that accepts only candidates it lands on.
class Matcher {
public:
    Matcher(KejState& state, std::string_view text, std::string_view pattern)
        : state_(state), text_(text), pattern_(pattern), class_(classify(pattern, state.mode)) {
        buildShiftTable();
        if (class_ == MatchClass::FoldedConfirmedByLetters) {
            patternCopy_ = WorkBuffer(*state.memory, state.memory->allocate(pattern.size() + 1));
            candidateCopy_ = WorkBuffer(*state.memory, state.memory->allocate(pattern.size() + 1));
        }
    }

    bool usable() const {
        return class_ != MatchClass::FoldedConfirmedByLetters || (patternCopy_.get() && candidateCopy_.get());
    }
    MatchClass matchClass() const { return class_; }

    // The leftmost candidate at or after `from`, whatever the boundaries.
    std::optional<size_t> candidate(size_t from) const {
        const size_t m = pattern_.size();
        const size_t n = text_.size();
        if (m == 0 || from > n || n - from < m) return std::nullopt;
        const bool fold = folds(class_);
        size_t last = from + m - 1;  // the window's last byte
        for (;;) {
            for (uint32_t skip; (skip = state_.shift[byteAt(text_, last)]) != 0;) {
                last += skip;
                if (last >= n) return std::nullopt;
            }
            const size_t start = last + 1 - m;
            size_t i = m - 1;
            while (i > 0 && same(byteAt(text_, start + i - 1), byteAt(pattern_, i - 1), fold)) --i;
            if (i == 0) return start;
            const size_t mismatch = start + i - 1;
            const size_t moved = mismatch + state_.shift[byteAt(text_, mismatch)];
            last = moved > last ? moved : last + 1;
            if (last >= n) return std::nullopt;
        }
    }

    // The next accepted occurrence; the search then resumes right after it.
    std::optional<size_t> next() {
        for (;;) {
            const std::optional<size_t> found = candidate(searchFrom_);
            if (!found) return std::nullopt;
            const size_t at = *found;
            if (class_ != MatchClass::ExactAnywhere) {
                walkTo(at);
                if (walker_ != at) {
                    searchFrom_ = walker_;
                    continue;
                }
                if (class_ == MatchClass::FoldedConfirmedByLetters && !confirmed(at)) {
                    walker_ += characterLength(text_, walker_);
                    searchFrom_ = walker_;
                    continue;
                }
            }
            walker_ = searchFrom_ = at + pattern_.size();
            return at;
        }
    }

private:
    // Steps the walker whole characters until it reaches or passes `at`. A
    // byte that follows one that is not a lead byte always starts a character
    // (that byte is a character of its own or the end of one), so the walk
    // resumes at the last such place before `at` instead of crossing all the
    // text since the previous match: only a run of lead bytes is walked.
    void walkTo(size_t at) {
        if (walker_ >= at) return;
        size_t resume = at;
        while (resume > walker_ && isLeadByte(byteAt(text_, resume - 1))) --resume;
        walker_ = resume;
        while (walker_ < at) walker_ += characterLength(text_, walker_);
    }

    static bool same(uint8_t a, uint8_t b, bool fold) { return fold ? asciiUpper(a) == asciiUpper(b) : a == b; }

    void buildShiftTable() {
        const size_t m = pattern_.size();
        state_.shift.fill(static_cast<uint32_t>(m));
        const bool fold = folds(class_);
        for (size_t i = 0; i < m; ++i) {
            const uint8_t b = byteAt(pattern_, i);
            const auto distance = static_cast<uint32_t>(m - 1 - i);
            if (fold) {
                state_.shift[asciiUpper(b)] = distance;
                state_.shift[asciiLower(b)] = distance;
            } else {
                state_.shift[b] = distance;
            }
        }
    }

    // Class IV: the candidate and the pattern must agree byte for byte once
    // their single-byte ASCII letters are upper-cased.
    bool confirmed(size_t at) const {
        const size_t m = pattern_.size();
        if (at + m > text_.size()) return false;
        std::memcpy(patternCopy_.get(), pattern_.data(), m);
        std::memcpy(candidateCopy_.get(), text_.data() + at, m);
        foldSingleByteLetters(patternCopy_.get(), m);
        foldSingleByteLetters(candidateCopy_.get(), m);
        return std::memcmp(patternCopy_.get(), candidateCopy_.get(), m) == 0;
    }

    KejState& state_;
    std::string_view text_;
    std::string_view pattern_;
    MatchClass class_;
    WorkBuffer patternCopy_{heapMemory(), nullptr};
    WorkBuffer candidateCopy_{heapMemory(), nullptr};
    size_t searchFrom_ = 0;
    size_t walker_ = 0;
};

TextResult sourceResult(std::string_view source) {
    TextResult result;
    result.kind = TextResult::Kind::Source;
    result.text = source;
    return result;
}

TextResult outOfMemory(KejState& state) {
    state.error = kOutOfMemory;
    return TextResult{};
}

// The output buffer and how many replacements fit before it must grow.
struct OutputPlan {
    size_t initialSize = 0;
    size_t reserve = 0;  // bytes added per growth (0: never grows)
    size_t allowance = std::numeric_limits<size_t>::max();
};

std::optional<WorkBuffer> allocateOutput(KejState& state, size_t sourceLength, size_t oldLength, size_t newLength,
                                         OutputPlan& plan) {
    WorkMemory& memory = *state.memory;
    if (newLength <= oldLength) {
        plan.initialSize = sourceLength + 1;
        char* block = memory.allocate(plan.initialSize);
        if (!block) return std::nullopt;
        return WorkBuffer(memory, block);
    }
    const size_t growth = newLength - oldLength;
    size_t reserve = (state.replaceFirst || growth > 1024) ? growth : 1024;
    reserve = reserve / growth * growth;
    for (;;) {
        plan.initialSize = sourceLength + reserve + 1;
        if (char* block = memory.allocate(plan.initialSize)) {
            plan.reserve = reserve;
            plan.allowance = reserve / growth;
            return WorkBuffer(memory, block);
        }
        if (reserve < 2 * growth) return std::nullopt;
        reserve = reserve / 2 / growth * growth;
    }
}

TextResult replaceOccurrences(KejState& state, std::string_view source, std::string_view oldText,
                              std::string_view newText) {
    CallScope scope(state);
    if (source.empty()) {
        state.error = kEmptySource;
        return TextResult{};
    }
    if (oldText.empty()) {
        state.error = kEmptyOldText;
        return sourceResult(source);
    }
    Matcher matcher(state, source, oldText);
    if (!matcher.usable()) return outOfMemory(state);
    const bool exact = matcher.matchClass() == MatchClass::ExactAnywhere ||
                       matcher.matchClass() == MatchClass::ExactOnBoundaries;
    if (exact && !matcher.candidate(0)) return sourceResult(source);

    OutputPlan plan;
    std::optional<WorkBuffer> output = allocateOutput(state, source.size(), oldText.size(), newText.size(), plan);
    if (!output) return outOfMemory(state);
    size_t capacity = plan.initialSize;
    size_t written = 0;
    size_t copyFrom = 0;
    size_t usedThisPass = 0;
    while (const std::optional<size_t> at = matcher.next()) {
        if (usedThisPass == plan.allowance) {
            capacity += plan.reserve;
            if (!output->grow(capacity)) return outOfMemory(state);
            usedThisPass = 0;
        }
        std::memcpy(output->get() + written, source.data() + copyFrom, *at - copyFrom);
        written += *at - copyFrom;
        std::memcpy(output->get() + written, newText.data(), newText.size());
        written += newText.size();
        copyFrom = *at + oldText.size();
        ++usedThisPass;
        if (state.replaceFirst) break;
    }
    std::memcpy(output->get() + written, source.data() + copyFrom, source.size() - copyFrom);
    written += source.size() - copyFrom;

    TextResult result;
    result.kind = TextResult::Kind::Buffer;
    result.text = std::string_view(output->get(), written);
    result.buffer = std::move(*output);
    return result;
}

}  // namespace

WorkMemory& heapMemory() {
    static HeapMemory memory;
    return memory;
}

bool isLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrailByte(uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

size_t characterLength(std::string_view text, size_t at) {
    if (at + 1 < text.size() && isLeadByte(byteAt(text, at)) && isTrailByte(byteAt(text, at + 1))) return 2;
    return 1;
}

MatchClass classify(std::string_view pattern, int16_t mode) {
    const bool singleTrailByte = pattern.size() == 1 && isTrailByte(byteAt(pattern, 0));
    if (mode != 0) {
        return !pattern.empty() && isTrailByte(byteAt(pattern, 0)) ? MatchClass::ExactOnBoundaries
                                                                   : MatchClass::ExactAnywhere;
    }
    bool anyDoubleByte = false, anyLetter = false, anyNonLetter = false, lowerTrail = false;
    const bool firstIsLetter = !pattern.empty() && isAsciiLetter(byteAt(pattern, 0));
    for (size_t at = 0; at < pattern.size();) {
        const size_t step = characterLength(pattern, at);
        if (step == 2) {
            anyDoubleByte = true;
            anyNonLetter = true;
            const uint8_t trail = byteAt(pattern, at + 1);
            if (trail >= 0x61 && trail <= 0x7A) lowerTrail = true;
        } else if (isAsciiLetter(byteAt(pattern, at))) {
            anyLetter = true;
        } else {
            anyNonLetter = true;
        }
        at += step;
    }
    if (firstIsLetter && anyNonLetter && lowerTrail) return MatchClass::FoldedConfirmedByLetters;
    if (anyLetter) return MatchClass::FoldedOnBoundaries;
    if (anyDoubleByte || singleTrailByte) return MatchClass::ExactOnBoundaries;
    return MatchClass::ExactAnywhere;
}

void setCheckType(KejState& state, int32_t type) { state.mode = static_cast<int16_t>(type); }

int32_t countFields(KejState& state, std::string_view source, std::string_view separator) {
    CallScope scope(state);
    if (source.empty()) {
        state.error = kEmptySource;
        return 0;
    }
    if (separator.empty()) {
        state.error = kEmptySeparator;
        return 1;
    }
    Matcher matcher(state, source, separator);
    if (!matcher.usable()) {
        state.error = kOutOfMemory;
        return 0;
    }
    int32_t fields = 1;
    while (matcher.next()) ++fields;
    return fields;
}

std::string_view nthField(KejState& state, std::string_view source, std::string_view separator, int32_t fieldNumber) {
    CallScope scope(state);
    if (fieldNumber < 1) {
        state.error = kFieldBelowOne;
        return {};
    }
    if (source.empty()) {
        state.error = kEmptySource;
        return {};
    }
    if (separator.empty()) {
        state.error = kEmptySeparator;
        return {};
    }
    Matcher matcher(state, source, separator);
    if (!matcher.usable()) {
        state.error = kOutOfMemory;
        return {};
    }
    size_t start = 0;
    for (int32_t field = 1; field < fieldNumber; ++field) {
        const std::optional<size_t> at = matcher.next();
        if (!at) return {};
        start = *at + separator.size();
    }
    const size_t end = matcher.next().value_or(source.size());
    return source.substr(start, end - start);
}

TextResult replaceAll(KejState& state, std::string_view source, std::string_view oldText, std::string_view newText) {
    return replaceOccurrences(state, source, oldText, newText);
}

TextResult replaceFirst(KejState& state, std::string_view source, std::string_view oldText, std::string_view newText) {
    state.replaceFirst = true;
    TextResult result = replaceOccurrences(state, source, oldText, newText);
    state.replaceFirst = false;
    return result;
}

}  // namespace kej
