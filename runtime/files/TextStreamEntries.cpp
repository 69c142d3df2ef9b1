#include <cstring>
#include <memory>
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

constexpr uint8_t kCarriageReturn = 0x0D;
constexpr uint8_t kLineFeed = 0x0A;

TextInputStreamFields& inputOf(ObjectHandle stream) {
    return *reinterpret_cast<TextInputStreamFields*>(reinterpret_cast<char*>(stream) + kFileFieldsOffset);
}

TextOutputStreamFields& outputOf(ObjectHandle stream) {
    return *reinterpret_cast<TextOutputStreamFields*>(reinterpret_cast<char*>(stream) + kFileFieldsOffset);
}

// Reads the next block of the file into the buffer; false when none came.
bool refill(TextInputStreamFields& in) {
    in.position = 0;
    in.count = in.file->read(in.buffer, kTextBufferSize);
    return in.count > 0;
}

std::string readLine(TextInputStreamFields& in) {
    std::string line;
    while (true) {
        const uint8_t* start = in.buffer + in.position;
        const uint8_t* end = in.buffer + in.count;
        const uint8_t* stop = start;
        while (stop < end && *stop != kCarriageReturn && *stop != kLineFeed) ++stop;
        line.append(reinterpret_cast<const char*>(start), static_cast<size_t>(stop - start));
        in.position = static_cast<int32_t>(stop - in.buffer);
        if (stop < end) break;
        // No line break in the buffer: the line goes on in the next block,
        // unless the file ends here (a read error counts as the end).
        if (in.file->atEnd() || !refill(in)) return line;
    }
    const uint8_t lineBreak = in.buffer[in.position++];
    if (lineBreak == kCarriageReturn) {
        // CR LF is one break, also when the two fall into different blocks.
        if (in.position >= in.count) refill(in);
        if (in.position < in.count && in.buffer[in.position] == kLineFeed) ++in.position;
    }
    return line;
}

std::string readAll(TextInputStreamFields& in) {
    std::string rest(reinterpret_cast<const char*>(in.buffer + in.position), static_cast<size_t>(in.count - in.position));
    while (refill(in)) rest.append(reinterpret_cast<const char*>(in.buffer), static_cast<size_t>(in.count));
    in.position = in.count = 0;
    return rest;
}

ObjectHandle newStream(const char* className, std::unique_ptr<FileObject> file) {
    if (!file) return nullptr;
    ObjectHandle stream = newObject(builtinClass(className));
    // Both stream classes keep the file object first.
    *reinterpret_cast<FileObject**>(reinterpret_cast<char*>(stream) + kFileFieldsOffset) = file.release();
    return stream;
}

void closeFile(FileObject*& file) {
    delete file;
    file = nullptr;
}

void writeBytes(ObjectHandle stream, std::string_view bytes) {
    if (FileObject* file = stream ? outputOf(stream).file : nullptr) file->write(bytes.data(), static_cast<int32_t>(bytes.size()));
}

}  // namespace

namespace runtime {

void finaliseTextInputStream(ObjectHandle stream, ClassRecord*) { closeFile(inputOf(stream).file); }

void finaliseTextOutputStream(ObjectHandle stream, ClassRecord*) {
    TextOutputStreamFields& out = outputOf(stream);
    closeFile(out.file);
    unlockString(out.delimiter);
    out.delimiter = nullptr;
}

}  // namespace runtime

ObjectHandle FolderItemOpenTextFile(ObjectHandle item) {
    return guardedEntry([&]() -> ObjectHandle {
        if (!item) return nullptr;
        return newStream("TextInputStream", FileObject::openForReading(pathForReading(folderItemPath(item))));
    });
}

ObjectHandle FolderItemCreateTextFile(ObjectHandle item) {
    return guardedEntry([&]() -> ObjectHandle {
        if (!item) return nullptr;
        return newStream("TextOutputStream", FileObject::create(folderItemPath(item)));
    });
}

ObjectHandle FolderItemAppendTextFile(ObjectHandle item) {
    return guardedEntry([&]() -> ObjectHandle {
        if (!item) return nullptr;
        const std::string path = folderItemPath(item);
        std::unique_ptr<FileObject> file = FileObject::openForReadingAndWriting(path);
        if (!file) return newStream("TextOutputStream", FileObject::create(path));
        file->setPosition(file->length());
        return newStream("TextOutputStream", std::move(file));
    });
}

StringHandle TextInputStreamReadLine(ObjectHandle stream) {
    return guardedEntry([&]() -> StringHandle {
        if (!stream || !inputOf(stream).file) return nullptr;
        return StringValue::fromBytes(readLine(inputOf(stream))).release();
    });
}

StringHandle TextInputStreamReadAll(ObjectHandle stream) {
    return guardedEntry([&]() -> StringHandle {
        if (!stream || !inputOf(stream).file) return nullptr;
        return StringValue::fromBytes(readAll(inputOf(stream))).release();
    });
}

bool TextInputStreamEOF(ObjectHandle stream) {
    if (!stream) return false;
    const TextInputStreamFields& in = inputOf(stream);
    return in.file && in.position >= in.count && in.file->atEnd();
}

void TextInputStreamClose(ObjectHandle stream) {
    if (stream) closeFile(inputOf(stream).file);
}

void TextOutputStreamWrite(ObjectHandle stream, StringHandle text) { writeBytes(stream, viewOf(text)); }

void TextOutputStreamWriteLine(ObjectHandle stream, StringHandle text) {
    if (!stream || !outputOf(stream).file) return;
    writeBytes(stream, viewOf(text));
    const std::string_view delimiter = viewOf(outputOf(stream).delimiter);
    writeBytes(stream, delimiter.empty() ? std::string_view("\r\n") : delimiter);
}

void TextOutputStreamClose(ObjectHandle stream) {
    if (stream) closeFile(outputOf(stream).file);
}
