#include <ombrelis/platform/RandomSource.h>

namespace ombrelis::platform {

// 24 random bits over 2^24: every value is exact in a float and the largest is 1 - 2^-24.
// (std::generate_canonical<float> may round up to 1.0.)
float FixedSeedRandom::next() {
    const std::uint32_t bits = static_cast<std::uint32_t>(generator_()) >> 8;
    return static_cast<float>(bits) * (1.0f / 16777216.0f);
}

} // namespace ombrelis::platform
