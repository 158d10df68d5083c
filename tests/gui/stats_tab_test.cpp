// The tab "統計グラフ" through the real widgets.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "modal.h"
#include "platform/line_file.h"
#include "support/cli_run.h"
#include "ui/charts.h"
#include "ui/stats_tab.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

class StatsTabTest : public WindowTest {
protected:
    void openTab() {
        find<QTabWidget>(QStringLiteral("SSTab1"))->setCurrentWidget(find<QWidget>(QStringLiteral("StatsTab")));
    }
    ui::StatsTab* tab() { return find<ui::StatsTab>(QStringLiteral("StatsTab")); }
    QTableView* table() { return find<QTableView>(QStringLiteral("TableStats")); }
    QString note() { return find<QLabel>(QStringLiteral("LabelStatsNote"))->text(); }
    void chooseAnalysis(int a) { find<QComboBox>(QStringLiteral("ComboAnalysis"))->setCurrentIndex(a); }
    void chooseWindow(const QString& caption) {
        auto* box = find<QComboBox>(QStringLiteral("ComboWindow"));
        const int i = box->findText(caption);
        ASSERT_GE(i, 0) << caption.toStdString();
        box->setCurrentIndex(i);
    }
    // The table's rows in the order shown, with the full figures that copy
    // and CSV take, as report lines: "1,203,45,225.806452".
    QStringList rowsAsLines() { return asLines(tab()->shownRows(false)); }
    QStringList testRowsAsLines() { return asLines(tab()->testRows(false)); }
    static QStringList asLines(const std::vector<std::vector<std::string>>& rows) {
        QStringList out;
        for (const auto& row : rows) {
            QStringList cells;
            for (const std::string& c : row) cells << QString::fromStdString(c);
            out << cells.join(QLatin1Char(','));
        }
        return out;
    }
    // Starts on a history of these lines (and the demo's Kazuban.ini).
    void startWith(const std::vector<std::string>& lines) {
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(KAZUBAN_DEMO_DIR "/Kazuban.ini"), dir.filePath(QStringLiteral("Kazuban.ini"))));
        std::string text;
        for (const auto& l : lines) text += l + "\r\n";
        const std::string bytes = platform::encodeCp932(text);
        QFile f(dir.filePath(QStringLiteral("atarimgrp.txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        f.close();
        ASSERT_TRUE(start());
    }
    void clickHeader(int column) {
        QHeaderView* h = table()->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() / 2));
    }
};

// Each section of a report as its row lines.
QStringList sectionRows(const std::string& report, const QString& name) {
    const QStringList lines = QString::fromStdString(report).split(QLatin1Char('\n'));
    const qsizetype at = lines.indexOf(QLatin1Char('[') + name + QLatin1Char(']'));
    QStringList rows;
    for (qsizetype i = at + 2;
         at >= 0 && i < lines.size() && !lines[i].startsWith(QLatin1Char('[')) && !lines[i].isEmpty(); ++i)
        rows << lines[i];
    return rows;
}

// A report's lines; in a randomness report lines 2 to 9 are the tests,
// line 10 the Holm-adjusted p-value.
QStringList linesOf(const std::string& report) { return QString::fromStdString(report).split(QLatin1Char('\n')); }
// A line without its first cell: the figures the tab and the report share.
QString figures(const QString& line) { return line.section(QLatin1Char(','), 1); }

