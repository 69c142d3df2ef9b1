#include "KeyedDigits.h"

#include <iconv.h>

#include <cstdint>
#include <map>

#include "logic/MessageEncoding.h"

namespace modemsim {
namespace {

std::string toUtf8(const std::string& shiftJis) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return shiftJis;
    std::string out(shiftJis.size() * 3 + 4, '\0');
    char* in = const_cast<char*>(shiftJis.data());
    size_t inLeft = shiftJis.size(), outLeft = out.size();
    char* outPtr = out.data();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
        // A byte the converter cannot take: show it as "?" and go on.
        ++in;
        --inLeft;
        if (outLeft > 0) {
            *outPtr++ = '?';
            --outLeft;
        }
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::string bellCodeOf(const std::string& shiftJis) {
    std::string out(16, '\0');
    const int32_t n = applogic::bellCode(applogic::Bytes(reinterpret_cast<const uint8_t*>(shiftJis.data()),
                                                         static_cast<int32_t>(shiftJis.size())),
                                         reinterpret_cast<uint8_t*>(out.data()), 16);
    return n < 0 ? std::string() : out.substr(0, static_cast<size_t>(n));
}

// Code (two or four digits) to Shift-JIS text. ASCII comes first, then the
// full-width katakana from the top down, so a code shows its plain form (A
// rather than Ａ, ア rather than ァ).
const std::map<std::string, std::string>& codeTable() {
    static const std::map<std::string, std::string> table = [] {
        std::map<std::string, std::string> t;
        auto add = [&t](const std::string& sjis) {
            const std::string code = bellCodeOf(sjis);
            if (!code.empty()) t.emplace(code, sjis);
        };
        for (int c = 0x20; c < 0x7F; ++c) add(std::string(1, char(c)));
        for (int c = 0x8396; c >= 0x8340; --c) add(std::string{char(c >> 8), char(c & 0xFF)});
        for (int c : {0x818F, 0x81AC, 0x81A4, 0x814A, 0x814B}) add(std::string{char(c >> 8), char(c & 0xFF)});
        return t;
    }();
    return table;
}

std::string decodeTwoDigitCodes(const std::string& digits) {
    std::string sjis;
    const auto& table = codeTable();
    size_t i = 0;
    while (i + 1 < digits.size()) {
        if (i + 3 < digits.size()) {
            const auto voiced = table.find(digits.substr(i, 4));
            if (voiced != table.end()) {
                sjis += voiced->second;
                i += 4;
                continue;
            }
        }
        const auto plain = table.find(digits.substr(i, 2));
        sjis += plain != table.end() ? plain->second : "?";
        i += 2;
    }
    return toUtf8(sjis);
}

std::string decodeKanjiCodes(const std::string& digits) {
    std::string sjis;
    for (size_t i = 0; i < digits.size();) {
        if (digits[i] != '#' || i + 4 >= digits.size()) {
            sjis += '?';
            ++i;
            continue;
        }
        const int value = std::stoi(digits.substr(i + 1, 4));
        const int row = value / 100, cell = value % 100;
        i += 5;
        if (row < 1 || row > 94 || cell < 1 || cell > 94) {
            sjis += '?';
            continue;
        }
        // JIS row and cell to Shift-JIS.
        const int lead = row <= 62 ? (row + 1) / 2 + 0x80 : (row + 1) / 2 + 0xC0;
        int trail = row % 2 == 1 ? cell + 0x3F : cell + 0x9E;
        if (row % 2 == 1 && trail >= 0x7F) ++trail;
        sjis += char(lead);
        sjis += char(trail);
    }
    return toUtf8(sjis);
}

}  // namespace

DecodedMessage decodeKeyedDigits(const std::string& digits) {
    DecodedMessage decoded;
    std::string message = digits;
    const size_t melodyAt = digits.find("*6*6");
    if (melodyAt != std::string::npos) {
        decoded.melody = digits.substr(melodyAt + 4);
        message = digits.substr(0, melodyAt);
    }
    if (message.rfind("*2*2", 0) == 0) {
        decoded.text = decodeTwoDigitCodes(message.substr(4));
    } else {
        decoded.kanji = !message.empty();
        decoded.text = decodeKanjiCodes(message);
    }
    return decoded;
}

}  // namespace modemsim
