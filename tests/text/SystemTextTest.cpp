// Runtime text crosses into the system's wide-character routines and back in
// the code page of string values.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "text/SystemText.h"

namespace {

TEST(SystemText, RoundTripsTheCodePage) {
    // "送信" in Shift-JIS; in a single-byte page the same bytes are four letters.
    const std::string bytes = GetACP() == 932 ? "\x91\x97\x90\x4D" : "caf\xE9";
    const std::wstring wide = runtime::toSystemText(bytes);
    EXPECT_EQ(wide, GetACP() == 932 ? std::wstring(L"\u9001\u4FE1") : std::wstring(L"caf\u00E9"));
    EXPECT_EQ(runtime::fromSystemText(wide), bytes);
}

TEST(SystemText, EmptyAndEmbeddedZero) {
    EXPECT_TRUE(runtime::toSystemText("").empty());
    EXPECT_TRUE(runtime::fromSystemText(L"").empty());
    EXPECT_EQ(runtime::toSystemText(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(SystemText, CharactersOutsideThePageBecomeTheDefaultCharacter) {
    const std::string bytes = runtime::fromSystemText(L"\U0001F600x");
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.back(), 'x');
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
}

}  // namespace
