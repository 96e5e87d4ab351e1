#pragma once

#include <stdexcept>

namespace ombrelis::engine {

/// A condition that stops a run; what() is the French sentence for the user.
class RunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace ombrelis::engine
