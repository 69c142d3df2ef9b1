// The modem side of a transmission: dial strings checked before they reach
// the modem, the message digits split into dial commands, and the modem's
// answers read back.
#pragma once

#include <cstdint>

#include "ByteText.h"

namespace applogic {

// A dial string without spaces and "-"; only dialling characters (0-9 * # ,
// A-D W P T ! @) are accepted, so no text can add modem commands. Returns
// the length written, or -1 when the text holds any other character (or the
// buffer is too small; text.size always suffices).
int32_t filterDialString(Bytes text, uint8_t* out, int32_t capacity);

// The first command of a call, with its "AT": "AT" + ("X3" when dialling
// through an extension) + "DT" (tone) or "DP" (pulse) + (the outside-line
// prefix when through an extension) + centre + ";" + CR. The prefix and the
// centre pass filterDialString; -1 when either is refused (or does not fit).
int32_t centreDialCommand(bool tone, bool extension, Bytes outsideLinePrefix, Bytes centre, uint8_t* out,
                          int32_t capacity);

// The recipient's command, without "AT": "DT" + number + "#;" + CR; the
// number passes filterDialString (-1 when refused).
int32_t recipientDialCommand(Bytes number, uint8_t* out, int32_t capacity);

// The progress maximum of a transmission in ticks (60 a second): 25 s to
// reach the centre, 10 s for the recipient and 10 s per block.
constexpr int32_t modemProgressMaximum(int32_t blockCount) { return (25 + 10 + 10 * blockCount) * 60; }

// The message digits go out in dial commands: while more than 29 digits
// remain, "DT" + the next 32 digits + ";" + CR; then "DT" + the rest +
// "##;" + CR, the rest possibly empty.
inline constexpr int32_t kDigitsPerBlock = 32;
inline constexpr int32_t kMostDigitsOfLastBlock = 29;

// The number of dial commands that carry the message (the last one included).
int32_t modemBlockCount(int32_t digitCount);

struct DialBlock {
    int32_t offset = 0;
    int32_t length = 0;
    bool last = false;
};
// Block `index` (0-based, below modemBlockCount) of a message of `digitCount` digits.
DialBlock modemBlock(int32_t digitCount, int32_t index);

// The dial command of block `index`: "DT" + its digits + ";" or "##;" + CR.
// At most kDigitsPerBlock + 6 bytes.
int32_t modemBlockCommand(Bytes digits, int32_t index, uint8_t* out, int32_t capacity);

// The modem's failure answers.
enum class ModemAnswer : uint8_t { None, Busy, NoCarrier, NoDialtone, NoAnswer, Error };

// The first failure answer among the complete lines (ended by CR or LF) of
// the text received from the modem; None when there is none (yet).
ModemAnswer findModemFailure(Bytes received);

// The answer as the modem words it ("BUSY", "NO CARRIER", ...); empty for None.
Bytes modemAnswerText(ModemAnswer answer);

}  // namespace applogic
