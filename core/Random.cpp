#include "Random.h"

#include <chrono>
#include <random>

namespace vocalore::Random {

namespace {
std::mt19937_64& Engine() {
    static std::mt19937_64 engine(0x566F63616C6F7265ULL);
    return engine;
}
} // namespace

void Randomize() {
    Seed(static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

void Seed(uint64_t seed) { Engine().seed(seed); }

int32_t Index(int32_t n) {
    // Lemire's unbiased bounded draw: the same result on every standard library.
    const uint64_t range = static_cast<uint64_t>(n);
    uint64_t x = Engine()() >> 32;
    uint64_t m = x * range;
    uint64_t low = m & 0xFFFFFFFFULL;
    if (low < range) {
        const uint64_t threshold = (0x100000000ULL - range) % range;
        while (low < threshold) {
            x = Engine()() >> 32;
            m = x * range;
            low = m & 0xFFFFFFFFULL;
        }
    }
    return static_cast<int32_t>(m >> 32);
}

} // namespace vocalore::Random
