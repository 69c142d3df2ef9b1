// Native checks of the string and number algorithms over fixed code page
// tables: the searches, fields and replacements against plain step-by-step
// models of their rules on many random texts, the number text against the C
// library's formatted output, the comma-decimal locale forms and the random
// number generator.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "FixedCodePage.h"
#include "support/EntryCallSupport.h"
#include "text/CharacterTables.h"
#include "text/NumberText.h"
#include "text/PictureFormat.h"
#include "text/Random.h"
#include "text/StringFields.h"
#include "text/StringSearch.h"

namespace {

using runtime::CharacterTables;
using runtime::StringValue;
using testing_support::FixedCodePage;

// --- Models: the rules written out step by step, without any shortcut. ---

std::string upperCasedWhole(const CharacterTables& tables, std::string text) {
    tables.platform().upperCase(reinterpret_cast<uint8_t*>(text.data()), static_cast<int32_t>(text.size()));
    return text;
}

// The 1-based position of t in s searched from byte position i, or 0.
int32_t modelFind(const CharacterTables& tables, int32_t i, const std::string& s, const std::string& t) {
    if (s.empty()) return 0;
    int32_t a = i - 1;
    if (t.empty()) return a;
    if (a < 0) a = 0;
    const auto length = static_cast<int32_t>(s.size());
    const auto needle = static_cast<int32_t>(t.size());
    if (a >= length) return 0;
    if (!tables.doubleByte()) {
        for (int32_t p = a; p <= length - needle; ++p) {
            bool match = true;
            for (int32_t k = 0; k < needle && match; ++k) {
                match = tables.upper(static_cast<uint8_t>(s[p + k])) == tables.upper(static_cast<uint8_t>(t[k]));
            }
            if (match) return p + 1;
        }
        return 0;
    }
    const std::string upperS = upperCasedWhole(tables, s);
    const std::string upperT = upperCasedWhole(tables, t);
    for (int32_t p = a; length - p >= needle; p += tables.width(static_cast<uint8_t>(upperS[p]))) {
        if (upperS.compare(p, needle, upperT) == 0) return p + 1;
    }
    return 0;
}

std::string modelReplaceAll(const CharacterTables& tables, std::string s, const std::string& t, const std::string& u) {
    int32_t q = 0;
    for (;;) {
        const int32_t found = modelFind(tables, q + 1, s, t);
        if (found <= 0 || t.empty()) return s;
        const int32_t p = found - 1;
        s = s.substr(0, p) + u + s.substr(p + t.size());
        q = p + static_cast<int32_t>(u.size());
    }
}

std::vector<std::string> modelFields(const CharacterTables& tables, const std::string& s, const std::string& t) {
    std::vector<std::string> fields;
    if (s.empty()) return fields;
    if (t.empty()) return {s};
    int32_t start = 0;
    for (;;) {
        const int32_t found = modelFind(tables, start + 1, s, t);
        if (found == 0) break;
        fields.push_back(s.substr(start, found - 1 - start));
        start = found - 1 + static_cast<int32_t>(t.size());
    }
    fields.push_back(s.substr(start));
    return fields;
}

// --- Random texts over bytes that make searches hard: case pairs, lead bytes
// whose second byte is also a searched byte, and a backslash. ---

class RandomTexts {
public:
    explicit RandomTexts(uint32_t seed) : engine_(seed) {}
    std::string text(size_t maxLength, std::string_view alphabet) {
        std::string out(std::uniform_int_distribution<size_t>(0, maxLength)(engine_), '\0');
        for (char& c : out) c = alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(engine_)];
        return out;
    }
    int32_t number(int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(engine_); }

private:
    std::mt19937 engine_;
};

constexpr std::string_view kHardBytes = "aAbB\\\x82\x83\x81\x40\x60\x61\xA0";

class TextAlgorithms : public ::testing::TestWithParam<int> {
protected:
    TextAlgorithms() : page_(GetParam()), tables_(page_) {}
    FixedCodePage page_;
    CharacterTables tables_;
};

