#include "loader/ImageLoader.h"

#include <windows.h>

#include <new>
#include <stdexcept>

#include "loader/ImageSource.h"
#include "loader/LoadedImage.h"
#include "loader/SystemImportBinder.h"
#include "text/FatalError.h"
#include "text/SystemText.h"

namespace runtime {

using loader::LoadResult;

LoadResult loadApplicationImage() {
    try {
        uint32_t offset = 0;
        if (LoadResult located = locateImage(offset); !located.ok()) return located;
        loader::ImageBlocks blocks;
        LoadResult read = offset != 0 ? readAppendedImage(offset, blocks) : readDevelopmentImage(blocks);
        if (!read.ok()) return read;
        SystemImportBinder binder;
        return installImage(std::move(blocks), binder);
    } catch (const std::bad_alloc&) {
        runOutOfMemory();
    } catch (const std::length_error&) {
        runOutOfMemory();  // a block larger than this process can hold
    }
}

void showLoadFailure(const LoadResult& failure) {
    runtime::systemMessageBox(nullptr, failure.message(), "Message", MB_OK);
}

bool runImageLoader() {
    const LoadResult loaded = loadApplicationImage();
    if (!loaded.ok()) {
        showLoadFailure(loaded);
        return false;
    }
    callApplicationEntry();
    return true;
}

}  // namespace runtime