TEST_F(StatsTabTest, ShowsTheReportsFiguresForEveryAnalysisAndWindow) {
    copyDemo();
    ASSERT_TRUE(start());
    openTab();
    EXPECT_EQ(note(), QStringLiteral("第1回～第1400回の 1400 回を集計"));
    const char* names[] = {"frequency", "odd_even", "sum", "range", "consecutive", "groups", "carry_over", "gaps"};
    const std::string all = golden("analysis.txt"), last100 = golden("analysis-last100.txt");
    for (int a = 0; a < 8; ++a) {
        chooseAnalysis(a);
        EXPECT_EQ(rowsAsLines(), sectionRows(all, QLatin1String(names[a]))) << names[a];
    }
    // On screen an expectation reads as a player reads it; counts stay whole.
    chooseAnalysis(0);
    EXPECT_EQ(table()->model()->index(0, 3).data().toString(), QStringLiteral("225.8"));
    EXPECT_EQ(table()->model()->index(0, 1).data().toString(), QStringLiteral("203"));
    chooseWindow(QStringLiteral("直近100回"));
    EXPECT_EQ(note(), QStringLiteral("第1301回～第1400回の 100 回を集計"));
    for (int a = 7; a >= 0; --a) {
        chooseAnalysis(a);
        EXPECT_EQ(rowsAsLines(), sectionRows(last100, QLatin1String(names[a]))) << names[a];
    }

    // The chart of the frequency: main and bonus counts as bars, the
    // expectation as a line over the 31 numbers; gaps have no expectation.
    auto* chart = find<ui::Chart>(QStringLiteral("ChartStats"));
    using Kind = ui::Chart::Series::Kind;
    auto series = chart->series();
    ASSERT_EQ(series.size(), 3u);
    EXPECT_EQ(series[0].kind, Kind::Bars);
    EXPECT_EQ(series[1].kind, Kind::Bars);
    ASSERT_EQ(series[0].points.size(), 31u);
    EXPECT_EQ(series[0].points[10], QPointF(10, 17));  // number 11 over the last 100 draws
    EXPECT_EQ(series[2].kind, Kind::Line);
    EXPECT_EQ(series[2].points.size(), 31u);
    EXPECT_EQ(chart->title(), QStringLiteral("出現回数（第1301回～第1400回）"));
    // Every number named under its bars, and the counts' axis over the largest.
    const auto x = chart->axis(Qt::Horizontal);
    ASSERT_EQ(x.labels.size(), 31);
    EXPECT_EQ(x.labels.front(), QStringLiteral("1"));
    EXPECT_EQ(x.labels.back(), QStringLiteral("31"));
    double top = 0;
    for (const auto& s : {series[0], series[1]})
        for (const QPointF& p : s.points) top = std::max(top, p.y());
    EXPECT_GE(chart->axis(Qt::Vertical).upper, top);
    chooseAnalysis(7);  // the current and longest gaps, no expectation
    series = chart->series();
    ASSERT_EQ(series.size(), 2u);
    EXPECT_EQ(series[1].kind, Kind::Bars);

    // A number typed in; one beyond the history is all of it.
    chooseWindow(QStringLiteral("回数を指定"));
    auto* spin = find<QSpinBox>(QStringLiteral("SpinLast"));
    EXPECT_TRUE(spin->isEnabled());
    spin->setValue(7);
    EXPECT_EQ(note(), QStringLiteral("第1394回～第1400回の 7 回を集計"));
    spin->setValue(5000);
    EXPECT_EQ(form->stats().stats().draws, 1400);
}

// Over a few draws the counts are small: the counts' axis still ticks at
// whole numbers only, each read once, and reaches over every bar.
TEST_F(StatsTabTest, SmallCountsGetWholeTicksOnly) {
    copyDemo();
    ASSERT_TRUE(start());
    openTab();
    chooseWindow(QStringLiteral("回数を指定"));
    auto* chart = find<ui::Chart>(QStringLiteral("ChartStats"));
    for (const int draws : {1, 2, 3, 7, 30}) {
        find<QSpinBox>(QStringLiteral("SpinLast"))->setValue(draws);
        for (int a = 0; a < analysis::kAnalysisCount; ++a) {
            chooseAnalysis(a);
            const auto y = chart->axis(Qt::Vertical);
            EXPECT_TRUE(wholeTicks(y)) << draws << " draws, analysis " << a;
            for (const auto& s : chart->series())
                for (const QPointF& p : s.points) EXPECT_LE(p.y(), y.upper) << draws << " draws, analysis " << a;
        }
    }
}

