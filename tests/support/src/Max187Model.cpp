#include <ombrelis/testing/Max187Model.h>

namespace ombrelis::testing {

namespace {
constexpr double kConversionUs = 8.5;
constexpr std::uint16_t kData = 888;
constexpr std::uint16_t kStatus = 889;
} // namespace

void Max187Model::out(std::uint16_t port, std::uint8_t value) {
    operations.push_back({true, port, value});
    if (port != kData) {
        return;
    }
    const bool cs = (value & 1) != 0;
    const bool sclk = (value & 2) != 0;
    if (cs_ && !cs) {
        conversionStartUs_ = nowUs();
        latched_ = input & 0x0FFF;
        bitsShifted_ = 0;
        dout_ = false;
    }
    if (!cs && sclk_ && !sclk) {
        if (nowUs() - conversionStartUs_ < kConversionUs) {
            // Still converting: this edge is lost, and the bits come out one place late.
            clockedDuringConversion = true;
            --bitsShifted_;
        } else {
            const int index = bitsShifted_++;
            dout_ = index >= 0 && index < 12 && ((latched_ >> (11 - index)) & 1) != 0;
        }
    }
    if (cs) {
        dout_ = false; // DOUT goes high-impedance, read as low
    }
    cs_ = cs;
    sclk_ = sclk;
}

std::uint8_t Max187Model::in(std::uint16_t port) {
    std::uint8_t value = 0;
    if (port == kStatus) {
        value = static_cast<std::uint8_t>((otherStatusBits & ~0x20) | (dout_ ? 0x20 : 0));
    }
    operations.push_back({false, port, value});
    return value;
}

std::vector<std::uint8_t> Max187Model::dataWrites() const {
    std::vector<std::uint8_t> out;
    for (const auto& op : operations) {
        if (op.write && op.port == kData) {
            out.push_back(op.value);
        }
    }
    return out;
}

int Max187Model::reads() const {
    int n = 0;
    for (const auto& op : operations) {
        n += op.write ? 0 : 1;
    }
    return n;
}

} // namespace ombrelis::testing
