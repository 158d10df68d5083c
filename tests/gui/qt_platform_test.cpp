// The window's platform: message boxes and file dialogs as the user meets
// them (real dialogs, answered through their widgets and keys), clipboard,
// busy pointer.
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "modal.h"
#include "ui/qt_platform.h"

namespace kazuban::testing {
namespace {

TEST(QtPlatform, FileFiltersBecomeQtChoices) {
    EXPECT_EQ(ui::QtPlatform::nameFilters("ﾃｷｽﾄ(*.txt)|*.txt|全て|*.*"), QStringList({"ﾃｷｽﾄ(*.txt)", "全て (*.*)"}));
    EXPECT_EQ(ui::QtPlatform::nameFilters("CSV|*.csv;*.txt"), QStringList({"CSV (*.csv *.txt)"}));
    EXPECT_TRUE(ui::QtPlatform::nameFilters("").isEmpty());
}

TEST(QtPlatform, ClipboardLinesReachTheProgramWithCrLf) {
    ui::QtPlatform p;
    p.setClipboardText(" 1, 2, 3, 4, 5\r\n");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral(" 1, 2, 3, 4, 5\r\n"));
    EXPECT_EQ(p.clipboardText(), " 1, 2, 3, 4, 5\r\n");
    // Text another program put there with bare line feeds.
    QGuiApplication::clipboard()->setText(QStringLiteral("\n 1, 2, 3, 4, 5\n12,13,14,15,16"));
    EXPECT_EQ(p.clipboardText(), "\r\n 1, 2, 3, 4, 5\r\n12,13,14,15,16");
    p.clearClipboard();
    EXPECT_EQ(p.clipboardText(), "");
}

TEST(QtPlatform, BusyPointerIsRestoredHoweverManyCallsAreOpen) {
    ui::QtPlatform p;
    p.setBusy(false);  // unbalanced: ignored
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    p.setBusy(true);
    p.setBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    p.endBusy();
    EXPECT_EQ(p.busyDepth(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtPlatform, MessageBoxesCarryTheProgramsNameTheirIconAndAnswerEnterAndEsc) {
    ui::QtPlatform real;
    using platform::Buttons;
    using platform::Icon;
    struct Case {
        Icon icon;
        Buttons buttons;
        Qt::Key key;
        int answer;
        QMessageBox::Icon shownIcon;
        QMessageBox::StandardButtons shownButtons;
    };
    const QMessageBox::StandardButtons okCancel = QMessageBox::Ok | QMessageBox::Cancel;
    const QMessageBox::StandardButtons yesNoCancel = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    // Enter confirms the first button, Esc cancels (an OK-only box has only OK).
    for (const Case& c :
         {Case{Icon::None, Buttons::OkCancel, Qt::Key_Return, platform::kOk, QMessageBox::NoIcon, okCancel},
          Case{Icon::None, Buttons::OkCancel, Qt::Key_Escape, platform::kCancel, QMessageBox::NoIcon, okCancel},
          Case{Icon::Exclamation, Buttons::YesNoCancel, Qt::Key_Return, platform::kYes, QMessageBox::Warning,
               yesNoCancel},
          Case{Icon::Exclamation, Buttons::YesNoCancel, Qt::Key_Escape, platform::kCancel, QMessageBox::Warning,
               yesNoCancel},
          Case{Icon::Critical, Buttons::Ok, Qt::Key_Enter, platform::kOk, QMessageBox::Critical, QMessageBox::Ok},
          Case{Icon::Critical, Buttons::Ok, Qt::Key_Escape, platform::kOk, QMessageBox::Critical, QMessageBox::Ok}}) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QString title, text;
        WhenModal answer(
            [&](QWidget* w) {
                auto* box = static_cast<QMessageBox*>(w);
                icon = box->icon();
                buttons = box->standardButtons();
                title = box->windowTitle();
                text = box->text();
                WhenModal::press(c.key)(w);
            },
            "QMessageBox");
        const int got = real.messageBox("ﾃﾞｰﾀを消去しますか？\r\n    は　い(Y) : 全て消去", c.icon, c.buttons);
        ASSERT_TRUE(answer.worked()) << "key " << c.key;
        EXPECT_EQ(got, c.answer) << "key " << c.key;
        EXPECT_EQ(icon, c.shownIcon);
        EXPECT_EQ(buttons, c.shownButtons);
        EXPECT_EQ(title, QStringLiteral("Kazuban"));
        EXPECT_EQ(text, QStringLiteral("ﾃﾞｰﾀを消去しますか？\n    は　い(Y) : 全て消去"));
    }
}

TEST(QtPlatform, FileDialogsStartInTheFolderOfferTheChoicesAndAskBeforeReplacing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        QFile old(dir.filePath("old.txt"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    }
    ui::QtPlatform real;
    platform::FileDialogOptions options{"ﾃｷｽﾄ(*.txt)|*.txt|全て|*.*", "txt", dir.path().toStdString(), false};
    // Types a name into the dialog's name box and presses Enter, as a user does.
    auto choose = [](const QString& name, QStringList* filters = nullptr, QString* folder = nullptr) {
        return [=](QWidget* w) {
            auto* dialog = static_cast<QFileDialog*>(w);
            if (filters) *filters = dialog->nameFilters();
            if (folder) *folder = dialog->directory().absolutePath();
            auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(box, nullptr);
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, name);
            QTest::keyClick(box, Qt::Key_Return);
        };
    };

    QStringList filters;
    QString folder;
    {
        WhenModal pick(choose(QStringLiteral("old.txt"), &filters, &folder), "QFileDialog");
        EXPECT_EQ(real.openFileDialog(options), dir.filePath("old.txt").toStdString());
        EXPECT_TRUE(pick.worked());
    }
    EXPECT_EQ(folder, QDir(dir.path()).absolutePath());
    EXPECT_EQ(filters, QStringList({"ﾃｷｽﾄ(*.txt)", "全て (*.*)"}));
    {
        WhenModal cancel(WhenModal::press(Qt::Key_Escape), "QFileDialog");
        EXPECT_EQ(real.openFileDialog(options), std::nullopt);
        EXPECT_TRUE(cancel.worked());
    }

    // Saving: a bare name takes the default extension; an existing file is
    // replaced only after the user said Yes to the question.
    options.confirmOverwrite = true;
    {
        WhenModal name(choose(QStringLiteral("new")), "QFileDialog");
        EXPECT_EQ(real.saveFileDialog(options), dir.filePath("new.txt").toStdString());
        EXPECT_TRUE(name.worked());
    }
    for (const bool replace : {false, true}) {
        bool asked = false;
        WhenModal question(
            [&](QWidget* w) {
                asked = true;
                auto* box = static_cast<QMessageBox*>(w);
                box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            },
            "QMessageBox");
        WhenModal pick(
            [&](QWidget* w) {
                choose(QStringLiteral("old.txt"))(w);
                // Answered No, the dialog stays open for another name.
                if (w->isVisible()) static_cast<QFileDialog*>(w)->reject();
            },
            "QFileDialog");
        const auto chosen = real.saveFileDialog(options);
        EXPECT_TRUE(asked);
        EXPECT_TRUE(pick.worked());
        EXPECT_TRUE(question.worked());
        if (replace) {
            EXPECT_EQ(chosen, dir.filePath("old.txt").toStdString());
        } else {
            EXPECT_EQ(chosen, std::nullopt);
        }
    }
}

TEST(QtPlatform, StandardDialogsSpeakJapanese) {
    ui::QtPlatform real;
    QStringList buttons;
    {
        WhenModal look(
            [&](QWidget* w) {
                for (QAbstractButton* b : static_cast<QMessageBox*>(w)->buttons()) buttons << b->text();
                WhenModal::press(Qt::Key_Escape)(w);
            },
            "QMessageBox");
        real.messageBox("?", platform::Icon::Exclamation, platform::Buttons::YesNoCancel);
        ASSERT_TRUE(look.worked());
    }
    buttons.sort();
    EXPECT_EQ(buttons.join(QLatin1Char(' ')).toStdString(), "いいえ(&N) はい(&Y) キャンセル");

    // The open dialog in Japanese lets a typed name that is no file through,
    // so the program can say so in its own words.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::FileDialogOptions options{"ﾃｷｽﾄ(*.txt)|*.txt|全て|*.*", "txt", dir.path().toStdString(), false};
    QString openCaption;
    WhenModal type(
        [&](QWidget* w) {
            auto* dialog = static_cast<QFileDialog*>(w);
            if (auto* box = dialog->findChild<QDialogButtonBox*>()) openCaption = box->buttons().value(0)->text();
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            QTest::keyClicks(name, QStringLiteral("typed"));
            QTest::keyClick(name, Qt::Key_Return);
        },
        "QFileDialog");
    EXPECT_EQ(real.openFileDialog(options), dir.filePath("typed.txt").toStdString());
    EXPECT_TRUE(type.worked());
    EXPECT_TRUE(openCaption.contains(QStringLiteral("開く"))) << openCaption.toStdString();
}

}  // namespace
}  // namespace kazuban::testing
