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

// Sends one request line to the serial peer through COM1 and returns whether
// the peer answered "OK". Answers left in the terminal by earlier tests are
// dropped first, so the "OK" read back is the peer's answer to this request.
bool askSerialPeer(const std::string& request) {
    HANDLE port = CreateFileW(L"\\\\.\\COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return false;
    PurgeComm(port, PURGE_RXCLEAR);
    COMMTIMEOUTS timeouts{0, 0, 200, 0, 2000};
    SetCommTimeouts(port, &timeouts);
    const std::string line = request + "\r";
    DWORD written = 0;
    WriteFile(port, line.data(), DWORD(line.size()), &written, nullptr);
    std::string reply;
    const DWORD start = GetTickCount();
    while (written == line.size() && reply.find("OK\r\n") == std::string::npos && GetTickCount() - start < 5000) {
        char chunk[64];
        DWORD read = 0;
        if (ReadFile(port, chunk, sizeof chunk, &read, nullptr) && read > 0) reply.append(chunk, read);
    }
    CloseHandle(port);
    return written == line.size() && reply.find("OK\r\n") != std::string::npos;
}

// Tells the serial peer to answer the `nth` dial command from now with `answer`.
void failDial(const std::string& answer, int nth = 1) {
    ASSERT_TRUE(askSerialPeer("?FAIL " + std::to_string(nth) + " " + answer));
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
            EXPECT_TRUE(app_->closeAndWait(&code));
            EXPECT_EQ(code, 0u) << "the program ended badly";
        }
        app_.reset();
        DeleteFileW(preferences_.c_str());
        // A failure asked for by a test that stopped early must not answer
        // the next test's call.
        EXPECT_TRUE(askSerialPeer("?CLEAR"));
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

    int progressValue() const {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(app_->control("Prog_Status"), PBM_GETPOS, 0, 0, SMTO_BLOCK, 5000, &result);
        return int(result);
    }

    // The status line as a screen reader reads it.
    std::wstring status() const { return app_->text("Static_Status"); }

    // Waits until the status line shows `expected`; false (after a while)
    // when it does not.
    bool statusBecomes(const std::wstring& expected, DWORD timeoutMs = 10000) const {
        return app_test::waitFor([&] { return status() == expected; }, timeoutMs);
    }

    // Types the melody digits on the fourth tab, builds them ("音データ生成")
    // and has them sent along with the message.
    void attachMelody(const std::wstring& digits) {
        ASSERT_TRUE(app_->showTab(4));
        app_->setText("Edit_Melo", digits);
        app_->click("PushButton3");
        ASSERT_TRUE(app_test::waitFor([&] { return app_->enabled("Check_Melo"); }));
        ASSERT_TRUE(app_->showTab(1));
        setCheck("Check_Melo", true);
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
        EXPECT_TRUE(statusBecomes(L"センターにダイヤル中")) << utf8(status());
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
        EXPECT_TRUE(statusBecomes(L"相手の電話番号を送信中")) << utf8(status());

        // "メッセージ送信" sends each pending block at once. Each press waits
        // for the step that follows the last command (its status shows the
        // blocks sent so far): a press before it finds nothing pending yet.
        for (size_t block = 0; block < blocks.size(); ++block) {
            app_->click("PushButton", 3);
            lines = awaitLines(from, 3 + block);
            ASSERT_EQ(lines.size(), 3 + block) << joined(lines);
            const std::wstring shown =
                L"メッセージを送信中 " + std::to_wstring(block + 1) + L"/" + std::to_wstring(blocks.size());
            ASSERT_TRUE(statusBecomes(shown)) << utf8(status()) << " instead of " << utf8(shown);
        }
        std::vector<std::string> expected = {c.firstCommand, c.recipientCommand};
        expected.insert(expected.end(), blocks.begin(), blocks.end());
        EXPECT_EQ(joined(lines), joined(expected));

        // The end command would follow after 10 s; "送信終了" ends the call now.
        ASSERT_TRUE(app_test::waitFor([&] { return app_->enabled("PushButton", 5); }));
        app_->click("PushButton", 5);
        EXPECT_TRUE(statusBecomes(L"待機中")) << utf8(status());
        // The handler shows the status before it enables the buttons.
        EXPECT_TRUE(app_test::waitFor([&] { return app_->enabled("PushButton", 1); }));
        for (int i = 2; i <= 5; ++i) EXPECT_FALSE(app_->enabled("PushButton", i)) << i;
        EXPECT_EQ(com1Lines(from).size(), expected.size()) << joined(com1Lines(from));
    }
}

