// The kej_ matching and field logic over fixed Shift-JIS byte classes. Runs
// natively and under Wine (the same cases also go through the plug-in DLL).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "strings/KejStrings.h"

namespace {

using kej::KejState;
using kej::MatchClass;

// "表" is 0x95 0x5C: a double-byte character whose trail byte is the backslash.
const std::string kHyo = "\x95\x5C";
// "ア" is 0x83 0x41 (trail byte 'A'), "ぁ" 0x82 0x9F, "ヂ" 0x83 0x61 (trail byte 'a').
const std::string kA = "\x83\x41";
const std::string kDi = "\x83\x61";

std::string replaced(KejState& state, std::string_view s, std::string_view o, std::string_view n) {
    return std::string(kej::replaceAll(state, s, o, n).text);
}

TEST(KejClassify, PatternsFallIntoTheFourClasses) {
    struct Case {
        std::string pattern;
        int16_t mode;
        MatchClass expected;
    };
    const Case cases[] = {
        {",", 0, MatchClass::ExactAnywhere},
        {"--", 0, MatchClass::ExactAnywhere},
        {"\\", 0, MatchClass::ExactOnBoundaries},  // single byte in the trail range
        {"@", 0, MatchClass::ExactOnBoundaries},
        {kHyo, 0, MatchClass::ExactOnBoundaries},
        {"x", 0, MatchClass::FoldedOnBoundaries},
        {"and", 0, MatchClass::FoldedOnBoundaries},
        {"a" + kA, 0, MatchClass::FoldedOnBoundaries},  // trail byte upper case: not IV
        {"a" + kDi, 0, MatchClass::FoldedConfirmedByLetters},
        {kDi + "a", 0, MatchClass::FoldedOnBoundaries},  // first byte not a letter
        {"x", 2, MatchClass::ExactOnBoundaries},        // 'x' is in the trail range
        {",", 2, MatchClass::ExactAnywhere},
        {kHyo, 1, MatchClass::ExactOnBoundaries},  // 0x95 also lies in the trail range
        {"!a", 1, MatchClass::ExactAnywhere},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kej::classify(c.pattern, c.mode), c.expected) << c.pattern << " mode " << c.mode;
    }
}

TEST(KejCountFields, CountsAcceptedSeparatorsAndReportsEmptyArguments) {
    KejState state;
    EXPECT_EQ(kej::countFields(state, "a,b,,c", ","), 4);
    EXPECT_EQ(state.error, 0);
    EXPECT_EQ(kej::countFields(state, "", ","), 0);
    EXPECT_EQ(state.error, kej::kEmptySource);
    EXPECT_EQ(kej::countFields(state, "abc", ""), 1);
    EXPECT_EQ(state.error, kej::kEmptySeparator);
    EXPECT_EQ(kej::countFields(state, "abc", ","), 1);
    EXPECT_EQ(state.error, 0) << "each call clears the error first";
}

TEST(KejCountFields, BackslashInsideADoubleByteCharacterIsNoSeparator) {
    KejState state;
    EXPECT_EQ(kej::countFields(state, kHyo + "\\", "\\"), 2);
    EXPECT_EQ(kej::countFields(state, kHyo + kHyo + "\\" + kHyo, "\\"), 2);
    // In an exact mode a pattern that starts with a trail byte still matches
    // only at character boundaries.
    kej::setCheckType(state, 2);
    EXPECT_EQ(kej::countFields(state, kHyo + "\\", "\\"), 2);
}

TEST(KejNthField, FieldsErrorsAndCaseInsensitiveSeparators) {
    KejState state;
    EXPECT_EQ(kej::nthField(state, "ONE and two AND three", "and", 3), " three");
    EXPECT_EQ(kej::nthField(state, "ONE and two AND three", "and", 1), "ONE ");
    EXPECT_EQ(kej::nthField(state, "a,b", ",", 0), "");
    EXPECT_EQ(state.error, kej::kFieldBelowOne);
    EXPECT_EQ(kej::nthField(state, "a,b", ",", 5), "");
    EXPECT_EQ(state.error, 0);
    EXPECT_EQ(kej::nthField(state, "", ",", 1), "");
    EXPECT_EQ(state.error, kej::kEmptySource);
    EXPECT_EQ(kej::nthField(state, "a", "", 1), "");
    EXPECT_EQ(state.error, kej::kEmptySeparator);
    // Field number checked before the empty source.
    EXPECT_EQ(kej::nthField(state, "", "", -3), "");
    EXPECT_EQ(state.error, kej::kFieldBelowOne);
}

