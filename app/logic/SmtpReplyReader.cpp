#include "SmtpReplyReader.h"

namespace applogic {
namespace {

bool isDigit(uint8_t b) { return b >= '0' && b <= '9'; }

}  // namespace

void SmtpReplyReader::feed(Bytes received) {
    for (int32_t i = 0; i < received.size; ++i) {
        const uint8_t b = received[i];
        if (b == 10) {
            endLine();
        } else if (b != 13 && headLength_ < 4) {
            head_[headLength_++] = b;
        }
    }
}

void SmtpReplyReader::endLine() {
    const int32_t length = headLength_;
    headLength_ = 0;
    const bool hasCode = length >= 3 && isDigit(head_[0]) && isDigit(head_[1]) && isDigit(head_[2]);
    if (hasCode && length == 4 && head_[3] == '-') return;  // more lines of this reply follow
    if (length == 0) return;                                // an empty line is no reply
    const int32_t code = hasCode ? (head_[0] - '0') * 100 + (head_[1] - '0') * 10 + (head_[2] - '0') : 0;
    if (count_ == kQueueSize) {
        // A server that floods replies without waiting for commands: the
        // last place reports a failure rather than losing one silently.
        queue_[(first_ + count_ - 1) % kQueueSize] = 0;
        return;
    }
    queue_[(first_ + count_) % kQueueSize] = code;
    ++count_;
}

bool SmtpReplyReader::takeReply(int32_t& code) {
    if (count_ == 0) return false;
    code = queue_[first_];
    first_ = (first_ + 1) % kQueueSize;
    --count_;
    return true;
}

void SmtpReplyReader::reset() {
    headLength_ = 0;
    first_ = 0;
    count_ = 0;
}

}  // namespace applogic
