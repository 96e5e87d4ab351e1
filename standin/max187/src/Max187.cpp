#include <cmath>
#include <ombrelis/max187/Max187.h>
#include <utility>

namespace ombrelis::max187 {

namespace {
constexpr int kBits = 12;
constexpr double kLargestCount = 4095.0;
} // namespace

std::uint16_t countFor(double volts) noexcept {
    const double counts = std::floor(volts * 1000.0 + 0.5);
    if (!(counts > 0.0)) { // NaN reads as 0 too
        return 0;
    }
    return static_cast<std::uint16_t>(counts < kLargestCount ? counts : kLargestCount);
}

Max187::Max187(Input input) : input_(std::move(input)) {}

void Max187::writeData(std::uint8_t value, double nowUs) {
    const bool chipSelect = (value & kChipSelect) != 0;
    const bool serialClock = (value & kSerialClock) != 0;
    if (chipSelect_ && !chipSelect) {
        conversionStartUs_ = nowUs;
        latched_ = countFor(input_(nowUs));
        bitsOut_ = 0;
    }
    if (!chipSelect && serialClock_ && !serialClock) {
        if (nowUs - conversionStartUs_ < kConversionUs) {
            clockedEarly_ = true;
        } else {
            ++bitsOut_;
        }
    }
    chipSelect_ = chipSelect;
    serialClock_ = serialClock;
}

std::uint8_t Max187::readStatus(double nowUs) const {
    return static_cast<std::uint8_t>((otherStatusBits & ~kDataOut) |
                                     (dataOut(nowUs) ? kDataOut : 0));
}

bool Max187::dataOut(double nowUs) const {
    if (chipSelect_) {
        return true;
    }
    if (nowUs - conversionStartUs_ < kConversionUs) {
        return false;
    }
    if (bitsOut_ == 0) {
        return true; // end of conversion
    }
    const int index = bitsOut_ - 1;
    return index < kBits && ((latched_ >> (kBits - 1 - index)) & 1) != 0;
}

} // namespace ombrelis::max187
