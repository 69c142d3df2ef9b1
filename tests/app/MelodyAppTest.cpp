// Melodies in the real sutakiba.exe, driven from outside through its window:
// typed digits listed and counted, the preview heard through the note
// player's log (there is no synthesiser here), and melody files imported
// through the open dialog from files the tests build byte by byte.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "AppDriver.h"
#include "support/MessageBoxWatcher.h"
#include "support/RealInput.h"

using app_test::RunningApp;
using app_test::hostPath;
using app_test::readFileBytes;
using app_test::shiftJis;
using app_test::writeFileBytes;

namespace {

constexpr wchar_t kPreferencesName[] = L"すたきば初期設定";
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
const std::wstring kNoMelody = L"着メロデータがありません";

// Short MIDI messages of the note player on its first channel.
constexpr unsigned noteOn(int note) { return 0x90u | unsigned(note) << 8 | 127u << 16; }
constexpr unsigned noteOff(int note) { return 0x80u | unsigned(note) << 8 | 64u << 16; }

struct MidiEvent {
    unsigned long tick;
    unsigned message;
};

std::vector<MidiEvent> readMidiLog(const std::wstring& path) {
    std::vector<MidiEvent> events;
    std::istringstream lines(readFileBytes(path));
    std::string line;
    while (std::getline(lines, line)) {
        MidiEvent event{};
        // Notes only: the player also sets its instrument when it is made.
        if (std::sscanf(line.c_str(), "%lu %x", &event.tick, &event.message) != 2) continue;
        if ((event.message & 0xE0) == 0x80) events.push_back(event);
    }
    return events;
}

std::wstring appDataFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
    return path;
}

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

class Melodies : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"sutakiba-melody-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++runs_);
        CreateDirectoryW(folder_.c_str(), nullptr);
        exe_ = folder_ + L"\\sutakiba.exe";
        ASSERT_TRUE(CopyFileW(hostPath(SUTAKIBA_APP_EXE).c_str(), exe_.c_str(), FALSE));
        preferences_ = appDataFolder() + L"\\" + kPreferencesName;
        DeleteFileW(preferences_.c_str());
        midiLog_ = folder_ + L"\\midi.log";
        DeleteFileW(midiLog_.c_str());
        // The program writes its note player's messages there instead of to
        // a device; it inherits the variable.
        SetEnvironmentVariableW(L"SUTAKIBA_MIDI_LOG", midiLog_.c_str());
        layout_ = app_test::readLayout(hostPath(SUTAKIBA_APP_PROJECT), "Window1Layout");
        ASSERT_GT(layout_.size(), 60u);
        app_ = std::make_unique<RunningApp>(exe_, folder_, layout_);
        ASSERT_TRUE(app_->start()) << app_->failure();
    }

    void TearDown() override {
        if (app_) {
            DWORD code = 99;
            EXPECT_TRUE(app_->closeAndWait(&code)) << "the program did not end";
            EXPECT_EQ(code, 0u) << app_->failure();
        }
        SetEnvironmentVariableW(L"SUTAKIBA_MIDI_LOG", nullptr);
        DeleteFileW(preferences_.c_str());
    }

    std::wstring text(const std::string& name) const { return app_->text(name); }

    bool waitForText(const std::string& name, const std::wstring& expected) const {
        return app_test::waitFor([&] { return app_->text(name) == expected; });
    }

    // Types digits into Edit_Melo and presses "音データ生成".
    void buildMelody(const std::wstring& digits) {
        ASSERT_TRUE(app_->showTab(4));
        app_->setText("Edit_Melo", digits);
        app_->click("PushButton3");
    }

    std::vector<MidiEvent> waitForMidi(size_t count) const {
        std::vector<MidiEvent> events;
        app_test::waitFor([&] {
            events = readMidiLog(midiLog_);
            return events.size() >= count;
        });
        return events;
    }

    // The message box the program shows next: its text, after pressing OK.
    std::wstring dismissedMessage() const {
        auto box = testing_support::dismissMessageBox(app_->processId(), 10000);
        return box ? app_test::fromShiftJis(box->text) : L"<no message box>";
    }

    int progressMaximum() const {
        return int(SendMessageW(app_->control("Prog_Status"), PBM_GETRANGE, FALSE, 0));
    }

    // Presses "ALS 読込" and answers the open dialog with `path` (or cancels).
    void importFile(const std::wstring& path, bool cancel = false) {
        ASSERT_TRUE(app_->showTab(1));
        app_->click("PushButton6");
        const HWND dialog = app_->waitForFileDialog();
        ASSERT_NE(dialog, nullptr);
        if (cancel) {
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        } else {
            ASSERT_TRUE(app_test::RunningApp::answerFileDialog(dialog, path));
        }
        ASSERT_TRUE(app_test::waitFor([&] { return !IsWindow(dialog); }));
    }

    std::wstring melodyFile(const std::wstring& name, const std::string& contents) const {
        const std::wstring path = folder_ + L"\\" + name;
        EXPECT_TRUE(writeFileBytes(path, contents));
        return path;
    }

    std::wstring folder_, exe_, preferences_, midiLog_;
    std::vector<app_test::LaidOutControl> layout_;
    std::unique_ptr<RunningApp> app_;
    static inline int runs_ = 0;
};

