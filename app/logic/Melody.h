// Melodies: the tempo digit, the readable listing and play list of typed
// melody digits, note counts, and the shared tables of durations and pitches.
//
// Beats are counted in twelfths of a beat (every note length of the tables is
// a whole number of them) and written into the play list as the runtime's
// number-to-text conversion writes them: up to seven decimals, trailing zeros
// removed ("1", "1.5", "0.3333333").
#pragma once

#include <cstdint>

#include "ByteText.h"

namespace applogic {

// Beats per minute of a tempo digit, or 0 for any other byte.
int32_t tempoOfDigit(uint8_t digit);

// A tempo quantised to the nearest table tempo at or below the thresholds of
// the tempo table.
struct QuantisedTempo {
    int32_t bpm;
    uint8_t digit;
};
QuantisedTempo quantiseTempo(int32_t bpm);

// Notes of melody digits that carry their "*6*6" prefix and tempo digit, and
// the melody's share of the message length; neither is ever negative.
int32_t melodyNoteCount(int32_t melodyTextLength);
int32_t melodyLengthShare(int32_t melodyTextLength);

// "Tempo=" + the tempo in decimal + CRLF: the first line of a listing.
void putTempoLine(ByteWriter& out, int32_t bpm);

// Writes beats given in twelfths the way the play list holds them.
void putBeats(ByteWriter& out, int32_t twelfths);

// The MIDI note and Shift-JIS name of a two-digit pitch code; false for a
// code the table lacks ("00" is the rest, note 0; "01" the tie is not a pitch).
bool pitchOfCode(uint8_t tens, uint8_t units, int32_t& note, Bytes& name);

// Builds the listing ("Tempo=" + BPM + CRLF, then pitch name + "(" + length
// name + ")" per note, then CRLF + "End") and the play list (beats + "#" +
// note + "#" per note, then "FF") of typed melody digits: a tempo digit, then
// groups of a duration digit and a two-digit pitch code. One group per call
// of next(), so the caller can stop a long conversion early.
class MelodyListing {
public:
    // `digits`: the typed text (CR and LF are skipped); `currentBpm`: the tempo
    // kept when the first character is no tempo digit.
    MelodyListing(Bytes digits, int32_t currentBpm, ByteWriter& listing, ByteWriter& playList);

    // Writes the tempo line; false when there are no digits at all.
    bool start();
    // Converts the next group; false when none is left.
    bool next();
    // Ends both texts.
    void finish();

    int32_t bpm() const { return bpm_; }
    int32_t groups() const { return groups_; }

private:
    bool readDigit(uint8_t& digit);

    Bytes digits_;
    int32_t position_ = 0;
    int32_t bpm_;
    ByteWriter& listing_;
    ByteWriter& playList_;
    int32_t twelfths_ = 0;  // of the last known duration digit
    Bytes lengthName_;
    int32_t note_ = 0;      // of the last known pitch code
    Bytes pitchName_;
    bool hasEntry_ = false;
    int32_t groups_ = 0;
};

// Play list capacity for typed melody digits of the given size, and listing capacity.
constexpr int32_t melodyPlayListCapacity(int32_t digitsSize) { return 8 * digitsSize + 8; }
constexpr int32_t melodyListingCapacity(int32_t digitsSize) { return 10 * digitsSize + 32; }

}  // namespace applogic
