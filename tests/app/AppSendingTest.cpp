// The real sutakiba.exe sending messages, driven through its window under
// Wine: by modem to the test session's serial peer on COM1 (every line it
// receives is logged; "?FAIL" makes it answer the next dial command with a
// failure), and by mail to SMTP servers on 127.0.0.1 started for the run
// (SendingSmtpPeers.py: aiosmtpd and the standard library's server parse
// what arrives, scripted servers record the dialogue and refuse on cue).
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "AppDriver.h"
#include "support/MessageBoxWatcher.h"

using app_test::RunningApp;
using app_test::hostPath;
using app_test::readFileBytes;
using app_test::shiftJis;

namespace {

std::wstring appDataFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
    return path;
}

std::string utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

std::wstring sessionPath(const char* variable, const std::string& name) {
    const char* folder = getenv(variable);
    return folder ? hostPath(std::string(folder) + "/" + name) : L"";
}

// The lines the serial peer received on COM1 after `from` bytes of its log.
std::vector<std::string> com1Lines(size_t from) {
    const std::string log = readFileBytes(sessionPath("SUTAKIBA_SESSION", "serial-ports.received"));
    std::vector<std::string> lines;
    std::istringstream in(log.size() > from ? log.substr(from) : "");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("COM1 ", 0) == 0) lines.push_back(line.substr(5));
    }
    return lines;
}

size_t logSize() { return readFileBytes(sessionPath("SUTAKIBA_SESSION", "serial-ports.received")).size(); }

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// Tells the serial peer to answer the next dial command with `answer`.
void failNextDial(const std::string& answer) {
    HANDLE port = CreateFileW(L"\\\\.\\COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    const std::string line = "?FAIL " + answer + "\r";
    DWORD written = 0;
    WriteFile(port, line.data(), DWORD(line.size()), &written, nullptr);
    char reply[16];
    DWORD read = 0;
    COMMTIMEOUTS timeouts{0, 0, 2000, 0, 0};
    SetCommTimeouts(port, &timeouts);
    ReadFile(port, reply, 4, &read, nullptr);  // "OK" CR LF: the peer took it
    CloseHandle(port);
    ASSERT_EQ(written, line.size());
}

// The message digits' dial commands, split independently: while more than
// 29 digits remain, 32 of them and ";"; then the rest and "##;".
std::vector<std::string> blockCommands(const std::string& digits) {
    std::vector<std::string> commands;
    size_t at = 0;
    while (digits.size() - at > 29) {
        commands.push_back("ATDT" + digits.substr(at, 32) + ";");
        at = std::min(at + 32, digits.size());
    }
    commands.push_back("ATDT" + digits.substr(at) + "##;");
    return commands;
}

class Sending : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"sutakiba-send-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++runs_);
        CreateDirectoryW(folder_.c_str(), nullptr);
        const std::wstring exe = folder_ + L"\\sutakiba.exe";
        ASSERT_TRUE(CopyFileW(hostPath(SUTAKIBA_APP_EXE).c_str(), exe.c_str(), FALSE));
        preferences_ = appDataFolder() + L"\\すたきば初期設定";
        DeleteFileW(preferences_.c_str());
        app_ = std::make_unique<RunningApp>(exe, folder_,
                                            app_test::readLayout(hostPath(SUTAKIBA_APP_PROJECT), "Window1Layout"));
        ASSERT_TRUE(app_->start()) << app_->failure();
    }

    void TearDown() override {
        if (app_ && app_->window()) {
            // Dismiss what a failed test may have left open, then quit.
            testing_support::dismissMessageBox(app_->processId(), 50);
            DWORD code = 0;
            app_->closeAndWait(&code);
        }
        app_.reset();
        DeleteFileW(preferences_.c_str());
    }

    void setCheck(const std::string& name, bool on) {
        if (app_->checked(name) != on) app_->click(name);
        ASSERT_TRUE(app_test::waitFor([&] { return app_->checked(name) == on; })) << name;
    }

    int progressMaximum() const {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(app_->control("Prog_Status"), PBM_GETRANGE, FALSE, 0, SMTO_BLOCK, 5000, &result);
        return int(result);
    }

    std::unique_ptr<RunningApp> app_;
    std::wstring folder_, preferences_;
    static inline int runs_ = 0;
};

