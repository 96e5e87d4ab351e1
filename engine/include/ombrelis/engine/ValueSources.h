#pragma once

#include <cstdint>
#include <ombrelis/platform/MicroDelay.h>
#include <ombrelis/platform/PortIo.h>
#include <ombrelis/platform/RandomSource.h>

namespace ombrelis::engine {

inline constexpr std::uint16_t PORT_DONNEES = 888; // data register: bit 0 CS, bit 1 SCLK
inline constexpr std::uint16_t PORT_ETAT = 889;    // status register: bit 5 DOUT
inline constexpr std::uint8_t kDoutMask = 0x20;
/// The MAX187 converts for up to 8.5 us after CS falls; clocking it earlier shifts the bits.
inline constexpr int kConversionWaitUs = 10;

/// MAX187 readout over the parallel port.
class Convertisseur {
public:
    Convertisseur(platform::PortIo& port, platform::MicroDelay& delay);
    /// One 12-bit conversion, 0..4095. Throws PortError when the port cannot be used.
    std::int16_t LireConvertisseur();
    /// Opens and claims the port. Throws PortError when it cannot be used.
    void claimPort() { port_.claim(); }

private:
    platform::PortIo& port_;
    platform::MicroDelay& delay_;
};

/// Stand-in for the converter: whole values from 1024 to 3071, evenly spread.
class Simulateur {
public:
    explicit Simulateur(platform::RandomSource& random);
    float LireSimulation();

    /// The value for one draw r in [0, 1).
    static float valueFor(float r);

private:
    platform::RandomSource& random_;
};

} // namespace ombrelis::engine
