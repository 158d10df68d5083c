// ◇当選番号 → 取り込み…: several results files chosen at once, what would
// change shown before anything is written, the views that follow the new
// draws, and the back-test in yen on the tab 確率・検証. (Refusals take
// the path of the fetch's, tested in fetch_test.cpp.)
#include <QFile>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

#include "analysis/payout.h"
#include "platform/line_file.h"
#include "support/bank_files.h"
#include "window_fixture.h"

namespace kazuban::testing {
namespace {

const char* const kHeader =
    "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,BONUS数字,1等口数,2等口数,3等口数,4等口数,"
    "1等賞金,2等賞金,3等賞金,4等賞金\n";

class Import : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        copyDemo();
        ASSERT_TRUE(start());
        history = read("atarimgrp.txt");
    }
    std::string read(const char* name) const {
        return platform::readFileBytes(dir.filePath(QLatin1String(name)).toStdString());
    }
    std::string write(const char* name, const std::string& bytes) const {
        const QString path = dir.filePath(QLatin1String(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path.toStdString();
    }
    void importFiles(const std::vector<std::string>& files, int answer) {
        platform.boxes.clear();
        platform.answers = {answer};
        platform.openManyAnswers = {files};
        trigger(QStringLiteral("mnuatorikomi"));
    }
    QString payoutCell(int row, int col) const {
        return find<QTableWidget>(QStringLiteral("payoutTable"))->item(row, col)->text();
    }
    std::string history;
};

TEST_F(Import, SeveralFilesAreShownThenWrittenOnOkAndEveryViewFollows) {
    loadSampleCombinations();  // row 1 is draw 1402's numbers
    selectTab(app::kTabCharts);
    const std::string all = write("all.csv", std::string(kHeader) +
                                                 "1399,2024/6/4,5,22,26,29,30,15\n"
                                                 "1400,2024/6/11,01,14,15,17,29,30\n"
                                                 "1401,2024-06-18,3,9,14,22,30,17\n");
    BankDraw d1402{1402, {31, 21, 13, 11, 5, 1}, 2024, 6, 25};
    const std::string bank = write("A1011402.CSV", platform::encodeCp932(bankBlock(d1402)));

    // The file dialog cancelled: not a word. Then the files, and Cancel.
    importFiles({}, platform::kOk);
    EXPECT_TRUE(platform.boxes.empty());
    importFiles({all, bank}, platform::kCancel);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].buttons, platform::Buttons::OkCancel);
    EXPECT_EQ(platform.boxes[0].text,
              "第1401回～第1402回（2 回）を atarimgrp.txt に追加します。\n"
              "4 回分の日付・払戻金を atarikin.csv に書き込みます。\n"
              "すでにある 2 回は当選番号が一致しました。\n\n"
              "第1401回～第1402回を追加します。よろしいですか？");
    EXPECT_EQ(read("atarimgrp.txt"), history);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("atarikin.csv"))));

    importFiles({all, bank}, platform::kOk);
    EXPECT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(read("atarimgrp.txt"),
              history + platform::encodeCp932("第1401回= 3, 9,14,22,30,17\r\n第1402回= 5,11,13,21,31, 1\r\n"));
    EXPECT_EQ(read("atarikin.csv"),
              platform::encodeCp932("回,日付,1等口数,2等口数,3等口数,4等口数,1等賞金,2等賞金,3等賞金,4等賞金\r\n") +
                  "1399,2024/06/04,,,,,,,,\r\n1400,2024/06/11,,,,,,,,\r\n1401,2024/06/18,,,,,,,,\r\n"
                  "1402,2024/06/25,0,5,150,4000,0,150000,10000,1000\r\n");
    // The frame, the win entries and the statistics in sight follow at once.
    EXPECT_EQ(label("Label1"), QStringLiteral("第1402回: 5,11,13,21,31, 1"));
    EXPECT_EQ(label("Label3_1"), QStringLiteral(" 1"));
    EXPECT_EQ(label("LabelStatsNote"), QStringLiteral("第1回～第1402回の 1402 回を集計"));
    bool won = false;
    for (int c = 2; c < form->combinationTable().cols(); ++c)
        won = won || form->combinationTable().cell(1, c) == "1402=1";
    EXPECT_TRUE(won);
}

TEST_F(Import, TheBacktestInYenFollowsThePayoutsAndTheRange) {
    // Row 1 won grade 1 in draw 1400, row 2 grade 2 in draw 1399; neither
    // shares three numbers with the other draw.
    form->combinationTable().setCell(1, 1, " 1,14,15,17,29");
    form->combinationTable().setCell(2, 1, " 5,15,22,26,29");
    selectTab(app::kTabOdds);
    find<QTabWidget>(QStringLiteral("backtestViews"))->setCurrentIndex(1);
    find<QSpinBox>(QStringLiteral("oddsFrom"))->setValue(1398);
    EXPECT_FALSE(find<QTableWidget>(QStringLiteral("payoutTable"))->isVisible());
    EXPECT_EQ(label("payoutSummary").toStdString(),
              std::string("払戻金のデータ（atarikin.csv）がありません。") + analysis::kPayoutDataHint);

    // Draw 1398 has its date only: it is left out.
    importFiles({write("pay.csv", std::string(kHeader) +
                                      "1398,2024/5/28,15,16,26,27,31,12,,,,,,,,\n"
                                      "1399,2024/6/4,5,22,26,29,30,15,0,2,100,3000,該当なし,123400,10000,1000\n"
                                      "1400,2024/6/11,1,14,15,17,29,30,1,3,120,3500,9876500,150000,9000,900\n")},
                platform::kOk);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_TRUE(platform.boxes[0].text.ends_with("\natarikin.csv に書き込みます。よろしいですか？"));
    EXPECT_TRUE(find<QTableWidget>(QStringLiteral("payoutTable"))->isVisible());
    const QStringList grade1{payoutCell(0, 0), payoutCell(0, 1)}, grade2{payoutCell(1, 0), payoutCell(1, 1)};
    EXPECT_EQ(grade1, QStringList({"1", "9,876,500円"}));
    EXPECT_EQ(grade2, QStringList({"1", "123,400円"}));
    EXPECT_EQ(payoutCell(3, 1), QStringLiteral("0円"));
    EXPECT_EQ(payoutCell(4, 1), QStringLiteral("9,999,900円"));
    const QString summary = label("payoutSummary");
    EXPECT_TRUE(
        summary.startsWith(QStringLiteral("払戻金のわかる 2 回：購入額 800円、払戻 9,999,900円、還元率 1249987.5%（")))
        << summary.toStdString();
    EXPECT_TRUE(summary.endsWith(QStringLiteral("払戻金のデータがない 1 回は除きました。")));

    // Another range: the figures follow.
    find<QSpinBox>(QStringLiteral("oddsFrom"))->setValue(1400);
    EXPECT_EQ(payoutCell(4, 1), QStringLiteral("9,876,500円"));
    EXPECT_TRUE(label("payoutSummary").startsWith(QStringLiteral("払戻金のわかる 1 回：購入額 400円")));
}

}  // namespace
}  // namespace kazuban::testing
