// The real sutakiba.exe, image appended, started under Wine and driven from
// outside through its window: first start, the preferences file, the length
// display, the message-centre menu, the address book, the ways to quit and a
// save that cannot be written. Screenshots of the four tabs and the about box
// are left in the build folder.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <map>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "AppDriver.h"

using app_test::RunningApp;
using app_test::fileExists;
using app_test::fromShiftJis;
using app_test::hostPath;
using app_test::readFileBytes;
using app_test::shiftJis;
using app_test::writeFileBytes;

namespace {

constexpr wchar_t kPreferencesName[] = L"すたきば初期設定";
constexpr wchar_t kAddressBookName[] = L"PokC電話帳";

std::wstring appDataFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
    return path;
}

std::wstring windowsFolder() {
    wchar_t path[MAX_PATH] = {};
    GetWindowsDirectoryW(path, MAX_PATH);
    return path;
}

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// A test artifact in the build folder.
std::string artifact(const std::string& name) {
    const std::wstring path = hostPath(std::string(SUTAKIBA_SCREENSHOT_DIR) + "/" + name);
    return std::string(path.begin(), path.end());
}

// Every line the serial peer of the test session received, as "COMn line".
std::wstring receivedLogPath() {
    const char* session = getenv("SUTAKIBA_SESSION");
    return session ? hostPath(std::string(session) + "/serial-ports.received") : L"";
}

// Counts the times a file of a folder is put in place under its name (a
// save writes a temporary file and renames it, or creates the file).
class SaveCounter {
public:
    explicit SaveCounter(const std::wstring& folder)
        : folder_(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)) {
        event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        arm();
    }
    ~SaveCounter() {
        if (folder_ != INVALID_HANDLE_VALUE) {
            CancelIo(folder_);
            CloseHandle(folder_);
        }
        CloseHandle(event_);
    }
    bool watching() const { return armed_; }

    // Collects what happened until nothing more arrives for a while.
    int savesOf(const std::wstring& name) {
        while (armed_ && WaitForSingleObject(event_, 1500) == WAIT_OBJECT_0) {
            DWORD size = 0;
            if (!GetOverlappedResult(folder_, &overlapped_, &size, FALSE)) break;
            for (size_t at = 0; size > 0;) {
                const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + at);
                const std::wstring file(info->FileName, info->FileNameLength / sizeof(wchar_t));
                if (info->Action == FILE_ACTION_RENAMED_NEW_NAME || info->Action == FILE_ACTION_ADDED) ++arrived_[file];
                if (!info->NextEntryOffset) break;
                at += info->NextEntryOffset;
            }
            arm();
        }
        return arrived_[name];
    }

private:
    void arm() {
        ResetEvent(event_);
        overlapped_ = OVERLAPPED{};
        overlapped_.hEvent = event_;
        armed_ = folder_ != INVALID_HANDLE_VALUE &&
                 ReadDirectoryChangesW(folder_, buffer_, sizeof buffer_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr,
                                       &overlapped_, nullptr);
    }

    HANDLE folder_;
    HANDLE event_;
    OVERLAPPED overlapped_{};
    alignas(DWORD) char buffer_[16384];
    bool armed_ = false;
    std::map<std::wstring, int> arrived_;
};

