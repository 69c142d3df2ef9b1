#include "MailMessage.h"

#include "MessageEncoding.h"

namespace applogic {
namespace {

void putWithoutLineBreaks(ByteWriter& out, Bytes value) {
    for (int32_t i = 0; i < value.size; ++i) {
        if (value[i] != 13 && value[i] != 10) out.put(value[i]);
    }
}

void putCrlf(ByteWriter& out) { out.put(win32Crlf()); }

// CR, LF and CR LF all become CR LF; a line that starts with "." gets a
// second "." so the server never takes it for the end of the data.
int32_t normaliseLines(Bytes text, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    bool lineStart = true;
    for (int32_t i = 0; i < text.size; ++i) {
        const uint8_t b = text[i];
        if (b == 13 || b == 10) {
            putCrlf(out);
            if (b == 13 && i + 1 < text.size && text[i + 1] == 10) ++i;
            lineStart = true;
            continue;
        }
        if (lineStart && b == '.') out.put('.');
        out.put(b);
        lineStart = false;
    }
    return out.result();
}

}  // namespace

int32_t trimmedMelody(Bytes melody, int32_t noteLimit, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    putWithoutLineBreaks(out, melody);
    if (out.overflowed()) return -1;
    const int32_t notes = out.length() / 3;
    if (noteLimit < 0) noteLimit = 0;
    if (notes > noteLimit) out.truncate(noteLimit * 3 + 5);
    return out.result();
}

int32_t mailTextCapacity(const MailBody& body) {
    const int32_t plain = 40 + body.phone.size + body.replyNumber.size + body.message.size + body.melody.size;
    return 2 * jsjisToJisStringCapacity(plain);
}

int32_t buildMailText(const MailBody& body, uint8_t* scratch, int32_t scratchCapacity, uint8_t* buffer,
                      int32_t capacity) {
    ByteWriter plain(scratch, scratchCapacity);
    plain.put(Bytes("PHSNO="));
    putWithoutLineBreaks(plain, body.phone);
    putCrlf(plain);
    plain.put(Bytes("RESNO="));
    putWithoutLineBreaks(plain, body.replyNumber);
    putCrlf(plain);
    plain.put(Bytes("MSG="));
    plain.put(body.message);
    if (body.attachMelody) {
        plain.put(Bytes("]]"));
        const int32_t start = plain.length();
        const int32_t left = scratchCapacity - start;
        const int32_t melodyLength = trimmedMelody(body.melody, body.noteLimit, scratch + start, left < 0 ? 0 : left);
        if (melodyLength < 0) return -1;
        // The digits after the "*6*6" prefix, moved down over it.
        for (int32_t i = 4; i < melodyLength; ++i) plain.put(scratch[start + i]);
    }
    if (plain.overflowed()) return -1;
    const int32_t encoded = jsjisToJisString(plain.written(), buffer, capacity);
    if (encoded < 0) return -1;
    const int32_t lines = normaliseLines(Bytes(buffer, encoded), scratch, scratchCapacity);
    if (lines < 0 || lines > capacity) return -1;
    for (int32_t i = 0; i < lines; ++i) buffer[i] = scratch[i];
    return lines;
}

int32_t smtpCommand(Bytes prefix, Bytes value, Bytes suffix, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    out.put(prefix);
    putWithoutLineBreaks(out, value);
    out.put(suffix);
    putCrlf(out);
    return out.result();
}

int32_t buildMailData(Bytes from, Bytes to, Bytes mailText, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    out.put(Bytes("Subject: Pokpok's Sutakiba"));
    putCrlf(out);
    out.put(Bytes("From: "));
    putWithoutLineBreaks(out, from);
    putCrlf(out);
    out.put(Bytes("To: "));
    putWithoutLineBreaks(out, to);
    putCrlf(out);
    out.put(Bytes("MIME-Version: 1.0"));
    putCrlf(out);
    out.put(Bytes("X-Mailer: Pokpok's Sutakiba W100"));
    putCrlf(out);
    out.put(Bytes("Content-Type: text/plain; charset=iso-2022-jp"));
    putCrlf(out);
    putCrlf(out);
    out.put(mailText);
    putCrlf(out);
    putCrlf(out);
    out.put('.');
    putCrlf(out);
    return out.result();
}

}  // namespace applogic
