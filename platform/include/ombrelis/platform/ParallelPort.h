#pragma once

#include <cstdint>

namespace ombrelis::platform {

/// The two registers of the first parallel port that the converter uses.
inline constexpr std::uint16_t kParallelDataRegister = 888;   // 0x378, written
inline constexpr std::uint16_t kParallelStatusRegister = 889; // 0x379, read

/// The Linux ppdev device of the first parallel port.
inline constexpr const char* kDefaultParportDevice = "/dev/parport0";

/// How the port registers are reached on this machine.
enum class PortBackend {
    Ppdev,       ///< Linux /dev/parportN, needs membership of group lp
    DirectIo,    ///< Linux x86 ioperm + inb/outb, needs CAP_SYS_RAWIO
    InpOut,      ///< Windows InpOut DLL
    Unavailable, ///< no way to reach the port
};

/// What openDefaultPort() knows about the machine when it picks a backend.
struct PortFacts {
    bool onWindows = false;
    bool onLinux = false;
    bool onX86 = false;
    bool parportDevicePresent = false; ///< the ppdev device node exists
};

/// Pure choice of backend: ppdev whenever its device exists (no privilege needed), direct I/O
/// only as a fallback on x86 Linux, InpOut on Windows.
PortBackend choosePortBackend(const PortFacts& facts) noexcept;

/// Every backend accepts the same two accesses, so that a program that works on one works on
/// all: writes to the data register and reads of the status register. Anything else throws
/// PortError.
void requireDataRegister(std::uint16_t port);
void requireStatusRegister(std::uint16_t port);

} // namespace ombrelis::platform
