#include "SafeSave.h"

extern "C" {
WINAPI_IMPORT int MoveFileExA_(const char* from, const char* to, uint32_t flags)
    APP_LIBRARY_IMPORT("kernel32.dll", "MoveFileExA");
WINAPI_IMPORT void Sleep_(uint32_t milliseconds) APP_LIBRARY_IMPORT("kernel32.dll", "Sleep");
}

namespace app {
namespace {

constexpr uint32_t kMoveReplaceExisting = 0x1;
constexpr uint32_t kMoveWriteThrough = 0x8;
// The text stream ends each line with CR LF.
constexpr int32_t kLineEndLength = 2;
// Long enough for any name the application saves under.
constexpr int32_t kMostNameLength = 250;
// Another program reading the target (a virus scanner, an indexer, a backup)
// keeps it from being replaced for a moment: the replacement is tried again
// for about half a second before the save gives up.
constexpr int kReplaceAttempts = 10;
constexpr uint32_t kReplacePauseMs = 50;

bool replaceFile(const String& from, const String& to) {
    for (int attempt = 0; attempt < kReplaceAttempts; ++attempt) {
        if (attempt > 0) Sleep_(kReplacePauseMs);
        if (MoveFileExA_(from.cString(), to.cString(), kMoveReplaceExisting | kMoveWriteThrough)) return true;
    }
    return false;
}

Object temporaryBeside(ObjectHandle target) {
    const String name = String::adopt(fileNameGetter(target));
    uint8_t buffer[kMostNameLength + applogic::kTemporarySaveSuffixLength];
    const int32_t n = applogic::temporarySaveName(bytesOf(name), buffer, sizeof buffer);
    if (n <= 0) return Object();
    const Object folder = Object::adopt(folderParentGetter(target));
    if (!folder) return Object();
    const String temporaryName = stringOf(applogic::Bytes(buffer, n));
    return Object::adopt(FolderChild(folder.get(), temporaryName.get()));
}

}  // namespace

SafeSave::SafeSave(ObjectHandle target) : target_(Object::borrow(target)), written_(kLineEndLength) {
    if (!target_) return;
    temporary_ = temporaryBeside(target);
    if (temporary_) stream_ = Object::adopt(FolderItemCreateTextFile(temporary_.get()));
}

SafeSave::~SafeSave() {
    if (stream_) discard();
}

void SafeSave::writeLine(const String& line) {
    if (!stream_) return;
    TextOutputStreamWriteLine(stream_.get(), line.get());
    written_.line(line.length());
}

bool SafeSave::commit(StringHandle type, StringHandle creator) {
    if (!stream_) return false;
    TextOutputStreamClose(stream_.get());
    stream_ = Object();
    // The stream ignores failed writes: the size tells whether all arrived.
    if (written_.total() < 0 || fileSizeGetter(temporary_.get()) != written_.total()) {
        FolderItemDelete(temporary_.get());
        return false;
    }
    const String from = String::adopt(fileAbsolutePathGetter(temporary_.get()));
    const String to = String::adopt(fileAbsolutePathGetter(target_.get()));
    if (!replaceFile(from, to)) {
        FolderItemDelete(temporary_.get());
        return false;
    }
    fileMacCreatorSetter(target_.get(), creator);
    fileMacTypeSetter(target_.get(), type);
    return true;
}

void SafeSave::discard() {
    TextOutputStreamClose(stream_.get());
    stream_ = Object();
    FolderItemDelete(temporary_.get());
}

}  // namespace app
