#pragma once

#include <ombrelis/platform/ParallelPort.h>
#include <ombrelis/platform/PortIo.h>
#include <string>

namespace ombrelis::platform {

/// The step of the ppdev session that failed.
enum class PpdevStep { Open, Exclusive, Claim, Write, Read };

/// French sentence for a failed ppdev step: what failed, the system's reason and, where we
/// know one, what the user can do about it.
std::string ppdevFailureMessage(PpdevStep step, const std::string& device, int errorNumber);

/// The parallel port through the Linux ppdev driver. Needs read-write access to the device
/// (group lp), no privilege. Holds the port exclusively from construction to destruction, so
/// that the printer driver cannot interleave its own accesses with a readout.
class PpdevPort final : public PortIo {
public:
    /// Opens and claims `device`. Throws PortError when any step fails.
    explicit PpdevPort(std::string device = kDefaultParportDevice);
    ~PpdevPort() override;
    PpdevPort(const PpdevPort&) = delete;
    PpdevPort& operator=(const PpdevPort&) = delete;

    /// Only the data register (888).
    void out(std::uint16_t port, std::uint8_t value) override;
    /// Only the status register (889); the raw register byte.
    std::uint8_t in(std::uint16_t port) override;

private:
    std::string device_;
    int fd_ = -1;
};

} // namespace ombrelis::platform
