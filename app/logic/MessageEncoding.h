// The message encoders: Shift-JIS text into the touch-tone digits a PHS
// message centre accepts (two-digit codes or "#" and four-digit kanji codes),
// into ISO-2022-JP for the mail gateway, and into hexadecimal text.
//
// Each routine writes into a caller-provided buffer and returns the number of
// bytes written, or -1 when the buffer is too small (nothing is then usable);
// the ...Capacity functions give a buffer size that always suffices.
#pragma once

#include <cstdint>

#include "ByteText.h"

namespace applogic {

// Two-digit codes for kana, upper-case letters, digits and the symbols of the
// code table; CR and LF are dropped, half-width katakana count as their
// full-width forms (ｶﾞ as ガ), other characters are dropped.
int32_t bellCode(Bytes text, uint8_t* out, int32_t capacity);
constexpr int32_t bellCodeCapacity(int32_t textSize) { return 4 * textSize; }

// "#" and the row and cell of each character's JIS code (four digits); CR and
// LF are dropped, single-byte characters count as their full-width forms
// (those without one are dropped), characters JIS X 0208 cannot hold and
// broken characters are sent as the geta mark (#0214).
int32_t kanjiCode(Bytes text, uint8_t* out, int32_t capacity);
constexpr int32_t kanjiCodeCapacity(int32_t textSize) { return 5 * textSize; }

// The JIS code of a Shift-JIS double-byte code (lead × 256 + trail).
int32_t jsjisToJis(int32_t code);

// ISO-2022-JP: ASCII as is, double-byte characters between ESC $ B and
// ESC ( B. Half-width katakana are widened first; characters JIS X 0208
// cannot hold, broken characters, bytes that are no character and the
// escape-sequence controls ESC, SO and SI become the geta mark, so the result
// never holds an 8-bit byte or a stray escape.
int32_t jsjisToJisString(Bytes text, uint8_t* out, int32_t capacity);
constexpr int32_t jsjisToJisStringCapacity(int32_t textSize) { return 5 * textSize + 3; }

// Upper-case hexadecimal, two characters per byte.
int32_t stringToHexString(Bytes text, uint8_t* out, int32_t capacity);
constexpr int32_t stringToHexStringCapacity(int32_t textSize) { return 2 * textSize; }

// CR LF.
Bytes win32Crlf();

// Line ends of text for this platform: the text unchanged.
int32_t texKaigyo(Bytes text, uint8_t* out, int32_t capacity);

}  // namespace applogic
