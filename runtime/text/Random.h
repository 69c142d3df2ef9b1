// The minimal standard pseudo-random generator of Park and Miller:
// state <- 16807 * state mod (2^31 - 1), computed exactly in 32-bit arithmetic
// by Schrage's decomposition.
#pragma once

#include <cstdint>

namespace runtime {

class ParkMillerRandom {
public:
    static constexpr int32_t kModulus = 2147483647;  // 2^31 - 1
    static constexpr int32_t kMultiplier = 16807;
    static constexpr int32_t kQuotient = kModulus / kMultiplier;   // 127773
    static constexpr int32_t kRemainder = kModulus % kMultiplier;  // 2836

    bool seeded() const { return state_ != 0; }
    // Starts from `seed` masked to 31 bits. The two values the generator
    // cannot leave (0 and 2^31 - 1) stand for 1.
    void seed(uint32_t seed) {
        state_ = static_cast<int32_t>(seed & 0x7FFFFFFF);
        if (state_ == 0 || state_ == kModulus) state_ = 1;
    }
    // Advances the state and returns it.
    int32_t next() {
        const int32_t high = state_ / kQuotient;
        const int32_t low = state_ % kQuotient;
        const int32_t product = kMultiplier * low - kRemainder * high;
        state_ = product > 0 ? product : product + kModulus;
        return state_;
    }
    // Advances the state; its low 20 bits as a fraction in [0, 1).
    double nextFraction() { return (next() & 0xFFFFF) / 1048576.0; }

private:
    int32_t state_ = 0;  // 0 until seeded
};

// The generator behind rnd: one per process, seeded from the tick count on
// first use.
ParkMillerRandom& processRandom();

}  // namespace runtime
