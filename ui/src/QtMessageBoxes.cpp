#include <QApplication>
#include <QMessageBox>
#include <ombrelis/ui/QtMessageBoxes.h>

namespace ombrelis::ui {

namespace {

int showBox(QMessageBox::Icon icon, const std::string& title, const std::string& text,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, displayText(title), displayText(text), buttons,
                    QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    return box.exec();
}

} // namespace

QString displayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

bool QtMessageBoxes::askYesNo(const std::string& title, const std::string& text) {
    return showBox(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::Yes) == QMessageBox::Yes;
}

void QtMessageBoxes::inform(const std::string& title, const std::string& text) {
    showBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtMessageBoxes::reportError(const std::string& title, const std::string& text) {
    showBox(QMessageBox::Critical, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace ombrelis::ui