TEST_P(TextAlgorithms, SearchMatchesTheModel) {
    RandomTexts random(7 + GetParam());
    for (int round = 0; round < 20000; ++round) {
        const std::string s = random.text(24, kHardBytes);
        const std::string t = random.text(3, kHardBytes);
        const int32_t i = random.number(-2, static_cast<int32_t>(s.size()) + 2);
        ASSERT_EQ(runtime::findText(tables_, i, s, t), modelFind(tables_, i, s, t))
            << "round " << round << " i=" << i << " s=" << testing_support::shown(s) << " t=" << testing_support::shown(t);
    }
}

// Long texts cross the pieces in which a double-byte search upper-cases.
TEST_P(TextAlgorithms, SearchInLongTextsMatchesTheModel) {
    RandomTexts random(11 + GetParam());
    for (int round = 0; round < 40; ++round) {
        std::string s = random.text(30000, kHardBytes);
        const std::string t = "\x82\x81" "b\\" + random.text(2, kHardBytes);
        // Plant the needle near the ends of the pieces (4 KB, then doubling).
        for (size_t at : {size_t{4090}, size_t{4095}, size_t{12285}, size_t{28670}}) {
            if (at + t.size() < s.size() && random.number(0, 1)) s.replace(at, t.size(), t);
        }
        for (int32_t i : {1, 2, 4093, 12000}) {
            ASSERT_EQ(runtime::findText(tables_, i, s, t), modelFind(tables_, i, s, t)) << "round " << round;
        }
    }
}

TEST_P(TextAlgorithms, FieldsAndReplacementsMatchTheModel) {
    RandomTexts random(23 + GetParam());
    for (int round = 0; round < 5000; ++round) {
        const std::string s = random.text(24, kHardBytes);
        const std::string t = random.text(2, kHardBytes);
        const std::string u = random.text(3, kHardBytes);
        const StringValue sv = StringValue::fromBytes(s);
        const StringValue tv = StringValue::fromBytes(t);
        const StringValue uv = StringValue::fromBytes(u);
        SCOPED_TRACE("round " + std::to_string(round) + " s=" + testing_support::shown(s) + " t=" + testing_support::shown(t) + " u=" + testing_support::shown(u));
        ASSERT_EQ(runtime::replaceAll(tables_, sv, tv, uv).view(), modelReplaceAll(tables_, s, t, u));
        const std::vector<std::string> fields = modelFields(tables_, s, t);
        ASSERT_EQ(runtime::countFields(tables_, sv, tv), static_cast<int32_t>(fields.size()));
        for (int32_t n = 0; n <= static_cast<int32_t>(fields.size()) + 1; ++n) {
            const std::string expected = n >= 1 && n <= static_cast<int32_t>(fields.size()) && !t.empty() ? fields[n - 1] : "";
            ASSERT_EQ(runtime::nthField(tables_, sv, tv, n).view(), expected) << "field " << n;
        }
    }
}

TEST_P(TextAlgorithms, CaseFormsOfAByteAreFoundTogether) {
    EXPECT_EQ(tables_.doubleByte(), GetParam() == 932);
    const auto forms = tables_.bytesFoldingTo('A');
    EXPECT_EQ(std::string(forms.begin(), forms.end()), "Aa");
    size_t total = 0;
    for (int v = 0; v < 256; ++v) {
        for (uint8_t byte : tables_.bytesFoldingTo(static_cast<uint8_t>(v))) EXPECT_EQ(tables_.upper(byte), v);
        total += tables_.bytesFoldingTo(static_cast<uint8_t>(v)).size();
    }
    EXPECT_EQ(total, 256u);
}

INSTANTIATE_TEST_SUITE_P(CodePages, TextAlgorithms, ::testing::Values(932, 1252),
                         [](const auto& info) { return "cp" + std::to_string(info.param); });