TEST_F(StatsTabTest, FrequencyAndGapsSortOnAHeaderClickTheOthersDoNot) {
    copyDemo();
    ASSERT_TRUE(start());
    openTab();
    clickHeader(1);  // 本数字: the most frequent first
    QStringList rows = rowsAsLines();
    EXPECT_EQ(rows.first(), QStringLiteral("11,265,54,225.806452"));
    clickHeader(1);  // again: the least frequent first, equal counts in number order
    rows = rowsAsLines();
    EXPECT_EQ(rows[0], QStringLiteral("6,196,51,225.806452"));
    EXPECT_EQ(rows[1], QStringLiteral("15,196,58,225.806452"));
    // The sort stays while the window changes.
    chooseWindow(QStringLiteral("直近10回"));
    EXPECT_LE(rowsAsLines()[0].section(QLatin1Char(','), 1, 1).toInt(),
              rowsAsLines()[30].section(QLatin1Char(','), 1, 1).toInt());
    clickHeader(0);
    EXPECT_TRUE(rowsAsLines()[0].startsWith(QStringLiteral("1,")));

    chooseAnalysis(7);  // gaps: the longest current gap first
    clickHeader(1);
    const QStringList gaps = rowsAsLines();
    for (int r = 1; r < gaps.size(); ++r)
        EXPECT_GE(gaps[r - 1].section(QLatin1Char(','), 1, 1).toInt(), gaps[r].section(QLatin1Char(','), 1, 1).toInt());

    chooseAnalysis(1);  // odd/even keeps its order
    const QStringList before = rowsAsLines();
    clickHeader(1);
    EXPECT_EQ(rowsAsLines(), before);
}

TEST_F(StatsTabTest, CopyCsvAndPngFromTheRightClickMenus) {
    copyDemo();
    ASSERT_TRUE(start());
    openTab();
    chooseAnalysis(5);  // groups

    // A right click opens the table's menu.
    QContextMenuEvent press(QContextMenuEvent::Mouse, QPoint(20, 20), table()->viewport()->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(table()->viewport(), &press);
    QMenu* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    EXPECT_EQ(shown, tab()->tableMenu());
    if (shown) shown->close();

    // Copy: the selected rows, or every row when none is selected.
    table()->selectRow(1);
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      table()->visualRect(table()->model()->index(2, 0)).center());
    tab()->tableMenu()->findChild<QAction*>(QStringLiteral("pmnucopystats"))->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("6-10\t1053\t1129.032258\r\n11-15\t1129\t1129.032258\r\n"));
    table()->clearSelection();
    tab()->tableMenu()->findChild<QAction*>(QStringLiteral("pmnucopystats"))->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().count(QStringLiteral("\r\n")), 6);

    // CSV: the whole table with its captions, cp932, CR LF.
    const std::string csv = dir.filePath(QStringLiteral("groups.csv")).toStdString();
    platform.saveAnswers = {csv};
    tab()->tableMenu()->findChild<QAction*>(QStringLiteral("pmnusavestats"))->trigger();
    const std::string bytes = platform::readFileBytes(csv);
    EXPECT_EQ(bytes.substr(0, 40),
              platform::encodeCp932("区分,本数字の個数,期待値\r\n1-5,1126,1129.032258\r\n").substr(0, 40));
    EXPECT_EQ(text::splitLines(bytes).size(), 7u);
    EXPECT_TRUE(platform.boxes.empty());

    // A save that fails says so and writes nothing.
    platform.saveAnswers = {dir.filePath(QStringLiteral("no/such/folder/x.csv")).toStdString()};
    tab()->tableMenu()->findChild<QAction*>(QStringLiteral("pmnusavestats"))->trigger();
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_NE(platform.boxes[0].text.find("見つかりません"), std::string::npos);

    // PNG of the chart.
    const std::string png = dir.filePath(QStringLiteral("chart.png")).toStdString();
    platform.saveAnswers = {png};
    tab()->chartMenu()->findChild<QAction*>(QStringLiteral("pmnusavechart"))->trigger();
    EXPECT_EQ(platform::readFileBytes(png).substr(0, 4), "\x89PNG");
}

