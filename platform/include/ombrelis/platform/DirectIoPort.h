#pragma once

#include <ombrelis/platform/PortIo.h>
#include <string>

namespace ombrelis::platform {

/// French sentence for a refused ioperm(), with what the user can do about it.
std::string directIoFailureMessage(int errorNumber);

/// The parallel port by direct inb/outb on x86 Linux, for machines without the ppdev driver.
/// Needs CAP_SYS_RAWIO. On other processors the constructor throws PortError.
class DirectIoPort final : public PortIo {
public:
    /// Asks for access to the port's three registers. Throws PortError when refused.
    DirectIoPort();
    ~DirectIoPort() override;
    DirectIoPort(const DirectIoPort&) = delete;
    DirectIoPort& operator=(const DirectIoPort&) = delete;

    /// Only the data register (888).
    void out(std::uint16_t port, std::uint8_t value) override;
    /// Only the status register (889).
    std::uint8_t in(std::uint16_t port) override;
};

} // namespace ombrelis::platform
