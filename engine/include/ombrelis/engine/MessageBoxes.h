#pragma once

#include <string>

namespace ombrelis::engine {

/// Modal message boxes. Texts are UTF-8.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    /// Yes/No question, Yes the default, no icon. True when the user answers Yes.
    virtual bool askYesNo(const std::string& title, const std::string& text) = 0;
    /// OK-only box, no icon.
    virtual void inform(const std::string& title, const std::string& text) = 0;
    /// OK-only box for a failure the user must know about.
    virtual void reportError(const std::string& title, const std::string& text) = 0;
};

} // namespace ombrelis::engine