TEST_F(StatsTabTest, EachAnalysisShowsItsTestUnderTheChartAsTheCommandLineFiguresIt) {
    copyDemo();
    ASSERT_TRUE(start());
    openTab();
    EXPECT_EQ(label("LabelTestSentence"),
              QStringLiteral("この偏りは、無作為な抽せんでも 100 回中 4 回は起こる程度です。"));
    // The report's line of each analysis with a test, in the selector's order.
    const int lineOf[] = {2, 4, 5, 6, 7, 9, 8};
    for (const char* file : {"randomness.txt", "randomness-last100.txt"}) {
        if (std::string(file) != "randomness.txt") chooseWindow(QStringLiteral("直近100回"));
        const QStringList lines = linesOf(golden(file));
        for (int a = 6; a >= 0; --a) {
            chooseAnalysis(a);
            const QStringList f = lines[lineOf[a]].split(QLatin1Char(','));
            const bool groups = a == 5;  // only simulated: its chi-square is approximate
            EXPECT_EQ(label("LabelTest"),
                      QStringLiteral("検定：χ² = %1%2　自由度 %3　p 値 %4%5　判定：%6")
                          .arg(f[1], groups ? QStringLiteral("（近似）") : QString(), f[2], f[groups ? 4 : 3],
                               groups ? QStringLiteral("（シミュレーション）") : QString(), f[5]))
                << file << a;
            EXPECT_TRUE(label("LabelTestSentence").startsWith(QStringLiteral("この偏りは、無作為な抽せんでも ")));
        }
    }
    EXPECT_EQ(label("LabelTestSentence"),
              QStringLiteral("この偏りは、無作為な抽せんでも 100 回中 1 回は起こる程度です。"));
    chooseAnalysis(7);  // gaps have no test
    EXPECT_EQ(label("LabelTest"), QStringLiteral("検定：出現間隔には、偶然かどうかの検定はありません。"));
    EXPECT_FALSE(find<QLabel>(QStringLiteral("LabelTestSentence"))->isVisible());
}

