// The text services of the running Windows system: the ANSI code page and the
// user's default locale.
#include <windows.h>

#include "text/TextPlatform.h"

namespace runtime {
namespace {

// The user's default locale.
constexpr LCID kUserDefaultLocale = 0x0400;

class SystemTextPlatform final : public TextPlatform {
public:
    bool isLeadByte(uint8_t byte) const override { return IsDBCSLeadByte(byte) != FALSE; }

    void upperCase(uint8_t* bytes, int32_t n) const override {
        if (n > 0) CharUpperBuffA(reinterpret_cast<char*>(bytes), static_cast<DWORD>(n));
    }

    void lowerCase(uint8_t* bytes, int32_t n) const override {
        if (n > 0) CharLowerBuffA(reinterpret_cast<char*>(bytes), static_cast<DWORD>(n));
    }

    uint16_t characterType(const uint8_t* bytes, int32_t n) const override {
        // One type word per character; room for two in case the code page
        // reads the bytes as two characters.
        WORD types[2] = {};
        GetStringTypeExA(kUserDefaultLocale, CT_CTYPE1, reinterpret_cast<const char*>(bytes), n, types);
        return types[0];
    }

    std::optional<std::string> decimalSeparator() const override { return localeText(LOCALE_SDECIMAL); }
    std::optional<std::string> thousandsSeparator() const override { return localeText(LOCALE_STHOUSAND); }

private:
    // A separator is at most three bytes: it is read into a 4-byte buffer.
    static std::optional<std::string> localeText(LCTYPE type) {
        char text[4] = {};
        if (GetLocaleInfoA(kUserDefaultLocale, type, text, sizeof text) <= 0) return std::nullopt;
        return std::string(text);
    }
};

}  // namespace

const TextPlatform& systemTextPlatform() {
    static const SystemTextPlatform platform;
    return platform;
}

}  // namespace runtime
