#include "PpdevDriver.h"

#include <cerrno>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>

namespace ombrelis::standin {

namespace {
// The control lines a PC port can write and read back; the driver masks the rest.
constexpr std::uint8_t kControlLines =
    PARPORT_CONTROL_STROBE | PARPORT_CONTROL_AUTOFD | PARPORT_CONTROL_INIT | PARPORT_CONTROL_SELECT;
} // namespace

PpdevDriver::PpdevDriver() : chip_([this](double nowUs) { return signal_.voltsAt(nowUs / 1e6); }) {}

void PpdevDriver::attach(int handle, const max187::StandinSettings& settings) {
    // The newest open's signal drives the one chip on the port.
    signal_ = settings.signal;
    handles_[handle] = Handle{settings.fault};
}

void PpdevDriver::detach(int handle) {
    const auto it = handles_.find(handle);
    if (it == handles_.end()) {
        return;
    }
    if (it->second.claimed) {
        claimant_ = -1;
    }
    if (it->second.registered) {
        --registrations_;
        exclusiveRegistered_ = exclusiveRegistered_ && !it->second.exclusive;
    }
    handles_.erase(it);
}

int PpdevDriver::ioctl(int handle, unsigned long request, unsigned char* argument, double nowUs) {
    Handle& h = handles_.at(handle);
    switch (request) {
    case PPCLAIM:
        return claim(handle, h);
    case PPEXCL:
        if (h.registered) {
            return h.exclusive ? 0 : EINVAL;
        }
        h.exclusive = true;
        return 0;
    case PPRELEASE:
        if (!h.claimed) {
            return EINVAL;
        }
        h.claimed = false;
        claimant_ = -1;
        return 0;
    default:
        break;
    }
    if (!h.claimed) {
        return EINVAL;
    }
    return access(request, argument, nowUs);
}

int PpdevDriver::claim(int handle, Handle& h) {
    if (h.claimed) {
        return EINVAL;
    }
    if (!h.registered) {
        const bool refused = exclusiveRegistered_ || (h.exclusive && registrations_ > 0);
        if (refused ||
            (h.fault.step == max187::Fault::Step::Claim && h.fault.errorNumber == ENXIO)) {
            return ENXIO;
        }
        h.registered = true;
        ++registrations_;
        exclusiveRegistered_ = exclusiveRegistered_ || h.exclusive;
    }
    if (h.fault.step == max187::Fault::Step::Claim) {
        return h.fault.errorNumber;
    }
    if (claimant_ != -1) {
        return EBUSY;
    }
    h.claimed = true;
    claimant_ = handle;
    return 0;
}

int PpdevDriver::access(unsigned long request, unsigned char* argument, double nowUs) {
    switch (request) {
    case PPWDATA:
    case PPRDATA:
    case PPRSTATUS:
    case PPWCONTROL:
    case PPRCONTROL:
        break;
    default:
        return EINVAL; // what the driver answers to a request it does not know
    }
    if (argument == nullptr) {
        return EFAULT;
    }
    switch (request) {
    case PPWDATA:
        data_ = *argument;
        chip_.writeData(data_, nowUs);
        return 0;
    case PPRDATA:
        *argument = data_;
        return 0;
    case PPRSTATUS:
        *argument = chip_.readStatus(nowUs);
        return 0;
    case PPWCONTROL:
        control_ = *argument & kControlLines;
        return 0;
    default: // PPRCONTROL
        *argument = control_;
        return 0;
    }
}

} // namespace ombrelis::standin
