// The file dialogs read no file before the user chooses one: a special file
// that blocks its reader (/proc/kmsg) must not hang the window while its
// folder is listed, and once chosen it is refused with a message.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include "modal.h"
#include "support/os.h"
#include "ui/qt_platform.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

TEST(FileDialog, ListsAFolderTypedInTheNameBoxWithoutReadingItsFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("typed")));
    // A PNG picture without an extension: only its content tells what it is.
    const QString folder = dir.path() + QStringLiteral("/typed");
    const QString picture = folder + QStringLiteral("/picture");
    QFile file(picture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromHex("89504e470d0a1a0a0000000d49484452"));
    file.close();
    const QString readType = QMimeDatabase().mimeTypeForFile(picture).comment();
    ASSERT_EQ(QMimeDatabase().mimeTypeForFile(picture).name(), QStringLiteral("image/png"));

    QString shownType;
    WhenModal typeFolder(
        [&](QWidget* modal) {
            auto* model = modal->findChild<QFileSystemModel*>();
            auto* name = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_TRUE(model && name);
            bool listed = false;
            QObject scope;
            QObject::connect(model, &QFileSystemModel::directoryLoaded, &scope,
                             [&](const QString& path) { listed = listed || path == folder; });
            QTest::keyClicks(name, folder + QLatin1Char('/'));
            EXPECT_TRUE(QTest::qWaitFor([&] { return listed; }, 3000));
            shownType = model->type(model->index(picture));
            static_cast<QDialog*>(modal)->reject();
        },
        "QFileDialog");
    ui::QtPlatform platform;
    platform::FileDialogOptions options;
    options.initialFolder = dir.path().toStdString();
    EXPECT_FALSE(platform.openFileDialog(options));
    EXPECT_TRUE(typeFolder.worked());
    EXPECT_FALSE(shownType.isEmpty());
    EXPECT_NE(shownType, readType);
}

// The detail view shows every column whole: the Japanese headings, the
// sizes, types and dates of the files listed (ctest runs this at 100 % and
// at 200 %).
TEST(FileDialogColumns, ShowEveryHeadingAndEveryFilesDetailsWhole) {
    QTemporaryDir dir;
    for (const char* name : {"組合せデータ.txt", "b.csv"}) {
        QFile f(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1500, 'x'));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("フォルダー")));
    for (const bool save : {false, true}) {
        int checked = 0;
        WhenModal look(
            [&](QWidget* modal) {
                auto* model = modal->findChild<QFileSystemModel*>();
                auto* tree = modal->findChild<QTreeView*>(QStringLiteral("treeView"));
                ASSERT_TRUE(model && tree);
                EXPECT_TRUE(tree->isVisible());
                EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(tree->rootIndex()) == 3; }, 3000));
                QApplication::processEvents();
                QHeaderView* header = tree->header();
                int total = 0;
                for (int c = 0; c < header->count(); ++c) {
                    if (header->isSectionHidden(c)) continue;
                    total += header->sectionSize(c);
                    const QString heading = model->headerData(c, Qt::Horizontal).toString();
                    EXPECT_GE(header->sectionSize(c), header->fontMetrics().horizontalAdvance(heading))
                        << heading.toStdString();
                    if (c == 0) continue;
                    for (int r = 0; r < model->rowCount(tree->rootIndex()); ++r) {
                        const QModelIndex at = model->index(r, c, tree->rootIndex());
                        const int needs = tree->fontMetrics().horizontalAdvance(at.data().toString());
                        EXPECT_GE(header->sectionSize(c), needs) << at.data().toString().toStdString();
                        ++checked;
                    }
                }
                EXPECT_LE(total, tree->viewport()->width()) << "every column in sight";
                EXPECT_LE(modal->frameGeometry().width(), modal->screen()->availableGeometry().width());
                static_cast<QDialog*>(modal)->reject();
            },
            "QFileDialog");
        ui::QtPlatform platform;
        platform::FileDialogOptions options;
        options.initialFolder = dir.path().toStdString();
        if (save) EXPECT_FALSE(platform.saveFileDialog(options));
        else EXPECT_FALSE(platform.openFileDialog(options));
        EXPECT_TRUE(look.worked());
        EXPECT_EQ(checked, 9) << "three files, three columns each";
    }
}

using FileDialogChoice = WindowTest;

TEST_F(FileDialogChoice, ASpecialFileChosenToLoadIsRefusedWithAMessage) {
    if (!kPosix) GTEST_SKIP() << "no pipes or /proc here";
    copyDemo();
    ASSERT_TRUE(start());
    const std::string pipe = dir.filePath(QStringLiteral("pipe.txt")).toStdString();
    ASSERT_TRUE(makeNamedPipe(pipe));
    std::vector<std::string> special{pipe};
    if (QFile::exists(QStringLiteral("/proc/self/status"))) special.push_back("/proc/self/status");
    for (const std::string& path : special) {
        platform.answers = {platform::kYes};
        platform.openAnswers = {path};
        trigger(QStringLiteral("mnudopen"));
        ASSERT_FALSE(platform.boxes.empty());
        EXPECT_EQ(platform.boxes.back().text, "「" + path + "」は通常のファイルではないため読み込めません。");
    }
}

// A file longer than the table: its first 1000 lines fill the table, and a
// message tells how many lines with text were left unread.
TEST_F(FileDialogChoice, AFileOfMoreThan1000LinesSaysHowManyWereNotRead) {
    copyDemo();
    ASSERT_TRUE(start());
    QFile file(dir.filePath(QStringLiteral("long.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 1; i <= 1005; ++i) file.write(i == 1000 ? "27,28,29,30,31\r\n" : " 1, 2, 3, 4, 5\r\n");
    file.close();
    platform.openAnswers = {file.fileName().toStdString()};
    trigger(QStringLiteral("mnudopen"));
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, "1000 行を超えた 5 行は読み込みませんでした。");
    EXPECT_EQ(platform.boxes[0].icon, platform::Icon::Exclamation);
    EXPECT_EQ(cell("MSFlexGrid1", 1000, 1), QStringLiteral("27,28,29,30,31"));
}

}  // namespace
}  // namespace kazuban::testing
