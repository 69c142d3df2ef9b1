// One SMTP conversation as a small gateway sees it: greeting, HELO/EHLO,
// RSET, MAIL FROM, RCPT TO, DATA (dot-stuffing undone), QUIT, with an
// optional rejection at the greeting, at MAIL, at RCPT or after the data.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace mailsim {

enum class RejectAt { Nowhere, Greeting, Mail, Rcpt, Data };

struct SmtpOptions {
    RejectAt rejectAt = RejectAt::Nowhere;
    int rejectCode = 0;  // 0: the usual code of the place (554, 550, 550, 552)
    int rejectRcpt = 1;  // which RCPT TO is refused (1-based)
};

struct ReceivedMail {
    std::string helo;
    std::string from;
    std::vector<std::string> recipients;
    std::string data;  // the message as sent, CRLF line ends, dot-stuffing undone
};

class SmtpSession {
public:
    SmtpSession(SmtpOptions options, std::function<void(const ReceivedMail&)> delivered);

    std::string greeting();
    // Bytes from the client; returns the replies to send.
    std::string receive(const std::string& bytes);
    bool closed() const { return closed_; }

private:
    std::string line(const std::string& text);
    std::string dataLine(const std::string& text);

    SmtpOptions options_;
    std::function<void(const ReceivedMail&)> delivered_;
    std::string pending_;
    bool inData_ = false;
    bool closed_ = false;
    ReceivedMail mail_;
};

// The message decoded for a person: headers, the body in UTF-8 (from
// ISO-2022-JP) and the melody digits after "]]".
std::string describeMail(const ReceivedMail& mail);

}  // namespace mailsim
