#include "files/FolderItems.h"

#include <windows.h>
#include <shlobj.h>

#include "files/FileLayouts.h"
#include "files/StreamEntries.h"
#include "objects/BuiltinClasses.h"
#include "text/StringValue.h"
#include "text/SystemText.h"

namespace runtime {
namespace {

FolderItemFields& fieldsOf(ObjectHandle item) {
    return *reinterpret_cast<FolderItemFields*>(reinterpret_cast<char*>(item) + kFileFieldsOffset);
}

std::string withoutFinalSeparator(std::string path) {
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

}  // namespace

const PathRules& systemPathRules() {
    static const PathRules rules(CharacterTables::system());
    return rules;
}

std::string executableFolder() {
    wchar_t name[1024] = {};
    const DWORD length = GetModuleFileNameW(nullptr, name, 1024);
    return systemPathRules().withoutLastComponent(fromSystemText(std::wstring_view(name, length)));
}

ObjectRef newFolderItem(std::string_view path) {
    if (path.empty()) return {};
    ObjectRef item = ObjectRef::adopt(newObject(builtinClass("FolderItem")));
    setFolderItemPath(item.get(), path);
    return item;
}

std::string folderItemPath(ObjectHandle item) {
    if (!item) return {};
    FolderItemFields& fields = fieldsOf(item);
    if (!fields.pathKnown) setFolderItemPath(item, executableFolder());
    return std::string(viewOf(fields.path));
}

void setFolderItemPath(ObjectHandle item, std::string_view path) {
    FolderItemFields& fields = fieldsOf(item);
    StringValue value = StringValue::fromBytes(path);
    unlockString(fields.path);
    fields.path = value.release();
    fields.pathKnown = 1;
}

std::string preferencesFolderPath() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder))) {
        return {};
    }
    CreateDirectoryW(folder, nullptr);  // in case the system left it missing
    return withoutFinalSeparator(fromSystemText(folder));
}

std::string windowsDirectoryPath() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return fromSystemText(std::wstring_view(folder, length));
}

bool pathExists(std::string_view path) {
    if (path.empty()) return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(toSystemText(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

std::string pathForReading(const std::string& path) {
    if (pathExists(path)) return path;
    const PathRules& rules = systemPathRules();
    const std::string preferences = preferencesFolderPath();
    if (preferences.empty() || !equalsIgnoringCase(rules.parent(path), preferences)) return path;
    const std::string older = windowsDirectoryPath() + "\\" + std::string(rules.split(path).name);
    return pathExists(older) ? older : path;
}

}  // namespace runtime

namespace runtime {

void finaliseFolderItem(ObjectHandle item, ClassRecord*) {
    FolderItemFields& fields = fieldsOf(item);
    unlockString(fields.path);
    fields.path = nullptr;
}

}  // namespace runtime
