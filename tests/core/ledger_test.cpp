// The ticket ledger: kounyu.csv read and written, its rows checked against
// the history, the claim deadlines, the money, and the tab's page.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "analysis/draws.h"
#include "app/design_page.h"
#include "app/form1.h"
#include "design/design.h"
#include "ledger/checking.h"
#include "ledger/ledger_file.h"
#include "ledger/listing.h"
#include "platform/line_file.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "support/os.h"
#include "text/app_error.h"
#include "text/text.h"

namespace kazuban::ledger {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

const std::string kHeader = platform::encodeCp932(std::string(kLedgerHeader) + "\r\n");
const std::string kGood = "995,1,14,17,20,31,2,2018/10/01,,\r\n";

// ---- the file -------------------------------------------------------------------

struct Malformed {
    const char* name;
    std::string bytes;  // the whole file
    int line;
    const char* reason;  // a part of the reason
};

std::vector<Malformed> malformedFiles() {
    const auto withRow = [](const std::string& row) { return kHeader + kGood + row + "\r\n" + kGood; };
    const std::string utf16 = std::string("\xFF\xFE", 2) + std::string(
                                                               "9\0"
                                                               "9\0"
                                                               "5\0",
                                                               6);
    return {
        {"missing_column", withRow("995,1,14,17,20,31,2,2018/10/01,"), 3, "列の数が 9 です"},
        {"draw_zero", withRow("0,1,14,17,20,31,2,,,"), 3, "回「0」"},
        {"number_32", withRow("995,1,14,17,20,32,2,,,"), 3, "数字5「32」"},
        {"repeated_number", withRow("995,1,14,17,14,31,2,,,"), 3, "同じ数字 14"},
        {"units_zero", withRow("995,1,14,17,20,31,0,,,"), 3, "口数「0」"},
        {"units_eleven", withRow("995,1,14,17,20,31,11,,,"), 3, "口数「11」"},
        {"bad_date", withRow("995,1,14,17,20,31,2,2019/02/29,,"), 3, "購入日「2019/02/29」"},
        {"bad_received", withRow("995,1,14,17,20,31,2,,2019/13/01,"), 3, "受取日「2019/13/01」"},
        {"text_in_number", withRow("995,1,14,x7,20,31,2,,,"), 3, "数字3「x7」"},
        {"negative_draw", withRow("-5,1,14,17,20,31,2,,,"), 3, "回「-5」"},
        {"nul_bytes", withRow(std::string("995,1,14,17,20,31,2,,,a\0b", 25)), 3, "NUL"},
        {"unclosed_quote", kHeader + kGood + "995,1,14,17,20,31,2,,,\"memo\r\n", 3, "閉じていません"},
        {"bad_header", "draw,n1\r\n" + kGood, 1, "見出し"},
        {"bad_cp932", withRow("995,1,14,17,20,31,2,,,\x82"), 3, "cp932"},
        {"utf16", utf16, 1, "UTF-16"},
    };
}

class MalformedLedger : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedLedger, IsNamedByLineAndReasonAndNothingIsWritten) {
    const Malformed& m = GetParam();
    TempDir dir;
    const fs::path path = dir.write(kLedgerFileName, m.bytes);
    LedgerFile file(path);
    file.read();
    ASSERT_FALSE(file.problems().empty());
    EXPECT_EQ(file.problems()[0].line, m.line);
    EXPECT_NE(file.problems()[0].reason.find(m.reason), std::string::npos) << file.problems()[0].reason;
    EXPECT_TRUE(file.readOnly());
    const std::string message = problemsMessage(file.problems());
    EXPECT_NE(message.find("kounyu.csv の " + std::to_string(m.line) + " 行目: "), std::string::npos) << message;
    EXPECT_THROW(file.write({}), AppError);
    EXPECT_THROW(file.write(file.rows()), AppError);
    EXPECT_EQ(dir.read(kLedgerFileName), m.bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedLedger, ::testing::ValuesIn(malformedFiles()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LedgerFile, RowsSurviveARoundTripAndTheGoldenFileKeepsItsBytes) {
    const std::vector<Row> rows = {
        {1, {1, 2, 3, 4, 5}, 1, 20181001, 0, ""},
        {32767, {27, 28, 29, 30, 31}, 10, 0, 20000229, "継続, \"3回\""},
        {7, {3, 8, 14, 18, 26}, 3, 20191231, 0, "二行の\r\nメモ"},
        {7, {3, 8, 14, 18, 26}, 3, 20191231, 0, " 前に空白"},
        {7, {3, 8, 14, 18, 26}, 3, 20191231, 0, "後ろに全角空白\u3000"},
        {8, {9, 19, 20, 22, 26}, 2, 0, 0, "普通のメモ"},
    };
    const std::string bytes = ledgerBytes(rows);
    const Parsed back = parseLedger(bytes);
    EXPECT_TRUE(back.problems.empty());
    EXPECT_EQ(back.rows, rows);
    // The same rows in UTF-8 with a BOM and LF line ends (a spreadsheet's
    // "CSV UTF-8"), with the day as a spreadsheet writes it back.
    std::string utf8 = "\xEF\xBB\xBF" + platform::decodeCp932(bytes);
    utf8.replace(utf8.find("2018/10/01"), 10, "2018/10/1");
    EXPECT_EQ(parseLedger(utf8).rows, rows);

    const std::string golden = platform::readFileBytes(fs::path(KAZUBAN_TESTDATA_DIR) / "golden/ledger/kounyu.csv");
    const Parsed g = parseLedger(golden);
    EXPECT_TRUE(g.problems.empty());
    EXPECT_EQ(g.rows.size(), 132u);
    EXPECT_EQ(ledgerBytes(g.rows), golden);

    // A memo that cp932 cannot hold is refused, never written half.
    EXPECT_THROW(ledgerBytes({{1, {1, 2, 3, 4, 5}, 1, 0, 0, "😀"}}), AppError);
    EXPECT_EQ(parseLedger("\xEF\xBB\xBF" + std::string(kLedgerHeader) + "\r\n1,1,2,3,4,5,1,,,😀\r\n").problems.size(),
              1u);
}

TEST(LedgerFile, AFileChangedOnDiskIsNotOverwritten) {
    TempDir dir;
    LedgerFile file(dir.file(kLedgerFileName));
    file.read();  // no file yet: an empty ledger
    EXPECT_FALSE(file.exists());
    const Row row{995, {1, 14, 17, 20, 31}, 2, 20181001, 0, ""};

    // Created by another program after it was read.
    dir.write(kLedgerFileName, kHeader);
    try {
        file.write({row});
        ADD_FAILURE() << "written over a new file";
    } catch (const AppError& e) {
        EXPECT_EQ(e.text(), kChangedMessage);
    }
    EXPECT_EQ(dir.read(kLedgerFileName), kHeader);

    file.read();
    file.write({row});
    EXPECT_EQ(dir.read(kLedgerFileName), kHeader + kGood);
    // Edited in a spreadsheet after the write: refused again, kept as edited.
    const std::string edited = kHeader + kGood + kGood;
    dir.write(kLedgerFileName, edited);
    EXPECT_TRUE(file.changedOnDisk());
    EXPECT_THROW(file.write({}), AppError);
    EXPECT_EQ(dir.read(kLedgerFileName), edited);
    file.read();
    EXPECT_EQ(file.rows().size(), 2u);
}

// ---- deadlines -------------------------------------------------------------------

TEST(ClaimDeadline, OneYearFromTheDayAfterTheDraw) {
    struct Case {
        int draw, deadline;
    };
    const Case cases[] = {
        {20181120, 20191120},  // the usual case
        {20000229, 20010228},  // the day after is 1 March: its anniversary less a day
        {20000228, 20010228},  // the day after is 29 February: 1 March stands for it
        {20240228, 20250228},  //
        {20230228, 20240229},  // the day after is 1 March; the day before its anniversary is a 29th
        {20030228, 20040229},  //
        {19991231, 20001231},  // the day after is New Year's day
        {20191230, 20201230},  //
        {20181231, 20191231},  //
        {20190101, 20200101},  //
        {20210131, 20220131},  // month ends
        {20210430, 20220430},  //
        {21000228, 21010228},  // 2100 has no 29 February
        {20991231, 21001231},  //
    };
    for (const Case& c : cases) EXPECT_EQ(claimDeadline(c.draw), c.deadline) << c.draw;
    EXPECT_EQ(daysBetween(20191231, 20200101), 1);
    EXPECT_EQ(daysBetween(20200301, 20200228), -2);
    EXPECT_EQ(daysBetween(20190101, 20200101), 365);
}

// ---- checking ----------------------------------------------------------------------

// The six values of an entry's text.
std::array<int, 6> drawValues(const std::string& entry) {
    std::array<int, 6> d{};
    for (int k = 0; k < 6; ++k)
        d[static_cast<std::size_t>(k)] = static_cast<int>(text::Val(text::Mid(entry, 1 + 3 * k, 2)));
    return d;
}

// The grade by counting the shared numbers one by one.
int bruteGrade(const std::array<int, 5>& t, const std::array<int, 6>& d) {
    int shared = 0;
    bool bonusIn = false;
    for (int x : t) {
        for (int k = 0; k < 5; ++k) shared += x == d[static_cast<std::size_t>(k)];
        bonusIn = bonusIn || x == d[5];
    }
    if (shared == 5) return 1;
    if (shared == 4) return bonusIn ? 2 : 3;
    return shared == 3 ? 4 : 0;
}

TEST(Checking, GradesAgreeWithABruteForceCountOnTheRealHistory) {
    const auto history = history::readWinningNumbers(testing::demoDir() / "atarimgrp.txt").history;
    ASSERT_EQ(history.maxn(), 1400);
    // Tickets: the main numbers of some draws, and random ones.
    std::vector<std::array<int, 5>> tickets;
    for (int n : {1, 700, 1400}) {
        std::array<int, 5> t{};
        for (int k = 0; k < 5; ++k)
            t[static_cast<std::size_t>(k)] = history.numbers[static_cast<std::size_t>(n)][static_cast<std::size_t>(k)];
        tickets.push_back(t);
    }
    std::mt19937 rng(7);
    while (tickets.size() < 24) {
        std::vector<int> pool(31);
        for (int i = 0; i < 31; ++i) pool[static_cast<std::size_t>(i)] = i + 1;
        std::shuffle(pool.begin(), pool.end(), rng);
        tickets.push_back({pool[0], pool[1], pool[2], pool[3], pool[4]});
    }
    std::vector<std::array<int, 6>> values(static_cast<std::size_t>(history.maxn()) + 1);
    for (int n = 1; n <= history.maxn(); ++n) values[static_cast<std::size_t>(n)] = drawValues(history.entry(n));
    std::array<long, 5> counted{}, brute{};
    for (const auto& t : tickets) {
        for (int n = 1; n <= history.maxn() + 2; ++n) {
            const Checked c = checkRow(Row{n, t, 1, 0, 0, ""}, history, {});
            if (n > history.maxn()) {
                EXPECT_TRUE(c.pending && c.beyondHistory);
                continue;
            }
            ASSERT_EQ(c.pending, !analysis::isStrictDraw(history, n));
            if (c.pending) continue;
            ++counted[static_cast<std::size_t>(c.grade)];
            ++brute[static_cast<std::size_t>(bruteGrade(t, values[static_cast<std::size_t>(n)]))];
        }
    }
    EXPECT_EQ(counted, brute);
    EXPECT_EQ(counted[1], 3);  // the three draws' own numbers
    EXPECT_GT(counted[2] + counted[3], 0);
}

// Three draws with their dates; the first and third with all four amounts,
// the second with its date only.
struct SmallLedger {
    history::DrawHistory history =
        history::historyFromLines({std::string(testing::kHistoryHeader), "第1回= 1, 2, 3, 4, 5, 6",
                                   "第2回=10,11,12,13,14,15", "第3回=20,21,22,23,24,25"})
            .history;
    history::PayoutTable payouts;
    std::vector<Row> rows = {
        {1, {1, 2, 3, 4, 5}, 2, 20181115, 0, ""},              // 1等 2口
        {1, {7, 8, 9, 16, 17}, 1, 20181115, 0, ""},            // はずれ
        {2, {10, 11, 12, 30, 31}, 3, 20181115, 0, ""},         // 4等, amount unknown
        {3, {20, 21, 22, 23, 31}, 1, 20181115, 20190105, ""},  // 3等, received
        {5, {1, 2, 3, 4, 5}, 1, 20190110, 0, ""},              // 抽せん待ち
    };
    SmallLedger() {
        auto& p1 = payouts[1].fields;
        p1[history::kDateField] = 20181120;
        for (int g = 0; g < 4; ++g) p1[static_cast<std::size_t>(history::kPrizeField + g)] = 1000000 / (g + 1);
        payouts[2].fields[history::kDateField] = 20181127;
        auto& p3 = payouts[3].fields;
        p3[history::kDateField] = 20181204;
        for (int g = 0; g < 4; ++g) p3[static_cast<std::size_t>(history::kPrizeField + g)] = 40000 / (g + 1);
    }
    std::vector<Checked> checked() const { return checkRows(rows, history, payouts); }
    std::vector<std::size_t> all() const { return {0, 1, 2, 3, 4}; }
};

TEST(Checking, TheMoneyAgreesWithAHandCount) {
    const SmallLedger l;
    const auto c = l.checked();
    const Money m = sumMoney(l.rows, c, l.all(), 20191101);
    EXPECT_EQ(m.rows, 5);
    EXPECT_EQ(m.units, 8);
    EXPECT_EQ(m.spent, 1600);
    EXPECT_EQ(m.pendingRows, 1);
    EXPECT_EQ(m.grades[0].yen, 2000000);
    EXPECT_EQ(m.grades[2].yen, 40000 / 3);
    EXPECT_EQ(m.grades[3].units, 3);
    EXPECT_EQ(m.grades[3].yen, 0);
    EXPECT_EQ(m.total.rows, 3);
    EXPECT_EQ(m.total.units, 6);
    EXPECT_EQ(m.prizeUnknownRows, 1);
    // Draws 1 and 3 have their amounts: 4 units spent there.
    EXPECT_EQ(m.pricedSpent, 800);
    EXPECT_DOUBLE_EQ(m.returnPercent, 100.0 * (2000000 + 13333) / 800);
    EXPECT_EQ(m.unclaimedYen, 2000000);  // deadline 2019/11/20
    EXPECT_EQ(m.expiredYen, 0);          // draw 3's prize was received
    EXPECT_EQ(sumMoney(l.rows, c, l.all(), 20191121).expiredYen, 2000000);
    EXPECT_EQ(sumMoney(l.rows, c, l.all(), 20191120).unclaimedYen, 2000000);
    EXPECT_EQ(m.balance(), 2000000 + 13333 - 1600);

    const auto years = moneyByYear(l.rows, c, l.all(), 20191101);
    ASSERT_EQ(years.size(), 2u);
    EXPECT_EQ(years.at(2018).spent, 1400);
    EXPECT_EQ(years.at(2019).pendingRows, 1);  // a pending row counts in the year it was bought
    const auto balance = runningBalance(l.rows, c, l.all());
    const std::vector<std::pair<int, std::int64_t>> expected = {{1, 2000000 - 600},
                                                                {2, 2000000 - 1200},
                                                                {3, 2000000 - 1200 + 13333 - 200},
                                                                {5, 2000000 - 1400 + 13333 - 200}};
    EXPECT_EQ(balance, expected);
}

TEST(Checking, TheListAndTheMessagesSayWhatWonAndWhenItExpires) {
    SmallLedger l;
    auto c = l.checked();
    EXPECT_EQ(newDrawsMessage(l.rows, c, 0, 3),
              "購入記録: 第1回 1等 2口 2,000,000円、第2回 4等 3口 当せん金未確定、第3回 3等 1口 13,333円 "
              "が当たりました。");
    EXPECT_EQ(newDrawsMessage(l.rows, c, 3, 4), "");  // no row for draw 4
    const std::vector<Row> loser = {l.rows[1], l.rows[1]};
    EXPECT_EQ(newDrawsMessage(loser, checkRows(loser, l.history, l.payouts), 0, 1),
              "購入記録: 第1回の 2 組は当たりませんでした。");

    const auto texts = listTexts(l.rows[0], c[0], 20191101);
    EXPECT_EQ(texts[kColNumbers], " 1, 2, 3, 4, 5");
    EXPECT_EQ(texts[kColGrade], "1等");
    EXPECT_EQ(texts[kColYen], "2,000,000");
    EXPECT_EQ(texts[kColDeadline], "2019/11/20 あと19日");
    EXPECT_EQ(listTexts(l.rows[0], c[0], 20191021)[kColDeadline], "2019/11/20 あと30日");
    EXPECT_EQ(listTexts(l.rows[0], c[0], 20191020)[kColDeadline], "2019/11/20");
    EXPECT_EQ(listTexts(l.rows[0], c[0], 20191121)[kColDeadline], "2019/11/20 期限切れ");
    EXPECT_EQ(listTexts(l.rows[2], c[2], 20191101)[kColYen], "未確定");
    EXPECT_EQ(listTexts(l.rows[3], c[3], 20191206)[kColDeadline], "2019/12/04");  // received: no mark
    EXPECT_EQ(listTexts(l.rows[4], c[4], 20191101)[kColGrade], "抽せん待ち");
    EXPECT_EQ(listTexts(l.rows[1], c[1], 20191101)[kColDeadline], "");

    // Draw 2 without an amount: its deadline is marked, its yen not counted.
    const DeadlineNotes notes = deadlineNotes(l.rows, c, 20191121);
    EXPECT_EQ(notes.passed, 1);
    EXPECT_EQ(notes.near, 1);
    EXPECT_EQ(tabCaption(notes), "購入記録 (期限切れ 1・期限間近 1)");
    EXPECT_EQ(deadlineStatus(notes),
              "購入記録: 受け取っていない当せん金 1 件の支払期限が 30 日以内です（最も早い期限 2019/11/27）。"
              "支払期限を過ぎた当せん金が 1 件あります（期限切れ）。");
    EXPECT_EQ(tabCaption(deadlineNotes(l.rows, c, 20180101)), "購入記録");
    l.payouts.erase(2);  // without the draw's date the deadline is not known
    c = l.checked();
    EXPECT_EQ(listTexts(l.rows[2], c[2], 20191101)[kColDeadline], "抽せん日不明");

    // Filters and the sort by a column (stable).
    EXPECT_EQ(filterRows(l.rows, c, {-1, Show::WinsOnly}), (std::vector<std::size_t>{0, 2, 3}));
    EXPECT_EQ(filterRows(l.rows, c, {-1, Show::NotReceivedOnly}), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(filterRows(l.rows, c, {2019, Show::All}), (std::vector<std::size_t>{4}));
    std::vector<std::size_t> order = l.all();
    sortRows(order, l.rows, c, kColYen, false);
    EXPECT_EQ(order, (std::vector<std::size_t>{0, 3, 2, 1, 4}));
    sortRows(order, l.rows, c, kColUnits, true);
    EXPECT_EQ(order, (std::vector<std::size_t>{3, 1, 4, 0, 2}));
}

// ---- the page ----------------------------------------------------------------------

class LedgerPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::copyDemo(dir);
        ASSERT_TRUE(f.Form_Load(dir.str()));
        f.ledger().setClock([] { return 20261215; });
        f.combinationTable().setCell(1, 1, " 3, 9,14,22,30");
        f.combinationTable().setCell(2, 1, " 1, 2, 3, 4, 5");
        fake.messages.clear();
    }
    Purchase purchase(int draws, int units) {
        const auto combos = f.ledgerCombosFromTable(0, 0);
        EXPECT_TRUE(combos);
        return Purchase{combos.value_or(std::vector<std::array<int, 5>>{}), 1401, draws, units, 20261201, "今週"};
    }
    TempDir dir;
    testing::FakePlatform fake;
    app::Form1 f{fake};
};

TEST_F(LedgerPageTest, AddedTicketsAreCheckedWhenTheDrawIsEntered) {
    EXPECT_FALSE(dir.exists(kLedgerFileName));
    ASSERT_TRUE(f.ledgerAdd(purchase(2, 3)));
    EXPECT_EQ(f.ledger().rows().size(), 4u);
    EXPECT_EQ(parseLedger(dir.read(kLedgerFileName)).rows, f.ledger().rows());
    EXPECT_TRUE(f.ledger().checked()[0].beyondHistory);

    // The entry form gives draw 1401 with its date and 3等 amount: the table's first row wins 3等.
    fake.onNewDraw = [](int) {
        return std::optional<platform::NewDraw>(
            platform::NewDraw{{3, 9, 14, 22, 31, 1}, "2026/12/08", {}, {"", "", "10000", ""}});
    };
    f.mnuanyuryoku_Click();
    ASSERT_EQ(fake.messageTexts(), std::vector<std::string>{"購入記録: 第1401回 3等 3口 30,000円 が当たりました。"});
    EXPECT_EQ(f.ledger().checked()[0].deadline, 20271208);
    EXPECT_FALSE(f.ledger().checked()[1].won());
    EXPECT_TRUE(f.ledger().checked()[2].beyondHistory);

    // Received, then taken back; deleting asks first.
    const std::string before = dir.read(kLedgerFileName);
    f.ledgerSetReceived({0}, 20261216);
    EXPECT_EQ(f.ledger().rows()[0].received, 20261216);
    EXPECT_NE(dir.read(kLedgerFileName), before);
    f.ledgerUndo();
    EXPECT_EQ(dir.read(kLedgerFileName), before);
    fake.answers = {platform::kCancel};
    f.ledgerDelete({1, 2});
    EXPECT_EQ(f.ledger().rows().size(), 4u);
    f.ledgerDelete({1, 2});
    EXPECT_EQ(f.ledger().rows().size(), 2u);
    EXPECT_EQ(parseLedger(dir.read(kLedgerFileName)).rows, f.ledger().rows());
    f.ledgerUndo();
    EXPECT_EQ(dir.read(kLedgerFileName), before);
    f.ledgerUndo();  // the purchase itself
    EXPECT_TRUE(f.ledger().rows().empty());
    EXPECT_FALSE(f.ledger().canUndo());
}

TEST_F(LedgerPageTest, RefusalsWriteNothing) {
    // A table row that does not pass the table's validation is named; nothing is added.
    f.combinationTable().setCell(3, 1, "03, 3,14,22,30");
    EXPECT_FALSE(f.ledgerCombosFromTable(0, 0));
    EXPECT_EQ(fake.messageTexts().back(), " データ番号 3 に、同じ数字が２回あります。");
    const auto combos = f.ledgerCombosFromTable(1, 2);
    ASSERT_TRUE(combos);
    Purchase p{*combos, 1401, 1, 11, 20261201, ""};
    EXPECT_FALSE(f.ledgerAdd(p));
    EXPECT_EQ(fake.messageTexts().back(), kBadUnitsMessage);
    EXPECT_FALSE(dir.exists(kLedgerFileName));

    // Changed on disk: not overwritten; the offer to read it again is taken.
    p.units = 1;
    ASSERT_TRUE(f.ledgerAdd(p));
    const std::string edited =
        dir.read(kLedgerFileName) + platform::encodeCp932("1402,1,2,3,4,5,1,,,表計算ソフトで追加\r\n");
    dir.write(kLedgerFileName, edited);
    fake.answers = {platform::kOk};
    EXPECT_FALSE(f.ledgerAdd(p));
    EXPECT_NE(fake.messageTexts().back().find("変更されています"), std::string::npos);
    EXPECT_EQ(fake.messages.back().buttons, platform::Buttons::OkCancel);
    EXPECT_EQ(dir.read(kLedgerFileName), edited);
    EXPECT_EQ(f.ledger().rows().size(), 3u);  // read again
    ASSERT_TRUE(f.ledgerAdd(p));
    EXPECT_EQ(f.ledger().rows().size(), 5u);

    // A bad row: read only until mended, and never rewritten without it.
    const std::string bad = dir.read(kLedgerFileName) + "1403,1,2,3,4,32,1,,,\r\n";
    dir.write(kLedgerFileName, bad);
    f.ledgerReload();
    EXPECT_TRUE(f.ledger().readOnly());
    EXPECT_NE(f.ledger().problemText().find("kounyu.csv の 7 行目: 数字5「32」"), std::string::npos);
    EXPECT_FALSE(f.ledgerAdd(p));
    const auto shown = fake.messages.size();
    f.ledgerDelete({0});
    ASSERT_EQ(fake.messages.size(), shown + 1);  // no question, only why not
    EXPECT_EQ(fake.messages.back().buttons, platform::Buttons::Ok);
    EXPECT_EQ(dir.read(kLedgerFileName), bad);
}

TEST_F(LedgerPageTest, TheDesignsTicketsAreAddedAsTheyWereDesigned) {
    EXPECT_EQ(f.ledgerCombosFromDesign().value_or(std::vector<std::array<int, 5>>(1)).size(), 0u);  // no result yet
    design::Request wheel;
    wheel.mode = design::Mode::Wheel;
    wheel.numbers = 0x7E;  // 1..6
    const app::DesignRun run = app::runDesignWork(wheel);
    f.designFinished(run);
    const auto combos = f.ledgerCombosFromDesign();
    ASSERT_TRUE(combos);
    ASSERT_EQ(combos->size(), run.result.tickets.size());
    for (std::size_t i = 0; i < combos->size(); ++i)
        EXPECT_EQ(numbersText((*combos)[i]), design::ticketText(run.result.tickets[i]));
}

// A failing disk or a folder that may not be written: the old file stays
// whole, no temporary file is left, and the message says why.
TEST_F(LedgerPageTest, AFailingDiskLeavesTheOldFileWhole) {
    const Purchase p = purchase(1, 1);
    ASSERT_TRUE(f.ledgerAdd(p));
    const std::string old = dir.read(kLedgerFileName);
    const auto files = [&] { return std::distance(fs::directory_iterator(dir.path()), {}); };
    const auto count = files();

    platform::setWriteFaultHook([](const fs::path&) {
        throw AppError(kPathFileAccess, "ファイルに書き込めません（No space left on device）。");
    });
    EXPECT_FALSE(f.ledgerAdd(p));
    platform::setWriteFaultHook(nullptr);
    EXPECT_NE(fake.messageTexts().back().find("No space left on device"), std::string::npos);
    EXPECT_EQ(dir.read(kLedgerFileName), old);
    EXPECT_EQ(files(), count);
    EXPECT_EQ(f.ledger().rows().size(), 2u);

    if (testing::rightsBindThisUser()) {
        fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(f.ledgerAdd(p));
        fs::permissions(dir.path(), fs::perms::owner_all);
        EXPECT_NE(fake.messageTexts().back().find("kounyu.csv"), std::string::npos) << fake.messageTexts().back();
        EXPECT_EQ(dir.read(kLedgerFileName), old);
        EXPECT_EQ(files(), count);
    }
    // Afterwards the ledger goes on where it was.
    ASSERT_TRUE(f.ledgerAdd(p));
    EXPECT_EQ(f.ledger().rows().size(), 4u);
}

}  // namespace
}  // namespace kazuban::ledger
