// Prints the cost of allocate-and-release of small blocks in the small-block
// pool as a ratio against the system allocator, on the same sizes in one run.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "text/SmallBlockPool.h"

namespace {

constexpr int kBlocks = 4096;
constexpr int kRounds = 200;

template <typename Allocate, typename Release>
double secondsFor(Allocate allocate, Release release) {
    std::vector<void*> blocks(kBlocks);
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kRounds; ++round) {
        // Sizes cycle through 1 to 252 bytes: every small size class.
        for (int i = 0; i < kBlocks; ++i) blocks[i] = allocate(1 + (i * 7 + round) % 252);
        for (int i = kBlocks - 1; i >= 0; --i) release(blocks[i], 1 + (i * 7 + round) % 252);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    auto& pool = runtime::SmallBlockPool::instance();
    // One warm-up pass each, so neither side pays for first-touch of its memory.
    secondsFor([&](int n) { return pool.allocate(n); }, [&](void* p, int n) { pool.release(p, n); });
    secondsFor([](int n) { return std::malloc(n); }, [](void* p, int) { std::free(p); });

    const double poolSeconds =
        secondsFor([&](int n) { return pool.allocate(n); }, [&](void* p, int n) { pool.release(p, n); });
    const double systemSeconds = secondsFor([](int n) { return std::malloc(n); }, [](void* p, int) { std::free(p); });
    const double operations = 2.0 * kBlocks * kRounds;
    std::printf("small-block pool: %.1f ns per allocate or release\n", poolSeconds / operations * 1e9);
    std::printf("system allocator: %.1f ns per allocate or release\n", systemSeconds / operations * 1e9);
    std::printf("pool / system time ratio: %.3f\n", poolSeconds / systemSeconds);
    return 0;
}
