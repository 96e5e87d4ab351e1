#include <QApplication>
#include <QFontDatabase>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <ombrelis/ui/ShippedResources.h>
#include <stdexcept>

// Qt's resource initialiser is a global function: called from a namespace it is not found.
static void initShippedResources() {
    Q_INIT_RESOURCE(ombrelis_shipped);
}

namespace ombrelis::ui {

QFont dialogFont(bool bold) {
    QFont font;
    font.setFamilies({QString::fromLatin1(kSansFamily)});
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

void installShippedFacesAndFrench(QApplication& application) {
    initShippedResources();
    QStringList missing;
    for (const char* face :
         {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf", "LiberationSerif-Bold.ttf"}) {
        const QString path = QStringLiteral(":/ombrelis/faces/") + QString::fromLatin1(face);
        if (QFontDatabase::addApplicationFont(path) < 0) {
            missing << QString::fromLatin1(face);
        }
    }
    QApplication::setFont(dialogFont());

    // Dates and sizes in the Save dialog follow the default locale, its words the catalogue.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    auto* french = new QTranslator(&application);
    if (french->load(QStringLiteral(":/ombrelis/translations/qtbase_fr.qm"))) {
        QApplication::installTranslator(french);
    } else {
        missing << QStringLiteral("qtbase_fr.qm");
    }

    if (!missing.isEmpty()) {
        throw std::runtime_error(
            ("Des ressources intégrées au programme n'ont pas pu être chargées (" +
             missing.join(QStringLiteral(", ")) +
             ") : la fenêtre s'affiche avec les polices de la machine ou des textes en anglais.")
                .toStdString());
    }
}

} // namespace ombrelis::ui
