#pragma once

#include <cstdint>
#include <map>
#include <ombrelis/max187/Max187.h>
#include <ombrelis/max187/StandinSettings.h>

namespace ombrelis::standin {

/// The first parallel port as Linux's ppdev driver presents it, with a MAX187 wired to it.
/// Each open descriptor is a handle; every call answers 0 or the driver's error number.
///
/// The driver's rules kept here: registration is deferred to the first PPCLAIM, so PPEXCL is
/// accepted only before it (afterwards only as a no-op on a handle registered exclusively);
/// an exclusive registration is refused (ENXIO) while anything else is registered, and nothing
/// registers beside it; a second PPCLAIM, and PPRELEASE without a claim, are invalid; every
/// register access needs the claim (EINVAL before it); closing releases and unregisters.
/// Where the driver would sleep until another handle releases the port, this answers EBUSY:
/// a stand-in in the caller's own thread cannot wait for itself.
class PpdevDriver {
public:
    PpdevDriver();
    PpdevDriver(const PpdevDriver&) = delete; // the chip reads the signal through this object
    PpdevDriver& operator=(const PpdevDriver&) = delete;

    /// A newly opened descriptor, under the settings read at its open.
    void attach(int handle, const max187::StandinSettings& settings);
    bool holds(int handle) const { return handles_.count(handle) != 0; }
    /// `argument` is the caller's byte for the register requests.
    int ioctl(int handle, unsigned long request, unsigned char* argument, double nowUs);
    void detach(int handle);

private:
    struct Handle {
        max187::Fault fault;
        bool exclusive = false;
        bool registered = false;
        bool claimed = false;
    };
    int claim(int handle, Handle& h);
    int access(unsigned long request, unsigned char* argument, double nowUs);

    std::map<int, Handle> handles_;
    max187::Signal signal_;
    max187::Max187 chip_;
    std::uint8_t data_ = 0;
    std::uint8_t control_ = 0;
    int registrations_ = 0;
    bool exclusiveRegistered_ = false;
    int claimant_ = -1;
};

} // namespace ombrelis::standin
