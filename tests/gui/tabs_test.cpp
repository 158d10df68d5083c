// Tabs 1 to 4 and the settings dialog, driven through the real widgets.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <filesystem>

#include "platform/line_file.h"
#include "ui/flex_grid.h"
#include "ui/grid_model.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

class Tabs : public WindowTest {};

TEST_F(Tabs, SelectingATabBuildsItAndProgramSwitchesFollow) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    selectTab(1);
    EXPECT_EQ(form->state().SSTab1, 1);
    EXPECT_EQ(cell("MSFlexGrid2", 0, 2), QStringLiteral("合計"));
    EXPECT_EQ(cell("MSFlexGrid2", 1, 1), QStringLiteral(" 5,11,13,21,31"));
    EXPECT_EQ(cell("MSFlexGrid2", 1, 2), QStringLiteral("81"));
    EXPECT_FALSE(find<QWidget>("ProgressBar1")->isVisible());

    // The sort by sum from pop-up menu 2 reorders the view.
    popupChoices = {QStringLiteral("psmnu2")};
    press("MSFlexGrid2", Qt::RightButton, 1, 1);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups.back(), QStringLiteral("pmnupopup2"));
    EXPECT_GE(cell("MSFlexGrid2", 1, 2).toInt(), cell("MSFlexGrid2", 2, 2).toInt());

    // "当選回数": most wins first, equal counts in their previous order, empty
    // rows last; tab 0 takes the new order with its win entries worked out
    // again.
    QStringList bySum;
    for (int r = 1; r <= 30; ++r) bySum << cell("MSFlexGrid2", r, 1);
    popupChoices = {QStringLiteral("psmnu3")};
    press("MSFlexGrid2", Qt::RightButton, 2, 1);
    ASSERT_EQ(popups.size(), 2u);
    QStringList byWins;
    for (int r = 1; r <= 30; ++r) {
        const QString c = cell("MSFlexGrid2", r, 1);
        byWins << c;
        EXPECT_EQ(cell("MSFlexGrid2", r, 0), QString::number(r));
        EXPECT_EQ(cell("MSFlexGrid1", r, 1), c) << r;
        int wins = 0;
        while (!cell("MSFlexGrid1", r, 2 + wins).isEmpty()) ++wins;
        EXPECT_EQ(cell("MSFlexGrid2", r, 3), QString::number(wins)) << c.toStdString();
        if (r > 1) {
            const int above = cell("MSFlexGrid2", r - 1, 3).toInt(), here = cell("MSFlexGrid2", r, 3).toInt();
            EXPECT_GE(above, here) << r;
            if (above == here) {
                EXPECT_LT(bySum.indexOf(byWins[r - 2]), bySum.indexOf(c)) << r;
            }
        }
    }
    EXPECT_EQ(cell("MSFlexGrid2", 31, 1), QString());
    EXPECT_EQ(cell("MSFlexGrid2", 1000, 3), QString());
    byWins.sort();
    bySum.sort();
    EXPECT_EQ(byWins, bySum);

    // "ｺﾋﾟｰ" puts the combinations of the rows dragged over (upwards here)
    // on the clipboard, top to bottom, each line ended by CR LF.
    dragRows("MSFlexGrid2", 5, 3, 4);
    popupChoices = {QStringLiteral("pmnucopy2")};
    press("MSFlexGrid2", Qt::RightButton, 4, 1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), cell("MSFlexGrid2", 3, 1) + "\r\n" + cell("MSFlexGrid2", 4, 1) +
                                                        "\r\n" + cell("MSFlexGrid2", 5, 1) + "\r\n");
    EXPECT_EQ(QGuiApplication::clipboard()->text().size(), 3 * 16);

    // Loading from tab 1 takes the window back to tab 0 by program; the
    // totals grid is left as it was (its entry steps do not run again).
    const QString before = cell("MSFlexGrid2", 1, 1);
    platform.answers = {platform::kYes};
    loadSampleCombinations();
    EXPECT_EQ(form->state().SSTab1, 0);
    EXPECT_EQ(find<QTabWidget>("SSTab1")->currentIndex(), 0);
    EXPECT_EQ(cell("MSFlexGrid2", 1, 1), before);
}

