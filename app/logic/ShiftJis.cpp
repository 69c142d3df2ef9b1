#include "ShiftJis.h"

namespace applogic {
namespace {

// Full-width forms of the half-width katakana 0xA1 to 0xDF, in byte order:
// 。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテト
// ナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜
constexpr uint16_t kWideKatakana[63] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348,
    0x8383, 0x8385, 0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A,
    0x834C, 0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360,
    0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, 0x836C, 0x836D, 0x836E, 0x8371, 0x8374,
    0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389,
    0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B};

// Full-width forms of ASCII 0x20 to 0x7E. The quotes become the closing
// typographic quotes, the byte 0x5C the yen sign it shows as in this code
// page, and the tilde the wave dash: JIS X 0208 has no plain full-width form
// of them.
constexpr uint16_t kWideAscii[95] = {
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166,  // ' '..'\''
    0x8169, 0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E,  // '('..'/'
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256,  // '0'..'7'
    0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148,  // '8'..'?'
    0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266,  // '@'..'G'
    0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E,  // 'H'..'O'
    0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276,  // 'P'..'W'
    0x8277, 0x8278, 0x8279, 0x816D, 0x818F, 0x816E, 0x814F, 0x8151,  // 'X'..'_'
    0x814D, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287,  // '`'..'g'
    0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F,  // 'h'..'o'
    0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297,  // 'p'..'w'
    0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8160};         // 'x'..'~'

constexpr uint8_t kVoicedMark = 0xDE;      // ﾞ
constexpr uint8_t kSemiVoicedMark = 0xDF;  // ﾟ

// Assigned cells of JIS X 0208 rows 1 to 8 as (first, last) runs; rows 16
// to 83 are full except row 47 (cells 1 to 51) and row 84 (cells 1 to 6).
struct CellRun {
    uint8_t row, first, last;
};
constexpr CellRun kSymbolRows[] = {
    {1, 1, 94},  {2, 1, 14},  {2, 26, 33}, {2, 42, 48}, {2, 60, 74}, {2, 82, 89}, {2, 94, 94},
    {3, 16, 25}, {3, 33, 58}, {3, 65, 90}, {4, 1, 83},  {5, 1, 86},  {6, 1, 24},  {6, 33, 56},
    {7, 1, 33},  {7, 49, 81}, {8, 1, 32}};

bool isAssigned(int32_t row, int32_t cell) {
    if (cell < 1 || cell > 94) return false;
    if (row >= 16 && row <= 83) return row != 47 || cell <= 51;
    if (row == 84) return cell <= 6;
    for (const CellRun& run : kSymbolRows) {
        if (run.row == row && cell >= run.first && cell <= run.last) return true;
    }
    return false;
}

}  // namespace

uint16_t widenHalfWidthKatakana(uint8_t kana, uint8_t mark, bool& usedMark) {
    usedMark = false;
    if (!isHalfWidthKatakana(kana)) return 0;
    const uint16_t wide = kWideKatakana[kana - 0xA1];
    const bool voicedRow = (kana >= 0xB6 && kana <= 0xC4) || (kana >= 0xCA && kana <= 0xCE);  // ｶ..ﾄ, ﾊ..ﾎ
    if (mark == kVoicedMark) {
        if (voicedRow) {
            usedMark = true;
            return static_cast<uint16_t>(wide + 1);
        }
        if (kana == 0xB3) {  // ｳﾞ
            usedMark = true;
            return 0x8394;
        }
    }
    if (mark == kSemiVoicedMark && kana >= 0xCA && kana <= 0xCE) {
        usedMark = true;
        return static_cast<uint16_t>(wide + 2);
    }
    return wide;
}

uint16_t widenAscii(uint8_t byte) {
    if (byte < 0x20 || byte > 0x7E) return 0;
    return kWideAscii[byte - 0x20];
}

Character readCharacter(Bytes text, int32_t position, bool widenKatakana) {
    Character c;
    const uint8_t b = text[position];
    const bool hasNext = position + 1 < text.size;
    if (isShiftJisLeadByte(b)) {
        if (hasNext && isShiftJisTrailByte(text[position + 1])) {
            c.kind = Character::Kind::Double;
            c.code = static_cast<uint16_t>(b << 8 | text[position + 1]);
            c.size = 2;
        } else {
            c.kind = Character::Kind::BrokenLead;
            c.code = b;
        }
        return c;
    }
    if (widenKatakana && isHalfWidthKatakana(b)) {
        bool usedMark = false;
        c.kind = Character::Kind::Double;
        c.code = widenHalfWidthKatakana(b, hasNext ? text[position + 1] : 0, usedMark);
        c.size = usedMark ? 2 : 1;
        return c;
    }
    c.code = b;
    return c;
}

int32_t shiftJisToJis(int32_t code) {
    int32_t hi = code / 256;
    int32_t lo = code % 256;
    hi = hi <= 0x9F ? hi - 0x71 : hi - 0xB1;
    hi = 2 * hi + 1;
    if (lo > 0x7F) lo -= 1;
    if (lo >= 0x9E) {
        lo -= 0x7D;
        hi += 1;
    } else {
        lo -= 0x1F;
    }
    return hi * 256 + lo;
}

bool isJisX0208(uint16_t code) {
    const uint8_t lead = static_cast<uint8_t>(code >> 8);
    const uint8_t trail = static_cast<uint8_t>(code & 0xFF);
    const bool standardLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF);
    if (!standardLead || !isShiftJisTrailByte(trail)) return false;
    const int32_t jis = shiftJisToJis(code);
    return isAssigned(jis / 256 - 0x20, jis % 256 - 0x20);
}

}  // namespace applogic
