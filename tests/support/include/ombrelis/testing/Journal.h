#pragma once

#include <string>
#include <vector>

namespace ombrelis::testing {

/// One ordered list of what the fakes saw, so a test can check the order across them.
class Journal {
public:
    void add(std::string entry) { entries_.push_back(std::move(entry)); }
    const std::vector<std::string>& entries() const { return entries_; }
    void clear() { entries_.clear(); }
    /// Entries starting with `prefix`, in order.
    std::vector<std::string> only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& e : entries_) {
            if (e.rfind(prefix, 0) == 0) {
                out.push_back(e);
            }
        }
        return out;
    }

private:
    std::vector<std::string> entries_;
};

} // namespace ombrelis::testing
