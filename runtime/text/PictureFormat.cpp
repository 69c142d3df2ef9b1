#include "text/PictureFormat.h"

#include <string>
#include <string_view>

#include "text/CaseFold.h"
#include "text/StringFields.h"

namespace runtime {
namespace {

// What the first walk over a section finds.
struct SectionShape {
    int32_t integerPlaces = 0;   // "#" and "0" before the first "."
    int32_t fractionPlaces = 0;  // "#" and "0" after it, or after an exponent mark
    bool percent = false;
    bool grouping = false;
    bool exponent = false;
};

// The digits of a number as the output walk reads them.
struct Digits {
    std::string text;        // fixed or exponential text of the number
    size_t exponentAt = 0;   // where the "e" is, or the length of text
    size_t pointAt = 0;      // where the "." is, or the length of text: the integer digit count
};

// Walks a section character by character. In double-byte mode a two-byte
// character is one unit, so that an escape takes it whole and its second byte
// is never read as a picture character.
class SectionWalk {
public:
    SectionWalk(const CharacterTables& tables, std::string_view section) : tables_(tables), section_(section) {}
    bool done() const { return at_ >= section_.size(); }
    char current() const { return section_[at_]; }
    std::string_view currentCharacter() const { return section_.substr(at_, width()); }
    // The character after the current one, or 0 at the end.
    char following() const { return at_ + width() < section_.size() ? section_[at_ + width()] : '\0'; }
    void advance() { at_ += width(); }

private:
    size_t width() const { return tables_.doubleByte() ? static_cast<size_t>(tables_.widthAt(section_, at_)) : 1; }

    const CharacterTables& tables_;
    std::string_view section_;
    size_t at_ = 0;
};

bool isPlaceholder(char c) { return c == '#' || c == '0'; }
bool isExponentMark(char c) { return c == 'e' || c == 'E'; }

SectionShape shapeOf(const CharacterTables& tables, std::string_view section) {
    SectionShape shape;
    bool afterPoint = false;
    for (SectionWalk walk(tables, section); !walk.done(); walk.advance()) {
        const char c = walk.current();
        if (c == '\\') {
            walk.advance();
            if (walk.done()) break;
        } else if (isPlaceholder(c)) {
            ++(afterPoint || shape.exponent ? shape.fractionPlaces : shape.integerPlaces);
        } else if (c == '.') {
            afterPoint = true;
        } else if (c == '%') {
            shape.percent = true;
        } else if (c == ',') {
            shape.grouping = true;
        } else if (isExponentMark(c)) {
            shape.exponent = true;
        }
    }
    return shape;
}

// The digit text of x for a section, with the zeros that the section does not
// need removed. Clears the exponent mark when the text has no exponent.
Digits digitsFor(double x, SectionShape& shape) {
    Digits digits;
    std::string& text = digits.text;
    text = shape.exponent ? exponentialText(x, shape.fractionPlaces + 1) : fixedText(x, shape.fractionPlaces);
    text.erase(0, text.find_first_not_of(' '));
    size_t exponentAt = text.find_first_of("eE");
    if (shape.fractionPlaces > 0) {
        if (shape.exponent && exponentAt != std::string::npos) {
            size_t zeros = exponentAt;
            while (zeros > 0 && text[zeros - 1] == '0') --zeros;
            text.erase(zeros, exponentAt - zeros);
            exponentAt = zeros;
        } else {
            while (!text.empty() && text.back() == '0') text.pop_back();
        }
    }
    if (exponentAt == std::string::npos) {
        shape.exponent = false;
        exponentAt = text.size();
    }
    digits.exponentAt = exponentAt;
    digits.pointAt = std::min(text.find('.'), text.size());
    return digits;
}

// The exponent part of the digit text ("+04"), shaped by the sign character
// that may follow the exponent mark in the section. Returns whether that sign
// character was used.
bool appendExponent(std::string& out, std::string_view exponent, char following) {
    const bool hasSign = !exponent.empty() && (exponent[0] == '+' || exponent[0] == '-');
    if (following == '+') {
        if (!hasSign) out += '+';
        out += exponent;
        return true;
    }
    if (following == '-') {
        out += hasSign && exponent[0] == '+' ? exponent.substr(1) : exponent;
        return true;
    }
    out += exponent;
    return false;
}

class PictureWriter {
public:
    PictureWriter(const SectionShape& shape, const Digits& digits, const NumberSeparators& separators,
                  bool negative, bool positive)
        : shape_(shape), digits_(digits), separators_(separators), negative_(negative), positive_(positive) {}

