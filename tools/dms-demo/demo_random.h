#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentrail::dms_demo {

// A small generator of our own (xoshiro256**, seeded by splitmix64): the standard
// distributions differ between libraries, and a demo database must be the same for a seed
// wherever it is built.
class DemoRandom {
public:
    explicit DemoRandom(uint64_t seed) {
        for (uint64_t& word : state_) word = SplitMix(seed);
    }

    uint64_t Next() {
        const uint64_t result = Rotl(state_[1] * 5, 7) * 9;
        const uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = Rotl(state_[3], 45);
        return result;
    }

    // Uniform in [0, n); n > 0. The slight bias of a modulo is of no matter here.
    uint64_t Below(uint64_t n) { return Next() % n; }

    // Uniform in [low, high].
    int64_t Between(int64_t low, int64_t high) {
        return low + static_cast<int64_t>(Below(static_cast<uint64_t>(high - low) + 1));
    }

    // True with the given chance in per cent.
    bool Percent(int chance) { return Below(100) < static_cast<uint64_t>(chance); }

    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Below(items.size()))];
    }

private:
    static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    static uint64_t SplitMix(uint64_t& x) {
        uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    uint64_t state_[4];
};

}  // namespace zentrail::dms_demo