// ---------------------------------------------------------------- modem

class SendingByModem : public Sending {
protected:
    // Waits until COM1 has received `count` lines since `from`.
    std::vector<std::string> awaitLines(size_t from, size_t count, DWORD timeoutMs = 10000) {
        std::vector<std::string> lines;
        app_test::waitFor(
            [&] {
                lines = com1Lines(from);
                return lines.size() >= count;
            },
            timeoutMs);
        return lines;
    }

    void fill(const std::wstring& centre, const std::wstring& phone, const std::wstring& message) {
        app_->setText("Edit_Center", centre);
        app_->setText("Edit_Phone", phone);
        app_->setText("Edit_Msg", message);
    }
};

struct TrafficCase {
    const char* what;
    bool tone;
    bool extension;
    std::wstring phone;
    std::wstring message;
    bool kanji;
    std::string firstCommand;
    std::string recipientCommand;
    std::string digits;
};

std::string repeated(const std::string& unit, size_t length) {
    std::string text;
    while (text.size() < length) text += unit;
    return text.substr(0, length);
}

TEST_F(SendingByModem, ManualModeKeysEachCommandOnRequestAndSplitsTheDigitsIntoBlocks) {
    const std::vector<TrafficCase> cases = {
        {"tone, no extension", true, false, L"0901234567", L"ABC", false, "ATDT00001001;", "ATDT0901234567#;",
         "*2*2161718"},
        {"extension with 0,", true, true, L"090-1234 567", L"ABC", false, "ATX3DT0,00001001;", "ATDT0901234567#;",
         "*2*2161718"},
        {"pulse dialling", false, false, L"0901234567", L"ABC", false, "ATDP00001001;", "ATDT0901234567#;",
         "*2*2161718"},
        {"28 digits", true, false, L"0901", std::wstring(12, L'A') , false, "ATDT00001001;", "ATDT0901#;",
         "*2*2" + repeated("16", 24)},
        {"30 digits by kana", true, false, L"0901", L"ABCABCABCABCA", false, "ATDT00001001;", "ATDT0901#;",
         "*2*2" + repeated("161718", 26)},
        {"30 digits by kanji", true, false, L"0901", L"亜亜亜亜亜亜", true, "ATDT00001001;", "ATDT0901#;",
         repeated("#1601", 30)},
        {"40 digits", true, false, L"0901", std::wstring(18, L'A'), false, "ATDT00001001;", "ATDT0901#;",
         "*2*2" + repeated("16", 36)},
        {"64 digits", true, false, L"0901", std::wstring(30, L'A'), false, "ATDT00001001;", "ATDT0901#;",
         "*2*2" + repeated("16", 60)},
        {"65 digits", true, false, L"0901", std::wstring(13, L'亜'), true, "ATDT00001001;", "ATDT0901#;",
         repeated("#1601", 65)},
        {"66 digits", true, false, L"0901", std::wstring(31, L'A'), false, "ATDT00001001;", "ATDT0901#;",
         "*2*2" + repeated("16", 62)},
    };
    setCheck("Check_Manual", true);
    for (const TrafficCase& c : cases) {
        SCOPED_TRACE(c.what);
        app_->click(c.tone ? "Radio_Tone" : "Radio_Pulse");
        setCheck("Check_DialTone", c.extension);
        app_->setText("Edit_Head", L"0,");
        setCheck("Check_Kanji", c.kanji);
        fill(L"00001001", c.phone, c.message);
        const size_t from = logSize();
        app_->click("PushButton", 1);
        std::vector<std::string> lines = awaitLines(from, 1);
        ASSERT_EQ(lines.size(), 1u) << joined(lines);
        EXPECT_EQ(lines[0], c.firstCommand);
        const std::vector<std::string> blocks = blockCommands(c.digits);
        EXPECT_EQ(progressMaximum(), int(35 + 10 * blocks.size()) * 60);
        EXPECT_FALSE(app_->enabled("PushButton", 1));
        EXPECT_TRUE(app_->enabled("PushButton", 2));

        // "番号送信" keys in the recipient at once instead of after 25 s.
        app_->click("PushButton", 2);
        lines = awaitLines(from, 2);
        ASSERT_EQ(lines.size(), 2u) << joined(lines);
        EXPECT_EQ(lines[1], c.recipientCommand);
        ASSERT_TRUE(app_test::waitFor([&] { return app_->enabled("PushButton", 3); }));

        // "メッセージ送信" sends each pending block at once.
        // Each press waits for the step that follows the last command (run
        // within 100 ms): a press before it finds nothing pending yet.
        for (size_t block = 0; block < blocks.size(); ++block) {
            Sleep(400);
            app_->click("PushButton", 3);
            lines = awaitLines(from, 3 + block);
            ASSERT_EQ(lines.size(), 3 + block) << joined(lines);
        }
        std::vector<std::string> expected = {c.firstCommand, c.recipientCommand};
        expected.insert(expected.end(), blocks.begin(), blocks.end());
        EXPECT_EQ(joined(lines), joined(expected));

        // The end command would follow after 10 s; "送信終了" ends the call now.
        ASSERT_TRUE(app_test::waitFor([&] { return app_->enabled("PushButton", 5); }));
        app_->click("PushButton", 5);
        EXPECT_TRUE(app_->enabled("PushButton", 1));
        for (int i = 2; i <= 5; ++i) EXPECT_FALSE(app_->enabled("PushButton", i)) << i;
        EXPECT_EQ(com1Lines(from).size(), expected.size()) << joined(com1Lines(from));
    }
}

