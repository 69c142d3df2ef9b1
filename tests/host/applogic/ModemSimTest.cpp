// The simulated modem: keyed digits decoded back into the typed text, the
// answers of a session, and the tool itself driven through its terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "ChildProcess.h"
#include "KeyedDigits.h"
#include "LogicTestSupport.h"
#include "ModemSession.h"
#include "logic/MessageEncoding.h"

namespace {

using namespace logic_test;

std::string bellDigits(const std::string& utf8) {
    const std::string s = sjis(utf8);
    return "*2*2" + encode(applogic::bellCode, s, applogic::bellCodeCapacity(int32_t(s.size())));
}
std::string kanjiDigits(const std::string& utf8) {
    const std::string s = sjis(utf8);
    return encode(applogic::kanjiCode, s, applogic::kanjiCodeCapacity(int32_t(s.size())));
}

TEST(KeyedDigits, DecodeToTheTypedText) {
    struct Case {
        std::string typed, shown;
        bool kanji;
    };
    const Case cases[] = {
        {"アイウエオガパ", "アイウエオガパ", false},
        {"ｶﾞｯｺｳ ﾍ ｲｸ", "ガコウ ヘ イク", false},  // ッ has no code
        {"HELLO WORLD 123!?", "HELLO WORLD 123!?", false},
        {"ＡＢＣ－０９", "ABC-09", false},
        {"亜あ漢字テスト", "亜あ漢字テスト", true},
        {"Hi 1", "Ｈｉ　１", true},
    };
    for (const Case& c : cases) {
        const modemsim::DecodedMessage m =
            modemsim::decodeKeyedDigits(c.kanji ? kanjiDigits(c.typed) : bellDigits(c.typed));
        EXPECT_EQ(m.text, c.shown) << c.typed;
        EXPECT_EQ(m.kanji, c.kanji);
        EXPECT_EQ(m.melody, "");
    }
    const modemsim::DecodedMessage withMelody = modemsim::decodeKeyedDigits(kanjiDigits("曲") + "*6*64415425");
    EXPECT_EQ(withMelody.text, "曲");
    EXPECT_EQ(withMelody.melody, "4415425");
}

struct Recorder {
    std::vector<std::string> lines;
    std::vector<std::string> messages;
    modemsim::ModemSession session(modemsim::ModemOptions options) {
        return modemsim::ModemSession(
            options, [this](const std::string& l) { lines.push_back(l); },
            [this](const modemsim::DecodedMessage& m, const std::string& to) { messages.push_back(to + ":" + m.text + "/" + m.melody); });
    }
};

TEST(ModemSession, AnswersEveryLineAndDeliversTheCall) {
    Recorder r;
    modemsim::ModemSession s = r.session({});
    EXPECT_EQ(s.receive("ATM1\rATL1\r"), "\r\nOK\r\n\r\nOK\r\n");
    EXPECT_EQ(s.receive("ATX3DT0,00001003;\r"), "\r\nOK\r\n");
    EXPECT_EQ(s.receive("ATDT09012345678#;\r"), "\r\nOK\r\n");
    const std::string digits = bellDigits("テスト") + "*6*64415";
    EXPECT_EQ(s.receive("ATDT" + digits.substr(0, 5) + ";\r"), "\r\nOK\r\n");
    EXPECT_EQ(s.receive("ATDT" + digits.substr(5) + "##;\r"), "\r\nOK\r\n");
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(s.receive("ATDT##\rATH\r"), "\r\nOK\r\n\r\nOK\r\n");
    EXPECT_EQ(r.messages, std::vector<std::string>{"09012345678:テスト/4415"});
    EXPECT_EQ(r.lines.size(), 8u);
    EXPECT_EQ(r.lines[2], "ATX3DT0,00001003;");
    EXPECT_EQ(s.receive("hello\r"), "\r\nERROR\r\n");
}

TEST(ModemSession, FailsAtTheChosenDial) {
    Recorder r;
    modemsim::ModemSession s = r.session({"NO CARRIER", 2, false});
    EXPECT_EQ(s.receive("ATDP0123;\r"), "\r\nOK\r\n");
    EXPECT_EQ(s.receive("ATDT090#;\r"), "\r\nNO CARRIER\r\n");
    Recorder echoing;
    modemsim::ModemSession e = echoing.session({"BUSY", 1, true});
    EXPECT_EQ(e.receive("ATDT0123;\r"), "ATDT0123;\r\r\nBUSY\r\n");
}

std::string readAnswer(int fd, const std::string& until) {
    std::string got;
    while (got.find(until) == std::string::npos) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 10000) <= 0) break;
        char buffer[256];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        got.append(buffer, size_t(n));
    }
    return got;
}

