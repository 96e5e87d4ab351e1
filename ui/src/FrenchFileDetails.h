#pragma once

#include <QIdentityProxyModel>

class QFileDialog;

namespace ombrelis::ui {

/// The Save dialog's file list with its sizes, types, dates and column titles in French,
/// whatever the system's locale: Qt takes them from the system, so that the same dialog would
/// read "8.34 KiB" and "Folder" on a machine whose locale is unset.
class FrenchFileDetails final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
};

/// Widens the detail view's size, type and date columns to their longest French texts, which
/// Qt's widths (sized for its English texts, or kept from an earlier dialog) would cut. Call it
/// once the dialog is shown.
void fitFrenchDetails(QFileDialog& dialog);

} // namespace ombrelis::ui
