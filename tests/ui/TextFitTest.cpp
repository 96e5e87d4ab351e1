#include "WindowFixture.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleOption>
#include <ombrelis/engine/StatusLine.h>
#include <ombrelis/ui/PickList.h>
#include <ombrelis/ui/QtMessageBoxes.h>

namespace ombrelis::testing {
namespace {

/// The window as started, `clientWidth` pixels wide (0: as created), the status line showing
/// `status`.
struct Moment {
    const char* name;
    std::string status;
    int clientWidth;
};
void PrintTo(const Moment& row, std::ostream* out) {
    *out << row.name;
}
const Moment kMoments[] = {
    {"AtStart", "", 0},
    // A six-digit count 2.7 hours into a run at the list's longest period.
    {"SixDigitCount", engine::statusText(999999, 9999999, 4095, 10000), 0},
    {"LongestFiguresInAWiderWindow", engine::statusText(2147483647, 2147483647, 4095, 2147483647),
     620},
};

/// Where `w` draws `text`: aligned as `w` aligns it, in the room its own decorations (check box
/// indicator, frames, margins) leave, as wide as its ink reaches when Qt draws it (anti-aliased
/// edges included), a line of the font high.
std::pair<QRect, QRect> roomAndText(QWidget& w, const QString& text) {
    QStyleOptionButton option;
    option.initFrom(&w);
    std::pair<QRect, Qt::Alignment> room{w.contentsRect(), Qt::AlignCenter};
    if (auto* label = qobject_cast<QLabel*>(&w)) {
        room.second = label->alignment();
    } else if (auto* edit = qobject_cast<QLineEdit*>(&w)) { // Qt keeps 2 pixels free in a field
        const int inset =
            2 + edit->hasFrame() * w.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        room = {w.contentsRect().adjusted(inset, 0, -inset, 0), edit->alignment()};
    } else if (qobject_cast<QCheckBox*>(&w) != nullptr) {
        room = {w.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &w),
                Qt::AlignVCenter};
    } else {
        room.first = w.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &w);
    }
    QImage ink(w.fontMetrics().size(0, text) + QSize(20, 0), QImage::Format_ARGB32);
    ink.fill(Qt::transparent);
    QPainter painter(&ink);
    painter.setFont(w.font());
    painter.drawText(ink.rect(), 0, text);
    painter.end();
    int width = 0;
    for (int y = 0; y < ink.height(); ++y) {
        for (int x = width; x < ink.width(); ++x) {
            width = qAlpha(ink.pixel(x, y)) != 0 ? x + 1 : width;
        }
    }
    const QSize size(width, w.fontMetrics().height() * int(text.count('\n') + 1));
    return {room.first, QStyle::alignedRect(Qt::LeftToRight, room.second, size, room.first)};
}

/// `text` whole in `w`, in a built-in face, and nothing hiding it: no edge of a container, no
/// widget stacked above `w` or above one of its containers.
void expectWhole(QWidget& w, const QString& text) {
    SCOPED_TRACE(w.objectName().toStdString() + " showing " + text.toStdString());
    EXPECT_TRUE(QFontInfo(w.font()).family().startsWith("Liberation"));
    auto [room, drawn] = roomAndText(w, text);
    EXPECT_TRUE(room.contains(drawn)) << drawn.width() << " pixels wide in " << room.width();
    for (QWidget* at = &w; !at->isWindow(); at = at->parentWidget()) {
        drawn.translate(at->pos());
        EXPECT_TRUE(at->parentWidget()->rect().contains(drawn)) << "cut by its container";
        const QObjectList& stack = at->parentWidget()->children(); // from the bottom up
        for (qsizetype i = stack.indexOf(at) + 1; i < stack.size(); ++i) {
            auto* above = qobject_cast<QWidget*>(stack[i]);
            EXPECT_FALSE(above && !above->isWindow() && above->geometry().intersects(drawn))
                << above->objectName().toStdString() << " over it";
        }
    }
}

