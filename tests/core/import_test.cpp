// Results files in their three layouts, the merge into atarimgrp.txt and
// atarikin.csv, and the write that changes both files or neither.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "history/draw_history.h"
#include "history/import.h"
#include "history/result_files.h"
#include "platform/line_file.h"
#include "support/history_gen.h"
#include "text/line_text.h"
#include "text/text.h"

namespace kazuban::history {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

struct Fixture {
    int draw, year, month, day;
    DrawNumbers numbers;  // main numbers in any order, then the bonus
    std::array<std::int64_t, 4> winners, prizes;
};
const Fixture kDraws[] = {
    {7, 1999, 4, 13, {25, 3, 17, 1, 20, 26}, {0, 5, 120, 3400}, {0, 1234567, 12345, 1000}},
    {8, 2019, 5, 7, {2, 11, 12, 21, 30, 28}, {1, 4, 150, 4000}, {9483300, 172300, 12500, 1100}},
    {9, 2024, 12, 3, {9, 13, 22, 30, 2, 17}, {2, 10, 300, 5000}, {4000000, 100000, 10000, 1000}},
};

// The three layouts as sites, the bank and this program write them.
std::string commonCsv() {
    return "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,BONUS数字,1等口数,2等口数,3等口数,4等口数,"
           "1等賞金,2等賞金,3等賞金,4等賞金,キャリーオーバー,EOF\n"
           "7,1999/4/13,01,03,17,20,25,26,該当なし,5,120,3400,該当なし,\"1,234,567円\",12345,1000,0\n"
           "8,2019/05/07,2,11,12,21,30,28,1,4,150,\"4,000\",9483300,172300,12500,1100,0\n"
           "\n"
           "0009,2024-12-03,9,13,22,30,2,17,2,10,300,5000,4000000,100000,10000,1000\n";
}
std::string bankCsv() {
    return "A52\n"
           "第7回ミニロト,数字選択式全国自治宝くじ,平成11年4月13日,東京 宝くじドリーム館\n"
           "支払期間,平成11年4月14日から平成12年4月13日まで\n"
           "本数字,01,03,17,20,25,ボーナス数字,26\n"
           "１等,該当なし,該当なし\n２等,5口,\"1,234,567円\"\n３等,120口,12345円\n４等,\"3,400口\",1000円\n"
           "販売実績額,\"123,456,800円\"\n"
           "１等,申込数字が本数字5個と全て一致\n２等,申込数字が本数字4個と一致し、さらにボーナス数字1個と一致\n"
           "A52\n第8回ミニロト,数字選択式全国自治宝くじ,令和元年5月7日,東京\n本数字,02,11,12,21,30,ボーナス数字,28\n"
           "１等,1口,9483300円\n２等,4口,172300円\n３等,150口,12500円\n４等,4000口,1100円\n"
           "第９回ミニロト,数字選択式全国自治宝くじ,令和6年12月3日,大阪\n本数字,02,09,13,22,30,ボーナス数字,17\n"
           "１等,2口,4000000円\n２等,10口,100000円\n３等,300口,10000円\n４等,5,000口,1,000円\n";
}
std::string ownCsv() {
    return "draw,date,n1,n2,n3,n4,n5,bonus\n7,1999-04-13,1,3,17,20,25,26\n8,2019-05-07,2,11,12,21,30,28\n"
           "9,2024-12-03,2,9,13,22,30,17\n";
}

constexpr const char* kNotALayoutText =
    "ミニロトの当選番号のファイルとして読めません（全回の CSV、みずほ銀行の回別 CSV、"
    "draw,date,n1～n5,bonus のどれでもありません）。";

enum class Encoding { Cp932CrLf, Utf8Lf, Utf8BomCrLf };

std::string encoded(const std::string& utf8, Encoding e) {
    std::string crlf;
    for (char c : utf8) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    if (e == Encoding::Cp932CrLf) return platform::encodeCp932(crlf);
    return e == Encoding::Utf8Lf ? utf8 : "\xEF\xBB\xBF" + crlf;
}

class ResultFileLayouts : public ::testing::TestWithParam<std::tuple<ResultLayout, Encoding>> {};

TEST_P(ResultFileLayouts, ReadBackTheDrawsTheyWereWrittenFrom) {
    const auto [layout, encoding] = GetParam();
    const std::string text = layout == ResultLayout::FullHistory   ? commonCsv()
                             : layout == ResultLayout::BankPerDraw ? bankCsv()
                                                                   : ownCsv();
    const ResultFile file = readResultFile(encoded(text, encoding), "f.csv");
    EXPECT_EQ(file.layout, layout);
    ASSERT_EQ(file.draws.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const Fixture& x = kDraws[i];
        const ResultDraw& d = file.draws[i];
        DrawNumbers sorted = x.numbers;
        std::sort(sorted.begin(), sorted.begin() + 5);
        EXPECT_EQ(d.draw, x.draw);
        EXPECT_EQ(d.numbers, sorted);
        DrawPayout expected;
        expected.fields[kDateField] = x.year * 10000 + x.month * 100 + x.day;
        for (int g = 0; g < 4 && layout != ResultLayout::OwnHistory; ++g) {
            expected.fields[kWinnersField + g] = x.winners[g];
            expected.fields[kPrizeField + g] = x.prizes[g];
        }
        EXPECT_EQ(d.payout.fields, expected.fields) << "draw " << x.draw;
    }
}

INSTANTIATE_TEST_SUITE_P(All, ResultFileLayouts,
                         ::testing::Combine(::testing::Values(ResultLayout::FullHistory, ResultLayout::BankPerDraw,
                                                              ResultLayout::OwnHistory),
                                            ::testing::Values(Encoding::Cp932CrLf, Encoding::Utf8Lf,
                                                              Encoding::Utf8BomCrLf)));

TEST(ResultFiles, RefusalsNameTheFileTheLineAndTheReason) {
    const std::string head = "回号,抽せん日,第1数字,第2数字,第3数字,第4数字,第5数字,ボーナス数字,1等口数,1等賞金\n";
    const std::string six = "本数字が6個あるため、ミニロトの当選番号ではありません。";
    const std::string notDraw =
        "第3回の当選番号が正しくありません（本数字は 1～31 の異なる5個、ボーナス数字は本数字にない 1～31 です）。";
    const struct {
        std::string bytes;
        int line;
        std::string reason;
    } cases[] = {
        {"開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,BONUS数字\n", 1, six},
        {"A52\n第1234回ロト６,数字選択式全国自治宝くじ,令和5年6月12日,東京\n", 2,
         "ミニロトではなく、ロト６の当選番号のファイルです。"},
        {ownCsv() + "# ロト7\n", 5, "ミニロトではなく、ロト７の当選番号のファイルです。"},
        {"第3回ミニロト,x,令和5年6月13日,東京\n本数字,01,02,03,04,05,06,ボーナス数字,07\n", 2, six},
        {"第3回ミニロト,x,令和5年6月13日,東京\n１等,1口,100円\n", 1, "第3回の本数字の行がありません。"},
        {head + "3,2024/1/1,1,2,3,4,32,6\n", 2, notDraw},
        {head + "3,2024/1/1,1,2,3,4,4,6\n", 2, notDraw},
        {head + "3,2024/1/1,1,2,3,4,5,5\n", 2, notDraw},
        {head + "3,2024/1/1,1,2,3,4,5\n", 2, "項目が足りません。"},
        {head + "1,2024/1/1,1,2,3,4,5,6\n3,2024/2/30,1,2,3,4,5,6\n", 3, "日付「2024/2/30」が正しくありません。"},
        {head + "3,2024-6-01,1,2,3,4,5,6\n", 2, "日付「2024-6-01」が正しくありません。"},
        {"第3回ミニロト,x,令和6年13月1日,東京\n", 1, "日付「令和6年13月1日」が正しくありません。"},
        {head + "3,,1,2,3,4,5,6,-3,0\n", 2, "1等口数「-3」が負の数です。"},
        {head + "3,,1,2,3,4,5,6,1,12.5\n", 2, "1等賞金「12.5」が整数ではありません。"},
        {head + "3,,1,2,3,4,5,6,1,\"1,23\"\n", 2, "1等賞金「1,23」が整数ではありません。"},
        {head + "3,,1,2,3,4,5,6,1,\"1234,567\"\n", 2, "1等賞金「1234,567」が整数ではありません。"},
        {"第3回ミニロト,x,令和5年6月13日,東京\n本数字,01,02,03,04,05,ボーナス数字,07\n１等,-1口,0円\n", 3,
         "1等口数「-1口」が負の数です。"},
        {"\n回,本数字\n第1回= 1, 2, 3, 4, 5, 6\n", 2, kNotALayoutText},
        {platform::encodeCp932(head + "3,2024/1/1,1,2,3,4,5,6\n") + "\xFF\xFF\n", 3,
         "文字コードが UTF-8 でもシフトJIS(cp932)でもありません。"},
    };
    for (const auto& c : cases) {
        try {
            readResultFile(c.bytes, "r.csv");
            ADD_FAILURE() << "read: " << c.bytes;
        } catch (const ImportRefused& e) {
            EXPECT_EQ(e.text(), "r.csv の " + std::to_string(c.line) + " 行目： " + c.reason) << c.bytes;
        }
    }
}

// A data folder: atarimgrp.txt with the first `held` of `draws`.
struct Folder {
    TempDir dir;
    std::vector<testing::Draw> draws = testing::syntheticDraws(20, 5);
    explicit Folder(int held) {
        testing::writeHistory(dir, std::vector<testing::Draw>(draws.begin(), draws.begin() + held));
    }
    fs::path history() const { return dir.file("atarimgrp.txt"); }
    // A full-history row of draw n: its numbers, a date, the prizes when given.
    std::string row(int n, const std::string& date, const std::string& prizes = "") const {
        std::string r = std::to_string(n) + "," + date;
        for (int v : draws[n - 1]) r += "," + std::to_string(v);
        return r + (prizes.empty() ? "" : "," + prizes) + "\n";
    }
    static std::string csv(const std::string& rows) {
        return "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,BONUS数字,1等賞金,2等賞金,3等賞金,4等賞金\n" + rows;
    }
    ImportPlan plan(const std::vector<std::string>& texts) const {
        std::vector<ImportSource> sources;
        for (std::size_t i = 0; i < texts.size(); ++i)
            sources.push_back({"in" + std::to_string(i + 1) + ".csv", platform::encodeCp932(texts[i])});
        return planImport(history(), sources);
    }
};

std::string historyLine(int n, const testing::Draw& d) {
    return platform::encodeCp932("第" + std::to_string(n) + "回=") + testing::makeDrawText(d) + "\r\n";
}

TEST(Import, AppendsNewDrawsFillsInPayoutsAndThenHasNothingNew) {
    Folder f(10);
    const std::string before = f.dir.read("atarimgrp.txt");
    f.dir.write("atarikin.csv", platform::encodeCp932(std::string(kPayoutHeader) + "\r\n9,2024/01/02,,,,,,,,\r\n"));
    std::string numbers;
    for (int k = 0; k < 5; ++k) numbers += "," + std::to_string(f.draws[12][k]);
    const std::string bank = "第13回ミニロト,x,令和6年3月5日,東京\n本数字" + numbers + ",ボーナス数字," +
                             std::to_string(f.draws[12][5]) + "\n１等,該当なし,該当なし\n";
    ImportPlan p = f.plan({Folder::csv(f.row(9, "2024/1/2") + f.row(10, "2024/1/9") + f.row(11, "2024/2/20") +
                                       f.row(12, "2024/2/27", "1000000,\"50,000\",1000,100")),
                           bank});
    ASSERT_FALSE(p.refused()) << problemsText(p.problems);
    EXPECT_EQ(importSummary(p),
              "files,2\ndraws_read,5\nagreed,2\nadded,3\nadded_range,11-13\npayouts_added,4\n");  // 9 had its date
    EXPECT_EQ(importPreviewText(p),
              "第11回～第13回（3 回）を atarimgrp.txt に追加します。\n"
              "4 回分の日付・払戻金を atarikin.csv に書き込みます。\nすでにある 2 回は当選番号が一致しました。\n");
    commitImport(p);
    EXPECT_EQ(f.dir.read("atarimgrp.txt"),
              before + historyLine(11, f.draws[10]) + historyLine(12, f.draws[11]) + historyLine(13, f.draws[12]));
    EXPECT_EQ(f.dir.read("atarikin.csv"),
              platform::encodeCp932(std::string(kPayoutHeader)) +
                  "\r\n9,2024/01/02,,,,,,,,\r\n10,2024/01/09,,,,,,,,\r\n11,2024/02/20,,,,,,,,\r\n"
                  "12,2024/02/27,,,,,1000000,50000,1000,100\r\n13,2024/03/05,0,,,,0,,,\r\n");

    // The same files again: nothing new, nothing written.
    p = f.plan({Folder::csv(f.row(12, "2024/02/27", "1000000,50000,1000,100")), bank});
    EXPECT_FALSE(p.changes());
    EXPECT_EQ(importSummary(p), "files,2\ndraws_read,2\nagreed,2\nadded,0\npayouts_added,0\n");
    EXPECT_EQ(importPreviewText(p), "新しい回はありません。\n");
}

TEST(Import, RefusalsNameTheDrawAndWriteNothing) {
    Folder f(10);
    f.dir.write("atarikin.csv", platform::encodeCp932(std::string(kPayoutHeader) + "\r\n10,2024/01/09,,,,,5,,,\r\n"));
    const std::string payouts = f.dir.read("atarikin.csv");
    auto refused = [&](const std::vector<std::string>& texts, const std::string& first) {
        const std::string history = f.dir.read("atarimgrp.txt"), payouts = f.dir.read("atarikin.csv");
        const ImportPlan p = f.plan(texts);
        ASSERT_TRUE(p.refused());
        EXPECT_EQ(problemText(p.problems.front()), first);
        EXPECT_FALSE(p.changes());
        EXPECT_THROW(commitImport(p), AppError);
        EXPECT_EQ(f.dir.read("atarimgrp.txt"), history);
        EXPECT_EQ(f.dir.read("atarikin.csv"), payouts);
    };
    // Draw 5 with another bonus, and the same as draw 11.
    testing::Draw other = f.draws[4];
    do other[5] = other[5] % 31 + 1;
    while (std::count(other.begin(), other.begin() + 5, other[5]));
    auto row = [&](int n) {
        std::string r = std::to_string(n) + ",";
        for (int v : other) r += "," + std::to_string(v);
        return r + "\n";
    };
    auto text = [](const testing::Draw& d) { return testing::makeDrawText(d).substr(d[0] < 10); };
    refused({Folder::csv(f.row(4, "") + row(5))},
            "in1.csv の 3 行目： 第5回の当選番号が atarimgrp.txt と違います。（取り込むファイル: " + text(other) +
                "\u3000atarimgrp.txt: " + text(f.draws[4]) + "）");
    refused({Folder::csv(f.row(11, "")), Folder::csv(row(11))},
            "in2.csv の 2 行目： 第11回の当選番号が別の行と違います。（取り込むファイル: " + text(other) +
                "\u3000in1.csv の 2 行目: " + text(f.draws[10]) + "）");
    // Two files that agree on draw 11's main numbers and differ in its bonus.
    testing::Draw bonus = f.draws[10];
    do bonus[5] = bonus[5] % 31 + 1;
    while (std::count(bonus.begin(), bonus.begin() + 5, bonus[5]));
    std::string bonusRow = "11,";
    for (int v : bonus) bonusRow += "," + std::to_string(v);
    refused({Folder::csv(f.row(11, "")), Folder::csv(bonusRow + "\n")},
            "in2.csv の 2 行目： 第11回の当選番号が別の行と違います。（取り込むファイル: " + text(bonus) +
                "\u3000in1.csv の 2 行目: " + text(f.draws[10]) + "）");
    refused({Folder::csv(f.row(11, "") + f.row(13, "") + f.row(14, ""))},
            "in1.csv の 3 行目： 第12回がないため、第13回から先を追加できません。");
    refused({Folder::csv(f.row(11, "")), Folder::csv(f.row(13, ""))},
            "in2.csv の 2 行目： 第12回がないため、第13回から先を追加できません。");
    refused({Folder::csv(f.row(10, "2024/1/10"))},
            "in1.csv の 2 行目： 第10回の日付が atarikin.csv と違います。"
            "（取り込むファイル: 2024/01/10\u3000atarikin.csv: 2024/01/09）");
    refused({Folder::csv(f.row(10, "", "6,1,1,1"))},
            "in1.csv の 2 行目： 第10回の1等賞金が atarikin.csv と違います。"
            "（取り込むファイル: 6\u3000atarikin.csv: 5）");
    refused(
        {Folder::csv(f.row(11, "2024/1/16")), Folder::csv(f.row(11, "2024/1/17"))},
        "in2.csv の 2 行目： 第11回の日付が別の行と違います。（取り込むファイル: 2024/01/17\u3000in1.csv の 2 行目: "
        "2024/01/16）");
    refused({Folder::csv(f.row(11, "")), "開催回,日付\n"}, "in2.csv の 1 行目： " + std::string(kNotALayoutText));
    f.dir.write("atarikin.csv", "bad header\r\n");
    refused({Folder::csv(f.row(11, ""))},
            "atarikin.csv の 1 行目： 見出しが「" + std::string(kPayoutHeader) + "」ではありません。");
    f.dir.write("atarikin.csv", payouts);

    // Draw 32,767 is the last a history holds.
    std::string full = "h=x\r\n";
    for (int k = 1; k <= kMaxDraws; ++k) full += "D= 1, 2, 3, 4, 5, 6\r\n";
    f.dir.write("atarimgrp.txt", full);
    const ImportPlan p = f.plan({"draw,date,n1,n2,n3,n4,n5,bonus\n32768,,1,2,3,4,5,6\n"});
    ASSERT_TRUE(p.refused());
    EXPECT_EQ(p.problems.front().reason, "atarimgrp.txt には第32767回までしか登録できません。");
}

TEST(Import, TheFirstThousandDrawsAndTheFullCsvGiveBackTheRealHistory) {
    TempDir dir;
    const std::string real = platform::readFileBytes(testing::demoDir() / "atarimgrp.txt");
    std::size_t cut = 0;
    for (int n = 0; n <= 1000; ++n) cut = real.find("\r\n", cut) + 2;
    dir.write("atarimgrp.txt", real.substr(0, cut));
    // The full-history CSV of all 1,400 draws, written from the project's own list.
    const auto own = text::splitLines(platform::readFileBytes(fs::path(KAZUBAN_TESTDATA_DIR) / "history.csv"));
    ASSERT_EQ(own.size(), 1401u);
    std::string csv = "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,BONUS数字\r\n";
    std::string atarikin = platform::encodeCp932(kPayoutHeader) + "\r\n";
    for (std::size_t i = 1; i < own.size(); ++i) {
        auto f = text::Split(own[i], ',');
        atarikin += f[0] + "," + f[1].substr(0, 4) + "/" + f[1].substr(5, 2) + "/" + f[1].substr(8) + ",,,,,,,,\r\n";
        f[1] = std::to_string(std::stoi(f[1].substr(0, 4))) + "/" + std::to_string(std::stoi(f[1].substr(5, 2))) + "/" +
               std::to_string(std::stoi(f[1].substr(8)));
        for (std::size_t k = 0; k < f.size(); ++k) csv += (k ? "," : "") + f[k];
        csv += "\r\n";
    }
    const ImportPlan p = planImport(dir.file("atarimgrp.txt"), {{"all.csv", platform::encodeCp932(csv)}});
    ASSERT_FALSE(p.refused()) << problemsText(p.problems);
    EXPECT_EQ(importSummary(p),
              "files,1\ndraws_read,1400\nagreed,1000\nadded,400\nadded_range,1001-1400\n"
              "payouts_added,1400\n");
    commitImport(p);
    EXPECT_EQ(dir.read("atarimgrp.txt"), real);
    EXPECT_EQ(dir.read("atarikin.csv"), atarikin);
    // The project's own list agrees with all of it.
    EXPECT_FALSE(planImport(dir.file("atarimgrp.txt"),
                            {readImportSource(fs::path(KAZUBAN_TESTDATA_DIR) / "history.csv", "history.csv")})
                     .changes());
}

TEST(Import, TheEntryFormsDrawTakesItsPayoutsThroughTheSameMerge) {
    Folder f(10);
    const std::string before = f.dir.read("atarimgrp.txt");
    f.dir.write("atarikin.csv", platform::encodeCp932(std::string(kPayoutHeader) + "\r\n11,,,,,,,,,100\r\n"));
    const PayoutCheck typed =
        checkPayoutFields(" ２０２４/６/１１ ", {"", "1,234", "該当なし", ""}, {"", "150000円", " 0", "100"});
    ASSERT_EQ(typed.problem, "");
    // The numbers in any order: the line holds them ascending.
    DrawNumbers shuffled = f.draws[10];
    std::swap(shuffled[0], shuffled[4]);
    const ImportPlan p = planEntry(f.history(), 11, shuffled, typed.payout);
    ASSERT_FALSE(p.refused()) << problemsText(p.problems);
    commitImport(p);
    EXPECT_EQ(f.dir.read("atarimgrp.txt"), before + historyLine(11, f.draws[10]));
    EXPECT_EQ(f.dir.read("atarikin.csv"),
              platform::encodeCp932(std::string(kPayoutHeader)) + "\r\n11,2024/06/11,,1234,0,,,150000,0,100\r\n");

    // A known amount that differs refuses; a history that has grown meanwhile refuses.
    const PayoutCheck other = checkPayoutFields("", {"", "", "", ""}, {"", "", "", "200"});
    EXPECT_TRUE(planEntry(f.history(), 12, f.draws[11], other.payout).changes());
    f.dir.write("atarikin.csv", platform::encodeCp932(std::string(kPayoutHeader) + "\r\n12,,,,,,,,,100\r\n"));
    const ImportPlan refused = planEntry(f.history(), 12, f.draws[11], other.payout);
    ASSERT_TRUE(refused.refused());
    EXPECT_EQ(
        problemText(refused.problems.front()),
        "入力した値 の 1 行目： 第12回の4等賞金が atarikin.csv と違います。（取り込むファイル: 200\u3000atarikin.csv: "
        "100）");
    EXPECT_THROW(planEntry(f.history(), 11, f.draws[10], other.payout), AppError);
    EXPECT_THROW(planEntry(f.history(), 12, {1, 2, 3, 4, 5, 5}, other.payout), AppError);

    // What the form refuses, with the first wrong field named.
    EXPECT_EQ(checkPayoutFields("2024/2/30", {}, {}).problem, "日付「2024/2/30」が正しくありません（例 2024/06/11）。");
    EXPECT_EQ(checkPayoutFields("", {"", "-3", "", ""}, {}).problem, "2等口数「-3」が負の数です。");
    EXPECT_EQ(checkPayoutFields("", {}, {"", "", "1.5", ""}).problem, "3等賞金「1.5」が整数ではありません。");
    EXPECT_FALSE(checkPayoutFields(" ", {" ", "", "", ""}, {}).payout.anyKnown());
}

// A disk that fails at the g_failAt-th file put in place, and another program
// that writes g_replaced while its new file is put in place.
int g_installs = 0, g_failAt = 0;
fs::path g_replaced;
void faultyDisk(const fs::path& temp) {
    if (++g_installs == g_failAt) throw AppError(kPathFileAccess, "disk full");
    if (g_replaced.empty() || !temp.filename().string().starts_with("." + g_replaced.filename().string())) return;
    std::ofstream(g_replaced.parent_path() / "other", std::ios::binary) << "other";
    fs::rename(g_replaced.parent_path() / "other", g_replaced);
}

TEST(Import, AnAtarikinThatAppearsOrVanishesAfterThePreviewIsNotOverwritten) {
    const std::string theirs = platform::encodeCp932(std::string(kPayoutHeader) + "\r\n1,2000/01/04,,,,,,,,\r\n");
    for (const bool appears : {true, false}) {
        SCOPED_TRACE(appears ? "appears" : "vanishes");
        Folder f(10);
        if (!appears) f.dir.write("atarikin.csv", theirs);
        const std::string history = f.dir.read("atarimgrp.txt");
        const ImportPlan p = f.plan({Folder::csv(f.row(11, "2024/1/16"))});
        ASSERT_TRUE(p.historyAfter && p.payoutAfter);
        if (appears) f.dir.write("atarikin.csv", theirs);
        else fs::remove(f.dir.file("atarikin.csv"));
        try {
            commitImport(p);
            ADD_FAILURE() << "committed";
        } catch (const AppError& e) {
            EXPECT_EQ(e.text(), "atarikin.csv が変更されています。もう一度取り込んで下さい。");
        }
        EXPECT_EQ(f.dir.exists("atarikin.csv"), appears);
        if (appears) {
            EXPECT_EQ(f.dir.read("atarikin.csv"), theirs);
        }
        EXPECT_EQ(f.dir.read("atarimgrp.txt"), history);
    }
}

TEST(Import, BothFilesChangeOrNeither) {
    Folder f(10);
    f.dir.write("atarikin.csv", platform::encodeCp932(std::string(kPayoutHeader) + "\r\n1,2000/01/04,,,,,,,,\r\n"));
    const auto state = [&] {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(f.dir.path()))
            files[e.path().filename().string()] = f.dir.read(e.path().filename().string());
        return files;
    };
    auto expected = state();
    const ImportPlan p = f.plan({Folder::csv(f.row(11, "2024/1/16"))});
    auto commitFails = [&](const std::string& message) {
        g_installs = 0;
        platform::setWriteFaultHook(faultyDisk);
        EXPECT_THROW(
            try { commitImport(p); } catch (const AppError& e) {
                EXPECT_NE(e.text().find(message), std::string::npos) << e.text();
                throw;
            },
            AppError);
        platform::setWriteFaultHook(nullptr);
        EXPECT_EQ(state(), expected) << message;
    };
    // The disk fails at the first file, then at the second after the first was replaced.
    for (g_failAt = 1; g_failAt <= 2; ++g_failAt) commitFails("disk full");
    g_failAt = 0;
    // Another program writes atarikin.csv meanwhile: its file stays, atarimgrp.txt goes back.
    g_replaced = f.dir.file("atarikin.csv");
    expected["atarikin.csv"] = "other";
    commitFails("他のプログラムによって変更された");
    g_replaced.clear();
    // The plan was made before that: nothing is written over the other program's file.
    commitFails("atarikin.csv が変更されています。もう一度取り込んで下さい。");

    // A first file that did not exist is removed again.
    g_installs = 0;
    g_failAt = 2;
    platform::setWriteFaultHook(faultyDisk);
    EXPECT_THROW(platform::writeFilesAtomic({{f.dir.file("new.txt"), "n"}, {f.dir.file("atarikin.csv"), "x"}}),
                 AppError);
    platform::setWriteFaultHook(nullptr);
    EXPECT_EQ(state(), expected);
}

}  // namespace
}  // namespace kazuban::history
