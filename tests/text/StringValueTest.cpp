// The string value core: records, views, slices, joins, copy on write and the
// exact reference counts behind each. Runs natively and under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text/StringValue.h"

using runtime::StringValue;

namespace {

int32_t refs(const StringValue& s) { return s.get() ? s.get()->refCount : 0; }

StringValue text(const char* t) { return StringValue::fromCString(t); }

TEST(StringValue, RecordOfThreeHundredBytes) {
    const std::string bytes(300, 'x');
    StringValue s = StringValue::fromBytes(bytes);
    ASSERT_NE(s.get(), nullptr);
    EXPECT_EQ(s.get()->refCount, 1);
    EXPECT_EQ(s.get()->length, 300);
    EXPECT_EQ(s.get()->capacity, 302);
    EXPECT_EQ(s.pString()[0], 255);
    EXPECT_EQ(std::strlen(s.cString()), 300u);
    EXPECT_EQ(s.get()->text[301], 0);
    EXPECT_EQ(s.cString(), reinterpret_cast<const char*>(s.get()->text + 1));
}

TEST(StringValue, ShortRecordLayout) {
    StringValue s = text("abc");
    EXPECT_EQ(s.get()->capacity, 5);
    EXPECT_EQ(0, std::memcmp(s.get()->text, "\x03" "abc", 5));  // length byte, text, zero
}

TEST(StringValue, EmptyFormsAreNull) {
    for (int32_t n : {0, -1, -100}) {
        StringValue s = StringValue::fromBytes("abc", n);
        EXPECT_EQ(s.get(), nullptr) << n;
        ASSERT_NE(s.cString(), nullptr);
        EXPECT_EQ(s.cString()[0], 0);
        EXPECT_EQ(s.pString()[0], 0);
        EXPECT_EQ(s.length(), 0);
    }
    EXPECT_EQ(StringValue::fromCString(nullptr).get(), nullptr);
    EXPECT_EQ(StringValue::fromCString("").get(), nullptr);
}

TEST(StringValue, EmbeddedZeroKeepsLength) {
    StringValue s = StringValue::fromBytes("a\0b", 3);
    EXPECT_EQ(s.length(), 3);
    EXPECT_EQ(std::strlen(s.cString()), 1u);
    EXPECT_EQ(s.view(), std::string_view("a\0b", 3));
}

TEST(StringValue, FromBytesWithNullPointerLeavesRoomToFill) {
    StringValue s = StringValue::fromBytes(nullptr, 4);
    EXPECT_EQ(s.length(), 4);
    EXPECT_EQ(s.get()->text[0], 4);
    EXPECT_EQ(s.get()->text[5], 0);
}

TEST(StringValue, FromInt) {
    EXPECT_EQ(StringValue::fromInt(0).view(), "0");
    EXPECT_EQ(StringValue::fromInt(-42).view(), "-42");
    EXPECT_EQ(StringValue::fromInt(INT32_MIN).view(), "-2147483648");
    EXPECT_EQ(StringValue::fromInt(INT32_MAX).view(), "2147483647");
}

TEST(StringValue, CopyAndAssignCountReferences) {
    StringValue a = text("shared");
    {
        StringValue b = a;
        EXPECT_EQ(refs(a), 2);
        StringValue c;
        c = b;
        EXPECT_EQ(refs(a), 3);
        StringValue& alias = c;
        c = alias;  // self-assignment does nothing
        EXPECT_EQ(refs(a), 3);
        StringValue d = std::move(c);
        EXPECT_EQ(refs(a), 3);
        EXPECT_EQ(c.get(), nullptr);
    }
    EXPECT_EQ(refs(a), 1);
    StringValue other = text("other");
    StringValue keep = other;
    keep = a;  // the old value loses one reference, the new one gains one
    EXPECT_EQ(refs(other), 1);
    EXPECT_EQ(refs(a), 2);
}

TEST(StringValue, BorrowAdoptRelease) {
    StringValue a = text("abc");
    StringHandle raw = a.get();
    {
        StringValue borrowed = StringValue::borrow(raw);
        EXPECT_EQ(raw->refCount, 2);
    }
    EXPECT_EQ(raw->refCount, 1);
    StringHandle owned = StringValue(a).release();
    EXPECT_EQ(raw->refCount, 2);
    { StringValue adopted = StringValue::adopt(owned); }
    EXPECT_EQ(raw->refCount, 1);
}

TEST(StringValue, CopyOnWriteLeavesOtherHoldersAlone) {
    StringValue a = text("abc");
    StringValue b = a;
    *b.writableByte(1) = 'X';
    EXPECT_EQ(a.view(), "abc");
    EXPECT_EQ(b.view(), "aXc");
    EXPECT_EQ(refs(a), 1);
    EXPECT_EQ(refs(b), 1);
    StringHandle before = b.get();
    *b.writableByte(0) = 'Y';  // private already: written in place
    EXPECT_EQ(b.get(), before);
    EXPECT_EQ(b.view(), "YXc");
}

struct SliceCase {
    const char* input;
    const char* operation;
    int32_t i;
    int32_t n;
    const char* expected;
    bool sameRecord;
};

StringValue apply(const StringValue& s, const SliceCase& c) {
    const std::string op = c.operation;
    if (op == "left") return s.left(c.i);
    if (op == "right") return s.right(c.i);
    if (op == "tail") return s.tail(c.i);
    return s.slice(c.i, c.n);
}

TEST(StringValue, Slices) {
    const SliceCase cases[] = {
        {"abc", "left", 5, 0, "abc", true},
        {"abc", "left", 3, 0, "abc", true},
        {"abc", "left", 2, 0, "ab", false},
        {"abc", "left", 0, 0, "", false},
        {"abc", "left", -2, 0, "", false},
        {"abc", "right", 2, 0, "bc", false},
        {"abc", "right", 9, 0, "abc", true},
        {"abc", "right", 0, 0, "", false},
        {"abcdef", "tail", -3, 0, "abcdef", true},
        {"abcdef", "tail", 0, 0, "abcdef", true},
        {"abcdef", "tail", 4, 0, "ef", false},
        {"abcdef", "tail", 6, 0, "", false},
        {"abcdef", "slice", -2, 3, "a", false},
        {"abcdef", "slice", -2, 2, "", false},
        {"abcdef", "slice", 0, 6, "abcdef", true},
        {"abcdef", "slice", 0, 99, "abcdef", false},
        {"abcdef", "slice", 2, 2, "cd", false},
        {"abcdef", "slice", 4, 99, "ef", false},
        {"abcdef", "slice", 6, 1, "", false},
        {"abcdef", "slice", 1, 0, "", false},
        {"abcdef", "slice", INT32_MIN, INT32_MAX, "", false},
        {"", "slice", 0, 3, "", false},
    };
    for (const SliceCase& c : cases) {
        SCOPED_TRACE(std::string(c.operation) + " " + c.input + " " + std::to_string(c.i) + "," + std::to_string(c.n));
        StringValue s = text(c.input);
        StringValue result = apply(s, c);
        EXPECT_EQ(result.view(), c.expected);
        if (c.sameRecord) {
            EXPECT_EQ(result.get(), s.get());
            EXPECT_EQ(refs(s), 2);
        } else {
            EXPECT_EQ(refs(s), s.empty() ? 0 : 1);
            EXPECT_TRUE(result.empty() || result.get() != s.get());
            EXPECT_EQ(refs(result), result.empty() ? 0 : 1);
        }
    }
}

TEST(StringValue, JoinAndAppend) {
    StringValue a = text("ab");
    StringValue empty;
    StringValue same = a + empty;
    EXPECT_EQ(same.get(), a.get());
    StringValue same2 = empty + a;
    EXPECT_EQ(same2.get(), a.get());
    EXPECT_EQ(refs(a), 3);
    StringValue joined = a + text("cd");
    EXPECT_EQ(joined.view(), "abcd");
    EXPECT_EQ(joined.get()->capacity, 6);
    EXPECT_EQ(refs(joined), 1);
    EXPECT_EQ(a.view(), "ab");
    EXPECT_EQ(a.appended('!').view(), "ab!");
    EXPECT_EQ(empty.appended('z').view(), "z");
    EXPECT_EQ(a.view(), "ab");
    // A joined text of 256 bytes or more saturates its length byte.
    StringValue big = StringValue::fromBytes(std::string(200, 'a')) + StringValue::fromBytes(std::string(100, 'b'));
    EXPECT_EQ(big.length(), 300);
    EXPECT_EQ(big.pString()[0], 255);
    EXPECT_EQ(big.cString()[299], 'b');
    EXPECT_EQ(big.cString()[300], 0);
}

}  // namespace