class AppWindow : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"sutakiba-app-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++runs_);
        CreateDirectoryW(folder_.c_str(), nullptr);
        exe_ = folder_ + L"\\sutakiba.exe";
        ASSERT_TRUE(CopyFileW(hostPath(SUTAKIBA_APP_EXE).c_str(), exe_.c_str(), FALSE));
        preferences_ = appDataFolder() + L"\\" + kPreferencesName;
        addressBook_ = folder_ + L"\\" + kAddressBookName;
        DeleteFileW(preferences_.c_str());
        DeleteFileW((windowsFolder() + L"\\" + kPreferencesName).c_str());
        layout_ = app_test::readLayout(hostPath(SUTAKIBA_APP_PROJECT), "Window1Layout");
        ASSERT_GT(layout_.size(), 60u);
    }

    void TearDown() override {
        DeleteFileW(preferences_.c_str());
        for (const std::wstring& blocker : blockers_) RemoveDirectoryW(blocker.c_str());
    }

    std::unique_ptr<RunningApp> launch() {
        auto app = std::make_unique<RunningApp>(exe_, folder_, layout_);
        started_ = app->start();
        EXPECT_TRUE(started_) << app->failure();
        return app;
    }

    void quit(RunningApp& app) {
        DWORD code = 99;
        ASSERT_TRUE(app.closeAndWait(&code)) << "the program did not end";
        EXPECT_EQ(code, 0u) << app.failure();
    }

    // A folder where a file of this name is to be written: nothing can be.
    void blockSave(const std::wstring& path) {
        const std::wstring blocker = path + L".new";
        ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
        blockers_.push_back(blocker);
    }

    // "すたきばについて..." chosen with the keyboard: the last row of the
    // second menu. The box, once it shows.
    HWND openAbout(RunningApp& app) {
        app.bringToFront();
        app.pressKeys({VK_MENU, VK_RIGHT, VK_DOWN, VK_UP, VK_RETURN});
        HWND about = nullptr;
        app_test::waitFor([&] {
            about = app.ownWindow(L"すたきばについて");
            return about && IsWindowVisible(about);
        });
        return about && IsWindowVisible(about) ? about : nullptr;
    }

    std::wstring folder_, exe_, preferences_, addressBook_;
    std::vector<app_test::LaidOutControl> layout_;
    std::vector<std::wstring> blockers_;
    bool started_ = false;
    static inline int runs_ = 0;
};

TEST_F(AppWindow, FirstStartShowsTheDefaultsAndSetsUpTheModemOnCom1) {
    const size_t receivedBefore = readFileBytes(receivedLogPath()).size();
    auto app = launch();
    ASSERT_TRUE(started_);

    ASSERT_EQ(app->popupCount("Serial_Popup"), 4);
    for (int row = 0; row < 4; ++row) EXPECT_EQ(app->popupRow("Serial_Popup", row), L"COM" + std::to_wstring(row + 1));
    EXPECT_EQ(app->popupSelection("Serial_Popup"), 0);
    EXPECT_EQ(app->text("Edit_Port"), L"25");
    EXPECT_EQ(app->text("Edit_Onsu"), L"64");
    EXPECT_EQ(app->text("Edit_Head"), L"0,");
    EXPECT_TRUE(app->checked("Radio_Tone"));
    EXPECT_FALSE(app->checked("Radio_Pulse"));
    EXPECT_TRUE(app->checked("Check_Kanji"));
    EXPECT_TRUE(app->enabled("PushButton", 1));
    for (int i = 2; i <= 5; ++i) EXPECT_FALSE(app->enabled("PushButton", i)) << i;

    // The modem's speaker set-up went to the port mapped to COM1.
    std::string received;
    EXPECT_TRUE(app_test::waitFor([&] {
        received = readFileBytes(receivedLogPath()).substr(receivedBefore);
        return received.find("COM1 ATL1\n") != std::string::npos;
    }));
    EXPECT_NE(received.find("COM1 ATM1\nCOM1 ATL1\n"), std::string::npos) << received;

    quit(*app);
    // Closing saved the preferences: fourteen lines, the defaults among them.
    const std::vector<std::string> lines = linesOf(readFileBytes(preferences_));
    ASSERT_EQ(lines.size(), 14u);
    const std::vector<std::string> defaults = {"False", "0,", "Tone", "0", "64", "", "", "25", "", "False", "False", "False"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end()), defaults);
}

