#include "ModemDialing.h"

namespace applogic {
namespace {

bool isDialCharacter(uint8_t b) {
    if (b >= '0' && b <= '9') return true;
    if (b >= 'A' && b <= 'D') return true;
    switch (b) {
        case '*': case '#': case ',': case 'W': case 'P': case 'T': case '!': case '@':
            return true;
        default:
            return false;
    }
}

struct AnswerWord {
    ModemAnswer answer;
    const char* text;
    int32_t length;
};
// "NO DIAL TONE" is how some modems word "NO DIALTONE".
constexpr AnswerWord kAnswers[] = {
    {ModemAnswer::Busy, "BUSY", 4},
    {ModemAnswer::NoCarrier, "NO CARRIER", 10},
    {ModemAnswer::NoDialtone, "NO DIALTONE", 11},
    {ModemAnswer::NoDialtone, "NO DIAL TONE", 12},
    {ModemAnswer::NoAnswer, "NO ANSWER", 9},
    {ModemAnswer::Error, "ERROR", 5},
};

bool isSpace(uint8_t b) { return b == ' ' || b == '\t'; }

ModemAnswer answerOfLine(Bytes line) {
    while (!line.empty() && isSpace(line[0])) line = line.from(1);
    while (!line.empty() && isSpace(line[line.size - 1])) line = line.first(line.size - 1);
    for (const AnswerWord& word : kAnswers) {
        if (equalBytes(line, Bytes::of(word.text, word.length))) return word.answer;
    }
    return ModemAnswer::None;
}

}  // namespace

namespace {

// Appends the filtered dial string; false when it is refused.
bool putDialString(ByteWriter& out, Bytes text) {
    for (int32_t i = 0; i < text.size; ++i) {
        const uint8_t b = text[i];
        if (b == ' ' || b == '-') continue;
        if (!isDialCharacter(b)) return false;
        out.put(b);
    }
    return true;
}

}  // namespace

int32_t filterDialString(Bytes text, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    if (!putDialString(out, text)) return -1;
    return out.result();
}

int32_t centreDialCommand(bool tone, bool extension, Bytes outsideLinePrefix, Bytes centre, uint8_t* buffer,
                          int32_t capacity) {
    ByteWriter out(buffer, capacity);
    out.put(Bytes("AT"));
    if (extension) out.put(Bytes("X3"));
    out.put(tone ? Bytes("DT") : Bytes("DP"));
    if (extension && !putDialString(out, outsideLinePrefix)) return -1;
    if (!putDialString(out, centre)) return -1;
    out.put(';');
    out.put(13);
    return out.result();
}

int32_t recipientDialCommand(Bytes number, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    out.put(Bytes("DT"));
    if (!putDialString(out, number)) return -1;
    out.put(Bytes("#;"));
    out.put(13);
    return out.result();
}

int32_t modemBlockCount(int32_t digitCount) {
    int32_t fullBlocks = 0;
    for (int32_t rest = digitCount; rest > kMostDigitsOfLastBlock; rest -= kDigitsPerBlock) ++fullBlocks;
    return fullBlocks + 1;
}

DialBlock modemBlock(int32_t digitCount, int32_t index) {
    DialBlock block;
    const int32_t count = modemBlockCount(digitCount);
    if (index < 0 || index >= count) return block;
    block.offset = index * kDigitsPerBlock;
    if (block.offset > digitCount) block.offset = digitCount;
    block.last = index == count - 1;
    const int32_t rest = digitCount - block.offset;
    block.length = block.last || rest < kDigitsPerBlock ? rest : kDigitsPerBlock;
    return block;
}

int32_t modemBlockCommand(Bytes digits, int32_t index, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    const DialBlock block = modemBlock(digits.size, index);
    out.put(Bytes("DT"));
    out.put(digits.from(block.offset).first(block.length));
    out.put(block.last ? Bytes("##;") : Bytes(";"));
    out.put(13);
    return out.result();
}

ModemAnswer findModemFailure(Bytes received) {
    int32_t lineStart = 0;
    for (int32_t i = 0; i < received.size; ++i) {
        if (received[i] != 13 && received[i] != 10) continue;
        const ModemAnswer answer = answerOfLine(received.from(lineStart).first(i - lineStart));
        if (answer != ModemAnswer::None) return answer;
        lineStart = i + 1;
    }
    return ModemAnswer::None;
}

Bytes modemAnswerText(ModemAnswer answer) {
    for (const AnswerWord& word : kAnswers) {
        if (word.answer == answer) return Bytes::of(word.text, word.length);
    }
    return Bytes();
}

}  // namespace applogic
