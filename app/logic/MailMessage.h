// The mail to the carrier's gateway: the keyword body (PHSNO, RESNO, MSG and
// the melody after "]]") in ISO-2022-JP with CRLF line ends and dot-stuffing,
// the six headers, and SMTP command lines whose values cannot break a line.
#pragma once

#include <cstdint>

#include "ByteText.h"

namespace applogic {

struct MailBody {
    Bytes phone;        // the recipient's handset number
    Bytes replyNumber;  // the number to reply to
    Bytes message;      // Shift-JIS text
    bool attachMelody = false;
    Bytes melody;       // melody digits with their "*6*6" prefix
    int32_t noteLimit = 0;
};

// A size that suffices for both buffers of buildMailText.
int32_t mailTextCapacity(const MailBody& body);

// The mail text: "PHSNO=" + phone + CRLF + "RESNO=" + reply number + CRLF +
// "MSG=" + message, with "]]" + the melody digits after their "*6*6" when a
// melody is attached (CR and LF removed, cut to `noteLimit` notes), encoded in
// ISO-2022-JP; every line end becomes CRLF and a line that starts with "."
// gets a second one. CR and LF in the numbers are removed. `scratch` is a
// work buffer; returns the length written to `out` or -1.
int32_t buildMailText(const MailBody& body, uint8_t* scratch, int32_t scratchCapacity, uint8_t* out,
                      int32_t capacity);

// The melody digits as they go out after a message: CR and LF removed, and
// when the melody has more than `noteLimit` notes, its first
// noteLimit × 3 + 5 characters.
int32_t trimmedMelody(Bytes melody, int32_t noteLimit, uint8_t* out, int32_t capacity);

// An SMTP command line: prefix + value (without CR and LF) + suffix + CRLF,
// such as "MAIL FROM:<" + address + ">".
int32_t smtpCommand(Bytes prefix, Bytes value, Bytes suffix, uint8_t* out, int32_t capacity);

// What follows DATA: the six header lines and the empty line, the mail text,
// CRLF, then CRLF "." CRLF. CR and LF in the header values are removed.
int32_t buildMailData(Bytes from, Bytes to, Bytes mailText, uint8_t* out, int32_t capacity);
constexpr int32_t mailDataCapacity(int32_t fromSize, int32_t toSize, int32_t textSize) {
    return 200 + fromSize + toSize + textSize;
}

}  // namespace applogic
