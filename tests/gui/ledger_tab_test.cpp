// The tab 購入記録 through the real window: this week's tickets added from
// the combination table, the draw entered, the win in sight at once with
// its deadline, and a prize marked as received.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "ledger/ledger_file.h"
#include "ledger/listing.h"
#include "modal.h"
#include "platform/line_file.h"
#include "ui/ledger_tab.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

class LedgerTab : public WindowTest {
protected:
    std::string ledgerBytes() const {
        const std::string path = dir.filePath(QStringLiteral("kounyu.csv")).toStdString();
        return std::filesystem::exists(path) ? platform::readFileBytes(path) : std::string();
    }
    QString listCell(int row, int col) const {
        auto* list = find<QTableView>(QStringLiteral("ledgerList"));
        return list->model()->index(row, col).data().toString();
    }
    int today = 20261210;
};

TEST_F(LedgerTab, AddEnterSeeTheWinAndMarkItReceived) {
    copyDemo();
    ASSERT_TRUE(start());
    form->ledger().setClock([this] { return today; });
    loadSampleCombinations();  // row 1 is " 5,11,13,21,31"
    int rows = 0;
    while (!form->combinationTable().cell(rows + 1, 1).empty()) ++rows;
    ASSERT_GT(rows, 2);

    // From the table's pop-up menu: all rows, 2 units each, for the next draw.
    {
        WhenModal add(
            [&](QWidget* dialog) {
                auto* d = qobject_cast<ui::LedgerAddDialog*>(dialog);
                ASSERT_NE(d, nullptr);
                EXPECT_EQ(d->findChild<QSpinBox*>(QStringLiteral("ledgerFirstDraw"))->value(), 1401);
                EXPECT_EQ(d->costText(), QStringLiteral("%1 組 × 1 口 × 1 回 = %2円")
                                             .arg(rows)
                                             .arg(QLocale(QLocale::English).toString(rows * 200)));
                d->findChild<QSpinBox*>(QStringLiteral("ledgerUnits"))->setValue(2);
                d->findChild<QSpinBox*>(QStringLiteral("ledgerDraws"))->setValue(3);
                EXPECT_EQ(d->costText(), QStringLiteral("%1 組 × 2 口 × 3 回 = %2円")
                                             .arg(rows)
                                             .arg(QLocale(QLocale::English).toString(rows * 1200)));
                d->findChild<QLineEdit*>(QStringLiteral("ledgerMemo"))->setText(QStringLiteral("今週の分"));
                d->accept();
            },
            "kazuban::ui::LedgerAddDialog");
        popupChoices.push_back(QStringLiteral("pmnuledger"));
        press("MSFlexGrid1", Qt::RightButton, 1, 1);
        EXPECT_TRUE(add.worked());
    }
    const auto written = ledger::parseLedger(ledgerBytes());
    ASSERT_EQ(written.rows.size(), static_cast<std::size_t>(rows * 3));
    EXPECT_EQ(written.rows[0].units, 2);
    EXPECT_EQ(written.rows[0].bought, today);
    EXPECT_EQ(written.rows[0].memo, "今週の分");
    selectTab(app::kTabLedger);
    auto* list = find<QTableView>(QStringLiteral("ledgerList"));
    ASSERT_EQ(list->model()->rowCount(), rows * 3);
    EXPECT_EQ(listCell(0, ledger::kColGrade), QStringLiteral("抽せん待ち"));

    // The draw entered with the entry form: the win is said at once.
    platform.boxes.clear();
    {
        WhenModal enter(
            [](QWidget* dialog) {
                const char* numbers[] = {"5", "11", "13", "21", "31", "1"};
                for (int k = 0; k < 6; ++k)
                    dialog
                        ->findChild<QLineEdit*>(k < 5 ? QStringLiteral("TextMain_%1").arg(k)
                                                      : QStringLiteral("TextBonus"))
                        ->setText(QString::fromLatin1(numbers[k]));
                dialog->findChild<QLineEdit*>(QStringLiteral("TextDate"))->setText(QStringLiteral("2026/12/08"));
                dialog->findChild<QLineEdit*>(QStringLiteral("TextPrize_0"))->setText(QStringLiteral("12000000"));
                dialog->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
            },
            "kazuban::ui::DrawEntryDialog");
        trigger(QStringLiteral("mnuanyuryoku"));
        EXPECT_TRUE(enter.worked());
    }
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_TRUE(platform.boxes[0].text.starts_with("購入記録: 第1401回 1等 2口 24,000,000円"))
        << platform.boxes[0].text;
    EXPECT_TRUE(platform.boxes[0].text.ends_with(" が当たりました。"));
    EXPECT_EQ(listCell(0, ledger::kColGrade), QStringLiteral("1等"));
    EXPECT_EQ(listCell(0, ledger::kColYen), QStringLiteral("24,000,000"));
    EXPECT_EQ(listCell(0, ledger::kColDeadline), QStringLiteral("2027/12/08"));
    EXPECT_EQ(listCell(0, ledger::kColDate), QStringLiteral("2026/12/08"));
    EXPECT_TRUE(find<QLabel>(QStringLiteral("ledgerMoney"))->text().contains(QStringLiteral("当せん金 24,000,000円")));

    // The chart: the balance after each of the three draws, over whole draw numbers.
    auto* chart = find<ui::Chart>(QStringLiteral("ledgerChart"));
    const auto balance = chart->series();
    ASSERT_EQ(balance.size(), 1u);
    const std::vector<QPointF> expected = {QPointF(1401, 24'000'000 - rows * 400),
                                           QPointF(1402, 24'000'000 - rows * 800),
                                           QPointF(1403, 24'000'000 - rows * 1200)};
    EXPECT_EQ(balance[0].points, expected);
    const auto x = chart->axis(Qt::Horizontal), y = chart->axis(Qt::Vertical);
    EXPECT_TRUE(wholeTicks(x));
    EXPECT_TRUE(wholeTicks(y));
    EXPECT_LE(x.lower, 1401);
    EXPECT_GE(x.upper, 1403);
    EXPECT_GE(y.upper, 24'000'000);

    // Near the deadline: the caption and the status bar say so.
    auto* tabs = find<QTabWidget>(QStringLiteral("SSTab1"));
    EXPECT_EQ(tabs->tabText(app::kTabLedger), QStringLiteral("購入記録"));
    EXPECT_FALSE(window->statusBar()->isVisible());
    today = 20271201;
    form->ledgerReload();
    EXPECT_TRUE(tabs->tabText(app::kTabLedger).startsWith(QStringLiteral("購入記録 (期限間近 ")));
    EXPECT_TRUE(window->statusBar()->isVisible());
    EXPECT_TRUE(find<QLabel>(QStringLiteral("ledgerStatus"))->text().contains(QStringLiteral("2027/12/08")));
    EXPECT_EQ(listCell(0, ledger::kColDeadline), QStringLiteral("2027/12/08 あと7日"));

    // Only the wins, sorted by prize; the first one marked received by its check box.
    find<QComboBox>(QStringLiteral("ledgerShow"))->setCurrentIndex(1);
    const int wins = list->model()->rowCount();
    EXPECT_GE(wins, 1);
    EXPECT_LT(wins, rows * 3);
    list->sortByColumn(ledger::kColYen, Qt::DescendingOrder);
    EXPECT_EQ(listCell(0, ledger::kColYen), QStringLiteral("24,000,000"));
    const QModelIndex received = list->model()->index(0, ledger::kColReceived);
    ASSERT_TRUE(list->model()->flags(received) & Qt::ItemIsUserCheckable);
    list->model()->setData(received, Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(listCell(0, ledger::kColReceived), QStringLiteral("2027/12/01"));  // the day in the date field
    EXPECT_EQ(ledger::parseLedger(ledgerBytes()).rows[0].received, 20271201);
    find<QComboBox>(QStringLiteral("ledgerShow"))->setCurrentIndex(2);  // 未受取のみ
    EXPECT_EQ(list->model()->rowCount(), wins - 1);

    // Delete asks first; 元に戻す brings the row back.
    find<QComboBox>(QStringLiteral("ledgerShow"))->setCurrentIndex(0);
    const std::string before = ledgerBytes();
    list->selectRow(0);
    platform.answers = {platform::kCancel};
    find<QPushButton>(QStringLiteral("ledgerDelete"))->click();
    EXPECT_EQ(ledgerBytes(), before);
    find<QPushButton>(QStringLiteral("ledgerDelete"))->click();
    EXPECT_EQ(list->model()->rowCount(), rows * 3 - 1);
    EXPECT_EQ(platform.boxes.back().buttons, platform::Buttons::OkCancel);
    find<QPushButton>(QStringLiteral("ledgerUndo"))->click();
    EXPECT_EQ(ledgerBytes(), before);
}

TEST_F(LedgerTab, ABadRowMakesTheLedgerReadOnlyAndSaysWhere) {
    copyDemo();
    const std::string bad = platform::encodeCp932(std::string(ledger::kLedgerHeader) + "\r\n1400,1,2,3,4,40,1,,,\r\n");
    {
        QFile f(dir.filePath(QStringLiteral("kounyu.csv")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bad.data(), static_cast<qint64>(bad.size()));
    }
    ASSERT_TRUE(start());
    EXPECT_TRUE(platform.boxes.empty());  // no message box at start-up
    selectTab(app::kTabLedger);
    auto* problem = find<QLabel>(QStringLiteral("ledgerProblem"));
    EXPECT_TRUE(problem->isVisible());
    EXPECT_TRUE(problem->text().contains(QStringLiteral("kounyu.csv の 2 行目: 数字5「40」")));
    EXPECT_FALSE(find<QPushButton>(QStringLiteral("ledgerDelete"))->isEnabled());
    EXPECT_TRUE(window->statusBar()->isVisible());
    EXPECT_EQ(ledgerBytes(), bad);
}

}  // namespace
}  // namespace kazuban::testing
