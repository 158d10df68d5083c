#include <gtest/gtest.h>

#include <filesystem>

#include "app/form1.h"
#include "history/add_draw.h"
#include "history/draw_history.h"
#include "platform/line_file.h"
#include "support/fake_platform.h"
#include "support/history_gen.h"
#include "text/app_error.h"

namespace kazuban::history {
namespace {

using testing::TempDir;

const DrawNumbers kDraw = {30, 9, 22, 13, 2, 17};  // typed in any order
const std::string kFields = " 2, 9,13,22,30,17";

std::string problemOf(const std::vector<std::string>& fields) { return checkDrawFields(fields).problem; }

TEST(AddDraw, ChecksTheSixNumbers) {
    const DrawCheck ok = checkDrawFields({"30", " 9", "２２", "13\u3000", "02", "17"});
    ASSERT_TRUE(ok.numbers) << ok.problem;
    EXPECT_EQ(*ok.numbers, (DrawNumbers{30, 9, 22, 13, 2, 17}));
    EXPECT_EQ(drawFieldText(*ok.numbers), kFields);
    EXPECT_EQ(drawFieldText({31, 30, 29, 28, 27, 1}), "27,28,29,30,31, 1");

    EXPECT_EQ(problemOf({"1", "2", "", "4", "5", "6"}), "本数字5個とボーナス数字を入力して下さい");
    EXPECT_EQ(problemOf({"1", "2", "", "4", "32", "6"}), "数字は1～31で入力して下さい（「32」）");
    EXPECT_EQ(problemOf({"1", "2", "3", "-4", "5", "6"}), "「-4」は数字ではありません");
    for (const std::string junk : {"3x", "x3", "3 4", "1９"})
        EXPECT_EQ(problemOf({"1", "2", junk, "5", "6", "7"}), "「" + junk + "」は数字ではありません");
    EXPECT_EQ(checkDrawFields({"１９", "３", "1", "2", "4", "5"}).numbers, (DrawNumbers{19, 3, 1, 2, 4, 5}));
    EXPECT_EQ(problemOf({"1", "2", "3", "4", "5", "5"}), "数字「5」が重複しています");
    EXPECT_EQ(problemOf({"1", "1", "3", "4", "5", ""}), "本数字5個とボーナス数字を入力して下さい");

    EXPECT_TRUE(parseDrawArgument("2,9,13,22,30,17").numbers);
    EXPECT_EQ(parseDrawArgument("2,9,13x,22,30,17").problem, "「13x」は数字ではありません");
    EXPECT_TRUE(parseDrawArgument("99999999999999999999,9,13,22,30,17").problem.find("1～31") != std::string::npos);
    for (const char* bad : {"1,2,3,4,5", "1,2,3,4,5,6,7", "", "1,2,,4,5,6", "1 2 3 4 5 6"})
        EXPECT_NE(parseDrawArgument(bad).problem.find("6個の数字"), std::string::npos) << bad;
}

TEST(AddDraw, TheNextLabelFollowsTheLastOne) {
    EXPECT_EQ(nextDrawLabel("第1400回", 1400), "第1401回");
    EXPECT_EQ(nextDrawLabel("第999回", 999), "第1000回");
    EXPECT_EQ(nextDrawLabel("No.0099", 99), "No.0100");
    EXPECT_EQ(nextDrawLabel("第１４００回", 1400), "第１４０１回");
    EXPECT_EQ(nextDrawLabel("第１３９９回", 1399), "第１４００回");
    // A label that is not "the draw's number" is not copied.
    EXPECT_EQ(nextDrawLabel("第1400回(2024/01/05)", 1400), "第1401回");
    EXPECT_EQ(nextDrawLabel("第7回", 1400), "第1401回");
    EXPECT_EQ(nextDrawLabel("", 1400), "第1401回");
}

TEST(AddDraw, AppendsInTheFilesEncodingAndLineEnds) {
    TempDir dir;
    const auto file = dir.file("atarimgrp.txt");

    // cp932, CR LF: the demo history.
    testing::copyDemoHistory(dir);
    std::string before = dir.read("atarimgrp.txt");
    AppendedDraw a = appendDraw(file, kDraw);
    EXPECT_EQ(a.drawNumber, 1401);
    EXPECT_EQ(a.line, "第1401回=" + kFields);
    EXPECT_EQ(dir.read("atarimgrp.txt"), before + platform::encodeCp932(a.line) + "\r\n");
    const LoadResult loaded = readWinningNumbers(file);
    EXPECT_EQ(loaded.history.maxn(), 1401);
    EXPECT_EQ(loaded.history.entry(1401), kFields);
    EXPECT_TRUE(loaded.problems.empty());

    // UTF-8, LF.
    dir.writeLines("atarimgrp.txt", testing::syntheticHistoryLines(3, 1), false, "\n");
    before = dir.read("atarimgrp.txt");
    a = appendDraw(file, kDraw, 4);
    EXPECT_EQ(dir.read("atarimgrp.txt"), before + "第4回=" + kFields + "\n");

    // Lone CR, the last line without a line end, and blank lines after the
    // last draw, which stay after it.
    dir.write("atarimgrp.txt", "h=x\rD1= 1, 2, 3, 4, 5, 6");
    appendDraw(file, kDraw);
    EXPECT_EQ(dir.read("atarimgrp.txt"), "h=x\rD1= 1, 2, 3, 4, 5, 6\rD2=" + kFields + "\r");
    dir.write("atarimgrp.txt", "h=x\r\nD1= 1, 2, 3, 4, 5, 6\r\n\r\n  \r\n");
    appendDraw(file, kDraw);
    EXPECT_EQ(dir.read("atarimgrp.txt"), "h=x\r\nD1= 1, 2, 3, 4, 5, 6\r\nD2=" + kFields + "\r\n\r\n  \r\n");

    // Only the header, without a line end: draw 1.
    dir.write("atarimgrp.txt", platform::encodeCp932("回=本数字,ボーナス"));
    a = appendDraw(file, kDraw);
    EXPECT_EQ(a.drawNumber, 1);
    EXPECT_EQ(dir.read("atarimgrp.txt"), platform::encodeCp932("回=本数字,ボーナス\r\n第1回=" + kFields + "\r\n"));
}

TEST(AddDraw, EveryRefusalLeavesTheFileAsItWas) {
    TempDir dir;
    const auto file = dir.file("atarimgrp.txt");
    auto refused = [&](const std::string& bytes, const DrawNumbers& numbers, int expected, int code) {
        dir.write("atarimgrp.txt", bytes);
        try {
            appendDraw(file, numbers, expected);
            ADD_FAILURE() << "appended";
        } catch (const AppError& e) {
            EXPECT_EQ(e.code(), code) << e.text();
        }
        EXPECT_EQ(dir.read("atarimgrp.txt"), bytes);
    };
    const std::string small = "h=x\r\nD1= 1, 2, 3, 4, 5, 6\r\n";
    refused(small, {1, 2, 3, 4, 5, 5}, 0, kInvalidCall);
    refused(small, {0, 2, 3, 4, 5, 6}, 0, kInvalidCall);
    refused(small, {1, 2, 3, 4, 5, 32}, 0, kInvalidCall);
    refused(small, kDraw, 3, kPathFileAccess);  // the file ends at another draw than the dialog showed
    refused("", kDraw, 0, kInvalidCall);

    // A full history: draw 32,767 is the last a draw number holds.
    std::string full = "h=x\n";
    for (int k = 1; k <= kMaxDraws; ++k) full += "D= 1, 2, 3, 4, 5, 6\n";
    refused(full, kDraw, 0, kSubscript);

    // A failing disk: the old file stays whole and no temporary file is left.
    platform::setWriteFaultHook([](const std::filesystem::path&) { throw AppError(kPathFileAccess, "disk full"); });
    refused(small, kDraw, 0, kPathFileAccess);
    platform::setWriteFaultHook(nullptr);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    // A missing file is not created.
    std::filesystem::remove(file);
    EXPECT_THROW(appendDraw(file, kDraw), AppError);
    EXPECT_FALSE(dir.exists("atarimgrp.txt"));
}

TEST(AddDraw, TheEntryFormAppendsAndReloadsAsTheDrawSelectorDoes) {
    TempDir dir;
    testing::copyDemo(dir);
    testing::FakePlatform fake;
    app::Form1 f(fake);
    ASSERT_TRUE(f.Form_Load(dir.str()));
    const auto pairsAtStart = f.state().pairCounts;
    const std::string before = dir.read("atarimgrp.txt");

    f.mnuanyuryoku_Click();  // cancelled
    EXPECT_EQ(fake.newDrawForms, std::vector<int>{1401});
    EXPECT_EQ(dir.read("atarimgrp.txt"), before);

    // The file changed while the form was open: nothing is appended.
    fake.onNewDraw = [&](int) {
        dir.write("atarimgrp.txt", before + platform::encodeCp932("第1401回= 1, 2, 3, 4, 5, 6\r\n"));
        return std::optional<platform::NewDraw>(platform::NewDraw{kDraw, {}, {}, {}});
    };
    f.mnuanyuryoku_Click();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_NE(fake.messages[0].text.find("変更されています"), std::string::npos);
    dir.write("atarimgrp.txt", before);

    fake.onNewDraw = [](int) { return std::optional<platform::NewDraw>(platform::NewDraw{kDraw, {}, {}, {}}); };
    f.HScroll1_Change(300);
    const unsigned revision = f.state().historyRevision();
    f.mnuanyuryoku_Click();
    EXPECT_EQ(dir.read("atarimgrp.txt"), before + platform::encodeCp932("第1401回=" + kFields + "\r\n"));
    EXPECT_GT(f.state().historyRevision(), revision);
    EXPECT_EQ(f.frame().HScroll1().value, 1);  // the selector at the new draw
    EXPECT_EQ(f.frame().Label3()[0], "1401");
    EXPECT_EQ(f.state().pairCounts, pairsAtStart);  // the statistics stay those of the start-up
    EXPECT_EQ(fake.messages.size(), 1u);
    // The form opened empty at first, and with the refused answer after it.
    ASSERT_EQ(fake.newDrawShown.size(), 3u);
    EXPECT_EQ(fake.newDrawShown[0].numbers, (std::array<int, 6>{}));
    EXPECT_EQ(fake.newDrawShown[2].numbers, kDraw);
}

// The entry form's date: the latest date known before the draw, a week on
// for each draw since, across months, a leap day and a new year.
TEST(AddDraw, TheSuggestedDateIsAWeekAfterTheLastKnownDateForEachDraw) {
    PayoutTable table;
    EXPECT_EQ(suggestedDate(table, 10), std::nullopt);
    auto dated = [&](int draw, std::int64_t date) { table[draw].fields[kDateField] = date; };
    dated(3, 20240220);
    table[4].fields[kWinnersField] = 1;  // a row without a date is passed over
    EXPECT_EQ(suggestedDate(table, 4), 20240227);
    EXPECT_EQ(suggestedDate(table, 5), 20240305);      // past the leap day
    EXPECT_EQ(suggestedDate(table, 3), std::nullopt);  // only earlier draws count
    dated(9, 20241224);
    EXPECT_EQ(suggestedDate(table, 10), 20241231);
    EXPECT_EQ(suggestedDate(table, 11), 20250107);
    EXPECT_EQ(suggestedDate(table, 9), 20240402);  // six weeks after draw 3
}

}  // namespace
}  // namespace kazuban::history