TEST_F(Tabs, MarkSheetListClickShowsFiveFigures) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    selectTab(2);
    auto* list = find<ui::FlexGrid>("MSFlexGrid3");
    EXPECT_EQ(list->toolTip(), QStringLiteral("ｸﾘｯｸ"));
    press("MSFlexGrid3", Qt::LeftButton, 3, 1);
    EXPECT_EQ(find<QLabel>("Label4")->text(), QStringLiteral("ﾃﾞｰﾀ番号: 3"));
    EXPECT_EQ(find<QLabel>("Label14")->text(), QStringLiteral("ﾃﾞｰﾀ番号: 7"));
    const QAbstractItemModel* figure = find<ui::FlexGrid>("MSFlexGrid4_0")->gridModel();
    int marks = 0;
    for (int r = 0; r < figure->rowCount(); ++r)
        for (int c = 0; c < figure->columnCount(); ++c) marks += figure->data(figure->index(r, c)).toString() == "■";
    EXPECT_EQ(marks, 5);  // " 2,12,17,19,30"
    for (const char* box : {"Text4_0", "Text5_0", "Text2_0", "Text3_0"}) {
        EXPECT_FALSE(find<QLineEdit>(box)->text().isEmpty()) << box;
        EXPECT_TRUE(find<QLineEdit>(box)->isReadOnly()) << box;
    }
    EXPECT_EQ(find<QLineEdit>("Text2_0")->text(), QString::fromStdString(form->markSheet().controls().Text2[0]));

    // Rows 996 to 1000 pasted on tab 0 (a sixth line falls past row 1000)
    // and checked with "￥"; a click on list row 997 shows and marks all five.
    const QStringList last = {" 1, 2, 3, 4, 5", " 6, 7,12,13,31", " 5,11,13,21,31", "10,18,19,22,27", " 2,14,16,30,31"};
    selectTab(0);
    QGuiApplication::clipboard()->setText(last.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n11,12,13,14,15\r\n"));
    auto* table = find<ui::FlexGrid>("MSFlexGrid1");
    table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum());
    press("MSFlexGrid1", Qt::LeftButton, 996, 1);
    popupChoices = {QStringLiteral("pmnupaste")};
    press("MSFlexGrid1", Qt::RightButton, 996, 1);
    EXPECT_EQ(form->combinationTable().rows(), 1001);
    QTest::mouseClick(find<QWidget>("Command5"), Qt::LeftButton);
    EXPECT_EQ(cell("MSFlexGrid1", 998, 2), cell("MSFlexGrid1", 1, 2)) << "row 998 repeats row 1";
    selectTab(2);
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    press("MSFlexGrid3", Qt::LeftButton, 997, 1);
    EXPECT_EQ(form->markSheet().list().row(), 996);
    EXPECT_EQ(form->markSheet().list().rowSel(), 1000);
    const char* captions[5] = {"Label4", "Label5", "Label6", "Label7", "Label14"};
    for (int k = 0; k < 5; ++k) {
        const int row = 996 + k;
        EXPECT_EQ(find<QLabel>(captions[k])->text(), QStringLiteral("ﾃﾞｰﾀ番号: %1").arg(row));
        EXPECT_EQ(cell("MSFlexGrid3", row, 1), last[k]);
        const QString name = QStringLiteral("MSFlexGrid4_%1").arg(k);
        const QAbstractItemModel* f = find<ui::FlexGrid>(name)->gridModel();
        for (int x = 0; x < 5; ++x)
            for (int y = 0; y < 10; ++y) {
                const int n = 10 * x + y + 1;
                const bool mine = n <= 31 && last[k].split(QLatin1Char(',')).contains(QStringLiteral("%1").arg(n, 2));
                const QString shown = f->data(f->index(y, x)).toString();
                EXPECT_EQ(shown, mine     ? QStringLiteral("■")
                                 : n > 31 ? QStringLiteral("×")
                                          : QStringLiteral("%1").arg(n, 2))
                    << "figure " << k << " number " << n;
            }
        int wins = 0, latest = 0;
        for (QString e; !(e = cell("MSFlexGrid1", row, 2 + wins)).isEmpty(); ++wins)
            latest = std::max(latest, e.section(QLatin1Char('='), 0, 0).toInt());
        EXPECT_EQ(find<QLineEdit>(QStringLiteral("Text2_%1").arg(k))->text(), QString::number(wins)) << row;
        EXPECT_EQ(find<QLineEdit>(QStringLiteral("Text3_%1").arg(k))->text(), QString::number(latest)) << row;
        EXPECT_FALSE(find<QLineEdit>(QStringLiteral("Text4_%1").arg(k))->text().isEmpty()) << row;
    }
    EXPECT_NE(find<QLineEdit>("Text2_2")->text(), QStringLiteral("0"));
}

