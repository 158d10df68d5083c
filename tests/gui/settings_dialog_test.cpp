// The settings dialog's folder list, drive list and Esc, through its real widgets.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

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
        const QString pickPath = QDir(dir.path()).filePath(QStringLiteral("pick me"));
        ASSERT_NE(itemFor(pickPath), nullptr);
        activate(itemFor(pickPath));
        EXPECT_EQ(dataBox->text(), QString());

        // With the data folder's option chosen, the folder goes into its box.
        QTest::mouseClick(dialog.findChild<QRadioButton*>("Option1_1"), Qt::LeftButton);
        ASSERT_NE(itemFor(pickPath), nullptr);
        activate(itemFor(pickPath));
        EXPECT_EQ(dataBox->text(), pickPath);

        // Choosing a drive moves the folder list there, and so fills the box.
        const int root = drives->findData(QStringLiteral("/"));
        ASSERT_GE(root, 0);
        drives->setCurrentIndex(root);
        emit drives->activated(root);
        EXPECT_EQ(dataBox->text(), QStringLiteral("/"));
        EXPECT_EQ(browserBox->text(), QString());

        // Esc cancels: nothing is written.
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog.finished());
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("Kazuban.ini"))), before);
    EXPECT_TRUE(platform.boxes.empty());
}

}  // namespace
}  // namespace kazuban::testing