TEST(KejNthField, CandidateInsideADoubleByteCharacterIsSkippedInTheLastField) {
    KejState state;
    const std::string source = "x\\y\\" + kHyo + "z";
    EXPECT_EQ(kej::nthField(state, source, "\\", 3), kHyo + "z");
    EXPECT_EQ(kej::countFields(state, source, "\\"), 3);
}

// The accepted occurrences by the rules step by step: the leftmost candidate
// at or after the search start, taken only where a walker stepping whole
// characters from the text's start (and then from right after the previous
// match) lands; else the search starts again at the walker.
std::vector<size_t> modelOccurrences(std::string_view text, std::string_view pattern, MatchClass cls) {
    const bool fold = cls == MatchClass::FoldedOnBoundaries;
    const auto upper = [fold](char c) { return fold && c >= 'a' && c <= 'z' ? static_cast<char>(c - 0x20) : c; };
    const auto matchesAt = [&](size_t at) {
        for (size_t k = 0; k < pattern.size(); ++k) {
            if (upper(text[at + k]) != upper(pattern[k])) return false;
        }
        return true;
    };
    std::vector<size_t> found;
    size_t from = 0, walker = 0;
    for (;;) {
        size_t candidate = from;
        while (candidate + pattern.size() <= text.size() && !matchesAt(candidate)) ++candidate;
        if (candidate + pattern.size() > text.size()) return found;
        if (cls != MatchClass::ExactAnywhere) {
            while (walker < candidate) walker += kej::characterLength(text, walker);
            if (walker != candidate) {
                from = walker;
                continue;
            }
        }
        found.push_back(candidate);
        from = walker = candidate + pattern.size();
    }
}

// Random texts of lead bytes (also in runs, where they pair up), trail bytes
// that are ASCII letters or the backslash, and single bytes of each kind.
TEST(KejMatching, OccurrencesFollowTheCharacterWalkOnRandomTexts) {
    constexpr std::string_view kBytes = "\x81\x95\xE0\x5C\x40" "aAx,\xA0\x7F";
    std::mt19937 engine(5);
    const auto randomText = [&](size_t most) {
        std::string out(std::uniform_int_distribution<size_t>(1, most)(engine), '\0');
        for (char& c : out) c = kBytes[std::uniform_int_distribution<size_t>(0, kBytes.size() - 1)(engine)];
        return out;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string text = randomText(40);
        const std::string pattern = randomText(3);
        const MatchClass cls = kej::classify(pattern, 0);
        if (cls == MatchClass::FoldedConfirmedByLetters) continue;
        const std::vector<size_t> expected = modelOccurrences(text, pattern, cls);
        KejState state;
        ASSERT_EQ(kej::countFields(state, text, pattern), static_cast<int32_t>(expected.size() + 1))
            << "round " << round << " class " << static_cast<int>(cls);
        // The last field starts right after the last accepted occurrence.
        const size_t lastStart = expected.empty() ? 0 : expected.back() + pattern.size();
        ASSERT_EQ(kej::nthField(state, text, pattern, static_cast<int32_t>(expected.size() + 1)),
                  std::string_view(text).substr(lastStart))
            << "round " << round;
    }
}

TEST(KejNthField, ClassFourConfirmsOnlySingleByteLettersFolded) {
    KejState state;
    // Pattern "a" + ヂ: a candidate "A" + ア matches case-insensitively byte by
    // byte (0x61 ~ 0x41) but differs in the double-byte character.
    const std::string pattern = "a" + kDi;
    const std::string source = "1A" + kA + "2A" + kDi + "3";
    EXPECT_EQ(kej::countFields(state, source, pattern), 2);
    EXPECT_EQ(kej::nthField(state, source, pattern, 1), "1A" + kA + "2");
    EXPECT_EQ(kej::nthField(state, source, pattern, 2), "3");
}

TEST(KejReplace, ClassesModesAndFirstOnly) {
    KejState state;
    EXPECT_EQ(replaced(state, "aXbxc", "x", "--"), "a--b--c");
    kej::setCheckType(state, 2);
    EXPECT_EQ(replaced(state, "aXbxc", "x", "--"), "aXb--c");
    EXPECT_EQ(replaced(state, "aXbxc", "x", "--"), "aXb--c") << "mode 2 stays";
    kej::setCheckType(state, 1);
    EXPECT_EQ(replaced(state, "aXbxc", "x", "--"), "aXb--c");
    EXPECT_EQ(replaced(state, "aXbxc", "x", "--"), "a--b--c") << "mode 1 lasts one call";
    kej::setCheckType(state, 0);
    EXPECT_EQ(std::string(kej::replaceFirst(state, "x.x.x", ".", "").text), "xx.x");
    EXPECT_FALSE(state.replaceFirst);
    EXPECT_EQ(replaced(state, "aaaa", "aa", "b"), "bb") << "occurrences never overlap";
    EXPECT_EQ(replaced(state, kHyo + "\\", "\\", "/"), kHyo + "/");
}

