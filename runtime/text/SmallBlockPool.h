// The small-block pool that string records, text buffers and the runtime's
// other small objects come from. Requests of up to 63 words (252 bytes) are
// served from 4-byte size classes cut out of 8192-byte chunks and recycled
// through one free list per class; larger ones go to the system allocator.
// Chunks are never returned. Every call runs under the global lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace runtime {

class SmallBlockPool {
public:
    static constexpr int32_t kWordSize = 4;
    static constexpr int32_t kLargestClass = 63;  // in words
    static constexpr int32_t kChunkSize = 8192;

    // Where chunks and large blocks come from (the C library's malloc unless a
    // test supplies another source); it returns null when memory is exhausted.
    using ChunkSource = void* (*)(size_t);
    explicit SmallBlockPool(ChunkSource source = nullptr);
    // Returns the chunks of a pool made for a test; the process-wide pool is
    // never destroyed.
    ~SmallBlockPool();
    SmallBlockPool(const SmallBlockPool&) = delete;
    SmallBlockPool& operator=(const SmallBlockPool&) = delete;

    // Returns null for n <= 0. Ends the process when memory is exhausted.
    void* allocate(int32_t n);
    // `n` must be the size the block was allocated with. Null does nothing.
    void release(void* block, int32_t n);

    // Bytes currently handed out in small blocks.
    int64_t bytesInUse() const { return bytesInUse_; }

    static SmallBlockPool& instance();

private:
    struct FreeBlock {
        FreeBlock* next;
    };

    // The size class in words; sizes beyond the largest class all give a
    // value above it (no overflow near INT32_MAX).
    static constexpr int32_t classOf(int32_t n) {
        return n > kLargestClass * kWordSize ? kLargestClass + 1 : (n + kWordSize - 1) / kWordSize;
    }
    void* cutFromChunk(int32_t words);

    ChunkSource source_;
    FreeBlock* freeLists_[kLargestClass + 1] = {};
    std::vector<void*> chunks_;
    uint8_t* chunkCursor_ = nullptr;
    int32_t chunkLeft_ = 0;
    int64_t bytesInUse_ = 0;
};

// Convenience forms over the process-wide pool.
inline void* poolAllocate(int32_t n) { return SmallBlockPool::instance().allocate(n); }
inline void poolRelease(void* block, int32_t n) { SmallBlockPool::instance().release(block, n); }

}  // namespace runtime
