// Conversions between numbers and text: the decimal and radix forms that
// StringVal reads, the shortest fixed or exponential text that StringStr
// writes, their forms with the user locale's separators, and the integer
// conversions. Number text is always made with "." as decimal point and the
// exponent as the ISO formatted output writes it: a sign and at least two
// digits ("1.2345670e+06").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "text/CharacterTables.h"
#include "text/StringValue.h"
#include "text/TextPlatform.h"

namespace runtime {

struct NumberSeparators {
    std::string decimal = ".";
    std::string thousands = ",";
};

// The user locale's separators; "." and "," stand in for what the locale
// cannot tell (an empty decimal separator included, which no number could use).
NumberSeparators localeSeparators(const TextPlatform& platform);

// The number that text starts with. "&H", "&O" or "&B" (either case) and the
// bytes after them give a 32-bit integer in base 16, 8 or 2, skipping bytes
// that are no digit; any other letter after "&" gives 0. Otherwise the longest
// decimal number after leading white space (sign, digits, fraction, exponent),
// read up to the first zero byte; 0 when there is none.
double numberValue(std::string_view text);
// Fixed notation with `decimals` digits after the point, and exponential
// notation with `decimals` digits after the point of the mantissa.
std::string fixedText(double x, int32_t decimals);
std::string exponentialText(double x, int32_t decimals);
// StringStr's text: 7 decimals, fixed for magnitudes 0.00001 to 1000000 (and
// zero of either sign) without trailing zeros, exponential otherwise.
std::string numberText(double x);
// The same two conversions with the locale's separators: thousands separators
// removed and the decimal separator read as "." before numberValue; the first
// "." of numberText written as the decimal separator.
double localeNumberValue(const CharacterTables& tables, const StringValue& text, const NumberSeparators& separators);
StringValue localeNumberText(const CharacterTables& tables, double x, const NumberSeparators& separators);

// Digits of an unsigned 32-bit value in base 16 (upper case) or 8, no leading zeros.
std::string hexadecimalText(uint32_t value);
std::string octalText(uint32_t value);
// Truncation toward zero; NaN and values outside the 32-bit range give
// -2147483648.
int32_t truncatedInteger(double x);

}  // namespace runtime
