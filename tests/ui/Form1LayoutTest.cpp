#include "WindowFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <ombrelis/ui/ChartWidget.h>
#include <ombrelis/ui/LineItem.h>
#include <ombrelis/ui/PickList.h>

namespace ombrelis::testing {
namespace {

struct Designed {
    const char* name;
    const char* kind;
    const char* container;
    const char* text; ///< nullptr: the control shows no text of its own
    int left, top, width, height;
};

// As the window holds its controls when it is created, in twips.
const Designed kControls[] = {
    {"Simu", "QCheckBox", "", "Simulation", 6720, 480, 1095, 255},
    {"ctlAxetemps", "ombrelis::ui::PickList", "", "Combo1", 1560, 2160, 615, 315},
    {"ctlCourbe", "ombrelis::ui::ChartWidget", "", nullptr, 240, 2520, 14415, 4455},
    {"Frame1", "QGroupBox", "", "", 240, 960, 7575, 975},
    {"ctlDat", "QLineEdit", "Frame1", "Text1", 120, 480, 1095, 285},
    {"ctlVitesse", "ombrelis::ui::PickList", "Frame1", "", 1440, 480, 1095, 315},
    {"ctlNomdefichier", "QLineEdit", "Frame1", "", 2640, 480, 2535, 285},
    {"Command1", "QPushButton", "Frame1", "...", 5160, 480, 375, 255},
    {"btnGO", "QPushButton", "Frame1", "GO !", 5640, 360, 855, 375},
    {"btnSTOP", "QPushButton", "Frame1", "STOP", 6600, 360, 855, 375},
    {"Label2", "QLabel", "Frame1", "Date (jjmmaa)", 120, 240, 975, 255},
    {"Label3", "QLabel", "Frame1", "Vitesse (ms)", 1440, 240, 975, 255},
    {"Label4", "QLabel", "Frame1", "Fichier", 2640, 240, 975, 255},
    {"ctl", "QLabel", "", "", 2280, 2040, 5535, 255},
    {"Label7", "QLabel", "", "0V", 0, 6720, 255, 255},
    {"Label6", "QLabel", "", "4 V", 0, 2520, 255, 255},
    {"Label5", "QLabel", "", "Axe temps (sec)", 360, 2160, 1215, 255},
    {"Label1", "QLabel", "", "PROGRAMME D 'OMBRELIS DE DONNEES", 240, 120, 6315, 330},
};

QString shownText(QWidget& w) {
    if (auto* l = qobject_cast<QLabel*>(&w)) {
        return l->text();
    }
    if (auto* b = qobject_cast<QAbstractButton*>(&w)) {
        return b->text();
    }
    if (auto* e = qobject_cast<QLineEdit*>(&w)) {
        return e->text();
    }
    if (auto* c = qobject_cast<QComboBox*>(&w)) {
        return c->currentText();
    }
    if (auto* g = qobject_cast<QGroupBox*>(&w)) {
        return g->title();
    }
    return {};
}

using LayoutTest = WindowTest;

TEST_F(LayoutTest, WindowAtCreation) {
    createWindow();
    EXPECT_EQ(form->windowTitle(), "Ombrelis V1.1");
    EXPECT_EQ(form->size(), QSize(7905 / 15, 7080 / 15));
    EXPECT_TRUE(form->isWindow());
    EXPECT_EQ(form->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)) << "resizable";
    EXPECT_FALSE(form->windowFlags() & Qt::CustomizeWindowHint)
        << "the platform's full title bar, with minimise and maximise buttons";
}

TEST_F(LayoutTest, EveryControlWhereItWasDesigned) {
    createWindow();
    for (const Designed& d : kControls) {
        SCOPED_TRACE(d.name);
        QWidget& w = control<QWidget>(d.name);
        EXPECT_TRUE(w.inherits(d.kind)) << w.metaObject()->className();
        const QString container =
            w.parentWidget() == form.get() ? QString() : w.parentWidget()->objectName();
        EXPECT_EQ(container, QString::fromLatin1(d.container));
        if (d.text != nullptr) {
            EXPECT_EQ(shownText(w), QString::fromUtf8(d.text));
        }
        EXPECT_EQ(w.pos(), QPoint(d.left / 15, d.top / 15));
        if (qobject_cast<QLabel*>(&w) != nullptr) {
            // A label shows its caption whole, even in a stand-in face wider than the design.
            EXPECT_GE(w.width(), qobject_cast<QLabel*>(&w)->sizeHint().width());
            if (std::string(d.name) != "Label1") {
                EXPECT_GE(w.width(), d.width / 15);
                EXPECT_EQ(w.height(), d.height / 15);
            }
        } else {
            EXPECT_EQ(w.size(), QSize(d.width / 15, d.height / 15));
        }
    }
}

TEST_F(LayoutTest, LineIsDrawnBetweenItsEndPoints) {
    createWindow();
    auto& line = control<ui::LineItem>("Line2");
    const QImage image = line.grab().toImage();
    ASSERT_EQ(image.size(), QSize(1, (6960 - 2520) / 15 + 1));
    for (int y = 0; y < image.height(); ++y) {
        ASSERT_EQ(QColor(image.pixel(0, y)), QColor(255, 0, 0)) << y;
    }
}

TEST_F(LayoutTest, FontsColoursAndStates) {
    createWindow();
    for (const char* name : {"ctlDat", "ctlVitesse", "Command1"}) {
        const QFont f = control<QWidget>(name).font();
        EXPECT_EQ(f.families().value(0), "MS Sans Serif") << name;
        EXPECT_DOUBLE_EQ(f.pointSizeF(), 8.25) << name;
        EXPECT_TRUE(f.bold()) << name;
    }
    const QFont title = control<QLabel>("Label1").font();
    EXPECT_EQ(title.families().value(0), "Times New Roman");
    EXPECT_DOUBLE_EQ(title.pointSizeF(), 14.25);
    EXPECT_TRUE(title.bold());
    EXPECT_FALSE(control<QLabel>("Label2").font().bold()) << "the window's font";

    for (const char* name : {"ctl", "Label6", "Label7"}) {
        EXPECT_EQ(control<QWidget>(name).palette().color(QPalette::WindowText), QColor(255, 0, 0))
            << name;
    }
    EXPECT_EQ(control<QWidget>("Label5").palette().color(QPalette::WindowText), QColor(0, 0, 192));
    EXPECT_EQ(control<QComboBox>("ctlAxetemps").lineEdit()->palette().color(QPalette::Text),
              QColor(0, 0, 192));
    EXPECT_EQ(control<QLabel>("Label1").alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    EXPECT_FALSE(control<QPushButton>("btnSTOP").isEnabled());
    for (const Designed& d : kControls) {
        if (std::string(d.name) != "btnSTOP") {
            EXPECT_TRUE(control<QWidget>(d.name).isEnabled()) << d.name;
        }
    }
    EXPECT_FALSE(control<QCheckBox>("Simu").isChecked());
}

TEST_F(LayoutTest, ListsAtCreation) {
    createWindow();
    auto& axis = control<ui::PickList>("ctlAxetemps");
    QStringList entries;
    for (int i = 0; i < axis.count(); ++i) {
        entries << axis.itemText(i);
    }
    EXPECT_EQ(entries, QStringList({"30", "60", "90", "120", "150", "180"}));
    EXPECT_EQ(axis.currentIndex(), -1) << "no entry selected";
    EXPECT_EQ(control<ui::PickList>("ctlVitesse").count(), 0);
    for (const char* name : {"ctlAxetemps", "ctlVitesse"}) {
        auto& list = control<ui::PickList>(name);
        EXPECT_TRUE(list.isEditable()) << name;
        EXPECT_EQ(list.insertPolicy(), QComboBox::NoInsert) << name;
    }
}

TEST_F(LayoutTest, CaptionsAndEntriesFitTheirControls) {
    startWindow();
    for (const char* name : {"Simu", "Command1", "btnGO", "btnSTOP"}) {
        auto& w = control<QWidget>(name);
        EXPECT_LE(QFontMetrics(w.font()).horizontalAdvance(shownText(w)), w.width()) << name;
    }
    // The field of a list shows its widest entry whole, with the field's own margins.
    for (const char* name : {"ctlAxetemps", "ctlVitesse"}) {
        auto& list = control<ui::PickList>(name);
        const QFontMetrics metrics(list.lineEdit()->font());
        for (int i = 0; i < list.count(); ++i) {
            EXPECT_LE(metrics.horizontalAdvance(list.itemText(i)) + 4, list.lineEdit()->width())
                << name << " " << list.itemText(i).toStdString();
        }
    }
}

TEST_F(LayoutTest, TabVisitsTheControlsInDesignedOrder) {
    startWindow();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto focused = [] {
        QWidget* w = QApplication::focusWidget();
        // The field of a list takes the focus for its list.
        if (w != nullptr && qobject_cast<ui::PickList*>(w->parentWidget()) != nullptr) {
            w = w->parentWidget();
        }
        return w ? w->objectName() : QString();
    };
    EXPECT_EQ(focused(), "btnGO");
    QStringList visited;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focused();
    }
    EXPECT_EQ(visited, QStringList({"Command1", "ctlNomdefichier", "ctlVitesse", "ctlDat",
                                    "ctlCourbe", "ctlAxetemps", "Simu", "btnGO"}))
        << "STOP is skipped while disabled";
}

} // namespace
} // namespace ombrelis::testing