// Disabled: the application does not see the peer's "BUSY" yet (the call
// goes on); whether the answer reaches serialReadAll is still to be found.
TEST_F(SendingByModem, DISABLED_ABusyLineEndsTheCallAndSaysSo) {
    setCheck("Check_Manual", true);
    setCheck("Check_Kanji", false);
    fill(L"00001001", L"0901234567", L"ABC");
    failNextDial("BUSY");
    const size_t from = logSize();
    app_->click("PushButton", 1);
    ASSERT_EQ(awaitLines(from, 1).size(), 1u);
    // The call ends: the send button is back and "番号送信" sends nothing.
    ASSERT_TRUE(app_test::waitFor([&] { return app_->enabled("PushButton", 1); }));
    EXPECT_FALSE(app_->enabled("PushButton", 2));
    app_->click("PushButton", 2);
    Sleep(1500);
    EXPECT_EQ(joined(com1Lines(from)), "ATDT00001001;\n");
}

TEST_F(SendingByModem, AbortMidCallSendsNothingMore) {
    setCheck("Check_Manual", true);
    fill(L"00001001", L"0901234567", L"ABC");
    const size_t from = logSize();
    app_->click("PushButton", 1);
    ASSERT_EQ(awaitLines(from, 1).size(), 1u);
    app_->click("PushButton12");
    ASSERT_TRUE(app_test::waitFor([&] { return app_->enabled("PushButton", 1); }));
    EXPECT_FALSE(app_->enabled("PushButton", 2));
    // Nothing is pending any more, even when "番号送信" is asked for.
    app_->click("PushButton", 2);
    Sleep(1500);
    EXPECT_EQ(joined(com1Lines(from)), "ATDT00001001;\n");
}

