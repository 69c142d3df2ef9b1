// The local SMTP server: the dialogue and its rejections, the decoded view of
// a message, and the tool itself over a socket on 127.0.0.1.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ChildProcess.h"
#include "LogicTestSupport.h"
#include "SmtpSession.h"

namespace {

using namespace logic_test;

const std::string kData =
    "Subject: Pokpok's Sutakiba\r\nFrom: user@example.jp\r\nTo: phs@gwchuo.example.jp\r\nMIME-Version: 1.0\r\n"
    "X-Mailer: Pokpok's Sutakiba W100\r\nContent-Type: text/plain; charset=iso-2022-jp\r\n\r\n"
    "PHSNO=090\r\nRESNO=070\r\nMSG=\x1B$B$3$s$K$A$O\x1B(B\r\n..dot]]4415425\r\n\r\n.\r\n";

TEST(SmtpSession, AcceptsAMessageAndUndoesDotStuffing) {
    std::vector<mailsim::ReceivedMail> mails;
    mailsim::SmtpSession s({}, [&](const mailsim::ReceivedMail& m) { mails.push_back(m); });
    EXPECT_EQ(s.greeting().substr(0, 4), "220 ");
    EXPECT_EQ(s.receive("HELO smtp.example.jp\r\nRSET\r\n"), "250 mail-sim.localhost\r\n250 reset\r\n");
    EXPECT_EQ(s.receive("MAIL FROM:<user@example.jp>\r\n").substr(0, 4), "250 ");
    EXPECT_EQ(s.receive("RCPT TO:<phs@gwchuo.example.jp>\r\nRCPT TO:<user@example.jp>\r\n"),
              "250 recipient ok\r\n250 recipient ok\r\n");
    EXPECT_EQ(s.receive("DATA\r\n").substr(0, 4), "354 ");
    EXPECT_EQ(s.receive(kData.substr(0, 100)), "");
    EXPECT_EQ(s.receive(kData.substr(100)), "250 message accepted\r\n");
    EXPECT_EQ(s.receive("QUIT\r\n"), "221 bye\r\n");
    EXPECT_TRUE(s.closed());
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].helo, "smtp.example.jp");
    EXPECT_EQ(mails[0].recipients, (std::vector<std::string>{"phs@gwchuo.example.jp", "user@example.jp"}));
    EXPECT_EQ(mails[0].data, kData.substr(0, kData.size() - 3).replace(kData.find("..dot"), 2, "."));
    const std::string shown = mailsim::describeMail(mails[0]);
    EXPECT_NE(shown.find("MSG=こんにちは\n.dot\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("melody: 4415425"), std::string::npos) << shown;
}

TEST(SmtpSession, RejectsWhereItIsTold) {
    struct Case {
        mailsim::SmtpOptions options;
        std::string input, lastReply;
    };
    const std::string dialogue = "HELO x\r\nMAIL FROM:<a@b>\r\nRCPT TO:<c@d>\r\nRCPT TO:<e@f>\r\nDATA\r\nbody\r\n.\r\n";
    const Case cases[] = {
        {{mailsim::RejectAt::Mail, 0, 1}, "HELO x\r\nMAIL FROM:<a@b>\r\n", "550 sender refused\r\n"},
        {{mailsim::RejectAt::Rcpt, 0, 1}, "HELO x\r\nMAIL FROM:<a@b>\r\nRCPT TO:<c@d>\r\n", "550 no such recipient\r\n"},
        {{mailsim::RejectAt::Rcpt, 0, 2}, "HELO x\r\nMAIL FROM:<a@b>\r\nRCPT TO:<c@d>\r\nRCPT TO:<e@f>\r\n",
         "250 recipient ok\r\n550 no such recipient\r\n"},
        {{mailsim::RejectAt::Data, 0, 1}, dialogue, "552 message refused\r\n"},
        {{mailsim::RejectAt::Data, 554, 1}, dialogue, "554 message refused\r\n"},
    };
    for (const Case& c : cases) {
        int delivered = 0;
        mailsim::SmtpSession s(c.options, [&](const mailsim::ReceivedMail&) { ++delivered; });
        s.greeting();
        const std::string replies = s.receive(c.input);
        EXPECT_EQ(replies.substr(replies.size() - c.lastReply.size()), c.lastReply) << c.input;
        EXPECT_EQ(delivered, 0);
    }
    mailsim::SmtpSession greeting({mailsim::RejectAt::Greeting, 0, 1}, [](const mailsim::ReceivedMail&) {});
    EXPECT_EQ(greeting.greeting(), "554 no service here\r\n");
    EXPECT_TRUE(greeting.closed());
}

class Connection {
public:
    explicit Connection(int port) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(uint16_t(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~Connection() { close(fd_); }
    bool connected() const { return connected_; }
    // Sends `text` and returns what arrives until a line ends in CRLF after `lines` replies.
    std::string exchange(const std::string& text, int lines = 1) {
        if (!text.empty()) send(fd_, text.data(), text.size(), MSG_NOSIGNAL);
        std::string got;
        int count = 0;
        while (count < lines) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 10000) <= 0) break;
            char b[512];
            const ssize_t n = recv(fd_, b, sizeof b, 0);
            if (n <= 0) break;
            got.append(b, size_t(n));
            count = 0;
            for (char c : got) count += c == '\n';
        }
        return got;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

int portOf(ChildProcess& sim) {
    const std::string line = sim.readLine();
    const std::string prefix = "listening on 127.0.0.1:";
    if (line.rfind(prefix, 0) != 0) return -1;
    return std::stoi(line.substr(prefix.size()));
}

TEST(MailSimTool, ReceivesOverASocketAndPrintsTheMessage) {
    const std::string spool = ::testing::TempDir();
    ChildProcess sim({MAIL_SIM_PATH, "--port", "0", "--spool", spool});
    const int port = portOf(sim);
    ASSERT_GT(port, 0);
    Connection c(port);
    ASSERT_TRUE(c.connected());
    EXPECT_EQ(c.exchange("").substr(0, 4), "220 ");
    EXPECT_EQ(c.exchange("HELO 127.0.0.1\r\n"), "250 mail-sim.localhost\r\n");
    EXPECT_EQ(c.exchange("MAIL FROM:<user@example.jp>\r\n").substr(0, 4), "250 ");
    EXPECT_EQ(c.exchange("RCPT TO:<phs@gwchuo.example.jp>\r\n").substr(0, 4), "250 ");
    EXPECT_EQ(c.exchange("DATA\r\n").substr(0, 4), "354 ");
    EXPECT_EQ(c.exchange(kData), "250 message accepted\r\n");
    EXPECT_EQ(c.exchange("QUIT\r\n"), "221 bye\r\n");
    const std::string shown = sim.readUntil("--- end ---");
    EXPECT_NE(shown.find("MSG=こんにちは"), std::string::npos) << shown;
    EXPECT_NE(shown.find("melody: 4415425"), std::string::npos) << shown;
    EXPECT_EQ(sim.stop(), 0);
    std::ifstream eml(spool + "/mail-1.eml", std::ios::binary);
    std::stringstream raw;
    raw << eml.rdbuf();
    EXPECT_NE(raw.str().find("\r\nMSG=\x1B$B$3$s$K$A$O\x1B(B\r\n.dot]]"), std::string::npos);
}

TEST(MailSimTool, RejectsAtTheGreeting) {
    ChildProcess sim({MAIL_SIM_PATH, "--reject", "greeting"});
    const int port = portOf(sim);
    ASSERT_GT(port, 0);
    Connection c(port);
    ASSERT_TRUE(c.connected());
    EXPECT_EQ(c.exchange(""), "554 no service here\r\n");
    EXPECT_EQ(sim.stop(), 0);
}

}  // namespace