TEST_F(AppWindow, PreferencesSurviveARestartAsExactlyFourteenLines) {
    RECT placed{};
    {
        auto app = launch();
        ASSERT_TRUE(started_);
        app->click("Check_DialTone");
        app->setText("Edit_Head", L"9,");
        app->click("Radio_Pulse");
        app->choosePopupRow("Serial_Popup", 2);
        app->setText("Edit_Onsu", L"32");
        app->setText("Edit_MailAdd", L"me@example.jp");
        app->setText("Edit_SMTP", L"smtp.example.jp");
        app->setText("Edit_Port", L"587");
        app->setText("Edit_RESNO", L"07012345678");
        app->click("Check_Email");
        app->click("Check_MeToo");
        app->click("Check_Manual");
        ASSERT_TRUE(app_test::waitFor([&] { return app->checked("Check_Manual"); }));
        EXPECT_TRUE(app->checked("Radio_Pulse"));
        EXPECT_FALSE(app->checked("Radio_Tone"));
        // Away from where the window opens, so a restored place differs.
        RECT opened{};
        GetWindowRect(app->window(), &opened);
        SetWindowPos(app->window(), nullptr, opened.left + 137, opened.top + 61, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(app_test::waitFor([&] {
            GetWindowRect(app->window(), &placed);
            return placed.left == opened.left + 137 && placed.top == opened.top + 61;
        }));
        quit(*app);
    }
    const std::string saved = readFileBytes(preferences_);
    const std::vector<std::string> lines = linesOf(saved);
    ASSERT_EQ(lines.size(), 14u) << saved;
    const std::string expected = lines[0] + "\r\n" + lines[1] +
                                 "\r\nTrue\r\n9,\r\nPulse\r\n2\r\n32\r\nme@example.jp\r\nsmtp.example.jp\r\n587\r\n"
                                 "07012345678\r\nTrue\r\nTrue\r\nTrue\r\n";
    EXPECT_EQ(saved, expected);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(lines[i].find_first_not_of("-0123456789"), std::string::npos) << lines[i];

    auto app = launch();
    ASSERT_TRUE(started_);
    RECT restored{};
    GetWindowRect(app->window(), &restored);
    EXPECT_EQ(restored.left, placed.left);
    EXPECT_EQ(restored.top, placed.top);
    EXPECT_TRUE(app->checked("Check_DialTone"));
    EXPECT_EQ(app->text("Edit_Head"), L"9,");
    EXPECT_TRUE(app->checked("Radio_Pulse"));
    EXPECT_FALSE(app->checked("Radio_Tone"));
    EXPECT_EQ(app->popupSelection("Serial_Popup"), 2);
    EXPECT_EQ(app->text("Edit_Onsu"), L"32");
    EXPECT_EQ(app->text("Edit_MailAdd"), L"me@example.jp");
    EXPECT_EQ(app->text("Edit_SMTP"), L"smtp.example.jp");
    EXPECT_EQ(app->text("Edit_Port"), L"587");
    EXPECT_EQ(app->text("Edit_RESNO"), L"07012345678");
    EXPECT_TRUE(app->checked("Check_Email"));
    EXPECT_TRUE(app->checked("Check_MeToo"));
    EXPECT_TRUE(app->checked("Check_Manual"));
    // Sending by mail: only "メッセージ送信" is offered.
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(app->enabled("PushButton", i), i == 3) << i;
    quit(*app);
    EXPECT_EQ(readFileBytes(preferences_), saved);
}

TEST_F(AppWindow, DamagedPreferencesKeepTheLaidOutValues) {
    struct Case {
        const char* what;
        std::string file;
        bool dialThroughExtension;
        std::wstring port;
        std::wstring notes;
    };
    std::string extra;
    for (int i = 0; i < 30; ++i) extra += "True\r\n";
    const Case cases[] = {
        {"three lines with garbage numbers", "abc\r\n12x\r\nTrue\r\n", true, L"25", L"64"},
        {"thirty lines", extra, true, L"True", L"True"},
        {"a serial row past the ports", "10\r\n10\r\nFalse\r\n0,\r\nTone\r\n9\r\n", false, L"25", L"64"},
        {"empty", "", false, L"25", L"64"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(writeFileBytes(preferences_, c.file));
        auto app = launch();
        ASSERT_TRUE(started_);
        EXPECT_EQ(app->checked("Check_DialTone"), c.dialThroughExtension);
        EXPECT_EQ(app->text("Edit_Port"), c.port);
        EXPECT_EQ(app->text("Edit_Onsu"), c.notes);
        EXPECT_EQ(app->popupSelection("Serial_Popup"), 0);
        EXPECT_TRUE(app->checked("Radio_Tone"));
        quit(*app);
        EXPECT_EQ(linesOf(readFileBytes(preferences_)).size(), 14u);
    }
}

TEST_F(AppWindow, PreferencesLeftInTheWindowsFolderAreReadAndThenSavedPerUser) {
    const std::wstring old = windowsFolder() + L"\\" + kPreferencesName;
    const std::string file = "80\r\n90\r\nTrue\r\n8,\r\nPulse\r\n1\r\n16\r\n\r\n\r\n2525\r\n\r\nFalse\r\nFalse\r\nTrue\r\n";
    ASSERT_TRUE(writeFileBytes(old, file));
    auto app = launch();
    ASSERT_TRUE(started_);
    EXPECT_EQ(app->text("Edit_Head"), L"8,");
    EXPECT_EQ(app->text("Edit_Port"), L"2525");
    EXPECT_EQ(app->popupSelection("Serial_Popup"), 1);
    EXPECT_TRUE(app->checked("Radio_Pulse"));
    EXPECT_TRUE(app->checked("Check_Manual"));
    quit(*app);
    EXPECT_EQ(linesOf(readFileBytes(preferences_)).at(9), "2525");
    EXPECT_EQ(readFileBytes(old), file);
    DeleteFileW(old.c_str());
}

TEST_F(AppWindow, LengthDisplayTurnsRedOrMagentaPastTheEncodingsLimit) {
    auto app = launch();
    ASSERT_TRUE(started_);
    const COLORREF blue = RGB(0, 0, 255), red = RGB(255, 0, 0), magenta = RGB(255, 0, 255);
    struct Step {
        bool kanji;
        int characters;
        COLORREF colour;
    };
    const Step steps[] = {
        {true, 105, blue}, {true, 106, red}, {false, 106, blue}, {false, 209, blue}, {false, 210, magenta},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.characters) + (s.kanji ? " with kanji" : " without kanji"));
        if (app->checked("Check_Kanji") != s.kanji) app->click("Check_Kanji");
        ASSERT_TRUE(app_test::waitFor([&] { return app->checked("Check_Kanji") == s.kanji; }));
        app->setText("Edit_Msg", std::wstring(size_t(s.characters), L'漢'));
        EXPECT_TRUE(app_test::waitFor([&] { return app->textColour("Static_Moji") == s.colour; }))
            << std::hex << app->textColour("Static_Moji");
    }
    quit(*app);
}

