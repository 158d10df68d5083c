// The inner tab "人気と払戻金" of "確率・検証" through the real widgets: the
// figures of the table's rows from the published winner counts, sorting,
// the copy rows, the chart, and the message without atarikin.csv.
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "analysis/popularity.h"
#include "history/payout_table.h"
#include "history/result_files.h"
#include "ui/charts.h"
#include "ui/popularity_tab.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

constexpr int kOddsTab = 5;

class PopularityTabTest : public WindowTest {
protected:
    void loadLines(const QStringList& lines) {
        QFile f(dir.filePath(QStringLiteral("combos.txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
        f.close();
        platform.openAnswers.push_back(f.fileName().toStdString());
        trigger(QStringLiteral("mnudopen"));
    }
    void showInnerTab() {
        selectTab(kOddsTab);
        auto* views = find<QTabWidget>(QStringLiteral("backtestViews"));
        const int index = views->indexOf(find<QWidget>(QStringLiteral("popularityTab")));
        ASSERT_EQ(views->tabText(index), QStringLiteral("人気と払戻金"));
        views->setCurrentIndex(index);
    }
    QTableWidget* table() { return find<QTableWidget>(QStringLiteral("popularityTable")); }
    QString item(int row, int col) { return table()->item(row, col)->text(); }
};

TEST_F(PopularityTabTest, ShowsEachRowsValueAndSortsByIt) {
    copyDemo();
    writePublishedPayouts();
    ASSERT_TRUE(start());
    loadLines({QStringLiteral(" 6,12,18,24,30"), QStringLiteral(" 3, 8,14,19,27"), QStringLiteral(" 1, 2, 3, 4, 5")});
    showInnerTab();
    EXPECT_TRUE(platform.boxes.empty());
    const QString summary = label("popularitySummary");
    EXPECT_TRUE(summary.startsWith(QStringLiteral("当選口数の分かる 1,000 回（第1000回まで）からの推定です。")))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("当たる確率はどの組合せも同じ")));

    // The rows in table order, the figures those of the model the CLI prints.
    ASSERT_EQ(table()->rowCount(), 3);
    const analysis::PopularityFigures& f = form->popularity().figures();
    ASSERT_EQ(f.rows.size(), 3u);
    EXPECT_EQ(item(0, 0), QStringLiteral("1"));
    EXPECT_EQ(item(0, 1), QStringLiteral("6 12 18 24 30"));
    EXPECT_EQ(item(0, 2).toStdString(), analysis::popularityText(f.rows[0].popularity));
    EXPECT_GT(f.rows[0].popularity, 10);
    EXPECT_EQ(item(0, 3).toStdString(), analysis::roundYenText(f.rows[0].prize1));
    EXPECT_EQ(item(0, 4).toStdString(), analysis::centsYenText(f.rows[0].expectedYen));
    EXPECT_EQ(table()->horizontalHeaderItem(4)->text().toStdString(),
              "期待払戻額/200円\n（平均 " + analysis::centsYenText(f.averageYen) + "）");
    EXPECT_TRUE(summary.contains(QString::fromStdString(analysis::centsYenText(f.averageYen))));

    // A click on a header sorts by the figure, not the text ("×10.5" after
    // "×9.87"); the most popular pays the least back.
    QHeaderView* header = table()->horizontalHeader();
    const auto clickHeader = [&](int col) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(col) + 5, header->height() / 2));
    };
    const auto figure = [&](int row, int col) {
        return item(row, col).remove(QChar(0xD7)).remove(QChar(',')).section(QChar(0x5186), 0, 0).toDouble();
    };
    for (int col : {2, 3, 4}) {
        clickHeader(col);
        const bool up = header->sortIndicatorOrder() == Qt::AscendingOrder;
        for (int r = 1; r < 3; ++r)
            EXPECT_TRUE(up ? figure(r - 1, col) <= figure(r, col) : figure(r - 1, col) >= figure(r, col)) << col;
        const int famous = col == 2 ? (up ? 2 : 0) : (up ? 0 : 2);
        EXPECT_EQ(item(famous, 1), QStringLiteral("6 12 18 24 30")) << col;
    }

    // Copied rows are the rows as shown; the menus of the other tabs are there.
    const auto* tab = find<ui::PopularityTab>(QStringLiteral("popularityTab"));
    const auto rows = tab->tableRows(false);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][1], item(0, 1).toStdString());
    EXPECT_NE(find<QMenu>(QStringLiteral("pmnupopuppopularity")), nullptr);
    EXPECT_NE(find<QMenu>(QStringLiteral("pmnupopuppopularitychart")), nullptr);
    auto* chart = find<ui::Chart>(QStringLiteral("popularityChart"));
    EXPECT_TRUE(chart->isVisible());
    // The chart: all sets as a line over the powers of 4, the three rows as
    // points at their popularity, under the top of the line.
    const auto series = chart->series();
    ASSERT_EQ(series.size(), 2u);
    EXPECT_EQ(series[0].kind, ui::Chart::Series::Kind::Line);
    EXPECT_EQ(series[0].name, QStringLiteral("全組合せ"));
    EXPECT_EQ(series[1].kind, ui::Chart::Series::Kind::Points);
    ASSERT_EQ(series[1].points.size(), 3u);
    double top = 0;
    for (const QPointF& p : series[0].points) top = std::max(top, p.y());
    std::vector<double> shown, expected;
    for (const QPointF& p : series[1].points) {
        shown.push_back(p.x());
        EXPECT_LE(p.y(), top);
    }
    for (const analysis::PopularityRow& r : f.rows) expected.push_back(std::clamp(r.popularity, 0.25, 64.0));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected);
    const auto x = chart->axis(Qt::Horizontal);
    EXPECT_EQ(x.labels, QStringList({"0.25", "1", "4", "16", "64"}));
    EXPECT_GE(chart->axis(Qt::Vertical).upper, top);

    // Another file loaded in place of the rows: back on the tab, its rows.
    platform.answers = {platform::kYes};
    loadLines({QStringLiteral(" 9,15,20,26,31")});
    showInnerTab();
    ASSERT_EQ(table()->rowCount(), 1);
    EXPECT_EQ(item(0, 1), QStringLiteral("9 15 20 26 31"));
}

TEST_F(PopularityTabTest, WithoutWinnerCountsSaysHowToGetThem) {
    copyDemo();
    ASSERT_TRUE(start());
    loadLines({QStringLiteral(" 6,12,18,24,30")});
    showInnerTab();
    EXPECT_EQ(label("popularitySummary").toStdString(), analysis::kNoPayoutFileMessage);
    EXPECT_EQ(table()->rowCount(), 0);
    EXPECT_TRUE(platform.boxes.empty());
}

}  // namespace
}  // namespace kazuban::testing
