#include <gtest/gtest.h>

#include "history/draw_history.h"
#include "support/history_gen.h"
#include "text/app_error.h"

namespace kazuban::history {
namespace {

using testing::TempDir;

TEST(DrawHistory, EntriesAndSizes) {
    const auto r =
        historyFromLines({"回=本数字,ボーナス", "第1回= 1, 5,12,20,28,30", "x=a=b", "no equals sign", "", " "});
    const DrawHistory& h = r.history;
    EXPECT_EQ(h.maxn(), 3) << "trailing blank lines are not draws";
    EXPECT_EQ(h.entry(0), "本数字,ボーナス");
    EXPECT_EQ(h.entry(1), " 1, 5,12,20,28,30");
    EXPECT_EQ(h.entry(2), "a=b");
    EXPECT_EQ(h.entry(3), "no equals sign");
    EXPECT_EQ(h.entry(4), "");
    EXPECT_FALSE(h.isValidDraw(0));
    EXPECT_EQ(h.numbers[1], (std::array<std::uint8_t, 6>{1, 5, 12, 20, 28, 30}));
    EXPECT_EQ(historyFromLines({"header"}).history.maxn(), 0);
    EXPECT_EQ(historyFromLines({""}).history.maxn(), 0);
    EXPECT_EQ(historyFromLines(testing::syntheticHistoryLines(100, 7)).history.maxn(), 100);
    // A blank line between draws keeps its place: draw numbers are line positions.
    const auto gap = historyFromLines({"h", "", "=" + testing::makeDrawText({1, 2, 3, 4, 5, 6})});
    EXPECT_EQ(gap.history.maxn(), 2);
    EXPECT_TRUE(gap.history.isValidDraw(2));
}

TEST(DrawHistory, RefusesNoLinesAndTooManyDraws) {
    EXPECT_THROW(historyFromLines({}), AppError);
    std::vector<std::string> many(static_cast<std::size_t>(kMaxDraws) + 2,
                                  "=" + testing::makeDrawText({1, 2, 3, 4, 5, 6}));
    EXPECT_THROW(historyFromLines(many), AppError);
    many.pop_back();
    EXPECT_EQ(historyFromLines(many).history.maxn(), kMaxDraws);
}

TEST(DrawHistory, ValidatesEachDrawLine) {
    const std::vector<std::string> lines{
        "header without any numbers",
        "=05,12,20,28,30, 1",        // draw 1: a leading zero is a valid field
        "= 1, 5,12,20,28",           // draw 2: too short
        "= 1, 5,12,20,28,32",        // draw 3: out of range
        "= 0, 5,12,20,28,30",        // draw 4: zero
        "=1 , 5,12,20,28,30",        // draw 5: digit then blank
        "= 1, 5,1x,20,28,30",        // draw 6: not a number
        "= 1, 5, 5,20,28,30",        // draw 7: main number twice
        "= 1, 5,12,20,28, 5",        // draw 8: bonus among the main numbers
        "= 1， 5，12,20,28,30",      // draw 9: full-width separators, still one character each
        "= 1; 5;12;20;28;30 extra",  // draw 10: separators and trailing text are not read
        "=-1, 5,12,20,28,30",        // draw 11: a sign is not a digit
    };
    const auto r = historyFromLines(lines);
    const DrawHistory& h = r.history;
    EXPECT_EQ(h.numbers[1], (std::array<std::uint8_t, 6>{5, 12, 20, 28, 30, 1}));
    EXPECT_TRUE(h.isValidDraw(9)) << "positions count characters";
    EXPECT_EQ(h.numbers[9][1], 5);
    EXPECT_TRUE(h.isValidDraw(10));
    std::vector<int> bad;
    for (const auto& p : r.problems) bad.push_back(p.lineNumber);
    EXPECT_EQ(bad, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 12}));
    for (int n : {2, 3, 4, 5, 6, 7, 8, 11}) {
        EXPECT_FALSE(h.isValidDraw(n)) << n;
        EXPECT_EQ(h.numbers[static_cast<std::size_t>(n)], (std::array<std::uint8_t, 6>{})) << n;
    }
    EXPECT_EQ(r.problems[0].what, "行が短すぎます");
    EXPECT_EQ(r.problems[1].what, "数字が1～31の2文字ではありません");
    // The message names the first five lines and counts the rest.
    const std::string m = problemsMessage(r.problems);
    EXPECT_NE(m.find("7 行目"), std::string::npos);
    EXPECT_EQ(m.find("8 行目"), std::string::npos);
    EXPECT_NE(m.find("ほか 3 行"), std::string::npos);
    EXPECT_EQ(problemsMessage({}), "");
}

TEST(DrawHistory, ReadsFilesInEitherEncodingAndLineEnd) {
    TempDir dir;
    const auto lines = testing::syntheticHistoryLines(20, 3);
    dir.writeLines("crlf.txt", lines, true, "\r\n");
    dir.writeLines("lf.txt", lines, false, "\n");
    dir.writeLines("cr.txt", lines, true, "\r");
    const auto a = readWinningNumbers(dir.file("crlf.txt"));
    EXPECT_EQ(a.history.maxn(), 20);
    EXPECT_EQ(a.history.entry(0), "本数字,ボーナス");
    for (const char* name : {"lf.txt", "cr.txt"})
        EXPECT_EQ(readWinningNumbers(dir.file(name)).history.entries, a.history.entries) << name;
    dir.write("empty.txt", "");
    EXPECT_THROW(readWinningNumbers(dir.file("empty.txt")), AppError);
    EXPECT_THROW(readWinningNumbers(dir.file("missing.txt")), AppError);
}

// A number that repeats is refused wherever the two fields stand, the fifth
// included ("= 1, 5,12,20, 5,30"), and so is a bonus equal to any main number.
TEST(DrawHistory, RefusesARepeatAtEveryPairOfFields) {
    const std::array<int, 6> base{1, 5, 12, 20, 28, 30};
    std::vector<std::string> lines{"header"};
    std::vector<std::string> expected;
    for (int a = 0; a < 6; ++a) {
        for (int b = a + 1; b < 6; ++b) {
            std::array<int, 6> d = base;
            d[static_cast<std::size_t>(b)] = d[static_cast<std::size_t>(a)];
            lines.push_back(std::string("=").append(testing::makeDrawText(d)));
            expected.push_back(b == 5 ? "ボーナス数字が本数字と重複しています" : "本数字が重複しています");
        }
    }
    ASSERT_EQ(lines[4], "= 1, 5,12,20, 1,30");
    const auto r = historyFromLines(lines);
    ASSERT_EQ(r.problems.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(r.problems[i].lineNumber, static_cast<int>(i) + 2);
        EXPECT_EQ(r.problems[i].what, expected[i]) << lines[i + 1];
        EXPECT_FALSE(r.history.isValidDraw(static_cast<int>(i) + 1)) << lines[i + 1];
    }
    EXPECT_FALSE(historyFromLines({"h", "= 1, 5,12,20, 5,30"}).history.isValidDraw(1));
}

}  // namespace
}  // namespace kazuban::history
