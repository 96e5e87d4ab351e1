#include <QAbstractProxyModel>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <ombrelis/testing/FakeServices.h>
#include <ombrelis/ui/SaveDialog.h>

namespace ombrelis::testing {
namespace {

TEST(SaveDialogFilters, WindowsPatternsBecomeQtNameFilters) {
    struct Case {
        const char* filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"Fichiers (*.*)|*.*", {"Fichiers (*.*) (*)"}},
        {"Mesures|*.dat;*.log", {"Mesures (*.dat *.log)"}},
        {"Mesures (*.dat)|*.dat|Tous|*.*", {"Mesures (*.dat) (*.dat)", "Tous (*)"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ui::qtNameFilters(c.filter), c.expected) << c.filter;
    }
}

class SaveDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        for (const char* name : {"LISEZMOI", "mesures.dat"}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(name[0] == 'm' ? 8544 : 0, 'x'));
            file.flush(); // else closing the file would write and date it now
            file.setFileTime(QDateTime(QDate(2026, 12, 9), QTime(14, 5)),
                             QFileDevice::FileModificationTime);
        }
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("relevés")));
    }
    /// Shows the dialog and runs `inside` on it once it is up. The dialog may take a few
    /// event-loop turns to become the active modal widget, so it is looked for until found.
    std::optional<std::string> ask(std::function<void(QFileDialog&)> inside) {
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&poll, inside] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible()) {
                return;
            }
            poll.stop();
            inside(*dialog);
            if (dialog->isVisible()) { // a check failed before the dialog was closed
                dialog->reject();
            }
        });
        poll.start();
        return ui::QtSaveDialog(messages).askSaveName(nullptr, "Entegistrer sous ...",
                                                      "Fichiers (*.*)|*.*");
    }
    QTemporaryDir folder;
    FakeMessageBoxes messages;
};

TEST_F(SaveDialogTest, ShowsItsEntryAndListsEveryFile) {
    QStringList listed;
    const auto chosen = ask([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Entegistrer sous ...");
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->text(),
                  "&Enregistrer");
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        EXPECT_EQ(types->count(), 1);
        EXPECT_EQ(types->currentText(), "Fichiers (*.*)");

        auto* model = dialog.findChild<QFileSystemModel*>();
        ASSERT_NE(model, nullptr);
        QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
        dialog.setDirectory(folder.path());
        ASSERT_TRUE(loaded.count() > 0 || loaded.wait(10000));
        const QModelIndex root = model->index(folder.path());
        for (int row = 0; row < model->rowCount(root); ++row) {
            const QModelIndex entry = model->index(row, 0, root);
            // Names the filter rejects stay in the model, disabled, or are hidden.
            if (entry.flags() & Qt::ItemIsEnabled) {
                listed << model->fileName(entry);
            }
        }
        // Sizes, types, dates and titles in French, whatever the machine's locale.
        const QAbstractProxyModel* shown = dialog.proxyModel();
        const auto cell = [&](const char* name, int column) {
            const QModelIndex entry = model->index(folder.filePath(QString::fromUtf8(name)));
            return shown->mapFromSource(entry.siblingAtColumn(column)).data();
        };
        EXPECT_EQ(cell("mesures.dat", 1).toString(), "8,34 Kio");
        EXPECT_EQ(cell("mesures.dat", 2).toString(), "Fichier DAT");
        EXPECT_EQ(cell("relevés", 2).toString(), "Dossier");
        EXPECT_EQ(cell("LISEZMOI", 2).toString(), "Fichier");
        EXPECT_EQ(cell("mesures.dat", 3).toString(), "09/12/2026 14:05");
        EXPECT_EQ(shown->headerData(3, Qt::Horizontal).toString(), "Modifié le");
        dialog.reject();
    });
    EXPECT_FALSE(chosen.has_value()) << "a cancel";
    listed.sort();
    EXPECT_EQ(listed, QStringList({"LISEZMOI", "mesures.dat", "relevés"}));
}

TEST_F(SaveDialogTest, ReturnsTheFullPathWithoutAskingAboutOverwriting) {
    const auto chosen = ask([&](QFileDialog& dialog) {
        // Qt's own question would come from accept(); the run asks before it writes over.
        ASSERT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        dialog.setDirectory(folder.path());
        dialog.selectFile(QStringLiteral("mesures.dat\n")); // pasted with its line break
        static_cast<QDialog&>(dialog).accept();             // as the Save button does
        EXPECT_TRUE(dialog.isVisible()) << "a name with a line feed was returned";
        dialog.selectFile(QStringLiteral("mesures.dat"));
        static_cast<QDialog&>(dialog).accept();
    });
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, folder.filePath(QStringLiteral("mesures.dat")).toStdString());
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_NE(messages.shown[0].text.find("saut de ligne"), std::string::npos);
}

} // namespace
} // namespace ombrelis::testing
