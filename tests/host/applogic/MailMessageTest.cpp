// The mail to the gateway: the keyword body, the headers and commands, the
// message centres and their regions, and reading SMTP replies.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "LogicTestSupport.h"
#include "logic/MailMessage.h"
#include "logic/MessageCentres.h"
#include "logic/SmtpReplyReader.h"

namespace {

using namespace logic_test;
using namespace applogic;

struct BodyInput {
    std::string phone = "09012345678", reply = "07000000000", message, melody;
    bool attach = false;
    int32_t limit = 64;
};

std::string mailText(const BodyInput& in) {
    MailBody body;
    body.phone = bytes(in.phone);
    body.replyNumber = bytes(in.reply);
    body.message = bytes(in.message);
    body.attachMelody = in.attach;
    body.melody = bytes(in.melody);
    body.noteLimit = in.limit;
    const int32_t capacity = mailTextCapacity(body);
    std::string scratch(size_t(capacity), '\0'), out(size_t(capacity), '\0');
    const int32_t n = buildMailText(body, reinterpret_cast<uint8_t*>(scratch.data()), capacity,
                                    reinterpret_cast<uint8_t*>(out.data()), capacity);
    if (n < 0) return "<overflow>";
    return out.substr(0, size_t(n));
}

TEST(MailText, KeywordLinesInIso2022Jp) {
    BodyInput in;
    in.message = sjis("こんにちは");
    EXPECT_EQ(mailText(in), "PHSNO=09012345678\r\nRESNO=07000000000\r\nMSG=\x1B$B$3$s$K$A$O\x1B(B");
    // Half-width katakana arrive full-width.
    in.message = sjis("ｶﾞｲﾄﾞ");
    EXPECT_EQ(convert(mailText(in), "UTF-8", "ISO-2022-JP"), "PHSNO=09012345678\r\nRESNO=07000000000\r\nMSG=ガイド");
}

TEST(MailText, MelodyAfterTheMessageOnlyWhenAttached) {
    BodyInput in;
    in.message = "Hi";
    in.melody = "*6*64415425";
    EXPECT_EQ(mailText(in), "PHSNO=09012345678\r\nRESNO=07000000000\r\nMSG=Hi");
    in.attach = true;
    EXPECT_EQ(mailText(in), "PHSNO=09012345678\r\nRESNO=07000000000\r\nMSG=Hi]]4415425");
    // Line breaks in the melody digits are dropped; the melody is cut to the note limit.
    in.melody = "*6*64\r\n415\n425\r435";
    in.limit = 2;
    EXPECT_EQ(mailText(in), "PHSNO=09012345678\r\nRESNO=07000000000\r\nMSG=Hi]]4415425");
    in.limit = 0;
    EXPECT_EQ(mailText(in), "PHSNO=09012345678\r\nRESNO=07000000000\r\nMSG=Hi]]4");
}

TEST(MailText, LineEndsAndDotStuffing) {
    BodyInput in;
    in.phone = "090\r\n1";
    in.message = "a\nb\rc\r\n.d\r\n..\n.";
    EXPECT_EQ(mailText(in), "PHSNO=0901\r\nRESNO=07000000000\r\nMSG=a\r\nb\r\nc\r\n..d\r\n...\r\n..");
    in.message = sjis("あ\n.い");
    EXPECT_EQ(mailText(in), "PHSNO=0901\r\nRESNO=07000000000\r\nMSG=\x1B$B$\"\x1B(B\r\n..\x1B$B$$\x1B(B");
}

TEST(MailData, HeadersInOrderAndTheEnd) {
    const std::string text = "PHSNO=1\r\nRESNO=2\r\nMSG=x";
    const std::string from = "user@example.jp\r\nBcc: x", to = "phs@gwchuo.example.jp";
    std::string out(size_t(mailDataCapacity(int32_t(from.size()), int32_t(to.size()), int32_t(text.size()))), '\0');
    const int32_t n = buildMailData(bytes(from), bytes(to), bytes(text), reinterpret_cast<uint8_t*>(out.data()),
                                    int32_t(out.size()));
    ASSERT_GT(n, 0);
    EXPECT_EQ(out.substr(0, size_t(n)),
              "Subject: Pokpok's Sutakiba\r\n"
              "From: user@example.jpBcc: x\r\n"
              "To: phs@gwchuo.example.jp\r\n"
              "MIME-Version: 1.0\r\n"
              "X-Mailer: Pokpok's Sutakiba W100\r\n"
              "Content-Type: text/plain; charset=iso-2022-jp\r\n"
              "\r\n"
              "PHSNO=1\r\nRESNO=2\r\nMSG=x\r\n\r\n.\r\n");
    EXPECT_EQ(buildMailData(bytes(from), bytes(to), bytes(text), reinterpret_cast<uint8_t*>(out.data()), 40), -1);
}

TEST(SmtpCommand, ValuesCannotBreakTheLine) {
    auto command = [](const char* prefix, const std::string& value, const char* suffix) {
        std::string out(64, '\0');
        const int32_t n = smtpCommand(Bytes::of(prefix, int32_t(strlen(prefix))), bytes(value),
                                      Bytes::of(suffix, int32_t(strlen(suffix))), reinterpret_cast<uint8_t*>(out.data()), 64);
        return n < 0 ? std::string("<overflow>") : out.substr(0, size_t(n));
    };
    EXPECT_EQ(command("MAIL FROM:<", "user@example.jp", ">"), "MAIL FROM:<user@example.jp>\r\n");
    EXPECT_EQ(command("RCPT TO:<", "a@b\r\nRCPT TO:<c@d", ">"), "RCPT TO:<a@bRCPT TO:<c@d>\r\n");
    EXPECT_EQ(command("HELO ", "smtp.example.jp", ""), "HELO smtp.example.jp\r\n");
}

std::string menuRow(int32_t index) {
    std::string out(kMessageCentreMenuRowCapacity, '\0');
    const int32_t n = messageCentreMenuRow(index, reinterpret_cast<uint8_t*>(out.data()), int32_t(out.size()));
    return n < 0 ? "<overflow>" : out.substr(0, size_t(n));
}

std::string gateway(const std::string& number) {
    std::string out(kGatewayAddressCapacity, '\0');
    const int32_t n = gatewayAddress(bytes(number), reinterpret_cast<uint8_t*>(out.data()), int32_t(out.size()));
    return n < 0 ? "<overflow>" : out.substr(0, size_t(n));
}

TEST(MessageCentres, ThirtyEightRowsInSixGroups) {
    std::vector<int> groupSizes(7, 0);
    std::set<std::string> numbers;
    int previousGroup = 1;
    for (int32_t i = 0; i < kMessageCentreCount; ++i) {
        const MessageCentre& centre = messageCentre(i);
        EXPECT_GE(centre.group, previousGroup);
        previousGroup = centre.group;
        ++groupSizes.at(centre.group);
        numbers.insert(centre.number);
        // "<" + name + ">" + number; the number is what follows ">".
        const std::string row = menuRow(i);
        ASSERT_EQ(row.front(), '<');
        EXPECT_EQ(row.substr(row.rfind('>') + 1), centre.number);
        EXPECT_NO_THROW(convert(row, "UTF-8", "CP932")) << i;
    }
    EXPECT_EQ(groupSizes, (std::vector<int>{0, 17, 1, 3, 6, 8, 3}));
    EXPECT_EQ(numbers.size(), 38u);
    EXPECT_EQ(convert(menuRow(0), "UTF-8", "CP932"), "<PHS北海道>00001001");
}

TEST(MessageCentres, RegionsOfTheFirstGroup) {
    const std::vector<std::string> regions = {"hokkaido", "tohoku", "chuo",    "chuo",    "chuo",  "chuo",
                                              "chuo",     "tokai",  "tokai",   "tokai",   "kansai", "kansai",
                                              "kansai",   "chugoku", "chugoku", "shikoku", "kyusyu"};
    for (int32_t i = 0; i < 17; ++i) {
        const std::string number = messageCentre(i).number;
        EXPECT_EQ(str(mailRegion(bytes(number))), regions[size_t(i)]) << i;
        EXPECT_EQ(gateway(number), "phs@gw" + regions[size_t(i)] + ".example.jp");
    }
    for (int32_t i = 17; i < kMessageCentreCount; ++i) EXPECT_EQ(str(mailRegion(bytes(messageCentre(i).number))), "");
    EXPECT_EQ(gateway("0312345678"), "phs@gw.example.jp");
    EXPECT_EQ(gateway(""), "phs@gw.example.jp");
    // Spaces and "-" in a typed number do not matter.
    EXPECT_EQ(gateway("0000-10-17"), "phs@gwkyusyu.example.jp");
    EXPECT_EQ(gateway("0000101"), "phs@gw.example.jp");
}

std::vector<int32_t> replies(SmtpReplyReader& reader, const std::vector<std::string>& pieces) {
    std::vector<int32_t> codes;
    for (const std::string& piece : pieces) {
        reader.feed(bytes(piece));
        int32_t code = 0;
        while (reader.takeReply(code)) codes.push_back(code);
    }
    return codes;
}

TEST(SmtpReplies, OneCodePerCompleteReply) {
    struct Case {
        std::vector<std::string> pieces;
        std::vector<int32_t> codes;
    };
    const Case cases[] = {
        {{"220 smtp.example.jp ready\r\n"}, {220}},
        {{"22", "0 re", "ady\r", "\n"}, {220}},
        {{"220 no line end yet"}, {}},
        {{"250-first\r\n250-second\r\n", "250 last\r\n"}, {250}},
        {{"250 ok\r\n550 no such user\r\n"}, {250, 550}},
        {{"250 ok\n354\n"}, {250, 354}},
        {{"\r\n", "220 x\r\n"}, {220}},
        {{"hello\r\n"}, {0}},
    };
    for (const Case& c : cases) {
        SmtpReplyReader reader;
        EXPECT_EQ(replies(reader, c.pieces), c.codes) << c.pieces.front();
    }
}

TEST(SmtpReplies, FailuresAndReset) {
    EXPECT_FALSE(isSmtpFailure(220));
    EXPECT_FALSE(isSmtpFailure(354));
    EXPECT_FALSE(isSmtpFailure(400));
    EXPECT_TRUE(isSmtpFailure(421));
    EXPECT_TRUE(isSmtpFailure(554));
    EXPECT_TRUE(isSmtpFailure(0));
    SmtpReplyReader reader;
    reader.feed(bytes("250 a\r\n250 b\r\n25"));
    reader.reset();
    EXPECT_EQ(replies(reader, {"0 c\r\n"}), std::vector<int32_t>{0});  // the partial line went with the reset
    EXPECT_EQ(replies(reader, {"221 bye\r\n"}), std::vector<int32_t>{221});
}

TEST(SmtpReplies, AFloodNeverLosesAFailureSilently) {
    SmtpReplyReader reader;
    std::string flood;
    for (int i = 0; i < 40; ++i) flood += "250 ok\r\n";
    const std::vector<int32_t> codes = replies(reader, {flood});
    ASSERT_EQ(codes.size(), 16u);
    EXPECT_TRUE(isSmtpFailure(codes.back()));
}

}  // namespace