TEST_F(Melodies, TypedDigitsAreListedAndPlayedAtTheirTempo) {
    buildMelody(L"4415425");
    EXPECT_TRUE(waitForText("Edit_Melo2", L"Tempo=108\r\nド(４)レ(４)\r\nEnd")) << shiftJis(text("Edit_Melo2"));
    // Building the digits offers the preview.
    ASSERT_TRUE(app_test::waitFor([&] { return app_->enabled("PushButton4") && app_->enabled("PushButton7"); }));

    app_->click("PushButton4");
    EXPECT_TRUE(waitForText("PushButton4", L"演奏停止"));
    EXPECT_EQ(text("PushButton7"), L"演奏停止");
    // The play list 1#60#1#62#FF has five fields: the progress runs over them.
    EXPECT_EQ(progressMaximum(), 5);

    // Each note sounds for trunc(60000 x 1 / 108) = 555 ms; at the end the
    // captions come back and the last note is switched off.
    EXPECT_TRUE(waitForText("PushButton4", L"着メロ試聴"));
    const std::vector<MidiEvent> events = waitForMidi(3);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].message, noteOn(60));
    EXPECT_EQ(events[1].message, noteOn(62));
    EXPECT_EQ(events[2].message, noteOff(62));
    const unsigned long apart = events[1].tick - events[0].tick;
    EXPECT_GE(apart, 540u);
    EXPECT_LT(apart, 1500u);
    EXPECT_EQ(text("PushButton7"), L"着メロ試聴");
}

TEST_F(Melodies, StoppingThePreviewSilencesTheSoundingNote) {
    // A whole note at 60 beats per minute lasts four seconds: stopped long before.
    buildMelody(L"0015035");
    ASSERT_TRUE(app_test::waitFor([&] { return app_->enabled("PushButton7"); }));
    ASSERT_TRUE(app_->showTab(1));
    app_->click("PushButton7");
    EXPECT_TRUE(waitForText("PushButton7", L"演奏停止"));
    ASSERT_EQ(waitForMidi(1).size(), 1u);
    app_->click("PushButton7");
    EXPECT_TRUE(waitForText("PushButton7", L"着メロ試聴"));
    EXPECT_EQ(text("PushButton4"), L"着メロ試聴");
    const std::vector<MidiEvent> events = waitForMidi(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].message, noteOn(60));
    EXPECT_EQ(events[1].message, noteOff(60));
    // Nothing more sounds once stopped.
    Sleep(4500);
    EXPECT_EQ(readMidiLog(midiLog_).size(), 2u);
}

