#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QStringList>
#include <ombrelis/ui/QtMessageBoxes.h>

namespace ombrelis::ui {

namespace {

// Qt wraps a box's text at 500 pixels and widens the box up to the screen's width for a word
// that does not fit: a word, a file name most often, is cut to less than that.
constexpr int kLongestWordPx = 480;
// Three lines of such a box: with its buttons the box stays well within a 1024 × 768 screen,
// however long the file name it tells about.
constexpr int kLongestParagraphPx = 3 * kLongestWordPx;

int showBox(BoxKind kind, const std::string& title, const std::string& text) {
    return makeMessageBox(kind, title, text)->exec();
}

} // namespace

QString displayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

QString fitForMessageBox(const QString& text, const QFontMetrics& metrics) {
    QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (QString& paragraph : paragraphs) {
        QStringList words = paragraph.split(QLatin1Char(' '));
        for (QString& word : words) {
            if (metrics.horizontalAdvance(word) > kLongestWordPx) {
                word = metrics.elidedText(word, Qt::ElideMiddle, kLongestWordPx);
            }
        }
        paragraph = words.join(QLatin1Char(' '));
        if (metrics.horizontalAdvance(paragraph) > kLongestParagraphPx) {
            paragraph = metrics.elidedText(paragraph, Qt::ElideMiddle, kLongestParagraphPx);
        }
    }
    return paragraphs.join(QLatin1Char('\n'));
}

std::unique_ptr<QMessageBox> makeMessageBox(BoxKind kind, const std::string& title,
                                            const std::string& text) {
    const bool question = kind == BoxKind::YesNo;
    auto box = std::make_unique<QMessageBox>(
        kind == BoxKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon, displayText(title),
        QString(), question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
        QApplication::activeWindow());
    box->setDefaultButton(question ? QMessageBox::Yes : QMessageBox::Ok);
    // A file name is shown as typed, even one that looks like markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(fitForMessageBox(displayText(text), box->fontMetrics()));
    return box;
}

bool QtMessageBoxes::askYesNo(const std::string& title, const std::string& text) {
    return showBox(BoxKind::YesNo, title, text) == QMessageBox::Yes;
}

void QtMessageBoxes::inform(const std::string& title, const std::string& text) {
    showBox(BoxKind::Information, title, text);
}

void QtMessageBoxes::reportError(const std::string& title, const std::string& text) {
    showBox(BoxKind::Error, title, text);
}

} // namespace ombrelis::ui
