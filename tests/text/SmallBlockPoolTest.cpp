// The small-block pool: size classes, free-list reuse, chunk cutting, the
// boundary to the system allocator and the running total.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "text/SmallBlockPool.h"

using runtime::SmallBlockPool;

namespace {

TEST(SmallBlockPool, NonPositiveRequestsGiveNull) {
    SmallBlockPool pool;
    EXPECT_EQ(pool.allocate(0), nullptr);
    EXPECT_EQ(pool.allocate(-8), nullptr);
    pool.release(nullptr, 8);  // does nothing
    EXPECT_EQ(pool.bytesInUse(), 0);
}

TEST(SmallBlockPool, ReleasedBlockIsReusedByItsClassOnly) {
    // Sizes 9 to 12 share one class: a freed 12-byte block serves a 9-byte request.
    SmallBlockPool other;
    void* b = other.allocate(12);
    other.release(b, 12);
    EXPECT_EQ(other.allocate(9), b);
    // A request of another class does not take it.
    void* c = other.allocate(12);
    other.release(c, 12);
    EXPECT_NE(other.allocate(13), c);
}

TEST(SmallBlockPool, FreeListIsLastInFirstOut) {
    SmallBlockPool pool;
    void* a = pool.allocate(20);
    void* b = pool.allocate(20);
    pool.release(a, 20);
    pool.release(b, 20);
    EXPECT_EQ(pool.allocate(20), b);
    EXPECT_EQ(pool.allocate(20), a);
}

TEST(SmallBlockPool, BlocksAreCutConsecutivelyFromAChunk) {
    SmallBlockPool pool;
    auto* first = static_cast<uint8_t*>(pool.allocate(32));
    auto* second = static_cast<uint8_t*>(pool.allocate(32));
    EXPECT_EQ(second - first, 32);
}

TEST(SmallBlockPool, ManyBlocksStayDistinctAndWritable) {
    SmallBlockPool pool;
    std::vector<std::pair<uint8_t*, int32_t>> blocks;
    for (int i = 0; i < 5000; ++i) {
        const int32_t size = 1 + i % 252;
        auto* block = static_cast<uint8_t*>(pool.allocate(size));
        std::memset(block, i & 0xFF, static_cast<size_t>(size));
        blocks.emplace_back(block, size);
    }
    std::set<uint8_t*> distinct;
    for (size_t i = 0; i < blocks.size(); ++i) {
        auto [block, size] = blocks[i];
        distinct.insert(block);
        for (int32_t k = 0; k < size; ++k) ASSERT_EQ(block[k], i & 0xFF) << i;
    }
    EXPECT_EQ(distinct.size(), blocks.size());
    int64_t total = 0;
    for (auto [block, size] : blocks) total += size;
    EXPECT_EQ(pool.bytesInUse(), total);
    for (auto [block, size] : blocks) pool.release(block, size);
    EXPECT_EQ(pool.bytesInUse(), 0);
}

TEST(SmallBlockPool, LargeRequestsGoToTheSystemAllocator) {
    SmallBlockPool pool;
    void* big = pool.allocate(253);  // 64 words
    ASSERT_NE(big, nullptr);
    std::memset(big, 0xAB, 253);
    EXPECT_EQ(pool.bytesInUse(), 0);  // only small blocks are counted
    pool.release(big, 253);
    void* edge = pool.allocate(252);  // 63 words: still pooled
    EXPECT_EQ(pool.bytesInUse(), 252);
    pool.release(edge, 252);
}

}  // namespace
