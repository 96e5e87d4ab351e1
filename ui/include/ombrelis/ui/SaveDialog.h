#pragma once

#include <QStringList>
#include <ombrelis/engine/MessageBoxes.h>
#include <optional>
#include <string>

class QFileDialog;
class QWidget;

namespace ombrelis::ui {

/// The window's Save dialog.
class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    /// Shows a modal Save dialog over `parent`, titled `title`, offering the entries of
    /// `filter`, written "description|pattern|description|pattern..." with Windows patterns
    /// ("*.*" is every file). Returns the chosen file as a full path (file-system bytes), or
    /// nothing when the user cancels. Never asks about overwriting. Throws std::exception when
    /// the dialog cannot be shown.
    virtual std::optional<std::string> askSaveName(QWidget* parent, const std::string& title,
                                                   const std::string& filter) = 0;
};

/// The Save dialog on QFileDialog (Qt's own, so that it behaves the same on every desktop). A
/// name that could not name a log file is refused there, with `messages` saying why.
class QtSaveDialog final : public SaveDialog {
public:
    explicit QtSaveDialog(engine::MessageBoxes& messages) : messages_(messages) {}
    std::optional<std::string> askSaveName(QWidget* parent, const std::string& title,
                                           const std::string& filter) override;

private:
    engine::MessageBoxes& messages_;
};

/// QFileDialog name filters for a "description|pattern|..." filter: each entry shows its
/// description as written, and its patterns are read as Windows reads them.
QStringList qtNameFilters(const std::string& filter);

/// Settings of the Save dialog, apart from showing it.
void prepareSaveDialog(QFileDialog& dialog, const std::string& title, const std::string& filter);

} // namespace ombrelis::ui
