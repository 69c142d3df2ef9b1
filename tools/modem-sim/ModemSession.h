// A Hayes-compatible voice modem as the application sees it: command lines
// ending in CR, each answered "OK" (or, at the chosen dial command, the
// configured failure such as "BUSY"), and the digits keyed during the call
// collected into the message that reached the centre.
#pragma once

#include <functional>
#include <string>

#include "KeyedDigits.h"

namespace modemsim {

struct ModemOptions {
    std::string failAnswer;  // answer instead of "OK" at dial command failAt ("" = never fail)
    int failAt = 1;          // 1-based count of dial commands
    bool echo = false;       // echo command lines back, as a modem with E1 does
};

class ModemSession {
public:
    // `log` receives every command line; `delivered` every message once the
    // end mark ("DT##") has been keyed.
    ModemSession(ModemOptions options, std::function<void(const std::string&)> log,
                 std::function<void(const DecodedMessage&, const std::string&)> delivered);

    // Bytes from the application; returns the bytes the modem answers.
    std::string receive(const std::string& bytes);

private:
    std::string command(const std::string& line);
    void dial(const std::string& dialString);

    ModemOptions options_;
    std::function<void(const std::string&)> log_;
    std::function<void(const DecodedMessage&, const std::string&)> delivered_;
    std::string line_;
    int dials_ = 0;
    bool inCall_ = false;
    int callDials_ = 0;      // dial strings sent in this call (1: centre, 2: recipient, then message)
    std::string recipient_;
    std::string digits_;
};

}  // namespace modemsim