class TextFitTest : public WindowTest, public ::testing::WithParamInterface<Moment> {};

TEST_P(TextFitTest, EveryControlAndTextWholeAndUncovered) {
    startWindow();
    if (GetParam().clientWidth > 0) {
        form->resize(GetParam().clientWidth, form->height());
    }
    control<QLabel>("ctl").setText(QString::fromStdString(GetParam().status));
    for (QWidget* container : {static_cast<QWidget*>(form.get()), &control<QWidget>("Frame1")}) {
        for (QWidget* w : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(container->rect().contains(w->geometry())) << w->objectName().toStdString();
        }
    }
    for (QWidget* w : form->findChildren<QWidget*>()) {
        auto* button = qobject_cast<QAbstractButton*>(w);
        auto* label = qobject_cast<QLabel*>(w);
        auto* edit = qobject_cast<QLineEdit*>(w);
        if (auto* list = qobject_cast<ui::PickList*>(w)) {
            for (int i = 0; i < list->count(); ++i) {
                list->setEditText(list->itemText(i));
                expectWhole(*list->lineEdit(), list->itemText(i));
            }
            list->showPopup();
            const QAbstractItemView& entries = *list->view();
            EXPECT_GE(entries.viewport()->width(), entries.sizeHintForColumn(0)) << "entries cut";
            list->hidePopup();
        } else if (button || (label && !label->text().isEmpty())) {
            expectWhole(*w, button ? button->text() : label->text());
        } else if (edit && !edit->text().isEmpty()) {
            expectWhole(*w, edit->text());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Window, TextFitTest, ::testing::ValuesIn(kMoments), NamedAfterName{});

const std::string kLongName = "/home/jean/" + std::string(10000, 'a') + "/mesures.dat";
const std::string kSpacedName =
    "/home/jean/" + QString("mesures du jour ").repeated(300).toStdString() + "fin.dat";

/// A message, and how its box begins and ends once fitted to the screen.
struct Message {
    const char* name;
    std::string text, begins, ends;
};

const Message kMessages[] = {
    {"ShortNameWhole", "Attention /tmp/m.dat va être écrasé !\r\nContinuer ?",
     "Attention /tmp/m.dat va être écrasé !\nContinuer ?", ""},
    {"LongNameWithBlanks", "Attention " + kSpacedName + " va être écrasé !\r\nContinuer ?",
     "Attention /home/jean/mesures du jour", "fin.dat va être écrasé !\nContinuer ?"},
    {"ReasonKept", "Impossible de créer le fichier « " + kLongName + " » : accès refusé.",
     "Impossible de créer le fichier « /home/jean/aaa", "aa/mesures.dat » : accès refusé."},
};

void PrintTo(const Message& row, std::ostream* out) {
    *out << row.name;
}

class MessageBoxTest : public ::testing::TestWithParam<Message> {};

TEST_P(MessageBoxTest, FrenchAndWithinItsScreenAndA1024By768One) {
    const Message& m = GetParam();
    const auto box = ui::makeMessageBox(ui::BoxKind::YesNo, "Attention ...", m.text);
    box->show();
    const QSize screen = box->screen()->availableSize().boundedTo({1024, 768});
    EXPECT_LE(box->frameGeometry().width(), screen.width());
    EXPECT_LE(box->frameGeometry().height(), screen.height());
    box->hide();
    const std::string shown = box->text().toStdString();
    EXPECT_EQ(shown.substr(0, m.begins.size()), m.begins);
    EXPECT_TRUE(shown.ends_with(m.ends)) << shown;
    EXPECT_EQ(box->button(QMessageBox::Yes)->text(), "&Oui");
    EXPECT_EQ(box->button(QMessageBox::No)->text(), "&Non");
}

INSTANTIATE_TEST_SUITE_P(Messages, MessageBoxTest, ::testing::ValuesIn(kMessages),
                         NamedAfterName{});

} // namespace
} // namespace ombrelis::testing
