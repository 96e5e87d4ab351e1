#pragma once

#include <functional>
#include <string>

namespace ombrelis::testing {

enum class ChildUser {
    Same,         ///< the child keeps the test's user and privileges
    Unprivileged, ///< when the tests run as root, the child becomes nobody (uid/gid 65534)
};

/// Runs `body` in a forked child and returns what it reports: an empty text when all its
/// checks held, else a description of what went wrong (also when the child could not drop
/// its privileges, threw, or died of a signal). Lets a test change process-wide state
/// (resource limits, user) or check permissions for real even under root. `beforeDrop` runs
/// first, still as the test's user: what an administrator grants, such as a resource limit.
std::string runInChild(ChildUser user, const std::function<std::string()>& body,
                       const std::function<void()>& beforeDrop = {});

} // namespace ombrelis::testing