TEST(TwoByteUpperCase, EveryCharacterAsThePlatformUpperCasesIt) {
    const FixedCodePage page(932);
    const CharacterTables tables(page);
    const runtime::TwoByteUpperCase& upper = tables.twoByteUpperCase();
    EXPECT_TRUE(upper.keepsLeadBytes());
    EXPECT_TRUE(tables.upperCaseKeepsCharacterStarts());
    for (int lead = 0; lead < 256; ++lead) {
        if (!page.isLeadByte(static_cast<uint8_t>(lead))) continue;
        for (int second = 0; second < 256; ++second) {
            uint8_t pair[2] = {static_cast<uint8_t>(lead), static_cast<uint8_t>(second)};
            page.upperCase(pair, 2);
            const auto answer = upper.upper(static_cast<uint8_t>(lead), static_cast<uint8_t>(second));
            ASSERT_EQ(answer[0], pair[0]) << lead << " " << second;
            ASSERT_EQ(answer[1], pair[1]) << lead << " " << second;
        }
    }
    const auto leads = upper.leadsFoldingTo(0x82);
    EXPECT_EQ(std::string(leads.begin(), leads.end()), "\x82");
    EXPECT_TRUE(upper.leadsFoldingTo('A').empty());
    // Character by character: the full-width "ａ" and "a", a lead byte at the end kept.
    std::string text = "\x82\x81" "a\x83";
    tables.upperCaseCharacters(reinterpret_cast<const uint8_t*>(text.data()), reinterpret_cast<uint8_t*>(text.data()),
                               text.size());
    EXPECT_EQ(text, "\x82\x60" "A\x83");
}

// Shift-JIS as above, but upper-casing also moves a character to another lead
// byte ("\x83\x81" becomes the full-width "Ａ", so a search for "ａ" must look
// for two lead bytes) and, when asked, turns one character into two one-byte
// ones ("\x83\x83" becomes "@@", so characters split at other places once
// upper-cased). The searches must still give what the rules give on the
// upper-cased texts.
class ReshapingCodePage final : public runtime::TextPlatform {
public:
    explicit ReshapingCodePage(bool splitsCharacters) : splitsCharacters_(splitsCharacters) {}
    bool isLeadByte(uint8_t byte) const override { return base_.isLeadByte(byte); }
    void upperCase(uint8_t* bytes, int32_t n) const override {
        for (int32_t i = 0; i < n;) {
            const int32_t width = isLeadByte(bytes[i]) && i + 1 < n ? 2 : 1;
            const bool moved = width == 2 && bytes[i] == 0x83 && bytes[i + 1] == 0x81;
            const bool split = splitsCharacters_ && width == 2 && bytes[i] == 0x83 && bytes[i + 1] == 0x83;
            base_.upperCase(bytes + i, width);
            if (moved) bytes[i] = 0x82, bytes[i + 1] = 0x60;
            if (split) bytes[i] = bytes[i + 1] = '@';
            i += width;
        }
    }
    void lowerCase(uint8_t* bytes, int32_t n) const override { base_.lowerCase(bytes, n); }
    uint16_t characterType(const uint8_t* bytes, int32_t n) const override { return base_.characterType(bytes, n); }
    std::optional<std::string> decimalSeparator() const override { return base_.decimalSeparator(); }
    std::optional<std::string> thousandsSeparator() const override { return base_.thousandsSeparator(); }

private:
    FixedCodePage base_{932};
    bool splitsCharacters_;
};

TEST(ReshapedUpperCase, SearchesMatchTheModel) {
    for (const bool splits : {false, true}) {
        const ReshapingCodePage page(splits);
        const CharacterTables tables(page);
        EXPECT_EQ(tables.upperCaseKeepsCharacterStarts(), !splits);
        EXPECT_EQ(runtime::findText(tables, 1, "x\x83\x81", "\x82\x81"), 2) << "moved to another lead byte";
        RandomTexts random(31 + splits);
        for (int round = 0; round < 20000; ++round) {
            const std::string s = random.text(24, kHardBytes);
            const std::string t = random.text(3, kHardBytes);
            const int32_t i = random.number(-2, static_cast<int32_t>(s.size()) + 2);
            ASSERT_EQ(runtime::findText(tables, i, s, t), modelFind(tables, i, s, t))
                << "splits " << splits << " round " << round << " i=" << i << " s=" << testing_support::shown(s)
                << " t=" << testing_support::shown(t);
        }
    }
}

