// The special folders of the system as folder items, the temporary file and
// the volumes.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "files/FolderItemEntries.h"
#include "files/FolderItems.h"
#include "text/EntryGuard.h"
#include "text/SystemText.h"

using namespace runtime;

namespace {

// A folder item for a directory name that the system wrote into `buffer`
// (`length` characters); nil when the call failed.
ObjectHandle itemForSystemFolder(const wchar_t* buffer, UINT length) {
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return newFolderItem(fromSystemText(std::wstring_view(buffer, length))).release();
}

ObjectHandle shellFolder(int folder) {
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, &items)) || !items) return nullptr;
    wchar_t path[MAX_PATH] = {};
    const bool found = SHGetPathFromIDListW(items, path) != FALSE;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(items);
        allocator->Release();
    }
    if (!found || !path[0]) return nullptr;
    return newFolderItem(fromSystemText(path)).release();
}

// The drive letters present, C to Z first, then A and B.
std::string presentDrives() {
    const DWORD drives = GetLogicalDrives();
    std::string letters;
    for (const char letter : std::string_view("CDEFGHIJKLMNOPQRSTUVWXYZAB")) {
        if (drives & (1u << (letter - 'A'))) letters += letter;
    }
    return letters;
}

}  // namespace

ObjectHandle getPreferencesFolder() {
    return guardedEntry([] { return newFolderItem(preferencesFolderPath()).release(); });
}

ObjectHandle getSystemFolder() {
    return guardedEntry([] {
        wchar_t folder[MAX_PATH] = {};
        return itemForSystemFolder(folder, GetSystemDirectoryW(folder, MAX_PATH));
    });
}

ObjectHandle getExtensionsFolder() { return getSystemFolder(); }

ObjectHandle getTemporaryItemsFolder() {
    return guardedEntry([] {
        wchar_t folder[MAX_PATH] = {};
        return itemForSystemFolder(folder, GetTempPathW(MAX_PATH, folder));
    });
}

ObjectHandle getTemporaryFolderItem() {
    return guardedEntry([]() -> ObjectHandle {
        wchar_t folder[MAX_PATH] = {};
        const DWORD length = GetTempPathW(MAX_PATH, folder);
        if (length == 0 || length >= MAX_PATH) return nullptr;
        wchar_t name[MAX_PATH] = {};
        if (GetTempFileNameW(folder, L"vlt", 0, name) == 0) return nullptr;
        return newFolderItem(fromSystemText(name)).release();
    });
}

ObjectHandle getDesktopFolder() { return guardedEntry([] { return shellFolder(CSIDL_DESKTOPDIRECTORY); }); }
ObjectHandle getAppleMenuFolder() { return guardedEntry([] { return shellFolder(CSIDL_PROGRAMS); }); }
ObjectHandle getControlPanelsFolder() { return guardedEntry([] { return shellFolder(CSIDL_CONTROLS); }); }
ObjectHandle getStartupItemsFolder() { return guardedEntry([] { return shellFolder(CSIDL_STARTUP); }); }
ObjectHandle getFontsFolder() { return guardedEntry([] { return shellFolder(CSIDL_FONTS); }); }
ObjectHandle getTrashFolder() { return guardedEntry([] { return shellFolder(CSIDL_BITBUCKET); }); }
ObjectHandle getShutdownItemsFolder() { return nullptr; }

int32_t getVolumeCount() {
    return guardedEntry([] { return static_cast<int32_t>(presentDrives().size()); });
}

ObjectHandle getVolume(int32_t index) {
    return guardedEntry([&]() -> ObjectHandle {
        const std::string drives = presentDrives();
        if (index < 0 || static_cast<size_t>(index) >= drives.size()) return nullptr;
        return newFolderItem(std::string(1, drives[static_cast<size_t>(index)]) + ":").release();
    });
}