TEST(ModemSimTool, ServesATerminalLogsAndDecodes) {
    const std::string log = ::testing::TempDir() + "modem-sim-" + std::to_string(getpid()) + ".log";
    std::remove(log.c_str());
    ChildProcess sim({MODEM_SIM_PATH, "--fail", "BUSY", "--fail-at", "3", "--log", log});
    const std::string first = sim.readLine();
    ASSERT_EQ(first.rfind("pty: /dev/pts/", 0), 0u) << first;
    const int fd = open(first.substr(5).c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);

    auto send = [&](const std::string& command, const std::string& answer) {
        ASSERT_EQ(write(fd, command.data(), command.size()), ssize_t(command.size()));
        EXPECT_EQ(readAnswer(fd, answer), answer) << command;
    };
    send("ATM1\r", "\r\nOK\r\n");
    send("ATDT00001001;\r", "\r\nOK\r\n");
    send("ATDT090#;\r", "\r\nOK\r\n");
    send("ATDT" + kanjiDigits("届いた") + "##;\r", "\r\nBUSY\r\n");
    send("ATH\r", "\r\nOK\r\n");
    // A second call goes through and is decoded.
    send("ATDT00001001;\r", "\r\nOK\r\n");
    send("ATDT070#;\r", "\r\nOK\r\n");
    send("ATDT" + kanjiDigits("届いた") + "##;\r", "\r\nOK\r\n");
    send("ATDT##\r", "\r\nOK\r\n");
    EXPECT_NE(sim.readUntil("message to 070: 届いた"), "");
    close(fd);
    EXPECT_EQ(sim.stop(), 0);

    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    const std::string logged = text.str();
    EXPECT_TRUE(std::regex_search(logged, std::regex(R"(\[\d+\.\d{3}\] command: ATM1\n\[\d+\.\d{3}\] command: ATDT00001001;\n)")))
        << logged;
    EXPECT_NE(logged.find("command: ATH\n"), std::string::npos);
    EXPECT_NE(logged.find("message to 070: 届いた\n"), std::string::npos);
    std::remove(log.c_str());
}

// A recording of what an application wrote, with a melody and a second call
// that finds the line busy, replayed without a terminal.
TEST(ModemSimTool, ReplaysARecording) {
    const std::string base = ::testing::TempDir() + "modem-sim-replay-" + std::to_string(getpid());
    std::ofstream(base + ".in", std::ios::binary)
        << "ATM1\rATDT00001001;\rATDT090#;\rATDT" << bellDigits("ABC") << "*6*64415425##;\rATDT##\rATH\r"
        << "ATDT00001001;\rATH\r";
    ChildProcess sim({MODEM_SIM_PATH, "--replay", base + ".in", "--fail", "BUSY", "--fail-at", "5"});
    std::vector<std::string> lines;
    for (std::string line = sim.readLine(); !line.empty(); line = sim.readLine()) {
        lines.push_back(line.substr(line.find("] ") + 2));
    }
    EXPECT_EQ(sim.stop(), 0);
    const std::vector<std::string> expected = {
        "command: ATM1", "command: ATDT00001001;", "command: ATDT090#;",
        "command: ATDT*2*2161718*6*64415425##;", "command: ATDT##", "message to 090: ABC", "melody: 4415425",
        "command: ATH", "command: ATDT00001001;", "command: ATH",
        // Seven "OK" of six bytes and "BUSY" with its line ends.
        "answers: 50 bytes",
    };
    EXPECT_EQ(lines, expected);
    std::remove((base + ".in").c_str());
}

}  // namespace