// The number text must be the ISO formatted output's, which the C library of
// this machine gives.
TEST(NumberText, FixedAndExponentialTextAreTheFormattedOutputs) {
    std::mt19937_64 engine(5);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-30, 30);
    char expected[512];
    for (int round = 0; round < 20000; ++round) {
        const double x = mantissa(engine) * std::pow(10.0, exponent(engine));
        const int decimals = round % 21;
        std::snprintf(expected, sizeof expected, "%.*f", decimals, x);
        ASSERT_EQ(runtime::fixedText(x, decimals), expected) << x;
        std::snprintf(expected, sizeof expected, "%.*e", decimals, x);
        ASSERT_EQ(runtime::exponentialText(x, decimals), expected) << x;
    }
    // Many decimals: the exact binary value, then zeros.
    static char wide[2048];
    for (int decimals : {400, 1000}) {
        std::snprintf(wide, sizeof wide, "%.*f", decimals, 0.1);
        EXPECT_EQ(runtime::fixedText(0.1, decimals), wide);
        std::snprintf(wide, sizeof wide, "%.*e", decimals, -1e300);
        EXPECT_EQ(runtime::exponentialText(-1e300, decimals), wide);
    }
    // Exact halves round to even.
    EXPECT_EQ(runtime::fixedText(0.125, 2), "0.12");
    EXPECT_EQ(runtime::fixedText(0.375, 2), "0.38");
}

TEST(NumberText, SeparatorsDefaultWhenTheLocaleCannotTell) {
    const auto unknown = runtime::localeSeparators(FixedCodePage(1252, std::nullopt, std::nullopt));
    EXPECT_EQ(unknown.decimal, ".");
    EXPECT_EQ(unknown.thousands, ",");
    // An empty decimal separator could not write a number; no grouping can.
    const auto empty = runtime::localeSeparators(FixedCodePage(1252, "", ""));
    EXPECT_EQ(empty.decimal, ".");
    EXPECT_EQ(empty.thousands, "");
    const auto german = runtime::localeSeparators(FixedCodePage(1252, ",", "."));
    EXPECT_EQ(german.decimal, ",");
    EXPECT_EQ(german.thousands, ".");
}

TEST(NumberText, CommaDecimalLocale) {
    const FixedCodePage page(1252, ",", ".");
    const CharacterTables tables(page);
    const runtime::NumberSeparators separators = runtime::localeSeparators(page);
    EXPECT_EQ(runtime::localeNumberText(tables, 1.5, separators).view(), "1,5");
    EXPECT_EQ(runtime::localeNumberText(tables, 1234567, separators).view(), "1,2345670e+06");
    EXPECT_EQ(runtime::localeNumberValue(tables, StringValue::fromCString("1.234,5"), separators), 1234.5);
    EXPECT_EQ(runtime::localeNumberValue(tables, StringValue::fromCString("-0,25"), separators), -0.25);
    const auto format = [&](double x, const char* picture) {
        return std::string(runtime::formatPicture(tables, x, StringValue::fromCString(picture), separators).view());
    };
    EXPECT_EQ(format(1234567.891, "#,##0.00"), "1.234.567,89");
    EXPECT_EQ(format(0.5, "#.##"), "0,5");
    EXPECT_EQ(format(12345.678, "Scientific"), "1,234567E+04");
}

TEST(ParkMillerRandom, MinimalStandardSequence) {
    runtime::ParkMillerRandom generator;
    EXPECT_FALSE(generator.seeded());
    generator.seed(1);
    EXPECT_EQ(generator.next(), 16807);
    EXPECT_EQ(generator.next(), 282475249);
    EXPECT_EQ(generator.next(), 1622650073);
    generator.seed(1);
    int32_t value = 0;
    for (int i = 0; i < 10000; ++i) value = generator.next();
    EXPECT_EQ(value, 1043618065);  // the published check value of the generator
    generator.seed(1);
    EXPECT_EQ(generator.nextFraction(), (16807 & 0xFFFFF) / 1048576.0);
}

TEST(ParkMillerRandom, SeedsThatCannotAdvanceStandForOne) {
    runtime::ParkMillerRandom zero, modulus, high;
    zero.seed(0);
    modulus.seed(0x7FFFFFFF);
    high.seed(0x80000005);  // masked to 31 bits: 5
    EXPECT_EQ(zero.next(), 16807);
    EXPECT_EQ(modulus.next(), 16807);
    EXPECT_EQ(high.next(), 5 * 16807);
}

}  // namespace
