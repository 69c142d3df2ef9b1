// The character tables of the ANSI code page: which bytes lead a two-byte
// character, and the case and type of every one-byte character. The string
// functions of the running system use one set, built from the system on first
// use and kept for the life of the process (a change of code page while the
// program runs is not noticed).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string_view>

#include "text/TextPlatform.h"
#include "text/TwoByteUpperCase.h"

namespace runtime {

class CharacterTables {
public:
    explicit CharacterTables(const TextPlatform& platform);
    CharacterTables(const CharacterTables&) = delete;
    CharacterTables& operator=(const CharacterTables&) = delete;

    // The tables of the running system.
    static const CharacterTables& system();

    const TextPlatform& platform() const { return platform_; }

    // Double-byte mode: the code page has at least one lead byte.
    bool doubleByte() const { return doubleByte_; }
    bool isLeadByte(uint8_t byte) const { return leadBytes_[byte] != 0; }
    // The width of a character that starts with `byte`: 2 after a lead byte.
    int32_t width(uint8_t byte) const { return 1 + leadBytes_[byte]; }
    // The width of the character at byte i of `text`: a lead byte that is the
    // last byte is a character of its own.
    int32_t widthAt(std::string_view text, size_t i) const {
        return i + 1 < text.size() ? width(static_cast<uint8_t>(text[i])) : 1;
    }

    // Case and type of one-byte characters, as the code page gives them.
    uint8_t upper(uint8_t byte) const { return upper_[byte]; }
    uint8_t lower(uint8_t byte) const { return lower_[byte]; }
    uint16_t typeOfByte(uint8_t byte) const { return types_[byte]; }
    // White space of single-byte mode: a space or a blank.
    bool isWhiteByte(uint8_t byte) const { return (types_[byte] & (kTypeSpace | kTypeBlank)) != 0; }

    // The type bits of the character in bytes[0, n) (n is 1 or 2).
    uint16_t characterType(const uint8_t* bytes, int32_t n) const;
    // Upper- or lower-cases one character (n is 1 or 2) in place.
    void upperCaseCharacter(uint8_t* bytes, int32_t n) const;
    void lowerCaseCharacter(uint8_t* bytes, int32_t n) const;

    // The bytes that upper-case to `folded`, in increasing order: the bytes a
    // case-insensitive single-byte search must look for.
    std::span<const uint8_t> bytesFoldingTo(uint8_t folded) const;

    // Double-byte mode: the upper-case forms of the two-byte characters,
    // built on the first call.
    const TwoByteUpperCase& twoByteUpperCase() const;
    // Upper-cases the n bytes at `in` into `out` character by character (a
    // lead byte that is the last byte stays as it is). Both may be the same.
    void upperCaseCharacters(const uint8_t* in, uint8_t* out, size_t n) const;
    // Whether upper-casing keeps every character's first byte a lead byte or
    // not, so that characters split at the same places before and after.
    bool upperCaseKeepsCharacterStarts() const;

private:
    const TextPlatform& platform_;
    bool doubleByte_ = false;
    std::array<uint8_t, 256> leadBytes_{};
    std::array<uint8_t, 256> upper_{};
    std::array<uint8_t, 256> lower_{};
    std::array<uint16_t, 256> types_{};
    // The bytes grouped by their upper-case form: foldStart_[v] to
    // foldStart_[v + 1] index the bytes of foldGroups_ that fold to v.
    std::array<uint16_t, 257> foldStart_{};
    std::array<uint8_t, 256> foldGroups_{};
    bool oneByteUpperKeepsLeadBytes_ = true;
    mutable std::once_flag twoByteOnce_;
    mutable std::unique_ptr<TwoByteUpperCase> twoByte_;
};

}  // namespace runtime
