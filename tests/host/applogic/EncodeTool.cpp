// A test helper: runs one of the application's encoders over standard input
// and writes the result to standard output, so scripts can compare it with
// independent encoders.  Usage: app-logic-encode jis|kanji|bell|hex
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "logic/MessageEncoding.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string mode = argv[1];
    const std::string input((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    const applogic::Bytes text(reinterpret_cast<const uint8_t*>(input.data()), static_cast<int32_t>(input.size()));
    std::vector<uint8_t> out(static_cast<size_t>(applogic::jsjisToJisStringCapacity(text.size)) + 16);
    const int32_t capacity = static_cast<int32_t>(out.size());
    int32_t n = -1;
    if (mode == "jis") n = applogic::jsjisToJisString(text, out.data(), capacity);
    else if (mode == "kanji") n = applogic::kanjiCode(text, out.data(), capacity);
    else if (mode == "bell") n = applogic::bellCode(text, out.data(), capacity);
    else if (mode == "hex") n = applogic::stringToHexString(text, out.data(), capacity);
    if (n < 0) return 1;
    std::fwrite(out.data(), 1, static_cast<size_t>(n), stdout);
    return 0;
}
