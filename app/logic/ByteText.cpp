#include "ByteText.h"

namespace applogic {

bool equalBytes(Bytes a, Bytes b) {
    if (a.size != b.size) return false;
    for (int32_t i = 0; i < a.size; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

void ByteWriter::putDecimal(int32_t value, int32_t minDigits) {
    uint8_t digits[12];
    int32_t count = 0;
    uint32_t rest = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        digits[count++] = static_cast<uint8_t>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0 && count < 12);
    if (value < 0) put('-');
    for (int32_t i = count; i < minDigits; ++i) put('0');
    while (count > 0) put(digits[--count]);
}

}  // namespace applogic
