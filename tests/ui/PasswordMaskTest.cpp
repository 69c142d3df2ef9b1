// The hidden text of a password field, edited in step with the mask the
// control shows, and the reading of a rich field's selection format.
#include <gtest/gtest.h>

#include <string>

#include "ui/controls/PasswordMask.h"
#include "ui/controls/RichTextFormat.h"

using namespace runtime;

TEST(PasswordMask, ShowsOneMaskPerCharacterAndControlCharactersAsTheyAre) {
    EXPECT_EQ(maskOf(L"abc"), L"***");
    EXPECT_EQ(maskOf(L"\u30bd\u8868"), L"**");  // a double-byte character is one character
    EXPECT_EQ(maskOf(L"a\tb\r\n"), L"*\t*\r\n");
    EXPECT_EQ(maskOf(L" "), L"*");  // 32 is above 31
    EXPECT_EQ(maskOf(L""), L"");
}

TEST(PasswordMask, TypedCharacters) {
    struct Case {
        const char* what;
        std::wstring hidden;
        TextRange selection;
        wchar_t typed;
        std::wstring after;
        MaskedKey key;
    };
    const Case cases[] = {
        {"insert at the caret", L"abd", {2, 2}, L'c', L"abcd", MaskedKey::kPassMask},
        {"insert at the end", L"ab", {2, 2}, L'\u3042', L"ab\u3042", MaskedKey::kPassMask},
        {"replace the selection", L"abcdef", {1, 4}, L'X', L"aXef", MaskedKey::kPassMask},
        {"backspace removes the character before", L"abc", {2, 2}, 8, L"ac", MaskedKey::kPassBackspace},
        {"backspace at the start changes nothing", L"abc", {0, 0}, 8, L"abc", MaskedKey::kPassBackspace},
        {"backspace removes only the selection", L"abcdef", {2, 4}, 8, L"abef", MaskedKey::kPassBackspace},
        {"delete removes only the selection", L"abcdef", {0, 3}, 127, L"def", MaskedKey::kPassBackspace},
        {"delete without a selection is swallowed", L"abc", {1, 1}, 127, L"abc", MaskedKey::kSwallow},
        {"control characters change nothing", L"abc", {0, 3}, 22, L"abc", MaskedKey::kSwallow},
        {"a lone surrogate changes nothing", L"abc", {3, 3}, 0xD83D, L"abc", MaskedKey::kSwallow},
        {"a selection past the end is clamped", L"ab", {1, 9}, L'z', L"az", MaskedKey::kPassMask},
    };
    for (const Case& c : cases) {
        std::wstring hidden = c.hidden;
        EXPECT_EQ(typeIntoMasked(hidden, c.selection, c.typed), c.key) << c.what;
        EXPECT_EQ(hidden, c.after) << c.what;
    }
}

TEST(PasswordMask, DeleteKeyAndReplacement) {
    std::wstring hidden = L"abcd";
    deleteForwardInMasked(hidden, {1, 1});
    EXPECT_EQ(hidden, L"acd");
    deleteForwardInMasked(hidden, {3, 3});  // at the end: nothing after the caret
    EXPECT_EQ(hidden, L"acd");
    deleteForwardInMasked(hidden, {0, 2});
    EXPECT_EQ(hidden, L"d");
    replaceInMasked(hidden, {0, 1}, L"xyz");
    EXPECT_EQ(hidden, L"xyz");
    replaceInMasked(hidden, {1, 1}, L"-");
    EXPECT_EQ(hidden, L"x-yz");
    replaceInMasked(hidden, {2, 40}, L"");
    EXPECT_EQ(hidden, L"x-");
}

TEST(RichTextFormat, StylesCountOnlyWhenUniformOverTheSelection) {
    const SelectionFormat allBold{kPlainBits, kBoldBit, 0, 0};
    EXPECT_TRUE(hasStyle(allBold, kBoldBit));
    EXPECT_FALSE(hasStyle(allBold, kItalicBit));
    EXPECT_FALSE(isPlain(allBold));
    const SelectionFormat mixedBold{kItalicBit | kUnderlineBit, kBoldBit, 0, 0};  // bold not uniform
    EXPECT_FALSE(hasStyle(mixedBold, kBoldBit));
    EXPECT_FALSE(isPlain(mixedBold));
    EXPECT_TRUE(isPlain(SelectionFormat{kPlainBits | kSizeBit, 0, 0, 0}));
    EXPECT_EQ(sizeOf(SelectionFormat{kSizeBit, 0, 192, 0}), 12);
    EXPECT_EQ(sizeOf(SelectionFormat{0, 0, 192, 0}), 0);  // sizes differ within the selection
}
