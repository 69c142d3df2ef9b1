#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "files/FileLayouts.h"
#include "files/FileObject.h"
#include "files/FolderItems.h"
#include "files/StreamEntries.h"
#include "objects/BuiltinClasses.h"
#include "text/EntryGuard.h"
#include "text/StringValue.h"

using namespace runtime;

namespace {

constexpr int32_t kMaxPStringLength = 255;

BinaryStreamFields& fieldsOf(ObjectHandle stream) {
    return *reinterpret_cast<BinaryStreamFields*>(reinterpret_cast<char*>(stream) + kFileFieldsOffset);
}

FileObject* fileOf(ObjectHandle stream) { return stream ? fieldsOf(stream).file : nullptr; }

// Numbers are stored most significant byte first unless the stream is
// little-endian, the order of this processor.
template <size_t N>
void toStreamOrder(ObjectHandle stream, uint8_t (&bytes)[N]) {
    if (!fieldsOf(stream).littleEndian) std::reverse(bytes, bytes + N);
}

// Reads exactly sizeof(T) bytes into a T; nothing when fewer are left.
template <typename T>
std::optional<T> readNumber(ObjectHandle stream) {
    FileObject* file = fileOf(stream);
    uint8_t bytes[sizeof(T)];
    if (!file || file->read(bytes, sizeof(T)) != static_cast<int32_t>(sizeof(T))) return std::nullopt;
    toStreamOrder(stream, bytes);
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

template <typename T>
void writeNumber(ObjectHandle stream, T value) {
    FileObject* file = fileOf(stream);
    if (!file) return;
    uint8_t bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    toStreamOrder(stream, bytes);
    file->write(bytes, sizeof(T));
}

ObjectHandle newBinaryStream(std::unique_ptr<FileObject> file) {
    if (!file) return nullptr;
    ObjectHandle stream = newObject(builtinClass("BinaryStream"));
    fieldsOf(stream).file = file.release();
    return stream;
}

// Up to n bytes from the current position. The buffer is no larger than
// what is left of the file, so a count meant as "all of it" costs no more
// memory than the rest of the file.
StringValue readBytes(FileObject& file, int32_t n) {
    n = std::min(n, std::max(file.length() - file.position(), 0));
    std::string bytes(static_cast<size_t>(n), '\0');
    bytes.resize(static_cast<size_t>(file.read(bytes.data(), n)));
    return StringValue::fromBytes(bytes);
}

}  // namespace

namespace runtime {

void finaliseBinaryStream(ObjectHandle stream, ClassRecord*) {
    delete fieldsOf(stream).file;
    fieldsOf(stream).file = nullptr;
}

}  // namespace runtime

ObjectHandle FolderItemOpenBinaryFile(ObjectHandle item, bool readWrite) {
    return guardedEntry([&]() -> ObjectHandle {
        if (!item) return nullptr;
        const std::string path = folderItemPath(item);
        return newBinaryStream(readWrite ? FileObject::openForReadingAndWriting(path)
                                         : FileObject::openForReading(pathForReading(path)));
    });
}

ObjectHandle FolderItemCreateBinaryFile(ObjectHandle item) {
    return guardedEntry([&]() -> ObjectHandle {
        if (!item) return nullptr;
        return newBinaryStream(FileObject::create(folderItemPath(item)));
    });
}

void BinaryStreamClose(ObjectHandle stream) {
    if (stream) finaliseBinaryStream(stream, nullptr);
}

bool BinaryStreamEOF(ObjectHandle stream) {
    FileObject* file = fileOf(stream);
    return !file || file->atEnd();
}

int32_t BinaryStreamGetLength(ObjectHandle stream) {
    FileObject* file = fileOf(stream);
    return file ? file->length() : 0;
}

void BinaryStreamSetLength(ObjectHandle stream, int32_t length) {
    if (FileObject* file = fileOf(stream)) file->setLength(length);
}

int32_t BinaryStreamGetPosition(ObjectHandle stream) {
    FileObject* file = fileOf(stream);
    return file ? file->position() : 0;
}

void BinaryStreamSetPosition(ObjectHandle stream, int32_t position) {
    if (FileObject* file = fileOf(stream)) file->setPosition(position);
}

int32_t BinaryStreamReadByte(ObjectHandle stream) { return readNumber<uint8_t>(stream).value_or(0); }
int32_t BinaryStreamReadShort(ObjectHandle stream) { return readNumber<int16_t>(stream).value_or(0); }
int32_t BinaryStreamReadLong(ObjectHandle stream) { return readNumber<int32_t>(stream).value_or(0); }
double BinaryStreamReadFloat(ObjectHandle stream) { return readNumber<float>(stream).value_or(0.0f); }
double BinaryStreamReadDouble(ObjectHandle stream) { return readNumber<double>(stream).value_or(0.0); }

StringHandle BinaryStreamReadPString(ObjectHandle stream) {
    return guardedEntry([&]() -> StringHandle {
        FileObject* file = fileOf(stream);
        uint8_t length = 0;
        if (!file || file->read(&length, 1) != 1 || length == 0) return nullptr;
        StringValue text = readBytes(*file, length);
        return text.length() == length ? text.release() : nullptr;
    });
}

StringHandle BinaryStreamRead(ObjectHandle stream, int32_t count) {
    return guardedEntry([&]() -> StringHandle {
        FileObject* file = fileOf(stream);
        if (!file || count <= 0) return nullptr;
        return readBytes(*file, count).release();
    });
}

void BinaryStreamWriteByte(ObjectHandle stream, int32_t value) { writeNumber(stream, static_cast<uint8_t>(value)); }
void BinaryStreamWriteShort(ObjectHandle stream, int32_t value) { writeNumber(stream, static_cast<int16_t>(value)); }
void BinaryStreamWriteLong(ObjectHandle stream, int32_t value) { writeNumber(stream, value); }
void BinaryStreamWriteFloat(ObjectHandle stream, double value) { writeNumber(stream, static_cast<float>(value)); }
void BinaryStreamWriteDouble(ObjectHandle stream, double value) { writeNumber(stream, value); }

void BinaryStreamWritePString(ObjectHandle stream, StringHandle text) {
    FileObject* file = fileOf(stream);
    if (!file) return;
    const std::string_view bytes = viewOf(text);
    const auto length = static_cast<uint8_t>(std::min<size_t>(bytes.size(), kMaxPStringLength));
    file->write(&length, 1);
    file->write(bytes.data(), length);
}

void BinaryStreamWrite(ObjectHandle stream, StringHandle text) {
    if (FileObject* file = fileOf(stream)) file->write(viewOf(text).data(), static_cast<int32_t>(viewOf(text).size()));
}