struct FailedCall {
    const char* answer;
    int failingDial;  // 1: the centre, 2: the recipient, 3: the message
};

// A failure answer ends the call as "中止" does, whenever it comes: the status
// names it, nothing more is keyed in, and the call is never reported sent.
TEST_F(SendingByModem, AFailureAnswerEndsTheCallAndSaysSo) {
    const FailedCall calls[] = {{"BUSY", 1}, {"NO DIALTONE", 1}, {"NO CARRIER", 2}, {"NO ANSWER", 3}, {"ERROR", 3}};
    setCheck("Check_Manual", true);
    setCheck("Check_Kanji", false);
    fill(L"00001001", L"0901234567", L"ABC");
    const std::vector<std::string> call = {"ATDT00001001;", "ATDT0901234567#;", "ATDT*2*2161718##;"};
    for (const FailedCall& c : calls) {
        SCOPED_TRACE(c.answer);
        failDial(c.answer, c.failingDial);
        const size_t from = logSize();
        app_->click("PushButton", 1);
        for (int dial = 1; dial <= c.failingDial; ++dial) {
            ASSERT_EQ(awaitLines(from, size_t(dial)).size(), size_t(dial)) << joined(com1Lines(from));
            if (dial == c.failingDial) break;
            ASSERT_TRUE(app_test::waitFor([&] { return app_->enabled("PushButton", dial + 1); }));
            app_->click("PushButton", dial + 1);  // "番号送信", then "メッセージ送信"
        }
        const std::wstring failure = L"送信できませんでした: " + app_test::fromShiftJis(c.answer);
        ASSERT_TRUE(statusBecomes(failure)) << utf8(status());
        EXPECT_TRUE(app_->enabled("PushButton", 1));
        for (int i = 2; i <= 5; ++i) EXPECT_FALSE(app_->enabled("PushButton", i)) << i;
        EXPECT_EQ(progressValue(), 0);
        // Nothing is pending any more, even when asked for.
        app_->click("PushButton", 2);
        app_->click("PushButton", 3);
        Sleep(1500);
        const std::vector<std::string> sent(call.begin(), call.begin() + c.failingDial);
        EXPECT_EQ(joined(com1Lines(from)), joined(sent));
        EXPECT_EQ(status(), failure);
    }
}

