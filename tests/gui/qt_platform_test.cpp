// The window's platform pieces that need no dialog on screen.
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include "ui/qt_platform.h"

namespace kazuban::testing {
namespace {

TEST(QtPlatform, FileFiltersBecomeQtChoices) {
    EXPECT_EQ(ui::QtPlatform::nameFilters("ﾃｷｽﾄ(*.txt)|*.txt|全て|*.*"),
              QStringList({"ﾃｷｽﾄ(*.txt)", "全て (*.*)"}));
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
    p.setBusy(false);   // unbalanced: ignored
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    p.setBusy(true);
    p.setBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    p.endBusy();
    EXPECT_EQ(p.busyDepth(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace kazuban::testing
