// The tables of note lengths and pitches shared by typed melodies and the
// import of melody files. Names are Shift-JIS.
#pragma once

#include <cstdint>

#include "ByteText.h"

namespace applogic {

inline Bytes tableText(const char* text) {
    int32_t n = 0;
    while (text[n] != 0) ++n;
    return Bytes::of(text, n);
}

// 休 and ？
inline constexpr char kRestName[] = "\x8B\x78";
inline constexpr char kUnknownPitchName[] = "\x81\x48";

struct LengthEntry {
    uint8_t digit;
    int32_t twelfths;
    const char* name;
};
// Duration digits of typed melodies.
inline constexpr LengthEntry kTypedLengths[] = {
    {'0', 48, "\x91\x53"},  // 全
    {'1', 3, "\x82\x50\x82\x55"},  // １６
    {'2', 6, "\x82\x57"},  // ８
    {'3', 9, "\x82\x57\x81\x44"},  // ８．
    {'4', 12, "\x82\x53"},  // ４
    {'5', 18, "\x82\x53\x81\x44"},  // ４．
    {'6', 24, "\x82\x51"},  // ２
    {'7', 36, "\x82\x51\x81\x44"},  // ２．
    {'8', 4, "\x82\x57\x95\xAA\x82\x52\x98\x41"},  // ８分３連
    {'9', 8, "\x82\x53\x95\xAA\x82\x52\x98\x41"},  // ４分３連
};

struct ImportedLength {
    uint8_t byte;
    uint8_t digit;
    const char* extra;  // tie digits that follow the note
    int32_t twelfths;
    const char* name;
};
// Duration bytes of melody files.
inline constexpr ImportedLength kImportedLengths[] = {
    {0xC0, '0', "", 48, "\x91\x53"},  // 全
    {0xC1, '7', "", 36, "\x82\x51\x81\x44"},  // ２．
    {0xC2, '6', "", 24, "\x82\x51"},  // ２
    {0xC3, '5', "", 18, "\x82\x53\x81\x44"},  // ４．
    {0xC4, '4', "", 12, "\x82\x53"},  // ４
    {0xC5, '3', "", 9, "\x82\x57\x81\x44"},  // ８．
    {0xC6, '2', "", 6, "\x82\x57"},  // ８
    {0xC7, '8', "", 4, "\x82\x52\x98\x41"},  // ３連
    {0xC8, '1', "", 3, "\x82\x55\x98\x41"},  // ６連
    {0xC9, '1', "", 3, "\x82\x50\x82\x55"},  // １６
    {0xCA, '1', "", 3, "\x82\x54\x98\x41"},  // ５連
    {0xCB, '1', "", 3, "\x82\x52\x82\x51"},  // ３２
    {0xCC, '1', "", 3, "\x82\x55\x82\x53"},  // ６４
    {0xCD, '1', "", 3, "\x82\x50\x82\x51\x82\x57"},  // １２８
    {0xCE, '6', "201", 30, "\x82\x51\x2B\x82\x57"},  // ２+８
    {0xCF, '0', "201", 54, "\x91\x53\x2B\x82\x57"},  // 全+８
    {0xD0, '4', "101", 15, "\x82\x53\x2B\x82\x50\x82\x55"},  // ４+１６
    {0xD1, '6', "401201", 42, "\x82\x51\x2B\x82\x53\x2B\x82\x57"},  // ２+４+８
};

struct PitchEntry {
    char code[3];
    int32_t note;
    const char* name;
};
// The pitch codes in order of their notes, 55 to 83; melody files number
// them from the byte 0x2E.
inline constexpr PitchEntry kPitches[29] = {
    {"53", 55, "\x83\x5C\x81\xA5"},  // ソ▼
    {"54", 56, "\x83\x5C\x81\x94\x81\xA5"},  // ソ＃▼
    {"63", 57, "\x83\x89\x81\xA5"},  // ラ▼
    {"64", 58, "\x83\x89\x81\x94\x81\xA5"},  // ラ＃▼
    {"73", 59, "\x83\x56\x81\xA5"},  // シ▼
    {"15", 60, "\x83\x68"},  // ド
    {"16", 61, "\x83\x68\x81\x94"},  // ド＃
    {"25", 62, "\x83\x8C"},  // レ
    {"26", 63, "\x83\x8C\x81\x94"},  // レ＃
    {"35", 64, "\x83\x7E"},  // ミ
    {"45", 65, "\x83\x74\x83\x40"},  // ファ
    {"46", 66, "\x83\x74\x83\x40\x81\x94"},  // ファ＃
    {"55", 67, "\x83\x5C"},  // ソ
    {"56", 68, "\x83\x5C\x81\x94"},  // ソ＃
    {"65", 69, "\x83\x89"},  // ラ
    {"66", 70, "\x83\x89\x81\x94"},  // ラ＃
    {"75", 71, "\x83\x56"},  // シ
    {"17", 72, "\x83\x68\x81\xA3"},  // ド▲
    {"18", 73, "\x83\x68\x81\x94\x81\xA3"},  // ド＃▲
    {"27", 74, "\x83\x8C\x81\xA3"},  // レ▲
    {"28", 75, "\x83\x8C\x81\x94\x81\xA3"},  // レ＃▲
    {"37", 76, "\x83\x7E\x81\xA3"},  // ミ▲
    {"47", 77, "\x83\x74\x83\x40\x81\xA3"},  // ファ▲
    {"48", 78, "\x83\x74\x83\x40\x81\x94\x81\xA3"},  // ファ＃▲
    {"57", 79, "\x83\x5C\x81\xA3"},  // ソ▲
    {"58", 80, "\x83\x5C\x81\x94\x81\xA3"},  // ソ＃▲
    {"67", 81, "\x83\x89\x81\xA3"},  // ラ▲
    {"68", 82, "\x83\x89\x81\x94\x81\xA3"},  // ラ＃▲
    {"77", 83, "\x83\x56\x81\xA3"},  // シ▲
};

}  // namespace applogic
