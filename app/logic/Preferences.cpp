#include "Preferences.h"

namespace applogic {

Bytes flagText(bool checked) { return checked ? Bytes("True") : Bytes("False"); }

bool flagFromLine(Bytes line) { return equalBytes(line, Bytes("True")); }

Bytes lineTypeText(bool tone) { return tone ? Bytes("Tone") : Bytes("Pulse"); }

LineTypeChoice lineTypeFromLine(Bytes line) {
    if (equalBytes(line, Bytes("Tone"))) return LineTypeChoice::Tone;
    if (equalBytes(line, Bytes("Pulse"))) return LineTypeChoice::Pulse;
    return LineTypeChoice::Unchanged;
}

bool integerFromLine(Bytes line, int32_t& value) {
    int32_t i = 0;
    while (i < line.size && (line[i] == ' ' || line[i] == '\t')) ++i;
    bool negative = false;
    if (i < line.size && (line[i] == '-' || line[i] == '+')) negative = line[i++] == '-';
    const int32_t firstDigit = i;
    int64_t magnitude = 0;
    while (i < line.size && line[i] >= '0' && line[i] <= '9') {
        magnitude = magnitude * 10 + (line[i++] - '0');
        if (magnitude > int64_t{1} << 31) return false;
    }
    if (i == firstDigit) return false;
    if (i < line.size && line[i] == '.') {
        ++i;
        while (i < line.size && line[i] >= '0' && line[i] <= '9') ++i;
    }
    while (i < line.size && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i != line.size) return false;
    const int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX || result < INT32_MIN) return false;
    value = static_cast<int32_t>(result);
    return true;
}

int32_t serialRowFromLine(Bytes line, int32_t rowCount) {
    int32_t row = 0;
    if (!integerFromLine(line, row) || row < 0 || row >= rowCount) return 0;
    return row;
}

}  // namespace applogic
