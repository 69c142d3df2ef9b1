// Turns the digits keyed into a message centre back into the text the
// handset shows: two-digit codes after "*2*2", "#" and four-digit kanji codes
// otherwise, and the melody after "*6*6" as its digits. The code table is
// built by running the application's own encoder over every character it
// accepts, so the two cannot drift apart.
#pragma once

#include <string>

namespace modemsim {

struct DecodedMessage {
    std::string text;    // UTF-8
    std::string melody;  // the melody digits after "*6*6" (tempo digit first), or empty
    bool kanji = false;  // kanji codes (else two-digit codes)
};

DecodedMessage decodeKeyedDigits(const std::string& digits);

}  // namespace modemsim
