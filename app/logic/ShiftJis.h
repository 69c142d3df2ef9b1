// Shift-JIS characters as the application's encoders see them: one or two
// bytes of code page 932, half-width katakana widened to their full-width
// forms, and the test whether JIS X 0208 (and so ISO-2022-JP and the kanji
// codes of the message centre) can hold a character.
#pragma once

#include <cstdint>

#include "ByteText.h"

namespace applogic {

// The geta mark, sent in place of a character the receiver cannot hold.
inline constexpr uint16_t kGetaMark = 0x81AC;

constexpr bool isShiftJisLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
constexpr bool isShiftJisTrailByte(uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }
constexpr bool isHalfWidthKatakana(uint8_t b) { return b >= 0xA1 && b <= 0xDF; }

// One character of a text.
struct Character {
    enum class Kind : uint8_t {
        Single,       // one byte, `code` is the byte
        Double,       // two bytes (or widened half-width katakana), `code` is lead × 256 + trail
        BrokenLead,   // a lead byte without a valid trail byte; `code` is the lead byte
    };
    Kind kind = Kind::Single;
    uint16_t code = 0;
    // Bytes of the text the character takes (2 for ｶﾞ widened to ガ).
    int32_t size = 1;
};

// Reads the character at `position`. Half-width katakana are widened when
// `widenKatakana` is set, combining a following ﾞ or ﾟ into the voiced or
// semi-voiced form where one exists. A broken lead byte takes one byte, so
// the byte after it is read again as a character of its own.
Character readCharacter(Bytes text, int32_t position, bool widenKatakana);

// The full-width form of a half-width katakana byte, with an optional
// following mark byte (0 for none); sets `usedMark` when the mark was combined.
uint16_t widenHalfWidthKatakana(uint8_t kana, uint8_t mark, bool& usedMark);

// The full-width form of a printable ASCII byte (0x20 to 0x7E), or 0.
uint16_t widenAscii(uint8_t byte);

// The JIS code of a Shift-JIS double-byte code, by the arithmetic of the
// conversion (any input gives some result; see isJisX0208).
int32_t shiftJisToJis(int32_t code);

// Whether the double-byte code is a character of JIS X 0208: a valid lead and
// trail byte of the standard's range (not the vendor rows, the extensions or
// the user-defined area) whose row and cell hold an assigned character.
bool isJisX0208(uint16_t code);

}  // namespace applogic
