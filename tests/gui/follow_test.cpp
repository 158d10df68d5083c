// Every view in sight follows every change of the table and the history,
// with no button pressed: the frame after AC and after undo, the tabs after
// undo and redo, and the selected rows through pop-up commands.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <functional>

#include "ui/flex_grid.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

class Follow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        copyDemo();
        ASSERT_TRUE(start());
        loadSampleCombinations();
        // Row 2 holds the latest draw's numbers: it won grade 1 there.
        form->combinationTable().setCell(2, 1, form->state().history.entry(1400).substr(0, 14));
        QTest::mouseClick(find<QWidget>(QStringLiteral("Command5")), Qt::LeftButton);
    }
    QStringList prizeCounts() const {
        QStringList out;
        for (int g = 1; g <= 4; ++g) out << label(QStringLiteral("Label3_%1").arg(g).toLatin1().constData());
        return out;
    }
    QString copied() const { return QGuiApplication::clipboard()->text(); }
    // AC on tab 0, confirmed.
    void allClear() {
        selectTab(app::kTabWins);
        platform.answers = {platform::kOk};
        QTest::mouseClick(find<QWidget>(QStringLiteral("Command6")), Qt::LeftButton);
    }
};

TEST_F(Follow, TheFrameCountsTheTableThatIsThereNotTheOneBefore) {
    const QStringList loaded = prizeCounts();
    ASSERT_EQ(loaded.first(), QStringLiteral(" 1"));

    // AC: an empty table won nothing.
    allClear();
    EXPECT_EQ(prizeCounts(), QStringList({"0", "0", "0", "0"}));
    trigger(QStringLiteral("mnuundo"));
    EXPECT_EQ(prizeCounts(), loaded);

    // Undo back to a table with an invalid row: its entries are gone with
    // the check that names the row, and so are its counts.
    form->combinationTable().setCell(3, 1, "3,9,14,22,30");
    platform.answers = {platform::kNo};
    trigger(QStringLiteral("mnu5mk"));
    trigger(QStringLiteral("mnuundo"));
    EXPECT_EQ(platform.boxes.back().text, " データ番号 3 に、入力ミスがあります。");
    EXPECT_EQ(prizeCounts(), QStringList({"0", "0", "0", "0"}));
}

// The history changed outside the program and read again by the entry
// form: the win entries follow it, and in a further round of the same
// announcement the totals tab in sight follows them; after the file was cut,
// the frame shows the new last draw, never one past the end.
TEST_F(Follow, AHistoryEditedOutsideReachesTheTotalsAndTheFrame) {
    selectTab(app::kTabTotals);
    auto totalsRow = [&](int row) {
        QStringList cells;
        for (int c = 1; c <= 9; ++c) cells << cell("MSFlexGrid2", row, c);
        return cells.join(QLatin1Char('|'));
    };
    const QString before = totalsRow(2);
    ASSERT_TRUE(before.startsWith(QString::fromStdString(form->combinationTable().cell(2, 1))));
    ASSERT_FALSE(before.contains(QStringLiteral("1401")));
    // Draw 1401 repeats row 2's numbers.
    editHistory(-1, {"第1401回=" + form->combinationTable().cell(2, 1) + ", 2"});
    openAndCancelEntry();
    EXPECT_TRUE(totalsRow(2).contains(QStringLiteral("1401"))) << totalsRow(2).toStdString();
    EXPECT_NE(totalsRow(2), before);

    // Cut to 1300 draws in an editor: the frame that showed draw 1400 now
    // shows draw 1300, and the selector ends there.
    editHistory(1300);
    openAndCancelEntry();
    EXPECT_EQ(label("Label3_0"), QStringLiteral("1300"));
    EXPECT_EQ(label("Label1"), QStringLiteral("第1300回:") + QString::fromStdString(form->state().history.entry(1300)));
    ASSERT_FALSE(form->state().history.entry(1300).empty());
    auto* selector = find<QScrollBar>(QStringLiteral("HScroll1"));
    EXPECT_EQ(selector->maximum(), 1300);
    selector->setValue(selector->maximum());
    EXPECT_EQ(label("Label3_0"), QStringLiteral("1"));
}

TEST_F(Follow, UndoAndRedoRedrawTheTabInSight) {
    const QString first = QString::fromStdString(form->combinationTable().cell(1, 1));
    struct View {
        int tab;
        std::function<QString()> shows;  // what the tab shows of the table's first row
    };
    const View views[] = {{app::kTabOdds, [&] { return label("oddsCombinations"); }},
                          {app::kTabMarkSheet, [&] { return cell("MSFlexGrid3", 1, 1); }},
                          {app::kTabTotals, [&] { return cell("MSFlexGrid2", 1, 1); }}};
    for (const View& v : views) {
        SCOPED_TRACE(v.tab);
        selectTab(v.tab);
        const QString loaded = v.shows();
        allClear();
        selectTab(v.tab);
        const QString empty = v.shows();
        ASSERT_NE(empty, loaded);
        trigger(QStringLiteral("mnuundo"));
        EXPECT_EQ(v.shows(), loaded);
        trigger(QStringLiteral("mnuredo"));
        EXPECT_EQ(v.shows(), empty);
        trigger(QStringLiteral("mnuundo"));
        EXPECT_EQ(v.shows(), loaded);
    }
    EXPECT_EQ(cell("MSFlexGrid2", 1, 1), first);
}

TEST_F(Follow, SelectedRowsStayThroughPopUpCommandsAndShiftExtendsThem) {
    struct View {
        int tab;
        const char* grid;
        const char* copy;
        const char* sort;  // a pop-up command that leaves the rows where they are
    };
    for (const View& v : {View{app::kTabWins, "MSFlexGrid1", "pmnucopy", "pmnucancell"},
                          View{app::kTabTotals, "MSFlexGrid2", "pmnucopy2", "pmnucancell2"},
                          View{app::kTabPredraw, "MSFlexGrid5", "pmnucopy3", "pmnucancell3"}}) {
        SCOPED_TRACE(v.grid);
        selectTab(v.tab);
        press(v.grid, Qt::LeftButton, 2, 1);
        press(v.grid, Qt::LeftButton, 4, 1, Qt::ShiftModifier);
        QString rows;
        for (int r = 2; r <= 4; ++r) rows += cell(v.grid, r, 1) + QStringLiteral("\r\n");
        popupChoices = {QString::fromLatin1(v.copy)};
        press(v.grid, Qt::RightButton, 3, 1);
        EXPECT_EQ(copied(), rows);
        // Another command from the menu, then copy again: the same three rows.
        popupChoices = {QString::fromLatin1(v.sort), QString::fromLatin1(v.copy)};
        press(v.grid, Qt::RightButton, 2, 1);
        QGuiApplication::clipboard()->clear();
        press(v.grid, Qt::RightButton, 4, 1);
        EXPECT_EQ(copied(), rows);
    }
}

}  // namespace
}  // namespace kazuban::testing
