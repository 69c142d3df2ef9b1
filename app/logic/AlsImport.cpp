#include "AlsImport.h"

#include "Melody.h"
#include "MelodyTables.h"

namespace applogic {
namespace {

constexpr uint8_t kEndOfSong = 0xFF;
constexpr uint8_t kFirstDurationByte = 0xC0;
constexpr uint8_t kKeepLengthByte = 0xA1;  // a quarter digit that keeps the previous name
constexpr uint8_t kFirstPitchByte = 0x2E;

const ImportedLength* importedLength(uint8_t byte) {
    for (const ImportedLength& length : kImportedLengths) {
        if (length.byte == byte) return &length;
    }
    return nullptr;
}

bool isFurtherDuration(uint8_t byte) { return byte >= kFirstDurationByte && byte != kEndOfSong; }

}  // namespace

Bytes alsTitle(Bytes file) {
    int32_t end = 0;
    while (end < file.size && file[end] != 0xFD) ++end;
    return file.first(end).from(1);
}

bool alsSong(Bytes file, Bytes& song) {
    for (int32_t i = 0; i + 1 < file.size; ++i) {
        if (file[i] == 0xFD && file[i + 1] == 0xF1) {
            song = file.from(i + 2);
            return !song.empty();
        }
    }
    return false;
}

int32_t alsTempo(Bytes song) { return song.empty() ? 0 : song[0] * 2 - 132; }

AlsConverter::AlsConverter(Bytes song, ByteWriter& digits, ByteWriter& listing, ByteWriter& playList)
    : song_(song), digits_(digits), listing_(listing), playList_(playList) {}

bool AlsConverter::next() {
    if (position_ >= song_.size || song_[position_] == kEndOfSong) return false;
    // The first byte of a note is always its duration.
    const uint8_t first = song_[position_];
    const ImportedLength* firstLength = importedLength(first);
    int32_t twelfths = 0;
    if (firstLength != nullptr) {
        digit_ = firstLength->digit;
        twelfths = firstLength->twelfths;
        name_ = tableText(firstLength->name);
    } else if (first == kKeepLengthByte) {
        digit_ = '4';
    }
    const int32_t furtherStart = position_ + 1;
    int32_t pitchAt = furtherStart;
    while (pitchAt < song_.size && isFurtherDuration(song_[pitchAt])) {
        if (const ImportedLength* length = importedLength(song_[pitchAt])) {
            twelfths += length->twelfths;
            name_ = tableText(length->name);
        }
        ++pitchAt;
    }
    if (pitchAt >= song_.size || song_[pitchAt] == kEndOfSong) {
        position_ = song_.size;  // truncated: the note has no pitch
        return false;
    }
    const uint8_t pitchByte = song_[pitchAt];
    position_ = pitchAt + 1;

    const char* code = "00";
    int32_t note = 0;
    Bytes pitchName = Bytes::of(kUnknownPitchName, 2);
    if (pitchByte >= kFirstPitchByte && pitchByte < kFirstPitchByte + 29) {
        const PitchEntry& pitch = kPitches[pitchByte - kFirstPitchByte];
        code = pitch.code;
        note = pitch.note;
        pitchName = tableText(pitch.name);
    } else if (pitchByte == 0) {
        pitchName = Bytes::of(kRestName, 2);
    }

    const int32_t before = digits_.length();
    digits_.put(digit_);
    digits_.put(Bytes::of(code, 2));
    if (firstLength != nullptr) digits_.put(tableText(firstLength->extra));
    for (int32_t i = furtherStart; i < pitchAt; ++i) {
        if (const ImportedLength* length = importedLength(song_[i])) {
            // A further length is a tie: its own extra digits, then its digit and "01".
            digits_.put(tableText(length->extra));
            digits_.put(length->digit);
            digits_.put(Bytes("01"));
        }
    }
    lastExtraDigits_ = digits_.length() - before - 3;

    putBeats(playList_, twelfths);
    playList_.put('#');
    playList_.putDecimal(note);
    playList_.put('#');
    listing_.put(pitchName);
    listing_.put('(');
    listing_.put(name_);
    listing_.put(')');
    ++notes_;
    return true;
}

void AlsConverter::finish() {
    playList_.put(Bytes("FF"));
    listing_.put(Bytes("\r\nEnd"));
}

}  // namespace applogic