TEST_F(SendingByModem, ANumberWithLettersIsRefusedBeforeAnythingIsDialled) {
    const std::vector<std::pair<std::wstring, std::wstring>> numbers = {
        {L"00001001", L"090x1234"}, {L"0000;1001", L"0901234"}, {L"00001001\r\nATH", L"0901234"}};
    for (const auto& [centre, phone] : numbers) {
        SCOPED_TRACE(utf8(centre + L" / " + phone));
        fill(centre, phone, L"ABC");
        const size_t from = logSize();
        app_->click("PushButton", 1);
        auto box = testing_support::dismissMessageBox(app_->processId(), 10000);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, shiftJis(L"電話番号にダイヤルできない文字があります。"));
        EXPECT_TRUE(app_->enabled("PushButton", 1));
        Sleep(300);
        EXPECT_TRUE(com1Lines(from).empty()) << joined(com1Lines(from));
    }
}

// The specified pace: 25 s to reach the centre, 10 s between the message
// steps, "H" 3 s after the end command, then the port closes.
TEST_F(SendingByModem, TheTimedSequenceKeepsItsPauses) {
    setCheck("Check_Kanji", false);
    fill(L"00001001", L"0901234567", L"ABC");
    const size_t from = logSize();
    app_->click("PushButton", 1);
    std::vector<DWORD> arrivals;
    std::vector<std::string> lines;
    const DWORD start = GetTickCount();
    while (lines.size() < 5 && GetTickCount() - start < 70000) {
        const std::vector<std::string> now = com1Lines(from);
        while (arrivals.size() < now.size()) arrivals.push_back(GetTickCount());
        lines = now;
        Sleep(50);
    }
    ASSERT_EQ(joined(lines), "ATDT00001001;\nATDT0901234567#;\nATDT*2*2161718##;\nATDT##\nATH\n");
    const DWORD expectedGaps[] = {25000, 10000, 10000, 3000};
    for (size_t i = 0; i < 4; ++i) {
        const long gap = long(arrivals[i + 1] - arrivals[i]);
        EXPECT_NEAR(gap, long(expectedGaps[i]), 1500) << "between command " << i + 1 << " and " << i + 2;
    }
    EXPECT_TRUE(app_->enabled("PushButton", 1));
}

// ---------------------------------------------------------------- mail

std::map<std::string, int> smtpPorts() {
    std::map<std::string, int> ports;
    std::istringstream in(readFileBytes(sessionPath("SUTAKIBA_SMTP_PEERS", "ports")));
    std::string name;
    int port = 0;
    while (in >> name >> port) ports[name] = port;
    return ports;
}

std::wstring smtpFile(const std::string& name) { return sessionPath("SUTAKIBA_SMTP_PEERS", name); }

class SendingByMail : public Sending {
protected:
    void SetUp() override {
        Sending::SetUp();
        if (HasFatalFailure()) return;
        ports_ = smtpPorts();
        ASSERT_FALSE(ports_.empty()) << "no SMTP servers";
        setCheck("Check_Email", true);
        app_->setText("Edit_SMTP", L"127.0.0.1");
        app_->setText("Edit_MailAdd", L"me@example.jp");
        app_->setText("Edit_RESNO", L"07011112222");
        app_->setText("Edit_Center", L"00001003");
        app_->setText("Edit_Phone", L"09012345678");
        app_->setText("Edit_Msg", L"テスト");
    }

    // Sends to the server `name` and waits for the connection it records.
    void sendTo(const std::string& name, int connection) {
        app_->setText("Edit_Port", std::to_wstring(ports_.at(name)));
        ASSERT_TRUE(app_->enabled("PushButton", 3));
        app_->click("PushButton", 3);
        const std::wstring record = smtpFile(name + "-" + std::to_string(connection) + ".dialogue");
        ASSERT_TRUE(app_test::waitFor([&] { return app_test::fileExists(record); })) << name;
    }

    std::string dialogue(const std::string& name, int connection) {
        return readFileBytes(smtpFile(name + "-" + std::to_string(connection) + ".dialogue"));
    }

    int connections(const std::string& name) {
        int n = 0;
        while (app_test::fileExists(smtpFile(name + "-" + std::to_string(n + 1) + ".dialogue"))) ++n;
        return n;
    }

    int summaries(const std::string& prefix) {
        int n = 0;
        while (app_test::fileExists(smtpFile(prefix + "-" + std::to_string(n + 1) + ".txt"))) ++n;
        return n;
    }

