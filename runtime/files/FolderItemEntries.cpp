#include "files/FolderItemEntries.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "UnalignedAccess.h"
#include "files/FileLayouts.h"
#include "files/FileTypes.h"
#include "files/FolderItems.h"
#include "objects/BuiltinClasses.h"
#include "objects/ProjectItems.h"
#include "objects/UnwindScope.h"
#include "text/EntryGuard.h"
#include "text/StringValue.h"
#include "text/SystemText.h"

using namespace runtime;

namespace {

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

std::wstring systemPath(ObjectHandle item) { return toSystemText(folderItemPath(item)); }

DWORD attributesOf(ObjectHandle item) {
    if (!item) return kNoAttributes;
    return GetFileAttributesW(systemPath(item).c_str());
}

// Sets or clears one attribute bit of an existing item.
void changeAttribute(ObjectHandle item, DWORD bit, bool set) {
    const DWORD attributes = attributesOf(item);
    if (attributes == kNoAttributes) return;
    const DWORD changed = set ? (attributes | bit) : (attributes & ~bit);
    if (changed != attributes) SetFileAttributesW(systemPath(item).c_str(), changed);
}

bool isBareDrive(std::string_view path) { return path.size() == 2 && path[1] == ':'; }

// The process-wide listing of the folder listed last: its entry names in the
// order the system gives them, without "." and "..".
struct DirectoryListing {
    std::string folder;
    std::vector<std::string> names;
};
DirectoryListing gListing;

void refreshListing(const std::string& folder) {
    gListing.folder = folder;
    gListing.names.clear();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(toSystemText(folder + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring_view name(found.cFileName);
        if (name != L"." && name != L"..") gListing.names.push_back(fromSystemText(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

const DirectoryListing& listingOf(const std::string& folder) {
    if (!equalsIgnoringCase(gListing.folder, folder)) refreshListing(folder);
    return gListing;
}

ObjectHandle itemAt(ObjectHandle folder, int32_t index) {
    if (!folder) return nullptr;
    const std::string path = folderItemPath(folder);
    const DirectoryListing& listing = listingOf(path);
    if (index < 1 || static_cast<size_t>(index) > listing.names.size()) return nullptr;
    return newFolderItem(path + "\\" + listing.names[static_cast<size_t>(index) - 1]).release();
}

ObjectHandle childOf(ObjectHandle folder, StringHandle name) {
    if (!folder) return nullptr;
    return newFolderItem(folderItemPath(folder) + "\\" + std::string(viewOf(name))).release();
}

ObjectHandle itemFromExecutableFolder(StringHandle path) {
    return newFolderItem(systemPathRules().joinChild(executableFolder(), viewOf(path))).release();
}

// The destination of a copy or move to `target`: into it when it is a folder.
std::wstring destinationFor(ObjectHandle item, ObjectHandle target) {
    std::string destination = folderItemPath(target);
    const DWORD attributes = attributesOf(target);
    if (attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        destination += "\\" + std::string(systemPathRules().split(folderItemPath(item)).name);
    }
    return toSystemText(destination);
}

ObjectHandle newDate(const FILETIME& utc) {
    FILETIME local;
    if (!FileTimeToLocalFileTime(&utc, &local)) return nullptr;
    ObjectRef date = ObjectRef::adopt(newObject(builtinClass("Date")));
    const uint64_t ticks = (static_cast<uint64_t>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
    storeUnaligned(date.field<DateFields>(kFileFieldsOffset)->localTime, 0, ticks);
    return date.release();
}

enum class FileDate { kCreation, kModified };

ObjectHandle dateOf(ObjectHandle item, FileDate which) {
    if (!item) return nullptr;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(systemPath(item).c_str(), GetFileExInfoStandard, &data)) return nullptr;
    return newDate(which == FileDate::kCreation ? data.ftCreationTime : data.ftLastWriteTime);
}

void setDateOf(ObjectHandle item, ObjectHandle date, FileDate which) {
    if (!item || !date) return;
    const auto ticks = loadUnaligned<uint64_t>(reinterpret_cast<char*>(date) + kFileFieldsOffset);
    const FILETIME local{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    FILETIME utc;
    if (!LocalFileTimeToFileTime(&local, &utc)) return;
    HANDLE file = CreateFileW(systemPath(item).c_str(), FILE_WRITE_ATTRIBUTES | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    SetFileTime(file, which == FileDate::kCreation ? &utc : nullptr, nullptr,
                which == FileDate::kModified ? &utc : nullptr);
    CloseHandle(file);
}

}  // namespace

ObjectHandle RuntimeGetFolderItem(StringHandle path) {
    return guardedEntry([&] { return itemFromExecutableFolder(path); });
}

ObjectHandle RuntimeGetTrueFolderItem(StringHandle path) {
    return guardedEntry([&] { return itemFromExecutableFolder(path); });
}

ObjectHandle FolderChild(ObjectHandle folder, StringHandle name) {
    return guardedEntry([&] { return childOf(folder, name); });
}

ObjectHandle FolderTrueChild(ObjectHandle folder, StringHandle name) {
    return guardedEntry([&] { return childOf(folder, name); });
}

ObjectHandle FolderItemItem(ObjectHandle folder, int32_t index) {
    return guardedEntry([&] { return itemAt(folder, index); });
}

ObjectHandle FolderItemTrueItem(ObjectHandle folder, int32_t index) {
    return guardedEntry([&] { return itemAt(folder, index); });
}

int32_t fileCountGetter(ObjectHandle folder) {
    return guardedEntry([&] {
        if (!folder) return 0;
        refreshListing(folderItemPath(folder));
        return static_cast<int32_t>(gListing.names.size());
    });
}

StringHandle fileNameGetter(ObjectHandle item) {
    return guardedEntry([&] {
        const std::string path = folderItemPath(item);
        return StringValue::fromBytes(systemPathRules().split(path).name).release();
    });
}

void fileNameSetter(ObjectHandle item, StringHandle name) {
    guardedEntry([&] {
        if (!item) return;
        const std::string path = folderItemPath(item);
        const std::string renamed = systemPathRules().joinSibling(path, viewOf(name));
        MoveFileW(toSystemText(path).c_str(), toSystemText(renamed).c_str());
        setFolderItemPath(item, renamed);
    });
}

StringHandle fileAbsolutePathGetter(ObjectHandle item) {
    return guardedEntry([&] { return StringValue::fromBytes(folderItemPath(item)).release(); });
}

bool fileExistsGetter(ObjectHandle item) {
    return guardedEntry([&] { return item && pathExists(folderItemPath(item)); });
}

bool fileDirectoryGetter(ObjectHandle item) {
    return guardedEntry([&] {
        if (!item) return false;
        if (isBareDrive(folderItemPath(item))) return true;  // without touching the disk
        const DWORD attributes = attributesOf(item);
        return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    });
}

int32_t fileSizeGetter(ObjectHandle item) {
    return guardedEntry([&] {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!item || !GetFileAttributesExW(systemPath(item).c_str(), GetFileExInfoStandard, &data)) return 0;
        return static_cast<int32_t>(data.nFileSizeLow);
    });
}

int32_t fileRFSizeGetter(ObjectHandle) { return 0; }

bool fileLockedGetter(ObjectHandle item) {
    return guardedEntry([&] {
        const DWORD attributes = attributesOf(item);
        return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    });
}

void fileLockedSetter(ObjectHandle item, bool locked) {
    guardedEntry([&] { changeAttribute(item, FILE_ATTRIBUTE_READONLY, locked); });
}

bool fileVisibleGetter(ObjectHandle item) {
    return guardedEntry([&] {
        const DWORD attributes = attributesOf(item);
        return attributes == kNoAttributes || (attributes & FILE_ATTRIBUTE_HIDDEN) == 0;
    });
}

void fileVisibleSetter(ObjectHandle item, bool visible) {
    guardedEntry([&] { changeAttribute(item, FILE_ATTRIBUTE_HIDDEN, !visible); });
}

bool fileAliasGetter(ObjectHandle) { return false; }

StringHandle fileTypeGetter(ObjectHandle item) {
    return guardedEntry([&] {
        if (!item) return StringHandle{};
        return StringValue::fromBytes(fileTypeOfPath(applicationSettings().fileTypes, folderItemPath(item))).release();
    });
}

// Type and creator codes have no meaning on this platform.
StringHandle fileMacTypeGetter(ObjectHandle) { return nullptr; }
void fileMacTypeSetter(ObjectHandle, StringHandle) {}
StringHandle fileMacCreatorGetter(ObjectHandle) { return nullptr; }
void fileMacCreatorSetter(ObjectHandle, StringHandle) {}

ObjectHandle folderGetCreation(ObjectHandle item) {
    return guardedEntry([&] { return dateOf(item, FileDate::kCreation); });
}

ObjectHandle folderGetModified(ObjectHandle item) {
    return guardedEntry([&] { return dateOf(item, FileDate::kModified); });
}

void folderSetCreation(ObjectHandle item, ObjectHandle date) {
    guardedEntry([&] { setDateOf(item, date, FileDate::kCreation); });
}

void folderSetModified(ObjectHandle item, ObjectHandle date) {
    guardedEntry([&] { setDateOf(item, date, FileDate::kModified); });
}

ObjectHandle folderParentGetter(ObjectHandle item) {
    return guardedEntry([&] {
        if (!item) return ObjectHandle{};
        return newFolderItem(systemPathRules().parent(folderItemPath(item))).release();
    });
}

void FolderItemDelete(ObjectHandle item) {
    guardedEntry([&] {
        if (item) DeleteFileW(systemPath(item).c_str());
    });
}

void FolderItemCreateAsFolder(ObjectHandle item) {
    guardedEntry([&] {
        if (item) CreateDirectoryW(systemPath(item).c_str(), nullptr);
    });
}

void FolderItemCopyFileTo(ObjectHandle item, ObjectHandle target) {
    guardedEntry([&] {
        if (item && target) CopyFileW(systemPath(item).c_str(), destinationFor(item, target).c_str(), FALSE);
    });
}

void FolderItemMoveFileTo(ObjectHandle item, ObjectHandle target) {
    guardedEntry([&] {
        if (item && target) MoveFileW(systemPath(item).c_str(), destinationFor(item, target).c_str());
    });
}

void FolderItemLaunch(ObjectHandle item) {
    if (!item) return;
    // The system may show a modal message (no program for the file) whose
    // loop reaches the runtime's windows: what they held is raised here. The
    // path lives only inside the call, so nothing is left owned across it.
    callSystem([&] {
        guardedEntry([&] { ShellExecuteW(nullptr, L"open", systemPath(item).c_str(), nullptr, nullptr, SW_SHOW); });
    });
}
