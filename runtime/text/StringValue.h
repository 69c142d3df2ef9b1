// StringValue: the runtime's owning handle for a string value. It holds exactly
// one reference to its record (or none for the empty string) and drops it when
// it goes away, so C++ code inside the runtime cannot leak or double-drop a
// reference. The cdecl entry routines convert with borrow(), adopt() and
// release() at the boundary.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

#include "text/StringRecord.h"

namespace runtime {

// Adds or drops one reference of a raw string value; null does nothing.
void lockString(StringHandle s);
void unlockString(StringHandle s);

// The views of a raw string value, valid while someone holds it: zero-terminated
// (never null) and length-prefixed (the length byte first).
const char* cStringOf(StringHandle s);
const uint8_t* pStringOf(StringHandle s);
inline std::string_view viewOf(StringHandle s) {
    return s ? std::string_view(cStringOf(s), static_cast<size_t>(s->length)) : std::string_view();
}

class StringValue {
public:
    StringValue() = default;
    StringValue(const StringValue& other) : record_(other.record_) { lockString(record_); }
    StringValue(StringValue&& other) noexcept : record_(std::exchange(other.record_, nullptr)) {}
    ~StringValue() { unlockString(record_); }

    StringValue& operator=(const StringValue& other);
    StringValue& operator=(StringValue&& other) noexcept;

    // Takes over a reference the caller already owns (a routine's result).
    static StringValue adopt(StringHandle s) { return StringValue(s); }
    // Takes a reference of its own to a borrowed value (a routine's argument).
    static StringValue borrow(StringHandle s) {
        lockString(s);
        return StringValue(s);
    }
    // Hands the reference out, leaving this handle empty (a routine's result).
    [[nodiscard]] StringHandle release() { return std::exchange(record_, nullptr); }
    StringHandle get() const { return record_; }

    // A new record of n bytes copied from `bytes`, or left unset when `bytes`
    // is null (for a caller that fills them). n <= 0 gives the empty string.
    static StringValue fromBytes(const void* bytes, int32_t n);
    static StringValue fromBytes(std::string_view bytes);
    // Null or empty text gives the empty string.
    static StringValue fromCString(const char* text);
    // The decimal text of a signed 32-bit integer ("%d").
    static StringValue fromInt(int32_t value);

    bool empty() const { return record_ == nullptr; }
    int32_t length() const { return record_ ? record_->length : 0; }
    // Zero-terminated view (never null; valid while this handle holds the value).
    const char* cString() const { return cStringOf(record_); }
    // Length-prefixed view: the length byte, then the text.
    const uint8_t* pString() const { return pStringOf(record_); }
    const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(cString()); }
    std::string_view view() const { return {cString(), static_cast<size_t>(length())}; }

    // Makes the value private (copy on write) and returns the address of byte i
    // (0-based). The caller keeps i inside 0 <= i < length().
    uint8_t* writableByte(int32_t i);

    StringValue left(int32_t n) const;
    StringValue right(int32_t n) const;
    StringValue tail(int32_t i) const;              // bytes i (0-based) to the end
    StringValue slice(int32_t i, int32_t n) const;  // n bytes from i (0-based)
    StringValue appended(uint8_t c) const;
    friend StringValue operator+(const StringValue& a, const StringValue& b);

private:
    explicit StringValue(StringHandle s) : record_(s) {}
    StringValue bytesFrom(int32_t i, int32_t n) const;

    StringHandle record_ = nullptr;
};

}  // namespace runtime
