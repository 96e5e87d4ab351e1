#include <QAbstractItemView>
#include <QLineEdit>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionComplex>
#include <ombrelis/ui/PickList.h>

namespace ombrelis::ui {

namespace {

/// Qt's arrow buttons are wider than the designed ones: in a box 41 pixels wide the default
/// one leaves too little room to show "120". The arrow gets the width of a scroll bar instead.
class NarrowArrowStyle final : public QProxyStyle {
public:
    static constexpr int kArrowWidth = 16;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        QRect area = QProxyStyle::subControlRect(control, option, part, widget);
        if (control != CC_ComboBox) {
            return area;
        }
        const int arrowLeft = option->rect.right() + 1 - kArrowWidth;
        if (part == SC_ComboBoxArrow) {
            area.setLeft(arrowLeft);
        } else if (part == SC_ComboBoxEditField) {
            area.setRight(arrowLeft - 1);
        }
        return area;
    }
};

} // namespace

PickList::PickList(QWidget* parent) : QComboBox(parent) {
    auto* style = new NarrowArrowStyle;
    style->setParent(this);
    setStyle(style);

    // Slots run in the order of their connections: ours bracket the one that QComboBox
    // connects to the field inside setLineEdit.
    auto* field = new QLineEdit(this);
    connect(field, &QLineEdit::editingFinished, this, [this] { ++typedTextChecks_; });
    setLineEdit(field);
    connect(field, &QLineEdit::editingFinished, this, [this] { --typedTextChecks_; });

    setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would turn a typed "1" into "120" and pick it on Enter.
    setCompleter(nullptr);

    connect(this, &QComboBox::activated, this, [this](int) {
        if (typedTextChecks_ == 0) {
            emit clicked();
        }
    });
}

void PickList::showPopup() {
    QAbstractItemView& list = *view();
    int needed = list.sizeHintForColumn(0) + 2 * list.frameWidth();
    if (count() > maxVisibleItems()) {
        needed += list.verticalScrollBar()->sizeHint().width();
    }
    list.setMinimumWidth(needed);
    QComboBox::showPopup();
}

void PickList::setListIndex(int index) {
    setCurrentIndex(index);
    emit clicked();
}

} // namespace ombrelis::ui
