// The window without a mouse: the menu bar, the settings dialog and the
// message boxes answer the keys a user expects.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "window_fixture.h"

namespace kazuban::testing {
namespace {

class Keyboard : public WindowTest {
protected:
    void focusWindow() {
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QWidget* focused() const { return QApplication::focusWidget() ? QApplication::focusWidget() : window.get(); }
    // Alt pressed and released alone, as a user does to reach the menu bar.
    void tapAlt() {
        QTest::keyPress(focused(), Qt::Key_Alt, Qt::AltModifier);
        QTest::keyRelease(focused(), Qt::Key_Alt, Qt::NoModifier);
    }
    QMenu* openMenu() const {
        QAction* a = window->menuBar()->activeAction();
        return a && a->menu() && a->menu()->isVisible() ? a->menu() : nullptr;
    }
};

// Presses `key` in the modal dialog that the next call opens, and fails when
// no dialog came. A dialog left open by a failure is closed after a while,
// so the test cannot hang.
class ModalKeyPress {
public:
    explicit ModalKeyPress(Qt::Key key) {
        poll_.setInterval(10);
        QObject::connect(&poll_, &QTimer::timeout, [this, key] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            poll_.stop();
            fired_ = true;
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : modal, key);
        });
        poll_.start();
        QTimer::singleShot(5000, [this] {
            if (QWidget* modal = QApplication::activeModalWidget(); modal && !fired_) modal->close();
        });
    }
    bool fired() const { return fired_; }

private:
    QTimer poll_;
    bool fired_ = false;
};

TEST_F(Keyboard, AltAndF10ReachEveryMenuAndItsEntries) {
    copyDemo();
    ASSERT_TRUE(start());
    focusWindow();
    QMenuBar* bar = window->menuBar();
    const QStringList menus = {"mnufile", "mnutbango", "mnudatamk", "mnuksettei"};
    for (int i = 0; i < menus.size(); ++i) {
        tapAlt();
        ASSERT_NE(bar->activeAction(), nullptr) << "Alt does not reach the menu bar";
        EXPECT_EQ(bar->activeAction()->objectName(), QStringLiteral("mnufile"));
        for (int k = 0; k < i; ++k) QTest::keyClick(bar, Qt::Key_Right);
        EXPECT_EQ(bar->activeAction()->objectName(), menus[i]);
        QTest::keyClick(bar, Qt::Key_Down);
        QMenu* menu = openMenu();
        ASSERT_NE(menu, nullptr) << menus[i].toStdString();
        EXPECT_EQ(menu->objectName(), menus[i]);
        ASSERT_NE(menu->activeAction(), nullptr);
        EXPECT_EQ(menu->activeAction(), menu->actions().first());
        QTest::keyClick(menu, Qt::Key_Escape);
        QTest::keyClick(bar, Qt::Key_Escape);
        EXPECT_EQ(openMenu(), nullptr);
    }

    // F10 opens the first menu; the arrows walk on to the others, and Enter
    // runs the chosen entry: "◇環境" → "設定" opens the settings dialog.
    QTest::keyClick(focused(), Qt::Key_F10);
    QMenu* menu = openMenu();
    ASSERT_NE(menu, nullptr) << "F10 does not reach the menu bar";
    EXPECT_EQ(menu->objectName(), QStringLiteral("mnufile"));
    QTest::keyClick(menu, Qt::Key_Left);   // wraps round to the last menu
    menu = openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QStringLiteral("mnuksettei"));
    bool dialogOpened = false;
    platform.onSettingsDialog = [&](ui::SettingsDialog&) { dialogOpened = true; };
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_TRUE(dialogOpened);
    EXPECT_EQ(openMenu(), nullptr);
}

TEST_F(Keyboard, EscClosesTheSettingsDialogWithoutWriting) {
    copyDemo();
    ASSERT_TRUE(start());
    const QByteArray before = [&] {
        QFile f(dir.filePath("Kazuban.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    auto dialog = window->createSettingsDialog();
    dialog->show();
    auto* editor = dialog->findChild<QLineEdit*>("Text1");
    editor->setFocus();
    QTest::keyClicks(editor, QStringLiteral("/usr/bin/vi"));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(dialog->finished());
    EXPECT_FALSE(dialog->isVisible());
    QFile f(dir.filePath("Kazuban.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST(MessageBoxKeys, EnterConfirmsTheFirstButtonAndEscCancels) {
    ui::QtPlatform real;
    struct Case { platform::Buttons buttons; Qt::Key key; int answer; };
    for (const Case& c : {Case{platform::Buttons::OkCancel, Qt::Key_Return, platform::kOk},
                          Case{platform::Buttons::OkCancel, Qt::Key_Escape, platform::kCancel},
                          Case{platform::Buttons::YesNoCancel, Qt::Key_Return, platform::kYes},
                          Case{platform::Buttons::YesNoCancel, Qt::Key_Escape, platform::kCancel},
                          Case{platform::Buttons::Ok, Qt::Key_Enter, platform::kOk},
                          Case{platform::Buttons::Ok, Qt::Key_Escape, platform::kOk}}) {
        ModalKeyPress press(c.key);
        const int answer = real.messageBox(" 終了します。 よろしいですか？", platform::Icon::None, c.buttons);
        EXPECT_TRUE(press.fired());
        EXPECT_EQ(answer, c.answer) << "key " << c.key;
    }
}

}  // namespace
}  // namespace kazuban::testing
