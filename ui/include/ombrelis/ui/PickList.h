#pragma once

#include <QComboBox>

namespace ombrelis::ui {

/// An editable combo box whose click is the pick of an entry: from the drop-down by mouse or
/// keyboard, by the arrow keys or the wheel on the closed box, or a selection made from code.
/// A pick raises clicked() even when it picks the entry already shown. Typing into the field
/// is never a pick, whatever is typed, and never adds an entry to the list.
class PickList : public QComboBox {
    Q_OBJECT

public:
    explicit PickList(QWidget* parent = nullptr);

    /// Selects entry `index` from code; it raises clicked() as a pick by the user does.
    void setListIndex(int index);

    /// The drop-down opens at least as wide as its widest entry needs, however narrow the box.
    void showPopup() override;

signals:
    void clicked();

private:
    // Non-zero while the field's editing-finished notice is being handled: Qt then selects
    // the entry equal to the typed text and reports it as activated, which is no pick.
    int typedTextChecks_ = 0;
};

} // namespace ombrelis::ui
