#pragma once

#include <QString>
#include <memory>
#include <ombrelis/engine/MessageBoxes.h>
#include <string>

class QFontMetrics;
class QMessageBox;

namespace ombrelis::ui {

/// Modal message boxes over the active window.
class QtMessageBoxes final : public engine::MessageBoxes {
public:
    bool askYesNo(const std::string& title, const std::string& text) override;
    void inform(const std::string& title, const std::string& text) override;
    void reportError(const std::string& title, const std::string& text) override;
};

enum class BoxKind { YesNo, Information, Error };

/// A box as QtMessageBoxes shows it, not yet shown: its buttons, its default button, its
/// icon, and its text made fit for a screen of 1024 × 768.
std::unique_ptr<QMessageBox> makeMessageBox(BoxKind kind, const std::string& title,
                                            const std::string& text);

/// A UTF-8 text for a Qt widget, its CR LF line ends made the plain line feeds Qt breaks on.
QString displayText(const std::string& text);

/// `text` with the middle of any overlong run without blanks (a long file name) and of any
/// overlong paragraph replaced by "…", measured in `metrics`; the rest is left as it is.
QString fitForMessageBox(const QString& text, const QFontMetrics& metrics);

} // namespace ombrelis::ui