TEST_F(AppWindow, MessageCentreRowFillsTheCentreNumber) {
    auto app = launch();
    ASSERT_TRUE(started_);
    struct Choice {
        int position;  // among the rows that are not separators
        std::wstring number;
    };
    const Choice choices[] = {{0, L"00001001"}, {16, L"00001017"}, {17, L"00002001"}, {37, L"00006003"}};
    for (const Choice& c : choices) {
        const bool chosen = app->chooseBevelRow("Bevel_Center", c.position);
        if (!chosen) app->screenshot(artifact("centre-menu-failure.png"));
        ASSERT_TRUE(chosen) << c.position;
        EXPECT_TRUE(app_test::waitFor([&] { return app->text("Edit_Center") == c.number; }))
            << c.position << ": " << shiftJis(app->text("Edit_Center"));
    }
    quit(*app);
}

std::string addressLines(const std::vector<std::wstring>& lines) {
    std::string bytes;
    for (const std::wstring& line : lines) bytes += shiftJis(line) + "\r\n";
    return bytes;
}

TEST_F(AppWindow, AddressBookLoadsEditsSavesAndImports) {
    // "ソ" and "表" end in the byte 0x5C; one entry has no centre; one line is empty.
    ASSERT_TRUE(writeFileBytes(addressBook_, addressLines({L"太郎\t0901111\t00001011", L"", L"ソ表\t0902222\t",
                                                          L"花子\t0903333\t00003001"})));
    const std::wstring import = folder_ + L"\\export.txt";
    ASSERT_TRUE(writeFileBytes(import, addressLines({L"1\t三郎\tx\t0905555\ty", L"not, tab, separated"})));
    auto app = launch();
    ASSERT_TRUE(started_);

    // The recipient menu gives number and centre of the same entry.
    ASSERT_TRUE(app->chooseBevelRow("Bevel_Phone", 1));
    EXPECT_TRUE(app_test::waitFor([&] { return app->text("Edit_Phone") == L"0902222"; }));
    EXPECT_EQ(app->text("Edit_Center"), L"");
    ASSERT_TRUE(app->chooseBevelRow("Bevel_Phone", 0));
    EXPECT_TRUE(app_test::waitFor([&] { return app->text("Edit_Phone") == L"0901111"; }));
    EXPECT_EQ(app->text("Edit_Center"), L"00001011");
    app->setText("Edit_Msg", L"こんにちは");
    // Every tab shows data in its pictures.
    app->setText("Edit_MailAdd", L"user@example.jp");
    app->setText("Edit_SMTP", L"smtp.example.jp");
    app->setText("Edit_RESNO", L"07012345678");
    app->click("Check_MeToo");
    app->setText("Edit_Melo", L"44154254425442");
    app->click("PushButton3");  // "音データ生成"
    EXPECT_TRUE(app_test::waitFor([&] { return !app->text("Edit_Melo2").empty(); }));
    for (int tab = 1; tab <= 4; ++tab) {
        ASSERT_TRUE(app->showTab(tab)) << tab;
        Sleep(2500);  // the window repaints what the tab shows
        EXPECT_TRUE(app->screenshot(artifact("tab" + std::to_string(tab) + ".png")));
    }
    ASSERT_TRUE(app->showTab(2));

    // "新規" adds a selected entry named 新規名前; typing renames it.
    app->click("PushButton9");
    EXPECT_TRUE(app_test::waitFor([&] { return app->text("EditField1") == L"新規名前"; }));
    app->setText("EditField1", L"次郎");
    app->setText("EditField2", L"0904444");
    // "↑" and "↓" move the selection; "↓" on the last entry stays.
    const std::pair<const char*, std::wstring> moves[] = {
        {"PushButton11", L"花子"}, {"PushButton11", L"ソ表"}, {"PushButton10", L"花子"},
        {"PushButton10", L"次郎"}, {"PushButton10", L"次郎"},
    };
    for (const auto& [button, name] : moves) {
        app->click(button);
        EXPECT_TRUE(app_test::waitFor([&] { return app->text("EditField1") == name; }))
            << button << " gave " << shiftJis(app->text("EditField1"));
    }
    app->click("PushButton11");  // to 花子
    ASSERT_TRUE(app_test::waitFor([&] { return app->text("EditField1") == L"花子"; }));
    app->click("PushButton1");  // "削除"
    app->click("PushButton8");  // "保存"
    const std::string saved = addressLines({L"太郎\t0901111\t00001011", L"ソ表\t0902222\t", L"次郎\t0904444\t"});
    EXPECT_TRUE(app_test::waitFor([&] { return readFileBytes(addressBook_) == saved; }))
        << readFileBytes(addressBook_);

    // "読込": the open dialog takes the export; its second and fourth fields
    // become name and number, and a line that is not tab-separated is skipped.
    app->click("PushButton2");
    const HWND dialog = app->waitForFileDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(app_test::RunningApp::answerFileDialog(dialog, import));
    ASSERT_TRUE(app_test::waitFor([&] { return !IsWindow(dialog); }));
    app->click("PushButton8");
    const std::string imported = saved + addressLines({L"三郎\t0905555\t"});
    EXPECT_TRUE(app_test::waitFor([&] { return readFileBytes(addressBook_) == imported; }))
        << readFileBytes(addressBook_);
    ASSERT_TRUE(app->showTab(1));
    ASSERT_TRUE(app->chooseBevelRow("Bevel_Phone", 3));
    EXPECT_TRUE(app_test::waitFor([&] { return app->text("Edit_Phone") == L"0905555"; }));
    EXPECT_EQ(app->text("Edit_Center"), L"");

    quit(*app);
    EXPECT_EQ(readFileBytes(addressBook_), imported);
}

