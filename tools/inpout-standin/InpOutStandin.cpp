// A stand-in for InpOut's port library (inpoutx64.dll), with the same entries, for trying the
// converter path on Windows, or under Wine, without the port or InpOut's driver: behind it a
// MAX187 is wired to the first parallel port as the program expects (the model the tests use),
// its analogue input set by the environment:
//   OMBRELIS_STANDIN_SIGNAL  "const VOLTS" or "sine HZ LOW_VOLTS HIGH_VOLTS"
//                            (default "sine 0.5 0.5 3.5"; 4.096 V full scale, 1 mV a count)
//   OMBRELIS_STANDIN_FAIL    "driver": IsInpOutDriverOpen says the driver is not running
// Read when a conversion starts, so a test can change them between readouts.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <ombrelis/testing/Max187Model.h>
#include <sstream>
#include <string>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace {

using ombrelis::testing::FakeMicroDelay;
using ombrelis::testing::Max187Model;

std::string environment(const char* name) {
    char value[256];
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

double nowSeconds() {
    LARGE_INTEGER count{};
    LARGE_INTEGER frequency{};
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::uint16_t inputCount() {
    std::istringstream words(environment("OMBRELIS_STANDIN_SIGNAL"));
    std::string shape;
    words >> shape;
    double volts = 0;
    if (shape == "const") {
        words >> volts;
    } else {
        double hertz = 0.5;
        double low = 0.5;
        double high = 3.5;
        if (shape == "sine") {
            words >> hertz >> low >> high;
        }
        const double phase = 2 * std::numbers::pi * hertz * nowSeconds();
        volts = low + (high - low) * (0.5 + 0.5 * std::sin(phase));
    }
    return static_cast<std::uint16_t>(std::clamp(std::lround(volts * 1000), 0L, 4095L));
}

/// The converter, on the time of the performance counter: a readout that clocks before the
/// conversion time has passed reads wrong, as with the real chip.
struct Converter {
    FakeMicroDelay time;
    Max187Model model{&time};
    bool chipSelected = false;
};

Converter& converter() {
    static Converter instance;
    return instance;
}

} // namespace

extern "C" {

__declspec(dllexport) void __stdcall Out32(short port, short data) {
    Converter& c = converter();
    c.time.nowUs = nowSeconds() * 1e6;
    const bool select = (data & 1) == 0;
    if (select && !c.chipSelected) {
        c.model.input = inputCount(); // CS falls: the conversion samples the input now
    }
    c.chipSelected = select;
    c.model.out(static_cast<std::uint16_t>(port), static_cast<std::uint8_t>(data));
    c.model.operations.clear(); // the model's journal is for tests; a run would fill memory
}

__declspec(dllexport) short __stdcall Inp32(short port) {
    Converter& c = converter();
    c.time.nowUs = nowSeconds() * 1e6;
    const std::uint8_t value = c.model.in(static_cast<std::uint16_t>(port));
    c.model.operations.clear();
    return value;
}

__declspec(dllexport) BOOL __stdcall IsInpOutDriverOpen() {
    return environment("OMBRELIS_STANDIN_FAIL") == "driver" ? FALSE : TRUE;
}

} // extern "C"
