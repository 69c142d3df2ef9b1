// Melodies: tempo digits, the listing and play list of typed digits, note
// counts, and the import of melody files built from the byte tables.
#include <gtest/gtest.h>

#include <string>

#include "LogicTestSupport.h"
#include "logic/AlsImport.h"
#include "logic/Melody.h"

namespace {

using namespace logic_test;
using namespace applogic;

TEST(Tempo, DigitsAndQuantisation) {
    const int32_t table[] = {60, 72, 84, 96, 108, 114, 126, 138, 150, 168};
    for (int d = 0; d < 10; ++d) EXPECT_EQ(tempoOfDigit(uint8_t('0' + d)), table[d]);
    EXPECT_EQ(tempoOfDigit('x'), 0);
    struct Case {
        int32_t bpm, quantised;
        char digit;
    };
    const Case cases[] = {{-132, 60, '0'}, {65, 60, '0'}, {66, 72, '1'},  {101, 96, '3'},  {108, 108, '4'},
                          {110, 108, '4'}, {111, 114, '5'}, {120, 126, '6'}, {143, 138, '7'}, {159, 150, '8'},
                          {160, 168, '9'}, {378, 168, '9'}};
    for (const Case& c : cases) {
        const QuantisedTempo t = quantiseTempo(c.bpm);
        EXPECT_EQ(t.bpm, c.quantised) << c.bpm;
        EXPECT_EQ(t.digit, c.digit) << c.bpm;
    }
}

TEST(Melody, CountsAreNeverNegative) {
    EXPECT_EQ(melodyNoteCount(0), 0);
    EXPECT_EQ(melodyNoteCount(5), 0);
    EXPECT_EQ(melodyNoteCount(11), 2);
    EXPECT_EQ(melodyNoteCount(5 + 65 * 3), 65);
    EXPECT_EQ(melodyLengthShare(0), 0);
    EXPECT_EQ(melodyLengthShare(4), 0);
    EXPECT_EQ(melodyLengthShare(11), 4);
}

TEST(Melody, BeatsWrittenLikeTheRuntimeWritesNumbers) {
    struct Case {
        int32_t twelfths;
        const char* text;
    };
    const Case cases[] = {{12, "1"}, {18, "1.5"}, {4, "0.3333333"}, {8, "0.6666667"}, {3, "0.25"}, {0, "0"},
                          {30, "2.5"}, {1, "0.0833333"}, {5, "0.4166667"}, {54, "4.5"}, {42, "3.5"}, {48, "4"}};
    for (const Case& c : cases) {
        uint8_t buffer[32];
        ByteWriter out(buffer, 32);
        putBeats(out, c.twelfths);
        EXPECT_EQ(str(out.written()), c.text);
        char model[32];
        snprintf(model, sizeof model, "%.7f", c.twelfths / 12.0);
        std::string trimmed = model;
        while (trimmed.back() == '0') trimmed.pop_back();
        if (trimmed.back() == '.') trimmed.pop_back();
        EXPECT_EQ(str(out.written()), trimmed);
    }
}

struct Listing {
    bool started;
    std::string listing, playList;
    int32_t bpm;
};

Listing makeMelo(const std::string& digits, int32_t currentBpm = 120) {
    std::string l(size_t(melodyListingCapacity(int32_t(digits.size()))), '\0');
    std::string p(size_t(melodyPlayListCapacity(int32_t(digits.size()))), '\0');
    ByteWriter listing(reinterpret_cast<uint8_t*>(l.data()), int32_t(l.size()));
    ByteWriter playList(reinterpret_cast<uint8_t*>(p.data()), int32_t(p.size()));
    MelodyListing melody(bytes(digits), currentBpm, listing, playList);
    Listing result{melody.start(), "", "", 0};
    if (result.started) {
        while (melody.next()) {
        }
        melody.finish();
    }
    EXPECT_FALSE(listing.overflowed() || playList.overflowed());
    result.listing = convert(str(listing.written()), "UTF-8", "CP932");
    result.playList = str(playList.written());
    result.bpm = melody.bpm();
    return result;
}

TEST(MakeMelo, ListingAndPlayList) {
    struct Case {
        const char* digits;
        const char* listing;
        const char* playList;
    };
    const Case cases[] = {
        {"4415425", "Tempo=108\r\nド(４)レ(４)\r\nEnd", "1#60#1#62#FF"},
        {"4415201", "Tempo=108\r\nド(４+８)\r\nEnd", "1#60#0.5#0#FF"},
        {"4\r\n415\r\n425", "Tempo=108\r\nド(４)レ(４)\r\nEnd", "1#60#1#62#FF"},
        {"0653554077", "Tempo=60\r\nソ▼(２)ソ＃▼(４．)シ▲(全)\r\nEnd", "2#55#1.5#56#4#83#FF"},
        {"9800900", "Tempo=168\r\n休(８分３連)休(４分３連)\r\nEnd", "0.3333333#0#0.6666667#0#FF"},
        // A tie with nothing before it is a rest.
        {"4201415", "Tempo=108\r\n休(８)ド(４)\r\nEnd", "0.5#0#1#60#FF"},
        // An unknown pitch keeps the previous note; an unknown length the previous length.
        {"4415499x25", "Tempo=108\r\nド(４)ド(４)レ(４)\r\nEnd", "1#60#1#60#1#62#FF"},
        {"4499", "Tempo=108\r\n(４)\r\nEnd", "1#0#FF"},
        // A group cut short still makes an entry.
        {"44154", "Tempo=108\r\nド(４)ド(４)\r\nEnd", "1#60#1#60#FF"},
        {"4", "Tempo=108\r\n\r\nEnd", "FF"},
    };
    for (const Case& c : cases) {
        const Listing l = makeMelo(c.digits);
        EXPECT_TRUE(l.started);
        EXPECT_EQ(l.listing, c.listing) << c.digits;
        EXPECT_EQ(l.playList, c.playList) << c.digits;
    }
}

TEST(MakeMelo, NoDigitsAndNoTempoDigit) {
    EXPECT_FALSE(makeMelo("").started);
    EXPECT_FALSE(makeMelo("\r\n").started);
    const Listing l = makeMelo("x415", 96);
    EXPECT_EQ(l.bpm, 96);
    EXPECT_EQ(l.listing, "Tempo=96\r\nド(４)\r\nEnd");
}

struct Imported {
    bool hasSong = false;
    std::string title, digits, listing, playList;
    int32_t tempo = 0, notes = 0;
    std::string extras;  // extra digit count per note
};

Imported importAls(const std::string& file) {
    Imported r;
    r.title = str(alsTitle(bytes(file)));
    Bytes song;
    r.hasSong = alsSong(bytes(file), song);
    if (!r.hasSong) return r;
    r.tempo = alsTempo(song);
    std::string d(size_t(alsDigitsCapacity(int32_t(file.size()))), '\0');
    std::string l(size_t(alsListingCapacity(int32_t(file.size()))), '\0');
    std::string p(size_t(alsPlayListCapacity(int32_t(file.size()))), '\0');
    ByteWriter digits(reinterpret_cast<uint8_t*>(d.data()), int32_t(d.size()));
    ByteWriter listing(reinterpret_cast<uint8_t*>(l.data()), int32_t(l.size()));
    ByteWriter playList(reinterpret_cast<uint8_t*>(p.data()), int32_t(p.size()));
    AlsConverter converter(song, digits, listing, playList);
    int32_t lastProgress = 0;
    while (converter.next()) {
        EXPECT_GT(converter.progress(), lastProgress);
        EXPECT_LE(converter.progress(), converter.progressMaximum() + 1);
        lastProgress = converter.progress();
        r.extras += std::to_string(converter.lastExtraDigits()) + ",";
    }
    converter.finish();
    EXPECT_FALSE(digits.overflowed() || listing.overflowed() || playList.overflowed());
    r.digits = str(digits.written());
    r.listing = convert(str(listing.written()), "UTF-8", "CP932");
    r.playList = str(playList.written());
    r.notes = converter.notes();
    return r;
}

// A file: a byte, the title, 0xFD, then a decoy "FDF1" at an odd hex position
// (the bytes 0F DF 10), then FD F1 and the song.
std::string alsFile(const std::string& song) {
    return std::string("\x01") + sjis("テスト曲") + "\xFD\x0F\xDF\x10" + "\xFD\xF1" + song;
}

TEST(AlsImport, TitleTempoAndEveryDurationByte) {
    const std::string song = std::string("\x7E", 1) +
                             "\xC0\x2E" "\xC1\x2F" "\xC2\x30" "\xC3\x31" "\xC4\x32" "\xC5\x33" "\xC6\x34"
                             "\xC7\x35" "\xC8\x36" "\xC9\x37" "\xCA\x38" "\xCB\x39" "\xCC\x3A" "\xCD\x3B"
                             "\xCE\x3C" "\xCF\x3D" "\xD0\x3E" "\xD1\x4A" "\xFF";
    const Imported r = importAls(alsFile(song));
    ASSERT_TRUE(r.hasSong);
    EXPECT_EQ(convert(r.title, "UTF-8", "CP932"), "テスト曲");
    EXPECT_EQ(r.tempo, 120);
    EXPECT_EQ(quantiseTempo(r.tempo).digit, '6');
    EXPECT_EQ(r.notes, 18);
    EXPECT_EQ(r.digits,
              "053" "754" "663" "564" "473" "315" "216" "825" "126" "135" "145" "146" "155" "156"
              "665201" "066201" "475101" "677401201");
    EXPECT_EQ(r.extras, "0,0,0,0,0,0,0,0,0,0,0,0,0,0,3,3,3,6,");
    EXPECT_EQ(r.listing,
              "ソ▼(全)ソ＃▼(２．)ラ▼(２)ラ＃▼(４．)シ▼(４)ド(８．)ド＃(８)レ(３連)レ＃(６連)ミ(１６)"
              "ファ(５連)ファ＃(３２)ソ(６４)ソ＃(１２８)ラ(２+８)ラ＃(全+８)シ(４+１６)シ▲(２+４+８)\r\nEnd");
    EXPECT_EQ(r.playList,
              "4#55#3#56#2#57#1.5#58#1#59#0.75#60#0.5#61#0.3333333#62#0.25#63#0.25#64#0.25#65#0.25#66#"
              "0.25#67#0.25#68#2.5#69#4.5#70#1.25#71#3.5#83#FF");
}

TEST(AlsImport, TiesRestsUnknownPitchesAndTheKeepByte) {
    // C4 C6 35: a quarter tied to an eighth; A1 keeps the previous name; 00 a
    // rest; 20 and 4B no pitch of the table; C4 CE 3A: a quarter tied to a
    // half and an eighth.
    const std::string song = std::string("\x78", 1) + "\xC4\xC6\x35" "\xA1\x36" "\xC2" + std::string("\x00", 1) +
                             "\xC4\x20" "\xC4\x4B" "\xC4\xCE\x3A" "\xFF" "\xC4\x2E";
    const Imported r = importAls(alsFile(song));
    EXPECT_EQ(r.tempo, 108);
    EXPECT_EQ(quantiseTempo(r.tempo).digit, '4');
    EXPECT_EQ(r.digits, "425201" "426" "600" "400" "400" "455201601");
    EXPECT_EQ(r.listing, "レ(８)レ＃(８)休(２)？(４)？(４)ソ(２+８)\r\nEnd");
    EXPECT_EQ(r.playList, "1.5#62#0#63#2#0#1#0#1#0#3.5#67#FF");
}

TEST(AlsImport, DamagedFiles) {
    // No marker (only a decoy at an odd position): no song.
    EXPECT_FALSE(importAls("\x01Title\xFD\x0F\xDF\x10\xC4\x2E").hasSong);
    EXPECT_FALSE(importAls("").hasSong);
    EXPECT_FALSE(importAls("\x01T\xFD\xFD\xF1").hasSong);  // nothing after the marker
    // Truncated song data: the note without its pitch is dropped; no end byte is needed.
    Imported r = importAls(alsFile("\x7E\xC4\x2E\xC4\xC6"));
    EXPECT_EQ(r.digits, "453");
    EXPECT_EQ(r.playList, "1#55#FF");
    // No title field: the title is empty (the caller uses the file name).
    r = importAls(std::string("\xFD\xF1\x7E\xC4\x2E\xFF", 6));
    EXPECT_EQ(r.title, "");
    EXPECT_EQ(r.digits, "453");
    // Duration bytes the table lacks count nothing.
    r = importAls(alsFile("\x7E\xC4\xE0\xFE\x2E\xFF"));
    EXPECT_EQ(r.digits, "453");
    EXPECT_EQ(r.playList, "1#55#FF");
}

}  // namespace
