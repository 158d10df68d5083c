// The window without a mouse: the menu bar and the settings dialog answer
// the keys a user expects (message boxes: qt_platform_test.cpp).
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>

#include "modal.h"
#include "ui/flex_grid.h"
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

TEST_F(Keyboard, AltAndF10ReachEveryMenuAndItsEntries) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();  // so "元に戻す" can be chosen
    focusWindow();
    QMenuBar* bar = window->menuBar();
    const QStringList menus = {"mnufile", "mnuedit", "mnutbango", "mnudatamk", "mnuksettei"};
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
    QTest::keyClick(menu, Qt::Key_Left);  // wraps round to the last menu
    menu = openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QStringLiteral("mnuksettei"));
    bool dialogOpened = false;
    WhenModal dialog(
        [&](QWidget* modal) {
            dialogOpened = true;
            modal->close();
        },
        "kazuban::ui::SettingsDialog");
    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_TRUE(dialog.worked());
    EXPECT_TRUE(dialogOpened);
    EXPECT_EQ(openMenu(), nullptr);
}

TEST_F(Keyboard, GridsTakeTheMenuKeyAndEnterOnTheRowsChosenWithTheArrows) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    focusWindow();
    auto* grid = find<ui::FlexGrid>("MSFlexGrid1");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    popupChoices = {QStringLiteral("pmnucopy")};
    QTest::keyClick(grid, Qt::Key_Menu);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups.back(), QStringLiteral("pmnupopup"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral(" 2, 3, 4,18,27\r\n 2,12,17,19,30\r\n"));

    // Ctrl+Tab moves to tab 1; Shift+F10 opens pop-up menu 2 there.
    QTest::keyClick(grid, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(find<QTabWidget>("SSTab1")->currentIndex(), 1);
    auto* totals = find<ui::FlexGrid>("MSFlexGrid2");
    totals->setFocus();
    popupChoices = {QStringLiteral("pmnucancell2")};
    QTest::keyClick(totals, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_EQ(popups.back(), QStringLiteral("pmnupopup2"));
    EXPECT_EQ(openMenu(), nullptr) << "Shift+F10 is not the menu bar's F10";

    // On the mark-sheet list Enter is the click that shows five rows.
    QTest::keyClick(totals, Qt::Key_Tab, Qt::ControlModifier);
    auto* list = find<ui::FlexGrid>("MSFlexGrid3");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(find<QLabel>("Label4")->text(), QStringLiteral("ﾃﾞｰﾀ番号: 2"));
    EXPECT_EQ(find<QLabel>("Label14")->text(), QStringLiteral("ﾃﾞｰﾀ番号: 6"));
}

TEST_F(Keyboard, EscClosesTheModalSettingsDialogWithoutWriting) {
    copyDemo();
    ASSERT_TRUE(start());
    auto readIni = [&] {
        QFile f(dir.filePath("Kazuban.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray before = readIni();
    // The dialog as the menu opens it: modal, over the window, until it ends.
    WhenModal typeThenEsc([](QWidget* modal) {
        auto* editor = modal->findChild<QLineEdit*>("Text1");
        ASSERT_NE(editor, nullptr);
        editor->setFocus();
        QTest::keyClicks(editor, QStringLiteral("/usr/bin/vi"));
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    trigger(QStringLiteral("mnuktoroku"));
    EXPECT_TRUE(typeThenEsc.worked());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(readIni(), before);
    EXPECT_TRUE(platform.boxes.empty());
}

// Ctrl+Tab and Ctrl+Shift+Tab go round the tabs from whatever part of a tab
// has the keyboard: a grid, a table, a number box, a list.
TEST_F(Keyboard, CtrlTabMovesBetweenTheTabsFromEveryPartOfEveryTab) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    focusWindow();
    auto* tabs = find<QTabWidget>(QStringLiteral("SSTab1"));
    const int n = tabs->count();
    for (int t = 0; t < n; ++t) {
        selectTab(t);
        QApplication::processEvents();
        int tried = 0;
        for (QWidget* w : tabs->widget(t)->findChildren<QWidget*>()) {
            if (!w->isVisible() || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus)) continue;
            if (w->focusProxy()) continue;
            for (const bool back : {false, true}) {
                selectTab(t);
                w->setFocus(Qt::OtherFocusReason);
                QApplication::processEvents();
                if (QApplication::focusWidget() != w) continue;
                ++tried;
                if (back) QTest::keyClick(w, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
                else QTest::keyClick(w, Qt::Key_Tab, Qt::ControlModifier);
                EXPECT_EQ(tabs->currentIndex(), (t + (back ? n - 1 : 1)) % n)
                    << "tab " << t << ", " << w->metaObject()->className() << " " << w->objectName().toStdString()
                    << (back ? " Ctrl+Shift+Tab" : " Ctrl+Tab");
            }
        }
        EXPECT_GT(tried, 0) << "tab " << t;
    }
}

}  // namespace
}  // namespace kazuban::testing
