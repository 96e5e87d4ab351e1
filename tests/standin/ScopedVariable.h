#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace ombrelis::testing {

/// An environment variable set for one scope, then put back. The stand-in reads its variables
/// at each open of the device, so a test sets them before the port is opened.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* before = std::getenv(name)) {
            before_ = before;
        }
        ::setenv(name, value, 1);
    }
    ~ScopedVariable() {
        if (before_) {
            ::setenv(name_, before_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> before_;
};

} // namespace ombrelis::testing
