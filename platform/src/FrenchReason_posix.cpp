#include <ombrelis/platform/SystemError.h>

namespace ombrelis::platform {

// The system's error numbers are the C library's here.
std::string frenchReason(int errorNumber) {
    return errnoReason(errorNumber);
}

} // namespace ombrelis::platform
