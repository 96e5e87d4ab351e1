#pragma once

#include <cstdint>
#include <ombrelis/max187/Max187.h>
#include <ombrelis/platform/MicroDelay.h>
#include <ombrelis/platform/PortIo.h>
#include <vector>

namespace ombrelis::testing {

struct PortOperation {
    bool write = false;
    std::uint16_t port = 0;
    std::uint8_t value = 0; ///< written value, or the value read
    friend bool operator==(const PortOperation&, const PortOperation&) = default;
};

/// Elapsed microseconds as the converter model sees them: moved only by the delays the
/// readout asks for (the port itself is taken as infinitely fast, the worst case).
class FakeMicroDelay final : public platform::MicroDelay {
public:
    void waitMicroseconds(int microseconds) override {
        nowUs += microseconds;
        waits.push_back(microseconds);
    }
    double nowUs = 0;
    std::vector<int> waits;
};

/// The converter model on a fake port, for the readout's tests: the shared MAX187 on time
/// that moves only through the FakeMicroDelay, with a fixed input count, a journal of the
/// port accesses and no noise on the other status bits unless a test asks for it.
class Max187Model final : public platform::PortIo {
public:
    explicit Max187Model(FakeMicroDelay* time = nullptr);
    Max187Model(const Max187Model&) = delete; // the chip reads `input` through this object
    Max187Model& operator=(const Max187Model&) = delete;

    void out(std::uint16_t port, std::uint8_t value) override;
    std::uint8_t in(std::uint16_t port) override;

    std::vector<std::uint8_t> dataWrites() const;
    int reads() const;

    std::uint16_t input = 0;             ///< the count the next conversion yields, 0..4095
    std::uint8_t otherStatusBits = 0x00; ///< noise on the status bits the readout must ignore
    std::vector<PortOperation> operations;
    bool clockedDuringConversion = false;

private:
    double nowUs() const { return time_ ? time_->nowUs : 0.0; }

    FakeMicroDelay* time_;
    max187::Max187 chip_;
};

} // namespace ombrelis::testing
