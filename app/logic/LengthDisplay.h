// The length display of the message tab: the number of characters the
// message takes (double-byte characters count once) plus the melody's share,
// and the colour that warns when the message is longer than a centre accepts.
// Nothing is refused at these limits; the colour is the only warning.
#pragma once

#include <cstdint>

namespace applogic {

// Colours as 0x00RRGGBB.
inline constexpr int32_t kLengthColourNormal = 0x0000FF;       // blue
inline constexpr int32_t kLengthColourTooLongKanji = 0xFF0000;  // red
inline constexpr int32_t kLengthColourTooLongKana = 0xFF00FF;   // magenta

// The longest message a centre takes with kanji encoding, and without.
inline constexpr int32_t kMostKanjiCharacters = 105;
inline constexpr int32_t kMostKanaCharacters = 209;

constexpr int32_t lengthColour(int32_t count, bool kanji) {
    if (kanji) return count > kMostKanjiCharacters ? kLengthColourTooLongKanji : kLengthColourNormal;
    return count > kMostKanaCharacters ? kLengthColourTooLongKana : kLengthColourNormal;
}

}  // namespace applogic