TEST_F(Melodies, ListingOfTiesRestsAndUnknownCodes) {
    struct Case {
        std::wstring digits;
        std::wstring listing;
    };
    const Case cases[] = {
        {L"4415201", L"Tempo=108\r\nド(４+８)\r\nEnd"},
        {L"9415201101", L"Tempo=168\r\nド(４+８+１６)\r\nEnd"},
        // A tie with no note before it is a rest, and the tempo line stays whole.
        {L"0201415", L"Tempo=60\r\n休(８)ド(４)\r\nEnd"},
        // An unknown pitch code keeps the previous note; an unknown length
        // digit the previous length; digits on two lines are one melody.
        {L"3600499\r\n0", L"Tempo=96\r\n休(２)休(４)休(全)\r\nEnd"},
        {L"3799", L"Tempo=96\r\n(２．)\r\nEnd"},
    };
    for (const Case& c : cases) {
        buildMelody(c.digits);
        EXPECT_TRUE(waitForText("Edit_Melo2", c.listing))
            << shiftJis(c.digits) << " listed " << shiftJis(text("Edit_Melo2"));
    }
}

// The static texts are drawn by the program itself: what shows is their colour.
TEST_F(Melodies, NoteCountAndLengthDisplayTurnRedPastTheirLimits) {
    struct Case {
        int notes;
        COLORREF count;   // more notes than Edit_Onsu's 64
        COLORREF length;  // trunc((5 + 3 x notes - 3) / 2) characters past 105
    };
    const Case cases[] = {{64, kBlue, kBlue}, {65, kRed, kBlue}, {69, kRed, kBlue}, {70, kRed, kRed}};
    for (const Case& c : cases) {
        std::wstring melody = L"4";
        for (int i = 0; i < c.notes; ++i) melody += L"415";
        buildMelody(melody);
        EXPECT_TRUE(app_test::waitFor([&] { return app_->textColour("Static_Onsu2") == c.count; }))
            << c.notes << " notes: " << std::hex << app_->textColour("Static_Onsu2");
        ASSERT_TRUE(app_->showTab(1));
        EXPECT_TRUE(app_test::waitFor([&] { return app_->textColour("Static_Onsu") == c.count; }))
            << c.notes << " notes: " << std::hex << app_->textColour("Static_Onsu");
        EXPECT_TRUE(app_test::waitFor([&] { return app_->textColour("Static_Moji") == c.length; }))
            << c.notes << " notes: " << std::hex << app_->textColour("Static_Moji");
    }
}

TEST_F(Melodies, PointingAtTheDigitsCountsThem) {
    ASSERT_TRUE(app_->showTab(4));
    std::wstring melody = L"4";
    for (int i = 0; i < 65; ++i) melody += L"415";
    app_->setText("Edit_Melo", melody);
    RECT r{};
    GetWindowRect(app_->control("Edit_Melo"), &r);
    for (int step = 0; step < 3; ++step) {
        testing_support::sendMouseAt(POINT{r.left + 20 + 10 * step, r.top + 20}, 0);
        Sleep(60);
    }
    EXPECT_TRUE(app_test::waitFor([&] { return app_->textColour("Static_Onsu2") == kRed; }))
        << std::hex << app_->textColour("Static_Onsu2");
}

TEST_F(Melodies, MissingMelodyIsReportedWithoutPlaying) {
    buildMelody(L"");
    EXPECT_EQ(dismissedMessage(), kNoMelody);
    EXPECT_EQ(text("Edit_Melo2"), L"");
    EXPECT_FALSE(app_->enabled("PushButton4"));

    // Digits too short for a note: the preview refuses and disables itself.
    buildMelody(L"4");
    ASSERT_TRUE(app_test::waitFor([&] { return app_->enabled("PushButton4"); }));
    app_->click("PushButton4");
    EXPECT_EQ(dismissedMessage(), kNoMelody);
    EXPECT_TRUE(app_test::waitFor([&] { return !app_->enabled("PushButton4") && !app_->enabled("PushButton7"); }));
    EXPECT_TRUE(readMidiLog(midiLog_).empty());
}

