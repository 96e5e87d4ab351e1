#include "WindowFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
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

TEST_F(LayoutTest, ShownWindowHasTheChartBetweenItsMarks) {
    startWindow();
    const QRect chart = control<QWidget>("ctlCourbe").geometry();
    EXPECT_EQ(control<QLabel>("Label6").geometry().top(), chart.top()) << "4 V at the top edge";
    EXPECT_EQ(control<QLabel>("Label7").geometry().bottom(), chart.bottom()) << "0V at the bottom";
    const QRect line2 = control<QWidget>("Line2").geometry();
    EXPECT_EQ(std::pair(line2.top(), line2.bottom()), std::pair(chart.top(), chart.bottom()));
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
        const QFontInfo f(control<QWidget>(name).font()); // the face drawn, not the one asked for
        EXPECT_EQ(f.family(), "Liberation Sans") << name;
        EXPECT_DOUBLE_EQ(f.pointSizeF(), 8.25) << name;
        EXPECT_TRUE(f.bold()) << name;
    }
    const QFontInfo title(control<QLabel>("Label1").font());
    EXPECT_EQ(title.family(), "Liberation Serif");
    EXPECT_DOUBLE_EQ(title.pointSizeF(), 14.25);
    EXPECT_TRUE(title.bold());
    EXPECT_FALSE(QFontInfo(control<QLabel>("Label2").font()).bold()) << "the window's font";

    for (const char* name : {"ctl", "Label6", "Label7"}) {
        EXPECT_EQ(control<QWidget>(name).palette().color(QPalette::WindowText), QColor(255, 0, 0))
            << name;
    }
    EXPECT_EQ(control<QWidget>("Label5").palette().color(QPalette::WindowText), QColor(0, 0, 192));
    EXPECT_EQ(control<QComboBox>("ctlAxetemps").lineEdit()->palette().color(QPalette::Text),
              QColor(0, 0, 192));
    EXPECT_EQ(control<QLabel>("Label1").alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    EXPECT_FALSE(control<QPushButton>("btnSTOP").isEnabled());
    for (QWidget* w : form->findChildren<QWidget*>()) {
        EXPECT_TRUE(w->isEnabled() || w->objectName() == "btnSTOP")
            << w->objectName().toStdString();
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
    EXPECT_EQ(control<ui::PickList>("ctlVitesse").count(), 0); // filled at load
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
