#pragma once

#include <string>

namespace ombrelis::testing {

/// True when `text` holds `part`: for messages, of which a test checks what matters.
inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace ombrelis::testing
