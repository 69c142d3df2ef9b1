// Reading the character format of a rich field's selection: the control
// reports, per attribute, whether it is the same over the whole selection
// (the mask) and its value there (the effects).
#pragma once

#include <cstdint>

namespace runtime {

inline constexpr uint32_t kBoldBit = 1;       // CFM_BOLD, CFE_BOLD
inline constexpr uint32_t kItalicBit = 2;     // CFM_ITALIC, CFE_ITALIC
inline constexpr uint32_t kUnderlineBit = 4;  // CFM_UNDERLINE, CFE_UNDERLINE
inline constexpr uint32_t kPlainBits = kBoldBit | kItalicBit | kUnderlineBit;
inline constexpr uint32_t kFaceBit = 0x20000000;   // CFM_FACE
inline constexpr uint32_t kColorBit = 0x40000000;  // CFM_COLOR
inline constexpr uint32_t kSizeBit = 0x80000000;   // CFM_SIZE
// SelTextSize n is sent to the control as the height n x 16.
inline constexpr int32_t kHeightPerSize = 16;

struct SelectionFormat {
    uint32_t mask = 0;
    uint32_t effects = 0;
    int32_t height = 0;
    uint32_t color = 0;  // COLORREF
};

// True only when the whole selection has the style.
inline bool hasStyle(const SelectionFormat& f, uint32_t bit) { return (f.mask & bit) && (f.effects & bit); }
// True only when bold, italic and underline are each uniform and all off.
inline bool isPlain(const SelectionFormat& f) { return (f.mask & kPlainBits) == kPlainBits && (f.effects & kPlainBits) == 0; }
inline int32_t sizeOf(const SelectionFormat& f) { return (f.mask & kSizeBit) ? f.height / kHeightPerSize : 0; }

}  // namespace runtime
