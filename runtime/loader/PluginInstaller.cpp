#include "loader/PluginInstaller.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "loader/LoadResult.h"
#include "loader/LoadedImage.h"
#include "loader/PluginHost.h"
#include "loader/RuntimeEntryTable.h"
#include "objects/ClassRegistry.h"
#include "text/CaseFold.h"
#include "text/EntryGuard.h"
#include "text/FatalError.h"
#include "text/SystemText.h"

namespace runtime::plugins {
namespace {

uint32_t gListAddress = 0;  // process-wide: set once by the entry routine

std::wstring systemDirectory() {
    wchar_t buffer[1024];
    const UINT n = GetSystemDirectoryW(buffer, 1024);
    return n > 0 && n < 1024 ? std::wstring(buffer, n) : std::wstring();
}

std::wstring windowsDirectory() {
    wchar_t buffer[1024];
    const UINT n = GetWindowsDirectoryW(buffer, 1024);
    return n > 0 && n < 1024 ? std::wstring(buffer, n) : std::wstring();
}

// The per-user folder for plug-in files when neither system folder takes them.
std::wstring userPluginDirectory() {
    wchar_t buffer[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, buffer))) return {};
    std::wstring folder = std::wstring(buffer) + L"\\sutakiba";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// Creates `path` only when nothing stands there yet, so no existing file is
// ever replaced; a file left half-written is removed again.
bool writeNewFile(const std::wstring& path, std::span<const uint8_t> bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (ok && written == bytes.size()) return true;
    DeleteFileW(path.c_str());
    return false;
}

// Replaces a file of the runtime's own plug-in folder (an older copy of the
// library); used only there, never in the system folders.
bool replaceOwnFile(const std::wstring& path, std::span<const uint8_t> bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool holdsExactly(const std::wstring& path, std::span<const uint8_t> bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool same = GetFileSizeEx(file, &size) && static_cast<uint64_t>(size.QuadPart) == bytes.size();
    std::vector<uint8_t> content(same ? bytes.size() : 0);
    DWORD read = 0;
    if (same && !content.empty()) {
        same = ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr) &&
               read == content.size() && std::equal(content.begin(), content.end(), bytes.begin());
    }
    CloseHandle(file);
    return same;
}

// The entry table by folded name; a name given twice resolves to its later slot.
const std::unordered_map<std::string, void*>& entryDictionary() {
    static const auto* dictionary = [] {
        auto* names = new std::unordered_map<std::string, void*>();
        for (const RuntimeEntry& slot : runtimeEntryTable()) {
            if (!slot.name) continue;
            std::string key;
            for (const char* c = slot.name; *c; ++c) key += static_cast<char>(foldCase(static_cast<uint8_t>(*c)));
            (*names)[key] = slot.routine;
        }
        return names;
    }();
    return *dictionary;
}

// A list that does not fit data1 means a damaged image: nothing of it is
// installed and the runtime does not start.
[[noreturn]] void refuseDamagedList(const std::string& problem) {
    showFatalMessage(loader::damagedImageMessage(problem).c_str());
    ExitProcess(kExitLoadFailure);
}

void installOne(const EmbeddedPlugin& plugin) {
    const std::optional<std::wstring> path = placePluginFile(plugin);
    if (!path) return;
    HMODULE library = LoadLibraryW(path->c_str());
    if (!library) return;
    auto main = reinterpret_cast<PluginMainRoutine>(reinterpret_cast<void*>(GetProcAddress(library, "VELMPluginMain")));
    if (!main) return;  // the library stays loaded, as every plug-in library does
    runPluginMain(main, &resolveRuntimeName);
}

}  // namespace

void setEmbeddedPluginList(uint32_t address) { gListAddress = address; }

std::optional<std::wstring> placePluginFile(const EmbeddedPlugin& plugin) {
    // Only a plain "name.dll" is written anywhere: a damaged list must not
    // reach a system library or another folder.
    if (!isPlainLibraryName(plugin.fileName)) return std::nullopt;
    const std::wstring fileName = toSystemText(plugin.fileName);
    // The per-user folder is made only when both system folders fail.
    struct Place {
        std::wstring (*folder)();
        bool ownFolder;
    };
    for (const Place& place : {Place{systemDirectory, false}, Place{windowsDirectory, false},
                               Place{userPluginDirectory, true}}) {
        const std::wstring folder = place.folder();
        if (folder.empty()) continue;
        const std::wstring path = folder + L"\\" + fileName;
        if (holdsExactly(path, plugin.library)) return path;
        // A file with other bytes is left alone, except an older copy in the
        // runtime's own folder; then whatever stands there is loaded only
        // when it is this library.
        if (fileExists(path) ? place.ownFolder && replaceOwnFile(path, plugin.library)
                             : writeNewFile(path, plugin.library)) {
            if (holdsExactly(path, plugin.library)) return path;
        }
    }
    return std::nullopt;
}

void installPlugins() {
    guardedEntry([] {
        definePluginInterfaces();
        setPluginClassFinders(findControlClass, findPlainClass);
        if (gListAddress != 0 && imageDataBase()) {
            const auto base = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(imageDataBase()));
            const EmbeddedPluginList list = readEmbeddedPluginList({imageDataBase(), imageDataSize()}, base, gListAddress);
            if (!list.problem.empty()) refuseDamagedList(list.problem);
            for (const EmbeddedPlugin& plugin : list.plugins) installOne(plugin);
        }
        completePluginClasses();
    });
}

void* resolveRuntimeName(const char* name) {
    if (!name) return nullptr;
    return guardedEntry([name]() -> void* {
        std::string key;
        for (const char* c = name; *c; ++c) key += static_cast<char>(foldCase(static_cast<uint8_t>(*c)));
        const auto& names = entryDictionary();
        const auto it = names.find(key);
        return it == names.end() ? nullptr : it->second;
    });
}

}  // namespace runtime::plugins