    // Sends to "capture" or "stdlib" and returns the summary of the message.
    std::string summaryFrom(const std::string& prefix) {
        const int next = summaries(prefix) + 1;
        app_->setText("Edit_Port", std::to_wstring(ports_.at(prefix)));
        app_->click("PushButton", 3);
        const std::wstring path = smtpFile(prefix + "-" + std::to_string(next) + ".txt");
        EXPECT_TRUE(app_test::waitFor([&] { return app_test::fileExists(path); }, 15000)) << prefix;
        return readFileBytes(path);
    }

    std::map<std::string, int> ports_;
};

const std::string kHeaders =
    "Subject: Pokpok's Sutakiba\r\nFrom: me@example.jp\r\nTo: phs@gwchuo.example.jp\r\nMIME-Version: 1.0\r\n"
    "X-Mailer: Pokpok's Sutakiba W100\r\nContent-Type: text/plain; charset=iso-2022-jp\r\n\r\n";

TEST_F(SendingByMail, TheDialogueIsExactAndPlainAndMultiLineRepliesAdvanceOneStepEach) {
    for (const char* server : {"plain", "multiline", "greet400"}) {
        SCOPED_TRACE(server);
        const int connection = connections(server) + 1;
        sendTo(server, connection);
        ASSERT_TRUE(app_test::waitFor([&] { return dialogue(server, connection).find("QUIT\r\n") != std::string::npos; }));
        // テスト is 25 46 25 39 25 48 in JIS X 0208.
        const std::string expected = "HELO 127.0.0.1\r\nRSET\r\nMAIL FROM:<me@example.jp>\r\n"
                                     "RCPT TO:<phs@gwchuo.example.jp>\r\nDATA\r\n" +
                                     kHeaders +
                                     "PHSNO=09012345678\r\nRESNO=07011112222\r\nMSG=\x1b$B%F%9%H\x1b(B\r\n"
                                     "\r\n.\r\nQUIT\r\n";
        EXPECT_EQ(dialogue(server, connection), expected);
        EXPECT_TRUE(app_->enabled("PushButton", 3));
    }
}

TEST_F(SendingByMail, TwoIndependentServersReceiveTheSameReadableMessage) {
    setCheck("Check_MeToo", true);
    // Half-width kana arrive full-width; a line that starts with "." arrives
    // intact; CR and LF in a header value cannot add a header.
    app_->setText("Edit_Msg", L"こんにちは ｶﾞｲﾄﾞ\r\n.dot\r\n漢字");
    const std::string expected =
        "mail_from: me@example.jp\n"
        "rcpt: phs@gwchuo.example.jp\n"
        "rcpt: me@example.jp\n"
        "header: Subject: Pokpok's Sutakiba\n"
        "header: From: me@example.jp\n"
        "header: To: phs@gwchuo.example.jp\n"
        "header: MIME-Version: 1.0\n"
        "header: X-Mailer: Pokpok's Sutakiba W100\n"
        "header: Content-Type: text/plain; charset=iso-2022-jp\n"
        "charset: iso-2022-jp\n"
        "body: PHSNO=09012345678\n"
        "body: RESNO=07011112222\n" +
        utf8(L"body: MSG=こんにちは ガイド\nbody: .dot\nbody: 漢字\n");
    EXPECT_EQ(summaryFrom("capture"), expected);
    EXPECT_EQ(summaryFrom("stdlib"), expected);
}

