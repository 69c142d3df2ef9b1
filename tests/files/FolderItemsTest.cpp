// Folder items against the real file system of the test prefix: paths beside
// the executable, parents, children, listings, renames and the other file
// operations, special folders, the preferences folder and the file dialogs.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <future>
#include <set>
#include <thread>

#include "files/FileTestSupport.h"
#include "files/FolderItemEntries.h"
#include "files/PathRules.h"
#include "files/StreamEntries.h"
#include "objects/BuiltinClasses.h"
#include "objects/LoopEntries.h"
#include "support/MessageBoxWatcher.h"

using namespace testing_support;

namespace {

class RuntimeEnvironment : public ::testing::Environment {
public:
    void SetUp() override { startRuntimeWithFileTypes(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);

std::string executableFolder() {
    std::string folder = testProgramFolder();
    folder.pop_back();  // the final "\"
    return folder;
}

TEST(FolderItemPaths, RelativeToTheExecutable) {
    const std::string exe = executableFolder();
    const std::string drive = exe.substr(0, 2);
    const std::pair<std::string, std::string> cases[] = {
        {"Prefs.txt", exe + "\\Prefs.txt"},
        {"sub\\x.txt", exe + "\\sub\\x.txt"},
        {"D:\\Data\\x.txt", "D:\\Data\\x.txt"},
        {"\\\\server\\share\\x.txt", "\\\\server\\share\\x.txt"},
        {"\\Temp\\x.txt", drive + "\\Temp\\x.txt"},
    };
    for (const auto& [text, expected] : cases) {
        Owned argument(text);
        EXPECT_EQ(pathOf(result(RuntimeGetFolderItem(argument))), expected) << text;
        EXPECT_EQ(pathOf(result(RuntimeGetTrueFolderItem(argument))), expected) << text;
    }
}

TEST(FolderItemPaths, AnItemWithoutPathIsTheExecutablesFolder) {
    Result item = result(runtime::newObject(runtime::builtinClass("FolderItem")));
    EXPECT_EQ(pathOf(item), executableFolder());
    EXPECT_TRUE(fileDirectoryGetter(item.get()));
}

TEST(FolderItemPaths, ParentsAndNames) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\App\\x.txt", "C:\\App"},
        {"C:\\App", "C:"},
    };
    for (const auto& [path, parent] : cases) EXPECT_EQ(pathOf(result(folderParentGetter(itemAt(path).get()))), parent);
    EXPECT_EQ(folderParentGetter(itemAt("C:").get()), nullptr);
    EXPECT_EQ(take(fileNameGetter(itemAt("C:\\App\\x.txt").get())), "x.txt");
    // A bare drive is a directory without asking the disk (Q: does not exist).
    EXPECT_TRUE(fileDirectoryGetter(itemAt("Q:").get()));
    EXPECT_FALSE(fileExistsGetter(itemAt("Q:\\nothing.txt").get()));
}

TEST(FolderItemFiles, ExistenceDirectoryLengthAndAttributes) {
    ScratchFolder scratch;
    writeFileBytes(scratch.file("a.txt"), "12345");
    Result file = itemAt(scratch.file("a.txt"));
    Result folder = itemAt(scratch.path());
    Result missing = itemAt(scratch.file("missing.txt"));

    EXPECT_TRUE(fileExistsGetter(file.get()));
    EXPECT_FALSE(fileDirectoryGetter(file.get()));
    EXPECT_EQ(fileSizeGetter(file.get()), 5);
    EXPECT_TRUE(fileDirectoryGetter(folder.get()));
    EXPECT_TRUE(fileExistsGetter(folder.get()));
    EXPECT_FALSE(fileExistsGetter(missing.get()));
    EXPECT_FALSE(fileDirectoryGetter(missing.get()));
    EXPECT_EQ(fileSizeGetter(missing.get()), 0);

    EXPECT_FALSE(fileLockedGetter(file.get()));
    fileLockedSetter(file.get(), true);
    EXPECT_TRUE(fileLockedGetter(file.get()));
    EXPECT_TRUE(GetFileAttributesA(scratch.file("a.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    fileLockedSetter(file.get(), false);
    EXPECT_FALSE(fileLockedGetter(file.get()));

    EXPECT_TRUE(fileVisibleGetter(file.get()));
    fileVisibleSetter(file.get(), false);
    EXPECT_FALSE(fileVisibleGetter(file.get()));
    EXPECT_FALSE(fileLockedGetter(file.get()));  // only the hidden bit changed
    fileVisibleSetter(file.get(), true);
    EXPECT_TRUE(fileVisibleGetter(file.get()));

    // A missing item reads as unlocked and visible; setting creates nothing.
    fileLockedSetter(missing.get(), true);
    EXPECT_FALSE(fileLockedGetter(missing.get()));
    EXPECT_TRUE(fileVisibleGetter(missing.get()));
    EXPECT_FALSE(fileExistsGetter(missing.get()));

    EXPECT_FALSE(fileAliasGetter(file.get()));
    EXPECT_EQ(fileRFSizeGetter(file.get()), 0);
}

TEST(FolderItemFiles, RenameMakesTheNewNameThePath) {
    ScratchFolder scratch;
    writeFileBytes(scratch.file("a.txt"), "abc");
    Result item = itemAt(scratch.file("a.txt"));
    Owned name("b.txt");
    fileNameSetter(item.get(), name);
    EXPECT_EQ(pathOf(item), scratch.file("b.txt"));
    EXPECT_EQ(take(fileNameGetter(item.get())), "b.txt");
    EXPECT_FALSE(fileExists(scratch.file("a.txt")));
    EXPECT_EQ(readFileBytes(scratch.file("b.txt")), "abc");
    EXPECT_EQ(name.refs(), 1);
}

TEST(FolderItemFiles, ChildrenAndListing) {
    ScratchFolder scratch;
    for (const char* name : {"one.txt", "two.txt", "three.txt"}) writeFileBytes(scratch.file(name), name);
    Result folder = itemAt(scratch.path());
    Owned childName("two.txt");
    EXPECT_EQ(pathOf(result(FolderChild(folder.get(), childName))), scratch.file("two.txt"));
    Owned notThere("nothing.txt");
    Result absent = result(FolderTrueChild(folder.get(), notThere));
    EXPECT_EQ(pathOf(absent), scratch.file("nothing.txt"));  // need not exist

    ASSERT_EQ(fileCountGetter(folder.get()), 3);
    EXPECT_EQ(FolderItemItem(folder.get(), 0), nullptr);
    EXPECT_EQ(FolderItemItem(folder.get(), 4), nullptr);
    std::set<std::string> names;
    for (int i = 1; i <= 3; ++i) {
        Result item = result(FolderItemItem(folder.get(), i));
        ASSERT_TRUE(item);
        names.insert(take(fileNameGetter(item.get())));
        EXPECT_EQ(pathOf(result(FolderItemTrueItem(folder.get(), i))), pathOf(item));
    }
    EXPECT_EQ(names, (std::set<std::string>{"one.txt", "two.txt", "three.txt"}));

    // Count lists the folder again.
    writeFileBytes(scratch.file("four.txt"), "4");
    EXPECT_EQ(fileCountGetter(folder.get()), 4);
    EXPECT_EQ(fileCountGetter(itemAt(scratch.file("missing")).get()), 0);
}

TEST(FolderItemFiles, CopyMoveDeleteAndCreateFolder) {
    ScratchFolder scratch;
    writeFileBytes(scratch.file("a.txt"), "first");
    writeFileBytes(scratch.file("old.txt"), "old");
    Result a = itemAt(scratch.file("a.txt"));
    Result sub = itemAt(scratch.file("sub"));
    FolderItemCreateAsFolder(sub.get());
    EXPECT_TRUE(fileDirectoryGetter(sub.get()));

    // Into a folder: under the item's own name; onto a file: overwriting it.
    FolderItemCopyFileTo(a.get(), sub.get());
    EXPECT_EQ(readFileBytes(scratch.file("sub\\a.txt")), "first");
    FolderItemCopyFileTo(a.get(), itemAt(scratch.file("old.txt")).get());
    EXPECT_EQ(readFileBytes(scratch.file("old.txt")), "first");

    FolderItemMoveFileTo(itemAt(scratch.file("old.txt")).get(), itemAt(scratch.file("moved.txt")).get());
    EXPECT_FALSE(fileExists(scratch.file("old.txt")));
    EXPECT_EQ(readFileBytes(scratch.file("moved.txt")), "first");

    FolderItemDelete(a.get());
    EXPECT_FALSE(fileExistsGetter(a.get()));
    // Failures are silent.
    FolderItemDelete(a.get());
    FolderItemCopyFileTo(a.get(), sub.get());
    FolderItemMoveFileTo(a.get(), sub.get());
    FolderItemCreateAsFolder(itemAt(scratch.file("no\\such\\folder")).get());
    EXPECT_FALSE(fileExists(scratch.file("no")));
}

TEST(FolderItemFiles, TypesFromTheDeclaredExtensions) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\x\\song.als", "Melody"},
        {"C:\\x\\NOTES.TXT", "Melody"},
        {"C:\\x\\book.dat", "text/tab-separated-values"},
    };
    for (const auto& [path, type] : cases) EXPECT_EQ(take(fileTypeGetter(itemAt(path).get())), type) << path;
    Result item = itemAt("C:\\x\\song.als");
    Owned code("pref");
    fileMacTypeSetter(item.get(), code);
    fileMacCreatorSetter(item.get(), code);
    EXPECT_EQ(fileMacTypeGetter(item.get()), nullptr);
    EXPECT_EQ(fileMacCreatorGetter(item.get()), nullptr);
}

TEST(FolderItemFiles, DatesComeAndGoWithTheFile) {
    ScratchFolder scratch;
    writeFileBytes(scratch.file("a.txt"), "x");
    Result item = itemAt(scratch.file("a.txt"));
    Result created = result(folderGetCreation(item.get()));
    Result modified = result(folderGetModified(item.get()));
    ASSERT_TRUE(created);
    ASSERT_TRUE(modified);
    EXPECT_EQ(modified.classRecord(), runtime::builtinClass("Date"));

    // A date moved back by one day is written to the file and read again.
    auto* ticks = modified.field<uint64_t>(24);
    const uint64_t dayEarlier = *ticks - 864000000000ull;
    *ticks = dayEarlier;
    folderSetModified(item.get(), modified.get());
    EXPECT_EQ(*result(folderGetModified(item.get())).field<uint64_t>(24), dayEarlier);
    folderSetCreation(item.get(), modified.get());
    EXPECT_EQ(*result(folderGetCreation(item.get())).field<uint64_t>(24), dayEarlier);

    Result missing = itemAt(scratch.file("missing.txt"));
    EXPECT_EQ(folderGetCreation(missing.get()), nullptr);
    EXPECT_EQ(folderGetModified(missing.get()), nullptr);
    folderSetModified(missing.get(), modified.get());
    folderSetModified(item.get(), nullptr);
    EXPECT_FALSE(fileExists(scratch.file("missing.txt")));
}

TEST(SystemFolders, SystemFoldersVolumesAndTemporaryFiles) {
    for (auto routine : {getSystemFolder, getExtensionsFolder, getTemporaryItemsFolder, getDesktopFolder, getFontsFolder}) {
        Result folder = result(routine());
        ASSERT_TRUE(folder);
        EXPECT_TRUE(fileDirectoryGetter(folder.get())) << pathOf(folder);
    }
    char windows[MAX_PATH] = {};
    GetSystemDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(pathOf(result(getSystemFolder())), windows);
    EXPECT_EQ(pathOf(result(getTemporaryItemsFolder())).back(), '\\');
    EXPECT_EQ(getShutdownItemsFolder(), nullptr);
    EXPECT_FALSE(getUserCancelled());

    Result temporary = result(getTemporaryFolderItem());
    ASSERT_TRUE(temporary);
    EXPECT_TRUE(fileExistsGetter(temporary.get()));
    EXPECT_EQ(fileSizeGetter(temporary.get()), 0);
    EXPECT_EQ(take(fileNameGetter(temporary.get())).substr(0, 3), "vlt");
    FolderItemDelete(temporary.get());

    const int32_t volumes = getVolumeCount();
    ASSERT_GE(volumes, 1);
    EXPECT_EQ(pathOf(result(getVolume(0))), "C:");  // C to Z come first
    EXPECT_EQ(getVolume(volumes), nullptr);
    EXPECT_EQ(getVolume(-1), nullptr);
}

TEST(PreferencesFolder, PerUserFolderWithTheWindowsDirectoryStillRead) {
    Result preferences = result(getPreferencesFolder());
    ASSERT_TRUE(preferences);
    EXPECT_TRUE(fileDirectoryGetter(preferences.get()));
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_NE(pathOf(preferences), windows);

    const std::string name = "sutakiba-prefs-" + std::to_string(GetCurrentProcessId()) + ".txt";
    const std::string older = std::string(windows) + "\\" + name;
    writeFileBytes(older, "old settings\r\n");
    Owned childName(name);
    Result prefs = result(FolderChild(preferences.get(), childName));
    EXPECT_EQ(pathOf(prefs), pathOf(preferences) + "\\" + name);

    // Read from the Windows directory while the per-user file is missing ...
    {
        Result in = result(FolderItemOpenTextFile(prefs.get()));
        ASSERT_TRUE(in);
        EXPECT_EQ(take(TextInputStreamReadLine(in.get())), "old settings");
    }
    // ... written to the per-user folder, which is read from then on.
    {
        Result out = result(FolderItemCreateTextFile(prefs.get()));
        ASSERT_TRUE(out);
        Owned line("new settings");
        TextOutputStreamWriteLine(out.get(), line);
    }
    EXPECT_EQ(readFileBytes(pathOf(prefs)), "new settings\r\n");
    EXPECT_EQ(readFileBytes(older), "old settings\r\n");
    Result in = result(FolderItemOpenTextFile(prefs.get()));
    ASSERT_TRUE(in);
    EXPECT_EQ(take(TextInputStreamReadLine(in.get())), "new settings");
    in = {};
    DeleteFileA(older.c_str());
    DeleteFileA(pathOf(prefs).c_str());
}

// The file dialog of this process: its filter list and file name box are
// read, then a name is typed and confirmed, or the dialog is cancelled.
struct DialogSeen {
    std::string firstFilter;
    std::string firstPattern;  // the dialog keeps the entry's pattern as its item data
    bool found = false;
};

BOOL CALLBACK findOwnDialog(HWND window, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && std::string(name) == "#32770") {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

HWND findDialog(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND found = nullptr;
        EnumWindows(findOwnDialog, reinterpret_cast<LPARAM>(&found));
        if (found) return found;
        Sleep(50);
    }
    return nullptr;
}

constexpr int kFilterList = 0x470;  // cmb1
constexpr int kFileNameBox = 0x480;  // edt1
constexpr int kFileNameCombo = 0x47C;  // cmb13, the explorer-style name box

DialogSeen answerDialog(const std::string& fileName, int button) {
    DialogSeen seen;
    HWND dialog = findDialog(20000);
    if (!dialog) return seen;
    seen.found = true;
    HWND filters = GetDlgItem(dialog, kFilterList);
    char text[256] = {};
    if (filters && SendMessageA(filters, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text)) != CB_ERR) seen.firstFilter = text;
    const LRESULT pattern = filters ? SendMessageW(filters, CB_GETITEMDATA, 0, 0) : CB_ERR;
    if (pattern != CB_ERR && pattern != 0) {
        const std::wstring wide(reinterpret_cast<const wchar_t*>(pattern));
        seen.firstPattern.assign(wide.begin(), wide.end());
    }
    if (!fileName.empty()) {
        HWND box = GetDlgItem(dialog, kFileNameBox);
        if (!box) box = GetDlgItem(dialog, kFileNameCombo);
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName.c_str()));
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    return seen;
}