TEST_F(AppWindow, AnEmptyAddressListNeverReplacesTheFile) {
    const std::string blankLines = "\r\n \r\n\t\t\r\n";
    ASSERT_TRUE(writeFileBytes(addressBook_, blankLines));
    auto app = launch();
    ASSERT_TRUE(started_);
    app->click("PushButton8");  // "保存" with no entries
    quit(*app);
    EXPECT_EQ(readFileBytes(addressBook_), blankLines);
    EXPECT_FALSE(fileExists(addressBook_ + L".new"));
}

TEST_F(AppWindow, QuitMenuSavesThePreferencesAndTheAddressBook) {
    ASSERT_TRUE(writeFileBytes(addressBook_, addressLines({L"太郎\t0901111\t00001011"})));
    auto app = launch();
    ASSERT_TRUE(started_);
    app->setText("Edit_Port", L"2525");
    app->click("PushButton9");  // "新規"
    ASSERT_TRUE(app_test::waitFor([&] { return app->text("EditField1") == L"新規名前"; }));
    app->bringToFront();
    app->pressKeys({'Q'}, true);  // "終了"
    DWORD code = 99;
    ASSERT_TRUE(app->waitForExit(&code));
    EXPECT_EQ(code, 0u) << app->failure();
    EXPECT_EQ(linesOf(readFileBytes(preferences_)).at(9), "2525");
    EXPECT_EQ(readFileBytes(addressBook_), addressLines({L"太郎\t0901111\t00001011", L"新規名前\t\t"}));
}

