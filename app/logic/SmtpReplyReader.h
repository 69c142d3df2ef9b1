// Reads SMTP replies from the bytes a server sends, in whatever pieces they
// arrive. A reply ends with its final line: three digits followed by a space
// (or by the line end); lines with "-" after the code continue a multi-line
// reply. Every complete reply yields its code once.
#pragma once

#include <cstdint>

#include "ByteText.h"

namespace applogic {

// A reply code that means failure: above 400, or a line with no code at all.
constexpr bool isSmtpFailure(int32_t code) { return code > 400 || code <= 0; }

class SmtpReplyReader {
public:
    // Takes the next received bytes.
    void feed(Bytes received);
    // The code of the next complete reply, in order; false when none is
    // waiting. A final line that starts without a three-digit code gives 0.
    bool takeReply(int32_t& code);
    // Forgets partial lines and waiting replies (a new connection).
    void reset();

private:
    void endLine();

    static constexpr int32_t kQueueSize = 16;
    uint8_t head_[4] = {};     // the first bytes of the current line
    int32_t headLength_ = 0;
    int32_t queue_[kQueueSize] = {};
    int32_t first_ = 0;
    int32_t count_ = 0;
};

}  // namespace applogic
