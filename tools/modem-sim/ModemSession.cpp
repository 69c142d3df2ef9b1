#include "ModemSession.h"

#include <cctype>

namespace modemsim {
namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

ModemSession::ModemSession(ModemOptions options, std::function<void(const std::string&)> log,
                           std::function<void(const DecodedMessage&, const std::string&)> delivered)
    : options_(std::move(options)), log_(std::move(log)), delivered_(std::move(delivered)) {}

std::string ModemSession::receive(const std::string& bytes) {
    std::string answer;
    for (char c : bytes) {
        if (c == '\n') continue;  // a line ends with CR; LF after it is ignored
        if (c != '\r') {
            line_ += c;
            continue;
        }
        const std::string line = line_;
        line_.clear();
        if (line.empty()) continue;
        log_(line);
        if (options_.echo) answer += line + "\r";
        answer += command(line);
    }
    return answer;
}

std::string ModemSession::command(const std::string& line) {
    const std::string text = upper(line);
    if (text.rfind("AT", 0) != 0) return "\r\nERROR\r\n";
    const std::string body = text.substr(2);
    // Dial commands: "D" after the other settings of the line ("X3DT...").
    const size_t d = body.find('D');
    if (d != std::string::npos) {
        ++dials_;
        if (!options_.failAnswer.empty() && dials_ == options_.failAt) {
            inCall_ = false;
            return "\r\n" + options_.failAnswer + "\r\n";
        }
        dial(body.substr(d + 1));
    } else if (body.find('H') != std::string::npos) {
        inCall_ = false;
    }
    return "\r\nOK\r\n";
}

void ModemSession::dial(const std::string& dialString) {
    std::string s = dialString;
    if (!s.empty() && (s[0] == 'T' || s[0] == 'P')) s = s.substr(1);
    const bool staysInCommandMode = !s.empty() && s.back() == ';';
    if (staysInCommandMode) s.pop_back();
    if (!inCall_) {
        // The first dial of a call reaches the centre.
        inCall_ = true;
        callDials_ = 1;
        recipient_.clear();
        digits_.clear();
        return;
    }
    ++callDials_;
    if (callDials_ == 2) {
        // The recipient's number, ended by "#".
        recipient_ = s.size() > 0 && s.back() == '#' ? s.substr(0, s.size() - 1) : s;
        return;
    }
    if (s == "##") {
        delivered_(decodeKeyedDigits(digits_), recipient_);
        digits_.clear();
        callDials_ = 1;  // a further recipient may follow on the same call
        return;
    }
    if (s.size() >= 2 && s.compare(s.size() - 2, 2, "##") == 0) s.resize(s.size() - 2);
    digits_ += s;
}

}  // namespace modemsim
