#pragma once

#include <cstdint>
#include <functional>

namespace ombrelis::max187 {

/// How the converter is wired to the first parallel port.
inline constexpr std::uint8_t kChipSelect = 0x01;  ///< data bit 0, pin 2: CS, active low
inline constexpr std::uint8_t kSerialClock = 0x02; ///< data bit 1, pin 3: SCLK
inline constexpr std::uint8_t kDataOut = 0x20;     ///< status bit 5, pin 12 (paper end): DOUT

/// The raw status register's other bits with nothing else wired: nERROR, SELECT and nACK float
/// high, BUSY floats high but the port inverts it, and the three unused low bits read 1.
inline constexpr std::uint8_t kIdleStatusBits = 0x5F;

/// Longest conversion time of the datasheet, counted from CS falling.
inline constexpr double kConversionUs = 8.5;

/// The count for an input voltage: 4.096 V full scale, one count per millivolt, to the nearest
/// count, held within 0..4095.
std::uint16_t countFor(double volts) noexcept;

/// A MAX187 behind the parallel port. Every access carries the time in microseconds, read from
/// any clock that never goes back: the model reads no clock of its own, so it runs the same on
/// a fake clock in tests and on the system's monotonic clock in a stand-in.
///
/// CS falling samples the input and starts a conversion; DOUT reads low while it lasts and goes
/// high when it ends. From then on each falling SCLK puts the next bit on DOUT, most significant
/// first: 12 bits, then zeros. A falling SCLK before the end of the conversion is lost, so the
/// bits come out late and the reading is wrong, as on the chip. CS rising ends the cycle and
/// lets DOUT float, which the port's pull-up reads as high.
class Max187 {
public:
    /// The analogue input in volts at a time on the accesses' clock.
    using Input = std::function<double(double nowUs)>;

    explicit Max187(Input input);

    /// A write of the data register.
    void writeData(std::uint8_t value, double nowUs);
    /// The raw status register: DOUT on bit 5, otherStatusBits on the others.
    std::uint8_t readStatus(double nowUs) const;

    /// True once a clock edge came before a conversion had ended.
    bool clockedDuringConversion() const noexcept { return clockedEarly_; }

    std::uint8_t otherStatusBits = kIdleStatusBits;

private:
    bool dataOut(double nowUs) const;

    Input input_;
    bool chipSelect_ = true; // high: deselected
    bool serialClock_ = false;
    double conversionStartUs_ = 0;
    std::uint16_t latched_ = 0;
    int bitsOut_ = 0; // falling edges counted since the end of the conversion
    bool clockedEarly_ = false;
};

} // namespace ombrelis::max187