    std::string write(const CharacterTables& tables, std::string_view section) {
        for (SectionWalk walk(tables, section); !walk.done(); walk.advance()) {
            const char c = walk.current();
            if (c == '\\') {
                walk.advance();
                if (walk.done()) break;
                out_ += walk.currentCharacter();
            } else if (isPlaceholder(c)) {
                placeholder(c);
            } else if (c == '.') {
                // Only the first point counts; later ones print nothing.
                if (!afterPoint_) {
                    out_ += separators_.decimal;
                    afterPoint_ = true;
                    placed_ = 0;
                }
            } else if (c == '+') {
                if (negative_) out_ += '-';
                else if (positive_) out_ += '+';
            } else if (c == '-') {
                if (negative_) out_ += '-';
            } else if (c == '%' || c == '(' || c == ')') {
                out_ += c;
            } else if (isExponentMark(c) && shape_.exponent) {
                out_ += c;
                const std::string_view exponent = std::string_view(digits_.text).substr(digits_.exponentAt + 1);
                if (appendExponent(out_, exponent, walk.following())) walk.advance();
            }
        }
        return std::move(out_);
    }

private:
    void placeholder(char c) {
        const auto integerPlaces = static_cast<int64_t>(shape_.integerPlaces);
        const auto pointAt = static_cast<int64_t>(digits_.pointAt);
        if (afterPoint_) {
            digit(c, pointAt + placed_ + 1, false);
        } else if (placed_ == 0 && integerPlaces < pointAt) {
            // More integer digits than places: the first place shows them all.
            leadingDigits(pointAt - integerPlaces + 1);
        } else {
            const bool separator = shape_.grouping && placed_ > 0 && (integerPlaces - placed_) % 3 == 0;
            digit(c, pointAt + placed_ - integerPlaces, separator);
        }
        ++placed_;
    }

    void leadingDigits(int64_t count) {
        const auto pointAt = static_cast<int64_t>(digits_.pointAt);
        for (int64_t l = 0; l < count; ++l) {
            if (shape_.grouping && l >= 1 && (pointAt - l) % 3 == 0) out_ += separators_.thousands;
            out_ += digits_.text[static_cast<size_t>(l)];
        }
    }

    void digit(char placeholder, int64_t index, bool separator) {
        if (index >= 0 && index < static_cast<int64_t>(digits_.exponentAt)) {
            if (separator) out_ += separators_.thousands;
            out_ += digits_.text[static_cast<size_t>(index)];
        } else if (placeholder == '0') {
            if (separator) out_ += separators_.thousands;
            out_ += '0';
        }
    }

    const SectionShape& shape_;
    const Digits& digits_;
    const NumberSeparators& separators_;
    const bool negative_;
    const bool positive_;
    bool afterPoint_ = false;
    int64_t placed_ = 0;  // placeholders used so far, before or after the point
    std::string out_;
};

// The section of `format` that x uses; x becomes its magnitude.
StringValue sectionFor(const CharacterTables& tables, const StringValue& format, double& x, bool& negative) {
    if (foldedEquals(format.view(), "Scientific")) {
        negative = x < 0;
        if (negative) x = -x;
        return StringValue::fromCString("-#.000000E+");
    }
    const StringValue separator = StringValue::fromCString(";");
    const int32_t sections = countFields(tables, format, separator);
    int32_t field = 1;
    if (x < 0) {
        x = -x;
        negative = true;
        if (sections >= 2) field = 2;
    } else if (x == 0 && sections >= 3) {
        field = 3;
    }
    return nthField(tables, format, separator, field);
}

}  // namespace

StringValue formatPicture(const CharacterTables& tables, double x, const StringValue& format,
                          const NumberSeparators& separators) {
    // A negative zero is zero: the sign of a number shows only through the
    // picture's sign characters or its negative section.
    if (x == 0) x = 0;
    bool negative = false;
    const StringValue section = sectionFor(tables, format, x, negative);
    SectionShape shape = shapeOf(tables, section.view());
    if (shape.percent) x *= 100;
    const Digits digits = digitsFor(x, shape);
    PictureWriter writer(shape, digits, separators, negative, x > 0);
    return StringValue::fromBytes(writer.write(tables, section.view()));
}

}  // namespace runtime
