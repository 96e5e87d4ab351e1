#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace ombrelis::platform {

/// I/O-port access by the PC's port addresses (888 = data register, 889 = status register of
/// the first parallel port). Every failure throws PortError.
class PortIo {
public:
    virtual ~PortIo() = default;
    /// Writes the low byte of `value` to `port`.
    virtual void out(std::uint16_t port, std::uint8_t value) = 0;
    /// Reads one byte from `port`.
    virtual std::uint8_t in(std::uint16_t port) = 0;
    /// Opens and claims the port now, if that is not done yet, so that a port that cannot be
    /// used is known before anything else is touched. Backends that open the port when they
    /// are made have nothing left to do.
    virtual void claim() {}
};

/// A port that cannot be opened or used. what() is a French sentence for the user.
class PortError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using PortFactory = std::function<std::unique_ptr<PortIo>()>;

/// Binds the real port at its first use, never before, so that a simulated run never
/// touches the hardware. A failed binding is tried again at the next use.
class LazyPort final : public PortIo {
public:
    explicit LazyPort(PortFactory factory);
    void out(std::uint16_t port, std::uint8_t value) override;
    std::uint8_t in(std::uint16_t port) override;
    void claim() override { bound(); }
    bool isBound() const noexcept { return bound_ != nullptr; }

private:
    PortIo& bound();
    PortFactory factory_;
    std::unique_ptr<PortIo> bound_;
};

/// The platform's default backend: ppdev on /dev/parport0 when present, else direct I/O
/// (x86 Linux), or the InpOut DLL on Windows.
std::unique_ptr<PortIo> openDefaultPort();

} // namespace ombrelis::platform
