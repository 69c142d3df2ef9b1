// Fixed tables of the code pages 932 (Shift-JIS) and 1252 (Western) behind the
// text platform interface, so that native test programs run the string and
// number algorithms without the system. They hold what the tests need: the
// lead bytes, the case and type of ASCII and Western letters, the full-width
// Latin letters and the ideographic space; other characters are letters or
// punctuation without case.
#pragma once

#include <optional>
#include <string>

#include "text/TextPlatform.h"

namespace testing_support {

class FixedCodePage final : public runtime::TextPlatform {
public:
    explicit FixedCodePage(int codePage, std::optional<std::string> decimal = ".",
                           std::optional<std::string> thousands = ",")
        : codePage_(codePage), decimal_(std::move(decimal)), thousands_(std::move(thousands)) {}

    int codePage() const { return codePage_; }

    bool isLeadByte(uint8_t byte) const override;
    void upperCase(uint8_t* bytes, int32_t n) const override;
    void lowerCase(uint8_t* bytes, int32_t n) const override;
    uint16_t characterType(const uint8_t* bytes, int32_t n) const override;
    std::optional<std::string> decimalSeparator() const override { return decimal_; }
    std::optional<std::string> thousandsSeparator() const override { return thousands_; }

private:
    enum class Case { kUpper, kLower };
    void changeCase(uint8_t* bytes, int32_t n, Case to) const;
    uint16_t byteType(uint8_t byte) const;

    int codePage_;
    std::optional<std::string> decimal_;
    std::optional<std::string> thousands_;
};

}  // namespace testing_support
