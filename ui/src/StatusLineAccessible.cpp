#include <QAccessibleWidget>
#include <QLabel>
#include <ombrelis/ui/ChartWidget.h>
#include <ombrelis/ui/StatusLineAccessible.h>

namespace ombrelis::ui {

namespace {

/// The status line for assistive technologies: a label whose text is read through the text
/// interface when asked, never pushed.
class StatusLineInterface final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit StatusLineInterface(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }

    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(shown().size()); }
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}

private:
    QString shown() const { return static_cast<QLabel*>(widget())->text(); }
};

QAccessibleInterface* accessibleFor(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) {
        return nullptr;
    }
    if (className == QLatin1String("ombrelis::ui::ChartWidget")) {
        return new QAccessibleWidget(widget, QAccessible::Chart);
    }
    if (className == QLatin1String("ombrelis::ui::StatusLabel")) {
        return new StatusLineInterface(static_cast<QLabel*>(widget));
    }
    return nullptr;
}

} // namespace

void installAccessibleRoles() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    (void)installed;
}

} // namespace ombrelis::ui