TEST(KejReplace, EmptyArgumentsAndNoMatch) {
    KejState state;
    kej::TextResult r = kej::replaceAll(state, "", "a", "b");
    EXPECT_EQ(r.kind, kej::TextResult::Kind::Empty);
    EXPECT_EQ(state.error, kej::kEmptySource);
    r = kej::replaceAll(state, "abc", "", "b");
    EXPECT_EQ(r.kind, kej::TextResult::Kind::Source);
    EXPECT_EQ(r.text, "abc");
    EXPECT_EQ(state.error, kej::kEmptyOldText);
    r = kej::replaceAll(state, "abc", ",", ";");
    EXPECT_EQ(r.kind, kej::TextResult::Kind::Source);
    EXPECT_EQ(state.error, 0);
}

// Work memory that records every request and can refuse them.
class RecordingMemory final : public kej::WorkMemory {
public:
    std::vector<size_t> allocations, resizes;
    size_t refuseAbove = SIZE_MAX;
    bool refuseResize = false;
    char* allocate(size_t size) override {
        allocations.push_back(size);
        return size > refuseAbove ? nullptr : static_cast<char*>(std::malloc(size));
    }
    char* resize(char* block, size_t size) override {
        resizes.push_back(size);
        return refuseResize ? nullptr : static_cast<char*>(std::realloc(block, size));
    }
    void release(char* block) override { std::free(block); }
};

TEST(KejReplace, LongerReplacementGrowsInMultiplesOfTheGrowth) {
    RecordingMemory memory;
    KejState state;
    state.memory = &memory;
    const std::string source = "a.b.c.d";
    const std::string longText(2001, 'z');  // 2000 bytes longer than "."
    const std::string result = replaced(state, source, ".", longText);
    EXPECT_EQ(result, "a" + longText + "b" + longText + "c" + longText + "d");
    EXPECT_EQ(state.error, 0);
    ASSERT_EQ(memory.allocations, (std::vector<size_t>{source.size() + 2000 + 1}));
    EXPECT_EQ(memory.resizes, (std::vector<size_t>{source.size() + 4000 + 1, source.size() + 6000 + 1}));
}

TEST(KejReplace, ReserveIsAWholeMultipleOfTheGrowthAndHalvesOnFailure) {
    RecordingMemory memory;
    KejState state;
    state.memory = &memory;
    // growth 3: reserve 1024 -> 1023; refused, then 511 -> 510.
    memory.refuseAbove = 5 + 1023 + 1 - 1;
    EXPECT_EQ(replaced(state, "a,b,c", ",", "1234"), "a1234b1234c");
    EXPECT_EQ(memory.allocations, (std::vector<size_t>{5 + 1023 + 1, 5 + 510 + 1}));

    RecordingMemory refusing;
    refusing.refuseAbove = 0;
    state.memory = &refusing;
    kej::TextResult r = kej::replaceAll(state, "a,b", ",", "1234");
    EXPECT_EQ(r.kind, kej::TextResult::Kind::Empty);
    EXPECT_EQ(state.error, kej::kOutOfMemory);

    RecordingMemory noGrowth;
    noGrowth.refuseResize = true;
    state.memory = &noGrowth;
    const std::string big(1500, 'y');
    r = kej::replaceAll(state, "a,b,c", ",", big);
    EXPECT_EQ(r.kind, kej::TextResult::Kind::Empty);
    EXPECT_EQ(state.error, kej::kOutOfMemory);
}

TEST(KejCountFields, ClassFourWithoutWorkMemoryReportsOutOfMemory) {
    RecordingMemory refusing;
    refusing.refuseAbove = 0;
    KejState state;
    state.memory = &refusing;
    EXPECT_EQ(kej::countFields(state, "abc", "a" + kDi), 0);
    EXPECT_EQ(state.error, kej::kOutOfMemory);
    EXPECT_EQ(kej::nthField(state, "abc", "a" + kDi, 1), "");
    EXPECT_EQ(state.error, kej::kOutOfMemory);
}

}  // namespace