TEST_F(AppWindow, ASaveThatCannotBeWrittenKeepsTheOldFiles) {
    const std::string oldPreferences = "100\r\n100\r\nFalse\r\n0,\r\nTone\r\n0\r\n64\r\n\r\n\r\n25\r\n\r\nFalse\r\nFalse\r\nFalse\r\n";
    const std::string oldBook = addressLines({L"太郎\t0901111\t00001011"});
    ASSERT_TRUE(writeFileBytes(preferences_, oldPreferences));
    ASSERT_TRUE(writeFileBytes(addressBook_, oldBook));
    blockSave(preferences_);
    blockSave(addressBook_);
    auto app = launch();
    ASSERT_TRUE(started_);
    app->setText("Edit_Port", L"2525");
    app->click("PushButton9");  // "新規"
    ASSERT_TRUE(app_test::waitFor([&] { return app->text("EditField1") == L"新規名前"; }));
    app->click("PushButton13");  // "設定保存"
    app->click("PushButton8");   // "保存"
    quit(*app);
    EXPECT_EQ(readFileBytes(preferences_), oldPreferences);
    EXPECT_EQ(readFileBytes(addressBook_), oldBook);
}

// Another program reading the address book (a virus scanner, an indexer)
// keeps it from being replaced for a moment: the save waits for it.
TEST_F(AppWindow, ASaveGoesThroughAfterAnotherProgramStopsReadingTheFile) {
    ASSERT_TRUE(writeFileBytes(addressBook_, addressLines({L"太郎\t0901111\t00001011"})));
    auto app = launch();
    ASSERT_TRUE(started_);
    app->click("PushButton9");  // "新規"
    ASSERT_TRUE(app_test::waitFor([&] { return app->text("EditField1") == L"新規名前"; }));
    HANDLE reader = CreateFileW(addressBook_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    app->click("PushButton8");  // "保存"
    // The new file is written beside the old one; the reader lets go a little
    // after the program first tried to put it in place.
    const bool written = app_test::waitFor([&] { return fileExists(addressBook_ + L".new"); });
    Sleep(150);
    CloseHandle(reader);
    ASSERT_TRUE(written);
    EXPECT_TRUE(app_test::waitFor([&] {
        return readFileBytes(addressBook_) == addressLines({L"太郎\t0901111\t00001011", L"新規名前\t\t"});
    })) << readFileBytes(addressBook_);
    quit(*app);
}

TEST_F(AppWindow, ModemSetUpGoesToThePortThePreferencesChose) {
    // Line 6 chooses the third row, COM3.
    ASSERT_TRUE(writeFileBytes(preferences_, "100\r\n100\r\nFalse\r\n0,\r\nTone\r\n2\r\n64\r\n\r\n\r\n25\r\n\r\n"
                                             "False\r\nFalse\r\nFalse\r\n"));
    const size_t receivedBefore = readFileBytes(receivedLogPath()).size();
    auto app = launch();
    ASSERT_TRUE(started_);
    EXPECT_EQ(app->popupSelection("Serial_Popup"), 2);
    std::string received;
    EXPECT_TRUE(app_test::waitFor([&] {
        received = readFileBytes(receivedLogPath()).substr(receivedBefore);
        return received.find("COM3 ATL1\n") != std::string::npos;
    })) << received;
    EXPECT_NE(received.find("COM3 ATM1\nCOM3 ATL1\n"), std::string::npos) << received;
    EXPECT_EQ(received.find("COM1 "), std::string::npos) << received;
    quit(*app);
}

TEST_F(AppWindow, AboutBoxGoesAwayOnAnyClickOrKeyAndComesBackOnRequest) {
    auto app = launch();
    ASSERT_TRUE(started_);
    HWND about = openAbout(*app);
    ASSERT_NE(about, nullptr);
    Sleep(2500);  // drawn before the picture is taken
    EXPECT_TRUE(app->screenshot(artifact("about.png")));

    // Each way to put it away; the menu then shows the same window again.
    // The texts are panes of their own: a click on one is a click in the box.
    const std::vector<app_test::LaidOutControl> texts =
        app_test::readLayout(hostPath(SUTAKIBA_APP_PROJECT), "Dialog1Layout");
    ASSERT_GE(texts.size(), 2u);
    auto clickInBox = [&](int left, int top) {
        POINT p{left, top};
        ClientToScreen(about, &p);
        app->clickScreen(p.x, p.y);
    };
    const std::pair<std::string, std::function<void()>> ways[] = {
        {"a click beside the texts", [&] { clickInBox(4, 4); }},
        {"a click on the title text",
         [&] { clickInBox(texts[0].left + texts[0].width / 2, texts[0].top + texts[0].height / 2); }},
        {"a click on the help text",
         [&] { clickInBox(texts.back().left + texts.back().width / 2, texts.back().top + texts.back().height / 2); }},
        {"a letter key", [&] { app->pressKeys({'K'}); }},
        {"the space bar", [&] { app->pressKeys({VK_SPACE}); }},
    };
    for (const auto& [what, putAway] : ways) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(IsWindowVisible(about));
        SetForegroundWindow(about);
        ASSERT_TRUE(app_test::waitFor([&] { return GetForegroundWindow() == about; }, 2000));
        putAway();
        EXPECT_TRUE(app_test::waitFor([&] { return !IsWindowVisible(about); }, 5000));
        EXPECT_TRUE(IsWindow(about));
        const HWND again = openAbout(*app);
        EXPECT_EQ(again, about);
        if (again != about) break;
    }
    // Its close command ends the box; the menu then shows a new one, which a
    // key puts away as well.
    PostMessageW(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(app_test::waitFor([&] { return !IsWindow(about); }, 5000));
    const HWND renewed = openAbout(*app);
    ASSERT_NE(renewed, nullptr);
    SetForegroundWindow(renewed);
    ASSERT_TRUE(app_test::waitFor([&] { return GetForegroundWindow() == renewed; }, 2000));
    app->pressKeys({VK_RETURN});
    EXPECT_TRUE(app_test::waitFor([&] { return !IsWindowVisible(renewed); }, 5000));
    // The main window still answers and quits as usual, the box shown or not.
    EXPECT_EQ(app->text("Edit_Port"), L"25");
    ASSERT_NE(openAbout(*app), nullptr);
    quit(*app);
}

TEST_F(AppWindow, SavingThePreferencesNowWritesThemWhileTheWindowStays) {
    auto app = launch();
    ASSERT_TRUE(started_);
    app->setText("Edit_Port", L"2626");
    app->click("Radio_Pulse");
    ASSERT_TRUE(app_test::waitFor([&] { return app->checked("Radio_Pulse"); }));
    app->click("PushButton13");  // "設定保存"
    std::vector<std::string> lines;
    EXPECT_TRUE(app_test::waitFor([&] {
        lines = linesOf(readFileBytes(preferences_));
        return lines.size() == 14;
    }));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[4], "Pulse");
    EXPECT_EQ(lines[9], "2626");
    EXPECT_TRUE(IsWindowVisible(app->window()));
    quit(*app);
}