TEST_F(SendingByMail, TheGatewayFollowsTheRegionOfTheCentre) {
    const std::vector<std::pair<std::wstring, std::string>> regions = {
        {L"00001001", "hokkaido"}, {L"00001002", "tohoku"},  {L"00001003", "chuo"},    {L"00001007", "chuo"},
        {L"00001008", "tokai"},    {L"00001011", "kansai"},  {L"00001014", "chugoku"}, {L"00001016", "shikoku"},
        {L"00001017", "kyusyu"},   {L"00002001", ""},
    };
    for (const auto& [centre, region] : regions) {
        SCOPED_TRACE(region);
        app_->setText("Edit_Center", centre);
        const int connection = connections("plain") + 1;
        sendTo("plain", connection);
        ASSERT_TRUE(app_test::waitFor([&] { return dialogue("plain", connection).find("QUIT\r\n") != std::string::npos; }));
        EXPECT_NE(dialogue("plain", connection).find("RCPT TO:<phs@gw" + region + ".example.jp>\r\n"), std::string::npos)
            << dialogue("plain", connection);
    }
}

struct Refusal {
    const char* server;
    bool copyToSelf;
    const char* lastCommand;  // what the application sent last before stopping
};

TEST_F(SendingByMail, ARefusalAtAnyStepStopsWithTheErrorBoxAndClosesTheConnection) {
    const Refusal refusals[] = {
        {"greet554", false, ""},
        {"mail550", false, "MAIL FROM:<me@example.jp>\r\n"},
        {"rcpt1-550", false, "RCPT TO:<phs@gwchuo.example.jp>\r\n"},
        {"rcpt2-550", true, "RCPT TO:<me@example.jp>\r\n"},
        {"data554", false, "DATA\r\n"},
        {"body552", false, "\r\n.\r\n"},
        {"close", false, ""},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.server);
        setCheck("Check_MeToo", r.copyToSelf);
        const int connection = connections(r.server) + 1;
        sendTo(r.server, connection);
        auto box = testing_support::dismissMessageBox(app_->processId(), 15000);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, shiftJis(L"エラーが起きました。"));
        EXPECT_TRUE(app_->enabled("PushButton", 3));
        Sleep(300);
        const std::string sent = dialogue(r.server, connection);
        const std::string last = r.lastCommand;
        EXPECT_TRUE(sent.size() >= last.size() && sent.compare(sent.size() - last.size(), last.size(), last) == 0)
            << sent;
        EXPECT_EQ(sent.find("QUIT"), std::string::npos) << sent;
        // Only one message box: nothing else happens after the refusal.
        EXPECT_FALSE(testing_support::dismissMessageBox(app_->processId(), 300).has_value());
    }
}

TEST_F(SendingByMail, ConnectionsThatCannotBeMadeGiveTheErrorBox) {
    const std::vector<std::pair<std::wstring, std::wstring>> targets = {
        {L"127.0.0.1", L"1"}, {L"no-such-host.invalid", L"25"}};
    for (const auto& [server, port] : targets) {
        SCOPED_TRACE(utf8(server));
        app_->setText("Edit_SMTP", server);
        app_->setText("Edit_Port", port);
        app_->click("PushButton", 3);
        auto box = testing_support::dismissMessageBox(app_->processId(), 40000);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, shiftJis(L"エラーが起きました。"));
    }
}

TEST_F(SendingByMail, BadInputIsRefusedWithAMessage) {
    struct Input {
        std::wstring port, message, server, text;
    };
    const Input inputs[] = {
        {L"", L"テスト", L"127.0.0.1", L"ポート番号が正しくありません。"},
        {L"2x5", L"テスト", L"127.0.0.1", L"ポート番号が正しくありません。"},
        {L"70000", L"テスト", L"127.0.0.1", L"ポート番号が正しくありません。"},
        {L"25", L"", L"127.0.0.1", L"メッセージが入力されていません。"},
        {L"25", L"テスト", L"", L"SMTPサーバーが設定されていません。"},
    };
    for (const Input& input : inputs) {
        SCOPED_TRACE(utf8(input.text + L" " + input.port));
        app_->setText("Edit_Port", input.port);
        app_->setText("Edit_Msg", input.message);
        app_->setText("Edit_SMTP", input.server);
        app_->click("PushButton", 3);
        auto box = testing_support::dismissMessageBox(app_->processId(), 10000);
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, shiftJis(input.text));
        EXPECT_TRUE(app_->enabled("PushButton", 3));
    }
}

}  // namespace
