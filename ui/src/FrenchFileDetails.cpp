#include "FrenchFileDetails.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QTreeView>

namespace ombrelis::ui {

namespace {

// QFileSystemModel's columns.
enum Column { kName, kSize, kType, kModified };

const QLocale& french() {
    static const QLocale locale(QLocale::French, QLocale::France);
    return locale;
}

QString typeOf(const QFileInfo& info) {
    if (info.isRoot()) {
        return QStringLiteral("Lecteur");
    }
    if (info.isDir()) {
        return QStringLiteral("Dossier");
    }
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("Fichier")
                            : QStringLiteral("Fichier ") + suffix.toUpper();
}

} // namespace

QVariant FrenchFileDetails::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || index.column() == kName) {
        return QIdentityProxyModel::data(index, role);
    }
    const QFileInfo info = files->fileInfo(mapToSource(index));
    switch (index.column()) {
    case kSize:
        return info.isDir() ? QString() : french().formattedDataSize(info.size());
    case kType:
        return typeOf(info);
    case kModified:
        return french().toString(info.lastModified(), QStringLiteral("dd/MM/yyyy HH:mm"));
    default:
        return QIdentityProxyModel::data(index, role);
    }
}

QVariant FrenchFileDetails::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
    switch (section) {
    case kName:
        return QStringLiteral("Nom");
    case kSize:
        return QStringLiteral("Taille");
    case kType:
        return QStringLiteral("Type");
    case kModified:
        return QStringLiteral("Modifié le");
    default:
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
}

void fitFrenchDetails(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (view == nullptr) {
        return;
    }
    const QFontMetrics metrics(view->font());
    const int padding = metrics.horizontalAdvance(QStringLiteral("MM"));
    const std::pair<Column, const char*> longest[] = {
        {kSize, "1 023,9 octets"}, {kType, "Fichier XLSX"}, {kModified, "00/00/0000 00:00"}};
    for (const auto& [column, text] : longest) {
        const int wanted = metrics.horizontalAdvance(QString::fromUtf8(text)) + padding;
        view->header()->resizeSection(column,
                                      std::max(view->header()->sectionSize(column), wanted));
    }
}

} // namespace ombrelis::ui