TEST_F(AppWindow, SelectAllSelectsTheWholeMessage) {
    auto app = launch();
    ASSERT_TRUE(started_);
    const std::wstring message = L"select every word of this";
    app->setText("Edit_Msg", message);
    HWND field = app->control("Edit_Msg");
    ASSERT_NE(field, nullptr);
    RECT r{};
    GetWindowRect(field, &r);
    app->bringToFront();
    app->clickScreen(r.left + 6, r.top + 6);  // the focus into the message
    ASSERT_TRUE(app_test::waitFor([&] {
        GUITHREADINFO info{sizeof info};
        return GetGUIThreadInfo(GetWindowThreadProcessId(field, nullptr), &info) && info.hwndFocus == field;
    }));
    SendMessageW(field, EM_SETSEL, 2, 2);
    // "編集", then "すべてを選択": the row above the separator before the last.
    app->pressKeys({VK_MENU, VK_RIGHT, VK_DOWN, VK_UP, VK_UP, VK_RETURN});
    DWORD from = 0, to = 0;
    EXPECT_TRUE(app_test::waitFor([&] {
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        return from == 0 && to == message.size();
    })) << from << ".." << to;
    quit(*app);
}

TEST_F(AppWindow, ListEditsReachTheRecipientMenuAndTheFileCleaned) {
    const std::string original = addressLines({L"太郎\t0901111\t00001011", L"花子\t0902222\t00003001"});
    ASSERT_TRUE(writeFileBytes(addressBook_, original));
    auto app = launch();
    ASSERT_TRUE(started_);
    // The tab panel hides the other tabs' controls once it has started.
    ASSERT_TRUE(app_test::waitFor([&] { return !IsWindowVisible(app->control("BevelButton1")); }));
    ASSERT_TRUE(app->showTab(2));
    ASSERT_TRUE(IsWindowVisible(app->control("BevelButton1")));
    // A new entry whose name holds a TAB; its centre from the centre menu.
    app->click("PushButton9");  // "新規"
    ASSERT_TRUE(app_test::waitFor([&] { return app->text("EditField1") == L"新規名前"; }));
    app->setText("EditField1", L"次\t郎");
    app->setText("EditField2", L"0904444");
    const bool chosen = app->chooseBevelRow("BevelButton1", 17);
    if (!chosen) app->screenshot(artifact("entry-centre-menu-failure.png"));
    ASSERT_TRUE(chosen);
    // The first entry goes.
    for (const wchar_t* name : {L"花子", L"太郎"}) {
        app->click("PushButton11");  // "↑"
        ASSERT_TRUE(app_test::waitFor([&] { return app->text("EditField1") == name; }));
    }
    app->click("PushButton1");  // "削除"
    ASSERT_TRUE(app->showTab(1));

    // Not saved yet, the recipient menu already follows the list.
    struct Row {
        int position;
        std::wstring number, centre;
    };
    const Row rows[] = {{1, L"0904444", L"00002001"}, {0, L"0902222", L"00003001"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.position);
        ASSERT_TRUE(app->chooseBevelRow("Bevel_Phone", row.position));
        EXPECT_TRUE(app_test::waitFor([&] { return app->text("Edit_Phone") == row.number; }))
            << shiftJis(app->text("Edit_Phone"));
        EXPECT_EQ(app->text("Edit_Center"), row.centre);
    }
    EXPECT_EQ(readFileBytes(addressBook_), original);

    // Closing saves; the TAB of the name would have made a fourth field.
    quit(*app);
    EXPECT_EQ(readFileBytes(addressBook_),
              addressLines({L"花子\t0902222\t00003001", L"次 郎\t0904444\t00002001"}));
}

