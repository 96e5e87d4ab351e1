#include <cmath>
#include <ombrelis/engine/ValueSources.h>

namespace ombrelis::engine {

namespace {
constexpr std::uint8_t kCsHigh = 1;   // CS high, SCLK low: converter deselected
constexpr std::uint8_t kCsLow = 0;    // CS low, SCLK low
constexpr std::uint8_t kSclkHigh = 2; // CS low, SCLK high
} // namespace

Convertisseur::Convertisseur(platform::PortIo& port, platform::MicroDelay& delay)
    : port_(port), delay_(delay) {}

std::int16_t Convertisseur::LireConvertisseur() {
    std::int16_t value = 0;
    port_.out(PORT_DONNEES, kCsHigh);
    port_.out(PORT_DONNEES, kCsLow); // falling CS starts the conversion
    delay_.waitMicroseconds(kConversionWaitUs);
    port_.out(PORT_DONNEES, kSclkHigh);
    for (int weight = 2048; weight >= 1; weight /= 2) {
        port_.out(PORT_DONNEES, kCsLow);    // SCLK falls: the next bit appears on DOUT
        port_.out(PORT_DONNEES, kSclkHigh); // SCLK rises
        if ((port_.in(PORT_ETAT)&kDoutMask) != 0) {
            value = static_cast<std::int16_t>(value + weight);
        }
    }
    port_.out(PORT_DONNEES, kSclkHigh);
    port_.out(PORT_DONNEES, kCsLow);
    port_.out(PORT_DONNEES, kSclkHigh);
    port_.out(PORT_DONNEES, kCsLow);
    port_.out(PORT_DONNEES, kCsHigh);
    return value;
}

Simulateur::Simulateur(platform::RandomSource& random) : random_(random) {}

float Simulateur::LireSimulation() {
    return valueFor(random_.next());
}

float Simulateur::valueFor(float r) {
    // Product and sum in double: no rounding to float before the floor.
    const double v = static_cast<double>(r) * 2048.0 + 1024.0;
    return static_cast<float>(std::floor(v));
}

} // namespace ombrelis::engine
