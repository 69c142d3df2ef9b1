#include "FixedCodePage.h"

namespace testing_support {
namespace {

using namespace runtime;

constexpr uint16_t kDefined = 0x0200;

bool isAsciiUpper(uint8_t c) { return c >= 'A' && c <= 'Z'; }
bool isAsciiLower(uint8_t c) { return c >= 'a' && c <= 'z'; }

// Code page 1252: the letters whose other case is in the code page too.
bool isWesternUpper(uint8_t c) { return (c >= 0xC0 && c <= 0xDE && c != 0xD7) || c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9F; }
bool isWesternLower(uint8_t c) { return (c >= 0xE0 && c <= 0xFE && c != 0xF7) || c == 0x9A || c == 0x9C || c == 0x9E || c == 0xFF; }

uint8_t westernUpper(uint8_t c) {
    switch (c) {
        case 0x9A: return 0x8A;
        case 0x9C: return 0x8C;
        case 0x9E: return 0x8E;
        case 0xFF: return 0x9F;
        default: return isWesternLower(c) ? static_cast<uint8_t>(c - 0x20) : c;
    }
}

uint8_t westernLower(uint8_t c) {
    switch (c) {
        case 0x8A: return 0x9A;
        case 0x8C: return 0x9C;
        case 0x8E: return 0x9E;
        case 0x9F: return 0xFF;
        default: return isWesternUpper(c) ? static_cast<uint8_t>(c + 0x20) : c;
    }
}

uint16_t asciiType(uint8_t c) {
    if (c == ' ') return kTypeSpace | kTypeBlank;
    if (c == '\t') return kTypeSpace | kTypeBlank | kTypeControl;
    if (c >= '\n' && c <= '\r') return kTypeSpace | kTypeControl;
    if (c < 0x20 || c == 0x7F) return kTypeControl;
    if (c >= '0' && c <= '9') return kTypeDigit | kTypeHexDigit;
    if (isAsciiUpper(c)) return kTypeUpper | kTypeAlpha;
    if (isAsciiLower(c)) return kTypeLower | kTypeAlpha;
    return kTypePunct;
}

// Shift-JIS: the full-width Latin letters are 0x8260-0x8279 and 0x8281-0x829A.
bool isWideUpper(uint8_t lead, uint8_t trail) { return lead == 0x82 && trail >= 0x60 && trail <= 0x79; }
bool isWideLower(uint8_t lead, uint8_t trail) { return lead == 0x82 && trail >= 0x81 && trail <= 0x9A; }

}  // namespace

bool FixedCodePage::isLeadByte(uint8_t byte) const {
    return codePage_ == 932 && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}

void FixedCodePage::changeCase(uint8_t* bytes, int32_t n, Case to) const {
    for (int32_t i = 0; i < n; ++i) {
        uint8_t& c = bytes[i];
        if (isLeadByte(c) && i + 1 < n) {
            uint8_t& trail = bytes[++i];
            if (to == Case::kUpper && isWideLower(c, trail)) trail = static_cast<uint8_t>(trail - 0x21);
            if (to == Case::kLower && isWideUpper(c, trail)) trail = static_cast<uint8_t>(trail + 0x21);
        } else if (to == Case::kUpper) {
            c = isAsciiLower(c) ? static_cast<uint8_t>(c - 0x20) : codePage_ == 1252 ? westernUpper(c) : c;
        } else {
            c = isAsciiUpper(c) ? static_cast<uint8_t>(c + 0x20) : codePage_ == 1252 ? westernLower(c) : c;
        }
    }
}

void FixedCodePage::upperCase(uint8_t* bytes, int32_t n) const { changeCase(bytes, n, Case::kUpper); }
void FixedCodePage::lowerCase(uint8_t* bytes, int32_t n) const { changeCase(bytes, n, Case::kLower); }

uint16_t FixedCodePage::byteType(uint8_t c) const {
    if (c < 0x80) return asciiType(c);
    if (codePage_ == 932) {
        if (c >= 0xA1 && c <= 0xDF) return kTypeAlpha;  // half-width katakana
        return isLeadByte(c) ? kTypePunct : 0;          // a lone lead byte reads as a middle dot
    }
    if (c == 0xA0) return kTypeSpace | kTypeBlank;
    if (isWesternUpper(c)) return kTypeUpper | kTypeAlpha;
    if (isWesternLower(c) || c == 0xDF) return kTypeLower | kTypeAlpha;
    if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) return kTypeControl;
    return kTypePunct;
}

uint16_t FixedCodePage::characterType(const uint8_t* bytes, int32_t n) const {
    if (n == 1 || !isLeadByte(bytes[0])) return byteType(bytes[0]) | kDefined;
    const uint8_t lead = bytes[0];
    const uint8_t trail = bytes[1];
    if (lead == 0x81 && trail == 0x40) return kTypeSpace | kTypeBlank | kDefined;  // ideographic space
    if (isWideUpper(lead, trail)) return kTypeUpper | kTypeAlpha | kDefined;
    if (isWideLower(lead, trail)) return kTypeLower | kTypeAlpha | kDefined;
    return kTypeAlpha | kDefined;
}

}  // namespace testing_support
