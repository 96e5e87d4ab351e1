#include "FrenchFileDetails.h"

#include <QFile>
#include <QFileDialog>
#include <algorithm>
#include <ombrelis/engine/AppInfo.h>
#include <ombrelis/engine/FileNameCheck.h>
#include <ombrelis/ui/SaveDialog.h>

namespace ombrelis::ui {

namespace {

/// One Windows pattern as a Qt wildcard. Windows matches "*.*" against names without a dot
/// too, a literal "*.*" here would hide them.
QString qtPattern(const QString& pattern) {
    const QString trimmed = pattern.trimmed();
    return trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed;
}

/// Keeps the dialog open on a name that GO would refuse, and says why.
class SaveNameDialog final : public QFileDialog {
public:
    SaveNameDialog(QWidget* parent, engine::MessageBoxes& messages)
        : QFileDialog(parent), messages_(messages) {}

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty()) {
            if (const auto problem = engine::fileNameProblem(chosen.first().toStdString())) {
                messages_.inform(kApplicationTitle, *problem);
                return;
            }
        }
        QFileDialog::accept();
    }

protected:
    void showEvent(QShowEvent* event) override {
        QFileDialog::showEvent(event);
        resize(std::max(width(), 760), height()); // the names keep their room beside the details
        fitFrenchDetails(*this);
    }

private:
    engine::MessageBoxes& messages_;
};

} // namespace

QStringList qtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns << qtPattern(pattern);
        }
        // QFileDialog takes the patterns from the last parentheses and, with
        // HideNameFilterDetails, shows what stands before them: the description as written.
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

void prepareSaveDialog(QFileDialog& dialog, const std::string& title, const std::string& filter) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    // The run asks before it writes over a file; a second question here would be one too many.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setNameFilters(qtNameFilters(filter));
    dialog.setProxyModel(new FrenchFileDetails(&dialog));
}

std::optional<std::string> QtSaveDialog::askSaveName(QWidget* parent, const std::string& title,
                                                     const std::string& filter) {
    SaveNameDialog dialog(parent, messages_);
    prepareSaveDialog(dialog, title, filter);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(chosen.first()).toStdString();
}

} // namespace ombrelis::ui