TEST(FileDialogs, OpenShowsTheDeclaredPatternsAndGivesTheChosenFile) {
    ScratchFolder scratch;
    writeFileBytes(scratch.file("tune.als"), "x");
    auto answer = std::async(std::launch::async, [&] { return answerDialog(scratch.file("tune.als"), IDOK); });
    Owned types("Melody");
    Result chosen = result(RuntimeGetOpenFolderItem(types));
    const DialogSeen seen = answer.get();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.firstFilter, "Melody");
    EXPECT_EQ(seen.firstPattern, "*.als;*.txt");
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(runtime::equalsIgnoringCase(pathOf(chosen), scratch.file("tune.als"))) << pathOf(chosen);
}

TEST(FileDialogs, CancelGivesNil) {
    auto answer = std::async(std::launch::async, [] { return answerDialog("", IDCANCEL); });
    Owned types("Melody");
    EXPECT_EQ(RuntimeGetSaveFolderItem(types), nullptr);
    EXPECT_TRUE(answer.get().found);
}

TEST(FileDialogs, SaveAddsTheDefaultExtension) {
    ScratchFolder scratch;
    auto answer = std::async(std::launch::async, [&] { return answerDialog(scratch.file("song"), IDOK); });
    Owned types("Melody");
    Result chosen = result(RuntimeGetSaveFolderItem(types));
    EXPECT_TRUE(answer.get().found);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(take(fileNameGetter(chosen.get())), "song.als");
}

}  // namespace
