#include "loader/PluginInstaller.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <unordered_map>
#include <utility>
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

// A file handle closed when it goes out of scope.
class HeldFile {
public:
    HeldFile() = default;
    explicit HeldFile(HANDLE handle) : handle_(handle) {}
    HeldFile(HeldFile&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    HeldFile& operator=(HeldFile&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

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

// Opens `path` for reading, sharing it with readers only, and keeps it open
// when it holds exactly `bytes`: while the handle lives nobody can change or
// replace the file, so the library that is loaded is the one compared.
HeldFile holdIfExactly(const std::wstring& path, std::span<const uint8_t> bytes) {
    HeldFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return file;
    LARGE_INTEGER size{};
    bool same = GetFileSizeEx(file.get(), &size) && static_cast<uint64_t>(size.QuadPart) == bytes.size();
    std::vector<uint8_t> content(same ? bytes.size() : 0);
    DWORD read = 0;
    if (same && !content.empty()) {
        same = ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) &&
               read == content.size() && std::equal(content.begin(), content.end(), bytes.begin());
    }
    return same ? std::move(file) : HeldFile();
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

// Where a plug-in's library stands, held unchanged until it is loaded.
struct PlacedLibrary {
    std::wstring path;
    HeldFile held;
};

std::optional<PlacedLibrary> placeLibrary(const EmbeddedPlugin& plugin) {
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
        std::wstring path = folder + L"\\" + fileName;
        if (HeldFile held = holdIfExactly(path, plugin.library)) return PlacedLibrary{std::move(path), std::move(held)};
        // A file with other bytes is left alone, except an older copy in the
        // runtime's own folder; then whatever stands there is loaded only
        // when it is this library.
        if (fileExists(path) ? place.ownFolder && replaceOwnFile(path, plugin.library)
                             : writeNewFile(path, plugin.library)) {
            if (HeldFile held = holdIfExactly(path, plugin.library)) return PlacedLibrary{std::move(path), std::move(held)};
        }
    }
    return std::nullopt;
}

void installOne(const EmbeddedPlugin& plugin) {
    const std::optional<PlacedLibrary> placed = placeLibrary(plugin);
    if (!placed) return;
    HMODULE library = LoadLibraryW(placed->path.c_str());
    if (!library) return;
    auto main = reinterpret_cast<PluginMainRoutine>(reinterpret_cast<void*>(GetProcAddress(library, "VELMPluginMain")));
    if (!main) return;  // the library stays loaded, as every plug-in library does
    runPluginMain(main, &resolveRuntimeName);
}

}  // namespace

void setEmbeddedPluginList(uint32_t address) { gListAddress = address; }

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
