// The import of ".als" melody files: the title before the byte 0xFD, the song
// after the first byte pair FD F1 (a tempo byte, then notes of one or more
// duration bytes and a pitch byte, ended by 0xFF), turned into melody digits,
// a listing and a play list. One note per call of next(), so the caller can
// show progress and stop early.
#pragma once

#include <cstdint>

#include "ByteText.h"

namespace applogic {

// The title: the bytes before the first 0xFD, from the second byte on (the
// whole file when there is no 0xFD). Empty when there is nothing.
Bytes alsTitle(Bytes file);

// The song data after the first FD F1 pair; false when the file has none (or
// nothing follows it).
bool alsSong(Bytes file, Bytes& song);

// The tempo of the song's first byte: byte × 2 − 132 beats per minute.
int32_t alsTempo(Bytes song);

class AlsConverter {
public:
    // `song` as alsSong gives it; the notes begin after its tempo byte.
    AlsConverter(Bytes song, ByteWriter& digits, ByteWriter& listing, ByteWriter& playList);

    // Converts the next note: appends its digits (duration digit, two-digit
    // pitch code, extra tie digits), its listing entry and its play list
    // entry. False at 0xFF, at the end of the data, or when the last note
    // lacks its pitch byte (that note is dropped).
    bool next();
    // Ends the play list with "FF" and the listing with CRLF + "End".
    void finish();

    // Hex position of the next byte in the song (1-based, as a progress value).
    int32_t progress() const { return 2 * position_ + 1; }
    int32_t progressMaximum() const { return 2 * song_.size; }
    int32_t notes() const { return notes_; }
    // Digit counts of the last converted note, for colouring: 1 duration
    // digit, 2 pitch digits, then this many extra digits.
    int32_t lastExtraDigits() const { return lastExtraDigits_; }

private:
    Bytes song_;
    int32_t position_ = 1;
    ByteWriter& digits_;
    ByteWriter& listing_;
    ByteWriter& playList_;
    uint8_t digit_ = '4';  // of the previous note, kept for unknown duration bytes
    Bytes name_;
    int32_t notes_ = 0;
    int32_t lastExtraDigits_ = 0;
};

// Buffer sizes that suffice for a file of the given size.
constexpr int32_t alsDigitsCapacity(int32_t fileSize) { return 10 * fileSize + 8; }
constexpr int32_t alsListingCapacity(int32_t fileSize) { return 20 * fileSize + 40; }
constexpr int32_t alsPlayListCapacity(int32_t fileSize) { return 16 * fileSize + 8; }

}  // namespace applogic