TEST_F(StatsTabTest, AllTestsShowTheEightRowsAndWhatManyTestsDoByChanceAndFollowANewDraw) {
    copyDemo();
    ASSERT_TRUE(start());
    openTab();
    const QString frequency = label("LabelTest");  // computed and kept
    chooseAnalysis(analysis::kAnalysisCount);
    EXPECT_FALSE(find<QWidget>(QStringLiteral("ChartStats"))->isVisible());
    auto* tests = find<QTableView>(QStringLiteral("TableTests"));
    const QStringList report = linesOf(golden("randomness.txt")), rows = testRowsAsLines();
    ASSERT_EQ(rows.size(), 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(figures(rows[i]), figures(report[i + 2]));
    EXPECT_TRUE(rows[7].startsWith(QStringLiteral("６分割（近似）,")));
    EXPECT_EQ(tests->model()->index(7, 3).data().toString(), QStringLiteral("－"));
    EXPECT_TRUE(label("LabelManyTests").contains(QStringLiteral("3 回に 1 回")));
    EXPECT_TRUE(
        label("LabelManyTests").contains(figures(report[10]) + QStringLiteral(" で、まとめて見れば偶然の範囲内")));

    // Its own right-click menu saves the whole table as CSV (cp932).
    const std::string csv = dir.filePath(QStringLiteral("tests.csv")).toStdString();
    platform.saveAnswers = {csv};
    tab()->testsMenu()->findChild<QAction*>(QStringLiteral("pmnusavetests"))->trigger();
    const std::string head = platform::encodeCp932(
        "検定,統計量,自由度,p 値（カイ二乗）,p 値（シミュレーション）,判定\r\n出現回数（本数字）,44.552,");
    EXPECT_EQ(platform::readFileBytes(csv).substr(0, head.size()), head);

    // A draw entered while the tab is in sight: the figures of the command
    // line on the history as it is now, here and under the chart.
    WhenModal enter(
        [](QWidget* dialog) {
            for (int k = 0; k < 5; ++k)
                dialog->findChild<QLineEdit*>(QStringLiteral("TextMain_%1").arg(k))->setText(QString::number(k + 1));
            dialog->findChild<QLineEdit*>(QStringLiteral("TextBonus"))->setText(QStringLiteral("6"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
        },
        "kazuban::ui::DrawEntryDialog");
    trigger(QStringLiteral("mnuanyuryoku"));
    ASSERT_TRUE(enter.worked());
    const TempDir scratch;
    const QStringList now = linesOf(runCli(scratch, dir.path().toStdString(), "randomness").out);
    ASSERT_EQ(now[0], QStringLiteral("draws,1401"));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(figures(testRowsAsLines()[i]), figures(now[i + 2]));
    EXPECT_TRUE(label("LabelManyTests").contains(figures(now[10])));
    chooseAnalysis(0);
    EXPECT_NE(label("LabelTest"), frequency);
    EXPECT_TRUE(label("LabelTest").startsWith(QStringLiteral("検定：χ² = ") + now[2].section(QLatin1Char(','), 1, 1)));

    // One draw allows no test: no figures, no verdict, and the reason.
    chooseAnalysis(analysis::kAnalysisCount);
    chooseWindow(QStringLiteral("回数を指定"));
    find<QSpinBox>(QStringLiteral("SpinLast"))->setValue(1);
    EXPECT_EQ(testRowsAsLines()[0], QStringLiteral("出現回数（本数字）,,,,,検定できません"));
    EXPECT_EQ(tests->model()->index(0, 1).data().toString(), QStringLiteral("－"));
    EXPECT_EQ(label("LabelManyTests"), QStringLiteral("回数が少なすぎるため、検定できません。"));
    // Ten draws allow three tests: the sentence counts those, with the
    // command line's Holm figure over the three.
    find<QSpinBox>(QStringLiteral("SpinLast"))->setValue(10);
    const QStringList ten = linesOf(runCli(scratch, dir.path().toStdString(), "randomness --last 10").out);
    EXPECT_EQ(ten[4], QStringLiteral("odd_even,0.000,0,1.0000,1.0000,検定できません"));
    EXPECT_EQ(testRowsAsLines()[2], QStringLiteral("奇数・偶数,,,,,検定できません"));
    EXPECT_EQ(figures(testRowsAsLines()[1]), figures(ten[3]));
    EXPECT_TRUE(label("LabelManyTests").startsWith(QStringLiteral("3 つの検定をすると、")));
    EXPECT_TRUE(label("LabelManyTests").contains(QStringLiteral("（Holm）は ") + figures(ten[10])));
    find<QSpinBox>(QStringLiteral("SpinLast"))->setValue(1);
    chooseAnalysis(0);
    EXPECT_EQ(label("LabelTest"), QStringLiteral("検定：－"));
    EXPECT_EQ(label("LabelTestSentence"), QStringLiteral("回数が少なすぎるため、この検定はできません。"));
}

TEST_F(StatsTabTest, AStrongBiasReadsAsBiasNeverAsAZeroChance) {
    std::vector<std::string> lines{std::string(kHistoryHeader)};
    for (int d = 1; d <= 60; ++d) lines.push_back("第" + std::to_string(d) + "回= 1, 2, 3, 4, 5, 6");
    startWith(lines);
    openTab();
    EXPECT_EQ(label("LabelTest"), QStringLiteral("検定：χ² = 1800.000　自由度 30　p 値 0.0001 未満　判定：偏りあり"));
    EXPECT_EQ(label("LabelTestSentence"),
              QStringLiteral("この偏りは、無作為な抽せんでは 1 万回に 1 回も起こらない程度です。"));
    chooseAnalysis(analysis::kAnalysisCount);
    // Copy and CSV keep the report's figure.
    EXPECT_TRUE(
        testRowsAsLines()[0].startsWith(QStringLiteral("出現回数（本数字）,1800.000,30,0.0000,0.0001,偏りあり")));
    EXPECT_TRUE(label("LabelManyTests").endsWith(QStringLiteral(" で、まとめて見ても偏りがあります。")));
}

TEST_F(StatsTabTest, SaysHowManyInvalidDrawsWereLeftOut) {
    std::vector<std::string> lines = syntheticHistoryLines(60, 4);
    lines[10] = "第10回=01, 2, 3, 4, 5, 6";  // a leading zero: left out of the statistics
    lines[20] = "第20回= 1, 2, 3, 4, 5";     // too short: refused by the loader too
    startWith(lines);
    openTab();
    EXPECT_EQ(note(), QStringLiteral("第1回～第60回の 58 回を集計（正しくない当選番号 2 回は除いています）"));
}

}  // namespace
}  // namespace kazuban::testing
