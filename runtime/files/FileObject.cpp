#include "files/FileObject.h"

#include <string>

#include "text/SystemText.h"

namespace runtime {

std::unique_ptr<FileObject> FileObject::open(std::string_view path, DWORD access, DWORD disposition) {
    if (path.empty()) return nullptr;
    const std::wstring name = toSystemText(path);
    // Other readers and writers may share the file, as with the system's
    // compatibility-mode opens; each stream has a handle of its own.
    HANDLE handle = CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::unique_ptr<FileObject>(new FileObject(handle));
}

std::unique_ptr<FileObject> FileObject::openForReading(std::string_view path) {
    return open(path, GENERIC_READ, OPEN_EXISTING);
}

std::unique_ptr<FileObject> FileObject::openForReadingAndWriting(std::string_view path) {
    return open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
}

std::unique_ptr<FileObject> FileObject::create(std::string_view path) {
    return open(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
}

FileObject::~FileObject() { CloseHandle(handle_); }

int32_t FileObject::read(void* buffer, int32_t count) {
    DWORD got = 0;
    if (count <= 0 || !ReadFile(handle_, buffer, static_cast<DWORD>(count), &got, nullptr)) return 0;
    return static_cast<int32_t>(got);
}

bool FileObject::write(const void* bytes, int32_t count) {
    if (count <= 0) return true;
    DWORD written = 0;
    return WriteFile(handle_, bytes, static_cast<DWORD>(count), &written, nullptr) && written == static_cast<DWORD>(count);
}

int32_t FileObject::position() const {
    return static_cast<int32_t>(SetFilePointer(handle_, 0, nullptr, FILE_CURRENT));
}

void FileObject::setPosition(int32_t offset) { SetFilePointer(handle_, offset, nullptr, FILE_BEGIN); }

int32_t FileObject::length() const {
    DWORD high = 0;
    const DWORD low = GetFileSize(handle_, &high);
    return low == INVALID_FILE_SIZE ? 0 : static_cast<int32_t>(low);
}

bool FileObject::atEnd() const { return position() >= length(); }

void FileObject::setLength(int32_t n) {
    const int32_t keep = position();
    setPosition(n < 0 ? 0 : n);
    SetEndOfFile(handle_);
    setPosition(keep);
}

}  // namespace runtime
