#pragma once

#include <stdexcept>
#include <string>

namespace ombrelis::platform {

/// The reason the system gave for `errorNumber`, in French where we know it.
std::string frenchReason(int errorNumber);

/// The reason for an error number of the C library (errno), in French where we know it. On
/// POSIX systems the same as frenchReason; on Windows the C library's numbers differ from the
/// system's, and its streams and files report through them.
std::string errnoReason(int errorNumber);

/// A file name as the user's messages show it: « name ».
std::string quoted(const std::string& name);

/// A failed call to the system. what() is a complete French sentence for the user:
/// what failed, on which object, and the system's reason.
class SystemError : public std::runtime_error {
public:
    SystemError(const std::string& action, int errorNumber);
    int errorNumber() const noexcept { return errorNumber_; }

private:
    int errorNumber_;
};

} // namespace ombrelis::platform
