// The settings dialog's folder list, drive list and Esc, through its real widgets.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "history/bank_fetch.h"
#include "ui/result_urls.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

class SettingsDialogWidgets : public WindowTest {};

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(SettingsDialogWidgets, PickedFoldersGoToTheChosenBoxAndEscWritesNothing) {
    copyDemo();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("pick me")));
    ASSERT_TRUE(start());
    const QByteArray before = fileBytes(dir.filePath(QStringLiteral("Kazuban.ini")));
    bool shown = false;
    openSettings([&](ui::SettingsDialog& dialog) {
        shown = true;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        auto* dataBox = dialog.findChild<QLineEdit*>("Text2");
        auto* browserBox = dialog.findChild<QLineEdit*>("Text4");
        auto* folders = dialog.findChild<QListWidget*>("Dir1");
        auto* drives = dialog.findChild<QComboBox*>("Drive1");
        ASSERT_TRUE(dataBox && browserBox && folders && drives);

        auto itemFor = [&](const QString& path) -> QListWidgetItem* {
            for (int i = 0; i < folders->count(); ++i)
                if (folders->item(i)->data(Qt::UserRole).toString() == path) return folders->item(i);
            return nullptr;
        };
        auto activate = [&](QListWidgetItem* item) {
            folders->scrollToItem(item);
            QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, folders->visualItemRect(item).center());
        };

        // The folder list starts in the start-up folder; with no option chosen
        // a picked folder fills no box.
        const QString pickPath = QDir::toNativeSeparators(QDir(dir.path()).filePath(QStringLiteral("pick me")));
        ASSERT_NE(itemFor(pickPath), nullptr);
        activate(itemFor(pickPath));
        EXPECT_EQ(dataBox->text(), QString());

        // With the data folder's option chosen, the folder goes into its box.
        QTest::mouseClick(dialog.findChild<QRadioButton*>("Option1_1"), Qt::LeftButton);
        ASSERT_NE(itemFor(pickPath), nullptr);
        activate(itemFor(pickPath));
        EXPECT_EQ(dataBox->text(), pickPath);

        // Choosing a drive moves the folder list there, and so fills the box;
        // the root ("/", or the system's drive such as C:\) is one of them.
        const QString rootFolder = QDir::toNativeSeparators(QDir::rootPath());
        const int root = drives->findData(rootFolder);
        ASSERT_GE(root, 0);
        drives->setCurrentIndex(root);
        emit drives->activated(root);
        EXPECT_EQ(dataBox->text(), rootFolder);
        EXPECT_EQ(browserBox->text(), QString());

        // Esc cancels: nothing is written.
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog.finished());
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("Kazuban.ini"))), before);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(SettingsDialogWidgets, TheResultAddressesAreTheUsersSettingsNeverLinesOfKazubanIni) {
    ui::saveResultUrls({"http://127.0.0.1:1/index.txt", "http://127.0.0.1:1/csv/"});
    copyDemo();
    ASSERT_TRUE(start());
    EXPECT_EQ(form->state().resultsIndexUrl, "http://127.0.0.1:1/index.txt");
    openSettings([&](ui::SettingsDialog& dialog) {
        auto* index = dialog.findChild<QLineEdit*>("TextIndexUrl");
        auto* folder = dialog.findChild<QLineEdit*>("TextFolderUrl");
        ASSERT_TRUE(index && folder);
        EXPECT_EQ(folder->text(), QStringLiteral("http://127.0.0.1:1/csv/"));
        // A wrong address is named and the dialog stays open.
        index->setText(QStringLiteral("ftp://127.0.0.1/index.txt"));
        QTest::mouseClick(dialog.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_NE(platform.boxes[0].text.find("ftp://127.0.0.1/index.txt"), std::string::npos);
        EXPECT_FALSE(dialog.finished());
        // An empty box is the bank's address.
        index->clear();
        folder->setText(QStringLiteral(" http://127.0.0.1:9/other "));
        QTest::mouseClick(dialog.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        EXPECT_TRUE(dialog.finished());
    });
    EXPECT_EQ(form->state().resultsIndexUrl, history::kDefaultIndexUrl);
    EXPECT_EQ(form->state().resultsFolderUrl, "http://127.0.0.1:9/other");
    EXPECT_EQ(ui::loadResultUrls().folder, "http://127.0.0.1:9/other");
    const QByteArray ini = fileBytes(dir.filePath(QStringLiteral("Kazuban.ini")));
    EXPECT_FALSE(ini.contains("127.0.0.1"));
    EXPECT_FALSE(ini.contains("mizuhobank"));
}

// The restart note stands under the four paths it is about, whole, and says
// what takes effect at once.
TEST_F(SettingsDialogWidgets, TheRestartNoteStandsUnderThePathsAndSaysWhatWorksAtOnce) {
    copyDemo();
    ASSERT_TRUE(start());
    openSettings([&](ui::SettingsDialog& dialog) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        auto* note = dialog.findChild<QLabel*>("Label12");
        auto* folders = dialog.findChild<QListWidget*>("Dir1");
        auto* heading = dialog.findChild<QLabel*>("LabelResultUrls");
        auto* firstCaption = dialog.findChild<QLabel*>("Label1");
        ASSERT_TRUE(note && folders && heading && firstCaption);
        EXPECT_TRUE(note->text().contains(QStringLiteral("設定後は Kazuban を再起動して下さい")));
        EXPECT_TRUE(note->text().contains(QStringLiteral("最新結果の取得先は OK ですぐに有効になります")));
        const QRect n = note->geometry();
        EXPECT_GE(n.top(), folders->geometry().bottom());
        EXPECT_LE(n.bottom(), heading->geometry().top());
        EXPECT_EQ(n.left(), firstCaption->geometry().left());
        EXPECT_GE(n.height(), note->heightForWidth(n.width()));  // every wrapped line in sight
        EXPECT_TRUE(dialog.rect().contains(n));
    });
}

}  // namespace
}  // namespace kazuban::testing
