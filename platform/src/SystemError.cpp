#include <ombrelis/platform/SystemError.h>

namespace ombrelis::platform {

std::string quoted(const std::string& name) {
    return "« " + name + " »";
}

SystemError::SystemError(const std::string& action, int errorNumber)
    : std::runtime_error(action + " : " + frenchReason(errorNumber) + "."),
      errorNumber_(errorNumber) {}

} // namespace ombrelis::platform