TEST_F(Tabs, LinksOpenForEditingKeepTypedTextAndJump) {
    copyDemo();
    ASSERT_TRUE(start());
    selectTab(3);
    auto* go = find<QPushButton>("Command1_4");
    EXPECT_EQ(find<QPushButton>("Command1_0")->text(), QStringLiteral("Go! 偶数・奇数"));
    EXPECT_EQ(go->toolTip(), QStringLiteral("飛びます！"));
    EXPECT_FALSE(find<QWidget>("Text1_4")->isVisible());
    EXPECT_FALSE(find<QWidget>("Command2")->isVisible());

    QTest::mouseClick(find<QWidget>("Option1_4"), Qt::LeftButton);
    auto* box = find<QLineEdit>("Text1_4");
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(find<QWidget>("Text1_3")->isVisible());
    EXPECT_TRUE(find<QWidget>("Command2")->isVisible());
    EXPECT_EQ(find<QWidget>("Command8")->toolTip(), QStringLiteral("再起動後、有効"));

    box->selectAll();
    QInputMethodEvent typing;  // Japanese arrives through the input method
    typing.setCommitString(QStringLiteral("間隔=http://example.org/a?b=c"));
    QApplication::sendEvent(box, &typing);
    EXPECT_EQ(form->links().controls().Text1[4], "間隔=http://example.org/a?b=c");
    QTest::mouseClick(find<QWidget>("Command7"), Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
    EXPECT_FALSE(find<QWidget>("Command7")->isVisible());

    QTest::mouseClick(go, Qt::LeftButton);
    ASSERT_EQ(platform.startedPrograms.size(), 1u);
    EXPECT_NE(platform.startedPrograms[0].find("http://example.org/a?b=c"), std::string::npos);
}

TEST_F(Tabs, PredrawAnalysisShowsNewestFirstAndSortsFromPopupMenu3) {
    copyDemo();
    ASSERT_TRUE(start());
    selectTab(4);
    const QAbstractItemModel* m = find<ui::FlexGrid>("MSFlexGrid5")->gridModel();
    EXPECT_EQ(m->rowCount(), 1400 - 49);
    EXPECT_EQ(cell("MSFlexGrid5", 0, 1), QStringLiteral("当選番号データ"));
    EXPECT_EQ(cell("MSFlexGrid5", 1, 0), QStringLiteral("1400"));
    ASSERT_NE(find<QLabel>("Picture1"), nullptr);
    EXPECT_FALSE(find<QLabel>("Picture1")->pixmap().isNull());

    press("MSFlexGrid5", Qt::LeftButton, 2, 1);
    EXPECT_TRUE(popups.empty());
    popupChoices = {QStringLiteral("ptsmnu0s")};
    press("MSFlexGrid5", Qt::RightButton, 2, 1);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups.back(), QStringLiteral("pmnupopup3"));
    EXPECT_EQ(cell("MSFlexGrid5", 1, 0), QStringLiteral("51"));

    // "ｺﾋﾟｰ" puts the winning numbers (without the bonus number) of the rows
    // dragged over on the clipboard, top to bottom, each ended by CR LF.
    const std::vector<std::string> lines =
        platform::readLines(std::filesystem::path(dir.path().toStdString()) / "atarimgrp.txt");
    ASSERT_EQ(lines.size(), 1401u);
    auto numbers = [&](int draw) {
        const std::string& line = lines[static_cast<std::size_t>(draw)];
        return QString::fromStdString(line.substr(line.find('=') + 1, 14));
    };
    dragRows("MSFlexGrid5", 4, 2, 3);
    popupChoices = {QStringLiteral("pmnucopy3")};
    press("MSFlexGrid5", Qt::RightButton, 3, 1);
    EXPECT_EQ(popups.size(), 2u);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), numbers(52) + QStringLiteral("\r\n") + numbers(53) +
                                                        QStringLiteral("\r\n") + numbers(54) + QStringLiteral("\r\n"));
}

TEST_F(Tabs, SettingsDialogShowsTheFileAndOkWritesIt) {
    copyDemo();
    ASSERT_TRUE(start());
    bool shown = false;
    openSettings([&](ui::SettingsDialog& dialog) {
        shown = true;
        EXPECT_EQ(dialog.objectName(), QStringLiteral("Dialog"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("環境設定"));
        EXPECT_TRUE(dialog.isModal());
        auto* editor = dialog.findChild<QLineEdit*>("Text1");
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->text(), QString());  // the demo file has no paths
        auto* home = dialog.findChild<QLabel*>("Label11");
        EXPECT_EQ(home->toolTip(), QStringLiteral("飛びます!"));
        QTest::mouseClick(home, Qt::LeftButton);
        ASSERT_EQ(platform.startedPrograms.size(), 1u);
        EXPECT_NE(platform.startedPrograms[0].find(home->text().toStdString()), std::string::npos);
        EXPECT_FALSE(dialog.finished());
        EXPECT_EQ(dialog.findChild<QPushButton*>("CancelButton")->text(), QStringLiteral("ｷｬﾝｾﾙ"));
        QTest::keyClicks(editor, QStringLiteral("/usr/bin/vi"));
        QTest::mouseClick(dialog.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        EXPECT_TRUE(dialog.finished());
    });
    EXPECT_TRUE(shown);
    QFile ini(dir.filePath("Kazuban.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = ini.readAll().split('\n');
    ASSERT_GE(lines.size(), 14);
    EXPECT_EQ(lines[1], QByteArray("Your editor=/usr/bin/vi\r"));
    EXPECT_EQ(form->state().editdir, "");  // the window keeps its paths until the next start
}

}  // namespace
}  // namespace kazuban::testing
