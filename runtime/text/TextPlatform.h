// The system's text services that the string functions and the number
// conversions rest on: the lead bytes of the ANSI code page, its upper- and
// lower-casing and character types, and the user locale's number separators.
// The Windows build answers from the system; native test programs answer from
// fixed tables, so the algorithms above this interface are checked on both.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace runtime {

// Bits of the character-type-1 class (the system's C1_ types).
enum CharacterTypeBits : uint16_t {
    kTypeUpper = 0x0001,
    kTypeLower = 0x0002,
    kTypeDigit = 0x0004,
    kTypeSpace = 0x0008,
    kTypePunct = 0x0010,
    kTypeControl = 0x0020,
    kTypeBlank = 0x0040,
    kTypeHexDigit = 0x0080,
    kTypeAlpha = 0x0100,
};

class TextPlatform {
public:
    virtual ~TextPlatform() = default;

    // Whether `byte` starts a two-byte character of the code page.
    virtual bool isLeadByte(uint8_t byte) const = 0;
    // Upper- or lower-cases n bytes in place, character by character of the
    // code page. The byte count never changes.
    virtual void upperCase(uint8_t* bytes, int32_t n) const = 0;
    virtual void lowerCase(uint8_t* bytes, int32_t n) const = 0;
    // The type bits of the one character held in bytes[0, n), n being 1 or 2.
    virtual uint16_t characterType(const uint8_t* bytes, int32_t n) const = 0;
    // The user locale's decimal and thousands separators, read at each call;
    // nothing when the locale cannot tell.
    virtual std::optional<std::string> decimalSeparator() const = 0;
    virtual std::optional<std::string> thousandsSeparator() const = 0;
};

// The platform of the running system, which the entry routines use. The
// Windows build defines it over the system calls; a native test program
// defines its own.
const TextPlatform& systemTextPlatform();

}  // namespace runtime