// A failure answer that reached the port while no call was on (left from an
// earlier call) does not end the next call.
TEST_F(SendingByModem, AnswersLeftFromBeforeDoNotEndTheNextCall) {
    setCheck("Check_Manual", true);
    fill(L"00001001", L"0901234567", L"ABC");
    failDial("NO CARRIER");
    {
        HANDLE port = CreateFileW(L"\\\\.\\COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(port, INVALID_HANDLE_VALUE);
        const std::string dial = "ATD\r";
        DWORD written = 0;
        WriteFile(port, dial.data(), DWORD(dial.size()), &written, nullptr);
        // The answer arrives ("NO CARRIER" CR LF) and stays unread.
        COMSTAT queued{};
        DWORD errors = 0;
        for (int i = 0; i < 100 && queued.cbInQue < 12; ++i) {
            Sleep(50);
            ClearCommError(port, &errors, &queued);
        }
        CloseHandle(port);
        ASSERT_GE(queued.cbInQue, 12u);
    }
    const size_t from = logSize();
    app_->click("PushButton", 1);
    ASSERT_EQ(awaitLines(from, 1).size(), 1u);
    app_->click("PushButton", 2);
    ASSERT_EQ(awaitLines(from, 2).size(), 2u) << joined(com1Lines(from));
    EXPECT_TRUE(statusBecomes(L"相手の電話番号を送信中")) << utf8(status());
    EXPECT_FALSE(app_->enabled("PushButton", 1));
    app_->click("PushButton12");
    EXPECT_TRUE(statusBecomes(L"待機中")) << utf8(status());
}

// Asks the serial peer (through COM1) to lock or unlock the terminal behind
// COM4: while locked, COM4 cannot be opened, as a port that is not there.
bool lockCom4(bool locked) {
    const bool answered = askSerialPeer(std::string(locked ? "?LOCK" : "?UNLOCK") + " COM4");
    HANDLE com4 = CreateFileW(L"\\\\.\\COM4", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool opens = com4 != INVALID_HANDLE_VALUE;
    if (opens) CloseHandle(com4);
    return answered && opens != locked;
}

// COM4 cannot be opened while it lives.
class LockedCom4 {
public:
    LockedCom4() : locked_(lockCom4(true)) {}
    ~LockedCom4() { EXPECT_TRUE(lockCom4(false)) << "COM4 still locked"; }
    bool locked() const { return locked_; }

private:
    bool locked_;
};

// Without a port to open, "送信" says so in two lines and the window stays
// idle.
TEST_F(SendingByModem, NoUsablePortShowsTheTwoLineBoxAndStaysIdle) {
    fill(L"00001001", L"0901234567", L"ABC");
    const LockedCom4 missing;
    ASSERT_TRUE(missing.locked());
    app_->choosePopupRow("Serial_Popup", 3);
    ASSERT_TRUE(app_test::waitFor([&] { return app_->popupSelection("Serial_Popup") == 3; }));
    app_->click("PushButton", 1);
    auto box = testing_support::dismissMessageBox(app_->processId(), 10000);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, shiftJis(L"シリアルポートが使えません。\rシステムを再起動して下さい。"));
    EXPECT_TRUE(statusBecomes(L"待機中")) << utf8(status());
    EXPECT_TRUE(app_->enabled("PushButton", 1));
    EXPECT_FALSE(app_->enabled("PushButton", 2));
    EXPECT_EQ(progressValue(), 0);
    // No timer runs: the status stays, and "番号送信" finds nothing pending.
    app_->click("PushButton", 2);
    Sleep(1500);
    EXPECT_EQ(status(), L"待機中");
    EXPECT_TRUE(app_->enabled("PushButton", 1));
    app_->choosePopupRow("Serial_Popup", 0);
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
// steps, "H" 3 s after the end command, then the port closes. The status line
// follows the steps and the progress bar counts ticks (60 a second).
TEST_F(SendingByModem, TheTimedSequenceKeepsItsPauses) {
    setCheck("Check_Kanji", false);
    fill(L"00001001", L"0901234567", L"ABC");
    const size_t from = logSize();
    app_->click("PushButton", 1);
    std::vector<DWORD> arrivals;
    std::vector<int> progressAtArrival;
    std::vector<std::wstring> statuses;
    std::vector<std::string> lines;
    auto noteStatus = [&] {
        const std::wstring now = status();
        if (statuses.empty() || statuses.back() != now) statuses.push_back(now);
    };
    const DWORD start = GetTickCount();
    while ((lines.size() < 5 || status() != L"待機中") && GetTickCount() - start < 75000) {
        const std::vector<std::string> now = com1Lines(from);
        while (arrivals.size() < now.size()) {
            arrivals.push_back(GetTickCount());
            progressAtArrival.push_back(progressValue());
        }
        lines = now;
        noteStatus();
        Sleep(50);
    }
    noteStatus();
    ASSERT_EQ(joined(lines), "ATDT00001001;\nATDT0901234567#;\nATDT*2*2161718##;\nATDT##\nATH\n");
    const DWORD expectedGaps[] = {25000, 10000, 10000, 3000};
    for (size_t i = 0; i < 4; ++i) {
        const long gap = long(arrivals[i + 1] - arrivals[i]);
        EXPECT_NEAR(gap, long(expectedGaps[i]), 1500) << "between command " << i + 1 << " and " << i + 2;
    }
    // The maximum is (25 + 10 + 10 x 1 block) x 60 ticks; on the way the bar
    // shows the ticks since the centre was dialled.
    EXPECT_EQ(progressMaximum(), 2700);
    for (size_t i = 1; i <= 2; ++i) {
        const long elapsed = long(arrivals[i] - arrivals[0]) * 60 / 1000;
        EXPECT_NEAR(progressAtArrival[i], elapsed, 150) << "at command " << i + 1;
    }
    const std::vector<std::wstring> expected = {L"センターにダイヤル中", L"相手の電話番号を送信中",
                                                L"メッセージを送信中 1/1", L"送信完了しました", L"待機中"};
    // The status before the send ("待機中" at start) may be seen first.
    if (!statuses.empty() && statuses.front() != expected.front()) statuses.erase(statuses.begin());
    std::string shown;
    for (const std::wstring& text : statuses) shown += utf8(text) + "\n";
    EXPECT_EQ(statuses, expected) << shown;
    EXPECT_EQ(progressValue(), 0);
    EXPECT_TRUE(app_->enabled("PushButton", 1));
}

// What the simulated modem makes of the commands the application wrote to
// COM1 (sutakiba-modem-sim --replay): its "message to ..." and "melody: ..."
// lines, without their time stamps.
std::vector<std::string> keyedMessages(const std::vector<std::string>& commands) {
    static int replays = 0;
    const std::string base = std::string(getenv("SUTAKIBA_SESSION")) + "/keyed-" +
                             std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++replays);
    std::string bytes;
    for (const std::string& command : commands) bytes += command + "\r";
    EXPECT_TRUE(app_test::writeFileBytes(hostPath(base + ".in"), bytes));
    const std::string arguments = " --replay " + base + ".in --log " + base + ".log";
    std::wstring commandLine = L"\"" + hostPath(SUTAKIBA_MODEM_SIM) + L"\"" +
                               std::wstring(arguments.begin(), arguments.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    // Its last line counts the answers: the log is complete then.
    std::string log;
    app_test::waitFor([&] {
        log = readFileBytes(hostPath(base + ".log"));
        return log.find("] answers: ") != std::string::npos;
    });
    std::vector<std::string> messages;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        const size_t text = line.find("] ");
        if (text == std::string::npos) continue;
        const std::string entry = line.substr(text + 2);
        if (entry.rfind("message to ", 0) == 0 || entry.rfind("melody: ", 0) == 0) messages.push_back(entry);
    }
    return messages;
}

struct KeyedCase {
    const char* what;
    std::wstring message;
    bool kanji;
    std::wstring melody;   // typed on the melody tab; empty: none attached
    std::string digits;    // the digits keyed in, blocks joined (not checked when empty)
    std::string decoded;   // what the simulated modem shows (UTF-8)
};

// Whole calls, each keyed in up to its end mark: the simulated modem turns
// the digits back into the typed text, and a melody travels after the
// message digits, cut to the note limit.
TEST_F(SendingByModem, TheKeyedDigitsSpellTheTypedMessageAndMelody) {
    const std::string notes64 = repeated("415", 64 * 3);
    const std::wstring melody65 = L"4" + std::wstring(notes64.begin(), notes64.end()) + L"425";
    const std::vector<KeyedCase> cases = {
        {"kana", L"テスト", false, L"", "*2*2443345", "message to 0901234567: テスト\n"},
        {"latin", L"ABC 123", false, L"", "*2*216171888969798", "message to 0901234567: ABC 123\n"},
        {"kanji", L"漢字の試験", true, L"", "", "message to 0901234567: 漢字の試験\n"},
        {"melody", L"ABC", false, L"4415425", "*2*2161718*6*64415425",
         "message to 0901234567: ABC\nmelody: 4415425\n"},
        {"melody over the limit", L"ABC", false, melody65, "*2*2161718*6*64" + notes64,
         "message to 0901234567: ABC\nmelody: 4" + notes64 + "\n"},
    };
    setCheck("Check_Manual", true);
    app_->setText("Edit_Onsu", L"64");
    for (const KeyedCase& c : cases) {
        SCOPED_TRACE(c.what);
        setCheck("Check_Kanji", c.kanji);
        if (c.melody.empty()) {
            setCheck("Check_Melo", false);
        } else {
            attachMelody(c.melody);
        }
        fill(L"00001001", L"0901234567", c.message);
        const size_t from = logSize();
        app_->click("PushButton", 1);
        ASSERT_EQ(awaitLines(from, 1).size(), 1u);
        app_->click("PushButton", 2);
        ASSERT_EQ(awaitLines(from, 2).size(), 2u);
        ASSERT_TRUE(statusBecomes(L"相手の電話番号を送信中")) << utf8(status());
        // Every block at once, each after the step of the one before; the
        // end mark then follows after its pause, and "H" 3 s later.
        for (int block = 1;; ++block) {
            app_->click("PushButton", 3);
            ASSERT_EQ(awaitLines(from, size_t(2 + block)).size(), size_t(2 + block)) << joined(com1Lines(from));
            const std::wstring shown = L"メッセージを送信中 " + std::to_wstring(block) + L"/";
            ASSERT_TRUE(app_test::waitFor([&] { return status().rfind(shown, 0) == 0; })) << utf8(status());
            if (status() == shown + std::to_wstring(block)) break;
        }
        std::vector<std::string> all;
        ASSERT_TRUE(app_test::waitFor(
            [&] {
                all = com1Lines(from);
                return !all.empty() && all.back() == "ATH";
            },
            20000))
            << joined(all);
        EXPECT_TRUE(statusBecomes(L"待機中")) << utf8(status());
        if (!c.digits.empty()) {
            std::string keyed;
            for (size_t i = 2; i + 2 < all.size(); ++i) {
                std::string digits = all[i].substr(4);  // after "ATDT"
                while (!digits.empty() && (digits.back() == ';' || digits.back() == '#')) digits.pop_back();
                keyed += digits;
            }
            EXPECT_EQ(keyed, c.digits);
        }
        EXPECT_EQ(joined(keyedMessages(all)), c.decoded);
    }
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

// Each reply moves the status line and the progress bar on by one step; a
// server that takes its time shows every step.
TEST_F(SendingByMail, StatusAndProgressFollowEachReply) {
    const int connection = connections("slow") + 1;
    app_->setText("Edit_Port", std::to_wstring(ports_.at("slow")));
    app_->click("PushButton", 3);
    std::vector<std::pair<std::wstring, int>> seen;
    bool quitShown = false;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000) {
        // Status and bar change one after the other: keep only what holds still.
        const std::pair<std::wstring, int> first{status(), progressValue()};
        Sleep(5);
        const std::pair<std::wstring, int> second{status(), progressValue()};
        if (first == second && (seen.empty() || seen.back() != first)) seen.push_back(first);
        quitShown = quitShown || first.first == L"QUIT";
        if (quitShown && first.first == L"待機中") break;
        Sleep(20);
    }
    // The idle status before the press, and the short connecting one, may
    // or may not be caught.
    while (!seen.empty() && (seen.front().first == L"待機中" || seen.front().first == L"接続中")) {
        seen.erase(seen.begin());
    }
    const std::vector<std::pair<std::wstring, int>> expected = {
        {L"送信中", 0},   {L"HELO 127.0.0.1", 20},  {L"RSET", 30},
        {L"MAIL FROM:me@example.jp", 40}, {L"RCPT TO:phs@gwchuo.example.jp", 50},
        {L"DATA", 60},    {L"BODY", 80},            {L"QUIT", 100},
        {L"待機中", 0},
    };
    std::string shown;
    for (const auto& [text, value] : seen) shown += utf8(text) + " " + std::to_string(value) + "\n";
    EXPECT_EQ(seen, expected) << shown;
    EXPECT_EQ(progressMaximum(), 100);
    EXPECT_NE(dialogue("slow", connection).find("QUIT\r\n"), std::string::npos);
}

// With "着メロ添付" the melody digits follow the message after "]]", cut to
// the note limit like on the modem path.
TEST_F(SendingByMail, AnAttachedMelodyFollowsTheMessage) {
    const std::string notes64 = repeated("415", 64 * 3);
    const std::wstring melody65 = L"4" + std::wstring(notes64.begin(), notes64.end()) + L"425";
    const std::vector<std::pair<std::wstring, std::string>> melodies = {
        {L"4415425", "4415425"},
        {L"0015\r\n035", "0015035"},
        {melody65, "4" + notes64},
    };
    app_->setText("Edit_Onsu", L"64");
    for (const auto& [typed, sent] : melodies) {
        SCOPED_TRACE(sent.substr(0, 10));
        attachMelody(typed);
        const std::string summary = summaryFrom("capture");
        const std::string tail = "body: RESNO=07011112222\n" + utf8(L"body: MSG=テスト]]") + sent + "\n";
        EXPECT_TRUE(summary.size() >= tail.size() && summary.compare(summary.size() - tail.size(), tail.size(), tail) == 0)
            << summary;
    }
}

// A server that never answers leaves the window waiting, not stuck: "中止"
// closes the connection and returns to idle.
TEST_F(SendingByMail, AbortEndsADialogueTheServerNeverAnswers) {
    const int connection = connections("silent") + 1;
    sendTo("silent", connection);
    EXPECT_TRUE(statusBecomes(L"送信中")) << utf8(status());
    app_->click("PushButton12");
    EXPECT_TRUE(statusBecomes(L"待機中")) << utf8(status());
    EXPECT_TRUE(app_test::waitFor(
        [&] { return app_test::fileExists(smtpFile("silent-" + std::to_string(connection) + ".closed")); }));
    EXPECT_EQ(dialogue("silent", connection), "");
    EXPECT_EQ(progressValue(), 0);
    EXPECT_TRUE(app_->enabled("PushButton", 3));
    for (int i : {1, 2, 4, 5}) EXPECT_FALSE(app_->enabled("PushButton", i)) << i;
    EXPECT_FALSE(testing_support::dismissMessageBox(app_->processId(), 300).has_value());
}

// Quitting while the dialogue waits (the progress bar then shows its moving
// block) ends the program cleanly.
TEST_F(SendingByMail, QuittingWhileTheServerIsSilentEndsCleanly) {
    sendTo("silent", connections("silent") + 1);
    EXPECT_TRUE(statusBecomes(L"送信中")) << utf8(status());
    DWORD code = 1;
    EXPECT_TRUE(app_->closeAndWait(&code));
    EXPECT_EQ(code, 0u);
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