// A melody file with a title, a decoy marker at an odd hex position, the
// tempo byte 0x7E, every duration byte (the ties CE, CF, D0 and D1 among
// them), pitch bytes across the range, a rest, an unknown pitch byte, a note
// of two duration bytes and one that keeps the previous length name.
TEST_F(Melodies, ImportTurnsAMelodyFileIntoDigitsListingAndMessage) {
    std::string file = bytes({0x01}) + "MELODY" + bytes({0xFD, 0x0F, 0xDF, 0x10, 0xFD, 0xF1, 0x7E});
    const int durations[] = {0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8,
                             0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF, 0xD0, 0xD1};
    for (int i = 0; i < 18; ++i) file += bytes({durations[i], 0x2E + i});
    file += bytes({0xC4, 0x4A, 0xC4, 0x00, 0xC4, 0x20, 0xC4, 0xC6, 0x40, 0xA1, 0x41, 0xFF});
    importFile(melodyFile(L"song.als", file));

    const std::wstring digits = L"6053754663564473315216825126135145146155156665201066201475101617401201"
                                L"477400400418201427";
    EXPECT_TRUE(waitForText("Edit_Melo", digits)) << shiftJis(text("Edit_Melo"));
    EXPECT_EQ(text("Edit_Melo2"),
              L"Tempo=120\r\nソ▼(全)ソ＃▼(２．)ラ▼(２)ラ＃▼(４．)シ▼(４)ド(８．)ド＃(８)レ(３連)レ＃(６連)ミ(１６)"
              L"ファ(５連)ファ＃(３２)ソ(６４)ソ＃(１２８)ラ(２+８)ラ＃(全+８)シ(４+１６)ド▲(２+４+８)シ▲(４)休(４)"
              L"？(４)ド＃▲(８)レ▲(８)\r\nEnd");
    EXPECT_EQ(text("Edit_Msg"), L"MELODY\r\n");
    EXPECT_TRUE(app_->checked("Check_Melo"));
    EXPECT_TRUE(app_->enabled("Check_Melo"));
    EXPECT_TRUE(app_->enabled("PushButton7"));
    EXPECT_TRUE(app_->enabled("PushButton4"));
    // 23 notes, fewer than 64.
    EXPECT_TRUE(app_test::waitFor([&] { return app_->textColour("Static_Onsu") == kBlue; }))
        << std::hex << app_->textColour("Static_Onsu");

    // The import plays: its first note is note 55, for a whole note at 126 BPM.
    app_->click("PushButton7");
    ASSERT_EQ(waitForMidi(1).size(), 1u);
    EXPECT_EQ(readMidiLog(midiLog_)[0].message, noteOn(55));
    app_->click("PushButton7");
    const std::vector<MidiEvent> events = waitForMidi(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].message, noteOff(55));
}

TEST_F(Melodies, ImportEdgeCases) {
    // No title: the file's name; tempo byte 0x78 is 108 BPM, digit 4.
    importFile(melodyFile(L"tune.als", bytes({0x00, 0xFD, 0xF1, 0x78, 0xC4, 0x32, 0xFF})));
    EXPECT_TRUE(waitForText("Edit_Melo", L"4473")) << shiftJis(text("Edit_Melo"));
    EXPECT_EQ(text("Edit_Msg"), L"tune\r\n");
    EXPECT_EQ(text("Edit_Melo2"), L"Tempo=108\r\nシ▼(４)\r\nEnd");

    // Song data cut off inside a note: the notes before it are kept.
    importFile(melodyFile(L"cut.als", bytes({0x02, 'A', 0xFD, 0xF1, 0x7E, 0xC4, 0x33, 0xC4})));
    EXPECT_TRUE(waitForText("Edit_Melo", L"6415")) << shiftJis(text("Edit_Melo"));
    EXPECT_EQ(text("Edit_Msg"), L"A\r\n");

    // A file without the marker: reported, and the melody before it stays.
    importFile(melodyFile(L"plain.als", bytes({0x02, 'B', 0xFD, 0x0F, 0xDF, 0x10, 0xC4, 0x32, 0xFF})));
    EXPECT_EQ(dismissedMessage(), kNoMelody);
    EXPECT_EQ(text("Edit_Msg"), L"A\r\n");

    // A cancelled dialog changes nothing.
    importFile(L"", true);
    EXPECT_EQ(text("Edit_Msg"), L"A\r\n");
    EXPECT_TRUE(app_->checked("Check_Melo"));
}

}  // namespace
