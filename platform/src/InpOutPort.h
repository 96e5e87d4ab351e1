#pragma once

#include <ombrelis/platform/PortIo.h>

namespace ombrelis::platform {

/// The parallel port through the InpOut DLL on Windows (inpoutx64.dll for 64-bit programs,
/// inpout32.dll for 32-bit ones). Loaded when constructed, unloaded when destroyed.
class InpOutPort final : public PortIo {
public:
    /// Throws PortError when neither library or one of its two entries cannot be found.
    InpOutPort();
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
