// Helpers for tests that call entry routines as compiled code does: string
// arguments are made and owned by the test, and every string result is
// dropped again. The same tests run natively and under Wine, so the helpers
// use only the portable string core.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "text/StringValue.h"

namespace testing_support {

// A string value owned by the test, dropped at the end of its scope.
class Owned {
public:
    explicit Owned(StringHandle value) : value_(value) {}
    explicit Owned(std::string_view bytes) : value_(runtime::StringValue::fromBytes(bytes).release()) {}
    ~Owned() { runtime::unlockString(value_); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    operator StringHandle() const { return value_; }
    StringHandle get() const { return value_; }
    int32_t refs() const { return value_ ? value_->refCount : 0; }
    std::string bytes() const { return value_ ? std::string(runtime::cStringOf(value_), value_->length) : std::string(); }

private:
    StringHandle value_;
};

// The ANSI code page the routines under test run in: the system's under Wine,
// the fixed tables' in a native test program.
int codePageUnderTest();

// Bytes as readable text for failure messages: printable ASCII as it is,
// everything else as \xHH.
inline std::string shown(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "\"";
    for (char c : bytes) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            text += c;
        } else {
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 15];
        }
    }
    return text + "\"";
}

}  // namespace testing_support
