// String values in application code: constants as static records in data1 and
// an owning handle for the values the runtime returns.
//
//   app::String greeting = app::String::adopt(RuntimeAddString("Hello, "_s, name));
//
// A returned string value belongs to the caller; String gives it back with
// RuntimeUnlockString when it goes away.
#pragma once

#include <cstddef>
#include <cstdint>

#include "AppImports.h"
#include "text/StringRecord.h"

namespace app {

// A string literal as a template argument.
template <size_t N>
struct LiteralText {
    char bytes[N]{};
    constexpr LiteralText(const char (&text)[N]) {
        for (size_t i = 0; i < N; ++i) bytes[i] = text[i];
    }
    static constexpr int32_t length = static_cast<int32_t>(N - 1);
};

// One static record per distinct literal, shared by every use in every object:
// {reference count 1, text, length, length}, the text a length byte, the bytes
// and a zero. The count never reaches 0: holders lock and unlock around it.
template <LiteralText Text>
struct StringConstant {
    static_assert(Text.length <= 255, "a string constant holds at most 255 bytes");
    struct Bytes {
        uint8_t text[Text.length + 2];
    };
    static constexpr Bytes bytes = [] {
        Bytes b{};
        b.text[0] = static_cast<uint8_t>(Text.length);
        for (int32_t i = 0; i < Text.length; ++i) b.text[i + 1] = static_cast<uint8_t>(Text.bytes[i]);
        return b;
    }();
    static constinit inline StringRecord record{1, const_cast<uint8_t*>(bytes.text), Text.length, Text.length};
};

namespace literals {

// "text"_s: the string value of a constant; "" is the empty string (null).
template <LiteralText Text>
constexpr StringHandle operator""_s() {
    if constexpr (Text.length == 0) {
        return nullptr;
    } else {
        return &StringConstant<Text>::record;
    }
}

}  // namespace literals

// Holds one reference to a string value (or none for the empty string).
class String {
public:
    String() = default;
    String(const String& other) : value_(other.value_) { RuntimeLockString(value_); }
    String(String&& other) : value_(other.value_) { other.value_ = nullptr; }
    ~String() { RuntimeUnlockString(value_); }

    String& operator=(const String& other) {
        RuntimeLockString(other.value_);  // before the unlock: `other` may be this
        RuntimeUnlockString(value_);
        value_ = other.value_;
        return *this;
    }
    String& operator=(String&& other) {
        if (this != &other) {
            RuntimeUnlockString(value_);
            value_ = other.value_;
            other.value_ = nullptr;
        }
        return *this;
    }

    // Takes over a reference the caller owns (a routine's result).
    static String adopt(StringHandle value) { return String(value); }
    // Takes a reference of its own (a borrowed argument, a constant).
    static String borrow(StringHandle value) {
        RuntimeLockString(value);
        return String(value);
    }

    StringHandle get() const { return value_; }
    // Hands the reference out (to return it to the runtime).
    StringHandle release() {
        StringHandle value = value_;
        value_ = nullptr;
        return value;
    }

    int32_t length() const { return value_ ? value_->length : 0; }
    // The bytes followed by a zero; "" for the empty string.
    const char* cString() const { return value_ ? reinterpret_cast<const char*>(value_->text + 1) : ""; }

    friend String operator+(const String& a, const String& b) { return adopt(RuntimeAddString(a.value_, b.value_)); }

private:
    explicit String(StringHandle value) : value_(value) {}

    StringHandle value_ = nullptr;
};

}  // namespace app
