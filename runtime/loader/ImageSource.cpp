#include "loader/ImageSource.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "loader/ImageFormat.h"
#include "loader/Instance.h"

namespace runtime {
namespace {

using loader::LoadResult;

// A file opened with _lopen, read with _lread and closed when done.
class OpenedFile final : public loader::ByteSource {
public:
    explicit OpenedFile(const char* path) : file_(_lopen(path, OF_READ)) {
        if (file_ == HFILE_ERROR) return;
        const LONG end = _llseek(file_, 0, FILE_END);
        if (end == HFILE_ERROR || _llseek(file_, 0, FILE_BEGIN) == HFILE_ERROR) return;
        size_ = static_cast<uint32_t>(end);
        usable_ = true;
    }
    ~OpenedFile() override {
        if (file_ != HFILE_ERROR) _lclose(file_);
    }
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    bool usable() const { return usable_; }
    uint32_t size() const { return size_; }

    bool seek(uint32_t offset) {
        if (offset > size_ || _llseek(file_, static_cast<LONG>(offset), FILE_BEGIN) == HFILE_ERROR) return false;
        position_ = offset;
        return true;
    }

    uint64_t remaining() const override { return size_ - position_; }

    bool read(uint8_t* into, uint32_t n) override {
        while (n != 0) {
            // _lread takes at most a signed 32-bit count at once.
            const UINT step = n > 0x40000000u ? 0x40000000u : n;
            const UINT got = _lread(file_, into, step);
            if (got == static_cast<UINT>(HFILE_ERROR) || got == 0) return false;
            into += got;
            n -= got;
            position_ += got;
        }
        return true;
    }

private:
    HFILE file_;
    bool usable_ = false;
    uint32_t size_ = 0;
    uint32_t position_ = 0;
};

}  // namespace

LoadResult locateImage(uint32_t& offset) {
    offset = 0;
    const HINSTANCE instance = instanceHandle();
    const HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(image::kLocatorId), image::kLocatorType);
    if (!resource) return LoadResult::success();
    const HGLOBAL loaded = LoadResource(instance, resource);
    const auto* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    if (!bytes) return LoadResult::success();
    if (SizeofResource(instance, resource) < image::kLocatorSize) {
        return LoadResult::failure(loader::damagedImageMessage("the image locator is shorter than 8 bytes"));
    }
    if (std::memcmp(bytes, image::kLocatorPlaceholder, sizeof image::kLocatorPlaceholder) == 0) {
        return LoadResult::success();
    }
    offset = image::readU32(bytes);
    return LoadResult::success();
}

LoadResult readAppendedImage(uint32_t offset, loader::ImageBlocks& blocks) {
    char path[512];
    const DWORD length = GetModuleFileNameA(instanceHandle(), path, sizeof path);
    if (length == 0 || length >= sizeof path) return LoadResult::failure(loader::unreadableFileMessage("of this program"));
    OpenedFile file(path);
    if (!file.usable()) return LoadResult::failure(loader::unreadableFileMessage(path));
    if (!file.seek(offset)) {
        return LoadResult::failure(loader::damagedImageMessage("the image offset " + loader::hexOffset(offset) +
                                                               " lies beyond the end of the program file"));
    }
    return loader::readAppendedImage(file, blocks, path);
}

LoadResult readDevelopmentImage(loader::ImageBlocks& blocks) {
    for (image::Block block : image::kBlocksInDevelopmentOrder) {
        const char* name = image::developmentFileName(block);
        OpenedFile file(name);
        if (!file.usable()) return LoadResult::failure(loader::unreadableFileMessage(name));
        if (LoadResult read = loader::readWholeFile(file, blocks[block], name); !read.ok()) return read;
    }
    return LoadResult::success();
}

}  // namespace runtime
