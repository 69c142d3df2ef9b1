#include "text/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "text/StringFields.h"

namespace runtime {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
// The white space that formatted input skips.
bool isScanSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The value of one digit byte in base `radix`, or -1 for a byte that does not
// count. Base 16 counts every letter, with the values 10 to 35.
int digitValue(char c, uint32_t radix) {
    if (radix == 16) {
        if (isDigit(c)) return c - '0';
        if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
        if (c >= 'a' && c <= 'z') return c - 'a' + 10;
        return -1;
    }
    const int value = c - '0';
    return value >= 0 && value < static_cast<int>(radix) ? value : -1;
}

double radixValue(std::string_view digits, uint32_t radix) {
    uint32_t total = 0;  // wraps like the 32-bit integer it stands for
    for (char c : digits) {
        const int value = digitValue(c, radix);
        if (value >= 0) total = total * radix + static_cast<uint32_t>(value);
    }
    return static_cast<int32_t>(total);
}

// The end of the run of digits that starts at i.
size_t skipDigits(std::string_view text, size_t i) {
    while (i < text.size() && isDigit(text[i])) ++i;
    return i;
}

double decimalValue(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isScanSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const size_t begin = i;
    i = skipDigits(text, i);
    size_t digits = i - begin;
    if (i < text.size() && text[i] == '.') {
        const size_t fraction = i + 1;
        i = skipDigits(text, fraction);
        digits += i - fraction;
    }
    if (digits == 0) return 0;
    // An exponent counts only with at least one digit.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t exponent = i + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        const size_t end = skipDigits(text, exponent);
        if (end > exponent) i = end;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data() + begin, text.data() + i, value);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: infinity or zero, as strtod gives it.
        value = std::strtod(std::string(text.substr(begin, i - begin)).c_str(), nullptr);
    }
    return negative ? -value : value;
}

std::string formatted(double x, std::chars_format format, int32_t decimals) {
    // Room for the sign, 309 integer digits, the point and the exponent.
    std::string text(static_cast<size_t>(decimals) + 330, '\0');
    const auto result = std::to_chars(text.data(), text.data() + text.size(), x, format, decimals);
    text.resize(static_cast<size_t>(result.ptr - text.data()));
    return text;
}

std::string digitsText(uint32_t value, uint32_t radix) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char digits[16];
    char* first = digits + sizeof digits;
    do {
        *--first = kDigits[value % radix];
        value /= radix;
    } while (value != 0);
    return std::string(first, digits + sizeof digits);
}

}  // namespace

NumberSeparators localeSeparators(const TextPlatform& platform) {
    NumberSeparators separators;
    if (auto decimal = platform.decimalSeparator(); decimal && !decimal->empty()) separators.decimal = *decimal;
    if (auto thousands = platform.thousandsSeparator()) separators.thousands = *thousands;
    return separators;
}

double numberValue(std::string_view text) {
    if (text.size() >= 2 && text[0] == '&') {
        switch (text[1]) {
            case 'H': case 'h': return radixValue(text.substr(2), 16);
            case 'O': case 'o': return radixValue(text.substr(2), 8);
            case 'B': case 'b': return radixValue(text.substr(2), 2);
            default: return 0;
        }
    }
    // Formatted input reads the zero-terminated text.
    return decimalValue(text.substr(0, text.find('\0')));
}

std::string fixedText(double x, int32_t decimals) { return formatted(x, std::chars_format::fixed, decimals); }

std::string exponentialText(double x, int32_t decimals) {
    return formatted(x, std::chars_format::scientific, decimals);
}

std::string numberText(double x) {
    if (x == 0) x = 0;  // a negative zero prints as zero
    const double magnitude = std::fabs(x);
    if (!(magnitude == 0 || (magnitude >= 0.00001 && magnitude <= 1000000))) return exponentialText(x, 7);
    std::string text = fixedText(x, 7);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

double localeNumberValue(const CharacterTables& tables, const StringValue& text, const NumberSeparators& separators) {
    StringValue plain = replaceAll(tables, text, StringValue::fromBytes(separators.thousands), {});
    plain = replaceAll(tables, plain, StringValue::fromBytes(separators.decimal), StringValue::fromCString("."));
    return numberValue(plain.view());
}

StringValue localeNumberText(const CharacterTables& tables, double x, const NumberSeparators& separators) {
    return replaceFirst(tables, StringValue::fromBytes(numberText(x)), StringValue::fromCString("."),
                        StringValue::fromBytes(separators.decimal));
}

std::string hexadecimalText(uint32_t value) { return digitsText(value, 16); }
std::string octalText(uint32_t value) { return digitsText(value, 8); }

int32_t truncatedInteger(double x) {
    // Every value strictly between these bounds truncates into the range; NaN
    // fails both comparisons.
    if (!(x > -2147483649.0 && x < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(x);
}

}  // namespace runtime
