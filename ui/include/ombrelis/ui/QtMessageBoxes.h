#pragma once

#include <QString>
#include <ombrelis/engine/MessageBoxes.h>
#include <string>

namespace ombrelis::ui {

/// Modal message boxes over the active window.
class QtMessageBoxes final : public engine::MessageBoxes {
public:
    bool askYesNo(const std::string& title, const std::string& text) override;
    void inform(const std::string& title, const std::string& text) override;
    void reportError(const std::string& title, const std::string& text) override;
};

/// A UTF-8 text for a Qt widget, its CR LF line ends made the plain line feeds Qt breaks on.
QString displayText(const std::string& text);

} // namespace ombrelis::ui
