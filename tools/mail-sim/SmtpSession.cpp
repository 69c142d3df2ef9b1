#include "SmtpSession.h"

#include <iconv.h>

#include <cctype>

namespace mailsim {
namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string reply(int code, const std::string& text) { return std::to_string(code) + " " + text + "\r\n"; }

int codeOr(int configured, int usual) { return configured != 0 ? configured : usual; }

// The address inside "<...>" (or the rest of the line).
std::string address(const std::string& argument) {
    const size_t open = argument.find('<');
    const size_t close = argument.rfind('>');
    if (open != std::string::npos && close != std::string::npos && close > open)
        return argument.substr(open + 1, close - open - 1);
    return argument;
}

std::string fromIso2022Jp(const std::string& text) {
    iconv_t cd = iconv_open("UTF-8", "ISO-2022-JP");
    if (cd == reinterpret_cast<iconv_t>(-1)) return text;
    std::string out(text.size() * 3 + 8, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size(), outLeft = out.size();
    char* outPtr = out.data();
    const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) return "(not valid ISO-2022-JP) " + text;
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

SmtpSession::SmtpSession(SmtpOptions options, std::function<void(const ReceivedMail&)> delivered)
    : options_(options), delivered_(std::move(delivered)) {}

std::string SmtpSession::greeting() {
    if (options_.rejectAt == RejectAt::Greeting) {
        closed_ = true;
        return reply(codeOr(options_.rejectCode, 554), "no service here");
    }
    return reply(220, "mail-sim.localhost ESMTP simulated gateway");
}

std::string SmtpSession::receive(const std::string& bytes) {
    pending_ += bytes;
    std::string replies;
    size_t end;
    while (!closed_ && (end = pending_.find('\n')) != std::string::npos) {
        std::string text = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        replies += inData_ ? dataLine(text) : line(text);
    }
    return replies;
}

std::string SmtpSession::dataLine(const std::string& text) {
    if (text == ".") {
        inData_ = false;
        if (options_.rejectAt == RejectAt::Data) return reply(codeOr(options_.rejectCode, 552), "message refused");
        delivered_(mail_);
        return reply(250, "message accepted");
    }
    mail_.data += (text.rfind('.', 0) == 0 ? text.substr(1) : text) + "\r\n";
    return "";
}

std::string SmtpSession::line(const std::string& text) {
    const std::string verb = upper(text.substr(0, text.find(' ')));
    const std::string command = upper(text);
    if (verb == "HELO" || verb == "EHLO") {
        mail_ = ReceivedMail{};
        mail_.helo = text.size() > 5 ? text.substr(5) : "";
        return reply(250, "mail-sim.localhost");
    }
    if (verb == "RSET") {
        const std::string helo = mail_.helo;
        mail_ = ReceivedMail{};
        mail_.helo = helo;
        return reply(250, "reset");
    }
    if (command.rfind("MAIL FROM:", 0) == 0) {
        if (options_.rejectAt == RejectAt::Mail) return reply(codeOr(options_.rejectCode, 550), "sender refused");
        mail_.from = address(text.substr(10));
        return reply(250, "sender ok");
    }
    if (command.rfind("RCPT TO:", 0) == 0) {
        const int number = static_cast<int>(mail_.recipients.size()) + 1;
        mail_.recipients.push_back(address(text.substr(8)));
        if (options_.rejectAt == RejectAt::Rcpt && number == options_.rejectRcpt) {
            mail_.recipients.pop_back();
            return reply(codeOr(options_.rejectCode, 550), "no such recipient");
        }
        return reply(250, "recipient ok");
    }
    if (verb == "DATA") {
        if (mail_.recipients.empty()) return reply(503, "no recipients");
        inData_ = true;
        return reply(354, "end data with <CR><LF>.<CR><LF>");
    }
    if (verb == "QUIT") {
        closed_ = true;
        return reply(221, "bye");
    }
    if (verb == "NOOP") return reply(250, "ok");
    return reply(500, "command not recognised");
}

std::string describeMail(const ReceivedMail& mail) {
    std::string out = "HELO " + mail.helo + "\nMAIL FROM: " + mail.from + "\n";
    for (const std::string& r : mail.recipients) out += "RCPT TO: " + r + "\n";
    const size_t split = mail.data.find("\r\n\r\n");
    const std::string headers = mail.data.substr(0, split);
    std::string body = split == std::string::npos ? "" : mail.data.substr(split + 4);
    out += headers + "\n\n";
    std::string text = fromIso2022Jp(body);
    const size_t melody = text.find("]]");
    std::string melodyDigits;
    if (melody != std::string::npos) {
        melodyDigits = text.substr(melody + 2);
        text = text.substr(0, melody);
        while (!melodyDigits.empty() && (melodyDigits.back() == '\n' || melodyDigits.back() == '\r')) melodyDigits.pop_back();
    }
    for (char c : text) {
        if (c != '\r') out += c;
    }
    if (!melodyDigits.empty()) out += "\nmelody: " + melodyDigits;
    return out + "\n";
}

}  // namespace mailsim
