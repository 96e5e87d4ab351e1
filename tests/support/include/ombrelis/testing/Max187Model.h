#pragma once

#include <cstdint>
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

/// A MAX187 on the first parallel port: data bit 0 = CS (active low), data bit 1 = SCLK,
/// status bit 5 = DOUT. A falling CS starts an 8.5 us conversion of `input`; after it, each
/// falling SCLK shifts out the next bit, MSB first; after 12 bits DOUT reads 0. Clocking
/// during the conversion loses the first bits, as the real chip does.
class Max187Model final : public platform::PortIo {
public:
    explicit Max187Model(FakeMicroDelay* time = nullptr) : time_(time) {}

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
    bool cs_ = true; // high: deselected
    bool sclk_ = false;
    double conversionStartUs_ = -1e9;
    std::uint16_t latched_ = 0;
    int bitsShifted_ = 0;
    bool dout_ = false;
};

} // namespace ombrelis::testing
