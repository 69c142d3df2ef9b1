#include "MessageEncoding.h"

#include "ShiftJis.h"

namespace applogic {
namespace {

constexpr bool isLineBreak(uint8_t b) { return b == 13 || b == 10; }

// A single-byte or double-byte character code (the single-byte form first)
// with its two-digit code.
struct SymbolCode {
    uint16_t code;
    uint8_t tens, units;
};

// The symbols of the code table and the forms each accepts.
constexpr SymbolCode kSymbols[] = {
    {'(', 8, 2},    {0x8169, 8, 2},  // （
    {')', 8, 4},    {0x816A, 8, 4},  // ）
    {'?', 6, 7},    {0x8148, 6, 7},  // ？
    {'!', 6, 8},    {0x8149, 6, 8},  // ！
    {'-', 6, 9},    {0x815B, 6, 9},  // ー
    {0x817C, 6, 9},                  // －
    {0x815C, 6, 9},                  // ―
    {0x815D, 6, 9},                  // ‐
    {'/', 6, 0},    {0x815E, 6, 0},  // ／
    {0x818F, 7, 6},                  // ￥
    {'&', 7, 7},    {0x8195, 7, 7},  // ＆
    {'@', 7, 8},    {0x8197, 7, 8},  // ＠
    {0x81AC, 7, 9},                  // 〓
    {'%', 7, 0},    {0x8193, 7, 0},  // ％
    {'*', 8, 6},    {0x8196, 8, 6},  // ＊
    {'#', 8, 7},    {0x8194, 8, 7},  // ＃
    {' ', 8, 8},    {0x8140, 8, 8},  // full-width space
    {0x81A4, 8, 9},                  // ▽
    {0x814A, 0, 4},                  // ゛
    {0x814B, 0, 5},                  // ゜
};

class DigitWriter {
public:
    explicit DigitWriter(ByteWriter& out) : out_(out) {}
    void digit(int32_t d) { out_.put(static_cast<uint8_t>('0' + d)); }
    void pair(int32_t tens, int32_t units) {
        digit(tens);
        digit(units);
    }

private:
    ByteWriter& out_;
};

// The row digit and column of a letter A-Z: A-E row 1, F-J row 2, ..., U-Y
// row 5 with columns 6 to 0; Z is 66.
void letterCode(int32_t index, DigitWriter& w) {
    if (index == 25) {
        w.pair(6, 6);
        return;
    }
    w.pair(index / 5 + 1, (index % 5 + 6) % 10);
}

// Digits: 1-5 row 9 columns 6 to 0, 6-9 row 0 columns 6 to 9, 0 is 00.
void digitCode(int32_t value, DigitWriter& w) {
    if (value == 0) {
        w.pair(0, 0);
    } else if (value <= 5) {
        w.pair(9, (value - 1 + 6) % 10);
    } else {
        w.pair(0, value);
    }
}

// Katakana 0x8340 to 0x8396. Returns false for those the table lacks.
bool katakanaCode(int32_t c, DigitWriter& w) {
    auto voiced = [&](int32_t row, int32_t base, int32_t offset) {
        const int32_t d = c - base;
        w.pair(row, d / 2 + offset);
        if (d % 2 == 1) w.pair(0, 4);
    };
    if (c >= 0x8340 && c <= 0x8349) {
        w.pair(1, (c - 0x8340) / 2 + 1);
    } else if (c >= 0x834A && c <= 0x8353) {
        voiced(2, 0x834A, 1);
    } else if (c >= 0x8354 && c <= 0x835D) {
        voiced(3, 0x8354, 1);
    } else if (c >= 0x835E && c <= 0x8361) {
        voiced(4, 0x835E, 1);
    } else if (c >= 0x8363 && c <= 0x8368) {
        voiced(4, 0x8363, 3);
    } else if (c >= 0x8369 && c <= 0x836D) {
        w.pair(5, c - 0x8369 + 1);
    } else if (c >= 0x836E && c <= 0x837C) {
        const int32_t d = c - 0x836E;
        w.pair(6, d / 3 + 1);
        if (d % 3 == 1) w.pair(0, 4);
        if (d % 3 == 2) w.pair(0, 5);
    } else if (c >= 0x837D && c <= 0x837E) {
        w.pair(7, c - 0x837D + 1);
    } else if (c >= 0x8380 && c <= 0x8382) {
        w.pair(7, c - 0x8380 + 3);
    } else if (c >= 0x8383 && c <= 0x8388) {
        w.pair(8, 2 * ((c - 0x8383) / 2) + 1);
    } else if (c >= 0x8389 && c <= 0x838D) {
        w.pair(9, c - 0x8389 + 1);
    } else if (c == 0x838F) {
        w.pair(0, 1);
    } else if (c >= 0x8392 && c <= 0x8393) {
        w.pair(0, c - 0x8392 + 2);
    } else {
        return false;
    }
    return true;
}

void bellCharacter(int32_t c, DigitWriter& w) {
    if (katakanaCode(c, w)) return;
    if (c >= 'A' && c <= 'Z') return letterCode(c - 'A', w);
    if (c >= 0x8260 && c <= 0x8279) return letterCode(c - 0x8260, w);
    if (c >= '0' && c <= '9') return digitCode(c - '0', w);
    if (c >= 0x824F && c <= 0x8258) return digitCode(c - 0x824F, w);
    for (const SymbolCode& symbol : kSymbols) {
        if (symbol.code == c) return w.pair(symbol.tens, symbol.units);
    }
}

void putJisPair(ByteWriter& out, uint16_t shiftJis) {
    const int32_t jis = shiftJisToJis(shiftJis);
    out.putPair(static_cast<uint16_t>(jis));
}

// The code JIS X 0208 can carry for a character (the geta mark for the rest).
uint16_t holdableCode(uint16_t code) { return isJisX0208(code) ? code : kGetaMark; }

}  // namespace

int32_t bellCode(Bytes text, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    DigitWriter digits(out);
    for (int32_t i = 0; i < text.size;) {
        if (isLineBreak(text[i])) {
            ++i;
            continue;
        }
        const Character c = readCharacter(text, i, true);
        if (c.kind != Character::Kind::BrokenLead) bellCharacter(c.code, digits);
        i += c.size;
    }
    return out.result();
}

int32_t kanjiCode(Bytes text, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    for (int32_t i = 0; i < text.size;) {
        if (isLineBreak(text[i])) {
            ++i;
            continue;
        }
        const Character c = readCharacter(text, i, true);
        i += c.size;
        uint16_t code = c.code;
        if (c.kind == Character::Kind::Single) {
            code = widenAscii(static_cast<uint8_t>(c.code));
            if (code == 0) continue;  // no full-width form: nothing to key in
        } else if (c.kind == Character::Kind::BrokenLead) {
            code = kGetaMark;
        }
        const int32_t jis = shiftJisToJis(holdableCode(code));
        out.put('#');
        out.putDecimal((jis / 256 - 0x20) * 100 + (jis % 256 - 0x20), 4);
    }
    return out.result();
}

int32_t jsjisToJis(int32_t code) { return shiftJisToJis(code); }

int32_t jsjisToJisString(Bytes text, uint8_t* buffer, int32_t capacity) {
    constexpr uint8_t kToJis[] = {27, '$', 'B'};
    constexpr uint8_t kToAscii[] = {27, '(', 'B'};
    ByteWriter out(buffer, capacity);
    bool inJis = false;
    for (int32_t i = 0; i < text.size;) {
        const Character c = readCharacter(text, i, true);
        i += c.size;
        const bool plainByte = c.kind == Character::Kind::Single && c.code < 0x80 && c.code != 27 &&
                               c.code != 0x0E && c.code != 0x0F;
        if (plainByte) {
            if (inJis) out.put(Bytes(kToAscii, 3));
            inJis = false;
            out.put(static_cast<uint8_t>(c.code));
            continue;
        }
        if (!inJis) out.put(Bytes(kToJis, 3));
        inJis = true;
        putJisPair(out, c.kind == Character::Kind::Double ? holdableCode(c.code) : kGetaMark);
    }
    if (inJis) out.put(Bytes(kToAscii, 3));
    return out.result();
}

int32_t stringToHexString(Bytes text, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    auto hexDigit = [](int32_t value) { return static_cast<uint8_t>(value + 48 + (value > 9 ? 7 : 0)); };
    for (int32_t i = 0; i < text.size; ++i) {
        out.put(hexDigit(text[i] / 16));
        out.put(hexDigit(text[i] % 16));
    }
    return out.result();
}

Bytes win32Crlf() { return Bytes("\r\n"); }

int32_t texKaigyo(Bytes text, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    out.put(text);
    return out.result();
}

}  // namespace applogic
