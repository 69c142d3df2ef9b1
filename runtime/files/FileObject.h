// The runtime's file object: a thin wrapper round a system file handle,
// shared by the text and binary streams. Reads and writes go straight to the
// system (no buffer here); failures read as no data and are otherwise
// ignored, as the streams above report nothing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string_view>

namespace runtime {

class FileObject {
public:
    // Null when the file cannot be opened (missing, locked, a folder).
    static std::unique_ptr<FileObject> openForReading(std::string_view path);
    static std::unique_ptr<FileObject> openForReadingAndWriting(std::string_view path);
    // Creates the file, or empties an existing one.
    static std::unique_ptr<FileObject> create(std::string_view path);

    ~FileObject();
    FileObject(const FileObject&) = delete;
    FileObject& operator=(const FileObject&) = delete;

    // The number of bytes read: 0 at the end and on error.
    int32_t read(void* buffer, int32_t count);
    // Whether all `count` bytes were written.
    bool write(const void* bytes, int32_t count);
    bool atEnd() const;
    int32_t position() const;
    void setPosition(int32_t offset);
    int32_t length() const;
    // Moves the end of the file to n; the position stays where it was.
    void setLength(int32_t n);

private:
    explicit FileObject(HANDLE handle) : handle_(handle) {}
    static std::unique_ptr<FileObject> open(std::string_view path, DWORD access, DWORD disposition);

    HANDLE handle_;
};

}  // namespace runtime
