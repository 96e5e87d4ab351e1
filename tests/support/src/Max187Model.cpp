#include <ombrelis/testing/Max187Model.h>

namespace ombrelis::testing {

namespace {
constexpr std::uint16_t kData = 888;
constexpr std::uint16_t kStatus = 889;
} // namespace

// The input as the voltage that gives exactly that count.
Max187Model::Max187Model(FakeMicroDelay* time)
    : time_(time), chip_([this](double) { return input / 1000.0; }) {}

void Max187Model::out(std::uint16_t port, std::uint8_t value) {
    operations.push_back({true, port, value});
    if (port == kData) {
        chip_.writeData(value, nowUs());
        clockedDuringConversion = chip_.clockedDuringConversion();
    }
}

std::uint8_t Max187Model::in(std::uint16_t port) {
    std::uint8_t value = 0;
    if (port == kStatus) {
        chip_.otherStatusBits = otherStatusBits;
        value = chip_.readStatus(nowUs());
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
