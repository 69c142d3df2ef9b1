// The preferences file: fourteen lines of text, one value per line, in a
// fixed order. These routines decide what a line means when it is read back
// and what is written for each value; the application moves the values
// between the file and its controls.
//
// A damaged file never stops the application: a missing line reads as the
// empty text, and a numeric line that holds no number is ignored, so the
// laid-out value stays.
#pragma once

#include <cstdint>

#include "ByteText.h"

namespace applogic {

// The lines of the file, in order (line 1 is WindowTop).
enum class PreferenceLine : int32_t {
    WindowTop = 0,
    WindowLeft,
    DialThroughExtension,
    OutsideLinePrefix,
    LineType,
    SerialPortIndex,
    MelodyNoteLimit,
    MailAddress,
    SmtpServer,
    SmtpPort,
    ReplyNumber,
    SendByMail,
    CopyToSelf,
    ManualSending,
};
inline constexpr int32_t kPreferenceLineCount = 14;

// The file's name (Shift-JIS "すたきば初期設定"), its type and creator.
inline constexpr char kPreferencesFileName[] = "\x82\xB7\x82\xBD\x82\xAB\x82\xCE\x8F\x89\x8A\xFA\x90\xDD\x92\xE8";
inline constexpr char kPreferencesFileType[] = "pref";
inline constexpr char kPreferencesFileCreator[] = "PmeC";

// Check boxes are written "True" or "False" and checked only by "True".
Bytes flagText(bool checked);
bool flagFromLine(Bytes line);

// The line type: "Tone" or "Pulse". A line that is neither changes nothing.
enum class LineTypeChoice : uint8_t { Unchanged, Tone, Pulse };
Bytes lineTypeText(bool tone);
LineTypeChoice lineTypeFromLine(Bytes line);

// A whole number as written by the number-to-string conversion: optional
// blanks, an optional sign, digits, optionally a fraction (dropped, as the
// truncating conversion does). False for anything else, an empty line or a
// value outside the 32-bit range; `value` is then left as it was.
bool integerFromLine(Bytes line, int32_t& value);

// A window position worth restoring: the title bar stays reachable on any
// screen the application can be shown on.
inline constexpr int32_t kMostWindowCoordinate = 8000;
inline constexpr int32_t kLeastWindowCoordinate = -200;
constexpr bool isUsableWindowCoordinate(int32_t v) {
    return v >= kLeastWindowCoordinate && v <= kMostWindowCoordinate;
}

// The row of the serial port menu to select from the file's line: the row
// read when it names one of `rowCount` rows, else row 0 (the first port).
int32_t serialRowFromLine(Bytes line, int32_t rowCount);

}  // namespace applogic
