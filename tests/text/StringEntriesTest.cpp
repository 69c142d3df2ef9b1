// The string entry routines as compiled code and plug-ins call them, with the
// reference counts each call leaves behind.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text/StringEntries.h"

namespace {

// An owned result of a routine, dropped at the end of the test.
struct Owned {
    StringHandle s;
    explicit Owned(StringHandle value) : s(value) {}
    ~Owned() { RuntimeUnlockString(s); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    operator StringHandle() const { return s; }
    int32_t refs() const { return s ? s->refCount : 0; }
    std::string str() const { return std::string(StringGetCString(s), s ? s->length : 0); }
};

Owned make(const char* text) { return Owned(VELMBuildString(text, static_cast<int32_t>(std::strlen(text)))); }

TEST(StringEntries, LockAndUnlockCount) {
    Owned s = make("abc");
    EXPECT_EQ(s.refs(), 1);
    RuntimeLockString(s);
    VELMLockString(s);
    EXPECT_EQ(s.refs(), 3);
    RuntimeUnlockString(s);
    VELMUnlockString(s);
    EXPECT_EQ(s.refs(), 1);
    RuntimeLockString(nullptr);  // the empty string needs nothing
    RuntimeUnlockString(nullptr);
}

TEST(StringEntries, BuildStringEdges) {
    EXPECT_EQ(VELMBuildString("abc", 0), nullptr);
    EXPECT_EQ(VELMBuildString("abc", -5), nullptr);
    const std::string bytes(300, 'q');
    Owned big(VELMBuildString(bytes.data(), 300));
    EXPECT_EQ(big.s->length, 300);
    EXPECT_EQ(big.s->capacity, 302);
    EXPECT_EQ(StringGetPString(big)[0], 255);
    EXPECT_EQ(std::strlen(StringGetCString(big)), 300u);
}

TEST(StringEntries, ViewsOfTheEmptyStringAreNeverNull) {
    for (auto view : {StringGetCString, StringToCString}) {
        ASSERT_NE(view(nullptr), nullptr);
        EXPECT_EQ(view(nullptr)[0], 0);
    }
    for (auto view : {StringGetPString, StringToPString}) {
        ASSERT_NE(view(nullptr), nullptr);
        EXPECT_EQ(view(nullptr)[0], 0);
    }
    Owned s = make("hello");
    EXPECT_STREQ(StringToCString(s), "hello");
    EXPECT_EQ(StringToPString(s)[0], 5);
    EXPECT_EQ(StringToPString(s) + 1, reinterpret_cast<const uint8_t*>(StringToCString(s)));
}

TEST(StringEntries, AddString) {
    Owned a = make("ab");
    Owned b = make("cd");
    {
        Owned joined(RuntimeAddString(a, b));
        EXPECT_EQ(joined.str(), "abcd");
        EXPECT_EQ(joined.refs(), 1);
    }
    EXPECT_EQ(a.refs(), 1);
    EXPECT_EQ(b.refs(), 1);
    // Joining with the empty string returns the other value with a new reference.
    Owned same(RuntimeAddString(a, nullptr));
    EXPECT_EQ(same.s, a.s);
    EXPECT_EQ(a.refs(), 2);
    EXPECT_EQ(RuntimeAddString(nullptr, nullptr), nullptr);
}

TEST(StringEntries, ByteWiseComparison) {
    struct Case {
        const char *a, *b;
        int32_t expected;
    } cases[] = {
        {"abc", "abd", -1}, {"ab", "abc", -1}, {"abc", "ab", 1}, {"", "", 0}, {"b", "", 1},
        {"", "b", -1},      {"\xE0", "A", 1},  {"abc", "abc", 0}, {"a", "A", 1},
    };
    for (const Case& c : cases) {
        Owned a = make(c.a);
        Owned b = make(c.b);
        EXPECT_EQ(StringStrCompare(a, b, 0), c.expected) << c.a << " / " << c.b;
        EXPECT_EQ(a.refs(), a.s ? 1 : 0);
    }
}

TEST(StringEntries, CollatingComparisons) {
    Owned lower = make("abc");
    Owned upper = make("ABC");
    Owned b = make("b");
    EXPECT_EQ(RuntimeStringCompare(lower, upper), 0);
    EXPECT_EQ(RuntimeStringCompare(lower, b), -1);
    EXPECT_EQ(RuntimeStringCompare(b, upper), 1);
    EXPECT_EQ(RuntimeStringCompare(nullptr, nullptr), 0);
    EXPECT_EQ(RuntimeStringCompare(nullptr, lower), -1);
    // The collation orders by letter before case: "abc" < "b" although 'b' > 'A'.
    EXPECT_EQ(RuntimeStringCompare(upper, b), -1);
    // Any non-zero mode collates with case.
    EXPECT_NE(StringStrCompare(lower, upper, 1), 0);
    EXPECT_EQ(StringStrCompare(lower, upper, 1), -StringStrCompare(upper, lower, 7));
    EXPECT_EQ(StringStrCompare(lower, lower, 1), 0);
    EXPECT_EQ(lower.refs(), 1);
}

TEST(StringEntries, OSType) {
    EXPECT_EQ(StringToOSType(nullptr), 0x3F3F3F3Fu);
    Owned ab = make("ab");
    EXPECT_EQ(StringToOSType(ab), 0x00006261u);  // 'a', 'b', 0, 0 in memory order
    Owned long_ = make("TEXTmore");
    EXPECT_EQ(StringToOSType(long_), 0x54584554u);
}

TEST(StringEntries, GetterAddsAReference) {
    Owned value = make("field");
    alignas(4) uint8_t object[16] = {};
    std::memcpy(object + 5, &value.s, 4);  // an unaligned field
    Owned got(stringGetter(object, 5));
    EXPECT_EQ(got.s, value.s);
    EXPECT_EQ(value.refs(), 2);
}

TEST(StringEntries, SetterMovesTheFieldsReference) {
    alignas(4) uint8_t object[16] = {};
    Owned first = make("first");
    Owned second = make("second");
    stringSetter(object, 6, first);
    EXPECT_EQ(first.refs(), 2);
    stringSetter(object, 6, second);
    EXPECT_EQ(first.refs(), 1);
    EXPECT_EQ(second.refs(), 2);
    StringHandle stored;
    std::memcpy(&stored, object + 6, 4);
    EXPECT_EQ(stored, second.s);
    stringSetter(object, 6, nullptr);
    EXPECT_EQ(second.refs(), 1);
}

TEST(StringEntries, SetterStoringTheValueItHoldsKeepsItAlive) {
    alignas(4) uint8_t object[8] = {};
    StringHandle only = VELMBuildString("kept", 4);
    stringSetter(object, 0, only);
    RuntimeUnlockString(only);  // now the field holds the only reference
    EXPECT_EQ(only->refCount, 1);
    StringHandle borrowed;
    std::memcpy(&borrowed, object, 4);
    stringSetter(object, 0, borrowed);
    EXPECT_EQ(only->refCount, 1);
    EXPECT_STREQ(StringGetCString(only), "kept");
    stringSetter(object, 0, nullptr);
}

}  // namespace
