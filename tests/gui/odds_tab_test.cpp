// The tab "確率・検証" through the real widgets: the figures of a loaded
// table, the range spin boxes, the prize fields, refused rows and the
// progress bar.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <cstdio>

#include "analysis/backtest.h"
#include "ui/charts.h"
#include "window_fixture.h"

#if defined(__SANITIZE_ADDRESS__)
#define KAZUBAN_HAS_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KAZUBAN_HAS_LSAN 1
#endif
#endif
#ifdef KAZUBAN_HAS_LSAN
#include <sanitizer/lsan_interface.h>
#endif

namespace kazuban::testing {
namespace {

constexpr int kOddsTab = 5;

class OddsTabTest : public WindowTest {
protected:
    void load(const QString& path) {
        platform.openAnswers.push_back(path.toStdString());
        trigger(QStringLiteral("mnudopen"));
    }
    void loadLines(const QStringList& lines) {
        QFile f(dir.filePath(QStringLiteral("combos.txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
        f.close();
        load(f.fileName());
    }
    QString item(const char* table, int row, int col) {
        return find<QTableWidget>(QLatin1String(table))->item(row, col)->text();
    }
    // Types a number into a spin box and presses Enter, as a user does.
    void typeInto(QWidget* w, const QString& text) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(w, text);
        QTest::keyClick(w, Qt::Key_Return);
    }
    bool figuresEmpty() {
        for (const char* t : {"oddsTable", "backtestTable"})
            for (int r = 0; r < 5; ++r)
                for (int c = 0; c < find<QTableWidget>(QLatin1String(t))->columnCount(); ++c)
                    if (!item(t, r, c).isEmpty()) return false;
        return true;
    }
};

TEST_F(OddsTabTest, ShowsTheOddsAndTheBacktestOfTheTableAndFollowsTheRange) {
    copyDemo();
    ASSERT_TRUE(start());
    EXPECT_EQ(find<QTabWidget>(QStringLiteral("SSTab1"))->tabText(kOddsTab), QStringLiteral("確率・検証"));
    load(QStringLiteral(KAZUBAN_TESTDATA_DIR "/golden/combos200.txt"));
    selectTab(kOddsTab);
    EXPECT_EQ(form->state().SSTab1, kOddsTab);
    EXPECT_TRUE(platform.boxes.empty());

    // 200 rows; 5,200 of the 4,417,686 outcomes give grade 1, 4,334,590 a prize.
    EXPECT_EQ(label("oddsCombinations"), QStringLiteral("組合せ 200 口（異なる組合せ 200 口）"));
    EXPECT_EQ(item("oddsTable", 0, 0), QStringLiteral("1/850"));
    EXPECT_EQ(item("oddsTable", 0, 1), QStringLiteral("0.118%"));
    EXPECT_EQ(item("oddsTable", 3, 1), QStringLiteral("97.81%"));
    EXPECT_EQ(item("oddsTable", 4, 0), QStringLiteral("1/1.02"));  // short of certainty, never "1/1"
    EXPECT_EQ(item("oddsTable", 4, 2), QStringLiteral("3.98"));
    EXPECT_TRUE(label("oddsReturn").contains(QStringLiteral("購入額 40,000円")));

    // The whole history by default: the figures of the expected files.
    EXPECT_EQ(find<QSpinBox>(QStringLiteral("oddsFrom"))->value(), 1);
    EXPECT_EQ(find<QSpinBox>(QStringLiteral("oddsTo"))->value(), 1400);
    EXPECT_EQ(label("oddsDraws"), QStringLiteral("第1回～第1400回の 1,400 回"));
    EXPECT_EQ(item("backtestTable", 2, 0), QStringLiteral("215"));
    EXPECT_EQ(item("backtestTable", 2, 1), QStringLiteral("205.99"));
    EXPECT_EQ(item("backtestTable", 2, 2), QStringLiteral("±14.33"));
    EXPECT_EQ(item("backtestTable", 2, 3), QStringLiteral("0.63"));
    EXPECT_EQ(item("backtestTable", 2, 4), QStringLiteral("偶然の範囲内"));
    EXPECT_EQ(item("backtestTable", 4, 0), QStringLiteral("5,518"));
    EXPECT_EQ(item("backtestTable", 4, 1), QStringLiteral("5,571.62"));

    typeInto(find<QSpinBox>(QStringLiteral("oddsFrom")), QStringLiteral("1001"));
    EXPECT_EQ(form->odds().figures().from, 1001);
    EXPECT_EQ(label("oddsDraws"), QStringLiteral("第1001回～第1400回の 400 回"));
    EXPECT_EQ(item("backtestTable", 2, 0), QStringLiteral("69"));
    EXPECT_EQ(item("backtestTable", 2, 1), QStringLiteral("58.85"));
    EXPECT_EQ(item("backtestTable", 2, 2), QStringLiteral("±7.66"));
    EXPECT_EQ(item("backtestTable", 2, 3), QStringLiteral("1.32"));
    // A range that does not fit is taken as typed and refused with the rule;
    // the figures stay those of the last valid range.
    auto* to = find<QSpinBox>(QStringLiteral("oddsTo"));
    const QString rule = QStringLiteral("回の範囲は 1 ≦ 開始 ≦ 終了 ≦ 1400 で指定してください。");
    for (const char* typed : {"1500", "900"}) {
        typeInto(to, QString::fromLatin1(typed));
        EXPECT_EQ(to->value(), QString::fromLatin1(typed).toInt());
        EXPECT_EQ(label("oddsRangeProblem"), rule);
        EXPECT_TRUE(find<QLabel>(QStringLiteral("oddsRangeProblem"))->isVisible());
        EXPECT_EQ(form->odds().figures().to, 1400);
        EXPECT_EQ(label("oddsDraws"), QStringLiteral("第1001回～第1400回の 400 回"));
    }
    typeInto(to, QStringLiteral("1200"));
    EXPECT_EQ(form->odds().figures().to, 1200);
    EXPECT_FALSE(find<QLabel>(QStringLiteral("oddsRangeProblem"))->isVisible());

    // Back on the tab the chosen range stays.
    selectTab(0);
    selectTab(kOddsTab);
    EXPECT_EQ(label("oddsDraws"), QStringLiteral("第1001回～第1200回の 200 回"));
    EXPECT_FALSE(find<QWidget>(QStringLiteral("backtestChart"))->isHidden());
}

// Rows made when draw N was known cannot be tested honestly on draws 1..N:
// both back-tests say so, and the button moves the range past N.
TEST_F(OddsTabTest, ARangeTheRowsCouldBeMadeFromIsNotedAndTheDrawsAfterAreOffered) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    selectTab(kOddsTab);
    const QString note = QStringLiteral(
        "第1400回までの当選番号を見て作れた組合せなので、この範囲でよく当たっていても予想の力とは言えません。");
    auto* views = find<QTabWidget>(QStringLiteral("backtestViews"));
    auto shown = [&](const QString& suffix) {
        views->setCurrentIndex(suffix.isEmpty() ? 0 : 1);
        return find<QWidget>(QStringLiteral("hindsightNote") + suffix)->isVisible()
                   ? label(("hindsightText" + suffix).toLatin1().constData())
                   : QString();
    };
    auto after = [&](const QString& suffix) { return find<QPushButton>(QStringLiteral("hindsightAfter") + suffix); };
    for (const QString& suffix : {QString(), QStringLiteral("Payout")}) {
        EXPECT_EQ(shown(suffix), note) << suffix.toStdString();
        EXPECT_FALSE(after(suffix)->isEnabled());  // no draw after it yet
    }

    // Ten draws later (added outside, read again by the entry form) the
    // whole range still reaches back; the button takes the ten.
    std::vector<std::string> added;
    for (int k = 1; k <= 10; ++k) {
        char line[64];
        std::snprintf(line, sizeof line, "=%2d,%2d,%2d,%2d,%2d,%2d", k, k + 5, k + 10, k + 15, k + 20, k + 21);
        added.push_back("第" + std::to_string(1400 + k) + "回" + line);
    }
    editHistory(-1, added);
    openAndCancelEntry();
    EXPECT_EQ(find<QSpinBox>(QStringLiteral("oddsTo"))->value(), 1410);
    EXPECT_EQ(shown(QStringLiteral("Payout")), note);
    ASSERT_TRUE(after(QStringLiteral("Payout"))->isEnabled());
    QTest::mouseClick(after(QStringLiteral("Payout")), Qt::LeftButton);
    EXPECT_EQ(find<QSpinBox>(QStringLiteral("oddsFrom"))->value(), 1401);
    EXPECT_EQ(find<QSpinBox>(QStringLiteral("oddsTo"))->value(), 1410);
    EXPECT_EQ(shown(QString()), QString());
    EXPECT_EQ(label("oddsDraws"), QStringLiteral("第1401回～第1410回の 10 回"));
    EXPECT_EQ(shown(QStringLiteral("Payout")), QString());

    // Five rows added now reach back to draw 1410; undone, the rows of
    // before come back with what was known of them.
    platform.answers = {platform::kNo};
    trigger(QStringLiteral("mnu5mk"));
    selectTab(kOddsTab);
    EXPECT_TRUE(shown(QString()).startsWith(QStringLiteral("第1410回までの当選番号を見て")));
    EXPECT_FALSE(after(QString())->isEnabled());
    trigger(QStringLiteral("mnuundo"));
    EXPECT_EQ(label("oddsCombinations"), QStringLiteral("組合せ 30 口（異なる組合せ 30 口）"));
    EXPECT_EQ(shown(QString()), QString());
    EXPECT_EQ(find<QSpinBox>(QStringLiteral("oddsFrom"))->value(), 1401);
}

// Every range typed draws the chart anew: the bands of +-2 standard
// deviations, the expectation at 100 and the actual numbers in proportion,
// and nothing of what it drew before (the plot's count stays; LeakSanitizer
// checks the rest in the builds that have it).
TEST_F(OddsTabTest, RedrawingTheChartLeavesNothingBehind) {
    copyDemo();
    ASSERT_TRUE(start());
    loadSampleCombinations();
    selectTab(kOddsTab);
    auto* chart = find<ui::Chart>(QStringLiteral("backtestChart"));
    using Kind = ui::Chart::Series::Kind;
    const int drawn = chart->plottableCount();
    EXPECT_EQ(drawn, 4);  // the bands' two edges, the expectation, the actual numbers
    for (const char* from : {"2", "3", "4", "5"}) {
        typeInto(find<QSpinBox>(QStringLiteral("oddsFrom")), from);
        EXPECT_EQ(chart->plottableCount(), drawn) << from;
    }
    EXPECT_EQ(label("oddsDraws"), QStringLiteral("第5回～第1400回の 1,396 回"));
    const auto series = chart->series();
    ASSERT_EQ(series.size(), 3u);
    EXPECT_EQ(series[0].kind, Kind::Bands);
    EXPECT_EQ(series[1].kind, Kind::Line);
    EXPECT_EQ(series[2].kind, Kind::Points);
    const analysis::Backtest& backtest = form->odds().figures().backtest;
    ASSERT_EQ(series[2].points.size(), static_cast<std::size_t>(analysis::kGradeRows));
    ASSERT_EQ(series[0].points.size(), 2u * analysis::kGradeRows);
    const auto y = chart->axis(Qt::Vertical);
    for (int g = 0; g < analysis::kGradeRows; ++g) {
        const analysis::GradeBacktest& b = backtest.grade[static_cast<std::size_t>(g)];
        const auto at = static_cast<std::size_t>(g);
        EXPECT_DOUBLE_EQ(series[2].points[at].y(), 100 * static_cast<double>(b.actual) / b.expected) << g;
        EXPECT_DOUBLE_EQ(series[0].points[2 * at].y(), 100 * (b.expected + 2 * b.sd) / b.expected) << g;
        EXPECT_DOUBLE_EQ(series[0].lowPoints[2 * at].y(), std::max(0.0, 100 * (b.expected - 2 * b.sd) / b.expected))
            << g;
        EXPECT_LE(series[0].points[2 * at].y(), y.upper) << g;
        EXPECT_GE(series[0].lowPoints[2 * at].y(), y.lower) << g;
    }
    EXPECT_TRUE(wholeTicks(y));
    const QStringList grades = {QStringLiteral("1等"), QStringLiteral("2等"), QStringLiteral("3等"),
                                QStringLiteral("4等"), QStringLiteral("いずれか")};
    EXPECT_EQ(chart->axis(Qt::Horizontal).labels, grades);
#ifdef KAZUBAN_HAS_LSAN
    window.reset();
    form.reset();
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

TEST_F(OddsTabTest, PrizeFieldsTakeWholeYenUpToTenBillion) {
    copyDemo();
    ASSERT_TRUE(start());
    loadLines({QStringLiteral(" 3, 9,14,22,30")});
    selectTab(kOddsTab);
    EXPECT_TRUE(label("oddsReturn").contains(QStringLiteral("平均 89.8円、還元率 44.9%")));

    auto* first = find<QLineEdit>(QStringLiteral("oddsPrize1"));
    EXPECT_EQ(first->text(), QStringLiteral("10000000"));
    first->setFocus();
    first->clear();
    QTest::keyClicks(first, QStringLiteral("-5x1.5"));  // only the digits get in
    EXPECT_EQ(first->text(), QStringLiteral("515"));
    first->clear();
    QTest::keyClicks(first, QStringLiteral("20000000000"));  // the last digit would pass ten billion
    EXPECT_EQ(first->text(), QStringLiteral("2000000000"));
    first->clear();
    QTest::keyClicks(first, QStringLiteral("10000000000"));
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(form->odds().figures().prizes.yen[0], 10'000'000'000);
    // 10^10 / 169,911 + 136,500,000 / 4,417,686 for the other grades.
    EXPECT_TRUE(label("oddsReturn").contains(QStringLiteral("平均 58,885.2円"))) << label("oddsReturn").toStdString();

    auto* fourth = find<QLineEdit>(QStringLiteral("oddsPrize4"));
    fourth->setFocus();
    fourth->clear();  // left empty: 0 yen
    QTest::keyClick(fourth, Qt::Key_Return);
    EXPECT_EQ(form->odds().figures().prizes.yen[3], 0);
    // The amounts stay for the rest of the run.
    selectTab(0);
    selectTab(kOddsTab);
    EXPECT_EQ(first->text(), QStringLiteral("10000000000"));
    EXPECT_EQ(fourth->text(), QStringLiteral("0"));
}

TEST_F(OddsTabTest, EmptyTableRefusedRowsAndProgress) {
    copyDemo();
    ASSERT_TRUE(start());
    // Empty table: no combination, no chance, no message.
    selectTab(kOddsTab);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(label("oddsCombinations"), QStringLiteral("組合せ 0 口（異なる組合せ 0 口）"));
    EXPECT_EQ(item("oddsTable", 0, 0), QStringLiteral("―"));
    EXPECT_EQ(item("oddsTable", 4, 1), QStringLiteral("0%"));
    EXPECT_EQ(item("backtestTable", 4, 0), QStringLiteral("0"));

    // A row that breaks the table's rules: its classic message, no figures.
    selectTab(0);
    loadLines({QStringLiteral(" 1, 2, 3, 4, 5"), QStringLiteral(" 1, 2, 3, 4,32")});
    platform.boxes.clear();
    selectTab(kOddsTab);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, " データ番号 2 に、入力ミスがあります。");
    EXPECT_EQ(platform.boxes[0].icon, platform::Icon::Critical);
    EXPECT_TRUE(figuresEmpty());
    EXPECT_TRUE(label("oddsReturn").isEmpty());

    // A row that names a number twice: a message naming the row, no figures.
    selectTab(0);
    platform.answers = {platform::kYes};
    loadLines({QStringLiteral(" 1, 2, 3, 4, 5"), QStringLiteral(" 6, 7, 8, 9,10"), QStringLiteral("03, 3,14,22,30")});
    platform.boxes.clear();
    selectTab(kOddsTab);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, " データ番号 3 に、同じ数字が２回あります。");
    EXPECT_EQ(label("oddsCombinations"), QStringLiteral(" データ番号 3 に、同じ数字が２回あります。"));
    EXPECT_TRUE(figuresEmpty());

    // Work past the delay shows the progress bar and hides it at the end.
    selectTab(0);
    platform.answers = {platform::kYes};
    loadSampleCombinations();
    form->odds().setProgressDelay(std::chrono::milliseconds(0));
    platform.progressRanges.clear();
    platform.progressStepsVisible = 0;
    selectTab(kOddsTab);
    ASSERT_FALSE(platform.progressRanges.empty());
    EXPECT_EQ(platform.progressRanges.back(), std::make_pair(0, 100));
    EXPECT_GT(platform.progressStepsVisible, 0);
    EXPECT_FALSE(find<QProgressBar>(QStringLiteral("ProgressBar1"))->isVisible());
    EXPECT_EQ(label("oddsCombinations"), QStringLiteral("組合せ 30 口（異なる組合せ 30 口）"));
}

}  // namespace
}  // namespace kazuban::testing
