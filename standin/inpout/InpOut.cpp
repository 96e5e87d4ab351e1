// InpOut's entries, answered by a MAX187 wired to the first parallel port as the program
// expects. The settings are read at the first call after the library is loaded, as the ppdev
// stand-in reads them when the port is opened: OMBRELIS_STANDIN_SIGNAL sets the input; any
// OMBRELIS_STANDIN_FAIL fault, or a setting that cannot be read, makes IsInpOutDriverOpen say that
// InpOut's driver is not running, InpOut's own way of failing.
#include <cstdio>
#include <ombrelis/max187/Max187.h>
#include <ombrelis/max187/StandinSettings.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace {

using namespace ombrelis;

constexpr short kDataRegister = 888;
constexpr short kStatusRegister = 889;

/// Microseconds on the performance counter: the monotonic clock the program's readout uses.
double nowUs() {
    LARGE_INTEGER count{};
    LARGE_INTEGER frequency{};
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

struct Port {
    max187::StandinSettings settings = max187::settingsFromEnvironment();
    max187::Max187 chip{[this](double us) { return settings.signal.voltsAt(us / 1e6); }};
    std::uint8_t data = 0;

    Port() {
        if (!settings.problem.empty()) {
            std::fprintf(stderr, "ombrelis InpOut stand-in: %s\n", settings.problem.c_str());
        }
    }
};

Port& port() {
    static Port instance;
    return instance;
}

} // namespace

extern "C" {

__declspec(dllexport) void __stdcall Out32(short address, short value) {
    if (address == kDataRegister) {
        port().data = static_cast<std::uint8_t>(value);
        port().chip.writeData(port().data, nowUs());
    }
}

/// The status register as the port reads it, the data register's latch, and nothing
/// (a floating bus) at any other address.
__declspec(dllexport) short __stdcall Inp32(short address) {
    switch (address) {
    case kStatusRegister:
        return port().chip.readStatus(nowUs());
    case kDataRegister:
        return port().data;
    default:
        return 0xFF;
    }
}

__declspec(dllexport) BOOL __stdcall IsInpOutDriverOpen() {
    const max187::StandinSettings& settings = port().settings;
    return settings.problem.empty() && settings.fault.step == max187::Fault::Step::None;
}

} // extern "C"
