#pragma once

#include <cstdint>
#include <random>

namespace ombrelis::platform {

/// Uniform values in [0, 1), one per call.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    /// Never returns 1.0f.
    virtual float next() = 0;
};

/// Same sequence at every program start: the generator is never seeded from anything.
class FixedSeedRandom final : public RandomSource {
public:
    float next() override;

private:
    std::mt19937 generator_; // default-constructed: the standard's fixed seed
};

} // namespace ombrelis::platform
