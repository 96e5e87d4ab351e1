#pragma once

#include <ombrelis/platform/PortIo.h>
#include <string>
#include <vector>

namespace ombrelis::platform {

/// The libraries tried, in this order: the 64-bit one first, which a 32-bit program simply
/// fails to load before it goes on to its own.
inline const std::vector<std::string> kInpOutLibraries = {"inpoutx64.dll", "inpout32.dll"};

/// The parallel port through the InpOut DLL on Windows (inpoutx64.dll for 64-bit programs,
/// inpout32.dll for 32-bit ones). Loaded when constructed, unloaded when destroyed.
/// Windows only.
class InpOutPort final : public PortIo {
public:
    /// Loads the first of `libraries` that loads. Throws PortError, in French, when none
    /// does, when an entry is missing, or when the library says its driver is not running.
    explicit InpOutPort(const std::vector<std::string>& libraries = kInpOutLibraries);
    ~InpOutPort() override;
    InpOutPort(const InpOutPort&) = delete;
    InpOutPort& operator=(const InpOutPort&) = delete;

    /// Only the data register (888).
    void out(std::uint16_t port, std::uint8_t value) override;
    /// Only the status register (889).
    std::uint8_t in(std::uint16_t port) override;

private:
    using Inp32Function = short(__stdcall*)(short);
    using Out32Function = void(__stdcall*)(short, short);

    void* library_ = nullptr; // HMODULE, kept opaque so that this header needs no <windows.h>
    Inp32Function inp32_ = nullptr;
    Out32Function out32_ = nullptr;
};

} // namespace ombrelis::platform