TEST_F(AppWindow, EveryWayOutSavesEachFileExactlyOnce) {
    struct Way {
        const char* what;
        bool byMenu;
    };
    const Way ways[] = {{"closing the window", false}, {"終了 in the menu", true}};
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        ASSERT_TRUE(writeFileBytes(addressBook_, addressLines({L"太郎\t0901111\t00001011"})));
        auto app = launch();
        ASSERT_TRUE(started_);
        app->setText("Edit_Port", L"2727");
        SaveCounter bookSaves(folder_);
        SaveCounter preferenceSaves(appDataFolder());
        ASSERT_TRUE(bookSaves.watching() && preferenceSaves.watching());
        DWORD code = 99;
        if (way.byMenu) {
            app->bringToFront();
            app->pressKeys({'Q'}, true);
            ASSERT_TRUE(app->waitForExit(&code));
        } else {
            ASSERT_TRUE(app->closeAndWait(&code));
        }
        EXPECT_EQ(code, 0u) << app->failure();
        EXPECT_EQ(bookSaves.savesOf(kAddressBookName), 1);
        EXPECT_EQ(preferenceSaves.savesOf(kPreferencesName), 1);
        EXPECT_EQ(linesOf(readFileBytes(preferences_)).at(9), "2727");
    }
}

}  // namespace
